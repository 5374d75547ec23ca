#include "prx/module.h"
#include "prx/numbers.h"
#include "prx/vsh.h"
#include "qt_printers.h"
#include "support/fixtures.h"
#include "support/known_offsets.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qm;
using namespace qm::prx;
using qm::test::changedOffsets;
using qm::test::makeVsh;
using qm::test::putSingle;
using qm::test::readFile;
using qm::test::singleAt;
using qm::test::writeFile;
namespace known = qm::test::known;

namespace {

const QLocale kC = QLocale::c();
const QLocale kFrench(QLocale::French, QLocale::France);

qint64 numberOffset(int version, int box) {
    return known::vshOffset(version, kVshNumberBoxMember[static_cast<std::size_t>(box)]);
}

// A module of one release on disk, with its values as loaded.
class VshOnDisk {
public:
    explicit VshOnDisk(int version, quint32 seed = 1) : version(version), fixture(makeVsh(version, seed)) {
        source = dir.filePath(QStringLiteral("vshmain.prx"));
        dest = dir.filePath(QStringLiteral("saved/vshmain.prx"));
        writeFile(source, fixture.bytes);
        writeFile(dir.filePath(QStringLiteral("saved/.keep")), QByteArray());
        auto values = readVshFile(source, version, kC);
        EXPECT_TRUE(values) << values.error().fullText().toStdString();
        if (values)
            loaded = *values;
    }

    Status saveAs(const VshValues& edited, const QLocale& locale = kC) const {
        return saveVshFile(source, dest, version, loaded, edited, locale);
    }
    Status saveInPlace(const VshValues& edited, const QLocale& locale = kC) const {
        return saveVshFile(source, source, version, loaded, edited, locale);
    }
    bool sourceUnchanged() const { return readFile(source) == fixture.bytes; }
    bool destExists() const { return QFileInfo::exists(dest); }
    QByteArray saved() const { return readFile(dest); }

    int version;
    test::VshFixture fixture;
    QTemporaryDir dir;
    QString source;
    QString dest;
    VshValues loaded;
};

// Refused saves leave the source as it was and create no file; both the
// save under a new name and the save in place are tried.
void expectRefused(const VshOnDisk& m, const VshValues& edited, ErrorKind kind, int number,
                   const QString& userText = {}) {
    const Status asNew = m.saveAs(edited);
    ASSERT_FALSE(asNew);
    EXPECT_EQ(asNew.error().kind, kind);
    EXPECT_EQ(asNew.error().number, number);
    if (!userText.isEmpty()) {
        EXPECT_EQ(asNew.error().userText(), userText);
    }
    EXPECT_FALSE(m.destExists());
    EXPECT_FALSE(m.saveInPlace(edited));
    EXPECT_TRUE(m.sourceUnchanged());
}

// ---------------------------------------------------------------------------
// The empty-value check covers the boxes a release has open for editing.

enum class Outcome { Saves, Empty, TypeMismatch };

struct EmptyCase {
    int version;
    bool textBox; // txtPRXValue2 instead of txtPRXValue
    int box;
    const char* text;
    Outcome outcome;
};

const EmptyCase kEmptyCases[] = {
    {1, false, 5, "", Outcome::Empty},
    {1, false, 0, "", Outcome::Empty},
    {1, false, 16, "", Outcome::Empty},
    {1, false, 17, "", Outcome::Saves}, // release 1 has no fade-out time
    {1, false, 17, "abc", Outcome::Saves},
    {1, false, 12, "", Outcome::Saves}, // nor a network icon position
    {1, false, 15, "", Outcome::Saves},
    {1, false, 13, "", Outcome::Saves},
    {1, false, 14, "abc", Outcome::Saves},
    {1, false, 27, "", Outcome::Saves},
    {1, false, 18, "", Outcome::TypeMismatch}, // boxes 18 to 27 are not checked but still converted
    {1, false, 26, "", Outcome::TypeMismatch},
    {4, false, 15, "", Outcome::Saves}, // 2.60 has no bitmap size
    {4, false, 15, "abc", Outcome::Saves},
    {4, false, 12, "", Outcome::Empty},
    {4, false, 17, "", Outcome::Empty},
    {7, false, 15, "", Outcome::Empty},
    {11, false, 14, "", Outcome::Saves},
    {11, false, 13, "abc", Outcome::Saves},
    {11, false, 12, "", Outcome::Empty},
    {12, false, 14, "", Outcome::Empty},
    {13, false, 13, "", Outcome::Empty},
    {12, false, 12, "", Outcome::Saves}, // disabled; follows the main icon
    {14, false, 12, "abc", Outcome::Saves},
    {12, false, 20, "", Outcome::TypeMismatch},
    {14, false, 27, "", Outcome::TypeMismatch},
    {5, true, 0, "", Outcome::Empty},
    {14, true, 12, "", Outcome::Empty},
    {9, true, 8, "", Outcome::Empty},
    {3, true, 13, "", Outcome::Saves}, // the format strings are never checked
    {12, true, 22, "", Outcome::Saves},
};

class VshEmptyValue : public ::testing::TestWithParam<EmptyCase> {};

TEST_P(VshEmptyValue, OnlyOpenBoxesMayNotBeEmpty) {
    const EmptyCase& c = GetParam();
    VshOnDisk m(c.version);
    VshValues edited = m.loaded;
    edited.textColors[0] ^= 0x010101; // edits that come before the box
    edited.numbers[9] = QStringLiteral("77");
    if (c.textBox)
        edited.texts[static_cast<std::size_t>(c.box)] = QString::fromLatin1(c.text);
    else
        edited.numbers[static_cast<std::size_t>(c.box)] = QString::fromLatin1(c.text);

    switch (c.outcome) {
    case Outcome::Saves: {
        const Status s = m.saveAs(edited);
        ASSERT_TRUE(s) << s.error().fullText().toStdString();
        // Only the colour and the clock changed.
        const qint64 color = known::vshOffset(c.version, VshMember::TextColors);
        const qint64 clock = known::vshOffset(c.version, VshMember::ClockX);
        for (qint64 off : changedOffsets(m.fixture.bytes, m.saved())) {
            EXPECT_TRUE((off >= color && off < color + 12) || (off >= clock && off < clock + 4))
                << "unexpected change at 0x" << std::hex << off;
        }
        EXPECT_TRUE(m.sourceUnchanged());
        break;
    }
    case Outcome::Empty:
        expectRefused(m, edited, ErrorKind::Check, 0, QStringLiteral("One of the value is empty"));
        break;
    case Outcome::TypeMismatch:
        expectRefused(m, edited, ErrorKind::Conversion, errnum::TypeMismatch);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, VshEmptyValue, ::testing::ValuesIn(kEmptyCases), [](const auto& info) {
    const EmptyCase& c = info.param;
    return "v" + std::to_string(c.version) + (c.textBox ? "_text" : "_number") + std::to_string(c.box) +
           (c.text[0] ? "_garbage" : "_empty");
});

// ---------------------------------------------------------------------------
// The bitmap size: a 16-bit value with its own upper limit, releases 7 to 14.

class VshBmpSize : public ::testing::TestWithParam<int> {};

TEST_P(VshBmpSize, IsCheckedAgainst32767AndWrittenAsTwoBytes) {
    const int v = GetParam();
    const struct {
        const char* text;
        std::optional<QByteArray> bytes; // nothing: refused
        ErrorKind kind;
        int number;
    } cases[] = {
        {"32767", QByteArray("\xFF\x7F", 2), {}, 0},
        {"-32768", QByteArray("\x00\x80", 2), {}, 0},
        {"2,5", QByteArray("\x02\x00", 2), {}, 0},
        {"0", QByteArray("\x00\x00", 2), {}, 0},
        {"32768", std::nullopt, ErrorKind::Check, 0},
        {"40000", std::nullopt, ErrorKind::Check, 0},
        {"1e39", std::nullopt, ErrorKind::Check, 0},
        {"-32769", std::nullopt, ErrorKind::Conversion, errnum::Overflow},
        {"abc", std::nullopt, ErrorKind::Conversion, errnum::TypeMismatch},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        VshOnDisk m(v);
        VshValues edited = m.loaded;
        edited.numbers[0] = QStringLiteral("1");
        edited.numbers[15] = QString::fromLatin1(c.text);
        const qint64 at = known::vshOffset(v, VshMember::BmpSize);
        if (c.bytes) {
            const Status s = m.saveAs(edited);
            ASSERT_TRUE(s) << s.error().fullText().toStdString();
            EXPECT_EQ(m.saved().mid(at, 2), *c.bytes);
        } else {
            expectRefused(m, edited, c.kind, c.number,
                          c.kind == ErrorKind::Check ? QStringLiteral("BMP Max Size it's 32767 bytes")
                                                     : QString());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Releases7To14, VshBmpSize, ::testing::Range(7, kVshRows + 1),
                         [](const auto& info) { return "v" + std::to_string(info.param); });

TEST(VshBmpSizeMissing, ReleasesBefore7NeitherCheckNorWriteIt) {
    for (int v = 1; v <= 6; ++v) {
        for (const char* text : {"32768", "abc", ""}) {
            SCOPED_TRACE(testing::Message() << "release " << v << " \"" << text << "\"");
            VshOnDisk m(v);
            VshValues edited = m.loaded;
            edited.numbers[15] = QString::fromLatin1(text);
            const Status s = m.saveAs(edited);
            ASSERT_TRUE(s) << s.error().fullText().toStdString();
            EXPECT_TRUE(m.saved() == m.fixture.bytes);
        }
    }
}

// ---------------------------------------------------------------------------
// A save is all or nothing, in every release.

class VshAllOrNothing : public ::testing::TestWithParam<int> {};

TEST_P(VshAllOrNothing, AValueThatFailsLastStopsEveryEarlierEdit) {
    const int v = GetParam();
    VshOnDisk m(v);
    VshValues edited = m.loaded;
    edited.textColors[5] = 0x123456;
    edited.contextColors[11] = 0x654321;
    edited.numbers[0] = QStringLiteral("-5,5");
    edited.texts[0] = QStringLiteral("changed");
    edited.texts[12] = QStringLiteral("ms0:/x");
    if (v >= 11)
        edited.textColorsSlim[0] = 0xABCDEF;

    // Spoil whatever the release writes last.
    if (const auto format = menuFormat(v)) {
        edited.menu.last().order = format == MenuFormat::Slim ? QStringLiteral("300") : QStringLiteral("abc");
    } else if (v == 7) {
        edited.numbers[15] = QStringLiteral("-40000"); // passes the upper limit, fails as a 16-bit value
    } else if (v >= 2) {
        edited.numbers[17] = QStringLiteral("1,2,3");
    } else {
        edited.numbers[16] = QStringLiteral("1e39");
    }
    const Status s = m.saveAs(edited);
    ASSERT_FALSE(s);
    EXPECT_EQ(s.error().kind, ErrorKind::Conversion);
    EXPECT_FALSE(m.destExists());
    EXPECT_FALSE(m.saveInPlace(edited));
    EXPECT_TRUE(m.sourceUnchanged());

    auto applied = applyVsh(ModuleImage(m.fixture.bytes), v, m.loaded, edited, kC);
    EXPECT_FALSE(applied);
}

TEST_P(VshAllOrNothing, SavingUnderANewNameLeavesTheSourceAlone) {
    const int v = GetParam();
    VshOnDisk m(v);
    VshValues edited = m.loaded;
    edited.numbers[10] = QStringLiteral("42");
    edited.texts[3] = QStringLiteral("game_icon");
    ASSERT_TRUE(m.saveAs(edited));
    EXPECT_TRUE(m.sourceUnchanged());
    auto expected = applyVsh(ModuleImage(m.fixture.bytes), v, m.loaded, edited, kC);
    ASSERT_TRUE(expected);
    EXPECT_TRUE(m.saved() == expected->bytes());

    ASSERT_TRUE(m.saveInPlace(edited));
    EXPECT_TRUE(readFile(m.source) == expected->bytes());
    auto reread = readVshFile(m.source, v, kC);
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->numbers[10], QStringLiteral("42"));
    EXPECT_EQ(reread->texts[3], QStringLiteral("game_icon"));
}

TEST_P(VshAllOrNothing, ASourceThatNoLongerFitsItsReleaseIsRefused) {
    const int v = GetParam();
    VshOnDisk m(v);
    const int other = v == kVshRows ? 1 : v + 1;
    for (const QByteArray& bytes : {m.fixture.bytes + QByteArray(1, '\0'), m.fixture.bytes.left(100),
                                    QByteArray(known::vshRelease(other).fileSize, '\0')}) {
        writeFile(m.source, bytes);
        EXPECT_FALSE(readVshFile(m.source, v, kC));
        const Status s = m.saveAs(m.loaded);
        ASSERT_FALSE(s);
        EXPECT_EQ(s.error().kind, ErrorKind::NotModule);
        EXPECT_FALSE(m.destExists());
        EXPECT_TRUE(readFile(m.source) == bytes);
    }
}

TEST_P(VshAllOrNothing, FormatStringsAreNeverWritten) {
    const int v = GetParam();
    VshOnDisk m(v);
    VshValues edited = m.loaded;
    for (int i = kVshFormatFirstEurope; i < kVshTextBoxCount; ++i)
        edited.texts[static_cast<std::size_t>(i)] = i % 2 ? QStringLiteral("%Y-%m") : QString();
    auto saved = applyVsh(ModuleImage(m.fixture.bytes), v, m.loaded, edited, kC);
    ASSERT_TRUE(saved) << saved.error().fullText().toStdString();
    EXPECT_TRUE(saved->bytes() == m.fixture.bytes);
}

TEST_P(VshAllOrNothing, FrenchTextsShowCommasAndWriteTheSameBytes) {
    const int v = GetParam();
    const auto f = makeVsh(v, 5);
    auto c = loadVsh(ModuleImage(f.bytes), v, kC);
    auto french = loadVsh(ModuleImage(f.bytes), v, kFrench);
    ASSERT_TRUE(c && french);
    int withComma = 0;
    for (int box = 0; box < kVshNumberBoxCount; ++box) {
        const auto i = static_cast<std::size_t>(box);
        EXPECT_EQ(french->numbers[i], QString(c->numbers[i]).replace(u'.', u',')) << box;
        withComma += french->numbers[i].contains(u',') ? 1 : 0;
    }
    EXPECT_GT(withComma, 0);
    EXPECT_EQ(french->texts, c->texts);
    EXPECT_EQ(french->menu, c->menu);

    // Every French number text differs from the loaded C one, so all are converted and written.
    auto saved = applyVsh(ModuleImage(f.bytes), v, *c, *french, kFrench);
    ASSERT_TRUE(saved) << saved.error().fullText().toStdString();
    EXPECT_TRUE(saved->bytes() == f.bytes);
    auto unchanged = applyVsh(ModuleImage(f.bytes), v, *french, *french, kFrench);
    ASSERT_TRUE(unchanged);
    EXPECT_TRUE(unchanged->bytes() == f.bytes);
}

INSTANTIATE_TEST_SUITE_P(AllReleases, VshAllOrNothing, ::testing::Range(1, kVshRows + 1),
                         [](const auto& info) { return "v" + std::to_string(info.param); });

// ---------------------------------------------------------------------------
// The network icon of releases 12 to 14 sits one below the main icon.

TEST(VshNetworkIcon, FollowsTheMainIconInReleases12To14) {
    const struct {
        int version;
        const QLocale* locale;
        const char* main;
        float network;
    } cases[] = {
        {12, &kC, "10", 11.0f},        {13, &kC, "-3", -2.0f},       {14, &kC, "0,5", 1.5f},
        {12, &kFrench, "10,5", 11.5f}, {13, &kFrench, "-0,5", 0.5f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "release " << c.version << " main " << c.main);
        const auto f = makeVsh(c.version);
        auto loaded = loadVsh(ModuleImage(f.bytes), c.version, *c.locale);
        ASSERT_TRUE(loaded);
        VshValues edited = *loaded;
        edited.numbers[14] = QString::fromLatin1(c.main);
        edited.numbers[12] = QStringLiteral("999"); // the box is closed; its text is not what counts
        auto saved = applyVsh(ModuleImage(f.bytes), c.version, *loaded, edited, *c.locale);
        ASSERT_TRUE(saved) << saved.error().fullText().toStdString();
        EXPECT_EQ(singleAt(saved->bytes(), known::vshOffset(c.version, VshMember::NetworkIconYUnfocused)),
                  c.network);
        EXPECT_EQ(singleAt(saved->bytes(), known::vshOffset(c.version, VshMember::MainIconYUnfocused)),
                  c.network - 1.0f);
        VshValues shown = edited;
        followNetworkIcon(shown, c.version, *c.locale);
        auto shownNetwork = parseSingle(shown.numbers[12], *c.locale);
        ASSERT_TRUE(shownNetwork) << shown.numbers[12].toStdString();
        EXPECT_EQ(*shownNetwork, c.network);
    }
}

TEST(VshNetworkIcon, IsPutInStepOnSaveEvenWithoutEdits) {
    for (int v = 12; v <= 14; ++v) {
        auto f = makeVsh(v);
        const qint64 network = known::vshOffset(v, VshMember::NetworkIconYUnfocused);
        putSingle(f.bytes, network, 0.0f);
        auto loaded = loadVsh(ModuleImage(f.bytes), v, kC);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->numbers[12], QStringLiteral("0"));
        auto saved = applyVsh(ModuleImage(f.bytes), v, *loaded, *loaded, kC);
        ASSERT_TRUE(saved);
        const float main = singleAt(f.bytes, known::vshOffset(v, VshMember::MainIconYUnfocused));
        EXPECT_EQ(singleAt(saved->bytes(), network), main + 1.0f) << v;
        for (qint64 off : changedOffsets(f.bytes, saved->bytes())) {
            EXPECT_TRUE(off >= network && off < network + 4) << std::hex << off;
        }
    }
}

TEST(VshNetworkIcon, IsAnOrdinaryValueBeforeRelease12) {
    for (int v = 2; v <= 11; ++v) {
        const auto f = makeVsh(v);
        auto loaded = loadVsh(ModuleImage(f.bytes), v, kC);
        ASSERT_TRUE(loaded);
        EXPECT_TRUE(vshNumberBoxEnabled(v, 12));
        VshValues edited = *loaded;
        edited.numbers[12] = QStringLiteral("99");
        edited.numbers[14] = QStringLiteral("10"); // no such value before release 12
        auto saved = applyVsh(ModuleImage(f.bytes), v, *loaded, edited, kC);
        ASSERT_TRUE(saved) << v;
        EXPECT_EQ(singleAt(saved->bytes(), known::vshOffset(v, VshMember::NetworkIconYUnfocused)), 99.0f)
            << v;
        const qint64 network = numberOffset(v, 12);
        for (qint64 off : changedOffsets(f.bytes, saved->bytes())) {
            EXPECT_TRUE(off >= network && off < network + 4) << v << ": 0x" << std::hex << off;
        }
    }
}

TEST(VshNetworkIcon, AMainIconTextThatIsNotANumberLeavesTheNetworkBox) {
    for (const char* main : {"", "-", ",", "-,", "abc"}) {
        VshValues values = makeVsh(13).expected;
        const QString before = values.numbers[12];
        values.numbers[14] = QString::fromLatin1(main);
        followNetworkIcon(values, 13, kC);
        EXPECT_EQ(values.numbers[12], before) << main;
    }
}

// ---------------------------------------------------------------------------
// Menu rows: 24 entries in releases 8, 9 and 14, 23 in 10 to 13.

class VshMenuRows : public ::testing::TestWithParam<int> {};

TEST_P(VshMenuRows, EveryEntryOfTheReleaseIsWrittenAndNoMore) {
    const int v = GetParam();
    const int n = (v == 8 || v == 9 || v == 14) ? 24 : 23;
    const auto f = makeVsh(v);
    auto loaded = loadVsh(ModuleImage(f.bytes), v, kC);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->menu.size(), n);

    VshValues edited = *loaded;
    for (MenuRow& row : edited.menu)
        row.order = QStringLiteral("31");
    edited.menu.append(edited.menu.last()); // a row past the module's entries is ignored
    auto saved = applyVsh(ModuleImage(f.bytes), v, *loaded, edited, kC);
    ASSERT_TRUE(saved) << saved.error().fullText().toStdString();

    const qint64 first = known::vshOffset(v, VshMember::MenuEntries);
    for (int k = 0; k < n; ++k)
        EXPECT_EQ(saved->bytes().at(first + 16 * k + 4), 31) << "entry " << k;
    EXPECT_EQ(saved->bytes().mid(first + 16 * n, 16), f.bytes.mid(first + 16 * n, 16));
    for (qint64 off : changedOffsets(f.bytes, saved->bytes())) {
        EXPECT_EQ((off - first) % 16, 4) << std::hex << off;
        EXPECT_LT(off, first + 16 * n);
    }
}

TEST_P(VshMenuRows, AListShorterThanTheEntriesWritesNothing) {
    const int v = GetParam();
    VshOnDisk m(v);
    VshValues edited = m.loaded;
    edited.numbers[0] = QStringLiteral("3");
    edited.menu.removeLast();
    const Status s = m.saveAs(edited);
    ASSERT_FALSE(s);
    EXPECT_EQ(s.error().number, errnum::SubscriptOutOfRange);
    EXPECT_FALSE(m.destExists());
    EXPECT_TRUE(m.sourceUnchanged());
}

INSTANTIATE_TEST_SUITE_P(Releases8To14, VshMenuRows, ::testing::Range(8, kVshRows + 1),
                         [](const auto& info) { return "v" + std::to_string(info.param); });

TEST(VshMenuRowsMissing, ReleasesBefore8HaveNoMenu) {
    for (int v = 1; v <= 7; ++v) {
        const auto f = makeVsh(v);
        auto loaded = loadVsh(ModuleImage(f.bytes), v, kC);
        ASSERT_TRUE(loaded);
        EXPECT_TRUE(loaded->menu.isEmpty()) << v;
        VshValues edited = *loaded;
        edited.menu.append(MenuRow{QStringLiteral("1"), QStringLiteral("Photo"), QString(),
                                   QStringLiteral("All"), QStringLiteral("FAT ON")});
        auto saved = applyVsh(ModuleImage(f.bytes), v, *loaded, edited, kC);
        ASSERT_TRUE(saved) << v;
        EXPECT_TRUE(saved->bytes() == f.bytes) << v;
    }
}

} // namespace
