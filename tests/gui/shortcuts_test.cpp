// Every shortcut that a menu shows works from inside an editor of either
// kind, with the caret in a value box: the key runs the menu's command once.

#include "editor_helpers.h"
#include "guitest.h"
#include "scripteddialogs.h"
#include "shell_helpers.h"

#include "prx/config.h"
#include "shell/configstore.h"
#include "shell/editorwindow.h"
#include "shell/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

using namespace qm;
using namespace qm::test;

namespace {

// Every action of the menu bar's menus, submenus included, that shows a key.
QList<QAction*> actionsWithKeys(const QMenuBar* bar) {
    QList<QAction*> found;
    QList<QMenu*> menus;
    for (QAction* top : bar->actions())
        if (top->menu())
            menus.append(top->menu());
    while (!menus.isEmpty()) {
        QMenu* menu = menus.takeFirst();
        for (QAction* a : menu->actions()) {
            if (a->menu())
                menus.append(a->menu());
            else if (!a->shortcuts().isEmpty())
                found.append(a);
        }
    }
    return found;
}

QString keysOf(const QAction* action) {
    QStringList keys;
    for (const QKeySequence& k : action->shortcuts())
        keys.append(k.toString());
    return keys.join(u", ");
}

} // namespace

class ShortcutsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyMenuKeyWorksInAnEditor_data() {
        QTest::addColumn<bool>("vsh");
        QTest::addRow("vshmain.prx") << true;
        QTest::addRow("paf.prx") << false;
    }

    // Each key in a fresh window: an edit is made first (so that Undo has a
    // step), and undone first for Redo. Questions get their default answers.
    void everyMenuKeyWorksInAnEditor() {
        QFETCH(bool, vsh);
        QStringList checked;
        for (int index = 0;; ++index) {
            DataFolder data;
            ScriptedDialogs dialogs;
            const QString module = data.write(vsh ? QStringLiteral("vshmain.prx") : QStringLiteral("paf.prx"),
                                              vsh ? makeVsh(13).bytes : makePaf(11).bytes);
            ui::MainWindow main;
            QVERIFY(main.config().setValue(prx::kKeyCompPrx, QStringLiteral("0")));
            main.show();
            QVERIFY(QTest::qWaitForWindowActive(&main));
            main.openFile(module);
            const QList<QAction*> actions = actionsWithKeys(main.menuBar());
            QVERIFY(actions.size() >= 10);
            if (index >= actions.size())
                break;
            QAction* action = actions[index];
            ui::EditorWindow* child = main.activeChild();
            QVERIFY(child);
            QLineEdit* box = vsh ? child->editor()->box(prx::VshMember::ClockX)
                                 : child->editor()->box(prx::PafMember::GlowBlinkSpeed);
            QVERIFY(box);
            box->setFocus();
            QTRY_VERIFY(box->hasFocus());
            QTest::keyClicks(box, QStringLiteral("5"));
            if (action->objectName() == QLatin1String("actionRedo"))
                child->document().undoStack()->undo();
            for (const QKeySequence& key : action->shortcuts()) {
                QVERIFY(action->isEnabled());
                QSignalSpy triggered(action, &QAction::triggered);
                QWidget* target = box->isVisible() ? static_cast<QWidget*>(box) : &main;
                QTest::keySequence(target, key);
                QVERIFY2(
                    triggered.size() == 1,
                    qPrintable(QStringLiteral("%1 (%2) did nothing").arg(action->text(), key.toString())));
                if (action->objectName() == QLatin1String("actionRedo"))
                    child->document().undoStack()->undo(); // the next key redoes again
            }
            checked.append(QStringLiteral("%1 %2").arg(action->objectName(), keysOf(action)));
        }
        // The keys the menus show, each one pressed.
        for (const char* name :
             {"actionOpen", "actionSave", "actionClose", "actionExit", "actionUndo", "actionRedo",
              "actionTileHorizontally", "actionTileVertically", "actionCascade", "actionArrangeIcons"})
            QVERIFY2(checked.join(u'\n').contains(QLatin1String(name)), name);
    }
};

QM_GUI_TEST(ShortcutsTest);

#include "shortcuts_test.moc"
