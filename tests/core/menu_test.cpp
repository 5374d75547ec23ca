#include "prx/menu.h"
#include "qt_printers.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace qm;
using namespace qm::prx;

namespace {

constexpr qint64 kAt = 32; // where the entry lies in the test image

// An entry with the four codes and a pattern in the bytes nobody reads.
QByteArray entryBytes(quint8 category, quint8 icon, quint8 mode, quint32 region) {
    QByteArray e(16, '\0');
    for (int i = 0; i < 16; ++i)
        e[i] = static_cast<char>(0xC0 + i);
    e[0] = static_cast<char>(category);
    e[4] = static_cast<char>(icon);
    e[8] = static_cast<char>(mode);
    qToLittleEndian<quint32>(region, e.data() + 12);
    return e;
}

ModuleImage imageWith(const QByteArray& entry) {
    return ModuleImage(QByteArray(kAt, '\x11') + entry + QByteArray(24, '\x22'));
}

MenuRow row(const char* order, const char* category, const char* icon, const char* region,
            const char* enabled) {
    return {QString::fromLatin1(order), QString::fromLatin1(category), QString::fromLatin1(icon),
            QString::fromLatin1(region), QString::fromLatin1(enabled)};
}

std::string describe(const MenuRow& r) {
    return (r.order + u'|' + r.category + u'|' + r.icon + u'|' + r.region + u'|' + r.enabled).toStdString();
}

// ---------------------------------------------------------------------------
// Reading: codes to texts.

struct ReadCase {
    const char* name;
    MenuFormat format;
    int version;
    QByteArray entry;
    MenuRow expected;
};

std::vector<ReadCase> readCases() {
    using F = MenuFormat;
    return {
        // Categories, including the shifted codes of release 8.
        {"Classic8Category5IsGame", F::Classic, 8, entryBytes(5, 0, 3, 0xFFFFFFFF),
         row("0", "Game", "Network Update", "All", "FAT ON")},
        {"Classic8Category6IsNetwork", F::Classic, 8, entryBytes(6, 1, 2, 8),
         row("1", "Network", "USB Connection", "Japan", "FAT OFF")},
        {"Classic8Category4IsGame", F::Classic, 8, entryBytes(4, 0, 3, 0xFFFFFFFF),
         row("0", "Game", "Network Update", "All", "FAT ON")},
        {"Classic8Category7IsError", F::Classic, 8, entryBytes(7, 0, 3, 0xFFFFFFFF),
         row("0", "ERROR", "Network Update", "All", "FAT ON")},
        {"Classic9Category5IsNetwork", F::Classic, 9, entryBytes(5, 0, 3, 0xFFFFFFFF),
         row("0", "Network", "Network Update", "All", "FAT ON")},
        {"Classic9Category6IsError", F::Classic, 9, entryBytes(6, 0, 3, 0xFFFFFFFF),
         row("0", "ERROR", "Network Update", "All", "FAT ON")},
        {"Classic11Category4IsGame", F::Classic, 11, entryBytes(4, 0, 3, 0xFFFFFFFF),
         row("0", "Game", "Network Update", "All", "FAT ON")},
        {"SlimCategory4IsTV", F::Slim, 12, entryBytes(4, 0, 3, 0xFFFFFFFF),
         row("0", "TV", "Network Update", "All", "FAT ON")},
        {"SlimCategory6IsNetwork", F::Slim, 14, entryBytes(6, 0, 3, 0xFFFFFFFF),
         row("0", "Network", "Network Update", "All", "FAT ON")},
        {"SlimCategory7IsError", F::Slim, 13, entryBytes(7, 0, 3, 0xFFFFFFFF),
         row("0", "ERROR", "Network Update", "All", "FAT ON")},
        {"SlimCategory255IsError", F::Slim, 14, entryBytes(255, 0, 3, 0xFFFFFFFF),
         row("0", "ERROR", "Network Update", "All", "FAT ON")},
        // Icons: 0 to 32 index the list, past its end an empty name; above 32 "ERROR" with order 0.
        {"ClassicIcon8", F::Classic, 10, entryBytes(0, 8, 3, 0xFFFFFFFF),
         row("8", "Settings", "???", "All", "FAT ON")},
        {"SlimIcon8", F::Slim, 12, entryBytes(0, 8, 3, 0xFFFFFFFF),
         row("8", "Settings", "Connected Display Settings", "All", "FAT ON")},
        {"ClassicIcon31IsTheLastName", F::Classic, 10, entryBytes(0, 31, 3, 0xFFFFFFFF),
         row("31", "Settings", "Playstation Spot", "All", "FAT ON")},
        {"ClassicIcon32HasNoName", F::Classic, 10, entryBytes(0, 32, 3, 0xFFFFFFFF),
         row("32", "Settings", "", "All", "FAT ON")},
        {"SlimIcon32IsInternetRadio", F::Slim, 14, entryBytes(0, 32, 3, 0xFFFFFFFF),
         row("32", "Settings", "Internet Radio", "All", "FAT ON")},
        {"ClassicIcon33IsError", F::Classic, 9, entryBytes(0, 33, 3, 0xFFFFFFFF),
         row("0", "Settings", "ERROR", "All", "FAT ON")},
        {"SlimIcon255IsError", F::Slim, 12, entryBytes(0, 255, 3, 0xFFFFFFFF),
         row("0", "Settings", "ERROR", "All", "FAT ON")},
        // Modes.
        {"ClassicMode0IsError", F::Classic, 10, entryBytes(0, 0, 0, 0xFFFFFFFF),
         row("0", "Settings", "Network Update", "All", "ERROR")},
        {"ClassicMode5IsError", F::Classic, 10, entryBytes(0, 0, 5, 0xFFFFFFFF),
         row("0", "Settings", "Network Update", "All", "ERROR")},
        {"ClassicMode6IsError", F::Classic, 10, entryBytes(0, 0, 6, 0xFFFFFFFF),
         row("0", "Settings", "Network Update", "All", "ERROR")},
        {"ClassicMode7IsError", F::Classic, 11, entryBytes(0, 0, 7, 0xFFFFFFFF),
         row("0", "Settings", "Network Update", "All", "ERROR")},
        {"SlimMode7IsFatOn", F::Slim, 14, entryBytes(0, 0, 7, 0xFFFFFFFF),
         row("0", "Settings", "Network Update", "All", "FAT ON")},
        {"SlimMode3IsFatOn", F::Slim, 12, entryBytes(0, 0, 3, 0xFFFFFFFF),
         row("0", "Settings", "Network Update", "All", "FAT ON")},
        {"SlimMode2IsFatOff", F::Slim, 12, entryBytes(0, 0, 2, 0xFFFFFFFF),
         row("0", "Settings", "Network Update", "All", "FAT OFF")},
        {"SlimMode0IsSlimOff", F::Slim, 13, entryBytes(0, 0, 0, 0xFFFFFFFF),
         row("0", "Settings", "Network Update", "All", "SLIM OFF")},
        {"SlimMode6IsSlimOn", F::Slim, 13, entryBytes(0, 0, 6, 0xFFFFFFFF),
         row("0", "Settings", "Network Update", "All", "SLIM ON")},
        {"SlimMode5IsError", F::Slim, 14, entryBytes(0, 0, 5, 0xFFFFFFFF),
         row("0", "Settings", "Network Update", "All", "ERROR")},
        {"SlimMode1IsError", F::Slim, 14, entryBytes(0, 0, 1, 0xFFFFFFFF),
         row("0", "Settings", "Network Update", "All", "ERROR")},
        // Regions: only byte 12 is looked at.
        {"Region255IsAll", F::Classic, 10, entryBytes(0, 0, 3, 0x000000FF),
         row("0", "Settings", "Network Update", "All", "FAT ON")},
        {"Region8IsJapan", F::Slim, 12, entryBytes(0, 0, 3, 0xABCDEF08),
         row("0", "Settings", "Network Update", "Japan", "FAT ON")},
        {"Region3IsError", F::Classic, 10, entryBytes(0, 0, 3, 3),
         row("0", "Settings", "Network Update", "ERROR", "FAT ON")},
        {"Region0IsError", F::Slim, 14, entryBytes(0, 0, 3, 0xFFFFFF00),
         row("0", "Settings", "Network Update", "ERROR", "FAT ON")},
        {"EverythingUnreadable", F::Slim, 14, entryBytes(9, 40, 9, 7),
         row("0", "ERROR", "ERROR", "ERROR", "ERROR")},
    };
}

class MenuRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(MenuRead, ShowsTheCodesAsTheListTexts) {
    const ReadCase& c = GetParam();
    const ModuleImage image = imageWith(c.entry);
    auto r = readMenuEntry(image, kAt, c.format, c.version);
    ASSERT_TRUE(r) << r.error().fullText().toStdString();
    EXPECT_EQ(*r, c.expected) << describe(*r) << " instead of " << describe(c.expected);
}

INSTANTIATE_TEST_SUITE_P(Codes, MenuRead, ::testing::ValuesIn(readCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Writing: texts to codes. Each case writes a whole row (no loaded row).

struct WriteCase {
    const char* name;
    MenuFormat format;
    int version;
    MenuRow row;
    quint8 category, icon, mode;
    std::optional<quint32> region; // nothing: the four bytes stay as they were
};

std::vector<WriteCase> writeCases() {
    using F = MenuFormat;
    const std::optional<quint32> kAll = 0xFFFFFFFFu, kJapan = 8u, kKept = std::nullopt;
    return {
        {"Classic8GameIs5", F::Classic, 8, row("3", "Game", "x", "All", "FAT ON"), 5, 3, 3, kAll},
        {"Classic8NetworkIs6", F::Classic, 8, row("4", "Network", "x", "Japan", "FAT OFF"), 6, 4, 2, kJapan},
        {"Classic9GameIs4", F::Classic, 9, row("5", "Game", "x", "All", "FAT ON"), 4, 5, 3, kAll},
        {"Classic11NetworkIs5", F::Classic, 11, row("6", "Network", "x", "All", "FAT ON"), 5, 6, 3, kAll},
        {"Classic8VideoIs3", F::Classic, 8, row("7", "Video", "x", "All", "FAT ON"), 3, 7, 3, kAll},
        {"ClassicTVIs0", F::Classic, 10, row("0", "TV", "x", "All", "FAT ON"), 0, 0, 3, kAll},
        {"ClassicUnknownCategoryIs0", F::Classic, 10, row("0", "ERROR", "x", "All", "FAT ON"), 0, 0, 3, kAll},
        {"SlimTVIs4", F::Slim, 12, row("32", "TV", "x", "All", "FAT ON"), 4, 32, 3, kAll},
        {"SlimGameIs5", F::Slim, 13, row("1", "Game", "x", "All", "FAT ON"), 5, 1, 3, kAll},
        {"SlimNetworkIs6", F::Slim, 14, row("1", "Network", "x", "All", "FAT ON"), 6, 1, 7, kAll},
        {"SlimMusicIs2", F::Slim, 14, row("1", "Music", "x", "All", "FAT ON"), 2, 1, 7, kAll},
        // Modes.
        {"ClassicErrorModeIs3", F::Classic, 10, row("0", "Settings", "x", "All", "ERROR"), 0, 0, 3, kAll},
        {"ClassicFatOffIs2", F::Classic, 10, row("0", "Settings", "x", "All", "FAT OFF"), 0, 0, 2, kAll},
        {"ClassicSlimOnIs0", F::Classic, 10, row("0", "Settings", "x", "All", "SLIM ON"), 0, 0, 0, kAll},
        {"Slim12ErrorModeIs3", F::Slim, 12, row("0", "Settings", "x", "All", "ERROR"), 0, 0, 3, kAll},
        {"Slim13ErrorModeIs3", F::Slim, 13, row("0", "Settings", "x", "All", "ERROR"), 0, 0, 3, kAll},
        {"Slim14ErrorModeIs7", F::Slim, 14, row("0", "Settings", "x", "All", "ERROR"), 0, 0, 7, kAll},
        {"Slim14FatOnIs7", F::Slim, 14, row("0", "Settings", "x", "All", "FAT ON"), 0, 0, 7, kAll},
        {"Slim12SlimOnIs3", F::Slim, 12, row("0", "Settings", "x", "All", "SLIM ON"), 0, 0, 3, kAll},
        {"Slim13SlimOnIs3", F::Slim, 13, row("0", "Settings", "x", "All", "SLIM ON"), 0, 0, 3, kAll},
        {"Slim14SlimOnIs6", F::Slim, 14, row("0", "Settings", "x", "All", "SLIM ON"), 0, 0, 6, kAll},
        {"SlimFatOffIs2", F::Slim, 14, row("0", "Settings", "x", "All", "FAT OFF"), 0, 0, 2, kAll},
        {"SlimSlimOffIs0", F::Slim, 12, row("0", "Settings", "x", "All", "SLIM OFF"), 0, 0, 0, kAll},
        {"SlimUnknownModeIs0", F::Slim, 14, row("0", "Settings", "x", "All", "fat on"), 0, 0, 0, kAll},
        // Regions.
        {"ErrorRegionIsAll", F::Classic, 10, row("0", "Settings", "x", "ERROR", "FAT ON"), 0, 0, 3, kAll},
        {"JapanRegion", F::Slim, 14, row("0", "Settings", "x", "Japan", "FAT ON"), 0, 0, 7, kJapan},
        {"UnknownRegionKeepsItsBytes", F::Classic, 10, row("0", "Settings", "x", "Europe", "FAT ON"), 0, 0, 3,
         kKept},
        {"EmptyRegionKeepsItsBytes", F::Slim, 12, row("0", "Settings", "x", "", "FAT ON"), 0, 0, 3, kKept},
        // The icon byte comes from the order column, rounded.
        {"OrderIsTheIconCode", F::Classic, 10, row("255", "Settings", "ERROR", "All", "FAT ON"), 0, 255, 3,
         kAll},
        {"OrderWithAFraction", F::Classic, 10, row("2,5", "Settings", "x", "All", "FAT ON"), 0, 2, 3, kAll},
    };
}

class MenuWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(MenuWrite, StoresTheCodesAndLeavesTheOtherBytes) {
    const WriteCase& c = GetParam();
    const QByteArray before = entryBytes(0xEE, 0xEE, 0xEE, 0x12345678);
    ModuleImage image = imageWith(before);
    const QByteArray original = image.bytes();
    ASSERT_TRUE(writeMenuEntry(image, kAt, c.row, nullptr, c.format, c.version));

    QByteArray expected = original;
    expected[kAt + 0] = static_cast<char>(c.category);
    expected[kAt + 4] = static_cast<char>(c.icon);
    expected[kAt + 8] = static_cast<char>(c.mode);
    if (c.region) {
        qToLittleEndian<quint32>(*c.region, expected.data() + kAt + 12);
    }
    EXPECT_EQ(image.bytes(), expected);
}

INSTANTIATE_TEST_SUITE_P(Codes, MenuWrite, ::testing::ValuesIn(writeCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Reading and writing together.

TEST(MenuRoundTrip, EveryReadableEntryIsWrittenBackToItsOwnCodes) {
    struct Release {
        MenuFormat format;
        int version;
        int categories;
        QList<quint8> modes;
    };
    const Release releases[] = {
        {MenuFormat::Classic, 8, 7, {3, 2}},  {MenuFormat::Classic, 9, 6, {3, 2}},
        {MenuFormat::Classic, 11, 6, {3, 2}}, {MenuFormat::Slim, 12, 7, {3, 2, 0}},
        {MenuFormat::Slim, 13, 7, {3, 2, 0}}, {MenuFormat::Slim, 14, 7, {7, 2, 0, 6}},
    };
    for (const Release& r : releases) {
        for (int c = 0; c < r.categories; ++c) {
            if (r.version == 8 && c == 4)
                continue; // shown as Game, which release 8 writes as 5
            for (quint8 mode : r.modes) {
                for (quint32 region : {0xFFFFFFFFu, 8u}) {
                    for (int icon : {0, 17, 32}) {
                        const QByteArray entry =
                            entryBytes(static_cast<quint8>(c), static_cast<quint8>(icon), mode, region);
                        const ModuleImage image = imageWith(entry);
                        auto shown = readMenuEntry(image, kAt, r.format, r.version);
                        ASSERT_TRUE(shown);
                        ModuleImage written = imageWith(entryBytes(0xEE, 0xEE, 0xEE, 0x55555555));
                        ASSERT_TRUE(writeMenuEntry(written, kAt, *shown, nullptr, r.format, r.version));
                        const QByteArray got = written.bytes().mid(kAt, 16);
                        SCOPED_TRACE(testing::Message()
                                     << "release " << r.version << ", " << describe(*shown));
                        EXPECT_EQ(got.at(0), entry.at(0));
                        EXPECT_EQ(got.at(4), entry.at(4));
                        EXPECT_EQ(got.at(8), entry.at(8));
                        EXPECT_EQ(got.mid(12), entry.mid(12));
                    }
                }
            }
        }
    }
}

TEST(MenuRoundTrip, OnlyTheFieldsThatDifferFromTheLoadedRowAreWritten) {
    // Codes shown as "ERROR" must survive a save that does not touch them.
    const QByteArray entry = entryBytes(9, 40, 5, 3);
    for (MenuFormat format : {MenuFormat::Classic, MenuFormat::Slim}) {
        const int version = format == MenuFormat::Classic ? 10 : 14;
        ModuleImage image = imageWith(entry);
        auto loaded = readMenuEntry(image, kAt, format, version);
        ASSERT_TRUE(loaded);
        ASSERT_EQ(*loaded, row("0", "ERROR", "ERROR", "ERROR", "ERROR"));

        const struct {
            QString MenuRow::*field;
            QString value;
            int byte;
            char code;
        } edits[] = {
            {&MenuRow::category, QStringLiteral("Photo"), 0, 1},
            {&MenuRow::order, QStringLiteral("12"), 4, 12},
            {&MenuRow::enabled, QStringLiteral("FAT OFF"), 8, 2},
        };
        for (const auto& e : edits) {
            ModuleImage copy = image;
            MenuRow edited = *loaded;
            edited.*(e.field) = e.value;
            ASSERT_TRUE(writeMenuEntry(copy, kAt, edited, &*loaded, format, version));
            QByteArray expected = image.bytes();
            expected[kAt + e.byte] = e.code;
            EXPECT_EQ(copy.bytes(), expected) << e.value.toStdString();
        }

        ModuleImage unchanged = image;
        ASSERT_TRUE(writeMenuEntry(unchanged, kAt, *loaded, &*loaded, format, version));
        EXPECT_EQ(unchanged.bytes(), image.bytes());

        ModuleImage region = image;
        MenuRow japan = *loaded;
        japan.region = QStringLiteral("Japan");
        ASSERT_TRUE(writeMenuEntry(region, kAt, japan, &*loaded, format, version));
        QByteArray expected = image.bytes();
        qToLittleEndian<quint32>(8, expected.data() + kAt + 12);
        EXPECT_EQ(region.bytes(), expected);
    }
}

TEST(MenuRoundTrip, ABadOrderWritesNoFieldOfTheRow) {
    const struct {
        const char* order;
        int number;
    } cases[] = {{"abc", errnum::TypeMismatch},
                 {"", errnum::TypeMismatch},
                 {"256", errnum::Overflow},
                 {"-1", errnum::Overflow}};
    for (const auto& c : cases) {
        ModuleImage image = imageWith(entryBytes(0, 0, 3, 0xFFFFFFFF));
        const QByteArray before = image.bytes();
        const MenuRow loaded = row("0", "Settings", "Network Update", "All", "FAT ON");
        const MenuRow edited = row(c.order, "Photo", "Network Update", "Japan", "FAT OFF");
        auto s = writeMenuEntry(image, kAt, edited, &loaded, MenuFormat::Classic, 10);
        ASSERT_FALSE(s) << c.order;
        EXPECT_EQ(s.error().number, c.number) << c.order;
        EXPECT_EQ(image.bytes(), before) << c.order;
    }
}

TEST(MenuRoundTrip, AnEntryPastTheEndIsRefused) {
    const ModuleImage image(QByteArray(40, '\0'));
    EXPECT_FALSE(readMenuEntry(image, 30, MenuFormat::Slim, 14));
    ModuleImage target(QByteArray(40, '\0'));
    EXPECT_FALSE(
        writeMenuEntry(target, 30, row("0", "Photo", "x", "All", "FAT ON"), nullptr, MenuFormat::Slim, 14));
    EXPECT_EQ(target.bytes(), QByteArray(40, '\0'));
}

TEST(MenuReleases, FormatAndEntryCountFollowTheRelease) {
    const struct {
        int version;
        std::optional<MenuFormat> format;
        int entries;
    } cases[] = {
        {1, std::nullopt, 0},          {6, std::nullopt, 0},         {7, std::nullopt, 0},
        {8, MenuFormat::Classic, 24},  {9, MenuFormat::Classic, 24}, {10, MenuFormat::Classic, 23},
        {11, MenuFormat::Classic, 23}, {12, MenuFormat::Slim, 23},   {13, MenuFormat::Slim, 23},
        {14, MenuFormat::Slim, 24},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(menuFormat(c.version), c.format) << c.version;
        EXPECT_EQ(menuEntryCount(c.version), c.entries) << c.version;
    }
    EXPECT_EQ(menuIcons(MenuFormat::Classic).size(), 32);
    EXPECT_EQ(menuIcons(MenuFormat::Slim).size(), 33);
}

} // namespace
