#include "looks/convert.h"
#include "looks/menunames.h"
#include "prx/codecs.h"
#include "prx/menu.h"
#include "qt_printers.h"
#include "support/known_offsets.h"
#include "text/errortext.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace qm;
using qm::test::vshRow;
using namespace qm::prx;
using qm::looks::MenuTexts;

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

MenuTexts row(const char* order, const char* category, const char* icon, const char* region,
              const char* enabled) {
    return {QString::fromLatin1(order), QString::fromLatin1(category), QString::fromLatin1(icon),
            QString::fromLatin1(region), QString::fromLatin1(enabled)};
}

std::string describe(const MenuTexts& r) {
    return (r.order + u'|' + r.category + u'|' + r.icon + u'|' + r.region + u'|' + r.enabled).toStdString();
}

bool sameTexts(const MenuTexts& a, const MenuTexts& b) {
    return a.order == b.order && a.category == b.category && a.icon == b.icon && a.region == b.region &&
           a.enabled == b.enabled;
}

std::string describe(const MenuEntry& e) {
    return testing::PrintToString(std::vector<quint32>{e.category, e.icon, e.state, e.region});
}

// ---------------------------------------------------------------------------
// Reading: codes to what the list shows.

struct ReadCase {
    const char* name;
    MenuFormat format;
    int version;
    QByteArray entry;
    MenuTexts expected;
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
    EXPECT_EQ(menuFormat(vshRow(c.version)), c.format);
    const ModuleImage image = imageWith(c.entry);
    auto r = readMenuEntry(image, kAt);
    ASSERT_TRUE(r) << text::fullText(r.error()).toStdString();
    // The entry keeps its four codes, whatever they mean.
    EXPECT_EQ(r->category, static_cast<quint8>(c.entry.at(0)));
    EXPECT_EQ(r->icon, static_cast<quint8>(c.entry.at(4)));
    EXPECT_EQ(r->state, static_cast<quint8>(c.entry.at(8)));
    EXPECT_EQ(r->region, qFromLittleEndian<quint32>(c.entry.constData() + 12));
    const MenuTexts shown = looks::menuTexts(*r, vshRow(c.version));
    EXPECT_TRUE(sameTexts(shown, c.expected)) << describe(shown) << " instead of " << describe(c.expected);
}

INSTANTIATE_TEST_SUITE_P(Codes, MenuRead, ::testing::ValuesIn(readCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Writing: meanings to codes. Each case sets every field of an entry whose
// codes mean nothing yet.

struct WriteCase {
    const char* name;
    int version;
    MenuCategory category;
    int icon;
    MenuState state;
    std::optional<MenuRegion> region; // nothing: the four bytes stay as they were
    quint8 categoryCode, iconCode, stateCode;
    quint32 regionCode;
};

std::vector<WriteCase> writeCases() {
    using C = MenuCategory;
    using S = MenuState;
    const auto all = MenuRegion::All, japan = MenuRegion::Japan;
    const std::optional<MenuRegion> kept;
    constexpr quint32 kAll = 0xFFFFFFFFu, kJapan = 8u, kOld = 0x12345678u;
    return {
        {"Classic8GameIs5", 8, C::Game, 3, S::FatOn, all, 5, 3, 3, kAll},
        {"Classic8NetworkIs6", 8, C::Network, 4, S::FatOff, japan, 6, 4, 2, kJapan},
        {"Classic9GameIs4", 9, C::Game, 5, S::FatOn, all, 4, 5, 3, kAll},
        {"Classic11NetworkIs5", 11, C::Network, 6, S::FatOn, all, 5, 6, 3, kAll},
        {"Classic8VideoIs3", 8, C::Video, 7, S::FatOn, all, 3, 7, 3, kAll},
        {"ClassicTVIs0", 10, C::TV, 0, S::FatOn, all, 0, 0, 3, kAll},
        {"SlimTVIs4", 12, C::TV, 32, S::FatOn, all, 4, 32, 3, kAll},
        {"SlimGameIs5", 13, C::Game, 1, S::FatOn, all, 5, 1, 3, kAll},
        {"SlimNetworkIs6", 14, C::Network, 1, S::FatOn, all, 6, 1, 7, kAll},
        {"SlimMusicIs2", 14, C::Music, 1, S::FatOn, all, 2, 1, 7, kAll},
        // States.
        {"ClassicFatOnIs3", 10, C::Settings, 0, S::FatOn, all, 0, 0, 3, kAll},
        {"ClassicFatOffIs2", 10, C::Settings, 0, S::FatOff, all, 0, 0, 2, kAll},
        {"ClassicSlimOnIs0", 10, C::Settings, 0, S::SlimOn, all, 0, 0, 0, kAll},
        {"Slim12FatOnIs3", 12, C::Settings, 0, S::FatOn, all, 0, 0, 3, kAll},
        {"Slim13FatOnIs3", 13, C::Settings, 0, S::FatOn, all, 0, 0, 3, kAll},
        {"Slim14FatOnIs7", 14, C::Settings, 0, S::FatOn, all, 0, 0, 7, kAll},
        {"Slim12SlimOnIs3", 12, C::Settings, 0, S::SlimOn, all, 0, 0, 3, kAll},
        {"Slim13SlimOnIs3", 13, C::Settings, 0, S::SlimOn, all, 0, 0, 3, kAll},
        {"Slim14SlimOnIs6", 14, C::Settings, 0, S::SlimOn, all, 0, 0, 6, kAll},
        {"SlimFatOffIs2", 14, C::Settings, 0, S::FatOff, all, 0, 0, 2, kAll},
        {"SlimSlimOffIs0", 12, C::Settings, 0, S::SlimOff, all, 0, 0, 0, kAll},
        // Regions.
        {"JapanRegion", 14, C::Settings, 0, S::FatOn, japan, 0, 0, 7, kJapan},
        {"RegionLeftAloneKeepsItsBytes", 10, C::Settings, 0, S::FatOn, kept, 0, 0, 3, kOld},
        // The icon code is the icon's place in the list, at most 32.
        {"IconIsItsCode", 10, C::Settings, 17, S::FatOn, all, 0, 17, 3, kAll},
        {"IconPast32IsCutTo32", 10, C::Settings, 255, S::FatOn, all, 0, 32, 3, kAll},
        {"NegativeIconIs0", 12, C::Settings, -1, S::FatOn, all, 0, 0, 3, kAll},
    };
}

class MenuWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(MenuWrite, StoresTheCodesAndLeavesTheOtherBytes) {
    const WriteCase& c = GetParam();
    const QByteArray before = entryBytes(0xEE, 0xEE, 0xEE, 0x12345678);
    ModuleImage image = imageWith(before);
    const QByteArray original = image.bytes();
    auto entry = readMenuEntry(image, kAt);
    ASSERT_TRUE(entry);
    setCategory(*entry, c.category, vshRow(c.version));
    setIcon(*entry, c.icon);
    setState(*entry, c.state, vshRow(c.version));
    if (c.region)
        setRegion(*entry, *c.region);
    EXPECT_EQ(*entry, (MenuEntry{c.categoryCode, c.iconCode, c.stateCode, c.regionCode})) << describe(*entry);
    ASSERT_TRUE(writeMenuEntry(image, kAt, *entry));

    QByteArray expected = original;
    expected[kAt + 0] = static_cast<char>(c.categoryCode);
    expected[kAt + 4] = static_cast<char>(c.iconCode);
    expected[kAt + 8] = static_cast<char>(c.stateCode);
    qToLittleEndian<quint32>(c.regionCode, expected.data() + kAt + 12);
    EXPECT_EQ(image.bytes(), expected);
}

INSTANTIATE_TEST_SUITE_P(Codes, MenuWrite, ::testing::ValuesIn(writeCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Meanings per release, and a field set to what it already means.

TEST(MenuCodes, MeanWhatTheirReleaseSays) {
    using C = MenuCategory;
    using S = MenuState;
    const struct {
        int version;
        quint8 code;
        std::optional<MenuCategory> category;
        std::optional<MenuState> state;
    } cases[] = {
        {8, 4, C::Game, std::nullopt},       {8, 5, C::Game, std::nullopt},
        {8, 6, C::Network, std::nullopt},    {8, 7, std::nullopt, std::nullopt},
        {9, 5, C::Network, std::nullopt},    {9, 6, std::nullopt, std::nullopt},
        {11, 4, C::Game, std::nullopt},      {10, 3, C::Video, S::FatOn},
        {10, 2, C::Music, S::FatOff},        {10, 0, C::Settings, std::nullopt},
        {10, 7, std::nullopt, std::nullopt}, {10, 6, std::nullopt, std::nullopt},
        {12, 4, C::TV, std::nullopt},        {12, 7, std::nullopt, S::FatOn},
        {14, 7, std::nullopt, S::FatOn},     {14, 3, C::Video, S::FatOn},
        {13, 6, C::Network, S::SlimOn},      {13, 0, C::Settings, S::SlimOff},
        {14, 2, C::Music, S::FatOff},        {14, 1, C::Photo, std::nullopt},
        {14, 5, C::Game, std::nullopt},      {14, 255, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "release " << c.version << " code " << int(c.code));
        EXPECT_EQ(categoryOf(c.code, vshRow(c.version)), c.category);
        EXPECT_EQ(stateOf(c.code, vshRow(c.version)), c.state);
    }
    // Only the first byte of the region tells it.
    const struct {
        quint32 code;
        std::optional<MenuRegion> region;
    } regions[] = {
        {0xFFFFFFFFu, MenuRegion::All},
        {0x000000FFu, MenuRegion::All},
        {0x12345608u, MenuRegion::Japan},
        {8u, MenuRegion::Japan},
        {0xFFFFFF00u, std::nullopt},
        {0x0800u, std::nullopt},
        {3u, std::nullopt},
    };
    for (const auto& r : regions)
        EXPECT_EQ(regionOf(r.code), r.region) << std::hex << r.code;
    EXPECT_EQ(regionCode(MenuRegion::All), 0xFFFFFFFFu);
    EXPECT_EQ(regionCode(MenuRegion::Japan), 8u);
    // Icons: 0 to 32 name one.
    EXPECT_EQ(iconOf(0), 0);
    EXPECT_EQ(iconOf(32), 32);
    EXPECT_EQ(iconOf(33), std::nullopt);
    EXPECT_EQ(iconOf(255), std::nullopt);
}

TEST(MenuCodes, AFieldSetToTheMeaningItHasKeepsItsCode) {
    const struct {
        int version;
        MenuEntry entry;
    } cases[] = {
        {14, {0, 0, 3, 0xFFFFFFFFu}}, // 3 reads as on in 3.8x, where on is written as 7
        {12, {0, 0, 7, 0xFFFFFFFFu}}, // 7 reads as on in 3.71, where on is written as 3
        {8, {4, 0, 3, 0xFFFFFFFFu}},  // 4 reads as Game in 3.10, where Game is written as 5
        {10, {0, 0, 3, 0x000000FFu}}, // only the first byte tells All
        {13, {0, 0, 3, 0xABCDEF08u}}, // and Japan
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(describe(c.entry));
        MenuEntry e = c.entry;
        setCategory(e, *categoryOf(e.category, vshRow(c.version)), vshRow(c.version));
        setState(e, *stateOf(e.state, vshRow(c.version)), vshRow(c.version));
        setRegion(e, *regionOf(e.region));
        setIcon(e, *iconOf(e.icon));
        EXPECT_EQ(e, c.entry);
    }
    // SLIM ON has no code of its own in 3.71 and 3.73: it is stored as 3, the code of FAT ON, and set on
    // an entry that is on it changes nothing. 3.8x stores it as 6.
    for (int v : {12, 13, 14}) {
        MenuEntry fatOn{0, 0, stateCode(MenuState::FatOn, vshRow(v)), 0xFFFFFFFFu};
        MenuEntry e = fatOn;
        setState(e, MenuState::SlimOn, vshRow(v));
        EXPECT_EQ(e.state, v == 14 ? 6 : 3) << v;
        EXPECT_EQ(e == fatOn, v != 14) << v;
        EXPECT_EQ(stateOf(e.state, vshRow(v)), v == 14 ? MenuState::SlimOn : MenuState::FatOn) << v;
    }
}

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
                        auto read = readMenuEntry(image, kAt);
                        ASSERT_TRUE(read);
                        EXPECT_EQ(menuFormat(vshRow(r.version)), r.format);
                        const auto category = categoryOf(read->category, vshRow(r.version));
                        const auto state = stateOf(read->state, vshRow(r.version));
                        const auto where = regionOf(read->region);
                        const auto shownIcon = iconOf(read->icon);
                        ASSERT_TRUE(category && state && where && shownIcon);
                        // The meanings set on an entry whose codes mean nothing.
                        ModuleImage written = imageWith(entryBytes(0xEE, 0xEE, 0xEE, 0x55555555));
                        MenuEntry fresh = *readMenuEntry(written, kAt);
                        setCategory(fresh, *category, vshRow(r.version));
                        setIcon(fresh, *shownIcon);
                        setState(fresh, *state, vshRow(r.version));
                        setRegion(fresh, *where);
                        ASSERT_TRUE(writeMenuEntry(written, kAt, fresh));
                        const QByteArray got = written.bytes().mid(kAt, 16);
                        SCOPED_TRACE(testing::Message()
                                     << "release " << r.version << ", " << describe(*read));
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

TEST(MenuRoundTrip, OnlyTheFieldsThatAreSetChange) {
    // Codes shown as "ERROR" must survive a save that does not touch them.
    const QByteArray entry = entryBytes(9, 40, 5, 3);
    for (MenuFormat format : {MenuFormat::Classic, MenuFormat::Slim}) {
        const int version = format == MenuFormat::Classic ? 10 : 14;
        const ModuleImage image = imageWith(entry);
        auto loaded = readMenuEntry(image, kAt);
        ASSERT_TRUE(loaded);
        ASSERT_TRUE(sameTexts(looks::menuTexts(*loaded, vshRow(version)),
                              row("0", "ERROR", "ERROR", "ERROR", "ERROR")));

        const struct {
            void (*set)(MenuEntry&, int version);
            int byte;
            char code;
        } edits[] = {
            {[](MenuEntry& e, int v) { setCategory(e, MenuCategory::Photo, vshRow(v)); }, 0, 1},
            {[](MenuEntry& e, int) { setIcon(e, 12); }, 4, 12},
            {[](MenuEntry& e, int v) { setState(e, MenuState::FatOff, vshRow(v)); }, 8, 2},
        };
        for (const auto& e : edits) {
            ModuleImage copy = image;
            MenuEntry edited = *loaded;
            e.set(edited, version);
            ASSERT_TRUE(writeMenuEntry(copy, kAt, edited));
            QByteArray expected = image.bytes();
            expected[kAt + e.byte] = e.code;
            EXPECT_EQ(copy.bytes(), expected) << e.byte;
        }

        ModuleImage unchanged = image;
        ASSERT_TRUE(writeMenuEntry(unchanged, kAt, *loaded));
        EXPECT_EQ(unchanged.bytes(), image.bytes());

        ModuleImage region = image;
        MenuEntry japan = *loaded;
        setRegion(japan, MenuRegion::Japan);
        ASSERT_TRUE(writeMenuEntry(region, kAt, japan));
        QByteArray expected = image.bytes();
        qToLittleEndian<quint32>(8, expected.data() + kAt + 12);
        EXPECT_EQ(region.bytes(), expected);
    }
}

TEST(MenuRoundTrip, ABadOrderChangesNoFieldOfTheEntry) {
    for (const char* order : {"abc", "", "256", "-1", "33", "2,5"}) {
        const MenuEntry loaded{0, 0, 3, 0xFFFFFFFFu};
        MenuEntry edited = loaded;
        const Status s = looks::setMenuOrder(edited, QString::fromLatin1(order), QStringLiteral("order"));
        EXPECT_FALSE(s) << order;
        EXPECT_EQ(edited, loaded) << order;
    }
    MenuEntry edited{0, 0, 3, 0xFFFFFFFFu};
    ASSERT_TRUE(looks::setMenuOrder(edited, u"32", QStringLiteral("order")));
    EXPECT_EQ(edited.icon, 32);
}

TEST(MenuRoundTrip, AnEntryPastTheEndIsRefused) {
    const ModuleImage image(QByteArray(40, '\0'));
    EXPECT_FALSE(readMenuEntry(image, 30));
    ModuleImage target(QByteArray(40, '\0'));
    EXPECT_FALSE(writeMenuEntry(target, 30, MenuEntry{1, 0, 3, 0xFFFFFFFFu}));
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
        EXPECT_EQ(menuFormat(vshRow(c.version)), c.format) << c.version;
        EXPECT_EQ(menuEntryCount(vshRow(c.version)), c.entries) << c.version;
    }
    EXPECT_EQ(menuIconCount(MenuFormat::Classic), 32);
    EXPECT_EQ(menuIconCount(MenuFormat::Slim), 33);
    EXPECT_EQ(looks::iconNames(MenuFormat::Classic).size(), 32);
    EXPECT_EQ(looks::iconNames(MenuFormat::Slim).size(), 33);
    EXPECT_EQ(menuCategories(MenuFormat::Classic).size(), 6u);
    EXPECT_EQ(menuCategories(MenuFormat::Slim).size(), 7u);
    EXPECT_EQ(menuStates(MenuFormat::Classic).size(), 2u);
    EXPECT_EQ(menuStates(MenuFormat::Slim).size(), 4u);
}

} // namespace
