// Looks over arbitrary JSON: reading a document for either module kind and
// carrying it onto a module of any release, as `apply` and Import Look do.
// A look that is refused changes nothing; one that is taken can be saved
// (or is refused by the save's own checks), carries over again unchanged,
// and comes back the same through its own look file.
//
// Input: a byte that picks the kind and release, then the document's bytes.

#include "looks/look.h"
#include "harness.h"
#include "prx/module.h"
#include "prx/valueio.h"
#include "support/fixtures.h"

#include <map>

using namespace qm;
using namespace qm::looks;

namespace {

struct Target {
    ModuleValues values;
    prx::ModuleImage image;
};

// The module a look is carried onto: a fixture of the release, made once.
const Target& target(prx::ModuleKind kind, int version) {
    static std::map<std::pair<int, int>, Target> made;
    auto [it, fresh] = made.try_emplace({static_cast<int>(kind), version});
    if (fresh) {
        Target& t = it->second;
        const QByteArray bytes =
            kind == prx::ModuleKind::Vsh ? test::makeVsh(version).bytes : test::makePaf(version).bytes;
        t.image = prx::ModuleImage(bytes);
        t.values = *prx::loadValues(t.image, prx::ReleaseId{kind, version});
    }
    return it->second;
}

Status save(const Target& t, const ModuleValues& edited) {
    auto image = prx::applyValues(t.image, t.values, edited);
    return image ? Status() : Status(image.error());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const quint8 pick = in.byte();
    const prx::ModuleKind kind = pick & 1 ? prx::ModuleKind::Paf : prx::ModuleKind::Vsh;
    const int version = 1 + (pick >> 1) % prx::rowCount(kind);
    const QByteArrayView json = in.rest();

    const LookValues look = readLook(json.toByteArray(), kind);
    if (look.error) {
        fuzz::require(
            !lookErrorText(*look.error, QStringLiteral("look.json"), kind, QStringLiteral("m.prx")).isEmpty(),
            "a look that can't be read says why");
        return 0;
    }
    const Target& t = target(kind, version);
    const LookApplied applied = applyLook(look.values, t.values);
    if (!applied.refused.isEmpty()) {
        fuzz::require(applied.values == t.values, "a refused look changes nothing");
        return 0;
    }
    const Status saved = save(t, applied.values);
    fuzz::require(saved || saved.error().kind == ErrorKind::Check, "a look that is taken can be saved",
                  fuzz::errorText(saved));

    const LookApplied again = applyLook(look.values, applied.values);
    fuzz::require(again.refused.isEmpty() && again.values == applied.values,
                  "a look carried twice changes nothing more");

    const LookValues back = readLook(lookFile(applied.values, QStringLiteral("m.prx")), kind);
    fuzz::require(!back.error, "a look file reads back");
    const LookApplied roundTrip = applyLook(back.values, applied.values);
    fuzz::require(roundTrip.refused.isEmpty() && roundTrip.values == applied.values,
                  "the values come back the same through their look file");
    return 0;
}
