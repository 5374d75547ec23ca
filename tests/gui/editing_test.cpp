// Editing with confidence: undo and redo of every kind of step, titles that
// name the file and mark unsaved edits, the review of changes, the questions
// before an edit is lost or a changed file is overwritten, and the original
// kept beside a module the first time it is overwritten.

#include "editor_helpers.h"
#include "guitest.h"
#include "scripteddialogs.h"
#include "shell_helpers.h"

#include "looks/look.h"
#include "paf/pafeditor.h"
#include "prx/config.h"
#include "prx/valueio.h"
#include "shell/configstore.h"
#include "shell/mainwindow.h"
#include "shell/reviewdialog.h"
#include "support/known_offsets.h"
#include "vsh/colorgrid.h"
#include "widgets/balloontip.h"
#include "widgets/colorbox.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include <cstdlib>
#include <functional>

using namespace qm;
using namespace qm::test;
using ui::MsgAnswer;

namespace {

// A main window with one editor open on a fixture module, packing off.
struct Session {
    DataFolder data;
    ScriptedDialogs dialogs;
    ui::MainWindow main;
    QString module;
    QByteArray original;

    // `tweak` changes the fixture's bytes before they are written.
    Session(prx::ModuleKind kind, int version, const QString& name = QStringLiteral("vshmain.prx"),
            const std::function<void(QByteArray&)>& tweak = {}) {
        original = kind == prx::ModuleKind::Vsh ? makeVsh(version, 4).bytes : makePaf(version, 4).bytes;
        if (tweak)
            tweak(original);
        module = data.write(name, original);
        QVERIFY(main.config().setValue(prx::kKeyCompPrx, QStringLiteral("0")));
        main.show();
        main.openFile(module);
        dialogs.clear();
    }
    ui::EditorForm* editor() const { return editorsOf(main).value(0); }
    ui::VshEditor* vsh() const { return qobject_cast<ui::VshEditor*>(editor()); }
    ui::PafEditor* paf() const { return qobject_cast<ui::PafEditor*>(editor()); }
    QAction* action(const char* name) const { return main.findChild<QAction*>(QString::fromLatin1(name)); }
    QString title() const { return main.workspace()->activeSubWindow()->windowTitle(); }
    bool marked() const { return main.workspace()->activeSubWindow()->isWindowModified(); }
};

// Types into a box as a user does: the box has the focus, the text is typed.
void typeInto(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}

} // namespace

class EditingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void undoEachKindOfStep_data() {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("undoText");
        QTest::newRow("typing into a number box") << "number"
                                                  << "Undo Clock X";
        QTest::newRow("typing into a text box") << "text"
                                                << "Undo Photo MS Icon";
        QTest::newRow("a colour pick") << "colour"
                                       << "Undo March Text";
        QTest::newRow("a menu row") << "menu"
                                    << "Undo Menu Entry 3";
        QTest::newRow("an imported look") << "look"
                                          << "Undo Import Look";
        QTest::newRow("a PAF box") << "paf"
                                   << "Undo Glow Blinking";
    }

    // Each kind of step is one entry of the Edit menu, undone and redone whole.
    void undoEachKindOfStep() {
        QFETCH(QString, step);
        QFETCH(QString, undoText);
        const bool paf = step == u"paf";
        Session s(paf ? prx::ModuleKind::Paf : prx::ModuleKind::Vsh, paf ? 5 : 12,
                  paf ? QStringLiteral("paf.prx") : QStringLiteral("vshmain.prx"));
        QAction* undo = s.action("actionUndo");
        QAction* redo = s.action("actionRedo");
        QVERIFY(undo && redo);
        QVERIFY(!undo->isEnabled());
        const prx::ModuleValues before = s.editor()->values();

        if (step == u"number") {
            typeInto(s.vsh()->box(prx::VshMember::ClockX), QStringLiteral("30.25"));
        } else if (step == u"text") {
            typeInto(s.vsh()->box(prx::VshMember::MSIconPhoto), QStringLiteral("icon_photo"));
        } else if (step == u"colour") {
            s.dialogs.colors = {prx::Rgb(0x0080FF)};
            s.vsh()->colorGrid()->boxes(prx::VshMember::TextColors).at(2)->click();
        } else if (step == u"menu") {
            s.vsh()->menuTab()->selectRow(2);
            pick(s.vsh()->menuTab()->regionBox(), 1 - s.vsh()->menuTab()->regionBox()->currentIndex());
        } else if (step == u"look") {
            const QString other = s.data.write(QStringLiteral("other.prx"), makeVsh(12, 9).bytes);
            const QString look = s.data.file(QStringLiteral("look.json"));
            writeFile(look,
                      looks::lookFile(*prx::readValuesFile(other, prx::ReleaseId{prx::ModuleKind::Vsh, 12}),
                                      other));
            s.dialogs.files = {look};
            trigger(s.main, "actionImportLook");
        } else {
            typeInto(s.paf()->box(prx::PafMember::GlowBlinkSpeed), QStringLiteral("-4,5"));
        }
        const prx::ModuleValues after = s.editor()->values();
        QVERIFY(after != before);
        QCOMPARE(s.editor()->document().undoStack()->count(), 1); // typing is one step
        QVERIFY(undo->isEnabled());
        QCOMPARE(undo->text(), undoText);
        QVERIFY(s.marked());

        undo->trigger();
        QCOMPARE(s.editor()->values(), before);
        QVERIFY(!s.marked());
        if (step == u"number")
            QCOMPARE(s.vsh()->box(prx::VshMember::ClockX)->text(),
                     expectedNumber(before, prx::VshMember::ClockX, QLocale()));
        if (step == u"colour")
            QCOMPARE(s.vsh()->colorGrid()->boxes(prx::VshMember::TextColors).at(2)->color(),
                     before.colours(prx::VshMember::TextColors).at(2).rgb());
        QVERIFY(redo->isEnabled());
        redo->trigger();
        QCOMPARE(s.editor()->values(), after);
        QVERIFY(s.marked());
    }

    // Typing into two boxes makes two steps; leaving a box ends its step.
    void typingStepsEndWithTheBox() {
        Session s(prx::ModuleKind::Vsh, 11);
        typeInto(s.vsh()->box(prx::VshMember::XmbX), QStringLiteral("12"));
        typeInto(s.vsh()->box(prx::VshMember::XmbX),
                 QStringLiteral("13")); // still the same box, still typing
        QCOMPARE(s.editor()->document().undoStack()->count(), 1);
        typeInto(s.vsh()->box(prx::VshMember::XmbXInfobar), QStringLiteral("3"));
        QCOMPARE(s.editor()->document().undoStack()->count(), 2);
        typeInto(s.vsh()->box(prx::VshMember::XmbX),
                 QStringLiteral("14")); // back to the first box: a new step
        QCOMPARE(s.editor()->document().undoStack()->count(), 3);
    }

    // In 3.71 the network icon follows the main icon in both directions of undo.
    void undoTakesFollowersAlong() {
        Session s(prx::ModuleKind::Vsh, 12);
        const QString network = s.vsh()->box(prx::VshMember::NetworkIconYUnfocused)->text();
        typeInto(s.vsh()->box(prx::VshMember::MainIconYUnfocused), QStringLiteral("40"));
        QCOMPARE(s.vsh()->box(prx::VshMember::NetworkIconYUnfocused)->text(), QStringLiteral("41"));
        s.action("actionUndo")->trigger();
        QCOMPARE(s.vsh()->box(prx::VshMember::NetworkIconYUnfocused)->text(), network);
    }

    // The title names the file; the mark follows the saved state, also through undo.
    void titleAndMarkFollowTheSavedState() {
        Session s(prx::ModuleKind::Vsh, 14);
        QCOMPARE(s.title(), QStringLiteral("VSHMain.rad Ededid - vshmain.prx[*]"));
        QVERIFY(!s.marked());
        typeInto(s.vsh()->box(prx::VshMember::HoldY), QStringLiteral("2"));
        QVERIFY(s.marked());
        s.main.saveActive();
        QCOMPARE(s.dialogs.messages().last().text, QStringLiteral("Done."));
        QVERIFY(!s.marked());
        QVERIFY(!s.action("actionUndo")->isEnabled()); // the save's reload starts afresh
        typeInto(s.vsh()->box(prx::VshMember::HoldY), QStringLiteral("3"));
        QVERIFY(s.marked());
        s.action("actionUndo")->trigger();
        QVERIFY(!s.marked());
    }

    // Review Changes lists every changed value by its caption and member, as a save writes it.
    void reviewListsTheChanges() {
        Session s(prx::ModuleKind::Vsh, 12);
        {
            ui::ReviewDialog none(*s.editor());
            QCOMPARE(none.table()->rowCount(), 0);
            QCOMPARE(none.summary()->text(), QStringLiteral("No value differs from vshmain.prx."));
        }
        typeInto(s.vsh()->box(prx::VshMember::HoldY), QStringLiteral("-4.5"));
        s.dialogs.colors = {prx::Rgb(0x0080FF)};
        s.vsh()->colorGrid()->boxes(prx::VshMember::TextColors).at(3)->click();
        typeInto(s.vsh()->box(prx::VshMember::MSIconMusic), QStringLiteral("music"));
        typeInto(s.vsh()->box(prx::VshMember::MSIconPhoto), QStringLiteral("my_custom_photo_icon"));
        s.vsh()->menuTab()->selectRow(5);
        pick(s.vsh()->menuTab()->iconBox(prx::MenuFormat::Slim), 1);
        ui::ReviewDialog review(*s.editor());
        QStringList rows;
        for (int r = 0; r < review.table()->rowCount(); ++r)
            rows.append(review.table()->item(r, 0)->text() + u'=' + review.table()->item(r, 2)->text());
        QCOMPARE(rows,
                 latin1({"April Text (TextColors[3])=#FF8000", "Hold Y (HoldY)=-4.5",
                         "Photo MS Icon (MSIconPhoto)=my_custom_photo", "Music MS Icon (MSIconMusic)=music",
                         "Menu Entry 6 (MenuEntries[5].order, numbered from 0)=1",
                         "Menu Entry 6 (MenuEntries[5].icon, numbered from 0)=USB Connection"}));
        QCOMPARE(review.table()->item(0, 1)->text(),
                 prx::rgbToHex(s.editor()->loadedValues().colours(prx::VshMember::TextColors).at(3).rgb()));
        QCOMPARE(review.table()->accessibleName(), QStringLiteral("Changed values"));
    }

    void valueNames_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");
        const int vsh = int(prx::ModuleKind::Vsh);
        const int paf = int(prx::ModuleKind::Paf);
        QTest::newRow("month colour") << vsh << "TextColors[0]"
                                      << "January Text (TextColors[0])";
        QTest::newRow("slim colour") << vsh << "ContextColorsSlim[2]"
                                     << "Item15 Infobar (ContextColorsSlim[2], numbered from 0)";
        QTest::newRow("number") << vsh << "ClockX"
                                << "Clock X (ClockX)";
        QTest::newRow("caption with blanks") << vsh << "MainIconYUnfocused"
                                             << "Main Icon Y (Unfocused) (MainIconYUnfocused)";
        QTest::newRow("path") << vsh << "UpdatePath2"
                              << "UMD Update 2 (UpdatePath2)";
        QTest::newRow("format") << vsh << "FormatsUSJapan[4]"
                                << "Unknow US / Japan (FormatsUSJapan[4])";
        QTest::newRow("menu row, counted from 1") << vsh << "MenuEntries[0].enabled"
                                                  << "Menu Entry 1 (MenuEntries[0].enabled, numbered from 0)";
        QTest::newRow("shared PAF caption") << paf << "MainIconAlphaUnfocused"
                                            << "Main Icon (Unfocused) (MainIconAlphaUnfocused)";
        QTest::newRow("unknown name") << vsh << "NoSuchValue"
                                      << "NoSuchValue";
    }

    // Reviews and import reports name a value by its caption and its member.
    void valueNames() {
        QFETCH(int, kind);
        QFETCH(QString, name);
        QFETCH(QString, shown);
        QCOMPARE(ui::captionedValueName(static_cast<prx::ModuleKind>(kind), name), shown);
    }

    // The review compares the values read with those a save writes: a file
    // gone from disk since still shows its changes.
    void reviewOfAVanishedFile() {
        Session s(prx::ModuleKind::Paf, 2, QStringLiteral("paf.prx"));
        typeInto(s.paf()->box(prx::PafMember::GlowBlinkSpeed), QStringLiteral("77.25"));
        QVERIFY(QFile::remove(s.module));
        ui::ReviewDialog review(*s.editor());
        QCOMPARE(review.summary()->text(), QStringLiteral("1 value differs from paf.prx:"));
        QCOMPARE(review.table()->rowCount(), 1);
        QCOMPARE(review.table()->item(0, 0)->text(), QStringLiteral("Glow Blinking (GlowBlinkSpeed)"));
        QCOMPARE(review.table()->item(0, 2)->text(), QStringLiteral("77.25"));
    }

    void unstorableEdits_data() {
        QTest::addColumn<bool>("paf");
        QTest::addColumn<QString>("member");
        QTest::addColumn<QString>("stored");  // put at the member's offset first, when given
        QTest::addColumn<QString>("typed");   // typed over the box's text; "+" first: typed at its end
        QTest::addColumn<bool>("set");        // the text set by the program rather than typed
        QTest::addColumn<QString>("shown");   // the box's text afterwards
        QTest::addColumn<QString>("reason");  // as the review gives it
        QTest::addColumn<QString>("message"); // the save's refusal starts so
        const QString mismatch = QStringLiteral("Error 13 occurred! (Type mismatch: ");
        QTest::newRow("lone minus") << false << "ClockX"
                                    << ""
                                    << "-" << false << "-"
                                    << "Type mismatch: \"-\" is not a number"
                                    << mismatch + QStringLiteral("ClockX: \"-\"");
        QTest::newRow("lone comma") << true << "MainMenuTextY"
                                    << ""
                                    << "," << false << ","
                                    << "Type mismatch: \",\" is not a number"
                                    << mismatch + QStringLiteral("MainMenuTextY: \",\"");
        QTest::newRow("exponent without digits") << true << "GlowBlinkSpeed"
                                                 << ""
                                                 << "1e+" << false << "1e+"
                                                 << "Type mismatch: \"1e+\" is not a number"
                                                 << mismatch + QStringLiteral("GlowBlinkSpeed: \"1e+\"");
        QTest::newRow("trailing minus set")
            << false << "ClockY"
            << ""
            << "60-" << true << "60-"
            << "Type mismatch: \"60-\" is not a number" << mismatch + QStringLiteral("ClockY: \"60-\"");
        QTest::newRow("empty") << false << "HoldY"
                               << ""
                               << "" << false << ""
                               << "One of the value is empty"
                               << "One of the value is empty";
        QTest::newRow("digit after a largest Single")
            << true << "XmbOverallSize"
            << "3.4028235e+38"
            << "+1" << false << "3.4028235e+381"
            << "Overflow: \"3.4028235e+381\" is beyond the range of a Single"
            << "Error 6 occurred! (Overflow: XmbOverallSize: ";
    }

    // A text that gives no value marks the window, is listed by the review
    // with its reason, and is refused by a save that names the box, leaving
    // the file as it was. A value as loaded, e-notation too, is no such text.
    void unstorableEdits() {
        QFETCH(bool, paf);
        QFETCH(QString, member);
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, set);
        QFETCH(QString, shown);
        QFETCH(QString, reason);
        QFETCH(QString, message);
        const int version = paf ? 11 : 12;
        const auto put = [&](QByteArray& bytes) {
            if (stored.isEmpty())
                return;
            for (const known::PafLine& line : known::pafLines())
                if (QLatin1StringView(line.name) == member)
                    putSingle(bytes, line.at(version), std::strtof(stored.toLatin1().constData(), nullptr));
        };
        Session s(paf ? prx::ModuleKind::Paf : prx::ModuleKind::Vsh, version,
                  paf ? QStringLiteral("paf.prx") : QStringLiteral("vshmain.prx"), put);
        QLineEdit* box = s.editor()->findChild<QLineEdit*>(member);
        QVERIFY(box);
        const QString loaded = box->text();
        if (!stored.isEmpty())
            QCOMPARE(loaded, stored);
        QVERIFY(!s.marked());
        QVERIFY(!ui::visibleBalloon()); // nothing refused on opening
        if (set) {
            box->setText(typed);
        } else if (typed.startsWith(u'+')) {
            box->setFocus();
            box->end(false);
            QTest::keyClicks(box, typed.mid(1));
        } else {
            typeInto(box, typed);
        }
        QCOMPARE(box->text(), shown);
        QVERIFY(s.marked());
        {
            ui::ReviewDialog review(*s.editor());
            QCOMPARE(review.table()->rowCount(), 1);
            QCOMPARE(review.table()->columnCount(), 4);
            QCOMPARE(review.table()->item(0, 1)->text(), loaded);
            QCOMPARE(review.table()->item(0, 2)->text(), shown.isEmpty() ? QStringLiteral("\"\"") : shown);
            QCOMPARE(review.table()->item(0, 3)->text(), reason);
            QCOMPARE(review.summary()->text(),
                     QStringLiteral("1 value differs from %1:").arg(QFileInfo(s.module).fileName()));
            QCOMPARE(review.unsaved()->text(),
                     QStringLiteral("It can't be saved as it stands: Save refuses it."));
        }
        s.main.saveActive();
        QCOMPARE(s.dialogs.messages().size(), 1);
        QVERIFY2(s.dialogs.messages().last().text.startsWith(message),
                 qPrintable(s.dialogs.messages().last().text));
        QCOMPARE(readFile(s.module), s.original);
        QVERIFY(s.marked());
        // Typed back to a value, the edit is gone.
        box->setText(loaded);
        QVERIFY(!s.marked());
        ui::hideBalloon();
    }

    void closeWithUnsavedEdits_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("written");
        QTest::newRow("Save") << static_cast<int>(MsgAnswer::Save) << true << true;
        QTest::newRow("Discard") << static_cast<int>(MsgAnswer::Discard) << true << false;
        QTest::newRow("Cancel") << static_cast<int>(MsgAnswer::Cancel) << false << false;
    }

    // Closing an editor with unsaved edits asks; each answer does what it says.
    void closeWithUnsavedEdits() {
        QFETCH(int, answer);
        QFETCH(bool, closes);
        QFETCH(bool, written);
        Session s(prx::ModuleKind::Vsh, 8);
        typeInto(s.vsh()->box(prx::VshMember::XmbX), QStringLiteral("77"));
        s.dialogs.answers = {static_cast<MsgAnswer>(answer)};
        s.main.workspace()->activeSubWindow()->close();
        QApplication::processEvents();
        const QList<DialogCall> messages = s.dialogs.messages();
        QVERIFY(!messages.isEmpty());
        QCOMPARE(messages[0].text, QStringLiteral("Save changes to vshmain.prx?"));
        QCOMPARE(messages[0].buttons, ui::MsgButtons::SaveDiscardCancel);
        QCOMPARE(editorsOf(s.main).isEmpty(), closes);
        QCOMPARE(readFile(s.module) != s.original, written);
    }

    // Without unsaved edits an editor closes without a question.
    void closeWithoutEditsAsksNothing() {
        Session s(prx::ModuleKind::Paf, 9, QStringLiteral("paf.prx"));
        s.main.workspace()->activeSubWindow()->close();
        QApplication::processEvents();
        QVERIFY(s.dialogs.calls.isEmpty());
        QVERIFY(editorsOf(s.main).isEmpty());
    }

    void quitWithUnsavedEdits_data() {
        QTest::addColumn<bool>("exitCommand"); // File > Exit, or the close box
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("quits");
        QTest::newRow("close box, Cancel") << false << static_cast<int>(MsgAnswer::Cancel) << false;
        QTest::newRow("close box, Discard") << false << static_cast<int>(MsgAnswer::Discard) << true;
        QTest::newRow("Exit, Cancel") << true << static_cast<int>(MsgAnswer::Cancel) << false;
        QTest::newRow("Exit, Save") << true << static_cast<int>(MsgAnswer::Save) << true;
    }

    // Quitting asks about each editor with unsaved edits, instead of "Are You Sure?".
    void quitWithUnsavedEdits() {
        QFETCH(bool, exitCommand);
        QFETCH(int, answer);
        QFETCH(bool, quits);
        Session s(prx::ModuleKind::Vsh, 13);
        typeInto(s.vsh()->box(prx::VshMember::XmbXGameSubmenu), QStringLiteral("5"));
        s.dialogs.answers = {static_cast<MsgAnswer>(answer)};
        if (exitCommand)
            s.main.exitProgram();
        else
            s.main.close();
        QApplication::processEvents();
        QCOMPARE(s.dialogs.messages().first().text, QStringLiteral("Save changes to vshmain.prx?"));
        QVERIFY(!s.dialogs.titles().contains(QStringLiteral("Exit Quillmark")));
        QCOMPARE(s.main.isVisible(), !quits);
        QCOMPARE(editorsOf(s.main).isEmpty(), quits);
    }

    // With no unsaved edit the close box still asks "Are You Sure?" and nothing else.
    void quitWithoutEditsAsksAsBefore() {
        Session s(prx::ModuleKind::Vsh, 13);
        s.dialogs.answers = {MsgAnswer::Yes};
        s.main.close();
        QCOMPARE(s.dialogs.titles(), latin1({"Exit Quillmark"}));
        QVERIFY(!s.main.isVisible());
    }

    void fileChangedOnDisk_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("Yes overwrites") << static_cast<int>(MsgAnswer::Yes);
        QTest::newRow("No writes nothing") << static_cast<int>(MsgAnswer::No);
    }

    // Save asks before it writes over a file another program changed.
    void fileChangedOnDisk() {
        QFETCH(int, answer);
        Session s(prx::ModuleKind::Vsh, 12);
        typeInto(s.vsh()->box(prx::VshMember::XmbX), QStringLiteral("9"));
        QByteArray changed = s.original;
        changed[100] = static_cast<char>(changed[100] ^ 0x5A); // a byte no value uses
        writeFile(s.module, changed);
        s.dialogs.answers = {static_cast<MsgAnswer>(answer)};
        s.main.saveActive();
        const QList<DialogCall> messages = s.dialogs.messages();
        QVERIFY(!messages.isEmpty());
        QCOMPARE(messages[0].text,
                 QStringLiteral("vshmain.prx was changed on disk since it was opened. Overwrite it?"));
        const QByteArray now = readFile(s.module);
        if (static_cast<MsgAnswer>(answer) == MsgAnswer::No) {
            QCOMPARE(now, changed);
            QVERIFY(s.marked());
        } else {
            QCOMPARE(now.at(100), s.original.at(100)); // the module as the editor read it, with the edit
            QVERIFY(now != changed);
            QVERIFY(!s.marked());
        }
    }

    void originalKept_data() {
        QTest::addColumn<QString>("keep"); // the KeepOriginal key: "" (missing), "1", "0"
        QTest::addColumn<bool>("made");
        QTest::newRow("missing key") << "" << true;
        QTest::newRow("on") << "1" << true;
        QTest::newRow("off") << "0" << false;
    }

    // The first save keeps the module as NAME.orig; later saves never replace it.
    void originalKept() {
        QFETCH(QString, keep);
        QFETCH(bool, made);
        Session s(prx::ModuleKind::Paf, 12, QStringLiteral("paf.prx"));
        if (!keep.isEmpty())
            QVERIFY(s.main.config().setValue(prx::kKeyKeepOriginal, keep));
        const QString orig = s.module + QStringLiteral(".orig");
        typeInto(s.paf()->box(prx::PafMember::VerticalScrollSpeed), QStringLiteral("2"));
        s.main.saveActive();
        QCOMPARE(QFileInfo::exists(orig), made);
        if (!made)
            return;
        QCOMPARE(readFile(orig), s.original);
        typeInto(s.paf()->box(prx::PafMember::VerticalScrollSpeed), QStringLiteral("3"));
        s.main.saveActive();
        QCOMPARE(readFile(orig), s.original);
        QVERIFY(readFile(s.module) != s.original);
    }

    void saveAsCarriesTheStock_data() {
        QTest::addColumn<bool>("ownOrig"); // the module opened has an .orig of its own
        QTest::newRow("the module as first opened") << false;
        QTest::newRow("the opened module's own .orig") << true;
    }

    // Save As to a copy, edit, Save: the copy's .orig is the module before
    // any edit (the one opened had an .orig: that one), never the copy as
    // Save As wrote it, so a theme made against it holds every edit.
    void saveAsCarriesTheStock() {
        QFETCH(bool, ownOrig);
        Session s(prx::ModuleKind::Paf, 12, QStringLiteral("paf.prx"));
        const QByteArray stock = makePaf(12, 9).bytes;
        if (ownOrig)
            s.data.write(QStringLiteral("paf.prx.orig"), stock);
        const QByteArray expected = ownOrig ? stock : s.original;
        typeInto(s.paf()->box(prx::PafMember::VerticalScrollSpeed), QStringLiteral("2"));
        const QString copy = s.data.file(QStringLiteral("copy-a.prx"));
        s.dialogs.files = {copy};
        s.main.saveActiveAs();
        QCOMPARE(s.dialogs.messages().last().text, QStringLiteral("Done."));
        QCOMPARE(s.editor()->filePath(), copy);
        typeInto(s.paf()->box(prx::PafMember::HorizontalScrollSpeed), QStringLiteral("3"));
        s.main.saveActive();
        QCOMPARE(readFile(copy + QStringLiteral(".orig")), expected);
        QCOMPARE(readFile(s.module), s.original); // Save As left the module opened as it was
    }

    // A refused save makes no .orig, and brings the first empty box into view with the focus.
    void refusedSaveKeepsNothingAndShowsTheBox() {
        Session s(prx::ModuleKind::Vsh, 12);
        s.vsh()->box(prx::VshMember::UMDIconPhoto)->clear(); // UMD Photo icon, tab "Multiple Icons"
        s.vsh()->tabs()->setCurrentIndex(0);
        s.main.saveActive();
        QCOMPARE(s.dialogs.messages().last().text, QStringLiteral("One of the value is empty"));
        QVERIFY(!QFileInfo::exists(s.module + QStringLiteral(".orig")));
        QCOMPARE(readFile(s.module), s.original);
        QCOMPARE(s.vsh()->tabs()->currentIndex(), 2);
        QCOMPARE(s.main.focusWidget(), s.vsh()->box(prx::VshMember::UMDIconPhoto));
    }

    // Commands that need an editor are off while none is active.
    void commandsNeedAnEditor() {
        DataFolder data;
        ScriptedDialogs dialogs;
        ui::MainWindow main;
        main.show();
        for (const char* name : {"actionSave", "actionSaveAs", "actionExportLook", "actionImportLook",
                                 "actionUndo", "actionRedo", "actionReviewChanges"})
            QVERIFY2(!main.findChild<QAction*>(QString::fromLatin1(name))->isEnabled(), name);
        main.openFile(data.write(QStringLiteral("paf.prx"), makePaf(3).bytes));
        for (const char* name : {"actionSave", "actionSaveAs", "actionExportLook", "actionReviewChanges"})
            QVERIFY2(main.findChild<QAction*>(QString::fromLatin1(name))->isEnabled(), name);
    }

    // Tab leaves a number box without a balloon; Ctrl+PgDn and Ctrl+PgUp walk the tabs.
    void keyboardMovesAround() {
        Session s(prx::ModuleKind::Vsh, 12);
        s.vsh()->tabs()->setCurrentIndex(3);
        QLineEdit* box = s.vsh()->box(prx::VshMember::XmbX);
        box->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&s.main));
        QTest::keyClick(box, Qt::Key_Tab);
        QVERIFY(!box->hasFocus());
        QVERIFY(!ui::visibleBalloon());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(s.vsh()->tabs()->currentIndex(), 4);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(s.vsh()->tabs()->currentIndex(), 2);
    }

    // A failed load names the file and the value in its description.
    void failedLoadNamesFileAndValue() {
        DataFolder data;
        ScriptedDialogs dialogs;
        ui::MainWindow main;
        QByteArray bytes = makeVsh(12).bytes;
        bytes.replace(known::vshOffset(12, prx::VshMember::UMDIconMusic), 255, QByteArray(255, 'x'));
        main.openFile(data.write(QStringLiteral("broken.prx"), bytes));
        QCOMPARE(dialogs.messages().size(), 1);
        const QString text = dialogs.messages().first().text;
        QVERIFY2(text.startsWith(
                     QStringLiteral("Error 5 occurred! (Invalid procedure call or argument: UMDIconMusic")),
                 qPrintable(text));
        QVERIFY2(text.endsWith(QStringLiteral(" in broken.prx)")), qPrintable(text));
        QVERIFY(editorsOf(main).isEmpty());
    }

    // Export Look gives a name without an extension the look files' own.
    void exportAddsJson() {
        Session s(prx::ModuleKind::Paf, 4, QStringLiteral("paf.prx"));
        s.dialogs.files = {s.data.file(QStringLiteral("mylook"))};
        trigger(s.main, "actionExportLook");
        QVERIFY(QFileInfo::exists(s.data.file(QStringLiteral("mylook.json"))));
        QVERIFY(!QFileInfo::exists(s.data.file(QStringLiteral("mylook"))));
    }
};

QM_GUI_TEST(EditingTest);

#include "editing_test.moc"
