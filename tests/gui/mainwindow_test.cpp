#include "guitest.h"
#include "paf/pafeditor.h"
#include "prx/config.h"
#include "prx/header.h"
#include "scripteddialogs.h"
#include "shell/aboutdialog.h"
#include "shell/configstore.h"
#include "shell/editorwindow.h"
#include "shell/fadein.h"
#include "shell/mainwindow.h"
#include "shell/settingsdialog.h"
#include "shell/statuswatch.h"
#include "shell/windowsettings.h"
#include "shell_helpers.h"
#include "support/bytes.h"
#include "support/fixtures.h"
#include "support/known_offsets.h"
#include "vsh/vsheditor.h"
#include "widgets/balloontip.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

using namespace qm;
using namespace qm::test;
using ui::MsgAnswer;
using ui::MsgButtons;
using ui::MsgIcon;

namespace {

// A gzip stream's first bytes: what tells a gzip-packed module from an encrypted one.
const QByteArray kGzipMagic("\x1F\x8B\x08", 3);

// Whether every byte that differs lies inside the 4-byte value of one box.
bool onlyBoxChanged(const QByteArray& before, const QByteArray& after, int version, int box) {
    const qint64 at = pafBoxOffset(version, box);
    const QList<qint64> diff = differingOffsets(before, after);
    if (diff.isEmpty())
        return false;
    for (qint64 off : diff)
        if (off < at || off >= at + 4)
            return false;
    return true;
}

ui::PafEditor* pafEditor(ui::MainWindow& main, int index = 0) {
    const QList<ui::EditorForm*> editors = editorsOf(main);
    return index < editors.size() ? qobject_cast<ui::PafEditor*>(editors.at(index)) : nullptr;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startupCreatesWorkingFolderAndDefaultConfiguration() {
        DataFolder data;
        ScriptedDialogs dialogs;
        QVERIFY(!QDir(data.path()).exists());
        ui::MainWindow main;
        QVERIFY(QDir(data.path()).exists());
        QCOMPARE(readFile(data.path() + QStringLiteral("Quillmark.ini")), prx::defaultIniContent());
        QCOMPARE(main.windowTitle(), QStringLiteral("Quillmark v0.4"));
        QCOMPARE(dialogs.calls.size(), 0);
    }

    void startupLeavesAnExistingConfigurationAlone() {
        DataFolder data;
        ScriptedDialogs dialogs;
        const QByteArray mine = "[CONFIG]\r\nCheckPRX=0\r\nCompPRX=7\r\nOther=x\r\n";
        writeFile(data.path() + QStringLiteral("Quillmark.ini"), mine);
        ui::MainWindow main;
        QCOMPARE(readFile(data.path() + QStringLiteral("Quillmark.ini")), mine);
    }

    void fadeInRunsSeventeenStepsThenStops() {
        DataFolder data;
        ScriptedDialogs dialogs;
        ui::MainWindow main;
        ui::FadeIn& fade = *main.findChild<ui::FadeIn*>();
        fade.timer()->stop();
        QList<int> alphas;
        for (int tick = 0; tick < 17; ++tick) {
            fade.step();
            alphas.append(fade.alpha());
            QCOMPARE(alphas.last(), 15 * (tick + 1));
        }
        QCOMPARE(alphas.first(), 15);
        QCOMPARE(alphas.last(), 255);
        fade.timer()->start();
        fade.step(); // 270: the timer stops for good
        QVERIFY(!fade.timer()->isActive());
        QCOMPARE(fade.alpha(), 270);
    }

    void sameFileTwiceOpensTwoEditors() {
        DataFolder data;
        ScriptedDialogs dialogs;
        const QString path = data.write(QStringLiteral("paf.prx"), makePaf(5).bytes);
        ui::MainWindow main;
        main.openFile(path);
        main.openFile(path);
        QCOMPARE(editorsOf(main).size(), 2);
    }

    void rejectsFilesOfNoKnownKind_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addRow("one byte longer than a release") << QByteArray(201705, 'x');
        QTest::addRow("empty") << QByteArray();
        QTest::addRow("header with a wrong packed size")
            << makePacked(QByteArray(100, 'z'), 1569342, "paf", 0xAA, 999);
        QByteArray shifted = makePacked(QByteArray(100, 'z'), 1569342);
        shifted[4] = 0x08; // "~PSP" followed by a non-zero byte is no signature
        QTest::addRow("signature not ended by zero") << shifted;
    }
    void rejectsFilesOfNoKnownKind() {
        QFETCH(QByteArray, bytes);
        DataFolder data;
        ScriptedDialogs dialogs;
        const QString path = data.write(QStringLiteral("odd.prx"), bytes);
        ui::MainWindow main;
        main.openFile(path);
        QCOMPARE(dialogs.calls.size(), 1);
        QCOMPARE(dialogs.calls[0].title, QStringLiteral("RAD Ededid"));
        QCOMPARE(dialogs.calls[0].text, QStringLiteral("Invalid file!"));
        QCOMPARE(dialogs.calls[0].detail,
                 QStringLiteral("odd.prx: %1 bytes, no module of a known release").arg(bytes.size()));
        QCOMPARE(dialogs.calls[0].icon, MsgIcon::Critical);
        QCOMPARE(editorsOf(main).size(), 0);
    }

    // Every release of both kinds opens in its editor, named by a relative
    // path as from a command line: the status bar and the recent files give
    // the absolute path.
    void opensPlainModuleOfEveryRelease_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("version");
        for (const ModuleRelease& r : everyRelease())
            QTest::addRow("%s", releaseName(r).c_str()) << int(r.kind) << r.version;
    }
    void opensPlainModuleOfEveryRelease() {
        QFETCH(int, kind);
        QFETCH(int, version);
        const bool vsh = kind == int(prx::ModuleKind::Vsh);
        const QString name = vsh ? QStringLiteral("vshmain.prx") : QStringLiteral("paf.prx");
        DataFolder data;
        ScriptedDialogs dialogs;
        const QString path = data.write(name, makeModule({prx::ModuleKind(kind), version}).bytes);
        ui::MainWindow main;
        main.show();
        const QString before = QDir::currentPath();
        QDir::setCurrent(QFileInfo(path).absolutePath());
        main.openFile(name);
        QDir::setCurrent(before);
        QCOMPARE(dialogs.calls.size(), 0);
        QCOMPARE(editorsOf(main).size(), 1);
        QCOMPARE(editorsOf(main)[0]->release().row, version);
        QCOMPARE(qobject_cast<ui::VshEditor*>(editorsOf(main)[0]) != nullptr, vsh);
        // The caption and the file's name; no edit yet, so no mark.
        QCOMPARE(main.workspace()->activeSubWindow()->windowTitle(),
                 (vsh ? QStringLiteral("VSHMain.rad Ededid - ") : QStringLiteral("Paf.rad Ededid - ")) +
                     name + QStringLiteral("[*]"));
        QVERIFY(!main.workspace()->activeSubWindow()->isWindowModified());
        // A screen reader hears the mark whenever the title shows it.
        QAccessibleInterface* named =
            QAccessible::queryAccessibleInterface(main.workspace()->activeSubWindow());
        const QString title = main.workspace()->activeSubWindow()->windowTitle().chopped(3);
        QCOMPARE(named->text(QAccessible::Name), title);
        editorsOf(main)[0]->document().undoStack()->push(new QUndoCommand(QStringLiteral("an edit")));
        QCOMPARE(named->text(QAccessible::Name), title + u'*');
        editorsOf(main)[0]->document().undoStack()->undo();
        QCOMPARE(named->text(QAccessible::Name), title);
        main.status().refresh();
        QCOMPARE(main.status().panelText(1), QStringLiteral("PRX Version :"));
        QCOMPARE(main.status().panelText(2), QString::fromLatin1(vsh ? known::vshRelease(version).label
                                                                     : known::pafRelease(version).label) +
                                                 u' ');
        QCOMPARE(main.status().panelText(3), QStringLiteral("File :"));
        QCOMPARE(main.status().panelText(4), QDir::toNativeSeparators(path) + u' ');
        QCOMPARE(ui::recentFiles(), QStringList{path});
    }

    // A module that can't be read is reported and leaves no editor behind.
    void unreadableVshLeavesNoEditor() {
        DataFolder data;
        ScriptedDialogs dialogs;
        QByteArray bytes = makeVsh(12).bytes;
        const qint64 text = known::vshOffset(12, prx::VshMember::UpdatePath1);
        bytes.replace(text, 255, QByteArray(255, 'z')); // no terminator
        const QString path = data.write(QStringLiteral("vshmain.prx"), bytes);
        ui::MainWindow main;
        main.openFile(path);
        QCOMPARE(dialogs.calls.size(), 1);
        QVERIFY(dialogs.calls[0].text.startsWith(QStringLiteral("Error 5 occurred!")));
        QCOMPARE(dialogs.calls[0].icon, MsgIcon::Critical);
        QTRY_COMPARE(editorsOf(main).size(), 0);
    }

    void describesPackedModuleLineByLine_data() {
        QTest::addColumn<qint32>("plainSize");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("shownName");
        QTest::addRow("3.71 vsh") << qint32(311434) << QByteArray("vsh_module")
                                  << QStringLiteral("VSHMain.prx - 3.71") << QStringLiteral("vsh_module");
        QTest::addRow("paf 3.30") << qint32(2256412) << QByteArray("paf")
                                  << QStringLiteral("Paf.prx - 3.30 / 3.40") << QStringLiteral("paf");
        QTest::addRow("unknown size")
            << qint32(123) << QByteArray(" blank") << QStringLiteral("Unknow") << QStringLiteral("Unknow");
    }
    void describesPackedModuleLineByLine() {
        QFETCH(qint32, plainSize);
        QFETCH(QByteArray, name);
        QFETCH(QString, label);
        QFETCH(QString, shownName);
        DataFolder data;
        ScriptedDialogs dialogs;
        const QByteArray packed = makePacked(kGzipMagic + QByteArray(64, 'g'), plainSize, name);
        const QString path = data.write(QStringLiteral("packed.prx"), packed);
        ui::MainWindow main;
        dialogs.answers = {MsgAnswer::No};
        main.openFile(path);
        QCOMPARE(dialogs.calls.size(), 1);
        const DialogCall& c = dialogs.calls[0];
        QCOMPARE(c.title, QStringLiteral("PRX Information"));
        QCOMPARE(c.icon, MsgIcon::Question);
        QCOMPARE(c.buttons, MsgButtons::YesNo);
        const QStringList lines = c.text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines[0], QStringLiteral("PRX Name : ") + shownName);
        QCOMPARE(lines[1], QStringLiteral("File Version : ") + label);
        QCOMPARE(lines[2], QStringLiteral("Uncompressed Size : %1 bytes").arg(plainSize));
        QCOMPARE(lines[3], QStringLiteral("Compressed/File Size : %1 bytes").arg(packed.size()));
        QCOMPARE(lines[4], QString());
        QCOMPARE(lines[5], QStringLiteral("Try to decompress this PRX ?"));
    }

    // The firmware's encrypted modules (and those behind a "~SCE" header) are
    // described in the same box, which offers nothing it can't do.
    void encryptedModuleIsDescribedNotOffered_data() {
        QTest::addColumn<QByteArray>("prefix");
        QTest::addRow("~PSP") << QByteArray();
        QTest::addRow("~SCE, then ~PSP") << test::sceHeader();
    }
    void encryptedModuleIsDescribedNotOffered() {
        QFETCH(QByteArray, prefix);
        DataFolder data;
        ScriptedDialogs dialogs;
        const QByteArray packed = makePacked(noise(5000, 8).replace(0, 1, "\x05"), 311434, "vsh_module");
        const QString path = data.write(QStringLiteral("encrypted.prx"), prefix + packed);
        ui::MainWindow main;
        main.openFile(path);
        QCOMPARE(dialogs.calls.size(), 1);
        QCOMPARE(dialogs.unscripted, 0);
        const DialogCall& c = dialogs.calls[0];
        QCOMPARE(c.title, QStringLiteral("PRX Information"));
        QCOMPARE(c.icon, MsgIcon::Information);
        QCOMPARE(c.buttons, MsgButtons::Ok);
        QCOMPARE(c.text.split(QStringLiteral("\r\n")),
                 QStringList({QStringLiteral("PRX Name : vsh_module"),
                              QStringLiteral("File Version : VSHMain.prx - 3.71"),
                              QStringLiteral("Uncompressed Size : 311434 bytes"),
                              QStringLiteral("Compressed/File Size : %1 bytes").arg(packed.size()), QString(),
                              QStringLiteral("This PRX is encrypted and can't be decompressed here.")}));
        QCOMPARE(editorsOf(main).size(), 0);
        QCOMPARE(readFile(path), prefix + packed);
    }

    void cancellingTheUnpackTargetEndsQuietly() {
        DataFolder data;
        ScriptedDialogs dialogs;
        const QString path = data.write(QStringLiteral("packed.prx"), packedModule(makePaf(1).bytes));
        ui::MainWindow main;
        dialogs.answers = {MsgAnswer::Yes};
        main.openFile(path);
        QCOMPARE(dialogs.titles(),
                 QStringList({QStringLiteral("PRX Information"),
                              QStringLiteral("Enter name of decompress *.prx file to save")}));
        QCOMPARE(dialogs.calls[1].mode, ui::FileMode::Save);
        QCOMPARE(editorsOf(main).size(), 0);
    }

    // A module behind a "~SCE" header is offered and unpacked as the module it holds.
    void unpacksThenOpensTheUnpackedModule_data() {
        QTest::addColumn<QByteArray>("prefix");
        QTest::addRow("~PSP") << QByteArray();
        QTest::addRow("~SCE, then ~PSP") << test::sceHeader();
    }
    void unpacksThenOpensTheUnpackedModule() {
        QFETCH(QByteArray, prefix);
        DataFolder data;
        ScriptedDialogs dialogs;
        const QByteArray module = makePaf(11).bytes;
        const QString packed = data.write(QStringLiteral("packed.prx"), prefix + packedModule(module));
        const QString target = data.file(QStringLiteral("out dir/unpacked paf.prx"));
        QDir().mkpath(data.file(QStringLiteral("out dir")));
        ui::MainWindow main;
        main.show();
        dialogs.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
        dialogs.files = {target};
        ProgressDriver driver;
        main.openFile(packed);
        QCOMPARE(driver.okClicks, 1);
        QCOMPARE(readFile(target), module);
        QCOMPARE(dialogs.titles().last(), QStringLiteral("Open PRX ?"));
        QCOMPARE(dialogs.messages().last().text,
                 QStringLiteral("Yes -> Open the decompress PRX\r\nNo -> Open another PRX"));
        QCOMPARE(editorsOf(main).size(), 1);
        QCOMPARE(editorsOf(main)[0]->filePath(), target);
        QCOMPARE(editorsOf(main)[0]->release().row, 11);
    }

    void failedUnpackOffersNothingToOpen() {
        DataFolder data;
        ScriptedDialogs dialogs;
        const QString packed =
            data.write(QStringLiteral("packed.prx"),
                       makePacked(kGzipMagic + QByteArray(500, 'n'), 1569342)); // a broken stream
        const QString target = data.write(QStringLiteral("existing.prx"), "old content");
        ui::MainWindow main;
        dialogs.answers = {MsgAnswer::Yes};
        dialogs.files = {target};
        ProgressDriver driver;
        main.openFile(packed);
        QCOMPARE(driver.okClicks, 1);
        QCOMPARE(readFile(target), QByteArray("old content"));
        QVERIFY(!dialogs.titles().contains(QStringLiteral("Open PRX ?")));
    }

    void dropOpensExistingFilesInOrder() {
        DataFolder data;
        ScriptedDialogs dialogs;
        const QString first = data.write(QStringLiteral("a.prx"), makePaf(2).bytes);
        const QString missing = data.file(QStringLiteral("gone.prx"));
        const QString third = data.write(QStringLiteral("c.prx"), makePaf(12).bytes);
        ui::MainWindow main;
        main.show();
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(missing), QUrl::fromLocalFile(third)});
        // The drag enters the window, then drops there.
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&main, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&main, &drop);
        QTRY_COMPARE(editorsOf(main).size(), 2);
        QCOMPARE(editorsOf(main)[0]->filePath(), first);
        QCOMPARE(editorsOf(main)[1]->filePath(), third);
        QCOMPARE(dialogs.calls.size(), 0);
    }

    void statusPanelsFollowTheActiveEditor() {
        DataFolder data;
        ScriptedDialogs dialogs;
        const QString a = data.write(QStringLiteral("a.prx"), makePaf(3).bytes);
        const QString b = data.write(QStringLiteral("b.prx"), makePaf(9).bytes);
        ui::MainWindow main;
        main.show();
        main.status().refresh();
        QCOMPARE(main.status().panelText(2), QStringLiteral("No Version "));
        QCOMPARE(main.status().panelText(4), QStringLiteral("No File "));
        main.openFile(a);
        main.openFile(b);
        QTRY_COMPARE(main.status().panelText(4), QDir::toNativeSeparators(b) + u' ');
        main.workspace()->setActiveSubWindow(main.workspace()->subWindowList().first());
        QTRY_COMPARE(main.status().panelText(4), QDir::toNativeSeparators(a) + u' ');
        QCOMPARE(main.status().panelText(2), QStringLiteral("Paf.prx - 2.50 "));
        main.workspace()->closeAllSubWindows();
        QTRY_COMPARE(main.status().panelText(4), QStringLiteral("No File "));
        QCOMPARE(main.status().panelText(2), QStringLiteral("No Version "));
    }

    // A vanished file is reported once. Its editor closes, unless it holds
    // unsaved edits: then the title says the file is missing and Save As writes the edits.
    void vanishedFileIsReportedOnceAndItsEditorClosedUnlessEdited_data() {
        QTest::addColumn<QString>("checkPrx");
        QTest::addColumn<bool>("reported");
        QTest::addColumn<bool>("edited");
        QTest::addRow("watch on") << QStringLiteral("1") << true << false;
        QTest::addRow("watch on, edits pending") << QStringLiteral("1") << true << true;
        QTest::addRow("watch off") << QStringLiteral("0") << false << true;
        QTest::addRow("value 2 is off") << QStringLiteral("2") << false << false;
    }
    void vanishedFileIsReportedOnceAndItsEditorClosedUnlessEdited() {
        QFETCH(QString, checkPrx);
        QFETCH(bool, reported);
        QFETCH(bool, edited);
        DataFolder data;
        ScriptedDialogs dialogs;
        const QString path = data.write(QStringLiteral("paf.prx"), makePaf(4).bytes);
        ui::MainWindow main;
        main.show();
        QVERIFY(main.config().setValue(prx::kKeyCheckPrx, checkPrx));
        QVERIFY(main.config().setValue(prx::kKeyCompPrx, QStringLiteral("0")));
        main.openFile(path);
        QTRY_COMPARE(main.status().panelText(4), QDir::toNativeSeparators(path) + u' ');
        if (edited)
            pafEditor(main)->box(prx::PafMember::VerticalScrollSpeed)->setText(QStringLiteral("42.5"));
        QVERIFY(QFile::rename(path, data.file(QStringLiteral("renamed.prx"))));
        if (!reported) {
            QTest::qWait(100);
            main.status().refresh();
            QCOMPARE(editorsOf(main).size(), 1);
            QCOMPARE(dialogs.calls.size(), 0);
            return;
        }
        // The file watch notices without anyone polling.
        QTRY_COMPARE(dialogs.calls.size(), 1);
        QCOMPARE(dialogs.calls[0].title, QStringLiteral("PRX Problem"));
        QCOMPARE(dialogs.calls[0].text, QStringLiteral("The opened PRX disappeared!"));
        QCOMPARE(dialogs.calls[0].detail,
                 QStringLiteral("paf.prx: no longer in %1 (renamed, moved or deleted)")
                     .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
        QCOMPARE(dialogs.calls[0].icon, MsgIcon::Critical);
        if (!edited) {
            QTRY_COMPARE(editorsOf(main).size(), 0);
            QTRY_COMPARE(main.status().panelText(4), QStringLiteral("No File "));
            return;
        }
        QTest::qWait(50);
        main.status().refresh();
        QCOMPARE(dialogs.calls.size(), 1);
        QCOMPARE(editorsOf(main).size(), 1);
        QCOMPARE(pafEditor(main)->box(prx::PafMember::VerticalScrollSpeed)->text(), QStringLiteral("42.5"));
        QMdiSubWindow* window = main.workspace()->subWindowList().value(0);
        QCOMPARE(window->windowTitle(), QStringLiteral("Paf.rad Ededid - paf.prx[*] (file missing on disk)"));
        QVERIFY(window->isWindowModified());

        const QString output = data.file(QStringLiteral("kept.prx"));
        dialogs.files = {output};
        main.saveActiveAs();
        QCOMPARE(dialogs.messages().last().text, QStringLiteral("Done."));
        QCOMPARE(singleAt(readFile(output), pafBoxOffset(4, 0)), 42.5f);
        QCOMPARE(window->windowTitle(), QStringLiteral("Paf.rad Ededid - kept.prx[*]"));
    }

    void switchingTheWatchOnAppliesAtOnce() {
        DataFolder data;
        ScriptedDialogs dialogs;
        const QString path = data.write(QStringLiteral("paf.prx"), makePaf(6).bytes);
        ui::MainWindow main;
        main.show();
        QVERIFY(main.config().setValue(prx::kKeyCheckPrx, QStringLiteral("0")));
        main.openFile(path);
        QVERIFY(QFile::remove(path));
        QTest::qWait(100);
        QCOMPARE(editorsOf(main).size(), 1);
        QVERIFY(main.config().setValue(prx::kKeyCheckPrx, QStringLiteral("1")));
        QTRY_COMPARE(editorsOf(main).size(), 0);
        QCOMPARE(dialogs.calls.size(), 1);
    }

    void configurationWindowShowsAndStoresTheSwitches_data() {
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("comp");
        QTest::addColumn<bool>("checkShown");
        QTest::addColumn<bool>("compShown");
        QTest::addColumn<bool>("viaCloseBox");
        QTest::addRow("defaults, OK") << QStringLiteral("1") << QStringLiteral("1") << true << true << false;
        QTest::addRow("off, close box")
            << QStringLiteral("0") << QStringLiteral("0") << false << false << true;
        QTest::addRow("2 shows checked")
            << QStringLiteral("1") << QStringLiteral("2") << true << true << false;
        QTest::addRow("not a number")
            << QStringLiteral("abc") << QStringLiteral("") << false << false << true;
    }
    void configurationWindowShowsAndStoresTheSwitches() {
        QFETCH(QString, check);
        QFETCH(QString, comp);
        QFETCH(bool, checkShown);
        QFETCH(bool, compShown);
        QFETCH(bool, viaCloseBox);
        DataFolder data;
        ScriptedDialogs dialogs;
        ui::MainWindow main;
        QVERIFY(main.config().setValue(prx::kKeyCheckPrx, check));
        QVERIFY(main.config().setValue(prx::kKeyCompPrx, comp));
        ui::SettingsDialog window(main.config(), &main);
        QCOMPARE(window.windowTitle(), QStringLiteral("Configuration"));
        QCOMPARE(window.option(0)->text(), QStringLiteral("Enabled Check PRX Update"));
        QCOMPARE(window.option(1)->text(), QStringLiteral("Enabled PRX Compression"));
        QCOMPARE(window.option(0)->isChecked(), checkShown);
        QCOMPARE(window.option(1)->isChecked(), compShown);
        window.show();
        window.option(0)->setChecked(!checkShown);
        if (viaCloseBox)
            window.close();
        else
            window.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        QCOMPARE(prx::readIniValue(prx::iniPath(), prx::kIniSection, prx::kKeyCheckPrx),
                 checkShown ? QStringLiteral("0") : QStringLiteral("1"));
        QCOMPARE(prx::readIniValue(prx::iniPath(), prx::kIniSection, prx::kKeyCompPrx),
                 compShown ? QStringLiteral("1") : QStringLiteral("0"));
        QCOMPARE(main.config().checkPrx(), !checkShown);
    }

    void aboutWindowLinksOpenAndItStaysOpen() {
        DataFolder data;
        ScriptedDialogs dialogs;
        ui::MainWindow main;
        ui::AboutDialog about(&main);
        about.show();
        QCOMPARE(about.windowTitle(), QStringLiteral("About..."));
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("title0"))->text(),
                 QStringLiteral("Quillmark v0.4"));
        QVERIFY(about.findChild<QLabel*>(QStringLiteral("supportedReleases"))
                    ->text()
                    .startsWith(QStringLiteral("1.5x / 2.x /2.50")));
        QTest::mouseClick(about.webLink(1), Qt::LeftButton);
        about.openLink(7); // no such link: nothing
        QCOMPARE(dialogs.openedUrls, QList<QUrl>({ui::AboutDialog::webAddress(1)}));
        QVERIFY(about.isVisible());
    }

    void aboutWindowShowsEveryCreditWhole() {
        if (underWine())
            QSKIP(kWineFonts);
        DataFolder data;
        ui::MainWindow main;
        ui::AboutDialog about(&main);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        const QList<QPlainTextEdit*> boxes = about.findChildren<QPlainTextEdit*>();
        QCOMPARE(boxes.size(), 3);
        for (QPlainTextEdit* box : boxes) {
            // No scrolling: every line of the credit is in view.
            QCOMPARE(box->verticalScrollBar()->maximum(), 0);
            QVERIFY2(!box->verticalScrollBar()->isVisible(), qPrintable(box->objectName()));
        }
    }

    void closeBoxAsksButExitDoesNot() {
        DataFolder data;
        ScriptedDialogs dialogs;
        const QString path = data.write(QStringLiteral("paf.prx"), makePaf(7).bytes);
        ui::MainWindow main;
        main.show();
        main.openFile(path);
        dialogs.answers = {MsgAnswer::No};
        QVERIFY(!main.close());
        QVERIFY(main.isVisible());
        QCOMPARE(editorsOf(main).size(), 1);
        QCOMPARE(dialogs.calls.size(), 1);
        QCOMPARE(dialogs.calls[0].title, QStringLiteral("Exit Quillmark"));
        QCOMPARE(dialogs.calls[0].text, QStringLiteral("Are You Sure?"));
        QCOMPARE(dialogs.calls[0].icon, MsgIcon::Question);

        main.exitProgram();
        QVERIFY(!main.isVisible());
        QCOMPARE(dialogs.calls.size(), 1);
    }

    void windowKeysWinOverTheValueBoxes() {
        DataFolder data;
        ScriptedDialogs dialogs;
        const QString a = data.write(QStringLiteral("a.prx"), makePaf(8).bytes);
        const QString b = data.write(QStringLiteral("b.prx"), makePaf(8, 2).bytes);
        ui::MainWindow main;
        main.resize(1400, 900);
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        main.openFile(a);
        main.openFile(b);
        ui::PafEditor* editor = pafEditor(main, 1);
        QVERIFY(editor);
        QLineEdit* box = editor->box(prx::PafMember::MainIconSpacing);
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        const QString before = box->text();
        const QList<QMdiSubWindow*> subs = main.workspace()->subWindowList();

        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier); // tile vertically: side by side
        QCOMPARE(subs[0]->y(), subs[1]->y());
        QVERIFY(subs[0]->x() != subs[1]->x());
        QTest::keyClick(box, Qt::Key_H, Qt::ControlModifier); // tile horizontally: one under the other
        QCOMPARE(subs[0]->x(), subs[1]->x());
        QVERIFY(subs[0]->y() != subs[1]->y());
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier); // cascade, not copy
        QVERIFY(subs[0]->pos() != subs[1]->pos());
        QCOMPARE(box->text(), before);
        QVERIFY(box->selectedText().isEmpty());
        QVERIFY(!ui::visibleBalloon());
    }

    // File > Close is the close box of the active editor, questions and all;
    // the empty workspace then says how to open a module.
    void fileCloseClosesTheActiveEditor_data() {
        QTest::addColumn<bool>("edited");
        QTest::addColumn<int>("answer"); // to "Save changes to paf.prx?"
        QTest::addColumn<int>("remaining");
        QTest::addRow("no edits") << false << int(MsgAnswer::Cancel) << 0;
        QTest::addRow("edits, Cancel") << true << int(MsgAnswer::Cancel) << 1;
        QTest::addRow("edits, Discard") << true << int(MsgAnswer::Discard) << 0;
    }
    void fileCloseClosesTheActiveEditor() {
        QFETCH(bool, edited);
        QFETCH(int, answer);
        QFETCH(int, remaining);
        DataFolder data;
        ScriptedDialogs dialogs;
        const QString path = data.write(QStringLiteral("paf.prx"), makePaf(5).bytes);
        ui::MainWindow main;
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        main.openFile(path);
        auto* close = main.findChild<QAction*>(QStringLiteral("actionClose"));
        QVERIFY(close);
        QCOMPARE(close->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_W));
        QVERIFY(main.findChild<QMenu*>(QStringLiteral("menuFile"))->actions().contains(close));
        QVERIFY(!main.status().emptyHint()->isVisible());
        if (edited)
            pafEditor(main)->box(prx::PafMember::HorizontalScrollSpeed)->setText(QStringLiteral("17"));
        dialogs.answers = {MsgAnswer(answer)};
        close->trigger();
        QTRY_COMPARE(editorsOf(main).size(), remaining);
        QCOMPARE(dialogs.calls.size(), edited ? 1 : 0);
        if (edited)
            QCOMPARE(dialogs.calls[0].text, QStringLiteral("Save changes to paf.prx?"));
        QCOMPARE(close->isEnabled(), remaining > 0);
        QTRY_COMPARE(main.status().emptyHint()->isVisible(), remaining == 0);
        QVERIFY(
            main.status().emptyHint()->text().contains(QStringLiteral("(Ctrl+O),\nor drop the file here")));
    }

    // File > Open Recent: newest first, each file once, at most eight, and
    // kept in this test's own settings only.
    void recentFilesAreListedAndOpened() {
        DataFolder data;
        ScriptedDialogs dialogs;
        QStringList paths;
        for (int i = 0; i < 10; ++i)
            paths << data.write(QStringLiteral("m&%1.prx").arg(i), makePaf(1 + i).bytes);
        ui::MainWindow main;
        auto* recent = main.findChild<QMenu*>(QStringLiteral("menuRecent"));
        QVERIFY(!recent->isEnabled());
        for (const QString& p : std::as_const(paths) + QStringList{paths[3]})
            main.openFile(p);
        const QStringList expected = {paths[3], paths[9], paths[8], paths[7],
                                      paths[6], paths[5], paths[4], paths[2]};
        QCOMPARE(ui::recentFiles(), expected);
        QCOMPARE(recent->actions().size(), 10); // eight files, a separator and Clear
        QCOMPARE(recent->actions().last()->text(), QStringLiteral("&Clear"));
        QCOMPARE(recent->actions()[1]->text(),
                 QStringLiteral("&2 ") +
                     QDir::toNativeSeparators(paths[9]).replace(u'&', QStringLiteral("&&")));
        recent->actions()[1]->trigger();
        QCOMPARE(editorsOf(main).last()->filePath(), paths[9]);
        QCOMPARE(ui::recentFiles().first(), paths[9]);
        DataFolder other;
        QVERIFY(ui::recentFiles().isEmpty());
    }

    // A listed file that is gone: choosing it says so, naming it, and takes
    // it out of the list; Clear empties the list. File > Open offers every
    // kind it takes.
    void goneRecentFileLeavesTheList() {
        DataFolder data;
        ScriptedDialogs dialogs;
        const QString kept = data.write(QStringLiteral("kept.prx"), makePaf(3).bytes);
        const QString gone = data.write(QStringLiteral("gone.prx"), makePaf(4).bytes);
        ui::MainWindow main;
        main.openFile(kept);
        main.openFile(gone);
        QVERIFY(QFile::remove(gone));
        auto* recent = main.findChild<QMenu*>(QStringLiteral("menuRecent"));
        QCOMPARE(recent->actions().size(), 4);
        dialogs.clear();
        recent->actions()[0]->trigger(); // gone.prx, the newest
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY(dialogs.messages()[0].text.contains(QStringLiteral("gone.prx")) ||
                dialogs.messages()[0].detail.contains(QStringLiteral("gone.prx")));
        QCOMPARE(ui::recentFiles(), QStringList{kept});
        QCOMPARE(recent->actions().size(), 3);
        QCOMPARE(editorsOf(main).size(), 2);
        recent->actions().last()->trigger(); // Clear
        QVERIFY(ui::recentFiles().isEmpty());
        QVERIFY(!recent->isEnabled());

        dialogs.clear();
        trigger(main, "actionOpen");
        QCOMPARE(dialogs.calls.size(), 1);
        QCOMPARE(dialogs.calls[0].filterName,
                 QStringLiteral("PRX Files (*.prx);;CXMB Themes (*.ctf);;All files (*)"));
    }

    // The window comes back where it was, maximised or not, and never larger than its screen.
    void windowGeometryIsKeptAndFitsTheScreen_data() {
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<bool>("maximised");
        QTest::addRow("normal") << QRect(40, 30, 700, 500) << false;
        QTest::addRow("maximised") << QRect(40, 30, 700, 500) << true;
        QTest::addRow("larger than the screen") << QRect(40, 30, 5000, 4000) << false;
    }
    void windowGeometryIsKeptAndFitsTheScreen() {
        QFETCH(QRect, geometry);
        QFETCH(bool, maximised);
        DataFolder data;
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        {
            ui::MainWindow first;
            QVERIFY(available.contains(first.frameGeometry()));
            first.setGeometry(geometry);
            maximised ? first.showMaximized() : first.show();
            first.exitProgram();
        }
        ui::MainWindow second;
        QCOMPARE(second.isMaximized(), maximised);
        QVERIFY(maximised || available.contains(second.frameGeometry()));
        if (available.contains(geometry))
            QCOMPARE(second.normalGeometry(), geometry);
    }

    // ---- saving ----

    void plainSaveWritesAndSaysDone_data() {
        QTest::addColumn<QString>("compPrx");
        QTest::addColumn<bool>("asked");
        QTest::addRow("packing off") << QStringLiteral("0") << false;
        QTest::addRow("packing on, answered No") << QStringLiteral("1") << true;
    }
    void plainSaveWritesAndSaysDone() {
        QFETCH(QString, compPrx);
        QFETCH(bool, asked);
        DataFolder data;
        ScriptedDialogs dialogs;
        const QByteArray original = makePaf(10).bytes;
        const QString path = data.write(QStringLiteral("paf.prx"), original);
        ui::MainWindow main;
        main.show();
        QVERIFY(main.config().setValue(prx::kKeyCompPrx, compPrx));
        main.openFile(path);
        pafEditor(main)->box(prx::PafMember::GlowBlinkSpeed)->setText(QStringLiteral("99.5"));
        dialogs.answers = {MsgAnswer::No};
        main.saveActive();
        QStringList expected;
        if (asked)
            expected << QStringLiteral("Save PRX");
        expected << QStringLiteral("RAD Ededid");
        QCOMPARE(dialogs.titles(), expected);
        QCOMPARE(dialogs.messages().last().text, QStringLiteral("Done."));
        QCOMPARE(dialogs.messages().last().icon, MsgIcon::Information);
        QVERIFY(onlyBoxChanged(original, readFile(path), 10, 3));
        QCOMPARE(editorsOf(main).size(), 1);
    }

    // Save As suggests the open file's name in its folder; a name without an
    // extension gets ".prx". The editor, the status bar and the recent files follow the copy.
    void plainSaveAsWritesTheCopyAndFollowsIt_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::addRow("with extension") << QStringLiteral("copy.prx") << QStringLiteral("copy.prx");
        QTest::addRow("without extension") << QStringLiteral("copy") << QStringLiteral("copy.prx");
        QTest::addRow("other extension") << QStringLiteral("copy.bin") << QStringLiteral("copy.bin");
    }
    void plainSaveAsWritesTheCopyAndFollowsIt() {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        DataFolder data;
        ScriptedDialogs dialogs;
        const QByteArray original = makePaf(1).bytes;
        const QString path = data.write(QStringLiteral("paf.prx"), original);
        const QString output = data.file(written);
        ui::MainWindow main;
        main.show();
        QVERIFY(main.config().setValue(prx::kKeyCompPrx, QStringLiteral("0")));
        main.openFile(path);
        QTRY_COMPARE(main.status().panelText(4), QDir::toNativeSeparators(path) + u' ');
        pafEditor(main)->box(prx::PafMember::VerticalScrollSpeed)->setText(QStringLiteral("-3"));
        dialogs.files = {data.file(typed)};
        QString statusWhenDone;
        dialogs.onCall = [&](const DialogCall& call) {
            if (call.text == u"Done.")
                statusWhenDone = main.status().panelText(4);
        };
        main.saveActiveAs();
        QCOMPARE(statusWhenDone, QDir::toNativeSeparators(output) + u' ');
        QCOMPARE(dialogs.titles(), QStringList({QStringLiteral("Enter name of *.prx file to save"),
                                                QStringLiteral("RAD Ededid")}));
        QCOMPARE(dialogs.calls[0].mode, ui::FileMode::Save);
        QCOMPARE(dialogs.calls[0].suggestedName, QStringLiteral("paf.prx"));
        QCOMPARE(dialogs.calls[0].initialFolder, QFileInfo(path).absolutePath());
        QCOMPARE(readFile(path), original);
        QVERIFY(onlyBoxChanged(original, readFile(output), 1, 0));
        QCOMPARE(editorsOf(main)[0]->filePath(), output);
        QCOMPARE(main.status().panelText(4), QDir::toNativeSeparators(output) + u' ');
        QCOMPARE(ui::recentFiles(), QStringList({output, path}));
    }

    void failedSaveSaysNothingIsDone() {
        DataFolder data;
        ScriptedDialogs dialogs;
        const QByteArray original = makePaf(2).bytes;
        const QString path = data.write(QStringLiteral("paf.prx"), original);
        ui::MainWindow main;
        main.show();
        QVERIFY(main.config().setValue(prx::kKeyCompPrx, QStringLiteral("0")));
        main.openFile(path);
        pafEditor(main)->box(prx::PafMember::VerticalScrollSpeed)->setText(QStringLiteral("5"));
        pafEditor(main)->box(prx::PafMember::HorizontalScrollSpeed)->clear();
        main.saveActive();
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(dialogs.messages()[0].text, QStringLiteral("One of the value is empty"));
        QCOMPARE(readFile(path), original);
    }

    void packingQuestionsStopOnCancelOrBadHeader_data() {
        QTest::addColumn<bool>("saveAs");
        QTest::addColumn<bool>("badHeader");
        QTest::addRow("save, header cancelled") << false << false;
        QTest::addRow("save as, header cancelled") << true << false;
        QTest::addRow("save, header rejected") << false << true;
        QTest::addRow("save as, header rejected") << true << true;
    }
    void packingQuestionsStopOnCancelOrBadHeader() {
        QFETCH(bool, saveAs);
        QFETCH(bool, badHeader);
        DataFolder data;
        ScriptedDialogs dialogs;
        const QByteArray original = makePaf(3).bytes;
        const QString path = data.write(QStringLiteral("paf.prx"), original);
        const QString header = data.write(QStringLiteral("header.prx"), QByteArray(400, 'h'));
        ui::MainWindow main;
        main.show();
        main.openFile(path);
        pafEditor(main)->box(prx::PafMember::XmbOverallSize)->setText(QStringLiteral("1"));
        dialogs.answers = {MsgAnswer::Yes};
        if (badHeader)
            dialogs.files = {header};
        if (saveAs)
            main.saveActiveAs();
        else
            main.saveActive();
        QStringList expected{QStringLiteral("Save PRX"), QStringLiteral("Choose the *.prx file to header")};
        if (badHeader)
            expected << QStringLiteral("Error File");
        QCOMPARE(dialogs.titles(), expected);
        QCOMPARE(dialogs.calls[1].mode, ui::FileMode::Open);
        if (badHeader) {
            QCOMPARE(dialogs.calls[2].text, QStringLiteral("The header file it isn't a PRX File"));
            QCOMPARE(dialogs.calls[2].icon, MsgIcon::Exclamation);
        }
        QCOMPARE(readFile(path), original);
        QCOMPARE(editorsOf(main).size(), 1);
    }

    void saveWritesPlainThenPackedAndClosesTheEditor_data() {
        QTest::addColumn<bool>("vsh");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("member");
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<QString>("label");
        QTest::addRow("PAF 1.5x") << false << 1 << int(prx::PafMember::MSContentsSizeUnfocused)
                                  << known::pafOffset(1, "MSContentsSizeUnfocused")
                                  << QStringLiteral("Paf.prx - 1.5x");
        QTest::addRow("VSH 3.71") << true << 12 << int(prx::VshMember::ClockX)
                                  << known::vshOffset(12, "ClockX") << QStringLiteral("VSHMain.prx - 3.71");
    }
    // Both editors save through the same flows: plain Save writes only the
    // edited value and says "Done."; packed Save replaces the module with a
    // packed one, its key preselected from the header, and closes the editor.
    void saveWritesPlainThenPackedAndClosesTheEditor() {
        QFETCH(bool, vsh);
        QFETCH(int, row);
        QFETCH(int, member);
        QFETCH(qint64, offset);
        QFETCH(QString, label);
        DataFolder data;
        ScriptedDialogs dialogs;
        const QByteArray original = vsh ? makeVsh(row).bytes : makePaf(row).bytes;
        const QString path =
            data.write(vsh ? QStringLiteral("vshmain.prx") : QStringLiteral("paf.prx"), original);
        const QString header = data.write(QStringLiteral("header.prx"),
                                          makePacked(QByteArray(32, 'q'), 5, vsh ? "vsh" : "paf", 0xC3));
        ui::MainWindow main;
        main.show();
        QVERIFY(main.config().setValue(prx::kKeyCompPrx, QStringLiteral("0")));
        main.openFile(path);
        ui::EditorForm* editor = editorsOf(main).value(0);
        QVERIFY(editor);
        editor->document().edit(int(member), prx::Value(prx::Single::fromFloat(99.5f)),
                                QStringLiteral("step"));
        main.saveActive();
        QCOMPARE(dialogs.titles(), QStringList({QStringLiteral("RAD Ededid")}));
        QCOMPARE(dialogs.messages().last().text, QStringLiteral("Done."));
        const QByteArray saved = readFile(path);
        QVERIFY(!differingOffsets(original, saved).isEmpty());
        for (qint64 off : differingOffsets(original, saved))
            QVERIFY(off >= offset && off < offset + 4);
        QCOMPARE(singleAt(saved, offset), 99.5f);

        dialogs.clear();
        QVERIFY(main.config().setValue(prx::kKeyCompPrx, QStringLiteral("1")));
        editor->document().edit(int(member), prx::Value(prx::Single::fromFloat(12.0f)),
                                QStringLiteral("step"));
        dialogs.answers = {MsgAnswer::Yes};
        dialogs.files = {header};
        ProgressDriver driver;
        main.saveActive();
        QCOMPARE(driver.okClicks, 1);
        QCOMPARE(dialogs.titles(), QStringList({QStringLiteral("Save PRX"),
                                                QStringLiteral("Choose the *.prx file to header")}));
        auto id = prx::identifyFile(path);
        QVERIFY(id);
        QCOMPARE(id->kind, prx::FileKind::Packed);
        QCOMPARE(id->packed.plainSize, qint32(original.size()));
        QCOMPARE(id->packed.label, label);
        QCOMPARE(static_cast<quint8>(readFile(path).at(0x130)), quint8(0xC3)); // preselected from the header
        QCOMPARE(editorsOf(main).size(), 0);
    }

    void packedSaveAsLeavesTheEditsInThePlainModule() {
        DataFolder data;
        ScriptedDialogs dialogs;
        const QByteArray original = makePaf(1).bytes;
        const QString path = data.write(QStringLiteral("paf.prx"), original);
        const QString header = data.write(QStringLiteral("header.prx"), makePacked(QByteArray(32, 'q'), 5));
        const QString output = data.file(QStringLiteral("packed out.prx"));
        ui::MainWindow main;
        main.show();
        main.openFile(path);
        pafEditor(main)->box(prx::PafMember::MSContentsSizeUnfocused)->setText(QStringLiteral("7.25"));
        dialogs.answers = {MsgAnswer::Yes};
        dialogs.files = {header, output};
        ProgressDriver driver(4);
        main.saveActiveAs();
        QCOMPARE(driver.okClicks, 1);
        QCOMPARE(dialogs.titles(),
                 QStringList({QStringLiteral("Save PRX"), QStringLiteral("Choose the *.prx file to header"),
                              QStringLiteral("Enter name of *.prx file to save")}));
        QVERIFY(onlyBoxChanged(original, readFile(path), 1, 2));
        auto id = prx::identifyFile(output);
        QVERIFY(id);
        QCOMPARE(id->kind, prx::FileKind::Packed);
        QCOMPARE(static_cast<quint8>(readFile(output).at(0x130)), quint8(0xA7)); // the key picked in the list
        QCOMPARE(editorsOf(main).size(), 1);
        QCOMPARE(editorsOf(main)[0]->filePath(), path);
    }
};

QM_GUI_TEST(MainWindowTest);

#include "mainwindow_test.moc"
