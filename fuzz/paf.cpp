// Load and save of paf.prx over arbitrary images of every release.
//
// Input: the module input of harness.h. An edit's selector picks a member,
// its four value bytes are the new Single.
//
// What must hold, besides no fault: every load succeeds; a save of the
// values as loaded keeps every byte; without edits, every value written
// back over a module whose values were all zero keeps its bytes (NaN
// payloads included); a save of edited values changes only those values'
// bytes, and each reads back bit for bit.

#include "harness.h"
#include "prx/rules.h"
#include "prx/valueio.h"

using namespace qm;
using namespace qm::prx;
using qm::fuzz::ByteRanges;
using qm::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::ModuleInput in = fuzz::readModuleInput(data, size, ModuleKind::Paf);
    const ModuleImage image = fuzz::releaseImage(ModuleKind::Paf, in.version, in.fill);

    auto loaded = loadValues(image, ReleaseId{ModuleKind::Paf, in.version});
    require(loaded.ok(), "every image of a release's size loads", fuzz::errorText(loaded));

    auto same = applyValues(image, *loaded, *loaded);
    require(same.ok(), "an unchanged save succeeds", fuzz::errorText(same));
    fuzz::requireChangesWithin(image.bytes(), same->bytes(), {}, "an unchanged save keeps every byte");

    // Each input saves once more, as a save costs a copy of the module: an
    // input without edits writes every value over a module whose values were zero.
    if (in.edits.isEmpty()) {
        auto rewritten = applyValues(image, ModuleValues(ReleaseId{ModuleKind::Paf, in.version}), *loaded);
        require(rewritten.ok(), "values as loaded save", fuzz::errorText(rewritten));
        fuzz::requireChangesWithin(image.bytes(), rewritten->bytes(), {}, "every value writes its own bytes");
        return 0;
    }
    ModuleValues edited = *loaded;
    ByteRanges allowed;
    for (const fuzz::Edit& e : in.edits) {
        const auto m = static_cast<PafMember>(e.selector % kPafMemberCount);
        require(editable(edited, m) == edited.has(m), "every PAF value the release has is open");
        if (!edited.has(m))
            continue;
        edited.setValue(m, Single::fromBits(e.value));
        allowed.add(pafOffset(in.version, m), 4);
    }
    auto saved = applyValues(image, *loaded, edited);
    require(saved.ok(), "edited values save", fuzz::errorText(saved));
    fuzz::requireChangesWithin(image.bytes(), saved->bytes(), allowed,
                               "an edited save changes only its values");

    auto reread = loadValues(*saved, ReleaseId{ModuleKind::Paf, in.version});
    require(reread.ok(), "a saved image loads", fuzz::errorText(reread));
    require(*reread == edited, "every value reads back as saved, bit for bit");
    return 0;
}
