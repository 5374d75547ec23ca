#include "editor_helpers.h"
#include "guitest.h"
#include "scripteddialogs.h"

#include "prx/catalogue.h"
#include "support/known_offsets.h"
#include "vsh/colorgrid.h"
#include "vsh/menutab.h"
#include "widgets/colorbox.h"
#include "widgets/typinglimit.h"
#include "widgets/windowhelpers.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace qm;
using namespace qm::test;
using ui::MsgIcon;
using ui::VshEditor;

namespace {

// Every control the window holds a value in, for blanket checks.
QList<QWidget*> valueControls(const VshEditor& form) {
    QList<QWidget*> out;
    for (int i = 0; i < kVshNumberBoxes; ++i)
        out.append(form.txtPRXValue(i));
    for (int i = 0; i < kVshTextBoxes; ++i)
        out.append(form.txtPRXValue2(i));
    for (ui::ColorBox* box : form.colorGrid()->allBoxes())
        out.append(box);
    return out;
}

} // namespace

class VshEditorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newWindowShowsNothingAndOffersNoEditing() {
        VshEditor form;
        QCOMPARE(form.objectName(), QStringLiteral("VshEditor"));
        QCOMPARE(form.windowTitle(), QStringLiteral("VSHMain.rad Ededid"));
        QVERIFY(!form.windowIcon().isNull());
        const QSize client(462, 457);
        QCOMPARE(form.minimumSize(), client);
        QCOMPARE(form.maximumSize(), client);
        QCOMPARE(form.versionIndex(), -1);
        QVERIFY(form.statusFile().isEmpty());

        QTabWidget* tabs = form.tabs();
        QCOMPARE(tabs->objectName(), QStringLiteral("VSHTabs"));
        QVERIFY(tabs->isEnabled());
        const QStringList titles = latin1(
            {"XMB Colors", "Alpha Channel", "Multiple Icons", "XMB Position", "Other", "Path", "Menu"});
        QCOMPARE(tabs->count(), titles.size());
        for (int t = 0; t < tabs->count(); ++t) {
            QCOMPARE(tabs->tabText(t), titles[t]);
            QCOMPARE(tabs->widget(t)->accessibleName(), titles[t]);
        }

        for (QWidget* w : valueControls(form))
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        for (int i = 0; i < kVshTextBoxes; ++i)
            QVERIFY(form.txtPRXValue2(i)->text().isEmpty());
        for (int i = 0; i < kVshNumberBoxes; ++i) {
            QVERIFY(form.txtPRXValue(i)->text().isEmpty());
            QCOMPARE(form.txtPRXValue(i)->contextMenuPolicy(), Qt::PreventContextMenu);
        }
        for (int k = 0; k <= 42; ++k)
            QVERIFY2(!form.lblPRXValue(k)->isEnabled(), qPrintable(QString::number(k)));
        for (int i = 0; i < 8; ++i)
            QVERIFY(!form.textLabel(i)->isEnabled());
        QVERIFY(!form.updatePathHint()->isEnabled());
        QVERIFY(!form.rcoPathHint()->isEnabled());

        const ui::VshColorGrid& grid = *form.colorGrid();
        for (QLabel* l : grid.lblMonth)
            QVERIFY(!l->isEnabled());
        for (QLabel* l : grid.lblSlimItem)
            QVERIFY(l->isEnabled());
        QVERIFY(grid.lblMonthDes->isEnabled());
        QVERIFY(grid.lblSlimExtra->isEnabled());
        QVERIFY(!grid.lblInstructions->isEnabled());
        for (QLabel* l :
             {grid.lblTextDes[0], grid.lblTextDes[1], grid.lblContextDes[0], grid.lblContextDes[1]})
            QVERIFY(!l->isEnabled());

        const ui::VshMenuTab& menu = *form.menuTab();
        QCOMPARE(menu.rowCount(), 0);
        for (QComboBox* c :
             {menu.cboVSHMenu130x, menu.cboVSHMenu137x, menu.cboVSHMenu230x, menu.cboVSHMenu237x}) {
            QVERIFY(!c->isEnabled());
            QVERIFY(c->isHidden());
        }
        QVERIFY(!menu.cboVSHMenu3->isEnabled());
        QVERIFY(!menu.cboVSHMenu3->isHidden());
        QVERIFY(!menu.chkVSHMenu[0]->isEnabled());
        QVERIFY(!menu.chkVSHMenu[1]->isEnabled());

        for (QGroupBox* frame : form.findChildren<QGroupBox*>())
            QCOMPARE(frame->isEnabled(), frame != form.formatFrame());
        QLabel* notCoded = form.findChild<QLabel*>(QStringLiteral("Label1"));
        QVERIFY(notCoded);
        QCOMPARE(notCoded->text(), QStringLiteral("Write Function Not Coded"));
        QCOMPARE(notCoded->palette().color(QPalette::Disabled, QPalette::WindowText), QColor(Qt::red));
    }

    void frames_data() {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QList<int>>("boxes"); // number boxes, top to bottom
        QTest::newRow("frameACGen") << "frameACGen" << 1 << "General" << QList<int>{18, 19, 27};
        QTest::newRow("frameACOther") << "frameACOther" << 1 << "Other" << QList<int>{22, 23};
        QTest::newRow("frameXMB") << "frameXMB" << 3 << "XMB Position" << QList<int>{0, 1, 2, 3};
        QTest::newRow("frameHold") << "frameHold" << 3 << "Hold Position" << QList<int>{24, 7, 25, 8};
        QTest::newRow("frameClock") << "frameClock" << 3 << "Clock Position" << QList<int>{9, 10, 11};
        QTest::newRow("frameMute") << "frameMute" << 3 << "Mute Position" << QList<int>{4, 5, 26, 6};
        QTest::newRow("frameIcons") << "frameIcons" << 3 << "Icons Position" << QList<int>{12, 13, 14};
        QTest::newRow("frameMS") << "frameMS" << 3 << "MS Option Position" << QList<int>{20, 21};
        QTest::newRow("frameOther") << "frameOther" << 4 << "Other" << QList<int>{15, 16, 17};
        QTest::newRow("frameMultMS") << "frameMultMS" << 2 << "Multiple MS Icons" << QList<int>{};
        QTest::newRow("frameMultUMD") << "frameMultUMD" << 2 << "Multiple UMD Icons" << QList<int>{};
        QTest::newRow("formatFrame") << "formatFrame" << 4 << "Hours / Date Format" << QList<int>{};
    }

    // Each frame sits on its tab with its title, its boxes one under the other in order.
    void frames() {
        QFETCH(QString, frame);
        QFETCH(int, tab);
        QFETCH(QString, title);
        QFETCH(QList<int>, boxes);
        VshEditor form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.tabs()->setCurrentIndex(tab);
        QApplication::processEvents();
        auto* group = form.findChild<QGroupBox*>(frame);
        QVERIFY(group);
        QCOMPARE(group->title(), title);
        QCOMPARE(accessibleName(group), title);
        QVERIFY(form.tabs()->widget(tab)->isAncestorOf(group));
        int previousY = -1;
        for (int box : boxes) {
            QCOMPARE(form.txtPRXValue(box)->parentWidget(), group);
            QCOMPARE(form.numberLabel(box)->parentWidget(), group);
            QVERIFY(form.txtPRXValue(box)->y() > previousY);
            previousY = form.txtPRXValue(box)->y();
        }
        if (!boxes.isEmpty())
            QCOMPARE(group->findChildren<QLineEdit*>().size(), boxes.size());
    }

    void numberCaptions_data() {
        QTest::addColumn<int>("box");
        for (int i = 0; i < kVshNumberBoxes; ++i)
            QTest::addRow("%d", i) << i;
    }

    // Each number box has a caption label of its own as buddy, which names it
    // for assistive tools; the box takes any length of text.
    void numberCaptions() {
        QFETCH(int, box);
        VshEditor form;
        QLineEdit* edit = form.findChild<QLineEdit*>(ui::indexedName(QStringLiteral("txtPRXValue"), box));
        QVERIFY(edit);
        QCOMPARE(edit, form.txtPRXValue(box));
        QLabel* lbl = form.numberLabel(box);
        QVERIFY(lbl && lbl->objectName().startsWith(QStringLiteral("lblPRXValue(")));
        QCOMPARE(lbl->buddy(), edit);
        QVERIFY(!lbl->text().trimmed().isEmpty());
        QCOMPARE(accessibleName(edit), lbl->text().simplified());
        int buddies = 0;
        for (QLabel* other : form.findChildren<QLabel*>())
            buddies += other->buddy() == edit ? 1 : 0;
        QCOMPARE(buddies, 1);
        QCOMPARE(ui::typingLimit(edit), -1);
        QCOMPARE(edit->maxLength(), 32767);
    }

    // Captions whose blanks matter, and captions that name the same place twice.
    void captionsWithBlanks() {
        VshEditor form;
        QCOMPARE(form.numberLabel(14)->text(), QStringLiteral("Main Icon Y :       (Unfocused)"));
        QCOMPARE(form.numberLabel(2)->text(), QStringLiteral(" X (In Submenu) :"));
        QCOMPARE(form.lblPRXValue(25), form.numberLabel(14));
        QCOMPARE(form.lblPRXValue(29)->text(), QStringLiteral("MS Option Icon :"));
    }

    void textCaptions_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("accessible");
        QTest::addColumn<int>("limit");
        const char* icons[] = {"Photo", "Music", "Video", "Game"};
        for (int i = 0; i < 4; ++i) {
            const QString ms = QStringLiteral("%1 MS Icon :").arg(QLatin1StringView(icons[i]));
            const QString umd = QStringLiteral("%1 UMD Icon :").arg(QLatin1StringView(icons[i]));
            QTest::addRow("%d", i) << i << QStringLiteral("lblMultMSIcons(%1)").arg(i) << ms << ms << 20;
            QTest::addRow("%d", i + 4)
                << i + 4 << QStringLiteral("lblMultUMDIcon(%1)").arg(i) << umd << umd << 20;
        }
        QTest::addRow("8") << 8 << "lblPRXValue(22)"
                           << "UMD Update :"
                           << "UMD Update : 1" << -1;
        QTest::addRow("9") << 9 << ""
                           << ""
                           << "UMD Update : 2" << -1;
        QTest::addRow("10") << 10 << ""
                            << ""
                            << "UMD Update : 3" << -1;
        QTest::addRow("11") << 11 << "lblPRXValue(23)"
                            << "RCO :"
                            << "RCO : 1" << -1;
        QTest::addRow("12") << 12 << ""
                            << ""
                            << "RCO : 2" << -1;
        const char* rows[] = {"Date Format in XMB :", "Time Format in XMB :", "Date Format in ??? :",
                              "Like Time Format in ??? :", "Unknow :"};
        const int limits[] = {5, 5, 5, 5, 2};
        for (int r = 0; r < 5; ++r) {
            const QString row = QString::fromLatin1(rows[r]);
            QTest::addRow("%d", 13 + r) << 13 + r << QStringLiteral("lblPRXValue(%1)").arg(32 + r) << row
                                        << row + QStringLiteral(" Europe") << limits[r];
            QTest::addRow("%d", 18 + r) << 18 + r << ""
                                        << "" << row + QStringLiteral(" US / Japan") << limits[r];
        }
    }

    void textCaptions() {
        QFETCH(int, box);
        QFETCH(QString, label);
        QFETCH(QString, caption);
        QFETCH(QString, accessible);
        QFETCH(int, limit);
        VshEditor form;
        QLineEdit* edit = form.findChild<QLineEdit*>(ui::indexedName(QStringLiteral("txtPRXValue2"), box));
        QVERIFY(edit);
        QCOMPARE(edit, form.txtPRXValue2(box));
        if (!label.isEmpty()) {
            auto* lbl = form.findChild<QLabel*>(label);
            QVERIFY(lbl);
            QCOMPARE(lbl->text(), caption);
            QCOMPARE(lbl->buddy(), edit);
        }
        QCOMPARE(accessibleName(edit), accessible);
        QCOMPARE(ui::typingLimit(edit), limit);
        QCOMPARE(edit->contextMenuPolicy(), Qt::DefaultContextMenu);
    }

    void formatGridAndHints() {
        VshEditor form;
        const QStringList legend =
            latin1({"%d : Day", "%m : Month", "%H : Hour", "%M : Minute", "%I : Unknow", "%p : Unknow"});
        for (int i = 0; i < legend.size(); ++i)
            QCOMPARE(form.lblPRXValue(37 + i)->text(), legend[i]);
        QCOMPARE(form.lblPRXValue(30)->text(), QStringLiteral("Europe :"));
        QCOMPARE(form.lblPRXValue(31)->text(), QStringLiteral("US / Japan :"));
        for (int k = 30; k <= 42; ++k)
            QVERIFY(form.formatFrame()->isAncestorOf(form.lblPRXValue(k)));
        for (int i = 13; i <= 22; ++i)
            QVERIFY(form.formatFrame()->isAncestorOf(form.txtPRXValue2(i)));
        QCOMPARE(form.updatePathHint()->objectName(), QStringLiteral("updatePathHint"));
        QCOMPARE(form.updatePathHint()->text(),
                 QStringLiteral("To hide the Update icon, Change the UPDATE dir to a fake dir..."));
        QCOMPARE(form.rcoPathHint()->text(),
                 QStringLiteral("To redirect RCO to MS, Change flash0:/ to ms0:/..."));
        QCOMPARE(form.colorGrid()->lblInstructions->text(),
                 QStringLiteral("Click the boxes to change color"));
    }

    void typingStopsAtTheLimitButLoadedTextsStayWhole() {
        VshEditor form;
        QLineEdit* icon = form.txtPRXValue2(2);
        QLineEdit* path = form.txtPRXValue2(9);
        icon->setEnabled(true);
        path->setEnabled(true);
        QTest::keyClicks(icon, QString(25, QLatin1Char('a')));
        QCOMPARE(icon->text(), QString(20, QLatin1Char('a')));
        QTest::keyClicks(path, QString(80, QLatin1Char('p')));
        QCOMPARE(path->text().size(), 80);
        const QString loaded(30, QLatin1Char('L'));
        icon->setText(loaded);
        QCOMPARE(icon->text(), loaded);
        QTest::keyClick(icon, Qt::Key_Backspace);
        QCOMPARE(icon->text(), loaded.left(29));
        QTest::keyClick(icon, Qt::Key_B);
        QCOMPARE(icon->text(), loaded.left(29));
    }

    void monthNamesFollowTheLocale_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("january");
        QTest::addColumn<QString>("december");
        QTest::newRow("English") << kEnglish << "January"
                                 << "December";
        QTest::newRow("French") << kFrench << "Janvier" << QString::fromUtf8("Décembre");
        QTest::newRow("German") << QLocale(QLocale::German) << "Januar"
                                << "Dezember";
    }

    // Month names come from the locale, first letter upper-cased; they also name the colour boxes.
    void monthNamesFollowTheLocale() {
        QFETCH(QLocale, locale);
        QFETCH(QString, january);
        QFETCH(QString, december);
        VshEditor form;
        form.setLocale(locale);
        const ui::VshColorGrid& grid = *form.colorGrid();
        QCOMPARE(grid.lblMonth[0]->text(), january);
        QCOMPARE(grid.lblMonth[11]->text(), december);
        QCOMPARE(accessibleName(grid.picText[0]), january + QStringLiteral(" Text"));
        QCOMPARE(accessibleName(grid.picContext[11]), december + QStringLiteral(" Infobar"));
        for (int i = 0; i < prx::kSlimItemCount; ++i) {
            const QString item = QStringLiteral("Item%1").arg(i + 13);
            QCOMPARE(grid.lblSlimItem[static_cast<std::size_t>(i)]->text(), item);
            QCOMPARE(accessibleName(grid.picTextSlim[static_cast<std::size_t>(i)]),
                     item + QStringLiteral(" Text"));
            QCOMPARE(accessibleName(grid.picContextSlim[static_cast<std::size_t>(i)]),
                     item + QStringLiteral(" Infobar"));
        }
    }

    void layoutFitsTheWindow_data() {
        QTest::addColumn<int>("version");
        for (int v : {1, 7, 11, 12, 14})
            QTest::addRow("%s", prx::vshRelease(v).label) << v;
    }

    // Nothing on a tab is cut off or overlaps another control.
    void layoutFitsTheWindow() {
        QFETCH(int, version);
        OpenedVsh o = openVsh(version);
        VshEditor& form = *o.form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // All seven tabs in one row, none cut off.
        QTabBar* bar = form.tabs()->tabBar();
        QVERIFY(bar->tabRect(bar->count() - 1).right() <= form.tabs()->width());
        for (int t = 0; t < bar->count(); ++t)
            QVERIFY(bar->tabRect(t).width() >= bar->fontMetrics().horizontalAdvance(bar->tabText(t)));
        const QString shots = qEnvironmentVariable("QUILLMARK_FRMVSH_SHOTS");
        for (int t = 0; t < form.tabs()->count(); ++t) {
            form.tabs()->setCurrentIndex(t);
            QApplication::processEvents();
            QWidget* page = form.tabs()->widget(t);
            if (!shots.isEmpty())
                form.grab().save(QStringLiteral("%1/frmvsh-v%2-tab%3.png").arg(shots).arg(version).arg(t));
            if (page == form.menuTab()) { // every cell's text fits its column, no column is out of view
                QTableView* list = form.menuTab()->lstvVSHMenu;
                const ui::VshMenuTab& tab = *form.menuTab();
                int total = 0;
                for (int c = 0; c < ui::VshMenuModel::ColumnCount; ++c) {
                    total += list->columnWidth(c);
                    for (int r = 0; r < tab.rowCount(); ++r) {
                        const QString text = tab.cell(r, static_cast<ui::VshMenuModel::Column>(c));
                        QVERIFY2(list->fontMetrics().horizontalAdvance(text) + 6 <= list->columnWidth(c),
                                 qPrintable(text));
                    }
                }
                QVERIFY(total <= list->viewport()->width());
            }
            QList<QWidget*> shown;
            for (QWidget* w : page->findChildren<QWidget*>()) {
                if (!w->isVisibleTo(page) || qobject_cast<QGroupBox*>(w) || w->parentWidget() == nullptr)
                    continue;
                const QRect r(w->mapTo(page, QPoint(0, 0)), w->size());
                QVERIFY2(page->rect().contains(r), qPrintable(w->objectName()));
                if (qobject_cast<QLabel*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<ui::ColorBox*>(w))
                    shown.append(w);
            }
            for (QWidget* a : shown) {
                if (auto* label = qobject_cast<QLabel*>(a); label && label->wordWrap())
                    QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                             qPrintable(a->objectName()));
                const QRect ra(a->mapTo(page, QPoint(0, 0)), a->size());
                for (QWidget* b : shown) {
                    const QRect rb(b->mapTo(page, QPoint(0, 0)), b->size());
                    QVERIFY2(a == b || !ra.intersects(rb),
                             qPrintable(a->objectName() + QStringLiteral(" / ") + b->objectName()));
                }
            }
        }
    }

    void load_data() { addVshReleaseRows(); }

    // Every value of the release is shown as the module holds it.
    void load() {
        QFETCH(int, version);
        ScriptedDialogs dialogs;
        OpenedVsh o = openVsh(version, kEnglish, 5);
        const VshEditor& form = *o.form;
        const prx::ModuleValues& expected = o.fixture.expected;
        QVERIFY(dialogs.calls.isEmpty());
        QCOMPARE(form.statusVersion(), QString::fromLatin1(known::vshRelease(version).label) + u' ');
        QCOMPARE(form.statusFile(), o.path + u' ');
        QCOMPARE(form.versionIndex(), version);
        for (int i = 0; i < kVshNumberBoxes; ++i)
            QCOMPARE(form.txtPRXValue(i)->text(), expectedNumber(expected, i));
        for (int i = 0; i < kVshTextBoxes; ++i)
            QCOMPARE(form.txtPRXValue2(i)->text(), expectedText(expected, i));
        const ui::VshColorGrid& grid = *form.colorGrid();
        const QList<prx::Rgb> text = expectedColours(expected, prx::VshMember::TextColors);
        const QList<prx::Rgb> context = expectedColours(expected, prx::VshMember::ContextColors);
        for (std::size_t i = 0; i < grid.picText.size(); ++i) {
            QCOMPARE(grid.picText[i]->color(), text[static_cast<qsizetype>(i)]);
            QCOMPARE(grid.picContext[i]->color(), context[static_cast<qsizetype>(i)]);
            QCOMPARE(accessibleDescription(grid.picText[i]), prx::rgbToHex(text[static_cast<qsizetype>(i)]));
            QCOMPARE(grid.picText[i]->toolTip(), prx::rgbToHex(text[static_cast<qsizetype>(i)]));
        }
        if (version >= 11) {
            const QList<prx::Rgb> slimText = expectedColours(expected, prx::VshMember::TextColorsSlim);
            const QList<prx::Rgb> slimContext = expectedColours(expected, prx::VshMember::ContextColorsSlim);
            for (std::size_t i = 0; i < grid.picTextSlim.size(); ++i) {
                QCOMPARE(grid.picTextSlim[i]->color(), slimText[static_cast<qsizetype>(i)]);
                QCOMPARE(grid.picContextSlim[i]->color(), slimContext[static_cast<qsizetype>(i)]);
            }
        }
        const QList<MenuRow> rows = menuRows(*form.menuTab());
        QCOMPARE(rows, expectedMenuRows(expected));
        const int entries = version < 8 ? 0 : (version <= 9 || version == 14 ? 24 : 23);
        QCOMPARE(rows.size(), entries);
        if (entries > 0)
            QCOMPARE(form.menuTab()->selectedRow(), 0);
    }

    void availability_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<QList<int>>("emptied"); // off and empty
        QTest::addColumn<QList<int>>("kept");    // off, value kept
        QTest::addColumn<bool>("slimColors");
        QTest::addColumn<QString>("menu"); // "none", "classic", "slim"
        const QList<int> newer{13, 14, 20, 21, 27};
        const QList<int> group1 = QList<int>{17, 12, 15} + newer;
        const QList<int> group2 = QList<int>{15} + newer;
        const struct {
            int from, to;
            QList<int> emptied, kept;
            bool slim;
            const char* menu;
        } groups[] = {
            {1, 1, group1, {}, false, "none"},    {2, 6, group2, {}, false, "none"},
            {7, 7, newer, {}, false, "none"},     {8, 10, newer, {}, false, "classic"},
            {11, 11, newer, {}, true, "classic"}, {12, 14, {}, {12}, true, "slim"},
        };
        for (const auto& g : groups)
            for (int v = g.from; v <= g.to; ++v)
                QTest::addRow("%s", prx::vshRelease(v).label)
                    << v << g.emptied << g.kept << g.slim << QString::fromLatin1(g.menu);
    }

    // After a load the window offers exactly what the release has.
    void availability() {
        QFETCH(int, version);
        QFETCH(QList<int>, emptied);
        QFETCH(QList<int>, kept);
        QFETCH(bool, slimColors);
        QFETCH(QString, menu);
        for (bool reload : {false, true}) {
            OpenedVsh o = openVsh(reload ? 14 : version);
            VshEditor& form = *o.form;
            if (reload) { // the same window, loaded again with another release
                const VshFixture other = makeVsh(version, 3);
                writeFile(o.path, other.bytes);
                QVERIFY(form.load(o.path, version));
            }
            for (int i = 0; i < kVshNumberBoxes; ++i) {
                const bool on = !emptied.contains(i) && !kept.contains(i);
                QVERIFY2(form.txtPRXValue(i)->isEnabled() == on, qPrintable(QString::number(i)));
                QCOMPARE(form.numberLabel(i)->isEnabled(), on);
                QCOMPARE(form.txtPRXValue(i)->text().isEmpty(), emptied.contains(i));
            }
            for (int i = 0; i < kVshTextBoxes; ++i)
                QCOMPARE(form.txtPRXValue2(i)->isEnabled(), i < kVshEditableTexts);
            QVERIFY(form.lblPRXValue(22)->isEnabled());
            QVERIFY(form.lblPRXValue(23)->isEnabled());
            QVERIFY(!form.formatFrame()->isEnabled());
            for (int i = 0; i < 8; ++i)
                QVERIFY(form.textLabel(i)->isEnabled());

            const ui::VshColorGrid& grid = *form.colorGrid();
            for (std::size_t i = 0; i < grid.picText.size(); ++i) {
                QVERIFY(grid.picText[i]->isEnabled() && grid.picContext[i]->isEnabled());
                QVERIFY(grid.lblMonth[i]->isEnabled());
            }
            for (std::size_t i = 0; i < grid.picTextSlim.size(); ++i) {
                QCOMPARE(grid.picTextSlim[i]->isEnabled(), slimColors);
                QCOMPARE(grid.picContextSlim[i]->isEnabled(), slimColors);
                QCOMPARE(grid.lblSlimItem[i]->isEnabled(), slimColors);
            }
            QCOMPARE(grid.lblSlimExtra->isEnabled(), slimColors);
            QCOMPARE(grid.lblTextDes[1]->isEnabled(), slimColors);
            QCOMPARE(grid.lblContextDes[1]->isEnabled(), slimColors);
            QVERIFY(grid.lblTextDes[0]->isEnabled() && grid.lblContextDes[0]->isEnabled());
            QVERIFY(grid.lblMonthDes->isEnabled() && grid.lblInstructions->isEnabled());

            const ui::VshMenuTab& m = *form.menuTab();
            const bool classic = menu == u"classic";
            const bool slim = menu == u"slim";
            QCOMPARE(m.lstvVSHMenu->isEnabled(), classic || slim);
            QCOMPARE(m.rowCount() > 0, classic || slim);
            QCOMPARE(m.cboVSHMenu3->isEnabled(), classic || slim);
            QCOMPARE(m.chkVSHMenu[0]->isEnabled(), classic || slim);
            QCOMPARE(m.chkVSHMenu[1]->isEnabled(), slim);
            QCOMPARE(m.cboVSHMenu130x->isEnabled(), classic);
            QCOMPARE(m.cboVSHMenu230x->isEnabled(), classic);
            QCOMPARE(m.cboVSHMenu137x->isEnabled(), slim);
            QCOMPARE(m.cboVSHMenu237x->isEnabled(), slim);
            QCOMPARE(m.cboVSHMenu130x->isHidden(), slim);
            QCOMPARE(m.cboVSHMenu230x->isHidden(), slim);
            QCOMPARE(m.cboVSHMenu137x->isHidden(), classic);
            QCOMPARE(m.cboVSHMenu237x->isHidden(), classic);
            QVERIFY(!m.cboVSHMenu3->isHidden());
        }
    }

    void emptyPath_data() {
        QTest::addColumn<int>("loadedBefore"); // 0: a new window
        QTest::newRow("new window") << 0;
        QTest::newRow("after a 3.0x load") << 7;
        QTest::newRow("after a 3.71 load") << 12;
    }

    // A load without a path takes the file away and every editing control with it.
    void emptyPath() {
        QFETCH(int, loadedBefore);
        ScriptedDialogs dialogs;
        OpenedVsh o;
        if (loadedBefore)
            o = openVsh(loadedBefore);
        else
            o.form = std::make_unique<VshEditor>();
        const QString version = o.form->statusVersion();
        QVERIFY(o.form->load(QString(), loadedBefore)); // nothing to read, nothing failed
        QVERIFY(dialogs.calls.isEmpty());
        QVERIFY(o.form->statusFile().isEmpty());
        QCOMPARE(o.form->statusVersion(), version);
        for (QWidget* w : valueControls(*o.form))
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        const ui::VshMenuTab& m = *o.form->menuTab();
        for (QComboBox* c : {m.cboVSHMenu130x, m.cboVSHMenu137x, m.cboVSHMenu230x, m.cboVSHMenu237x})
            QVERIFY(c->isHidden() && !c->isEnabled());
        QVERIFY(!m.lstvVSHMenu->isEnabled() && !m.chkVSHMenu[0]->isEnabled());
        QVERIFY(o.form->tabs()->isEnabled());
    }

    void failedLoad_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file") << "missing.prx" << 12 << "Error 53 occurred! (File not found)";
        QTest::newRow("release of another size")
            << "vshmain.prx" << 11 << "Error 59 occurred! (Bad file length)";
        QTest::newRow("text without terminator")
            << "noend.prx" << 12 << "Error 5 occurred! (Invalid procedure call or argument)";
    }

    // A load that fails comes back to the caller and leaves the window showing what it showed.
    void failedLoad() {
        QFETCH(QString, file);
        QFETCH(int, version);
        QFETCH(QString, message);
        OpenedVsh o = openVsh(12);
        QByteArray noEnd = o.fixture.bytes;
        noEnd.replace(known::vshOffset(12, prx::VshMember::RCOPath2), 255, QByteArray(255, 'r'));
        writeFile(o.dir->filePath(QStringLiteral("noend.prx")), noEnd);
        o.form->txtPRXValue(5)->setText(QStringLiteral("42"));
        ScriptedDialogs dialogs;
        QSignalSpy status(o.form.get(), &ui::EditorForm::statusChanged);
        const Status loaded = o.form->load(o.dir->filePath(file), version);
        QVERIFY(!loaded);
        QCOMPARE(loaded.error().userText(), message);
        QVERIFY(dialogs.calls.isEmpty());
        QCOMPARE(status.size(), 0);
        QCOMPARE(o.form->versionIndex(), 12);
        QCOMPARE(o.form->statusFile(), o.path + u' ');
        QCOMPARE(o.form->txtPRXValue(5)->text(), QStringLiteral("42"));
        QCOMPARE(o.form->txtPRXValue2(12)->text(), expectedText(o.fixture.expected, 12));
        QCOMPARE(menuRows(*o.form->menuTab()), expectedMenuRows(o.fixture.expected));
    }

    // Loading another module into the same window replaces every value.
    void reloadReplacesEverything() {
        OpenedVsh o = openVsh(13, kEnglish, 1);
        o.form->menuTab()->selectRow(6);
        const VshFixture second = makeVsh(13, 9);
        writeFile(o.path, second.bytes);
        QVERIFY(o.form->load(o.path, 13));
        QCOMPARE(o.form->values(), second.expected);
        for (int i = 0; i < kVshNumberBoxes; ++i)
            QCOMPARE(o.form->txtPRXValue(i)->text(), expectedNumber(second.expected, i));
        QCOMPARE(o.form->menuTab()->selectedRow(), 6);
    }

    // The menu list can be read by assistive tools as a table of rows and cells.
    void menuListIsAnAccessibleTable() {
        OpenedVsh o = openVsh(12);
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(o.form->menuTab()->lstvVSHMenu);
        QVERIFY(table);
        QAccessibleTableInterface* cells = table->tableInterface();
        QVERIFY(cells);
        QCOMPARE(cells->rowCount(), 23);
        QCOMPARE(cells->columnCount(), 5);
        const QStringList headings = latin1({"Order", "Main Menu", "Icon", "Region", "Enabled"});
        const int widths[] = {33, 96, 166, 46, 62};
        for (int c = 0; c < 5; ++c) {
            QCOMPARE(cells->columnDescription(c), headings[c]);
            if (c < 4)
                QVERIFY(o.form->menuTab()->lstvVSHMenu->columnWidth(c) >= widths[c]);
        }
        const MenuRow row = expectedMenuRows(o.fixture.expected).at(4);
        QCOMPARE(cells->cellAt(4, 0)->text(QAccessible::Name), row.order);
        QCOMPARE(cells->cellAt(4, 2)->text(QAccessible::Name), row.icon);
        QCOMPARE(cells->cellAt(4, 4)->text(QAccessible::Name), row.enabled);
    }
};

QM_GUI_TEST(VshEditorTest);

#include "vsheditor_test.moc"
