#include "prx/menu.h"
#include "prx/module.h"
#include "prx/rules.h"
#include "prx/valueio.h"
#include "qt_printers.h"
#include "support/fixtures.h"
#include "support/known_offsets.h"
#include "text/errortext.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

using namespace qm;
using namespace qm::prx;
using qm::test::changedOffsets;
using qm::test::makeVsh;
using qm::test::putSingle;
using qm::test::readFile;
using qm::test::singleAt;
using qm::test::vshRow;
using qm::test::writeFile;

namespace {

// A module of one release on disk, with its values as loaded.
class VshOnDisk {
public:
    explicit VshOnDisk(int version, quint32 seed = 1) : version(version), fixture(makeVsh(version, seed)) {
        source = dir.filePath(QStringLiteral("vshmain.prx"));
        dest = dir.filePath(QStringLiteral("saved/vshmain.prx"));
        writeFile(source, fixture.bytes);
        writeFile(dir.filePath(QStringLiteral("saved/.keep")), QByteArray());
        auto values = readValuesFile(source, ReleaseId{ModuleKind::Vsh, version});
        EXPECT_TRUE(values) << text::fullText(values.error()).toStdString();
        if (values)
            loaded = *values;
    }

    Status saveAs(const ModuleValues& edited) const { return saveValuesFile(source, dest, loaded, edited); }
    Status saveInPlace(const ModuleValues& edited) const {
        return saveValuesFile(source, source, loaded, edited);
    }
    bool sourceUnchanged() const { return readFile(source) == fixture.bytes; }
    bool destExists() const { return QFileInfo::exists(dest); }
    QByteArray saved() const { return readFile(dest); }

    int version;
    test::VshFixture fixture;
    QTemporaryDir dir;
    QString source;
    QString dest;
    ModuleValues loaded;
};

// Refused saves leave the source as it was and create no file; both the
// save under a new name and the save in place are tried.
void expectRefused(const VshOnDisk& m, const ModuleValues& edited, ErrorKind kind, int number,
                   const QString& userText = {}) {
    const Status asNew = m.saveAs(edited);
    ASSERT_FALSE(asNew);
    EXPECT_EQ(asNew.error().kind, kind);
    EXPECT_EQ(asNew.error().number, number);
    if (!userText.isEmpty()) {
        EXPECT_EQ(text::userText(asNew.error()), userText);
    }
    EXPECT_FALSE(m.destExists());
    EXPECT_FALSE(m.saveInPlace(edited));
    EXPECT_TRUE(m.sourceUnchanged());
}

void setColour(ModuleValues& values, VshMember member, int i, Rgb rgb) {
    ColourBlock block = values.colours(member);
    block[i] = Colour::fromRgb(rgb);
    values.setValue(member, block);
}

// ---------------------------------------------------------------------------
// Which values a release has, which a user may set, and the empty-text check.

enum class Expect {
    Absent,       // the release lacks the value
    Editable,     // read, set and written
    Follows,      // read, but the save puts MainIconYUnfocused + 1 there
    NeverWritten, // the date and time formats: read and shown only
};

struct MemberCase {
    int version;
    VshMember member;
    Expect expect;
};

using V = VshMember;
const MemberCase kMemberCases[] = {
    {1, V::MuteY, Expect::Editable},
    {1, V::XmbX, Expect::Editable},
    {1, V::BusyIconSpeed, Expect::Editable},
    {1, V::FocusedIconFadeOut, Expect::Absent},    // release 1 has no fade-out time
    {1, V::NetworkIconYUnfocused, Expect::Absent}, // nor a network icon position
    {1, V::BmpSize, Expect::Absent},
    {1, V::MainIconYFocused, Expect::Absent},
    {1, V::MainIconYUnfocused, Expect::Absent},
    {1, V::AlphaMSOptionIcon, Expect::Absent},
    {1, V::AlphaAllMainIcons, Expect::Editable},
    {1, V::MuteXShadow, Expect::Editable},
    {4, V::BmpSize, Expect::Absent}, // 2.60 has no bitmap size
    {4, V::NetworkIconYUnfocused, Expect::Editable},
    {4, V::FocusedIconFadeOut, Expect::Editable},
    {7, V::BmpSize, Expect::Editable},
    {11, V::MainIconYUnfocused, Expect::Absent},
    {11, V::MainIconYFocused, Expect::Absent},
    {11, V::NetworkIconYUnfocused, Expect::Editable},
    {12, V::MainIconYUnfocused, Expect::Editable},
    {13, V::MainIconYFocused, Expect::Editable},
    {12, V::NetworkIconYUnfocused, Expect::Follows},
    {14, V::NetworkIconYUnfocused, Expect::Follows},
    {12, V::MSOptionIconX, Expect::Editable},
    {14, V::AlphaMSOptionIcon, Expect::Editable},
    {5, V::MSIconPhoto, Expect::Editable},
    {14, V::RCOPath2, Expect::Editable},
    {9, V::UpdatePath1, Expect::Editable},
    {3, V::FormatsEurope, Expect::NeverWritten},
    {12, V::FormatsUSJapan, Expect::NeverWritten},
};

class VshMemberRule : public ::testing::TestWithParam<MemberCase> {};

TEST_P(VshMemberRule, OnlyOpenValuesAreSetAndOnlyTextsMayNotBeEmpty) {
    const MemberCase& c = GetParam();
    VshOnDisk m(c.version);
    EXPECT_EQ(m.loaded.has(c.member), c.expect != Expect::Absent);
    EXPECT_EQ(editable(m.loaded, c.member), c.expect == Expect::Editable);
    EXPECT_FALSE(editable(m.loaded, PafMember::MainIconSpacing)); // a member of the other kind

    ModuleValues edited = m.loaded;
    setColour(edited, V::TextColors, 0, m.loaded.colours(V::TextColors)[0].rgb() ^ 0x010101); // edits that
    edited.setValue(V::ClockX, Single::fromFloat(77.0f)); // come before the value
    const qint64 colour = test::known::vshOffset(c.version, V::TextColors);
    const qint64 clock = test::known::vshOffset(c.version, V::ClockX);
    const qint64 at = test::known::vshOffset(c.version, c.member);
    qint64 length = 0; // bytes of the member the save may change

    switch (c.expect) {
    case Expect::Absent:
        break;
    case Expect::Editable:
        switch (shapeOf(c.member)) {
        case Shape::Single:
            edited.setValue(c.member, Single::fromFloat(-12.25f));
            length = 4;
            break;
        case Shape::Integer:
            edited.setValue(c.member, qint16(1234));
            length = 2;
            break;
        case Shape::Text: {
            length = 41;
            // An empty text is refused, before anything is written.
            ModuleValues empty = edited;
            empty.setValue(c.member, QString());
            expectRefused(m, empty, ErrorKind::Check, 0, QStringLiteral("One of the value is empty"));
            edited.setValue(c.member, QStringLiteral("abc"));
            break;
        }
        default:
            FAIL() << "no case for the shape";
        }
        break;
    case Expect::Follows:
        edited.setValue(c.member, Single::fromFloat(999.0f)); // not what counts
        length = 4;
        break;
    case Expect::NeverWritten:
        edited.setValue(c.member, FormatStrings{}); // nor checked
        break;
    }

    // The network icon of releases 12 to 14 moves with the main icon.
    const qint64 network =
        c.member == V::MainIconYUnfocused && followedMember(vshRow(c.version), int(V::NetworkIconYUnfocused))
            ? test::known::vshOffset(c.version, V::NetworkIconYUnfocused)
            : -1;

    const Status s = m.saveAs(edited);
    ASSERT_TRUE(s) << text::fullText(s.error()).toStdString();
    for (qint64 off : changedOffsets(m.fixture.bytes, m.saved())) {
        EXPECT_TRUE((off >= colour && off < colour + 12) || (off >= clock && off < clock + 4) ||
                    (off >= at && off < at + length) || (off >= network && off < network + 4))
            << "unexpected change at 0x" << std::hex << off;
    }
    EXPECT_TRUE(m.sourceUnchanged());
    auto reread = readValuesFile(m.dest, ReleaseId{ModuleKind::Vsh, c.version});
    ASSERT_TRUE(reread);
    if (c.expect == Expect::Editable) {
        EXPECT_TRUE(reread->value(c.member) == edited.value(c.member));
    } else if (c.expect == Expect::Follows) {
        EXPECT_EQ(reread->single(c.member).toFloat(),
                  m.loaded.single(V::MainIconYUnfocused).toFloat() + 1.0f);
    } else if (c.expect == Expect::NeverWritten) {
        EXPECT_TRUE(reread->value(c.member) == m.loaded.value(c.member));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, VshMemberRule, ::testing::ValuesIn(kMemberCases), [](const auto& info) {
    const MemberCase& c = info.param;
    return "v" + std::to_string(c.version) + "_" + std::string(memberName(c.member).data());
});

// ---------------------------------------------------------------------------
// The bitmap size: a 16-bit value with its own upper limit, releases 7 to 14.

TEST(VshBmpSizeNumber, IsCheckedAgainst32767AndRoundedHalfToEven) {
    const struct {
        double number;
        std::optional<qint16> value; // nothing: refused
        ErrorKind kind;
        int errorNumber;
    } cases[] = {
        {32767, 32767, {}, 0},
        {-32768, -32768, {}, 0},
        {2.5, 2, {}, 0},
        {3.5, 4, {}, 0},
        {0, 0, {}, 0},
        {32766.6, 32767, {}, 0},
        {32768, std::nullopt, ErrorKind::Check, 0},
        {32767.2, std::nullopt, ErrorKind::Check, 0},
        {40000, std::nullopt, ErrorKind::Check, 0},
        {1e39, std::nullopt, ErrorKind::Check, 0},
        {std::numeric_limits<double>::infinity(), std::nullopt, ErrorKind::Check, 0},
        {-32769, std::nullopt, ErrorKind::Conversion, errnum::Overflow},
        {std::numeric_limits<double>::quiet_NaN(), std::nullopt, ErrorKind::Conversion, errnum::TypeMismatch},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        auto r = bmpSizeFromNumber(c.number);
        if (c.value) {
            ASSERT_TRUE(r) << text::fullText(r.error()).toStdString();
            EXPECT_EQ(*r, *c.value);
        } else {
            ASSERT_FALSE(r);
            EXPECT_EQ(r.error().kind, c.kind);
            EXPECT_EQ(r.error().number, c.errorNumber);
            if (c.kind == ErrorKind::Check) {
                EXPECT_EQ(text::userText(r.error()), QStringLiteral("BMP Max Size it's 32767 bytes"));
            }
        }
    }
}

class VshBmpSize : public ::testing::TestWithParam<int> {};

TEST_P(VshBmpSize, IsWrittenAsTwoBytes) {
    const int v = GetParam();
    const struct {
        qint16 value;
        QByteArray bytes;
    } cases[] = {
        {32767, QByteArray("\xFF\x7F", 2)},
        {-32768, QByteArray("\x00\x80", 2)},
        {2, QByteArray("\x02\x00", 2)},
        {0, QByteArray("\x00\x00", 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        VshOnDisk m(v);
        ModuleValues edited = m.loaded;
        edited.setValue(V::XmbX, Single::fromFloat(1.0f));
        edited.setValue(V::BmpSize, c.value);
        const qint64 at = test::known::vshOffset(v, V::BmpSize);
        const Status s = m.saveAs(edited);
        ASSERT_TRUE(s) << text::fullText(s.error()).toStdString();
        EXPECT_EQ(m.saved().mid(at, 2), c.bytes);
        EXPECT_EQ(m.saved().mid(at + 2, 2), m.fixture.bytes.mid(at + 2, 2));
    }
}

INSTANTIATE_TEST_SUITE_P(Releases7To14, VshBmpSize, ::testing::Range(7, kVshRows + 1),
                         [](const auto& info) { return "v" + std::to_string(info.param); });

TEST(VshBmpSizeMissing, ReleasesBefore7NeitherHaveNorWriteIt) {
    for (int v = 1; v <= 6; ++v) {
        SCOPED_TRACE(testing::Message() << "release " << v);
        VshOnDisk m(v);
        EXPECT_FALSE(m.loaded.has(V::BmpSize));
        EXPECT_FALSE(editable(m.loaded, V::BmpSize));
        const Status s = m.saveAs(m.loaded);
        ASSERT_TRUE(s) << text::fullText(s.error()).toStdString();
        EXPECT_TRUE(m.saved() == m.fixture.bytes);
    }
}

// ---------------------------------------------------------------------------
// A save is all or nothing, in every release.

class VshAllOrNothing : public ::testing::TestWithParam<int> {};

// Edits all over the module, ending with the last text.
ModuleValues editsEverywhere(const ModuleValues& loaded, const QString& lastText) {
    ModuleValues edited = loaded;
    setColour(edited, V::TextColors, 5, 0x123456);
    setColour(edited, V::ContextColors, 11, 0x654321);
    edited.setValue(V::XmbX, Single::fromFloat(-5.5f));
    edited.setValue(V::MSIconPhoto, QStringLiteral("changed"));
    if (loaded.has(V::TextColorsSlim))
        setColour(edited, V::TextColorsSlim, 0, 0xABCDEF);
    edited.setValue(V::RCOPath2, lastText);
    return edited;
}

TEST_P(VshAllOrNothing, AValueThatFailsTheChecksStopsEveryEarlierEdit) {
    const int v = GetParam();
    VshOnDisk m(v);
    const ModuleValues edited = editsEverywhere(m.loaded, QStringLiteral(u"ms0:/\u0100"));
    expectRefused(m, edited, ErrorKind::Conversion, errnum::TypeMismatch);
    EXPECT_FALSE(applyValues(ModuleImage(m.fixture.bytes), m.loaded, edited));
}

TEST_P(VshAllOrNothing, AValueThatFailsToBeWrittenStopsEveryEarlierEdit) {
    const int v = GetParam();
    VshOnDisk m(v);
    // The last text of the module on disk has lost its end since it was loaded.
    QByteArray spoiled = m.fixture.bytes;
    const qint64 last = test::known::vshOffset(v, V::RCOPath2);
    for (qint64 i = last; i < std::min<qint64>(last + 256, spoiled.size()); ++i)
        spoiled[i] = 'x';
    writeFile(m.source, spoiled);
    const ModuleValues edited = editsEverywhere(m.loaded, QStringLiteral("ms0:/x"));
    const Status s = m.saveAs(edited);
    ASSERT_FALSE(s);
    EXPECT_EQ(s.error().number, errnum::InvalidArgument);
    EXPECT_FALSE(m.destExists());
    EXPECT_FALSE(m.saveInPlace(edited));
    EXPECT_TRUE(readFile(m.source) == spoiled);
}

TEST_P(VshAllOrNothing, SavingUnderANewNameLeavesTheSourceAlone) {
    const int v = GetParam();
    VshOnDisk m(v);
    ModuleValues edited = m.loaded;
    edited.setValue(V::ClockY, Single::fromFloat(42.0f));
    edited.setValue(V::MSIconGame, QStringLiteral("game_icon"));
    ASSERT_TRUE(m.saveAs(edited));
    EXPECT_TRUE(m.sourceUnchanged());
    auto expected = applyValues(ModuleImage(m.fixture.bytes), m.loaded, edited);
    ASSERT_TRUE(expected);
    EXPECT_TRUE(m.saved() == expected->bytes());

    ASSERT_TRUE(m.saveInPlace(edited));
    EXPECT_TRUE(readFile(m.source) == expected->bytes());
    auto reread = readValuesFile(m.source, ReleaseId{ModuleKind::Vsh, v});
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->single(V::ClockY).toFloat(), 42.0f);
    EXPECT_EQ(reread->text(V::MSIconGame), QStringLiteral("game_icon"));
}

TEST_P(VshAllOrNothing, FormatStringsAreNeverWritten) {
    const int v = GetParam();
    VshOnDisk m(v);
    ModuleValues edited = m.loaded;
    FormatStrings formats;
    for (std::size_t i = 0; i < formats.size(); ++i)
        formats[i] = i % 2 ? QStringLiteral("%Y-%m") : QString();
    edited.setValue(V::FormatsEurope, formats);
    edited.setValue(V::FormatsUSJapan, formats);
    EXPECT_FALSE(editable(edited, V::FormatsEurope));
    auto saved = applyValues(ModuleImage(m.fixture.bytes), m.loaded, edited);
    ASSERT_TRUE(saved) << text::fullText(saved.error()).toStdString();
    EXPECT_TRUE(saved->bytes() == m.fixture.bytes);
}

INSTANTIATE_TEST_SUITE_P(AllReleases, VshAllOrNothing, ::testing::Range(1, kVshRows + 1),
                         [](const auto& info) { return "v" + std::to_string(info.param); });

// ---------------------------------------------------------------------------
// The network icon of releases 12 to 14 sits one below the main icon.

TEST(VshNetworkIcon, FollowsTheMainIconInReleases12To14) {
    const struct {
        int version;
        float main;
        float network;
    } cases[] = {
        {12, 10.0f, 11.0f}, {13, -3.0f, -2.0f}, {14, 0.5f, 1.5f}, {12, 10.5f, 11.5f}, {13, -0.5f, 0.5f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "release " << c.version << " main " << c.main);
        const auto f = makeVsh(c.version);
        auto loaded = loadValues(ModuleImage(f.bytes), ReleaseId{ModuleKind::Vsh, c.version});
        ASSERT_TRUE(loaded);
        EXPECT_EQ(followedMember(vshRow(c.version), int(V::NetworkIconYUnfocused)),
                  int(V::MainIconYUnfocused));
        ModuleValues edited = *loaded;
        edited.setValue(V::MainIconYUnfocused, Single::fromFloat(c.main));
        edited.setValue(V::NetworkIconYUnfocused, Single::fromFloat(999.0f)); // not what counts
        auto saved = applyValues(ModuleImage(f.bytes), *loaded, edited);
        ASSERT_TRUE(saved) << text::fullText(saved.error()).toStdString();
        EXPECT_EQ(singleAt(saved->bytes(), test::known::vshOffset(c.version, V::NetworkIconYUnfocused)),
                  c.network);
        EXPECT_EQ(singleAt(saved->bytes(), test::known::vshOffset(c.version, V::MainIconYUnfocused)), c.main);
        ModuleValues shown = edited;
        applyFollowing(shown);
        EXPECT_EQ(shown.single(V::NetworkIconYUnfocused).toFloat(), c.network);
    }
}

TEST(VshNetworkIcon, IsPutInStepOnSaveEvenWithoutEdits) {
    for (int v = 12; v <= 14; ++v) {
        auto f = makeVsh(v);
        const qint64 network = test::known::vshOffset(v, V::NetworkIconYUnfocused);
        putSingle(f.bytes, network, 0.0f);
        auto loaded = loadValues(ModuleImage(f.bytes), ReleaseId{ModuleKind::Vsh, v});
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->single(V::NetworkIconYUnfocused), Single::fromFloat(0.0f));
        auto saved = applyValues(ModuleImage(f.bytes), *loaded, *loaded);
        ASSERT_TRUE(saved);
        const float main = singleAt(f.bytes, test::known::vshOffset(v, V::MainIconYUnfocused));
        EXPECT_EQ(singleAt(saved->bytes(), network), main + 1.0f) << v;
        for (qint64 off : changedOffsets(f.bytes, saved->bytes())) {
            EXPECT_TRUE(off >= network && off < network + 4) << std::hex << off;
        }
    }
}

TEST(VshNetworkIcon, IsAnOrdinaryValueBeforeRelease12) {
    for (int v = 2; v <= 11; ++v) {
        const auto f = makeVsh(v);
        auto loaded = loadValues(ModuleImage(f.bytes), ReleaseId{ModuleKind::Vsh, v});
        ASSERT_TRUE(loaded);
        EXPECT_FALSE(followedMember(vshRow(v), int(V::NetworkIconYUnfocused))) << v;
        EXPECT_TRUE(editable(*loaded, V::NetworkIconYUnfocused)) << v;
        EXPECT_FALSE(loaded->has(V::MainIconYUnfocused)) << v; // no such value before release 12
        ModuleValues edited = *loaded;
        edited.setValue(V::NetworkIconYUnfocused, Single::fromFloat(99.0f));
        auto saved = applyValues(ModuleImage(f.bytes), *loaded, edited);
        ASSERT_TRUE(saved) << v;
        const qint64 network = test::known::vshOffset(v, V::NetworkIconYUnfocused);
        EXPECT_EQ(singleAt(saved->bytes(), network), 99.0f) << v;
        for (qint64 off : changedOffsets(f.bytes, saved->bytes())) {
            EXPECT_TRUE(off >= network && off < network + 4) << v << ": 0x" << std::hex << off;
        }
    }
}

TEST(VshNetworkIcon, IsTheMainIconAsShownPlusOne) {
    constexpr float inf = std::numeric_limits<float>::infinity();
    const struct {
        float main;
        float network;
    } cases[] = {
        {10.0f, 11.0f}, {-0.5f, 0.5f},
        {-0.0f, 1.0f},  {0.1f, 1.1f}, // 0.1 as shown, not 0.100000001
        {inf, inf},     {-inf, -inf},
        {-1.0f, 0.0f},  {16777216.0f, 16777216.0f}, // 2^24 + 1 is no single: rounded to the even neighbour
    };
    for (const auto& c : cases) {
        EXPECT_EQ(followingValue(Single::fromFloat(c.main)).toFloat(), c.network) << c.main;
    }
    EXPECT_TRUE(std::isnan(followingValue(Single::fromBits(0x7FC12345u)).toFloat()));
}

// ---------------------------------------------------------------------------
// Menu entries: 24 in releases 8, 9 and 14, 23 in 10 to 13.

class VshMenuEntries : public ::testing::TestWithParam<int> {};

TEST_P(VshMenuEntries, EveryEntryOfTheReleaseIsWrittenAndNoMore) {
    const int v = GetParam();
    const int n = (v == 8 || v == 9 || v == 14) ? 24 : 23;
    const auto f = makeVsh(v);
    auto loaded = loadValues(ModuleImage(f.bytes), ReleaseId{ModuleKind::Vsh, v});
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->menu().size(), n);
    EXPECT_EQ(ModuleValues(ReleaseId{ModuleKind::Vsh, v}).menu().size(), n);

    ModuleValues edited = *loaded;
    MenuEntries entries = edited.menu();
    for (MenuEntry& e : entries)
        setIcon(e, 31);
    edited.setValue(V::MenuEntries, entries);
    auto saved = applyValues(ModuleImage(f.bytes), *loaded, edited);
    ASSERT_TRUE(saved) << text::fullText(saved.error()).toStdString();

    const qint64 first = test::known::vshOffset(v, V::MenuEntries);
    for (int k = 0; k < n; ++k)
        EXPECT_EQ(saved->bytes().at(first + 16 * k + 4), 31) << "entry " << k;
    EXPECT_EQ(saved->bytes().mid(first + 16 * n, 16), f.bytes.mid(first + 16 * n, 16));
    for (qint64 off : changedOffsets(f.bytes, saved->bytes())) {
        EXPECT_EQ((off - first) % 16, 4) << std::hex << off;
        EXPECT_LT(off, first + 16 * n);
    }
}

INSTANTIATE_TEST_SUITE_P(Releases8To14, VshMenuEntries, ::testing::Range(8, kVshRows + 1),
                         [](const auto& info) { return "v" + std::to_string(info.param); });

TEST(VshMenuEntriesMissing, ReleasesBefore8HaveNoMenu) {
    for (int v = 1; v <= 7; ++v) {
        const auto f = makeVsh(v);
        auto loaded = loadValues(ModuleImage(f.bytes), ReleaseId{ModuleKind::Vsh, v});
        ASSERT_TRUE(loaded);
        EXPECT_FALSE(loaded->has(V::MenuEntries)) << v;
        EXPECT_FALSE(editable(*loaded, V::MenuEntries)) << v;
        auto saved = applyValues(ModuleImage(f.bytes), *loaded, *loaded);
        ASSERT_TRUE(saved) << v;
        EXPECT_TRUE(saved->bytes() == f.bytes) << v;
    }
}

} // namespace
