#include "editor_helpers.h"
#include "guitest.h"

#include "prx/catalogue.h"
#include "vsh/menutab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTableView>
#include <QTest>
#include <QUndoStack>

using namespace qm;
using namespace qm::test;
using ui::VshMenuTab;

namespace {

// What the editing controls show: category text, icon index, region index, the two boxes.
struct Shown {
    QString category;
    int icon;
    int region;
    Qt::CheckState activate;
    Qt::CheckState slim;
    bool operator==(const Shown&) const = default;
};

// What a combo box shows: its current item, or without one its placeholder.
QString comboText(const QComboBox* combo) {
    return combo->currentIndex() < 0 ? combo->placeholderText() : combo->currentText();
}

Shown shown(const VshMenuTab& m, bool slim) {
    const prx::MenuFormat f = slim ? prx::MenuFormat::Slim : prx::MenuFormat::Classic;
    return {comboText(m.categoryBox(f)), m.iconBox(f)->currentIndex(), m.regionBox()->currentIndex(),
            m.activateBox()->checkState(), m.slimBox()->checkState()};
}

QString describe(const Shown& s) {
    return QStringLiteral("%1 / %2 / %3 / %4 / %5")
        .arg(s.category)
        .arg(s.icon)
        .arg(s.region)
        .arg(s.activate)
        .arg(s.slim);
}

QComboBox* categoryCombo(VshMenuTab& m, bool slim) {
    return m.categoryBox(slim ? prx::MenuFormat::Slim : prx::MenuFormat::Classic);
}

QComboBox* iconCombo(VshMenuTab& m, bool slim) {
    return m.iconBox(slim ? prx::MenuFormat::Slim : prx::MenuFormat::Classic);
}

} // namespace

class VshMenuTest : public QObject {
    Q_OBJECT

    static void addMenuReleaseRows() {
        QTest::addColumn<int>("version");
        for (int v = 8; v <= prx::kVshRows; ++v)
            QTest::addRow("%s", prx::vshRelease(v).label) << v;
    }

private Q_SLOTS:
    void showsEachSelectedRow_data() { addMenuReleaseRows(); }

    // Walking the list row by row shows each row's texts in the controls; a combo
    // that can't show a row's text ("ERROR", an icon past the list) shows that text
    // in place of an item, and check boxes show "ERROR" half checked: never the
    // choice of the row before.
    void showsEachSelectedRow() {
        QFETCH(int, version);
        OpenedVsh o = openVsh(version);
        VshMenuTab& m = *o.form->menuTab();
        const bool slim = version >= 12;
        const QList<MenuRow> rows = menuRows(m);
        Shown expect = shown(m, slim);
        for (int r = 0; r < rows.size(); ++r) {
            m.selectRow(r);
            const MenuRow& row = rows.at(r);
            expect.category = row.category;
            const int icon = row.order.toInt();
            const bool iconShown = row.icon != u"ERROR" && icon < iconCombo(m, slim)->count();
            expect.icon = iconShown ? icon : -1;
            if (!iconShown)
                QCOMPARE(iconCombo(m, slim)->placeholderText(), row.icon);
            expect.region = row.region == u"All" ? 0 : row.region == u"Japan" ? 1 : -1;
            if (expect.region < 0)
                QCOMPARE(m.regionBox()->placeholderText(), row.region);
            const bool error = row.enabled == u"ERROR";
            expect.activate = error                                                   ? Qt::PartiallyChecked
                              : row.enabled == u"FAT ON" || row.enabled == u"SLIM ON" ? Qt::Checked
                                                                                      : Qt::Unchecked;
            if (slim)
                expect.slim = error                          ? Qt::PartiallyChecked
                              : row.enabled.startsWith(u'S') ? Qt::Checked
                                                             : Qt::Unchecked;
            QVERIFY2(shown(m, slim) == expect,
                     qPrintable(QString::number(r) + QStringLiteral(": ") + describe(shown(m, slim)) +
                                QStringLiteral(" vs ") + describe(expect)));
            QCOMPARE(menuRows(m), rows); // showing changes no row
        }
    }

    void editsTheSelectedRow_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("select"); // the first row whose FIELD is TEXT
        QTest::addColumn<QString>("action"); // category:N, icon:N, region:N, activate, slim
        QTest::addColumn<QString>("field");  // what changes, and to what
        QTest::addColumn<QString>("value");
        QTest::newRow("classic: category replaces ERROR") << 10 << "category=ERROR"
                                                          << "category:5"
                                                          << "category"
                                                          << "Network";
        QTest::newRow("slim: category TV") << 13 << "category=ERROR"
                                           << "category:4"
                                           << "category"
                                           << "TV";
        QTest::newRow("classic: icon 12, order first") << 9 << "category=Settings"
                                                       << "icon:12"
                                                       << "order+icon"
                                                       << "12+Network Settings";
        QTest::newRow("slim: icon replaces ERROR") << 12 << "icon=ERROR"
                                                   << "icon:32"
                                                   << "order+icon"
                                                   << "32+Internet Radio";
        QTest::newRow("classic: region replaces ERROR") << 11 << "region=ERROR"
                                                        << "region:1"
                                                        << "region"
                                                        << "Japan";
        QTest::newRow("slim: region All") << 14 << "region=Japan"
                                          << "region:0"
                                          << "region"
                                          << "All";
        // "ERROR" shows "Activate" half checked, whatever the row before: the click checks it.
        QTest::newRow("classic: activate replaces ERROR") << 8 << "enabled=ERROR"
                                                          << "activate"
                                                          << "enabled"
                                                          << "FAT ON";
        QTest::newRow("slim: slim replaces ERROR") << 13 << "enabled=ERROR"
                                                   << "slim"
                                                   << "enabled"
                                                   << "SLIM OFF";
        QTest::newRow("classic: activate off") << 10 << "enabled=FAT ON"
                                               << "activate"
                                               << "enabled"
                                               << "FAT OFF";
        QTest::newRow("slim: slim turns FAT ON into SLIM ON") << 14 << "enabled=FAT ON"
                                                              << "slim"
                                                              << "enabled"
                                                              << "SLIM ON";
        QTest::newRow("slim: activate turns SLIM ON into SLIM OFF") << 13 << "enabled=SLIM ON"
                                                                    << "activate"
                                                                    << "enabled"
                                                                    << "SLIM OFF";
        QTest::newRow("slim: slim turns SLIM OFF into FAT OFF") << 12 << "enabled=SLIM OFF"
                                                                << "slim"
                                                                << "enabled"
                                                                << "FAT OFF";
        QTest::newRow("slim: activate turns FAT OFF into FAT ON") << 12 << "enabled=FAT OFF"
                                                                  << "activate"
                                                                  << "enabled"
                                                                  << "FAT ON";
    }

    void editsTheSelectedRow() {
        QFETCH(int, version);
        QFETCH(QString, select);
        QFETCH(QString, action);
        QFETCH(QString, field);
        QFETCH(QString, value);
        OpenedVsh o = openVsh(version);
        VshMenuTab& m = *o.form->menuTab();
        const bool slim = version >= 12;
        const QList<MenuRow> before = menuRows(m);
        const auto fieldOf = [](MenuRow& r, QStringView name) -> QString& {
            return name == u"order"      ? r.order
                   : name == u"category" ? r.category
                   : name == u"icon"     ? r.icon
                   : name == u"region"   ? r.region
                                         : r.enabled;
        };
        const QStringList wanted = select.split(u'=');
        int row = -1;
        for (int k = 0; k < before.size() && row < 0; ++k)
            if (fieldOf(const_cast<MenuRow&>(before[k]), wanted[0]) == wanted[1])
                row = k;
        QVERIFY2(row >= 0, qPrintable(select));
        m.selectRow(row);
        const QStringList parts = action.split(u':');
        if (parts[0] == u"category")
            pick(categoryCombo(m, slim), parts[1].toInt());
        else if (parts[0] == u"icon")
            pick(iconCombo(m, slim), parts[1].toInt());
        else if (parts[0] == u"region")
            pick(m.regionBox(), parts[1].toInt());
        else
            (parts[0] == u"activate" ? m.activateBox() : m.slimBox())->click();

        QList<MenuRow> expected = before;
        const QStringList fields = field.split(u'+');
        const QStringList values = value.split(u'+');
        for (int i = 0; i < fields.size(); ++i)
            fieldOf(expected[row], fields[i]) = values[i];
        QCOMPARE(menuRows(m), expected);
    }

    void controlsFollowUndoAndRedo_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("enabled"); // the first row shown so
        QTest::addColumn<QString>("first");   // clicked, undone, then this clicked
        QTest::addColumn<QString>("then");
        QTest::addColumn<QString>("result"); // the row's "Enabled" at the end
        QTest::newRow("slim: untick Slim, undo, untick Activate") << 13 << "SLIM ON"
                                                                  << "slim"
                                                                  << "activate"
                                                                  << "SLIM OFF";
        QTest::newRow("slim: tick Slim, undo, untick Activate") << 14 << "FAT ON"
                                                                << "slim"
                                                                << "activate"
                                                                << "FAT OFF";
        QTest::newRow("slim: untick Activate, undo, untick Slim") << 14 << "SLIM ON"
                                                                  << "activate"
                                                                  << "slim"
                                                                  << "FAT ON";
        QTest::newRow("classic: region, undo, untick Activate") << 10 << "FAT ON"
                                                                << "region"
                                                                << "activate"
                                                                << "FAT OFF";
        QTest::newRow("classic: icon, undo, untick Activate") << 9 << "FAT ON"
                                                              << "icon"
                                                              << "activate"
                                                              << "FAT OFF";
    }

    // After every undo and redo the controls show the selected row as it
    // is, and the next click starts from there; steps count rows from 1.
    void controlsFollowUndoAndRedo() {
        QFETCH(int, version);
        QFETCH(QString, enabled);
        QFETCH(QString, first);
        QFETCH(QString, then);
        QFETCH(QString, result);
        OpenedVsh o = openVsh(version);
        VshMenuTab& m = *o.form->menuTab();
        const bool slim = version >= 12;
        int row = -1;
        for (int r = 0; r < m.rowCount() && row < 0; ++r)
            if (menuRows(m).at(r).enabled == enabled && menuRows(m).at(r).region != u"ERROR" &&
                menuRows(m).at(r).order.toInt() < iconCombo(m, slim)->count() - 1)
                row = r;
        QVERIFY(row >= 0);
        m.selectRow(row);
        const MenuRow before = menuRows(m).at(row);
        const Shown shownBefore = shown(m, slim);
        const auto act = [&](const QString& what) {
            if (what == u"region")
                pick(m.regionBox(), 1 - m.regionBox()->currentIndex());
            else if (what == u"icon")
                pick(iconCombo(m, slim), iconCombo(m, slim)->currentIndex() + 1);
            else
                (what == u"activate" ? m.activateBox() : m.slimBox())->click();
        };
        act(first);
        QCOMPARE(o.form->document().undoStack()->undoText(), QStringLiteral("Menu Entry %1").arg(row + 1));
        const MenuRow changed = menuRows(m).at(row);
        const Shown shownChanged = shown(m, slim);
        QVERIFY(!(changed == before));
        for (int round = 0; round < 2; ++round) {
            o.form->document().undoStack()->undo();
            QCOMPARE(menuRows(m).at(row), before);
            QVERIFY2(shown(m, slim) == shownBefore, qPrintable(describe(shown(m, slim))));
            o.form->document().undoStack()->redo();
            QCOMPARE(menuRows(m).at(row), changed);
            QVERIFY2(shown(m, slim) == shownChanged, qPrintable(describe(shown(m, slim))));
        }
        o.form->document().undoStack()->undo();
        act(then);
        QCOMPARE(menuRows(m).at(row).enabled, result);
    }

    // Until the user picks a value, an unreadable text stays, even with the controls showing another.
    void errorTextsStayUntilPicked() {
        OpenedVsh o = openVsh(10);
        VshMenuTab& m = *o.form->menuTab();
        m.selectRow(5); // icon code 40: order "0", icon "ERROR"
        QCOMPARE(m.iconBox(prx::MenuFormat::Classic)->currentIndex(), -1);
        QCOMPARE(comboText(m.iconBox(prx::MenuFormat::Classic)), QStringLiteral("ERROR"));
        QCOMPARE(menuRows(m).at(5).icon, QStringLiteral("ERROR"));
        pick(m.regionBox(), m.regionBox()->currentIndex()); // another field: the icon stays "ERROR"
        QCOMPARE(menuRows(m).at(5).icon, QStringLiteral("ERROR"));
        pick(m.iconBox(prx::MenuFormat::Classic), 0);
        QCOMPARE(menuRows(m).at(5).icon, QStringLiteral("Network Update"));
    }

    void arrowKeysWalkTheRows() {
        OpenedVsh o = openVsh(13);
        VshMenuTab& m = *o.form->menuTab();
        o.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(o.form));
        m.list()->setFocus();
        const QList<MenuRow> rows = menuRows(m);
        for (int r = 1; r <= 4; ++r) {
            QTest::keyClick(m.list(), Qt::Key_Down);
            QCOMPARE(m.selectedRow(), r);
            if (rows.at(r).category != u"ERROR")
                QCOMPARE(m.categoryBox(prx::MenuFormat::Slim)->currentText(), rows.at(r).category);
            QCOMPARE(m.iconBox(prx::MenuFormat::Slim)->currentIndex(), rows.at(r).order.toInt());
        }
        QTest::keyClick(m.list(), Qt::Key_Up);
        QCOMPARE(m.selectedRow(), 3);
        QCOMPARE(m.iconBox(prx::MenuFormat::Slim)->currentIndex(), rows.at(3).order.toInt());
    }

    void nothingChangesWithoutASelectedRowOrWhileFilling_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("noSelection");
        QTest::newRow("classic, no selection") << 9 << true;
        QTest::newRow("slim, no selection") << 14 << true;
    }

    void nothingChangesWithoutASelectedRowOrWhileFilling() {
        QFETCH(int, version);
        QFETCH(bool, noSelection);
        OpenedVsh o = openVsh(version);
        VshMenuTab& m = *o.form->menuTab();
        const bool slim = version >= 12;
        const QList<MenuRow> before = menuRows(m);
        QVERIFY(noSelection);
        m.list()->clearSelection();
        pick(categoryCombo(m, slim), 2);
        pick(iconCombo(m, slim), 20);
        pick(m.regionBox(), 1);
        m.activateBox()->click();
        if (slim)
            m.slimBox()->click();
        QCOMPARE(menuRows(m), before);
    }

    // A classic menu never gets a slim state, not even after the window showed a slim one.
    void classicMenuHasNoSlimState() {
        OpenedVsh o = openVsh(14);
        VshMenuTab& m = *o.form->menuTab();
        for (int r = 0; r < m.rowCount() && !m.slimBox()->isChecked(); ++r)
            m.selectRow(r); // up to a slim state
        QVERIFY(m.slimBox()->isChecked());
        const VshFixture classic = makeVsh(11, 3);
        writeFile(o.path, classic.bytes);
        QVERIFY(o.window->loadFile(o.path, test::vshRow(11)));
        QVERIFY(!m.slimBox()->isEnabled());
        QVERIFY(!m.slimBox()->isChecked());
        for (int r = 0; r < 4; ++r) {
            m.selectRow(r);
            m.activateBox()->click();
            const QString enabled = menuRows(m).at(r).enabled;
            QVERIFY2(enabled == u"FAT ON" || enabled == u"FAT OFF", qPrintable(enabled));
        }
    }

    void combosListTheirEntries() {
        OpenedVsh o = openVsh(12);
        const VshMenuTab& m = *o.form->menuTab();
        QCOMPARE(m.categoryBox(prx::MenuFormat::Classic)->count(), 6);
        QCOMPARE(m.categoryBox(prx::MenuFormat::Slim)->count(), 7);
        QCOMPARE(m.iconBox(prx::MenuFormat::Classic)->count(), 32);
        QCOMPARE(m.iconBox(prx::MenuFormat::Slim)->count(), 33);
        QCOMPARE(m.regionBox()->count(), 2);
        QCOMPARE(m.categoryBox(prx::MenuFormat::Slim)->itemText(4), QStringLiteral("TV"));
        QCOMPARE(m.iconBox(prx::MenuFormat::Classic)->itemText(8), QStringLiteral("???"));
        QCOMPARE(m.iconBox(prx::MenuFormat::Slim)->itemText(8), QStringLiteral("Connected Display Settings"));
        QCOMPARE(m.iconBox(prx::MenuFormat::Slim)->itemText(32), QStringLiteral("Internet Radio"));
        QCOMPARE(m.activateBox()->text(), QStringLiteral("Activate"));
        QCOMPARE(m.slimBox()->text(), QStringLiteral("Slim"));
        // Screen readers tell the combos apart by their captions.
        const std::pair<QComboBox*, const char*> captions[] = {
            {m.categoryBox(prx::MenuFormat::Classic), "Main Menu"},
            {m.categoryBox(prx::MenuFormat::Slim), "Main Menu"},
            {m.iconBox(prx::MenuFormat::Classic), "Icon"},
            {m.iconBox(prx::MenuFormat::Slim), "Icon"},
            {m.regionBox(), "Region"}};
        for (const auto& [c, caption] : captions) {
            QVERIFY(!c->isEditable() && !accessibleName(c).isEmpty());
            QCOMPARE(accessibleDescription(c), QString::fromLatin1(caption));
        }
        // The two variants of each combo share one place.
        QCOMPARE(m.categoryBox(prx::MenuFormat::Classic)->geometry(),
                 m.categoryBox(prx::MenuFormat::Slim)->geometry());
        QCOMPARE(m.iconBox(prx::MenuFormat::Classic)->geometry(),
                 m.iconBox(prx::MenuFormat::Slim)->geometry());
    }
};

QM_GUI_TEST(VshMenuTest);

#include "vshmenu_test.moc"
