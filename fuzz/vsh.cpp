// Load and save of vshmain.prx over arbitrary images of every release.
//
// Input: the module input of harness.h. An edit's kind picks a number, a
// text, a colour or a menu entry (kind % 4), its selector which one, and its
// four value bytes the new value: a Single's or BmpSize's bits, a text, a
// colour (24 bits, or three Singles made from the bits when the kind's bit 2
// is set), a menu entry's four codes (or, when the kind's bit 2 is set, a
// category, icon, state and region chosen from the release's lists).
//
// What must hold, besides no fault: a save of the values as loaded keeps
// every byte; without edits, every value written back over a module whose
// values were all zero keeps its bytes (NaN payloads included), but a text
// stored without its blanks or cut to its slot; a save of edited values
// changes only the bytes of those values; and one edited value reads back as
// written.

#include "harness.h"
#include "prx/codecs.h"
#include "prx/menu.h"
#include "prx/rules.h"
#include "prx/valueio.h"
#include "text/errortext.h"

using namespace qm;
using namespace qm::prx;
using qm::fuzz::ByteRanges;
using qm::fuzz::Edit;
using qm::fuzz::require;

namespace {

constexpr int kTextLengthLimit = 48; // longer than every text takes

enum class EditKind { Number, Text, Colour, Menu };

qint64 at(int version, VshMember member) {
    return vshOffset(version, member);
}

// The members of one shape, in table order.
QList<VshMember> membersOf(std::initializer_list<Shape> shapes) {
    QList<VshMember> out;
    for (int i = 0; i < kVshMemberCount; ++i) {
        const auto m = static_cast<VshMember>(i);
        if (std::find(shapes.begin(), shapes.end(), shapeOf(m)) != shapes.end())
            out.append(m);
    }
    return out;
}

const QList<VshMember>& numberMembers() {
    static const QList<VshMember> members = membersOf({Shape::Single, Shape::Integer});
    return members;
}

const QList<VshMember>& textMembers() {
    static const QList<VshMember> members = membersOf({Shape::Text});
    return members;
}

// The colour blocks in the order a colour selector counts them.
constexpr std::array<VshMember, 4> kColourBlocks{VshMember::TextColors, VshMember::ContextColors,
                                                 VshMember::TextColorsSlim, VshMember::ContextColorsSlim};

// The block and the record a colour selector picks; nothing when the release lacks the block.
std::optional<std::pair<VshMember, int>> colourSlot(const ModuleValues& v, int selector) {
    int i = selector % (2 * 12 + 2 * 15);
    for (VshMember m : kColourBlocks) {
        const int count = elementCount(m);
        if (i >= count) {
            i -= count;
            continue;
        }
        if (!v.has(m))
            return std::nullopt;
        return std::pair{m, i};
    }
    return std::nullopt;
}

QString editText(quint32 value) {
    const int length = static_cast<int>(value & 0xFF) % kTextLengthLimit;
    QString text;
    for (int i = 0; i < length; ++i)
        text.append(QChar(static_cast<char16_t>((value >> (8 * (1 + i % 3))) & 0xFF)));
    return text;
}

Colour editColour(const Edit& e) {
    if (!(e.kind & 4))
        return Colour::fromRgb(e.value & 0xFFFFFF);
    return Colour{
        {Single::fromBits(e.value), Single::fromBits(~e.value), Single::fromBits(e.value ^ 0x80000000u)}};
}

MenuEntry editEntry(const Edit& e, const MenuEntry& old, int version) {
    const ReleaseId release{ModuleKind::Vsh, version};
    const auto byte = [&](int k) { return static_cast<quint8>(e.value >> (8 * k)); };
    if (!(e.kind & 4))
        return {byte(0), byte(1), byte(2), byte(3) == 0xFF ? 0xFFFFFFFFu : byte(3)};
    const MenuFormat format = *menuFormat(release);
    const auto& categories = menuCategories(format);
    const auto& states = menuStates(format);
    MenuEntry entry = old;
    setCategory(entry, categories[byte(0) % categories.size()], release);
    setIcon(entry, byte(1) % (kMaxMenuIconCode + 2)); // one past the last icon
    setState(entry, states[byte(2) % states.size()], release);
    setRegion(entry, kMenuRegions[byte(3) % kMenuRegions.size()]);
    return entry;
}

// Applies one edit to `edited` and adds the bytes it may change.
void applyEdit(int version, const Edit& e, const ModuleValues& loaded, ModuleValues& edited,
               ByteRanges& allowed) {
    switch (static_cast<EditKind>(e.kind % 4)) {
    case EditKind::Number: {
        const VshMember m = numberMembers().at(e.selector % numberMembers().size());
        if (!edited.has(m))
            break;
        if (shapeOf(m) == Shape::Integer) {
            edited.setValue(m, static_cast<qint16>(e.value));
            allowed.add(at(version, m), 2);
        } else {
            edited.setValue(m, Single::fromBits(e.value));
            allowed.add(at(version, m), 4);
        }
        break;
    }
    case EditKind::Text: {
        const VshMember m = textMembers().at(e.selector % textMembers().size());
        if (!edited.has(m))
            break;
        edited.setValue(m, editText(e.value));
        // The old text's zero byte may lie past the longest new text.
        allowed.add(at(version, m), std::max<qint64>(textMaxLength(m), loaded.text(m).size()));
        break;
    }
    case EditKind::Colour: {
        if (const auto slot = colourSlot(edited, e.selector)) {
            ColourBlock block = edited.colours(slot->first);
            block[slot->second] = editColour(e);
            edited.setValue(slot->first, block);
            allowed.add(at(version, slot->first) + kColourRecordLength * slot->second, kColourRecordLength);
        }
        break;
    }
    case EditKind::Menu: {
        if (!edited.has(VshMember::MenuEntries))
            break;
        MenuEntries entries = edited.menu();
        const int k = e.selector % static_cast<int>(entries.size());
        entries[k] = editEntry(e, entries[k], version);
        edited.setValue(VshMember::MenuEntries, entries);
        allowed.add(at(version, VshMember::MenuEntries) + kMenuEntryLength * k, kMenuEntryLength);
        break;
    }
    }
}

// A single edited value reads back as it was written.
void checkReadBack(int version, const Edit& e, const ModuleValues& loaded, const ModuleValues& edited,
                   const ModuleImage& saved) {
    auto reread = loadValues(saved, ReleaseId{ModuleKind::Vsh, version});
    if (!reread)
        return; // the new text may have covered the zero byte that ended another text
    switch (static_cast<EditKind>(e.kind % 4)) {
    case EditKind::Number: {
        const VshMember m = numberMembers().at(e.selector % numberMembers().size());
        if (!edited.has(m) || followedMember(ReleaseId{ModuleKind::Vsh, version}, int(m)))
            return;
        require(reread->value(m) == edited.value(m), "an edited number reads back", QString(memberName(m)));
        break;
    }
    case EditKind::Text: {
        const VshMember m = textMembers().at(e.selector % textMembers().size());
        const QString written = storedText(edited.text(m), textMaxLength(m));
        const bool endsAtOldZero = loaded.text(m).size() >= written.size();
        require(endsAtOldZero ? reread->text(m) == written : reread->text(m).startsWith(written),
                "an edited text reads back", reread->text(m) + QStringLiteral(" for ") + written);
        break;
    }
    case EditKind::Colour: {
        if (const auto slot = colourSlot(edited, e.selector))
            require(reread->colours(slot->first)[slot->second] == edited.colours(slot->first)[slot->second],
                    "an edited colour reads back bit for bit", rgbToHex(editColour(e).rgb()));
        break;
    }
    case EditKind::Menu:
        if (edited.has(VshMember::MenuEntries))
            require(reread->menu() == edited.menu(), "edited menu entries read back as their codes");
        break;
    }
}

// Text slots whose text is stored otherwise than it reads (blanks, longer than the slot).
ByteRanges restoredTexts(int version, const ModuleValues& loaded) {
    ByteRanges out;
    for (VshMember m : textMembers()) {
        const QString& text = loaded.text(m);
        if (storedText(text, textMaxLength(m)) != text)
            out.add(at(version, m), text.size());
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::ModuleInput in = fuzz::readModuleInput(data, size, ModuleKind::Vsh);
    const ModuleImage image = fuzz::releaseImage(ModuleKind::Vsh, in.version, in.fill);

    auto loaded = loadValues(image, ReleaseId{ModuleKind::Vsh, in.version});
    if (!loaded) {
        require(loaded.error().kind == ErrorKind::Conversion, "a load fails on a text without its zero byte",
                text::fullText(loaded.error()));
        return 0;
    }

    // Releases 12 to 14 put the network icon one below the main icon on every save.
    ByteRanges network;
    if (followedMember(ReleaseId{ModuleKind::Vsh, in.version}, int(VshMember::NetworkIconYUnfocused)))
        network.add(at(in.version, VshMember::NetworkIconYUnfocused), 4);

    auto same = applyValues(image, *loaded, *loaded);
    if (!same) {
        require(same.error().kind == ErrorKind::Check, "only an empty text refuses an unchanged save",
                text::fullText(same.error()));
        return 0;
    }
    fuzz::requireChangesWithin(image.bytes(), same->bytes(), network, "an unchanged save keeps every byte");

    // Each input saves once more, as a save costs a copy of the module: an
    // input without edits writes every value over a module whose values were zero.
    if (in.edits.isEmpty()) {
        const ModuleValues zero(ReleaseId{ModuleKind::Vsh, in.version});
        auto rewritten = applyValues(image, zero, *loaded);
        require(rewritten.ok(), "values as loaded save", fuzz::errorText(rewritten));
        ByteRanges textsOrNetwork = restoredTexts(in.version, *loaded);
        if (followedMember(ReleaseId{ModuleKind::Vsh, in.version}, int(VshMember::NetworkIconYUnfocused)))
            textsOrNetwork.add(at(in.version, VshMember::NetworkIconYUnfocused), 4);
        fuzz::requireChangesWithin(image.bytes(), rewritten->bytes(), textsOrNetwork,
                                   "every value writes its own bytes");
        return 0;
    }
    ModuleValues edited = *loaded;
    ByteRanges allowed = network;
    for (const Edit& e : in.edits)
        applyEdit(in.version, e, *loaded, edited, allowed);
    auto saved = applyValues(image, *loaded, edited);
    if (!saved) {
        fuzz::requireValueError(saved.error(), "an edited save fails only on a value");
        return 0;
    }
    fuzz::requireChangesWithin(image.bytes(), saved->bytes(), allowed,
                               "an edited save changes only its values");
    if (in.edits.size() == 1)
        checkReadBack(in.version, in.edits.front(), *loaded, edited, *saved);
    return 0;
}
