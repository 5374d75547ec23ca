// Load and save of paf.prx over arbitrary images of every release.
//
// Input: the module input of harness.h. An edit's selector picks a box, its
// four value bytes are the new Single.
//
// What must hold, besides no fault: every load succeeds; a save of the
// values as loaded keeps every byte; without edits, every value written back
// from its text keeps its bytes (a NaN may lose its payload); a save of
// edited values changes only those values' bytes, and each reads back as
// written.

#include "prx/paf.h"
#include "harness.h"
#include "prx/numbers.h"

#include <bit>
#include <cmath>

using namespace qm;
using namespace qm::prx;
using qm::fuzz::ByteRanges;
using qm::fuzz::require;

namespace {

qint64 boxOffset(int version, int box) {
    return pafOffset(version, kPafBoxMember[static_cast<std::size_t>(box)]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::ModuleInput in = fuzz::readModuleInput(data, size, ModuleKind::Paf);
    const ModuleImage image = fuzz::releaseImage(ModuleKind::Paf, in.version, in.fill);
    const QLocale& locale = fuzz::locale(in.localeIndex);

    auto loaded = loadPaf(image, in.version, locale);
    require(loaded.ok(), "every image of a release's size loads", fuzz::errorText(loaded));

    auto same = applyPaf(image, in.version, *loaded, *loaded, locale);
    require(same.ok(), "an unchanged save succeeds", fuzz::errorText(same));
    fuzz::requireChangesWithin(image.bytes(), same->bytes(), {}, "an unchanged save keeps every byte");

    // Each input saves once more, as a save costs a copy of the module: an
    // input without edits writes every value back from its text.
    if (in.edits.isEmpty()) {
        ByteRanges nan;
        for (int box = 0; box < kPafBoxCount; ++box) {
            if (!pafBoxRead(in.version, box))
                continue;
            if (auto v = image.f32(boxOffset(in.version, box)); v && std::isnan(*v))
                nan.add(boxOffset(in.version, box), 4);
        }
        auto rewritten = applyPaf(image, in.version, PafValues{}, *loaded, locale);
        require(rewritten.ok(), "values as loaded save", fuzz::errorText(rewritten));
        fuzz::requireChangesWithin(image.bytes(), rewritten->bytes(), nan, "a value's text writes its bytes");
        return 0;
    }
    PafValues edited = *loaded;
    ByteRanges allowed;
    for (const fuzz::Edit& e : in.edits) {
        const int box = e.selector % kPafBoxCount;
        edited.numbers[static_cast<std::size_t>(box)] = formatSingle(std::bit_cast<float>(e.value), locale);
        if (pafBoxRead(in.version, box))
            allowed.add(boxOffset(in.version, box), 4);
    }
    auto saved = applyPaf(image, in.version, *loaded, edited, locale);
    require(saved.ok(), "edited values save", fuzz::errorText(saved));
    fuzz::requireChangesWithin(image.bytes(), saved->bytes(), allowed,
                               "an edited save changes only its values");

    auto reread = loadPaf(*saved, in.version, locale);
    require(reread.ok(), "a saved image loads", fuzz::errorText(reread));
    for (int box = 0; box < kPafBoxCount; ++box)
        if (pafBoxRead(in.version, box))
            require(reread->numbers[static_cast<std::size_t>(box)] ==
                        edited.numbers[static_cast<std::size_t>(box)],
                    "every value reads back as saved", edited.numbers[static_cast<std::size_t>(box)]);
    return 0;
}
