#include "prx/module.h"
#include "prx/numbers.h"
#include "prx/vsh.h"
#include "qt_printers.h"
#include "support/fixtures.h"
#include "support/known_offsets.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qm;
using namespace qm::prx;
using qm::test::byteRange;
using qm::test::changedOffsets;
using qm::test::makeVsh;
namespace known = qm::test::known;

namespace {

const QLocale kC = QLocale::c();

class VshRelease : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(VshRelease, LoadShowsEveryValueOfTheRelease) {
    const int v = GetParam();
    const auto f = makeVsh(v);
    auto loaded = loadVsh(ModuleImage(f.bytes), v, kC);
    ASSERT_TRUE(loaded) << loaded.error().fullText().toStdString();
    for (int box = 0; box < kVshNumberBoxCount; ++box)
        EXPECT_EQ(loaded->numbers[box], f.expected.numbers[box]) << "box " << box;
    EXPECT_EQ(loaded->texts, f.expected.texts);
    EXPECT_EQ(loaded->textColors, f.expected.textColors);
    EXPECT_EQ(loaded->contextColors, f.expected.contextColors);
    EXPECT_EQ(loaded->textColorsSlim, f.expected.textColorsSlim);
    EXPECT_EQ(loaded->contextColorsSlim, f.expected.contextColorsSlim);
    ASSERT_EQ(loaded->menu.size(), f.expected.menu.size());
    for (qsizetype k = 0; k < loaded->menu.size(); ++k) {
        const MenuRow& a = loaded->menu[k];
        const MenuRow& b = f.expected.menu[k];
        EXPECT_EQ(a, b) << "row " << k << ": " << a.order.toStdString() << "|" << a.category.toStdString()
                        << "|" << a.icon.toStdString() << "|" << a.region.toStdString() << "|"
                        << a.enabled.toStdString();
    }
}

TEST_P(VshRelease, SaveWithoutEditsKeepsEveryByte) {
    const int v = GetParam();
    const auto f = makeVsh(v);
    auto loaded = loadVsh(ModuleImage(f.bytes), v, kC);
    ASSERT_TRUE(loaded);
    auto saved = applyVsh(ModuleImage(f.bytes), v, *loaded, *loaded, kC);
    ASSERT_TRUE(saved) << saved.error().fullText().toStdString();
    EXPECT_TRUE(saved->bytes() == f.bytes);
}

TEST_P(VshRelease, EditsChangeExactlyTheEditedBytes) {
    const int v = GetParam();
    const auto f = makeVsh(v, 3);
    auto loaded = loadVsh(ModuleImage(f.bytes), v, kC);
    ASSERT_TRUE(loaded);
    VshValues edited = *loaded;
    std::set<qint64> expect;
    const auto add = [&](qint64 off, qint64 len) {
        const auto s = byteRange(off, len);
        expect.insert(s.begin(), s.end());
    };

    edited.numbers[0] = QStringLiteral("123,5"); // XmbX, comma accepted
    add(known::vshOffset(v, VshMember::XmbX), 4);
    edited.textColors[2] = 0x0080FF;
    add(known::vshOffset(v, VshMember::TextColors) + 24, 12);
    edited.texts[1] = QStringLiteral("new icon"); // blank dropped
    add(known::vshOffset(v, VshMember::MSIconMusic),
        std::max<qint64>(7, f.expected.texts[1].size())); // tail zeroed
    edited.numbers[16] = QStringLiteral("-2");
    add(known::vshOffset(v, VshMember::BusyIconSpeed), 4);
    if (v >= 7) {
        edited.numbers[15] = QStringLiteral("32767");
        add(known::vshOffset(v, VshMember::BmpSize), 2);
    }
    if (v >= 11) {
        edited.contextColorsSlim[14] = 0x102030;
        add(known::vshOffset(v, VshMember::ContextColorsSlim) + 14 * 12, 12);
    }
    if (v >= 12) {
        edited.numbers[14] = QStringLiteral("40"); // network follows: 41
        add(known::vshOffset(v, VshMember::MainIconYUnfocused), 4);
        add(known::vshOffset(v, VshMember::NetworkIconYUnfocused), 4);
    }
    if (menuFormat(v)) {
        edited.menu[0].category = QStringLiteral("Photo"); // loaded as Settings
        add(known::vshOffset(v, VshMember::MenuEntries) + 0, 1);
    }

    auto saved = applyVsh(ModuleImage(f.bytes), v, *loaded, edited, kC);
    ASSERT_TRUE(saved) << saved.error().fullText().toStdString();
    const auto diff = changedOffsets(f.bytes, saved->bytes());
    // Every differing byte was edited; an edited byte may keep its value.
    for (qint64 off : diff)
        EXPECT_TRUE(expect.count(off)) << "unexpected change at 0x" << std::hex << off;

    auto reloaded = loadVsh(*saved, v, kC);
    ASSERT_TRUE(reloaded);
    EXPECT_EQ(reloaded->numbers[0], QStringLiteral("123.5"));
    EXPECT_EQ(reloaded->textColors[2], 0x0080FFu);
    EXPECT_EQ(reloaded->texts[1], QStringLiteral("newicon"));
    if (v >= 7) {
        EXPECT_EQ(reloaded->numbers[15], QStringLiteral("32767"));
    }
    if (v >= 12) {
        EXPECT_EQ(reloaded->numbers[14], QStringLiteral("40"));
        EXPECT_EQ(reloaded->numbers[12], QStringLiteral("41"));
    }
    if (menuFormat(v)) {
        EXPECT_EQ(reloaded->menu[0].category, QStringLiteral("Photo"));
    }
}

INSTANTIATE_TEST_SUITE_P(AllReleases, VshRelease, ::testing::Range(1, kVshRows + 1),
                         [](const auto& info) { return "v" + std::to_string(info.param); });
