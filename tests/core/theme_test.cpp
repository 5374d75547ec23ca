// Themes made and read in memory, as a window would: an editor's module
// bytes go in, and Import Look gets back the values a theme's runs touch.

#include "prx/valueio.h"
#include "qt_printers.h"
#include "support/fixtures.h"
#include "support/known_offsets.h"
#include "text/errortext.h"
#include "theme/make.h"
#include "theme/onmodule.h"

#include <gtest/gtest.h>

using namespace qm;
using prx::VshMember;

TEST(ThemeInMemory, ImportTakesTheTouchedValuesAndListsTheRest) {
    // VSH 3.71: ClockX and one byte outside every value edited.
    const qint64 clockX = test::known::vshOffset(12, "ClockX");
    const QByteArray stock = test::withElfHead(test::makeVsh(12, 1).bytes);
    QByteArray edited = stock;
    test::putSingle(edited, clockX, 321.5f);
    edited[0x1000] = static_cast<char>(~edited.at(0x1000));
    theme::ThemeRequest request{test::makePtf("Mem", 0x200, 0x200), {}, {}, {}};
    request.modules.append(
        {theme::Slot::Vsh, stock, edited, QStringLiteral("stock"), QStringLiteral("edited")});
    auto made = theme::makeTheme(request);
    ASSERT_TRUE(made.ok()) << text::fullText(made.error()).toStdString();
    EXPECT_EQ(made->firmware, QStringLiteral("3.71"));
    ASSERT_EQ(made->modules.size(), 1);
    EXPECT_EQ(made->modules[0].values, QStringList{QStringLiteral("ClockX")});
    EXPECT_EQ(made->modules[0].bytesOutsideValues, 1);

    auto read = theme::loadTheme(made->bytes);
    ASSERT_TRUE(read.ok()) << text::fullText(read.error()).toStdString();
    // The editor holds a module of the release with other values.
    const test::VshFixture editor = test::makeVsh(12, 7);
    const QByteArray held = test::withElfHead(editor.bytes);
    auto on = theme::themeOnModule(*read, held, theme::Slot::Vsh, test::vshRow(12));
    ASSERT_TRUE(on.ok()) << text::fullText(on.error()).toStdString();
    ASSERT_EQ(on->values.size(), 1);
    EXPECT_EQ(on->values[0].member, static_cast<int>(VshMember::ClockX));
    EXPECT_EQ(on->values[0].offset, clockX);
    ASSERT_EQ(on->outside.size(), 1);
    EXPECT_EQ(on->outside[0].range.begin, 0x1000);

    auto values = prx::loadValues(prx::ModuleImage(on->module), prx::ReleaseId{prx::ModuleKind::Vsh, 12});
    ASSERT_TRUE(values.ok());
    prx::ModuleValues expected = editor.expected;
    expected.setValue(VshMember::ClockX, prx::Single::fromFloat(321.5f));
    EXPECT_EQ(*values, expected);

    // A module of VSH 3.8x doesn't pair with a 3.71 theme.
    EXPECT_FALSE(theme::themeOnModule(*read, test::withElfHead(test::makeVsh(14).bytes), theme::Slot::Vsh,
                                      test::vshRow(14))
                     .ok());
}
