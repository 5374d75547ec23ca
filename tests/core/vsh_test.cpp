#include "looks/menunames.h"
#include "prx/menu.h"
#include "prx/module.h"
#include "prx/valueio.h"
#include "qt_printers.h"
#include "support/fixtures.h"
#include "support/known_offsets.h"
#include "text/errortext.h"

#include <gtest/gtest.h>

using namespace qm;
using namespace qm::prx;
using qm::test::byteRange;
using qm::test::changedOffsets;
using qm::test::makeVsh;
using qm::test::vshRow;

namespace {

class VshRelease : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(VshRelease, EditsChangeExactlyTheEditedBytes) {
    const int v = GetParam();
    const auto f = makeVsh(v, 3);
    auto loaded = loadValues(ModuleImage(f.bytes), ReleaseId{ModuleKind::Vsh, v});
    ASSERT_TRUE(loaded);
    ModuleValues edited = *loaded;
    std::set<qint64> expect;
    const auto add = [&](qint64 off, qint64 len) {
        const auto s = byteRange(off, len);
        expect.insert(s.begin(), s.end());
    };
    const auto setColour = [&](VshMember m, int i, Rgb rgb) {
        ColourBlock block = edited.colours(m);
        block[i] = Colour::fromRgb(rgb);
        edited.setValue(m, block);
        add(test::known::vshOffset(v, m) + 12 * i, 12);
    };

    edited.setValue(VshMember::XmbX, Single::fromFloat(123.5f));
    add(test::known::vshOffset(v, VshMember::XmbX), 4);
    setColour(VshMember::TextColors, 2, 0x0080FF);
    edited.setValue(VshMember::MSIconMusic, QStringLiteral("new icon")); // blank dropped
    add(test::known::vshOffset(v, VshMember::MSIconMusic),
        std::max<qint64>(7, f.expected.text(VshMember::MSIconMusic).size())); // tail zeroed
    edited.setValue(VshMember::BusyIconSpeed, Single::fromFloat(-2.0f));
    add(test::known::vshOffset(v, VshMember::BusyIconSpeed), 4);
    if (v >= 7) {
        edited.setValue(VshMember::BmpSize, qint16(32767));
        add(test::known::vshOffset(v, VshMember::BmpSize), 2);
    }
    if (v >= 11)
        setColour(VshMember::ContextColorsSlim, 14, 0x102030);
    if (v >= 12) {
        edited.setValue(VshMember::MainIconYUnfocused, Single::fromFloat(40.0f)); // network follows: 41
        add(test::known::vshOffset(v, VshMember::MainIconYUnfocused), 4);
        add(test::known::vshOffset(v, VshMember::NetworkIconYUnfocused), 4);
    }
    if (menuFormat(vshRow(v))) {
        MenuEntries menu = edited.menu();
        ASSERT_EQ(categoryOf(menu[0].category, vshRow(v)), MenuCategory::Settings);
        setCategory(menu[0], MenuCategory::Photo, vshRow(v));
        edited.setValue(VshMember::MenuEntries, menu);
        add(test::known::vshOffset(v, VshMember::MenuEntries) + 0, 1);
    }

    auto saved = applyValues(ModuleImage(f.bytes), *loaded, edited);
    ASSERT_TRUE(saved) << text::fullText(saved.error()).toStdString();
    const auto diff = changedOffsets(f.bytes, saved->bytes());
    // Every differing byte was edited; an edited byte may keep its value.
    for (qint64 off : diff)
        EXPECT_TRUE(expect.count(off)) << "unexpected change at 0x" << std::hex << off;

    auto reloaded = loadValues(*saved, ReleaseId{ModuleKind::Vsh, v});
    ASSERT_TRUE(reloaded);
    EXPECT_EQ(reloaded->single(VshMember::XmbX).toFloat(), 123.5f);
    EXPECT_EQ(reloaded->colours(VshMember::TextColors)[2].rgb(), 0x0080FFu);
    EXPECT_EQ(reloaded->text(VshMember::MSIconMusic), QStringLiteral("newicon"));
    if (v >= 7) {
        EXPECT_EQ(reloaded->integer(VshMember::BmpSize), 32767);
    }
    if (v >= 12) {
        EXPECT_EQ(reloaded->single(VshMember::MainIconYUnfocused).toFloat(), 40.0f);
        EXPECT_EQ(reloaded->single(VshMember::NetworkIconYUnfocused).toFloat(), 41.0f);
    }
    if (menuFormat(vshRow(v))) {
        EXPECT_EQ(looks::menuTexts(reloaded->menu()[0], vshRow(v)).category, QStringLiteral("Photo"));
    }
}

INSTANTIATE_TEST_SUITE_P(AllReleases, VshRelease, ::testing::Range(1, kVshRows + 1),
                         [](const auto& info) { return "v" + std::to_string(info.param); });
