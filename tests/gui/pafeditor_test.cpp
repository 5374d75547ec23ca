#include "editor_helpers.h"
#include "guitest.h"
#include "scripteddialogs.h"

#include "paf/pafeditor.h"
#include "prx/catalogue.h"
#include "support/fixtures.h"
#include "support/known_offsets.h"
#include "widgets/balloontip.h"
#include "widgets/numberkeyfilter.h"
#include "widgets/windowhelpers.h"

#include <QAccessible>
#include <QApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <utility>

constexpr int kPafBoxCount = qm::ui::PafEditor::kBoxCount;
constexpr int kPafBoxMainIconYUnfocused = qm::ui::PafEditor::kBoxMainIconYUnfocused;
using namespace qm::test;
using qm::test::DialogCall;
using qm::test::pafBoxOffset;
using qm::test::ScriptedDialogs;
using qm::test::singleAt;
using qm::ui::MsgButtons;
using qm::ui::MsgIcon;
using qm::ui::PafEditor;

class PafEditorTest : public QObject {
    Q_OBJECT

    // A module of one release in a fresh folder, and a window that shows it.
    struct Opened {
        std::unique_ptr<QTemporaryDir> dir;
        QString path;
        qm::test::PafFixture fixture;
        std::unique_ptr<PafEditor> form;
    };

    static Opened open(int version, const QLocale& locale = kEnglish) {
        Opened o;
        o.dir = std::make_unique<QTemporaryDir>();
        o.path = o.dir->filePath(QStringLiteral("paf.prx"));
        o.fixture = qm::test::makePaf(version, 3);
        qm::test::writeFile(o.path, o.fixture.bytes);
        o.form = std::make_unique<PafEditor>();
        o.form->setLocale(locale);
        if (!o.form->load(o.path, version))
            qFatal("fixture module did not load");
        return o;
    }

    static void retype(QLineEdit* box, const QString& text) {
        box->clear();
        QTest::keyClicks(box, text);
    }

    static void addReleaseRows() {
        QTest::addColumn<int>("version");
        for (int v = 1; v <= qm::prx::kPafRows; ++v)
            QTest::addRow("%s", qm::prx::pafRelease(v).label) << v;
    }

private Q_SLOTS:
    void newWindowIsEmptyAndDisabled() {
        PafEditor form;
        QCOMPARE(form.objectName(), QStringLiteral("PafEditor"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Paf.rad Ededid"));
        QVERIFY(!form.windowIcon().isNull());
        const QSize client(462, 401);
        QCOMPARE(form.minimumSize(), client);
        QCOMPARE(form.maximumSize(), client);
        QCOMPARE(form.size(), client);

        auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("PAFTabs"));
        QVERIFY(tabs);
        QVERIFY(tabs->isEnabled());
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(0), QStringLiteral("Main Menu"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Submenu"));
        QCOMPARE(tabs->tabText(2), QStringLiteral("Other"));
        for (int i = 0; i < 12; ++i) {
            auto* frame = form.findChild<QGroupBox*>(qm::ui::indexedName(QStringLiteral("framePAF"), i));
            QVERIFY2(frame, qPrintable(QString::number(i)));
            QVERIFY(frame->isEnabled());
        }
        for (int i = 0; i < kPafBoxCount; ++i) {
            auto* box = form.findChild<QLineEdit*>(qm::ui::indexedName(QStringLiteral("txtPAFPRXValue"), i));
            auto* label = form.findChild<QLabel*>(qm::ui::indexedName(QStringLiteral("lblPAFPRXValue"), i));
            QVERIFY2(box && label, qPrintable(QString::number(i)));
            QCOMPARE(box, form.valueBox(i));
            QCOMPARE(label, form.valueLabel(i));
            QVERIFY(box->text().isEmpty());
            QVERIFY(!box->isEnabled());
            QVERIFY(!label->isEnabled());
            QCOMPARE(box->maxLength(), 32767); // no limit of its own
            QCOMPARE(box->contextMenuPolicy(), Qt::PreventContextMenu);
        }
        QCOMPARE(form.versionIndex(), -1);
        QVERIFY(form.statusFile().isEmpty());
    }

    void frames_data() {
        QTest::addColumn<int>("frame");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QList<int>>("boxes");
        const QString color = QStringLiteral("\"Color\"");
        QTest::newRow("0") << 0 << 0 << QStringLiteral("Position") << QList<int>{6, 7, 8};
        QTest::newRow("1") << 1 << 0 << QStringLiteral("Size") << QList<int>{9, 10};
        QTest::newRow("2") << 2 << 0 << color << QList<int>{11, 12};
        QTest::newRow("3") << 3 << 0 << QStringLiteral("Alpha Channel") << QList<int>{14, 15};
        QTest::newRow("4") << 4 << 0 << QStringLiteral("Other Value") << QList<int>{5};
        QTest::newRow("5") << 5 << 1 << QStringLiteral("Space") << QList<int>{16, 17};
        QTest::newRow("6") << 6 << 1 << color << QList<int>{18, 19};
        QTest::newRow("7") << 7 << 1 << color << QList<int>{23, 24};
        QTest::newRow("8") << 8 << 1 << QStringLiteral("Size") << QList<int>{21, 22};
        QTest::newRow("9") << 9 << 1 << QStringLiteral("Alpha Channel") << QList<int>{13, 20};
        QTest::newRow("10") << 10 << 2 << QStringLiteral("Speed") << QList<int>{0, 1, 3};
        QTest::newRow("11") << 11 << 2 << QStringLiteral("Size") << QList<int>{2, 4};
    }

    // Each frame sits on its tab, carries its title and holds its boxes and their labels.
    void frames() {
        QFETCH(int, frame);
        QFETCH(int, tab);
        QFETCH(QString, title);
        QFETCH(QList<int>, boxes);
        PafEditor form;
        auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("PAFTabs"));
        auto* group = form.findChild<QGroupBox*>(qm::ui::indexedName(QStringLiteral("framePAF"), frame));
        QVERIFY(tabs && group);
        QCOMPARE(group->title(), title);
        QCOMPARE(accessibleName(group), title);
        QVERIFY(tabs->widget(tab)->isAncestorOf(group));
        for (int box : boxes) {
            QCOMPARE(form.valueBox(box)->parentWidget(), group);
            QCOMPARE(form.valueLabel(box)->parentWidget(), group);
        }
        QCOMPARE(group->findChildren<QLineEdit*>().size(), boxes.size());
    }

    void captions_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("caption");
        const char* captions[kPafBoxCount] = {
            "Vertical Scrolling :",
            "Horizontal Scrolling :",
            "MS Contents : (Unfocused)",
            "Glow Blinking :",
            "XMB Overall :",
            "Space between Main Icons :",
            "Main Icon Y : (Focused)",
            "Main Menu Text Y :",
            "Main Icon Y :       (Unfocused)          (Not Network Icon)",
            "Main Icon : (Unfocused)",
            "Text Main Menu :",
            "Main Menu Icons and Font :",
            "Main Menu Font :",
            "Submenu Text :",
            "Main Icon : (Unfocused)",
            "Main Icon : (Focused)",
            "Between Subicons :",
            "Between  Main And Subicons :",
            "Submenus Font and Line :",
            "Subicons : (Unfocused)",
            "Subicons : (Unfocused)",
            "Other Submenu Icons :",
            "Settings Submenu Icon :",
            "Subicon Shadows Width :",
            "Subicon Shadows Height :",
        };
        for (int i = 0; i < kPafBoxCount; ++i)
            QTest::addRow("%d", i) << i << QString::fromLatin1(captions[i]);
    }

    // The label shows the caption and names its box for assistive tools.
    void captions() {
        QFETCH(int, box);
        QFETCH(QString, caption);
        PafEditor form;
        QCOMPARE(form.valueLabel(box)->text(), caption);
        QCOMPARE(form.valueLabel(box)->buddy(), form.valueBox(box));
        QCOMPARE(accessibleName(form.valueBox(box)), caption);
    }

    // Nothing on a tab is cut off or overlaps; box 8's caption takes three lines.
    void layoutFitsTheWindow() {
        Opened o = open(12);
        PafEditor& form = *o.form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("PAFTabs"));
        const QString shots = qEnvironmentVariable("QUILLMARK_FRMPAF_SHOTS");
        for (int t = 0; t < tabs->count(); ++t) {
            tabs->setCurrentIndex(t);
            QWidget* page = tabs->widget(t);
            QApplication::processEvents();
            if (!shots.isEmpty())
                form.grab().save(QStringLiteral("%1/pafeditor-tab%2.png").arg(shots).arg(t));
            const QList<QGroupBox*> frames = page->findChildren<QGroupBox*>();
            for (QGroupBox* frame : frames) {
                QVERIFY2(page->rect().contains(frame->geometry()), qPrintable(frame->objectName()));
                for (QGroupBox* other : frames)
                    QVERIFY2(other == frame || !other->geometry().intersects(frame->geometry()),
                             qPrintable(frame->objectName() + QStringLiteral(" / ") + other->objectName()));
                for (QWidget* child : frame->findChildren<QWidget*>()) {
                    QVERIFY2(frame->contentsRect().contains(child->geometry()),
                             qPrintable(child->objectName()));
                    auto* label = qobject_cast<QLabel*>(child);
                    if (!label)
                        continue;
                    QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                             qPrintable(label->objectName()));
                    for (QLineEdit* box : frame->findChildren<QLineEdit*>())
                        QVERIFY2(!box->geometry().intersects(label->geometry()),
                                 qPrintable(label->objectName()));
                }
            }
        }
        QLabel* label = form.valueLabel(kPafBoxMainIconYUnfocused);
        const int lines = label->heightForWidth(label->width()) / label->fontMetrics().lineSpacing();
        QCOMPARE(lines, 3);
    }

    void load_data() { addReleaseRows(); }

    void load() {
        QFETCH(int, version);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("paf.prx"));
        const auto fixture = qm::test::makePaf(version, 5);
        qm::test::writeFile(path, fixture.bytes);
        ScriptedDialogs dialogs;
        PafEditor form;
        form.setLocale(kEnglish);
        QSignalSpy status(&form, &qm::ui::EditorForm::statusChanged);
        QVERIFY(form.load(path, version));
        QCOMPARE(status.size(), 1);
        QVERIFY(dialogs.calls.isEmpty());
        QCOMPARE(form.statusVersion(),
                 QString::fromLatin1(known::pafRelease(version).label) + QStringLiteral(" "));
        QCOMPARE(form.statusFile(), path + QStringLiteral(" "));
        QCOMPARE(form.versionIndex(), version);
        QCOMPARE(form.filePath(), path);
        for (int i = 0; i < kPafBoxCount; ++i) {
            const bool there = version != 1 || i != kPafBoxMainIconYUnfocused;
            QCOMPARE(form.valueBox(i)->text(), expectedPaf(fixture.expected, i));
            QCOMPARE(form.valueBox(i)->isEnabled(), there);
            QCOMPARE(form.valueLabel(i)->isEnabled(), there);
            if (!there)
                QVERIFY(form.valueBox(i)->text().isEmpty());
        }
    }

    void saveUnchanged_data() { addReleaseRows(); }

    // Values the user left alone are not written again, not even rounded.
    void saveUnchanged() {
        QFETCH(int, version);
        for (const QLocale& locale : {kEnglish, kFrench}) {
            ScriptedDialogs dialogs;
            Opened o = open(version, locale);
            QVERIFY(o.form->save(o.path, version));
            QVERIFY2(dialogs.calls.isEmpty(), qPrintable(messageSummary(dialogs.calls)));
            QCOMPARE(qm::test::readFile(o.path), o.fixture.bytes);
        }
    }

    void editIsSaved_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("typed");
        QTest::newRow("English 3.7x Main Icon Y") << "en" << 11 << 6 << "12.5";
        QTest::newRow("English 1.5x Vertical Scrolling") << "en" << 1 << 0 << "12.5";
        QTest::newRow("English box 8") << "en" << 2 << 8 << "-12.5";
        QTest::newRow("English comma") << "en" << 6 << 17 << "12,5";
        QTest::newRow("French 1.5x Shadows Height") << "fr" << 1 << 24 << "12,5";
        QTest::newRow("French box 8") << "fr" << 12 << 8 << "12,5";
        QTest::newRow("French Submenu Text") << "fr" << 7 << 13 << "-12,5";
    }

    // Exactly the edited value's four bytes change, and the reload shows it.
    void editIsSaved() {
        QFETCH(QString, locale);
        QFETCH(int, version);
        QFETCH(int, box);
        QFETCH(QString, typed);
        const QLocale loc = localeNamed(locale);
        ScriptedDialogs dialogs;
        Opened o = open(version, loc);
        retype(o.form->valueBox(box), typed);
        QCOMPARE(o.form->valueBox(box)->text(), typed);
        QSignalSpy status(o.form.get(), &qm::ui::EditorForm::statusChanged);
        QVERIFY(o.form->save(o.path, version));
        QVERIFY2(dialogs.calls.isEmpty(), qPrintable(messageSummary(dialogs.calls)));
        QCOMPARE(status.size(), 1);

        const QByteArray saved = qm::test::readFile(o.path);
        const qint64 at = pafBoxOffset(version, box);
        const QList<qint64> changed = qm::test::differingOffsets(o.fixture.bytes, saved);
        QVERIFY(!changed.isEmpty());
        for (qint64 offset : changed)
            QVERIFY2(offset >= at && offset < at + 4, qPrintable(QString::number(offset, 16)));
        const float expected = typed.startsWith(u'-') ? -12.5f : 12.5f;
        QCOMPARE(singleAt(saved, at), expected);

        const QString shown = shownIn(QString::number(static_cast<double>(expected)), loc);
        QCOMPARE(o.form->valueBox(box)->text(), shown);
        for (int i = 0; i < kPafBoxCount; ++i)
            if (i != box)
                QCOMPARE(o.form->valueBox(i)->text(), expectedPaf(o.fixture.expected, i, loc));
        // A second save of the reloaded window writes nothing new.
        QVERIFY(o.form->save(o.path, version));
        QCOMPARE(qm::test::readFile(o.path), saved);
    }

    // Saving under another name copies the module there and shows the copy from then on.
    void saveAsOtherFile() {
        ScriptedDialogs dialogs;
        const int version = 9;
        Opened o = open(version);
        const QString other = o.dir->filePath(QStringLiteral("paf edited.prx"));
        retype(o.form->valueBox(21), QStringLiteral("12.5"));
        QVERIFY(o.form->save(other, version));
        QVERIFY2(dialogs.calls.isEmpty(), qPrintable(messageSummary(dialogs.calls)));
        QCOMPARE(qm::test::readFile(o.path), o.fixture.bytes);
        const QByteArray copy = qm::test::readFile(other);
        QCOMPARE(copy.size(), o.fixture.bytes.size());
        const qint64 at = pafBoxOffset(version, 21);
        for (qint64 offset : qm::test::differingOffsets(o.fixture.bytes, copy))
            QVERIFY(offset >= at && offset < at + 4);
        QCOMPARE(singleAt(copy, at), 12.5f);
        QCOMPARE(o.form->statusFile(), other + QStringLiteral(" "));
        QCOMPARE(o.form->filePath(), other);
        QCOMPARE(o.form->valueBox(21)->text(), QStringLiteral("12.5"));

        // The next edit goes to the copy, which is now the open module.
        retype(o.form->valueBox(4), QStringLiteral("7"));
        QVERIFY(o.form->save(other, version));
        QCOMPARE(qm::test::readFile(o.path), o.fixture.bytes);
        QCOMPARE(singleAt(qm::test::readFile(other), pafBoxOffset(version, 4)), 7.0f);
    }

    void refusedSave_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<QList<int>>("emptied");
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("otherFile");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        const QString empty = QStringLiteral("One of the value is empty");
        const QString mismatch = QStringLiteral("Error 13 occurred! (Type mismatch)");
        const int none = static_cast<int>(MsgIcon::None);
        const int critical = static_cast<int>(MsgIcon::Critical);
        QTest::newRow("empty first box") << 1 << QList<int>{0} << -1 << "" << false << empty << none;
        QTest::newRow("empty last box, other file")
            << 12 << QList<int>{24} << -1 << "" << true << empty << none;
        QTest::newRow("empty box after an edit") << 5 << QList<int>{16} << 2 << "1" << false << empty << none;
        QTest::newRow("empty box checked before box 8")
            << 4 << QList<int>{8, 20} << -1 << "" << false << empty << none;
        QTest::newRow("not a number") << 4 << QList<int>{} << 3 << "5-" << false << mismatch << critical;
        QTest::newRow("not a number, other file")
            << 6 << QList<int>{} << 10 << "-" << true << mismatch << critical;
        for (int v = 2; v <= qm::prx::kPafRows; ++v)
            QTest::addRow("empty box 8, %s", qm::prx::pafRelease(v).label)
                << v << QList<int>{8} << 0 << "3" << (v % 2 == 0) << mismatch << critical;
    }

    // A refused save shows one message and leaves every byte (and the window) as it was.
    void refusedSave() {
        QFETCH(int, version);
        QFETCH(QList<int>, emptied);
        QFETCH(int, box);
        QFETCH(QString, typed);
        QFETCH(bool, otherFile);
        QFETCH(QString, message);
        QFETCH(int, icon);
        ScriptedDialogs dialogs;
        Opened o = open(version);
        for (int i : emptied)
            o.form->valueBox(i)->clear();
        if (box >= 0)
            retype(o.form->valueBox(box), typed);
        const QString dest = otherFile ? o.dir->filePath(QStringLiteral("other.prx")) : o.path;
        QSignalSpy status(o.form.get(), &qm::ui::EditorForm::statusChanged);

        const qm::Status saved = o.form->save(dest, version);
        QVERIFY(!saved);
        QVERIFY(dialogs.calls.isEmpty());
        qm::ui::showError(o.form.get(), saved.error());
        QCOMPARE(dialogs.calls.size(), 1);
        const DialogCall& call = dialogs.calls.first();
        QCOMPARE(call.title, QStringLiteral("RAD Ededid"));
        QCOMPARE(call.text, message);
        QCOMPARE(static_cast<int>(call.icon), icon);
        QCOMPARE(call.buttons, MsgButtons::Ok);
        QCOMPARE(qm::test::readFile(o.path), o.fixture.bytes);
        QVERIFY(!QFileInfo::exists(o.dir->filePath(QStringLiteral("other.prx"))));
        QCOMPARE(status.size(), 0);
        QCOMPARE(o.form->statusFile(), o.path + QStringLiteral(" "));
        for (int i : emptied)
            QVERIFY(o.form->valueBox(i)->text().isEmpty());
        if (box >= 0)
            QCOMPARE(o.form->valueBox(box)->text(), typed);
    }

    void failedLoad_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file") << "missing.prx" << 3 << "Error 53 occurred! (File not found)";
        QTest::newRow("short file") << "short.prx" << 3 << "Error 59 occurred! (Bad file length)";
        QTest::newRow("release of another size") << "paf.prx" << 4 << "Error 59 occurred! (Bad file length)";
        QTest::newRow("no such release") << "paf.prx" << 13 << "Error 9 occurred! (Subscript out of range)";
    }

    // A load that fails comes back to the caller (reported as shown here) and leaves the window as it was.
    void failedLoad() {
        QFETCH(QString, file);
        QFETCH(int, version);
        QFETCH(QString, message);
        Opened o = open(3);
        qm::test::writeFile(o.dir->filePath(QStringLiteral("short.prx")), o.fixture.bytes.left(1000));
        o.form->valueBox(5)->setText(QStringLiteral("42"));
        ScriptedDialogs dialogs;
        QSignalSpy status(o.form.get(), &qm::ui::EditorForm::statusChanged);
        const qm::Status loaded = o.form->load(o.dir->filePath(file), version);
        QVERIFY(!loaded);
        QVERIFY(dialogs.calls.isEmpty());
        qm::ui::showError(o.form.get(), loaded.error());
        QCOMPARE(dialogs.calls.size(), 1);
        QCOMPARE(dialogs.calls.first().title, QStringLiteral("RAD Ededid"));
        QCOMPARE(dialogs.calls.first().text, message);
        QCOMPARE(dialogs.calls.first().icon, MsgIcon::Critical);
        QCOMPARE(dialogs.calls.first().buttons, MsgButtons::Ok);
        QCOMPARE(status.size(), 0);
        QCOMPARE(o.form->versionIndex(), 3);
        QCOMPARE(o.form->statusFile(), o.path + QStringLiteral(" "));
        QCOMPARE(o.form->statusVersion(),
                 QString::fromLatin1(known::pafRelease(3).label) + QStringLiteral(" "));
        QCOMPARE(o.form->valueBox(5)->text(), QStringLiteral("42"));
        QCOMPARE(o.form->valueBox(0)->text(), expectedPaf(o.fixture.expected, 0));
        QVERIFY(o.form->valueBox(0)->isEnabled());
    }

    void emptyPath_data() {
        QTest::addColumn<bool>("loadedBefore");
        QTest::newRow("new window") << false;
        QTest::newRow("after a load") << true;
    }

    void emptyPath() {
        QFETCH(bool, loadedBefore);
        ScriptedDialogs dialogs;
        Opened o;
        if (loadedBefore) {
            o = open(2);
        } else {
            o.form = std::make_unique<PafEditor>();
        }
        QVERIFY(o.form->load(QString(), 2)); // nothing to read, nothing failed
        QVERIFY(dialogs.calls.isEmpty());
        for (int i = 0; i < kPafBoxCount; ++i) {
            QVERIFY(!o.form->valueBox(i)->isEnabled());
            QVERIFY(!o.form->valueLabel(i)->isEnabled());
        }
        QVERIFY(o.form->findChild<QTabWidget*>(QStringLiteral("PAFTabs"))->isEnabled());
    }

    void keyFilter_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("balloon");
        const int plain = Qt::NoModifier;
        for (const char* loc : {"en", "fr"}) {
            const bool english = qstrcmp(loc, "en") == 0;
            auto row = [loc](const char* name) -> QTestData& { return QTest::addRow("%s: %s", loc, name); };
            row("second minus") << loc << "-5" << int(Qt::Key_Minus) << plain << "-5" << false;
            row("minus after a digit") << loc << "5" << int(Qt::Key_Minus) << plain << "5-" << false;
            row("minus into empty") << loc << "" << int(Qt::Key_Minus) << plain << "-" << false;
            row("second comma") << loc << "1,5" << int(Qt::Key_Comma) << plain << "1,5" << false;
            row("first comma") << loc << "1" << int(Qt::Key_Comma) << plain << "1," << false;
            row("digit") << loc << "1," << int(Qt::Key_7) << plain << "1,7" << false;
            row("period") << loc << "1" << int(Qt::Key_Period) << plain << (english ? "1." : "1") << !english;
            row("period after period") << loc << "1.5" << int(Qt::Key_Period) << plain << "1.5" << !english;
            row("period after comma") << loc << "1,5" << int(Qt::Key_Period) << plain << "1,5" << !english;
            row("comma after period")
                << loc << "1.5" << int(Qt::Key_Comma) << plain << (english ? "1.5" : "1.5,") << false;
            row("letter") << loc << "12" << int(Qt::Key_A) << plain << "12" << true;
            row("blank") << loc << "12" << int(Qt::Key_Space) << plain << "12" << true;
            row("plus") << loc << "12" << int(Qt::Key_Plus) << plain << "12" << true;
            row("backspace") << loc << "12" << int(Qt::Key_Backspace) << plain << "1" << false;
            row("backspace after minus") << loc << "-5-" << int(Qt::Key_Backspace) << plain << "-5" << false;
            row("cut") << loc << "12" << int(Qt::Key_X) << int(Qt::ControlModifier) << "12" << true;
            row("enter") << loc << "12" << int(Qt::Key_Return) << plain << "12" << true;
        }
    }

    // The boxes take digits, one minus sign, one decimal mark and backspace.
    void keyFilter() {
        QFETCH(QString, locale);
        QFETCH(QString, before);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, after);
        QFETCH(bool, balloon);
        ScriptedDialogs dialogs;
        Opened o = open(5, localeNamed(locale));
        o.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(o.form.get()));
        qm::ui::BalloonTip().HideBalloonTip();
        const qm::ui::BalloonTip* previous = o.form->keyFilter()->lastBalloon();

        auto* tabs = o.form->findChild<QTabWidget*>(QStringLiteral("PAFTabs"));
        const std::pair<int, int> boxOnEachTab[] = {{5, 0}, {20, 1}, {3, 2}};
        for (const auto& [box, tab] : boxOnEachTab) {
            tabs->setCurrentIndex(tab);
            QLineEdit* edit = o.form->valueBox(box);
            edit->setText(before);
            if (modifiers & Qt::ControlModifier)
                edit->selectAll();
            QTest::keyClick(edit, static_cast<Qt::Key>(key), static_cast<Qt::KeyboardModifiers>(modifiers));
            QCOMPARE(edit->text(), after);
            const qm::ui::BalloonTip* last = o.form->keyFilter()->lastBalloon();
            if (balloon) {
                QVERIFY(last && last != previous);
                QCOMPARE(last->BalloonTipTitle(), QStringLiteral("Information :"));
                QCOMPARE(last->BalloonTipText(),
                         QStringLiteral("Just negative, decimale\r\nand entire numeric key !"));
                QCOMPARE(last->BalloonTipIcon(), 1);
                QWidget* shown = qm::ui::BalloonTip::visibleBalloon();
                QVERIFY(shown);
                QCOMPARE(shown->accessibleName(), QStringLiteral("Information :"));
                previous = last;
                qm::ui::BalloonTip().HideBalloonTip();
            } else {
                QCOMPARE(last, previous);
                QVERIFY(!qm::ui::BalloonTip::visibleBalloon());
            }
        }
        QVERIFY(dialogs.calls.isEmpty());
    }
};

QM_GUI_TEST(PafEditorTest);

#include "pafeditor_test.moc"
