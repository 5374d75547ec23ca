#include "editor_helpers.h"
#include "guitest.h"
#include "scripteddialogs.h"
#include "support/environment.h"

#include "prx/catalogue.h"
#include "support/known_offsets.h"
#include "text/errortext.h"
#include "vsh/colorgrid.h"
#include "vsh/menutab.h"
#include "widgets/colorbox.h"
#include "widgets/typinglimit.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
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
    for (prx::VshMember m : vshNumberMembers() + vshTextMembers())
        out.append(form.box(m));
    for (prx::VshMember m : {prx::VshMember::FormatsEurope, prx::VshMember::FormatsUSJapan})
        for (int k = 0; k < 5; ++k)
            out.append(form.formatBox(m, k));
    for (ui::ColorBox* box : form.colorGrid()->allBoxes())
        out.append(box);
    return out;
}

} // namespace

class VshEditorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newWindowShowsNothingAndOffersNoEditing() {
        test::BareEditor bare(prx::ModuleKind::Vsh);
        VshEditor& form = test::formOf<VshEditor>(bare.window);
        QCOMPARE(form.objectName(), QStringLiteral("VshEditor"));
        QCOMPARE(form.windowTitle(), QStringLiteral("VSHMain.rad Ededid"));
        QVERIFY(!form.windowIcon().isNull());
        const QSize client(462, 457);
        QCOMPARE(form.minimumSize(), client);
        QCOMPARE(form.maximumSize(), client);
        QCOMPARE(form.release().row, 0);
        QVERIFY(bare.window.statusFile().isEmpty());

        QTabWidget* tabs = form.tabs();
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
        for (QWidget* w : valueControls(form))
            if (auto* box = qobject_cast<QLineEdit*>(w))
                QVERIFY(box->text().isEmpty());
        for (prx::VshMember m : vshNumberMembers() + vshTextMembers())
            if (QLabel* caption = form.label(m))
                QVERIFY2(!caption->isEnabled(), qPrintable(nameOf(m)));
        for (const char* name : {"updatePathCaption", "rcoPathCaption", "updatePathHint", "rcoPathHint",
                                 "monthTextHeading", "monthInfobarHeading", "slimTextHeading",
                                 "slimInfobarHeading", "instructions", "month1", "month12"})
            QVERIFY2(!form.findChild<QLabel*>(QLatin1StringView(name))->isEnabled(), name);
        for (const char* name : {"monthHeading", "slimHeading", "item13", "item27"})
            QVERIFY2(form.findChild<QLabel*>(QLatin1StringView(name))->isEnabled(), name);

        const ui::VshMenuTab& menu = *form.menuTab();
        QCOMPARE(menu.rowCount(), 0);
        for (prx::MenuFormat f : {prx::MenuFormat::Classic, prx::MenuFormat::Slim})
            for (QComboBox* c : {menu.categoryBox(f), menu.iconBox(f)}) {
                QVERIFY(!c->isEnabled());
                QVERIFY(c->isHidden());
            }
        QVERIFY(!menu.regionBox()->isEnabled());
        QVERIFY(!menu.regionBox()->isHidden());
        QVERIFY(!menu.activateBox()->isEnabled());
        QVERIFY(!menu.slimBox()->isEnabled());

        for (QGroupBox* frame : form.findChildren<QGroupBox*>())
            QCOMPARE(frame->isEnabled(), frame != form.formatFrame());
        QLabel* notCoded = form.findChild<QLabel*>(QStringLiteral("notWritten"));
        QVERIFY(notCoded);
        QCOMPARE(notCoded->text(), QStringLiteral("Write Function Not Coded"));
        QCOMPARE(notCoded->palette().color(QPalette::Disabled, QPalette::WindowText), QColor(Qt::red));
    }

    void numberCaptions_data() {
        QTest::addColumn<prx::VshMember>("member");
        for (prx::VshMember m : vshNumberMembers())
            QTest::addRow("%s", prx::memberName(m).data()) << m;
    }

    // Each number box is named by its member and has a caption label of its
    // own as buddy, which names it for assistive tools; the box takes any
    // length of text.
    void numberCaptions() {
        QFETCH(prx::VshMember, member);
        test::BareEditor bare(prx::ModuleKind::Vsh);
        VshEditor& form = test::formOf<VshEditor>(bare.window);
        QLineEdit* edit = form.findChild<QLineEdit*>(nameOf(member));
        QVERIFY(edit);
        QCOMPARE(edit, form.box(member));
        QLabel* lbl = form.label(member);
        QVERIFY(lbl);
        QCOMPARE(lbl->buddy(), edit);
        QVERIFY(!lbl->text().trimmed().isEmpty());
        QCOMPARE(accessibleName(edit), lbl->text().simplified());
        int buddies = 0;
        for (QLabel* other : form.findChildren<QLabel*>())
            buddies += other->buddy() == edit ? 1 : 0;
        QCOMPARE(buddies, 1);
        QCOMPARE(ui::typingLimit(edit), -1);
        QCOMPARE(edit->maxLength(), 32767);
        QCOMPARE(edit->contextMenuPolicy(), Qt::DefaultContextMenu);
    }

    // Captions whose blanks matter, and captions that name the same place twice.
    void captionsWithBlanks() {
        using V = prx::VshMember;
        test::BareEditor bare(prx::ModuleKind::Vsh);
        VshEditor& form = test::formOf<VshEditor>(bare.window);
        QCOMPARE(form.label(V::MainIconYUnfocused)->text(),
                 QStringLiteral("Main Icon Y :       (Unfocused)"));
        QCOMPARE(form.label(V::XmbXSubmenu)->text(), QStringLiteral(" X (In Submenu) :"));
        QCOMPARE(form.label(V::AlphaMSOptionIcon)->text(), QStringLiteral("MS Option Icon :"));
    }

    void textCaptions_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("accessible");
        QTest::addColumn<int>("limit");
        const char* icons[] = {"Photo", "Music", "Video", "Game"};
        for (int i = 0; i < 4; ++i) {
            const QString ms = QStringLiteral("%1 MS Icon :").arg(QLatin1StringView(icons[i]));
            const QString umd = QStringLiteral("%1 UMD Icon :").arg(QLatin1StringView(icons[i]));
            const QString msBox = QStringLiteral("MSIcon%1").arg(QLatin1StringView(icons[i]));
            const QString umdBox = QStringLiteral("UMDIcon%1").arg(QLatin1StringView(icons[i]));
            QTest::addRow("%s", qPrintable(msBox))
                << msBox << msBox + QStringLiteral("Label") << ms << ms << 20;
            QTest::addRow("%s", qPrintable(umdBox))
                << umdBox << umdBox + QStringLiteral("Label") << umd << umd << 20;
        }
        QTest::addRow("UpdatePath1") << "UpdatePath1"
                                     << "updatePathCaption"
                                     << "UMD Update :"
                                     << "UMD Update : 1" << -1;
        QTest::addRow("UpdatePath2") << "UpdatePath2"
                                     << ""
                                     << ""
                                     << "UMD Update : 2" << -1;
        QTest::addRow("UpdatePath3") << "UpdatePath3"
                                     << ""
                                     << ""
                                     << "UMD Update : 3" << -1;
        QTest::addRow("RCOPath1") << "RCOPath1"
                                  << "rcoPathCaption"
                                  << "RCO :"
                                  << "RCO : 1" << -1;
        QTest::addRow("RCOPath2") << "RCOPath2"
                                  << ""
                                  << ""
                                  << "RCO : 2" << -1;
        const char* rows[] = {"Date Format in XMB :", "Time Format in XMB :", "Date Format in ??? :",
                              "Like Time Format in ??? :", "Unknow :"};
        const int limits[] = {5, 5, 5, 5, 2};
        for (int r = 0; r < 5; ++r) {
            const QString row = QString::fromLatin1(rows[r]);
            const QString europe = QStringLiteral("FormatsEurope[%1]").arg(r);
            const QString usJapan = QStringLiteral("FormatsUSJapan[%1]").arg(r);
            QTest::addRow("%s", qPrintable(europe)) << europe << QStringLiteral("formatRow%1").arg(r + 1)
                                                    << row << row + QStringLiteral(" Europe") << limits[r];
            QTest::addRow("%s", qPrintable(usJapan))
                << usJapan << ""
                << "" << row + QStringLiteral(" US / Japan") << limits[r];
        }
    }

    void textCaptions() {
        QFETCH(QString, box);
        QFETCH(QString, label);
        QFETCH(QString, caption);
        QFETCH(QString, accessible);
        QFETCH(int, limit);
        test::BareEditor bare(prx::ModuleKind::Vsh);
        VshEditor& form = test::formOf<VshEditor>(bare.window);
        QLineEdit* edit = form.findChild<QLineEdit*>(box);
        QVERIFY(edit);
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
        test::BareEditor bare(prx::ModuleKind::Vsh);
        VshEditor& form = test::formOf<VshEditor>(bare.window);
        const QStringList legend =
            latin1({"%d : Day", "%m : Month", "%H : Hour", "%M : Minute", "%I : Unknow", "%p : Unknow"});
        for (int i = 0; i < legend.size(); ++i) {
            auto* label = form.findChild<QLabel*>(QStringLiteral("legend%1").arg(i + 1));
            QCOMPARE(label->text(), legend[i]);
            QVERIFY(form.formatFrame()->isAncestorOf(label));
        }
        QCOMPARE(form.findChild<QLabel*>(QStringLiteral("FormatsEuropeHeading"))->text(),
                 QStringLiteral("Europe :"));
        QCOMPARE(form.findChild<QLabel*>(QStringLiteral("FormatsUSJapanHeading"))->text(),
                 QStringLiteral("US / Japan :"));
        for (prx::VshMember m : {prx::VshMember::FormatsEurope, prx::VshMember::FormatsUSJapan})
            for (int k = 0; k < 5; ++k)
                QVERIFY(form.formatFrame()->isAncestorOf(form.formatBox(m, k)));
        QCOMPARE(form.findChild<QLabel*>(QStringLiteral("updatePathHint"))->text(),
                 QStringLiteral("To hide the Update icon, Change the UPDATE dir to a fake dir..."));
        QCOMPARE(form.findChild<QLabel*>(QStringLiteral("rcoPathHint"))->text(),
                 QStringLiteral("To redirect RCO to MS, Change flash0:/ to ms0:/..."));
        QCOMPARE(form.findChild<QLabel*>(QStringLiteral("instructions"))->text(),
                 QStringLiteral("Click the boxes to change color"));
    }

    void typingStopsAtTheLimitButLoadedTextsStayWhole() {
        test::BareEditor bare(prx::ModuleKind::Vsh);
        VshEditor& form = test::formOf<VshEditor>(bare.window);
        QLineEdit* icon = form.box(prx::VshMember::MSIconVideo);
        QLineEdit* path = form.box(prx::VshMember::UpdatePath2);
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
        test::BareEditor bare(prx::ModuleKind::Vsh);
        VshEditor& form = test::formOf<VshEditor>(bare.window);
        form.setLocale(locale);
        const ui::VshColorGrid& grid = *form.colorGrid();
        QCOMPARE(grid.monthLabel(0)->text(), january);
        QCOMPARE(grid.monthLabel(11)->text(), december);
        QCOMPARE(accessibleName(colourBox(form, "TextColors[0]")), january + QStringLiteral(" Text"));
        QCOMPARE(accessibleName(colourBox(form, "ContextColors[11]")), december + QStringLiteral(" Infobar"));
        for (int i = 0; i < prx::kSlimItemCount; ++i) {
            const QString item = QStringLiteral("Item%1").arg(i + 13);
            QCOMPARE(grid.itemLabel(i)->text(), item);
            QCOMPARE(accessibleName(colourBox(form, qPrintable(QStringLiteral("TextColorsSlim[%1]").arg(i)))),
                     item + QStringLiteral(" Text"));
            QCOMPARE(
                accessibleName(colourBox(form, qPrintable(QStringLiteral("ContextColorsSlim[%1]").arg(i)))),
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
        if (underWine())
            QSKIP(kWineFonts);
        QFETCH(int, version);
        OpenedVsh o = openVsh(version);
        VshEditor& form = *o.form;
        o.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // All seven tabs in one row, none cut off.
        QTabBar* bar = form.tabs()->tabBar();
        QVERIFY(bar->tabRect(bar->count() - 1).right() <= form.tabs()->width());
        for (int t = 0; t < bar->count(); ++t)
            QVERIFY(bar->tabRect(t).width() >= bar->fontMetrics().horizontalAdvance(bar->tabText(t)));
        const QString shots = qEnvironmentVariable("QUILLMARK_VSH_SHOTS");
        for (int t = 0; t < form.tabs()->count(); ++t) {
            form.tabs()->setCurrentIndex(t);
            QApplication::processEvents();
            QWidget* page = form.tabs()->widget(t);
            if (!shots.isEmpty())
                form.grab().save(QStringLiteral("%1/vsheditor-v%2-tab%3.png").arg(shots).arg(version).arg(t));
            if (page == form.menuTab()) { // every cell's text fits its column, no column is out of view
                QTableView* list = form.menuTab()->list();
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
        QCOMPARE(o.window->statusVersion(), QString::fromLatin1(known::vshRelease(version).label) + u' ');
        QCOMPARE(o.window->statusFile(), QDir::toNativeSeparators(o.path) + u' ');
        QCOMPARE(form.release().row, version);
        for (prx::VshMember m : vshNumberMembers()) {
            QCOMPARE(form.box(m)->text(), expectedNumber(expected, m));
            QCOMPARE(form.box(m)->cursorPosition(), 0);
        }
        for (prx::VshMember m : vshTextMembers())
            QCOMPARE(form.box(m)->text(), expectedText(expected, m));
        for (prx::VshMember m : {prx::VshMember::FormatsEurope, prx::VshMember::FormatsUSJapan})
            for (int k = 0; k < 5; ++k)
                QCOMPARE(form.formatBox(m, k)->text(), expectedFormat(expected, m, k));
        for (prx::VshMember m : ui::VshColorGrid::kMembers) {
            if (!expected.has(m))
                continue;
            const QList<prx::Rgb> colours = expectedColours(expected, m);
            const std::vector<ui::ColorBox*> boxes = form.colorGrid()->boxes(m);
            QCOMPARE(static_cast<qsizetype>(boxes.size()), colours.size());
            for (std::size_t i = 0; i < boxes.size(); ++i) {
                const prx::Rgb colour = colours[static_cast<qsizetype>(i)];
                QCOMPARE(boxes[i]->objectName(), QStringLiteral("%1[%2]").arg(nameOf(m)).arg(i));
                QCOMPARE(boxes[i]->color(), colour);
                QCOMPARE(accessibleDescription(boxes[i]), prx::rgbToHex(colour));
                QCOMPARE(boxes[i]->toolTip(), prx::rgbToHex(colour));
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
        QTest::addColumn<QStringList>("emptied"); // off and empty
        QTest::addColumn<QStringList>("kept");    // off, value kept
        QTest::addColumn<bool>("slimColors");
        QTest::addColumn<QString>("menu"); // "none", "classic", "slim"
        const QStringList newer = latin1({"MainIconYFocused", "MainIconYUnfocused", "MSOptionIconX",
                                          "MSOptionIconY", "AlphaMSOptionIcon"});
        const QStringList group1 = latin1({"FocusedIconFadeOut", "NetworkIconYUnfocused", "BmpSize"}) + newer;
        const QStringList group2 = latin1({"BmpSize"}) + newer;
        const QStringList network = latin1({"NetworkIconYUnfocused"});
        const struct {
            int from, to;
            QStringList emptied, kept;
            bool slim;
            const char* menu;
        } groups[] = {
            {1, 1, group1, {}, false, "none"},    {2, 6, group2, {}, false, "none"},
            {7, 7, newer, {}, false, "none"},     {8, 10, newer, {}, false, "classic"},
            {11, 11, newer, {}, true, "classic"}, {12, 14, {}, network, true, "slim"},
        };
        for (const auto& g : groups)
            for (int v = g.from; v <= g.to; ++v)
                QTest::addRow("%s", prx::vshRelease(v).label)
                    << v << g.emptied << g.kept << g.slim << QString::fromLatin1(g.menu);
    }

    // After a load the window offers exactly what the release has.
    void availability() {
        QFETCH(int, version);
        QFETCH(QStringList, emptied);
        QFETCH(QStringList, kept);
        QFETCH(bool, slimColors);
        QFETCH(QString, menu);
        for (bool reload : {false, true}) {
            OpenedVsh o = openVsh(reload ? 14 : version);
            VshEditor& form = *o.form;
            if (reload) { // the same window, loaded again with another release
                const VshFixture other = makeVsh(version, 3);
                writeFile(o.path, other.bytes);
                QVERIFY(o.window->loadFile(o.path, test::vshRow(version)));
            }
            for (prx::VshMember member : vshNumberMembers()) {
                const QString name = nameOf(member);
                const bool on = !emptied.contains(name) && !kept.contains(name);
                QVERIFY2(form.box(member)->isEnabled() == on, qPrintable(name));
                QCOMPARE(form.label(member)->isEnabled(), on);
                QCOMPARE(form.box(member)->text().isEmpty(), emptied.contains(name));
            }
            for (prx::VshMember member : vshTextMembers())
                QVERIFY(form.box(member)->isEnabled());
            for (const char* name :
                 {"updatePathCaption", "rcoPathCaption", "MSIconPhotoLabel", "UMDIconGameLabel"})
                QVERIFY2(form.findChild<QLabel*>(QLatin1StringView(name))->isEnabled(), name);
            QVERIFY(!form.formatFrame()->isEnabled());

            const ui::VshColorGrid& grid = *form.colorGrid();
            for (prx::VshMember member : ui::VshColorGrid::kMembers) {
                const bool slimMember =
                    member == prx::VshMember::TextColorsSlim || member == prx::VshMember::ContextColorsSlim;
                for (ui::ColorBox* box : grid.boxes(member))
                    QCOMPARE(box->isEnabled(), !slimMember || slimColors);
            }
            for (int i = 0; i < prx::kMonthCount; ++i)
                QVERIFY(grid.monthLabel(i)->isEnabled());
            for (int i = 0; i < prx::kSlimItemCount; ++i)
                QCOMPARE(grid.itemLabel(i)->isEnabled(), slimColors);
            for (const char* name : {"slimHeading", "slimTextHeading", "slimInfobarHeading"})
                QCOMPARE(form.findChild<QLabel*>(QLatin1StringView(name))->isEnabled(), slimColors);
            for (const char* name :
                 {"monthHeading", "monthTextHeading", "monthInfobarHeading", "instructions"})
                QVERIFY(form.findChild<QLabel*>(QLatin1StringView(name))->isEnabled());

            const ui::VshMenuTab& m = *form.menuTab();
            const bool classic = menu == u"classic";
            const bool slim = menu == u"slim";
            QCOMPARE(m.list()->isEnabled(), classic || slim);
            QCOMPARE(m.rowCount() > 0, classic || slim);
            QCOMPARE(m.regionBox()->isEnabled(), classic || slim);
            QCOMPARE(m.activateBox()->isEnabled(), classic || slim);
            QCOMPARE(m.slimBox()->isEnabled(), slim);
            for (prx::MenuFormat f : {prx::MenuFormat::Classic, prx::MenuFormat::Slim}) {
                const bool mine = f == prx::MenuFormat::Slim ? slim : classic;
                const bool other = f == prx::MenuFormat::Slim ? classic : slim;
                QCOMPARE(m.categoryBox(f)->isEnabled(), mine);
                QCOMPARE(m.iconBox(f)->isEnabled(), mine);
                QCOMPARE(m.categoryBox(f)->isHidden(), other);
                QCOMPARE(m.iconBox(f)->isHidden(), other);
            }
            QVERIFY(!m.regionBox()->isHidden());
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
        if (loadedBefore) {
            o = openVsh(loadedBefore);
        } else {
            o.window = std::make_unique<ui::EditorWindow>(prx::ModuleKind::Vsh);
            o.form = &test::formOf<VshEditor>(*o.window);
        }
        const QString version = o.window->statusVersion();
        QVERIFY(o.window->loadFile(QString(), test::vshRow(loadedBefore))); // nothing to read, nothing failed
        QVERIFY(dialogs.calls.isEmpty());
        QVERIFY(o.window->statusFile().isEmpty());
        QCOMPARE(o.window->statusVersion(), version);
        for (QWidget* w : valueControls(*o.form))
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        const ui::VshMenuTab& m = *o.form->menuTab();
        for (prx::MenuFormat f : {prx::MenuFormat::Classic, prx::MenuFormat::Slim})
            for (QComboBox* c : {m.categoryBox(f), m.iconBox(f)})
                QVERIFY(c->isHidden() && !c->isEnabled());
        QVERIFY(!m.list()->isEnabled() && !m.activateBox()->isEnabled());
        QVERIFY(o.form->tabs()->isEnabled());
    }

    void failedLoad_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("paf");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file")
            << "missing.prx" << 12 << false << "Error 53 occurred! (File not found)";
        QTest::newRow("release of another size")
            << "vshmain.prx" << 11 << false << "Error 59 occurred! (Bad file length)";
        QTest::newRow("text without terminator")
            << "noend.prx" << 12 << false << "Error 5 occurred! (Invalid procedure call or argument)";
        QTest::newRow("PAF release") << "vshmain.prx" << 12 << true
                                     << "Error 9 occurred! (Subscript out of range)";
    }

    // A load that fails comes back to the caller and leaves the window showing what it showed.
    void failedLoad() {
        QFETCH(QString, file);
        QFETCH(int, version);
        QFETCH(bool, paf);
        QFETCH(QString, message);
        OpenedVsh o = openVsh(12);
        QByteArray noEnd = o.fixture.bytes;
        noEnd.replace(known::vshOffset(12, prx::VshMember::RCOPath2), 255, QByteArray(255, 'r'));
        writeFile(o.dir->filePath(QStringLiteral("noend.prx")), noEnd);
        o.form->box(prx::VshMember::MuteY)->setText(QStringLiteral("42"));
        ScriptedDialogs dialogs;
        QSignalSpy status(o.window.get(), &ui::EditorWindow::statusChanged);
        const Status loaded =
            o.window->loadFile(o.dir->filePath(file), paf ? test::pafRow(version) : test::vshRow(version));
        QVERIFY(!loaded);
        QCOMPARE(text::userText(loaded.error()), message);
        QVERIFY(dialogs.calls.isEmpty());
        QCOMPARE(status.size(), 0);
        QCOMPARE(o.form->release().row, 12);
        QCOMPARE(o.window->statusFile(), QDir::toNativeSeparators(o.path) + u' ');
        QCOMPARE(o.form->box(prx::VshMember::MuteY)->text(), QStringLiteral("42"));
        QCOMPARE(o.form->box(prx::VshMember::RCOPath2)->text(),
                 expectedText(o.fixture.expected, prx::VshMember::RCOPath2));
        QCOMPARE(menuRows(*o.form->menuTab()), expectedMenuRows(o.fixture.expected));
    }

    // Loading another module into the same window replaces every value.
    void reloadReplacesEverything() {
        OpenedVsh o = openVsh(13, kEnglish, 1);
        o.form->menuTab()->selectRow(6);
        const VshFixture second = makeVsh(13, 9);
        writeFile(o.path, second.bytes);
        QVERIFY(o.window->loadFile(o.path, test::vshRow(13)));
        QCOMPARE(o.form->values(), second.expected);
        for (prx::VshMember m : vshNumberMembers())
            QCOMPARE(o.form->box(m)->text(), expectedNumber(second.expected, m));
        QCOMPARE(o.form->menuTab()->selectedRow(), 6);
    }

    // The menu list can be read by assistive tools as a table of rows and cells.
    void menuListIsAnAccessibleTable() {
        OpenedVsh o = openVsh(12);
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(o.form->menuTab()->list());
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
                QVERIFY(o.form->menuTab()->list()->columnWidth(c) >= widths[c]);
        }
        const MenuRow row = expectedMenuRows(o.fixture.expected).at(4);
        QCOMPARE(cells->cellAt(4, 0)->text(QAccessible::Name), row.order);
        QCOMPARE(cells->cellAt(4, 2)->text(QAccessible::Name), row.icon);
        QCOMPARE(cells->cellAt(4, 4)->text(QAccessible::Name), row.enabled);
    }
};

QM_GUI_TEST(VshEditorTest);

#include "vsheditor_test.moc"
