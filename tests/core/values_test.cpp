// The value model: what a new set of values holds, and that values go
// through a load and a save bit for bit, with only what changed written.

#include "prx/menu.h"
#include "prx/module.h"
#include "prx/valueio.h"
#include "qt_printers.h"
#include "support/fixtures.h"
#include "text/errortext.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <set>

using namespace qm;
using namespace qm::prx;
using qm::test::byteRange;
using qm::test::changedOffsets;
using qm::test::makePaf;
using qm::test::makeVsh;

namespace {

quint32 bitsAt(const QByteArray& bytes, qint64 offset) {
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

void putBits(QByteArray& bytes, qint64 offset, quint32 bits) {
    qToLittleEndian<quint32>(bits, bytes.data() + offset);
}

// Which alternative a value holds, by the shape it stands for.
std::optional<Shape> shapeHeld(const Value& v) {
    if (std::holds_alternative<Single>(v))
        return Shape::Single;
    if (std::holds_alternative<qint16>(v))
        return Shape::Integer;
    if (std::holds_alternative<QString>(v))
        return Shape::Text;
    if (std::holds_alternative<ColourBlock>(v))
        return Shape::Colours;
    if (std::holds_alternative<FormatStrings>(v))
        return Shape::Formats;
    if (std::holds_alternative<MenuEntries>(v))
        return Shape::Menu;
    return std::nullopt;
}

} // namespace

TEST(ModuleValuesShape, ANewSetHoldsAZeroValueOfTheRightShapeForWhatTheReleaseHas) {
    const struct {
        int version;
        VshMember member;
        std::optional<Shape> shape; // nothing: the release lacks the member
        int elements;
    } cases[] = {
        {1, VshMember::XmbX, Shape::Single, 1},
        {1, VshMember::NetworkIconYUnfocused, std::nullopt, 0},
        {1, VshMember::BmpSize, std::nullopt, 0},
        {7, VshMember::BmpSize, Shape::Integer, 1},
        {1, VshMember::TextColors, Shape::Colours, 12},
        {10, VshMember::TextColorsSlim, std::nullopt, 0},
        {11, VshMember::ContextColorsSlim, Shape::Colours, 15},
        {3, VshMember::RCOPath1, Shape::Text, 1},
        {3, VshMember::FormatsUSJapan, Shape::Formats, 5},
        {7, VshMember::MenuEntries, std::nullopt, 0},
        {8, VshMember::MenuEntries, Shape::Menu, 24},
        {12, VshMember::MenuEntries, Shape::Menu, 23},
        {14, VshMember::MenuEntries, Shape::Menu, 24},
        {11, VshMember::MSOptionIconX, std::nullopt, 0},
        {12, VshMember::MSOptionIconX, Shape::Single, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "release " << c.version << " " << memberName(c.member).data());
        const ModuleValues values(ReleaseId{ModuleKind::Vsh, c.version});
        EXPECT_EQ(values.kind(), ModuleKind::Vsh);
        EXPECT_EQ(values.release().row, c.version);
        EXPECT_EQ(values.memberCount(), kVshMemberCount);
        EXPECT_EQ(values.has(c.member), c.shape.has_value());
        EXPECT_EQ(shapeHeld(values.value(c.member)), c.shape);
        if (c.shape == Shape::Colours) {
            EXPECT_EQ(values.colours(c.member).size(), c.elements);
            EXPECT_EQ(values.colours(c.member)[0], Colour{});
        } else if (c.shape == Shape::Menu) {
            EXPECT_EQ(values.menu().size(), c.elements);
        } else if (c.shape == Shape::Single) {
            EXPECT_EQ(values.single(c.member).bits(), 0u);
        }
    }
    // A member of the other kind is never there.
    EXPECT_FALSE(ModuleValues(ReleaseId{ModuleKind::Vsh, 12}).has(PafMember::MainIconSpacing));
    EXPECT_FALSE(ModuleValues(ReleaseId{ModuleKind::Paf, 12}).has(VshMember::TextColors));
    EXPECT_FALSE(ModuleValues(ReleaseId{ModuleKind::Paf, 1}).has(PafMember::MainIconYUnfocused));
    EXPECT_TRUE(ModuleValues(ReleaseId{ModuleKind::Paf, 2}).has(PafMember::MainIconYUnfocused));
    EXPECT_EQ(ModuleValues(ReleaseId{ModuleKind::Paf, 2}).memberCount(), kPafMemberCount);
    EXPECT_FALSE(ModuleValues().has(VshMember::XmbX));
}

TEST(ModuleValuesShape, ValuesAreComparedAsValues) {
    ModuleValues a(ReleaseId{ModuleKind::Vsh, 12});
    ModuleValues b = a;
    EXPECT_TRUE(a == b);
    b.setValue(VshMember::XmbX, Single::fromFloat(-0.0f));
    EXPECT_FALSE(a == b); // -0 is not +0
    b.setValue(VshMember::XmbX, Single::fromFloat(0.0f));
    EXPECT_TRUE(a == b);
    b.setValue(VshMember::XmbX, Single::fromBits(0x7FC00001u));
    ModuleValues c = b;
    EXPECT_TRUE(b == c); // a NaN equals itself, bit for bit
    c.setValue(VshMember::XmbX, Single::fromBits(0x7FC00002u));
    EXPECT_FALSE(b == c);
    EXPECT_FALSE(ModuleValues(ReleaseId{ModuleKind::Vsh, 12}) ==
                 ModuleValues(ReleaseId{ModuleKind::Vsh, 13}));
}

// ---------------------------------------------------------------------------
// Singles keep their bits through a load and a save.

struct BitsCase {
    ModuleKind kind;
    int version;
    int member;
    quint32 bits;
};

std::vector<BitsCase> bitsCases() {
    const auto vsh = [](int v, VshMember m, quint32 bits) {
        return BitsCase{ModuleKind::Vsh, v, static_cast<int>(m), bits};
    };
    const auto paf = [](int v, PafMember m, quint32 bits) {
        return BitsCase{ModuleKind::Paf, v, static_cast<int>(m), bits};
    };
    return {
        vsh(1, VshMember::XmbX, 0x80000000u),                // -0
        vsh(5, VshMember::ClockY, 0x7FC12345u),              // a quiet NaN with a payload
        vsh(9, VshMember::AlphaAllMainIcons, 0x7F800001u),   // a signalling NaN
        vsh(12, VshMember::MainIconYFocused, 0xFFFFFFFFu),   // a negative NaN
        vsh(14, VshMember::BusyIconSpeed, 0x00000001u),      // the smallest subnormal
        vsh(13, VshMember::MainIconYUnfocused, 0x80000000u), // -0, which the network icon follows
        paf(1, PafMember::XmbOverallSize, 0x7FA00000u),
        paf(7, PafMember::MainIconYUnfocused, 0x80000000u),
        paf(12, PafMember::GlowBlinkSpeed, 0xFF812345u),
    };
}

class SingleBits : public ::testing::TestWithParam<BitsCase> {};

TEST_P(SingleBits, SurviveALoadASaveAndAnEdit) {
    const BitsCase& c = GetParam();
    const bool vsh = c.kind == ModuleKind::Vsh;
    QByteArray bytes = vsh ? makeVsh(c.version).bytes : makePaf(c.version).bytes;
    const qint64 at = vsh ? vshOffset(c.version, static_cast<VshMember>(c.member))
                          : pafOffset(c.version, static_cast<PafMember>(c.member));
    putBits(bytes, at, c.bits);
    // For the main icon of releases 12 to 14, the network icon that follows it.
    const bool follows =
        vsh && c.member == static_cast<int>(VshMember::MainIconYUnfocused) && c.version >= 12;
    if (follows)
        test::putSingle(bytes, vshOffset(c.version, VshMember::NetworkIconYUnfocused), 1.0f);

    auto loaded = loadValues(ModuleImage(bytes), ReleaseId{c.kind, c.version});
    ASSERT_TRUE(loaded) << text::fullText(loaded.error()).toStdString();
    EXPECT_EQ(std::get<Single>(loaded->value(c.member)).bits(), c.bits);

    // Unchanged, it keeps its bytes.
    auto same = applyValues(ModuleImage(bytes), *loaded, *loaded);
    ASSERT_TRUE(same);
    EXPECT_TRUE(same->bytes() == bytes);

    // Set on another module, the same four bytes are written.
    QByteArray other = vsh ? makeVsh(c.version, 2).bytes : makePaf(c.version, 2).bytes;
    auto otherLoaded = loadValues(ModuleImage(other), ReleaseId{c.kind, c.version});
    ASSERT_TRUE(otherLoaded);
    ModuleValues edited = *otherLoaded;
    edited.setValue(c.member, Single::fromBits(c.bits));
    auto saved = applyValues(ModuleImage(other), *otherLoaded, edited);
    ASSERT_TRUE(saved) << text::fullText(saved.error()).toStdString();
    EXPECT_EQ(bitsAt(saved->bytes(), at), c.bits);
    auto reloaded = loadValues(*saved, ReleaseId{c.kind, c.version});
    ASSERT_TRUE(reloaded);
    EXPECT_EQ(std::get<Single>(reloaded->value(c.member)).bits(), c.bits);
    if (follows) {
        EXPECT_EQ(test::singleAt(saved->bytes(), vshOffset(c.version, VshMember::NetworkIconYUnfocused)),
                  1.0f);
    }
}

INSTANTIATE_TEST_SUITE_P(Patterns, SingleBits, ::testing::ValuesIn(bitsCases()), [](const auto& info) {
    const BitsCase& c = info.param;
    return std::string(c.kind == ModuleKind::Vsh ? "vsh" : "paf") + std::to_string(c.version) + "_m" +
           std::to_string(c.member);
});

// ---------------------------------------------------------------------------
// A save writes the members and the elements that changed, and nothing else.

class ChangedOnly : public ::testing::TestWithParam<int> {};

TEST_P(ChangedOnly, ElementsLeftAloneKeepTheirBytes) {
    const int v = GetParam();
    QByteArray bytes = makeVsh(v).bytes;
    // Colour records a 24-bit colour can't show and menu codes no list
    // names: written back from their view, they would change.
    const qint64 colours = vshOffset(v, VshMember::TextColors);
    putBits(bytes, colours + 0, 0x7FC0BEEFu);
    putBits(bytes, colours + 4, 0x3F7FBE77u); // 0.999, shown as 255
    putBits(bytes, colours + 8, 0x80000000u);
    const qint64 menu = vshOffset(v, VshMember::MenuEntries);
    if (menu) {
        bytes[menu + 16 + 0] = '\x09';
        bytes[menu + 16 + 8] = '\x05';
        qToLittleEndian<quint32>(0xABCDEF03u, bytes.data() + menu + 16 + 12);
    }
    auto loaded = loadValues(ModuleImage(bytes), ReleaseId{ModuleKind::Vsh, v});
    ASSERT_TRUE(loaded);

    ModuleValues edited = *loaded;
    std::set<qint64> allowed;
    ColourBlock block = edited.colours(VshMember::TextColors);
    block[5] = Colour::fromRgb(block[5].rgb() ^ 0xFFFFFF);
    edited.setValue(VshMember::TextColors, block);
    const auto add = [&](qint64 at, qint64 length) {
        const auto r = byteRange(at, length);
        allowed.insert(r.begin(), r.end());
    };
    add(colours + 12 * 5, 12);
    if (menu) {
        MenuEntries entries = edited.menu();
        setIcon(entries[2], entries[2].icon == 1 ? 2 : 1);
        edited.setValue(VshMember::MenuEntries, entries);
        add(menu + 16 * 2 + 4, 1);
    }
    edited.setValue(VshMember::UpdatePath2, QStringLiteral("ms0:/u"));
    add(vshOffset(v, VshMember::UpdatePath2), 31);

    auto saved = applyValues(ModuleImage(bytes), *loaded, edited);
    ASSERT_TRUE(saved) << text::fullText(saved.error()).toStdString();
    for (qint64 off : changedOffsets(bytes, saved->bytes()))
        EXPECT_TRUE(allowed.count(off)) << "unexpected change at 0x" << std::hex << off;
    EXPECT_EQ(saved->bytes().mid(colours, 12), bytes.mid(colours, 12));
    if (menu) {
        EXPECT_EQ(saved->bytes().mid(menu + 16, 16), bytes.mid(menu + 16, 16));
    }
    auto reloaded = loadValues(*saved, ReleaseId{ModuleKind::Vsh, v});
    ASSERT_TRUE(reloaded);
    EXPECT_TRUE(*reloaded == edited);
}

// Saved onto a module that holds other values than were loaded (the file
// changed on disk), only the edited members and elements are written.
TEST_P(ChangedOnly, OntoOtherBytesOnlyTheEditsAreWritten) {
    const int v = GetParam();
    const QByteArray source = makeVsh(v, 1).bytes;
    const QByteArray target = makeVsh(v, 2).bytes;
    auto loaded = loadValues(ModuleImage(source), ReleaseId{ModuleKind::Vsh, v});
    auto before = loadValues(ModuleImage(target), ReleaseId{ModuleKind::Vsh, v});
    ASSERT_TRUE(loaded && before);

    ModuleValues edited = *loaded;
    ModuleValues expected = *before;
    std::set<qint64> allowed;
    const auto add = [&](qint64 at, qint64 length) {
        const auto r = byteRange(at, length);
        allowed.insert(r.begin(), r.end());
    };
    const auto editColour = [&](VshMember m, int i) {
        ColourBlock block = edited.colours(m);
        block[i] = Colour::fromRgb(block[i].rgb() ^ 0xFFFFFF);
        edited.setValue(m, block);
        ColourBlock there = expected.colours(m);
        there[i] = block[i];
        expected.setValue(m, there);
        add(vshOffset(v, m) + 12 * i, 12);
    };
    editColour(VshMember::TextColors, 5);
    if (edited.has(VshMember::ContextColorsSlim))
        editColour(VshMember::ContextColorsSlim, 14);
    edited.setValue(VshMember::ClockX, Single::fromFloat(-7.5f));
    expected.setValue(VshMember::ClockX, Single::fromFloat(-7.5f));
    add(vshOffset(v, VshMember::ClockX), 4);
    if (edited.has(VshMember::MenuEntries)) {
        MenuEntries entries = edited.menu();
        setIcon(entries[2], entries[2].icon == 1 ? 2 : 1);
        edited.setValue(VshMember::MenuEntries, entries);
        MenuEntries there = expected.menu();
        there[2] = entries[2];
        expected.setValue(VshMember::MenuEntries, there);
        add(vshOffset(v, VshMember::MenuEntries) + 16 * 2, 16);
    }

    auto saved = applyValues(ModuleImage(target), *loaded, edited);
    ASSERT_TRUE(saved) << text::fullText(saved.error()).toStdString();
    for (qint64 off : changedOffsets(target, saved->bytes()))
        EXPECT_TRUE(allowed.count(off)) << "unexpected change at 0x" << std::hex << off;
    auto after = loadValues(*saved, ReleaseId{ModuleKind::Vsh, v});
    ASSERT_TRUE(after);
    EXPECT_TRUE(*after == expected);
}

INSTANTIATE_TEST_SUITE_P(AllReleases, ChangedOnly, ::testing::Range(1, kVshRows + 1),
                         [](const auto& info) { return "v" + std::to_string(info.param); });
