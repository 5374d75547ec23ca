#include "editor_helpers.h"
#include "guitest.h"
#include "scripteddialogs.h"
#include "support/environment.h"

#include "paf/pafeditor.h"
#include "prx/catalogue.h"
#include "support/fixtures.h"
#include "support/known_offsets.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
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

using namespace qm;
using namespace qm::test;
using P = prx::PafMember;
using qm::test::DialogCall;
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
        std::unique_ptr<qm::ui::EditorWindow> window;
        PafEditor* form = nullptr; // the window's
    };

    static Opened open(int version, const QLocale& locale = kEnglish) {
        Opened o;
        o.dir = std::make_unique<QTemporaryDir>();
        o.path = o.dir->filePath(QStringLiteral("paf.prx"));
        o.fixture = qm::test::makePaf(version, 3);
        qm::test::writeFile(o.path, o.fixture.bytes);
        o.window = std::make_unique<qm::ui::EditorWindow>(qm::prx::ModuleKind::Paf);
        o.form = &qm::test::formOf<PafEditor>(*o.window);
        o.form->setLocale(locale);
        if (!o.window->loadFile(o.path, test::pafRow(version)))
            qFatal("fixture module did not load");
        return o;
    }

    static void retype(QLineEdit* box, const QString& text) {
        box->clear();
        QTest::keyClicks(box, text);
    }

    static QList<P> members() {
        QList<P> out;
        for (int m = 0; m < prx::kPafMemberCount; ++m)
            out.append(static_cast<P>(m));
        return out;
    }

    static void addReleaseRows() {
        QTest::addColumn<int>("version");
        for (int v = 1; v <= prx::kPafRows; ++v)
            QTest::addRow("%s", prx::pafRelease(v).label) << v;
    }

private Q_SLOTS:
    void newWindowIsEmptyAndDisabled() {
        qm::test::BareEditor bare(qm::prx::ModuleKind::Paf);
        PafEditor& form = qm::test::formOf<PafEditor>(bare.window);
        QCOMPARE(form.objectName(), QStringLiteral("PafEditor"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Paf.rad Ededid"));
        QVERIFY(!form.windowIcon().isNull());
        const QSize client(462, 401);
        QCOMPARE(form.minimumSize(), client);
        QCOMPARE(form.maximumSize(), client);
        QCOMPARE(form.size(), client);

        QTabWidget* tabs = form.tabs();
        QVERIFY(tabs->isEnabled());
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(0), QStringLiteral("Main Menu"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Submenu"));
        QCOMPARE(tabs->tabText(2), QStringLiteral("Other"));
        for (QGroupBox* frame : form.findChildren<QGroupBox*>())
            QVERIFY(frame->isEnabled());
        // Every member has a box named after it, with a caption label of its own as buddy.
        QCOMPARE(form.findChildren<QLineEdit*>().size(), prx::kPafMemberCount);
        for (P m : members()) {
            auto* box = form.findChild<QLineEdit*>(nameOf(m));
            QVERIFY2(box, qPrintable(nameOf(m)));
            QCOMPARE(box, form.box(m));
            QLabel* label = form.label(m);
            QVERIFY(label && !label->text().isEmpty());
            QCOMPARE(label->buddy(), box);
            QCOMPARE(accessibleName(box), label->text().simplified());
            QVERIFY(box->text().isEmpty());
            QVERIFY(!box->isEnabled());
            QVERIFY(!label->isEnabled());
            QCOMPARE(box->maxLength(), 32767); // no limit of its own
            QCOMPARE(box->contextMenuPolicy(), Qt::DefaultContextMenu);
        }
        QCOMPARE(form.release().row, 0);
        QVERIFY(bare.window.statusFile().isEmpty());
    }

    // Captions that share their text: each names its own member in a save's message.
    void sharedCaptions() {
        qm::test::BareEditor bare(qm::prx::ModuleKind::Paf);
        PafEditor& form = qm::test::formOf<PafEditor>(bare.window);
        QCOMPARE(form.label(P::MainIconSizeUnfocused)->text(), form.label(P::MainIconAlphaUnfocused)->text());
        QCOMPARE(form.label(P::MainIconYUnfocused)->text(),
                 QStringLiteral("Main Icon Y :       (Unfocused)          (Not Network Icon)"));
        QCOMPARE(form.label(P::MainSubiconSpacing)->text(), QStringLiteral("Between  Main And Subicons :"));
    }

    // Nothing on a tab is cut off or overlaps; box 8's caption takes three lines.
    void layoutFitsTheWindow() {
        if (underWine())
            QSKIP(kWineFonts);
        Opened o = open(12);
        PafEditor& form = *o.form;
        o.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTabWidget* tabs = form.tabs();
        const QString shots = qEnvironmentVariable("QUILLMARK_PAF_SHOTS");
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
        QLabel* label = form.label(P::MainIconYUnfocused);
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
        qm::test::BareEditor bare(qm::prx::ModuleKind::Paf);
        PafEditor& form = qm::test::formOf<PafEditor>(bare.window);
        form.setLocale(kEnglish);
        QSignalSpy status(&bare.window, &qm::ui::EditorWindow::statusChanged);
        QVERIFY(bare.window.loadFile(path, test::pafRow(version)));
        QCOMPARE(status.size(), 1);
        QVERIFY(dialogs.calls.isEmpty());
        QCOMPARE(bare.window.statusVersion(),
                 QString::fromLatin1(known::pafRelease(version).label) + QStringLiteral(" "));
        QCOMPARE(bare.window.statusFile(), QDir::toNativeSeparators(path) + QStringLiteral(" "));
        QCOMPARE(form.release().row, version);
        QCOMPARE(form.filePath(), path);
        for (P m : members()) {
            const bool there = version != 1 || m != P::MainIconYUnfocused;
            QCOMPARE(form.box(m)->text(), expectedPaf(fixture.expected, m));
            QCOMPARE(form.box(m)->cursorPosition(), 0);
            QCOMPARE(form.box(m)->isEnabled(), there);
            QCOMPARE(form.label(m)->isEnabled(), there);
            if (!there)
                QVERIFY(form.box(m)->text().isEmpty());
        }
    }

    void saveUnchanged_data() { addReleaseRows(); }

    // Values the user left alone are not written again, not even rounded.
    void saveUnchanged() {
        QFETCH(int, version);
        for (const QLocale& locale : {kEnglish, kFrench}) {
            ScriptedDialogs dialogs;
            Opened o = open(version, locale);
            QVERIFY(o.window->writeFile(o.path));
            QVERIFY2(dialogs.calls.isEmpty(), qPrintable(messageSummary(dialogs.calls)));
            QCOMPARE(qm::test::readFile(o.path), o.fixture.bytes);
        }
    }

    void editIsSaved_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::newRow("English 3.7x Main Icon Y") << "en" << 11 << "MainIconYFocused"
                                                  << "12.5";
        QTest::newRow("English 1.5x Vertical Scrolling") << "en" << 1 << "VerticalScrollSpeed"
                                                         << "12.5";
        QTest::newRow("English box 8") << "en" << 2 << "MainIconYUnfocused"
                                       << "-12.5";
        QTest::newRow("English comma") << "en" << 6 << "MainSubiconSpacing"
                                       << "12,5";
        QTest::newRow("French 1.5x Shadows Height") << "fr" << 1 << "SubiconShadowHeight"
                                                    << "12,5";
        QTest::newRow("French box 8") << "fr" << 12 << "MainIconYUnfocused"
                                      << "12,5";
        QTest::newRow("French Submenu Text") << "fr" << 7 << "SubmenuTextAlpha"
                                             << "-12,5";
    }

    // Exactly the edited value's four bytes change, and the reload shows it.
    void editIsSaved() {
        QFETCH(QString, locale);
        QFETCH(int, version);
        QFETCH(QString, box);
        QFETCH(QString, typed);
        const P member = *prx::pafMemberByName(box);
        const QLocale loc = localeNamed(locale);
        ScriptedDialogs dialogs;
        Opened o = open(version, loc);
        retype(o.form->box(member), typed);
        QCOMPARE(o.form->box(member)->text(), typed);
        QSignalSpy status(o.window.get(), &qm::ui::EditorWindow::statusChanged);
        QVERIFY(o.window->writeFile(o.path));
        QVERIFY2(dialogs.calls.isEmpty(), qPrintable(messageSummary(dialogs.calls)));
        QCOMPARE(status.size(), 1);

        const QByteArray saved = qm::test::readFile(o.path);
        const qint64 at = known::pafOffset(version, member);
        const QList<qint64> changed = qm::test::differingOffsets(o.fixture.bytes, saved);
        QVERIFY(!changed.isEmpty());
        for (qint64 offset : changed)
            QVERIFY2(offset >= at && offset < at + 4, qPrintable(QString::number(offset, 16)));
        const float expected = typed.startsWith(u'-') ? -12.5f : 12.5f;
        QCOMPARE(singleAt(saved, at), expected);

        const QString shown = shownIn(QString::number(static_cast<double>(expected)), loc);
        QCOMPARE(o.form->box(member)->text(), shown);
        for (P m : members())
            if (m != member)
                QCOMPARE(o.form->box(m)->text(), expectedPaf(o.fixture.expected, m, loc));
        // A second save of the reloaded window writes nothing new.
        QVERIFY(o.window->writeFile(o.path));
        QCOMPARE(qm::test::readFile(o.path), saved);
    }

    // Saving under another name copies the module there and shows the copy from then on.
    void saveAsOtherFile() {
        ScriptedDialogs dialogs;
        const int version = 9;
        Opened o = open(version);
        const QString other = o.dir->filePath(QStringLiteral("paf edited.prx"));
        retype(o.form->box(prx::PafMember::OtherSubmenuIconSize), QStringLiteral("12.5"));
        QVERIFY(o.window->writeFile(other));
        QVERIFY2(dialogs.calls.isEmpty(), qPrintable(messageSummary(dialogs.calls)));
        QCOMPARE(qm::test::readFile(o.path), o.fixture.bytes);
        const QByteArray copy = qm::test::readFile(other);
        QCOMPARE(copy.size(), o.fixture.bytes.size());
        const qint64 at = known::pafOffset(version, P::OtherSubmenuIconSize);
        for (qint64 offset : qm::test::differingOffsets(o.fixture.bytes, copy))
            QVERIFY(offset >= at && offset < at + 4);
        QCOMPARE(singleAt(copy, at), 12.5f);
        QCOMPARE(o.window->statusFile(), QDir::toNativeSeparators(other) + QStringLiteral(" "));
        QCOMPARE(o.form->filePath(), other);
        QCOMPARE(o.form->box(prx::PafMember::OtherSubmenuIconSize)->text(), QStringLiteral("12.5"));

        // The next edit goes to the copy, which is now the open module.
        retype(o.form->box(prx::PafMember::XmbOverallSize), QStringLiteral("7"));
        QVERIFY(o.window->writeFile(other));
        QCOMPARE(qm::test::readFile(o.path), o.fixture.bytes);
        QCOMPARE(singleAt(qm::test::readFile(other), known::pafOffset(version, P::XmbOverallSize)), 7.0f);
    }

    void refusedSave_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<QStringList>("emptied");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("otherFile");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        const QString empty = QStringLiteral("One of the value is empty");
        const QString mismatch = QStringLiteral("Error 13 occurred! (Type mismatch)");
        const int none = static_cast<int>(MsgIcon::None);
        const int critical = static_cast<int>(MsgIcon::Critical);
        QTest::newRow("empty first box") << 1 << QStringList{QStringLiteral("VerticalScrollSpeed")} << ""
                                         << "" << false << empty << none;
        QTest::newRow("empty last box, other file")
            << 12 << QStringList{QStringLiteral("SubiconShadowHeight")} << ""
            << "" << true << empty << none;
        QTest::newRow("empty box after an edit")
            << 5 << QStringList{QStringLiteral("SubiconSpacing")} << "MSContentsSizeUnfocused"
            << "1" << false << empty << none;
        QTest::newRow("empty box checked before box 8")
            << 4 << QStringList{QStringLiteral("MainIconYUnfocused"), QStringLiteral("SubiconAlphaUnfocused")}
            << ""
            << "" << false << empty << none;
        QTest::newRow("not a number") << 4 << QStringList{} << "GlowBlinkSpeed"
                                      << "1e" << false << mismatch << critical;
        QTest::newRow("not a number, other file") << 6 << QStringList{} << "MainMenuTextSize"
                                                  << "-" << true << mismatch << critical;
        for (int v = 2; v <= prx::kPafRows; ++v)
            QTest::addRow("empty box 8, %s", prx::pafRelease(v).label)
                << v << QStringList{QStringLiteral("MainIconYUnfocused")} << "VerticalScrollSpeed"
                << "3" << (v % 2 == 0) << mismatch << critical;
    }

    // A refused save shows one message and leaves every byte (and the window) as it was.
    void refusedSave() {
        QFETCH(int, version);
        QFETCH(QStringList, emptied);
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(bool, otherFile);
        QFETCH(QString, message);
        QFETCH(int, icon);
        ScriptedDialogs dialogs;
        Opened o = open(version);
        for (const QString& name : emptied)
            o.form->box(*prx::pafMemberByName(name))->clear();
        if (!box.isEmpty())
            retype(o.form->box(*prx::pafMemberByName(box)), typed);
        const QString dest = otherFile ? o.dir->filePath(QStringLiteral("other.prx")) : o.path;
        QSignalSpy status(o.window.get(), &qm::ui::EditorWindow::statusChanged);

        const qm::Status saved = o.window->writeFile(dest);
        QVERIFY(!saved);
        QVERIFY(dialogs.calls.isEmpty());
        qm::ui::showError(o.form, saved.error());
        QCOMPARE(dialogs.calls.size(), 1);
        const DialogCall& call = dialogs.calls.first();
        QCOMPARE(call.title, QStringLiteral("RAD Ededid"));
        QCOMPARE(call.text, message);
        QCOMPARE(static_cast<int>(call.icon), icon);
        QCOMPARE(call.buttons, MsgButtons::Ok);
        QCOMPARE(qm::test::readFile(o.path), o.fixture.bytes);
        QVERIFY(!QFileInfo::exists(o.dir->filePath(QStringLiteral("other.prx"))));
        QCOMPARE(status.size(), 0);
        QCOMPARE(o.window->statusFile(), QDir::toNativeSeparators(o.path) + QStringLiteral(" "));
        for (const QString& name : emptied)
            QVERIFY(o.form->box(*prx::pafMemberByName(name))->text().isEmpty());
        if (!box.isEmpty())
            QCOMPARE(o.form->box(*prx::pafMemberByName(box))->text(), typed);
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
        o.form->box(prx::PafMember::MainIconSpacing)->setText(QStringLiteral("42"));
        ScriptedDialogs dialogs;
        QSignalSpy status(o.window.get(), &qm::ui::EditorWindow::statusChanged);
        const qm::Status loaded = o.window->loadFile(o.dir->filePath(file), test::pafRow(version));
        QVERIFY(!loaded);
        QVERIFY(dialogs.calls.isEmpty());
        qm::ui::showError(o.form, loaded.error());
        QCOMPARE(dialogs.calls.size(), 1);
        QCOMPARE(dialogs.calls.first().title, QStringLiteral("RAD Ededid"));
        QCOMPARE(dialogs.calls.first().text, message);
        QCOMPARE(dialogs.calls.first().icon, MsgIcon::Critical);
        QCOMPARE(dialogs.calls.first().buttons, MsgButtons::Ok);
        QCOMPARE(status.size(), 0);
        QCOMPARE(o.form->release().row, 3);
        QCOMPARE(o.window->statusFile(), QDir::toNativeSeparators(o.path) + QStringLiteral(" "));
        QCOMPARE(o.window->statusVersion(),
                 QString::fromLatin1(known::pafRelease(3).label) + QStringLiteral(" "));
        QCOMPARE(o.form->box(prx::PafMember::MainIconSpacing)->text(), QStringLiteral("42"));
        QCOMPARE(o.form->box(prx::PafMember::VerticalScrollSpeed)->text(),
                 expectedPaf(o.fixture.expected, P::VerticalScrollSpeed));
        QVERIFY(o.form->box(prx::PafMember::VerticalScrollSpeed)->isEnabled());
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
            o.window = std::make_unique<qm::ui::EditorWindow>(qm::prx::ModuleKind::Paf);
            o.form = &qm::test::formOf<PafEditor>(*o.window);
        }
        QVERIFY(o.window->loadFile(QString(), test::pafRow(2))); // nothing to read, nothing failed
        QVERIFY(dialogs.calls.isEmpty());
        for (P m : members()) {
            QVERIFY(!o.form->box(m)->isEnabled());
            QVERIFY(!o.form->label(m)->isEnabled());
        }
        QVERIFY(o.form->tabs()->isEnabled());
    }
};

QM_GUI_TEST(PafEditorTest);

#include "pafeditor_test.moc"
