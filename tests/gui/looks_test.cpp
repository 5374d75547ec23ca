// Looks in the windows: File > Export Look... writes what `dump --json`
// writes, File > Import Look... puts a look into the editor's controls as
// `apply` maps it, and only a save writes it.

#include "editor_helpers.h"
#include "guitest.h"
#include "scripteddialogs.h"
#include "shell_helpers.h"

#include "looks/look.h"
#include "paf/pafeditor.h"
#include "prx/catalogue.h"
#include "prx/config.h"
#include "prx/valueio.h"
#include "shell/configstore.h"
#include "shell/mainwindow.h"
#include "vsh/colorgrid.h"
#include "widgets/colorbox.h"

#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>

using namespace qm;
using namespace Qt::StringLiterals;
using namespace qm::test;
using prx::ModuleKind;

namespace {

QByteArray moduleBytes(ModuleKind kind, int version, quint32 seed) {
    return kind == ModuleKind::Vsh ? makeVsh(version, seed).bytes : makePaf(version, seed).bytes;
}

// The look `quillmark-cli dump --json` writes for a module file.
QByteArray dumpOf(const QString& path, ModuleKind kind, int version) {
    return looks::lookFile(*prx::readValuesFile(path, prx::ReleaseId{kind, version}), path);
}

struct Shell {
    DataFolder data;
    ScriptedDialogs dialogs;
    ui::MainWindow main;
    QString module;

    Shell(ModuleKind kind, int version, const QLocale& locale = kEnglish, quint32 seed = 1) {
        module = data.write(QStringLiteral("module.prx"), moduleBytes(kind, version, seed));
        QVERIFY(main.config().setValue(prx::kKeyCompPrx, QStringLiteral("0")));
        main.show();
        main.openFile(module);
        if (auto* vsh = qobject_cast<ui::VshEditor*>(editor())) {
            vsh->setLocale(locale);
            QVERIFY(windowOf(vsh)->loadFile(module, test::vshRow(version)));
        }
        if (auto* paf = qobject_cast<ui::PafEditor*>(editor())) {
            paf->setLocale(locale);
            QVERIFY(windowOf(paf)->loadFile(module, test::pafRow(version)));
        }
        dialogs.clear();
    }
    ui::EditorForm* editor() const { return editorsOf(main).value(0); }
    ui::VshEditor* vsh() const { return qobject_cast<ui::VshEditor*>(editor()); }
    QString exportLook(const QString& name) {
        const QString path = data.file(name);
        dialogs.files = {path};
        trigger(main, "actionExportLook");
        return path;
    }
    void importLook(const QString& path) {
        dialogs.files = {path};
        trigger(main, "actionImportLook");
    }
};

} // namespace

class LooksTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fileMenuOffersLooksAfterSaveAs() {
        DataFolder data;
        ScriptedDialogs dialogs;
        ui::MainWindow main;
        QMenu* file = main.menuBar()->findChild<QMenu*>(QStringLiteral("menuFile"));
        QStringList names;
        for (QAction* a : file->actions())
            names.append(a->objectName());
        QCOMPARE(names.mid(0, 7), latin1({"actionOpen", "actionSave", "actionSaveAs", "actionExportLook",
                                          "actionExportTheme", "actionImportLook", "fileSeparator"}));
        QCOMPARE(main.findChild<QAction*>(QStringLiteral("actionExportLook"))->text(),
                 QStringLiteral("&Export Look..."));
        trigger(main, "actionExportLook"); // no editor: nothing happens
        trigger(main, "actionImportLook");
        QVERIFY(dialogs.calls.isEmpty());
    }

    void exportWritesTheDump_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("locale");
        for (int v : {1, 7, 11, 12, 14})
            QTest::addRow("VSH %d", v) << int(ModuleKind::Vsh) << v << "en";
        QTest::addRow("VSH 13, French") << int(ModuleKind::Vsh) << 13 << "fr";
        QTest::addRow("PAF 1") << int(ModuleKind::Paf) << 1 << "en";
        QTest::addRow("PAF 9, French") << int(ModuleKind::Paf) << 9 << "fr";
    }

    // The exported look of an untouched editor is byte for byte what `dump --json` writes.
    void exportWritesTheDump() {
        QFETCH(int, kind);
        QFETCH(int, version);
        QFETCH(QString, locale);
        Shell s(static_cast<ModuleKind>(kind), version, localeNamed(locale));
        const QString look = s.exportLook(QStringLiteral("look.json"));
        QCOMPARE(s.dialogs.titles(), latin1({"Enter name of look file to save", "RAD Ededid"}));
        QCOMPARE(s.dialogs.calls[0].mode, ui::FileMode::Save);
        QCOMPARE(s.dialogs.calls[0].filterPattern, QStringLiteral("*.json"));
        QCOMPARE(s.dialogs.messages().last().text, QStringLiteral("Done."));
        QCOMPARE(readFile(look), dumpOf(s.module, static_cast<ModuleKind>(kind), version));
    }

    // Export, change the editor, import: the values come back, and the save leaves the module as it was.
    void exportThenImportRoundTrips() {
        Shell s(ModuleKind::Vsh, 12, kFrench);
        const QByteArray original = readFile(s.module);
        const prx::ModuleValues before = s.vsh()->values();
        const QString look = s.exportLook(QStringLiteral("look.json"));
        s.vsh()->box(prx::VshMember::XmbX)->setText(QStringLiteral("-99,5"));
        s.vsh()->box(prx::VshMember::MSIconGame)->setText(QStringLiteral("other"));
        prx::ColourBlock slim = s.vsh()->values().colours(prx::VshMember::ContextColorsSlim);
        slim[4] = prx::Colour::fromRgb(0x123456);
        s.vsh()->document().edit(int(prx::VshMember::ContextColorsSlim), slim,
                                 QStringLiteral("Item17 Infobar"));
        QCOMPARE(s.vsh()->colorGrid()->boxes(prx::VshMember::ContextColorsSlim).at(4)->color(),
                 prx::Rgb(0x123456));
        s.dialogs.clear();
        s.importLook(look);
        QCOMPARE(s.dialogs.titles(), latin1({"Select look file to import"}));
        // Every kind the import takes is offered, and any file at all.
        QCOMPARE(s.dialogs.calls[0].filterName,
                 QStringLiteral("Look Files (*.json);;CXMB Themes (*.ctf);;All files (*)"));
        QCOMPARE(s.vsh()->values(), before);
        // XmbX, MSIconGame and the fifth slim infobar colour came back.
        QCOMPARE(s.main.statusBar()->currentMessage(), QStringLiteral("3 values came in from look.json."));
        QCOMPARE(s.vsh()->box(prx::VshMember::XmbX)->text(),
                 expectedNumber(before, prx::VshMember::XmbX, kFrench));
        QCOMPARE(readFile(s.module), original); // an import saves nothing
        s.main.saveActive();
        QCOMPARE(readFile(s.module), original);
    }

    void importAcrossReleases_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("told"); // a part of the one information box
        QTest::addRow("VSH 3.5x look into 3.71")
            << int(ModuleKind::Vsh) << 11 << 12
            << "(NetworkIconYUnfocused): skipped, in VSHMain.prx - 3.71 it follows";
        QTest::addRow("VSH 3.71 look into 3.0x")
            << int(ModuleKind::Vsh) << 12 << 7 << "(MSOptionIconX): VSHMain.prx - 3.0x has no";
        QTest::addRow("VSH 3.8x look into 1.5x")
            << int(ModuleKind::Vsh) << 14 << 1 << "(MenuEntries): VSHMain.prx - 1.5x has no";
        QTest::addRow("PAF 3.8x look into 1.5x") << int(ModuleKind::Paf) << 12 << 1 << "has no";
    }

    // A look of another release arrives as `apply` would carry it; what the release lacks is listed once.
    void importAcrossReleases() {
        QFETCH(int, kind);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, told);
        const auto k = static_cast<ModuleKind>(kind);
        Shell s(k, to);
        const QString source = s.data.write(QStringLiteral("source.prx"), moduleBytes(k, from, 5));
        const QString look = s.data.write(QStringLiteral("look.json"), dumpOf(source, k, from));
        const QByteArray original = readFile(s.module);
        s.importLook(look);
        const QList<DialogCall> messages = s.dialogs.messages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].title, QStringLiteral("Import Look"));
        QCOMPARE(messages[0].icon, ui::MsgIcon::Information);
        QVERIFY2(messages[0].text.contains(told),
                 qPrintable(QString(messages[0].text).replace(u"\r\n"_s, u" / "_s)));
        QCOMPARE(readFile(s.module), original);

        // Saving writes what `apply` writes.
        const prx::ModuleValues target = *prx::readValuesFile(s.module, prx::ReleaseId{k, to});
        const looks::LookApplied applied =
            looks::applyLook(looks::readLook(readFile(look), k).values, target);
        QVERIFY(applied.refused.isEmpty());
        const QString expected = s.data.file(QStringLiteral("expected.prx"));
        const Status written = prx::saveValuesFile(s.module, expected, target, applied.values);
        QVERIFY(written);
        s.dialogs.clear();
        s.main.saveActive();
        QCOMPARE(s.dialogs.messages().last().text, QStringLiteral("Done."));
        QVERIFY(readFile(s.module) != original);
        QCOMPARE(readFile(s.module), readFile(expected));
    }

    void badLooksChangeNothing_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("message"); // a part of the message
        QTest::newRow("not JSON") << QByteArray("{\"values\": ") << "not a JSON document";
        QTest::newRow("an array") << QByteArray("[1, 2]") << "expected a JSON object";
        QTest::newRow("a PAF look") << QByteArray("{\"kind\": \"paf\", \"values\": {\"MainIconSpacing\": 1}}")
                                    << "holds the values of a PAF module";
        QTest::newRow("wrong type") << QByteArray("{\"values\": {\"XmbX\": [1], \"ClockX\": 3}}") << "XmbX";
        QTest::newRow("huge number") << QByteArray("{\"values\": {\"XmbX\": 1e300}}") << "XmbX";
        QTest::newRow("BMP too big") << QByteArray("{\"values\": {\"BmpSize\": 40000}}") << "BmpSize";
        QTest::newRow("bad colour") << QByteArray("{\"values\": {\"TextColors\": [\"#GG0000\"]}}")
                                    << "TextColors";
        QTest::newRow("missing file") << QByteArray() << "File not found";
    }

    // Bad JSON, the wrong module kind or a value no box can hold: one clear message, no control changed.
    void badLooksChangeNothing() {
        QFETCH(QByteArray, json);
        QFETCH(QString, message);
        Shell s(ModuleKind::Vsh, 12);
        const prx::ModuleValues before = s.vsh()->values();
        const QString look = json.isEmpty() ? s.data.file(QStringLiteral("gone.json"))
                                            : s.data.write(QStringLiteral("look.json"), json);
        s.importLook(look);
        QCOMPARE(s.dialogs.messages().size(), 1);
        const DialogCall m = s.dialogs.messages().first();
        QCOMPARE(m.icon, ui::MsgIcon::Critical);
        QVERIFY2(m.text.contains(message), qPrintable(m.text));
        QCOMPARE(s.vsh()->values(), before);
    }

    // A box that holds no number can't be exported; no file is written.
    void exportRefusesABoxWithoutANumber() {
        Shell s(ModuleKind::Vsh, 14);
        s.vsh()->box(prx::VshMember::ClockX)->setText(QStringLiteral("-"));
        const QString look = s.exportLook(QStringLiteral("look.json"));
        QCOMPARE(s.dialogs.messages().size(), 1);
        QVERIFY(s.dialogs.messages()[0].text.contains(QStringLiteral("ClockX")));
        QVERIFY(!QFileInfo::exists(look));
    }
};

QM_GUI_TEST(LooksTest);

#include "looks_test.moc"
