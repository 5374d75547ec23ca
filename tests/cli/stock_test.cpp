// The stock module beside an edited one (NAME.orig) is the module as it was
// before any of Quillmark's edits, whatever name the edits went under: a
// Save As carries it along, and `theme` takes it by default.

#include "cli_harness.h"
#include "document/moduledocument.h"
#include "support/known_offsets.h"

#include <QFile>

using namespace qm;
using namespace qm::test;

namespace {

const prx::ReleaseId kVsh371{prx::ModuleKind::Vsh, 12};
constexpr int kXmbX = static_cast<int>(prx::VshMember::XmbX);
constexpr int kClockX = static_cast<int>(prx::VshMember::ClockX);

class Stock : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        m_stock = withElfHead(makeVsh(12, 1).bytes);
        writeFile(path(QStringLiteral("vshmain.prx")), m_stock);
        writeFile(path(QStringLiteral("base.ptf")), makePtf("Blue", 0x2000, 0x3000));
    }
    QString orig(const QString& name) const { return path(name + QStringLiteral(".orig")); }
    // The values line of `theme` for `edited`, its stock by default.
    CliRun theme(const QString& edited) const {
        return run({QStringLiteral("theme"), path(QStringLiteral("out.ctf")), QStringLiteral("--ptf"),
                    path(QStringLiteral("base.ptf")), QStringLiteral("--vsh"), edited});
    }
    QByteArray m_stock;
};

TEST_F(Stock, SaveAsCarriesTheStockAlongAndThemeTakesIt) {
    const QString copy = path(QStringLiteral("copy-a.prx"));
    // A file of that name with a stock of its own: Save As replaces both.
    writeFile(copy, makeVsh(12, 5).bytes);
    writeFile(orig(QStringLiteral("copy-a.prx")), QByteArray(10, 'x'));

    doc::ModuleDocument document;
    ASSERT_TRUE(document.open(path(QStringLiteral("vshmain.prx")), kVsh371));
    document.setValue(kXmbX, prx::Single::fromFloat(99.5f));
    ASSERT_TRUE(document.saveAs(copy, true));
    EXPECT_EQ(readFile(orig(QStringLiteral("copy-a.prx"))), m_stock);
    EXPECT_FALSE(QFile::exists(orig(QStringLiteral("vshmain.prx")))); // the opened file was not written

    document.setValue(kClockX, prx::Single::fromFloat(12.25f));
    ASSERT_TRUE(document.save(copy, true));
    EXPECT_EQ(readFile(orig(QStringLiteral("copy-a.prx"))), m_stock); // not the copy as Save As wrote it
    EXPECT_EQ(singleAt(readFile(copy), known::vshOffset(12, "XmbX")), 99.5f);

    // The theme holds both edits, the one before Save As too.
    const CliRun made = theme(copy);
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const QString values = made.outText().section(QStringLiteral("    values: "), 1).section(u'\n', 0, 0);
    EXPECT_EQ(values.split(QStringLiteral(", ")),
              (QStringList{QStringLiteral("XmbX"), QStringLiteral("ClockX")}))
        << made.out.toStdString();
}

TEST_F(Stock, AFileWithAnOrigPassesTheOrigOnNotItsEditedBytes) {
    // vshmain.prx was saved by Quillmark before: the .orig holds the stock.
    const QString edited = path(QStringLiteral("vshmain.prx"));
    QByteArray once = m_stock;
    putSingle(once, known::vshOffset(12, "ClockY"), 7.0f);
    writeFile(edited, once);
    writeFile(orig(QStringLiteral("vshmain.prx")), m_stock);

    doc::ModuleDocument document;
    ASSERT_TRUE(document.open(edited, kVsh371));
    document.setValue(kXmbX, prx::Single::fromFloat(3.5f));
    for (const char* name : {"b.prx", "c.prx"}) { // and again from the copy
        const QString dest = path(QLatin1StringView(name));
        ASSERT_TRUE(document.saveAs(dest, true)) << name;
        EXPECT_EQ(readFile(orig(QLatin1StringView(name))), m_stock) << name;
    }
    EXPECT_EQ(readFile(orig(QStringLiteral("vshmain.prx"))), m_stock);
    const CliRun made = theme(path(QStringLiteral("c.prx")));
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    EXPECT_TRUE(made.outText().contains(QStringLiteral("    values: XmbX, ClockY\n")) ||
                made.outText().contains(QStringLiteral("    values: ClockY, XmbX\n")))
        << made.out.toStdString();
}

TEST_F(Stock, WithoutKeepingNoneIsWrittenAndThemeAsksForTheStock) {
    const QString copy = path(QStringLiteral("copy.prx"));
    doc::ModuleDocument document;
    ASSERT_TRUE(document.open(path(QStringLiteral("vshmain.prx")), kVsh371));
    document.setValue(kXmbX, prx::Single::fromFloat(99.5f));
    ASSERT_TRUE(document.saveAs(copy, false));
    EXPECT_FALSE(QFile::exists(orig(QStringLiteral("copy.prx"))));

    // Kept later, the .orig of the copy is still the stock, not the copy.
    document.setValue(kClockX, prx::Single::fromFloat(1.0f));
    const CliRun asked = theme(copy);
    EXPECT_EQ(asked.exitCode, 2);
    EXPECT_TRUE(asked.errText().startsWith(
        QStringLiteral("quillmark-cli: no stock module for %1: %1.orig doesn't exist; name the stock module "
                       "with --vsh-stock STOCK")
            .arg(copy)))
        << asked.err.toStdString();
    ASSERT_TRUE(document.save(copy, true));
    EXPECT_EQ(readFile(orig(QStringLiteral("copy.prx"))), m_stock);
}

TEST_F(Stock, AnInPlaceSaveNeverReplacesAnOrig) {
    const QString module = path(QStringLiteral("vshmain.prx"));
    writeFile(orig(QStringLiteral("vshmain.prx")), QByteArray(10, 'x'));
    doc::ModuleDocument document;
    ASSERT_TRUE(document.open(module, kVsh371));
    document.setValue(kXmbX, prx::Single::fromFloat(99.5f));
    ASSERT_TRUE(document.save(module, true));
    EXPECT_EQ(readFile(orig(QStringLiteral("vshmain.prx"))), QByteArray(10, 'x'));
}

} // namespace
