#include "editor_helpers.h"
#include "guitest.h"
#include "scripteddialogs.h"

#include "prx/catalogue.h"
#include "support/known_offsets.h"
#include "vsh/colorgrid.h"
#include "vsh/menutab.h"
#include "widgets/colorbox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QtEndian>

#include <algorithm>

using namespace qm;
using namespace qm::test;
using ui::MsgIcon;
using ui::VshEditor;

namespace {

// Applies one edit as a user would make it:
//   "b:MEMBER=TEXT"          the number or text box of a member ("b:ClockX=12")
//   "c:MEMBER[INDEX]=#RRGGBB" a colour box ("c:TextColors[2]=#FF8000")
//   "m:ROW:FIELD=INDEX"      menu row: pick entry INDEX of the category, icon or region combo
//   "m:ROW:activate" / "m:ROW:slim"  click one of the check boxes
void applyEdit(VshEditor& form, const QString& edit) {
    const QStringList sides = edit.split(u'=');
    const QStringList parts = sides.first().split(u':');
    const QString value = sides.size() > 1 ? sides.at(1) : QString();
    const QChar kind = parts.at(0).at(0);
    if (kind == u'b') {
        QLineEdit* box = form.box(*prx::vshMemberByName(parts.at(1)));
        box->clear();
        QTest::keyClicks(box, value);
        QCOMPARE(box->text(), value);
        return;
    }
    if (kind == u'c') {
        ui::ColorBox* box = colourBox(form, qPrintable(parts.at(1)));
        ScriptedDialogs dialogs;
        dialogs.colors = {prx::rgbFromHex(value)};
        box->click();
        QCOMPARE(dialogs.calls.size(), 1);
        return;
    }
    ui::VshMenuTab& m = *form.menuTab();
    m.selectRow(parts.at(1).toInt());
    const bool slim = form.release().row >= 12;
    const QString& field = parts.at(2);
    if (field == u"activate" || field == u"slim")
        (field == u"activate" ? m.activateBox() : m.slimBox())->click();
    else if (field == u"category")
        pick(m.categoryBox(slim ? prx::MenuFormat::Slim : prx::MenuFormat::Classic), value.toInt());
    else if (field == u"icon")
        pick(m.iconBox(slim ? prx::MenuFormat::Slim : prx::MenuFormat::Classic), value.toInt());
    else
        pick(m.regionBox(), value.toInt());
}

// "Member+OFFSET:LENGTH" as a range of file offsets in a release.
std::set<qint64> rangeOf(int version, const QString& text) {
    const QStringList parts = text.split(u':');
    const QStringList at = parts.at(0).split(u'+');
    const auto member = prx::vshMemberByName(at.at(0));
    if (!member)
        qFatal("no member %s", qPrintable(at.at(0)));
    const qint64 start = known::vshOffset(version, *member) + (at.size() > 1 ? at.at(1).toLongLong() : 0);
    return byteRange(start, parts.at(1).toLongLong());
}

// Whether some bytes changed, all of them inside `allowed`.
bool changedWithin(const QByteArray& before, const QByteArray& after, const std::set<qint64>& allowed) {
    const std::set<qint64> changed = changedOffsets(before, after);
    return !changed.empty() && std::includes(allowed.begin(), allowed.end(), changed.begin(), changed.end());
}

} // namespace

class VshSaveTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void saveUnchanged_data() { addVshReleaseRows(); }

    // A load and a save without edits leave every byte as it was, unreadable menu codes included.
    void saveUnchanged() {
        QFETCH(int, version);
        for (const QLocale& locale : {kEnglish, kFrench}) {
            ScriptedDialogs dialogs;
            OpenedVsh o = openVsh(version, locale);
            QVERIFY(o.window->writeFile(o.path));
            QVERIFY2(dialogs.calls.isEmpty(), qPrintable(messageSummary(dialogs.calls)));
            QCOMPARE(readFile(o.path), o.fixture.bytes);
        }
    }

    // The formats are shown but never written, whatever their boxes hold.
    void formatStringsAreNeverWritten() {
        OpenedVsh o = openVsh(12);
        for (prx::VshMember m : {prx::VshMember::FormatsEurope, prx::VshMember::FormatsUSJapan})
            for (int k = 0; k < 5; ++k)
                o.form->formatBox(m, k)->setText(QStringLiteral("%y"));
        QVERIFY(o.window->writeFile(o.path));
        QCOMPARE(readFile(o.path), o.fixture.bytes);
        QCOMPARE(o.form->formatBox(prx::VshMember::FormatsEurope, 0)->text(),
                 expectedFormat(o.fixture.expected, prx::VshMember::FormatsEurope, 0));
    }

    // A network value that is not main + 1 in the file is made so by the first save.
    void networkIconIsWrittenAsMainPlusOne() {
        OpenedVsh o = openVsh(13);
        QByteArray bytes = o.fixture.bytes;
        putSingle(bytes, known::vshOffset(13, prx::VshMember::NetworkIconYUnfocused), 3.0f);
        writeFile(o.path, bytes);
        QVERIFY(o.window->loadFile(o.path, test::vshRow(13)));
        const float main = singleAt(bytes, known::vshOffset(13, prx::VshMember::MainIconYUnfocused));
        QCOMPARE(o.form->box(prx::VshMember::NetworkIconYUnfocused)->text(),
                 QString::number(static_cast<double>(main + 1)));
        QVERIFY(o.window->writeFile(o.path));
        const QByteArray saved = readFile(o.path);
        QVERIFY(changedWithin(bytes, saved, rangeOf(13, QStringLiteral("NetworkIconYUnfocused:4"))));
        QCOMPARE(singleAt(saved, known::vshOffset(13, prx::VshMember::NetworkIconYUnfocused)), main + 1);
    }

    void editIsSaved_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("version");
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QStringList>("ranges"); // where bytes may change
        QTest::addColumn<QByteArray>("check");   // "Member+OFF" and the bytes expected there, or empty
        QTest::addColumn<QByteArray>("bytes");
        auto row = [](const char* name, const char* loc, int v, QStringList edits, QStringList ranges,
                      const char* check = "", QByteArray bytes = {}) {
            QTest::newRow(name) << QString::fromLatin1(loc) << v << edits << ranges << QByteArray(check)
                                << bytes;
        };
        const auto L = [](const char* t) { return QString::fromLatin1(t); };
        row("1.5x XMB X", "en", 1, {L("b:XmbX=12.5")}, {L("XmbX:4")}, "XmbX",
            QByteArray::fromHex("00004841"));
        row("2.50 Busy, French", "fr", 3, {L("b:BusyIconSpeed=-2,5")}, {L("BusyIconSpeed:4")},
            "BusyIconSpeed", QByteArray::fromHex("000020c0"));
        row("3.0x BMP size", "en", 7, {L("b:BmpSize=32767")}, {L("BmpSize:2")}, "BmpSize",
            QByteArray::fromHex("ff7f"));
        row("3.71 main icon and its network icon", "en", 12, {L("b:MainIconYUnfocused=10")},
            {L("MainIconYUnfocused:4"), L("NetworkIconYUnfocused:4")}, "NetworkIconYUnfocused",
            QByteArray::fromHex("00003041"));
        row("3.8x MS option", "en", 14, {L("b:AlphaMSOptionIcon=0,5"), L("b:MSOptionIconX=-1")},
            {L("AlphaMSOptionIcon:4"), L("MSOptionIconX:4")}, "MSOptionIconX",
            QByteArray::fromHex("000080bf"));
        row("3.30 icon name", "en", 9, {L("b:MSIconPhoto=abc")}, {L("MSIconPhoto:16")}, "MSIconPhoto",
            QByteArray("abc\0\0\0\0", 7));
        row("3.5x path, blanks dropped", "en", 11, {L("b:UpdatePath2=ms0:/my dir")}, {L("UpdatePath2:31")},
            "UpdatePath2", QByteArray("ms0:/mydir"));
        row("2.0x month colour", "en", 2, {L("c:TextColors[2]=#FF8000")}, {L("TextColors+24:12")},
            "TextColors+24", QByteArray::fromHex("0000803f8180003f00000000"));
        row("3.7x slim infobar colour", "en", 13, {L("c:ContextColorsSlim[14]=#000000")},
            {L("ContextColorsSlim+168:12")}, "ContextColorsSlim+168", QByteArray(12, '\0'));
        row("3.1x menu category", "en", 8, {L("m:2:category=4")}, {L("MenuEntries+32:1")}, "MenuEntries+32",
            QByteArray("\x05", 1));
        row("3.40 menu region", "en", 10, {L("m:1:region=0")}, {L("MenuEntries+28:4")}, "MenuEntries+28",
            QByteArray::fromHex("ffffffff"));
        row("3.5x menu icon", "en", 11, {L("m:0:icon=12")}, {L("MenuEntries+4:1")}, "MenuEntries+4",
            QByteArray("\x0c", 1));
        row("3.8x menu slim on", "en", 14, {L("m:0:slim")}, {L("MenuEntries+8:1")}, "MenuEntries+8",
            QByteArray("\x06", 1));
        row("3.71 menu slim off", "en", 12, {L("m:1:slim")}, {L("MenuEntries+24:1")}, "MenuEntries+24",
            QByteArray("\x00", 1));
        row("3.7x menu fat off", "en", 13, {L("m:0:activate")}, {L("MenuEntries+8:1")}, "MenuEntries+8",
            QByteArray("\x02", 1));
        row("3.8x last row", "en", 14, {L("m:23:category=6")}, {L("MenuEntries+368:1")}, "MenuEntries+368",
            QByteArray("\x06", 1));
        row("many at once", "en", 12,
            {L("b:ClockX=1"), L("b:RCOPath2=ms0:/r.rco"), L("c:TextColorsSlim[0]=#102030"), L("m:4:icon=32")},
            {L("ClockX:4"), L("RCOPath2:40"), L("TextColorsSlim:12"), L("MenuEntries+68:1")});
    }

    // Exactly the edited values' bytes change, and the reload shows what was written.
    void editIsSaved() {
        QFETCH(QString, locale);
        QFETCH(int, version);
        QFETCH(QStringList, edits);
        QFETCH(QStringList, ranges);
        QFETCH(QByteArray, check);
        QFETCH(QByteArray, bytes);
        ScriptedDialogs dialogs;
        OpenedVsh o = openVsh(version, localeNamed(locale));
        for (const QString& e : edits)
            applyEdit(*o.form, e);
        const prx::ModuleValues shown = o.form->values();
        QSignalSpy status(o.window.get(), &ui::EditorWindow::statusChanged);
        QVERIFY(o.window->writeFile(o.path));
        QVERIFY2(dialogs.calls.isEmpty(), qPrintable(messageSummary(dialogs.calls)));
        QCOMPARE(status.size(), 1);

        const QByteArray saved = readFile(o.path);
        std::set<qint64> allowed;
        for (const QString& r : ranges)
            allowed.merge(rangeOf(version, r));
        QVERIFY(changedWithin(o.fixture.bytes, saved, allowed));
        if (!check.isEmpty()) {
            const qint64 at = *rangeOf(version, QString::fromLatin1(check) + QStringLiteral(":1")).begin();
            QCOMPARE(saved.mid(at, bytes.size()).toHex(), bytes.toHex());
        }
        // The reload shows the file.
        const prx::ModuleValues& reread = o.form->values();
        for (prx::VshMember m :
             {prx::VshMember::MenuEntries, prx::VshMember::TextColors, prx::VshMember::ContextColorsSlim})
            QCOMPARE(reread.value(m), shown.value(m));
        // A second save of the reloaded window writes nothing new.
        QVERIFY(o.window->writeFile(o.path));
        QCOMPARE(readFile(o.path), saved);
    }

    void saveAsCopiesFirst() {
        ScriptedDialogs dialogs;
        OpenedVsh o = openVsh(11);
        const QString other = o.dir->filePath(QStringLiteral("sub dir/vsh edited.prx"));
        QDir().mkpath(QFileInfo(other).absolutePath());
        applyEdit(*o.form, QStringLiteral("b:XmbXGameSubmenu=-7"));
        QVERIFY(o.window->writeFile(other));
        QVERIFY(dialogs.calls.isEmpty());
        QCOMPARE(readFile(o.path), o.fixture.bytes);
        QVERIFY(changedWithin(o.fixture.bytes, readFile(other),
                              rangeOf(11, QStringLiteral("XmbXGameSubmenu:4"))));
        QCOMPARE(o.window->statusFile(), QDir::toNativeSeparators(other) + u' ');
        applyEdit(*o.form, QStringLiteral("b:XmbX=1"));
        QVERIFY(o.window->writeFile(other));
        QCOMPARE(readFile(o.path), o.fixture.bytes);
        QCOMPARE(singleAt(readFile(other), known::vshOffset(11, prx::VshMember::XmbX)), 1.0f);
    }

    void refusedSave_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<bool>("otherFile");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        const QString empty = QStringLiteral("One of the value is empty");
        const QString bmp = QStringLiteral("BMP Max Size it's 32767 bytes");
        const QString mismatch = QStringLiteral("Error 13 occurred! (Type mismatch)");
        const int none = static_cast<int>(MsgIcon::None);
        const int critical = static_cast<int>(MsgIcon::Critical);
        QTest::newRow("empty Mute Y") << 5 << latin1({"b:XmbX=3", "b:MuteY="}) << false << empty << none;
        QTest::newRow("empty Mute Y, save as") << 5 << latin1({"b:MuteY="}) << true << empty << none;
        QTest::newRow("empty fade out")
            << 14 << latin1({"c:TextColors[0]=#FFFFFF", "b:FocusedIconFadeOut="}) << false << empty << none;
        QTest::newRow("empty icon name") << 8 << latin1({"b:MSIconGame="}) << false << empty << none;
        QTest::newRow("empty RCO path, save as")
            << 10 << latin1({"m:0:activate", "b:RCOPath2="}) << true << empty << none;
        QTest::newRow("BMP 32768") << 7 << latin1({"b:BmpSize=32768"}) << false << bmp << none;
        QTest::newRow("BMP 40000, save as")
            << 13 << latin1({"b:XmbX=2", "b:BmpSize=40000"}) << true << bmp << none;
        QTest::newRow("BMP not a number") << 9 << latin1({"b:BmpSize=-"}) << false << mismatch << critical;
        // Boxes no empty check covers: the values before them are not written either.
        QTest::newRow("empty X (Icon)")
            << 12 << latin1({"b:XmbX=5", "c:TextColors[1]=#123456", "b:MSOptionIconX="}) << false << mismatch
            << critical;
        QTest::newRow("empty MS Option Icon, save as")
            << 14 << latin1({"b:MSIconPhoto=x", "b:AlphaMSOptionIcon="}) << true << mismatch << critical;
        QTest::newRow("comma only") << 6 << latin1({"b:AlphaHighlightedText=,"}) << false << mismatch
                                    << critical;
        QTest::newRow("minus only") << 12 << latin1({"b:MSOptionIconY=-"}) << false << mismatch << critical;
    }

    // A refused save shows one message and writes nothing: no byte of the module, no new file.
    void refusedSave() {
        QFETCH(int, version);
        QFETCH(QStringList, edits);
        QFETCH(bool, otherFile);
        QFETCH(QString, message);
        QFETCH(int, icon);
        OpenedVsh o = openVsh(version);
        for (const QString& e : edits)
            applyEdit(*o.form, e);
        const prx::ModuleValues shown = o.form->values();
        const QString other = o.dir->filePath(QStringLiteral("other.prx"));
        ScriptedDialogs dialogs;
        QSignalSpy status(o.window.get(), &ui::EditorWindow::statusChanged);
        const Status saved = o.window->writeFile(otherFile ? other : o.path);
        QVERIFY(!saved);
        QVERIFY(dialogs.calls.isEmpty());
        ui::showError(o.form, saved.error());
        QCOMPARE(dialogs.calls.size(), 1);
        QCOMPARE(dialogs.calls.first().title, QStringLiteral("RAD Ededid"));
        QCOMPARE(dialogs.calls.first().text, message);
        QCOMPARE(static_cast<int>(dialogs.calls.first().icon), icon);
        QCOMPARE(readFile(o.path), o.fixture.bytes);
        QVERIFY(!QFileInfo::exists(other));
        QCOMPARE(status.size(), 0);
        QCOMPARE(o.window->statusFile(), QDir::toNativeSeparators(o.path) + u' ');
        QCOMPARE(o.form->values(), shown); // the window keeps the edits
    }

    // A box that a release lacks can't block a save, whatever it held before.
    void disabledBoxesAreNotChecked() {
        OpenedVsh o = openVsh(3);
        QVERIFY(o.form->box(prx::VshMember::BmpSize)->text().isEmpty());
        o.form->box(prx::VshMember::BmpSize)->setText(QStringLiteral("99999"));
        QVERIFY(o.window->writeFile(o.path));
        QCOMPARE(readFile(o.path), o.fixture.bytes);
    }
};

QM_GUI_TEST(VshSaveTest);

#include "vshsave_test.moc"
