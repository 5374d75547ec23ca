// Load and save of vshmain.prx over arbitrary images of every release.
//
// Input: the module input of harness.h. An edit's kind picks a number box,
// a text box, a colour or a menu row (kind % 4), its selector which one, and
// its four value bytes the new value.
//
// What must hold, besides no fault: a save of the values as loaded keeps
// every byte; without edits, every number written back from its text keeps
// its bytes (a NaN may lose its payload); a save of edited values changes
// only the bytes of those values; and one edited number, text or colour
// reads back as written.

#include "prx/vsh.h"
#include "harness.h"
#include "prx/numbers.h"

#include <bit>
#include <cmath>

using namespace qm;
using namespace qm::prx;
using qm::fuzz::ByteRanges;
using qm::fuzz::Edit;
using qm::fuzz::require;

namespace {

constexpr int kBoxNetwork = 12;
constexpr int kBoxBmpSize = 15;
constexpr int kTextLengthLimit = 48; // longer than every text box takes

enum class EditKind { Number, Text, Color, Menu };

struct Context {
    const ModuleImage& image;
    int version;
    const QLocale& locale;
    const VshValues& loaded;
};

qint64 at(int version, VshMember member) {
    return vshOffset(version, member);
}

qint64 numberOffset(int version, int box) {
    return at(version, kVshNumberBoxMember[static_cast<std::size_t>(box)]);
}

bool followsMain(int version) {
    return vshGroup(version) == 6;
}

// The colour blocks in the order a colour selector counts them.
struct ColorBlock {
    VshMember member;
    int count;
    std::array<Rgb, kSlimItemCount>* slim;
    std::array<Rgb, kMonthCount>* months;
};

bool colorSlot(VshValues& v, int version, int selector, qint64& offset, Rgb*& slot) {
    const ColorBlock blocks[] = {
        {VshMember::TextColors, kMonthCount, nullptr, &v.textColors},
        {VshMember::ContextColors, kMonthCount, nullptr, &v.contextColors},
        {VshMember::TextColorsSlim, kSlimItemCount, &v.textColorsSlim, nullptr},
        {VshMember::ContextColorsSlim, kSlimItemCount, &v.contextColorsSlim, nullptr},
    };
    int i = selector % (2 * kMonthCount + 2 * kSlimItemCount);
    for (const ColorBlock& b : blocks) {
        if (i >= b.count) {
            i -= b.count;
            continue;
        }
        if (b.slim && !vshHasSlimColors(version))
            return false;
        offset = at(version, b.member) + kColorRecordLength * i;
        slot = b.slim ? &(*b.slim)[static_cast<std::size_t>(i)] : &(*b.months)[static_cast<std::size_t>(i)];
        return true;
    }
    return false;
}

QString editText(quint32 value) {
    const int length = static_cast<int>(value & 0xFF) % kTextLengthLimit;
    QString text;
    for (int i = 0; i < length; ++i)
        text.append(QChar(static_cast<char16_t>((value >> (8 * (1 + i % 3))) & 0xFF)));
    return text;
}

MenuRow editRow(quint32 value, MenuFormat format) {
    const auto pick = [](const QStringList& list, quint32 byte) {
        return byte == 0xFF ? kMenuError : list.at(static_cast<qsizetype>(byte % list.size()));
    };
    MenuRow row;
    row.category = pick(menuCategories(format), value & 0xFF);
    const quint32 icon = (value >> 8) & 0xFF;
    const QStringList& icons = menuIcons(format);
    row.order = QString::number(icon < 0x80 ? icon % icons.size() : icon);
    row.icon = icon < 0x80 ? icons.at(static_cast<qsizetype>(icon % icons.size())) : kMenuError;
    row.enabled = pick(menuEnabledStates(format), (value >> 16) & 0xFF);
    row.region = pick(menuRegions(), value >> 24);
    return row;
}

// Applies one edit to `edited` and adds the bytes it may change.
void applyEdit(const Context& c, const Edit& e, VshValues& edited, ByteRanges& allowed) {
    switch (static_cast<EditKind>(e.kind % 4)) {
    case EditKind::Number: {
        const int box = e.selector % kVshNumberBoxCount;
        edited.numbers[static_cast<std::size_t>(box)] =
            box == kBoxBmpSize ? QString::number(static_cast<qint16>(e.value))
                               : formatSingle(std::bit_cast<float>(e.value), c.locale);
        if (vshNumberBoxRead(c.version, box))
            allowed.add(numberOffset(c.version, box), box == kBoxBmpSize ? 2 : 4);
        break;
    }
    case EditKind::Text: {
        const int i = e.selector % kVshEditableTextCount;
        const auto k = static_cast<std::size_t>(i);
        edited.texts[k] = editText(e.value);
        // The old text's zero byte may lie past the longest new text.
        allowed.add(at(c.version, kVshTextBoxMember[k]),
                    std::max<qint64>(kVshTextMaxLength[k], c.loaded.texts[k].size()));
        break;
    }
    case EditKind::Color: {
        qint64 offset = 0;
        Rgb* slot = nullptr;
        if (colorSlot(edited, c.version, e.selector, offset, slot)) {
            *slot = e.value & 0xFFFFFF;
            allowed.add(offset, kColorRecordLength);
        }
        break;
    }
    case EditKind::Menu: {
        const auto format = menuFormat(c.version);
        if (!format || edited.menu.isEmpty())
            break;
        const int k = e.selector % static_cast<int>(edited.menu.size());
        edited.menu[k] = editRow(e.value, *format);
        allowed.add(at(c.version, VshMember::MenuEntries) + kMenuEntryLength * k, kMenuEntryLength);
        break;
    }
    }
}

// A single edited value reads back as it was written.
void checkReadBack(const Context& c, const Edit& e, const VshValues& edited, const ModuleImage& saved) {
    auto reread = loadVsh(saved, c.version, c.locale);
    if (!reread)
        return; // the new text may have covered the zero byte that ended another text
    switch (static_cast<EditKind>(e.kind % 4)) {
    case EditKind::Number: {
        const auto box = static_cast<std::size_t>(e.selector % kVshNumberBoxCount);
        if (!vshNumberBoxRead(c.version, static_cast<int>(box)) ||
            (followsMain(c.version) && box == kBoxNetwork))
            return;
        require(reread->numbers[box] == edited.numbers[box], "an edited number reads back",
                reread->numbers[box] + QStringLiteral(" for ") + edited.numbers[box]);
        break;
    }
    case EditKind::Text: {
        const auto k = static_cast<std::size_t>(e.selector % kVshEditableTextCount);
        QString written = edited.texts[k];
        written.remove(QChar(u' '));
        written.truncate(kVshTextMaxLength[k]);
        const bool endsAtOldZero = c.loaded.texts[k].size() >= written.size();
        require(endsAtOldZero ? reread->texts[k] == written : reread->texts[k].startsWith(written),
                "an edited text reads back", reread->texts[k] + QStringLiteral(" for ") + written);
        break;
    }
    case EditKind::Color: {
        VshValues copy = *reread;
        qint64 offset = 0;
        Rgb* slot = nullptr;
        if (colorSlot(copy, c.version, e.selector, offset, slot))
            require(*slot == (e.value & 0xFFFFFF), "an edited colour reads back", rgbToHex(*slot));
        break;
    }
    case EditKind::Menu:
        break; // some rows have two texts for one code
    }
}

// Offsets of the number boxes whose Single is a NaN: a text "NaN" writes the
// quiet NaN, not the payload that was there.
ByteRanges nanBoxes(const Context& c) {
    ByteRanges nan;
    for (int box = 0; box < kVshNumberBoxCount; ++box) {
        if (box == kBoxBmpSize || !vshNumberBoxRead(c.version, box))
            continue;
        auto v = c.image.f32(numberOffset(c.version, box));
        if (v && std::isnan(*v))
            nan.add(numberOffset(c.version, box), 4);
    }
    return nan;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::ModuleInput in = fuzz::readModuleInput(data, size, ModuleKind::Vsh);
    const ModuleImage image = fuzz::releaseImage(ModuleKind::Vsh, in.version, in.fill);
    const QLocale& locale = fuzz::locale(in.localeIndex);

    auto loaded = loadVsh(image, in.version, locale);
    if (!loaded) {
        require(loaded.error().kind == ErrorKind::Conversion, "a load fails on a text without its zero byte",
                loaded.error().fullText());
        return 0;
    }
    const Context c{image, in.version, locale, *loaded};

    // Releases 12 to 14 put the network icon one below the main icon on every save.
    ByteRanges network;
    if (followsMain(in.version))
        network.add(numberOffset(in.version, kBoxNetwork), 4);

    auto same = applyVsh(image, in.version, *loaded, *loaded, locale);
    if (!same) {
        require(same.error().kind == ErrorKind::Check, "only an empty text refuses an unchanged save",
                same.error().fullText());
        return 0;
    }
    fuzz::requireChangesWithin(image.bytes(), same->bytes(), network, "an unchanged save keeps every byte");

    // Each input saves once more, as a save costs a copy of the module: an
    // input without edits writes every number back from its text.
    if (in.edits.isEmpty()) {
        VshValues blank = *loaded;
        blank.numbers.fill(QString());
        auto rewritten = applyVsh(image, in.version, blank, *loaded, locale);
        require(rewritten.ok(), "numbers as loaded save", fuzz::errorText(rewritten));
        ByteRanges nanOrNetwork = nanBoxes(c);
        if (followsMain(in.version))
            nanOrNetwork.add(numberOffset(in.version, kBoxNetwork), 4);
        fuzz::requireChangesWithin(image.bytes(), rewritten->bytes(), nanOrNetwork,
                                   "a number's text writes its bytes");
        return 0;
    }
    VshValues edited = *loaded;
    ByteRanges allowed = network;
    for (const Edit& e : in.edits)
        applyEdit(c, e, edited, allowed);
    auto saved = applyVsh(image, in.version, *loaded, edited, locale);
    if (!saved) {
        fuzz::requireValueError(saved.error(), "an edited save fails only on a value");
        return 0;
    }
    fuzz::requireChangesWithin(image.bytes(), saved->bytes(), allowed,
                               "an edited save changes only its values");
    if (in.edits.size() == 1)
        checkReadBack(c, in.edits.front(), edited, *saved);
    return 0;
}
