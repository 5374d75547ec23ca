// Number entry in both editors: typing, pasting and dropping go through one
// rule (digits, one minus sign, one decimal mark of the locale), a refused
// character brings up the balloon, and the context menu copies and pastes.

#include "editor_helpers.h"
#include "guitest.h"
#include "scripteddialogs.h"

#include "paf/pafeditor.h"
#include "widgets/balloontip.h"
#include "widgets/numberentry.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace qm;
using namespace qm::test;

namespace {

// A shown editor of each kind in `locale`, and one number box of each on view.
struct Boxes {
    OpenedVsh vsh;
    QTemporaryDir dir;
    std::unique_ptr<ui::EditorWindow> pafWindow;
    ui::PafEditor* paf = nullptr; // the window's
    QList<QLineEdit*> boxes;

    explicit Boxes(const QLocale& locale) : vsh(openVsh(14, locale)) {
        const QString path = dir.filePath(QStringLiteral("paf.prx"));
        writeFile(path, makePaf(5, 3).bytes);
        pafWindow = std::make_unique<ui::EditorWindow>(prx::ModuleKind::Paf);
        paf = &formOf<ui::PafEditor>(*pafWindow);
        paf->setLocale(locale);
        if (!pafWindow->loadFile(path, test::pafRow(5)))
            qFatal("fixture module did not load");
        vsh.form->tabs()->setCurrentIndex(3); // XMB Position
        paf->tabs()->setCurrentIndex(2);      // Other
        vsh.window->show();
        pafWindow->show();
        boxes = {vsh.form->box(prx::VshMember::ClockX), paf->box(prx::PafMember::GlowBlinkSpeed)};
    }
};

void expectBalloon(bool shown) {
    QWidget* balloon = ui::visibleBalloon();
    QCOMPARE(balloon != nullptr, shown);
    if (shown) {
        QCOMPARE(balloon->accessibleName(), QStringLiteral("Information :"));
        QCOMPARE(balloon->accessibleDescription(),
                 QStringLiteral("Just negative, decimale\nand entire numeric key !"));
    }
    ui::hideBalloon();
}

} // namespace

class NumberEntryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void judge_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("decision");
        const int accept = int(ui::EntryDecision::Accept);
        const int drop = int(ui::EntryDecision::Drop);
        const int refuse = int(ui::EntryDecision::Refuse);
        QTest::newRow("minus over a selected negative") << "en"
                                                        << "-236.25"
                                                        << "-" << accept;
        QTest::newRow("digit after it") << "en"
                                        << "-"
                                        << "-5" << accept;
        QTest::newRow("number over a selected number") << "en"
                                                       << "1.5"
                                                       << "2" << accept;
        QTest::newRow("second minus typed") << "en"
                                            << "-"
                                            << "--" << drop;
        QTest::newRow("second mark typed") << "en"
                                           << "1.5"
                                           << "1.5." << drop;
        QTest::newRow("pasted number") << "en"
                                       << ""
                                       << "-12.5" << accept;
        QTest::newRow("pasted over a selection") << "en"
                                                 << "7"
                                                 << "0.25" << accept;
        QTest::newRow("pasted two minus signs") << "en"
                                                << ""
                                                << "1-2-3" << refuse;
        QTest::newRow("pasted word") << "en"
                                     << "1"
                                     << "1abc" << refuse;
        QTest::newRow("pasted blank") << "en"
                                      << "1"
                                      << "1 2" << refuse;
        QTest::newRow("exponent shortened") << "en"
                                            << "1.6777216e+07"
                                            << "1.6777216e+0" << accept;
        QTest::newRow("digit into an exponent") << "en"
                                                << "1e+07"
                                                << "1e+075" << accept;
        QTest::newRow("comma in French") << "fr"
                                         << "1"
                                         << "1," << accept;
        QTest::newRow("period in French") << "fr"
                                          << "1"
                                          << "1." << refuse;
        QTest::newRow("comma in English") << "en"
                                          << "1"
                                          << "1," << accept;
        QTest::newRow("pasted French number") << "fr"
                                              << ""
                                              << "-7,25" << accept;
    }

    // The rule judges the text that typing, a paste or a drop would give.
    void judge() {
        QFETCH(QString, locale);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(int, decision);
        QCOMPARE(int(ui::judgeEntry(before, after, localeNamed(locale))), decision);
    }

    void typing_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("selected"); // the whole text selected first
        QTest::addColumn<QString>("typed"); // characters, or a key: <Escape>, <Return>, <Backspace>, <Ctrl+X>
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("balloon");
        for (const char* loc : {"en", "fr"}) {
            const bool english = qstrcmp(loc, "en") == 0;
            auto row = [loc](const char* name) -> QTestData& { return QTest::addRow("%s: %s", loc, name); };
            row("digit") << loc << "1" << false << "5"
                         << "15" << false;
            row("second minus") << loc << "-5" << false << "-"
                                << "-5" << false;
            row("minus after digits") << loc << "12" << false << "-"
                                      << "12-" << false;
            row("minus into empty") << loc << "" << false << "-"
                                    << "-" << false;
            row("second comma") << loc << "1,5" << false << ","
                                << "1,5" << false;
            row("first comma") << loc << "1" << false << ","
                               << "1," << false;
            row("period") << loc << "1" << false << "." << (english ? "1." : "1") << !english;
            row("period after comma") << loc << "1,5" << false << "."
                                      << "1,5" << !english;
            row("comma after period") << loc << "1.5" << false << "," << (english ? "1.5" : "1.5,") << false;
            row("letter") << loc << "12" << false << "a"
                          << "12" << true;
            row("blank") << loc << "12" << false << " "
                         << "12" << true;
            row("plus") << loc << "12" << false << "+"
                        << "12" << true;
            row("escape") << loc << "1" << false << "<Escape>"
                          << "1" << true;
            row("enter") << loc << "12" << false << "<Return>"
                         << "12" << true;
            row("backspace after minus") << loc << "-5-" << false << "<Backspace>"
                                         << "-5" << false;
            row("cut") << loc << "12" << true << "<Ctrl+X>"
                       << "12" << true;
            row("minus number over a selected negative") << loc << "-236,25" << true << "-5"
                                                         << "-5" << false;
            row("number over a selected number") << loc << "1,5" << true << "2,5"
                                                 << "2,5" << false;
            row("two minus signs typed") << loc << "" << false << "--5"
                                         << "-5" << false;
        }
        QTest::newRow("en: typed over a selected negative") << "en"
                                                            << "-236.25" << true << "-5"
                                                            << "-5" << false;
        QTest::newRow("en: typed over a selected number") << "en"
                                                          << "1.5" << true << "2.5"
                                                          << "2.5" << false;
    }

    // Both editors' boxes take digits, one minus sign and one decimal mark,
    // judged on the text the typing gives.
    void typing() {
        QFETCH(QString, locale);
        QFETCH(QString, before);
        QFETCH(bool, selected);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        QFETCH(bool, balloon);
        ScriptedDialogs dialogs;
        Boxes b(localeNamed(locale));
        for (QLineEdit* box : b.boxes) {
            QVERIFY(QTest::qWaitForWindowExposed(box->window()));
            box->setText(before);
            if (selected)
                box->selectAll();
            ui::hideBalloon();
            if (typed == u"<Escape>")
                QTest::keyClick(box, Qt::Key_Escape);
            else if (typed == u"<Return>")
                QTest::keyClick(box, Qt::Key_Return);
            else if (typed == u"<Backspace>")
                QTest::keyClick(box, Qt::Key_Backspace);
            else if (typed == u"<Ctrl+X>")
                QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
            else
                QTest::keyClicks(box, typed);
            QCOMPARE(box->text(), after);
            expectBalloon(balloon);
        }
        QVERIFY(dialogs.calls.isEmpty());
    }

    void pasting_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("how"); // "menu", "keys" (Shift+Insert) or "drop"
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("balloon");
        for (const char* how : {"menu", "keys", "drop"}) {
            QTest::addRow("%s: number", how) << "en" << how << "-12.5"
                                             << "-12.5" << false;
            QTest::addRow("%s: French number", how) << "fr" << how << "7,25"
                                                    << "7,25" << false;
            QTest::addRow("%s: word", how) << "en" << how << "twelve"
                                           << "3" << true;
            QTest::addRow("%s: two minus signs", how) << "en" << how << "1-2-3"
                                                      << "3" << true;
        }
    }

    // A valid number pasted or dropped over the box's text replaces it; anything else is refused with the
    // balloon.
    void pasting() {
        QFETCH(QString, locale);
        QFETCH(QString, how);
        QFETCH(QString, clipboard);
        QFETCH(QString, after);
        QFETCH(bool, balloon);
        Boxes b(localeNamed(locale));
        for (QLineEdit* box : b.boxes) {
            QVERIFY(QTest::qWaitForWindowExposed(box->window()));
            box->setText(QStringLiteral("3"));
            box->setFocus();
            box->selectAll();
            ui::hideBalloon();
            QApplication::clipboard()->setText(clipboard);
            if (how == u"menu") {
                std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
                QAction* paste = nullptr;
                for (QAction* a : menu->actions())
                    if (a->text().remove(u'&').startsWith(u"Paste"))
                        paste = a;
                QVERIFY(paste && paste->isEnabled());
                paste->trigger();
            } else if (how == u"keys") {
                QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
            } else {
                box->clear();
                QMimeData data;
                data.setText(clipboard);
                const QPoint at(2, box->height() / 2);
                QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
                QApplication::sendEvent(box, &enter);
                QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
                QApplication::sendEvent(box, &move);
                QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
                QApplication::sendEvent(box, &drop);
                if (balloon)
                    box->setText(QStringLiteral("3"));
            }
            QCOMPARE(box->text(), after);
            expectBalloon(balloon);
        }
    }

    // The context menu copies the box's text; the edit it pastes is one step of the editor.
    void contextMenuCopies() {
        Boxes b(kEnglish);
        QLineEdit* box = b.boxes.first();
        box->setText(QStringLiteral("42.5"));
        box->selectAll();
        std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
        QAction* copy = nullptr;
        for (QAction* a : menu->actions())
            if (a->text().remove(u'&').startsWith(u"Copy"))
                copy = a;
        QVERIFY(copy && copy->isEnabled());
        QApplication::clipboard()->clear();
        copy->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("42.5"));
        QCOMPARE(box->contextMenuPolicy(), Qt::DefaultContextMenu);
        QVERIFY(box->acceptDrops());
    }
};

QM_GUI_TEST(NumberEntryTest);

#include "numberentry_test.moc"
