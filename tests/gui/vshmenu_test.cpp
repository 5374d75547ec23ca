#include "editor_helpers.h"
#include "guitest.h"

#include "prx/catalogue.h"
#include "vsh/menutab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTableView>
#include <QTest>

using namespace qm;
using namespace qm::test;
using ui::VshMenuTab;

namespace {

// What the editing controls show: category text, icon index, region index, the two boxes.
struct Shown {
    QString category;
    int icon;
    int region;
    bool activate;
    bool slim;
    bool operator==(const Shown&) const = default;
};

Shown shown(const VshMenuTab& m, bool slim) {
    return {(slim ? m.cboVSHMenu137x : m.cboVSHMenu130x)->currentText(),
            (slim ? m.cboVSHMenu237x : m.cboVSHMenu230x)->currentIndex(), m.cboVSHMenu3->currentIndex(),
            m.chkVSHMenu[0]->isChecked(), m.chkVSHMenu[1]->isChecked()};
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
    return slim ? m.cboVSHMenu137x : m.cboVSHMenu130x;
}

QComboBox* iconCombo(VshMenuTab& m, bool slim) {
    return slim ? m.cboVSHMenu237x : m.cboVSHMenu230x;
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

    // Walking the list row by row shows each row's texts in the controls; texts the
    // controls can't show ("ERROR", an icon past the list) leave them as they were.
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
            if (row.category != u"ERROR")
                expect.category = row.category;
            const int icon = row.order.toInt();
            if (icon < iconCombo(m, slim)->count())
                expect.icon = icon;
            if (row.region == u"All" || row.region == u"Japan")
                expect.region = row.region == u"All" ? 0 : 1;
            if (row.enabled == u"FAT ON" || row.enabled == u"SLIM ON")
                expect.activate = true;
            if (row.enabled == u"FAT OFF" || row.enabled == u"SLIM OFF")
                expect.activate = false;
            if (slim && row.enabled != u"ERROR")
                expect.slim = row.enabled.startsWith(u'S');
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
        // Row 0 ("FAT ON") was shown before: the click clears "Activate".
        QTest::newRow("classic: activate replaces ERROR") << 8 << "enabled=ERROR"
                                                          << "activate"
                                                          << "enabled"
                                                          << "FAT OFF";
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
            pick(m.cboVSHMenu3, parts[1].toInt());
        else
            m.chkVSHMenu[parts[0] == u"activate" ? 0 : 1]->click();

        QList<MenuRow> expected = before;
        const QStringList fields = field.split(u'+');
        const QStringList values = value.split(u'+');
        for (int i = 0; i < fields.size(); ++i)
            fieldOf(expected[row], fields[i]) = values[i];
        QCOMPARE(menuRows(m), expected);
    }

    // Until the user picks a value, an unreadable text stays, even with the controls showing another.
    void errorTextsStayUntilPicked() {
        OpenedVsh o = openVsh(10);
        VshMenuTab& m = *o.form->menuTab();
        m.selectRow(5); // icon code 40: order "0", icon "ERROR"
        QCOMPARE(m.cboVSHMenu230x->currentIndex(), 0);
        QCOMPARE(menuRows(m).at(5).icon, QStringLiteral("ERROR"));
        pick(m.cboVSHMenu3, m.cboVSHMenu3->currentIndex()); // another field: the icon stays "ERROR"
        QCOMPARE(menuRows(m).at(5).icon, QStringLiteral("ERROR"));
        pick(m.cboVSHMenu230x, 0);
        QCOMPARE(menuRows(m).at(5).icon, QStringLiteral("Network Update"));
    }

    void arrowKeysWalkTheRows() {
        OpenedVsh o = openVsh(13);
        VshMenuTab& m = *o.form->menuTab();
        o.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(o.form.get()));
        m.lstvVSHMenu->setFocus();
        const QList<MenuRow> rows = menuRows(m);
        for (int r = 1; r <= 4; ++r) {
            QTest::keyClick(m.lstvVSHMenu, Qt::Key_Down);
            QCOMPARE(m.selectedRow(), r);
            if (rows.at(r).category != u"ERROR")
                QCOMPARE(m.cboVSHMenu137x->currentText(), rows.at(r).category);
            QCOMPARE(m.cboVSHMenu237x->currentIndex(), rows.at(r).order.toInt());
        }
        QTest::keyClick(m.lstvVSHMenu, Qt::Key_Up);
        QCOMPARE(m.selectedRow(), 3);
        QCOMPARE(m.cboVSHMenu237x->currentIndex(), rows.at(3).order.toInt());
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
        m.lstvVSHMenu->clearSelection();
        pick(categoryCombo(m, slim), 2);
        pick(iconCombo(m, slim), 20);
        pick(m.cboVSHMenu3, 1);
        m.chkVSHMenu[0]->click();
        if (slim)
            m.chkVSHMenu[1]->click();
        QCOMPARE(menuRows(m), before);
    }

    // A classic menu never gets a slim state, not even after the window showed a slim one.
    void classicMenuHasNoSlimState() {
        OpenedVsh o = openVsh(14);
        VshMenuTab& m = *o.form->menuTab();
        for (int r = 0; r < m.rowCount() && !m.chkVSHMenu[1]->isChecked(); ++r)
            m.selectRow(r); // up to a slim state
        QVERIFY(m.chkVSHMenu[1]->isChecked());
        const VshFixture classic = makeVsh(11, 3);
        writeFile(o.path, classic.bytes);
        QVERIFY(o.form->load(o.path, 11));
        QVERIFY(!m.chkVSHMenu[1]->isEnabled());
        QVERIFY(!m.chkVSHMenu[1]->isChecked());
        for (int r = 0; r < 4; ++r) {
            m.selectRow(r);
            m.chkVSHMenu[0]->click();
            const QString enabled = menuRows(m).at(r).enabled;
            QVERIFY2(enabled == u"FAT ON" || enabled == u"FAT OFF", qPrintable(enabled));
        }
    }

    void combosListTheirEntries() {
        OpenedVsh o = openVsh(12);
        const VshMenuTab& m = *o.form->menuTab();
        QCOMPARE(m.cboVSHMenu130x->count(), 6);
        QCOMPARE(m.cboVSHMenu137x->count(), 7);
        QCOMPARE(m.cboVSHMenu230x->count(), 32);
        QCOMPARE(m.cboVSHMenu237x->count(), 33);
        QCOMPARE(m.cboVSHMenu3->count(), 2);
        QCOMPARE(m.cboVSHMenu137x->itemText(4), QStringLiteral("TV"));
        QCOMPARE(m.cboVSHMenu230x->itemText(8), QStringLiteral("???"));
        QCOMPARE(m.cboVSHMenu237x->itemText(8), QStringLiteral("Connected Display Settings"));
        QCOMPARE(m.cboVSHMenu237x->itemText(32), QStringLiteral("Internet Radio"));
        QCOMPARE(m.chkVSHMenu[0]->text(), QStringLiteral("Activate"));
        QCOMPARE(m.chkVSHMenu[1]->text(), QStringLiteral("Slim"));
        for (const QComboBox* c :
             {m.cboVSHMenu130x, m.cboVSHMenu137x, m.cboVSHMenu230x, m.cboVSHMenu237x, m.cboVSHMenu3})
            QVERIFY(!c->isEditable() && !accessibleName(const_cast<QComboBox*>(c)).isEmpty());
        // The two variants of each combo share one place.
        QCOMPARE(m.cboVSHMenu130x->geometry(), m.cboVSHMenu137x->geometry());
        QCOMPARE(m.cboVSHMenu230x->geometry(), m.cboVSHMenu237x->geometry());
    }
};

QM_GUI_TEST(VshMenuTest);

#include "vshmenu_test.moc"
