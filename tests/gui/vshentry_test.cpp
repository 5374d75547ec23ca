#include "editor_helpers.h"
#include "guitest.h"
#include "scripteddialogs.h"

#include "prx/catalogue.h"
#include "vsh/colorgrid.h"
#include "widgets/balloontip.h"
#include "widgets/colorbox.h"
#include "widgets/dialogs.h"

#include <QAccessible>
#include <QApplication>
#include <QColorDialog>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

using namespace qm;
using namespace qm::test;
using ui::VshEditor;

class VshEntryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void colorPicking_data() {
        QTest::addColumn<QString>("member");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("answer"); // a colour, "same" or "cancel"
        QTest::addColumn<QString>("how");    // click, space, enter
        QTest::newRow("month text, confirmed") << "TextColors" << 0 << "#FF8000"
                                               << "click";
        QTest::newRow("month infobar by Space") << "ContextColors" << 11 << "#00C0FF"
                                                << "space";
        QTest::newRow("slim text by Enter") << "TextColorsSlim" << 7 << "#010203"
                                            << "enter";
        QTest::newRow("slim infobar, cancelled") << "ContextColorsSlim" << 14 << "cancel"
                                                 << "click";
        QTest::newRow("same colour") << "TextColors" << 5 << "same"
                                     << "click";
    }

    // A colour box opens the colour dialog with its colour; only a confirmed new colour changes it.
    void colorPicking() {
        QFETCH(QString, member);
        QFETCH(int, index);
        QFETCH(QString, answer);
        QFETCH(QString, how);
        OpenedVsh o = openVsh(12);
        o.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(o.form));
        const prx::VshMember colours = *prx::vshMemberByName(member);
        ui::ColorBox* box = o.form->colorGrid()->boxes(colours).at(static_cast<std::size_t>(index));
        QCOMPARE(box->objectName(), QStringLiteral("%1[%2]").arg(member).arg(index));
        const prx::Rgb before = box->color();
        const prx::ModuleValues values = o.form->values();
        ScriptedDialogs dialogs;
        if (answer == u"cancel")
            dialogs.colors = {std::nullopt};
        else
            dialogs.colors = {answer == u"same" ? before : *prx::rgbFromHex(answer)};
        if (how == u"click") {
            QTest::mouseClick(box, Qt::LeftButton);
        } else {
            box->setFocus();
            QTest::keyClick(box, how == u"space" ? Qt::Key_Space : Qt::Key_Return);
        }
        QCOMPARE(dialogs.calls.size(), 1);
        QCOMPARE(dialogs.calls[0].kind, DialogCall::Color);
        QCOMPARE(dialogs.calls[0].initialColor, before);
        const bool changes = answer.startsWith(u'#');
        const prx::Rgb now = changes ? *prx::rgbFromHex(answer) : before;
        QCOMPARE(box->color(), now);
        QCOMPARE(accessibleDescription(box), prx::rgbToHex(now));
        QCOMPARE(box->toolTip(), prx::rgbToHex(now));
        prx::ModuleValues expected = values;
        if (changes) {
            prx::ColourBlock block = expected.colours(colours);
            block[index] = prx::Colour::fromRgb(now);
            expected.setValue(colours, block);
        }
        QCOMPARE(o.form->values(), expected);
    }

    void disabledColorBoxesOpenNothing() {
        OpenedVsh o = openVsh(10);
        ScriptedDialogs dialogs;
        ui::ColorBox* slim = colourBox(*o.form, "TextColorsSlim[0]");
        QVERIFY(!slim->isEnabled());
        QTest::mouseClick(slim, Qt::LeftButton);
        QVERIFY(dialogs.calls.isEmpty());
    }

    // The program's colour dialog starts on the box's colour and keeps the 16
    // custom colours from one dialog to the next.
    void colorDialogKeepsTheCustomColors() {
        ui::QtDialogs qt;
        for (int k = 0; k < 16; ++k)
            QColorDialog::setCustomColor(k, Qt::black);
        QColor seen;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            QVERIFY(d);
            seen = d->currentColor();
            QColorDialog::setCustomColor(3, QColor(0x12, 0x34, 0x56));
            d->setCurrentColor(QColor(0xAA, 0xBB, 0xCC));
            d->accept();
        });
        prx::Rgb chosen = 0;
        QVERIFY(qt.chooseColour(nullptr, 0x302010, chosen));
        QCOMPARE(seen, QColor(0x10, 0x20, 0x30));
        QCOMPARE(chosen, prx::Rgb(0xCCBBAA));
        QCOMPARE(qt.customColors()[3], prx::Rgb(0x563412));

        QColorDialog::setCustomColor(3, Qt::black); // anything else that changed them in between
        QColor custom;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            QVERIFY(d);
            custom = QColorDialog::customColor(3);
            d->reject();
        });
        prx::Rgb untouched = 7;
        QVERIFY(!qt.chooseColour(nullptr, 0, untouched));
        QCOMPARE(untouched, prx::Rgb(7));
        QCOMPARE(custom, QColor(0x12, 0x34, 0x56));
        QCOMPARE(qt.customColors()[3], prx::Rgb(0x563412));
    }

    void networkIconFollows_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("network"); // "" for "keeps its value"
        QTest::newRow("3.71 ten") << "en" << 12 << "10"
                                  << "11";
        QTest::newRow("3.7x negative") << "en" << 13 << "-3,5"
                                       << "-2.5";
        QTest::newRow("3.8x French") << "fr" << 14 << "2,25"
                                     << "3,25";
        QTest::newRow("3.71 minus only") << "en" << 12 << "-"
                                         << "";
        QTest::newRow("3.71 comma only") << "en" << 12 << ","
                                         << "";
        QTest::newRow("3.71 minus comma") << "fr" << 12 << "-,"
                                          << "";
        QTest::newRow("3.71 emptied") << "en" << 12 << ""
                                      << "";
        QTest::newRow("3.5x stays apart") << "en" << 11 << "10"
                                          << "";
    }

    // From 3.71 on the network icon box shows the main icon + 1 as soon as that reads as a number.
    void networkIconFollows() {
        QFETCH(QString, locale);
        QFETCH(int, version);
        QFETCH(QString, typed);
        QFETCH(QString, network);
        OpenedVsh o = openVsh(version, localeNamed(locale));
        QLineEdit* main = o.form->box(prx::VshMember::MainIconYUnfocused);
        QLineEdit* follower = o.form->box(prx::VshMember::NetworkIconYUnfocused);
        const QString before = follower->text();
        if (version < 12) {
            main->setEnabled(true); // a box of its own: typing into it changes nothing else
        }
        main->clear();
        QTest::keyClicks(main, typed);
        QCOMPARE(follower->text(), network.isEmpty() ? before : network);
        QCOMPARE(follower->isEnabled(), version < 12);
    }

    void valuesShowFromTheirStart_data() {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QString>("typed");
        QTest::newRow("long fraction") << "ClockX"
                                       << "0.12345679";
        QTest::newRow("exponent") << "XmbX"
                                  << "16777216000";
        QTest::newRow("negative") << "MuteY"
                                  << "-225.625";
        QTest::newRow("long path") << "UpdatePath2"
                                   << "ms0:/PSP/GAME/a_very_long_folder_name";
    }

    // An undone or redone value shows from its first character, and its tooltip gives the whole of it.
    void valuesShowFromTheirStart() {
        QFETCH(QString, member);
        QFETCH(QString, typed);
        OpenedVsh o = openVsh(12);
        o.window->show();
        QLineEdit* box = o.form->box(*prx::vshMemberByName(member));
        const QString loaded = box->text();
        QCOMPARE(box->cursorPosition(), 0);
        QCOMPARE(box->toolTip(), loaded);
        box->selectAll();
        QTest::keyClicks(box, typed);
        QCOMPARE(box->cursorPosition(), typed.size());
        const QString shown = box->text();
        QCOMPARE(box->toolTip(), shown);
        o.form->document().undoStack()->undo();
        QCOMPARE(box->text(), loaded);
        QCOMPARE(box->cursorPosition(), 0);
        QCOMPARE(box->toolTip(), loaded);
        box->end(false);
        o.form->document().undoStack()->redo();
        QCOMPARE(box->cursorPosition(), 0);
        QCOMPARE(box->toolTip(), box->text());
    }

    void textsSayWhatIsWritten_data() {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("balloon");
        QTest::newRow("icon name of 15") << "MSIconPhoto"
                                         << "my_custom_photo" << false;
        QTest::newRow("icon name of 16") << "MSIconPhoto"
                                         << "my_custom_photo_" << true;
        QTest::newRow("icon name of 20") << "UMDIconGame"
                                         << "my_custom_photo_icon" << true;
        QTest::newRow("path of 30") << "UpdatePath2"
                                    << "ms0:/PSP/GAME/abcdefghijklmnop" << false;
        QTest::newRow("path of 31") << "UpdatePath2"
                                    << "ms0:/PSP/GAME/abcdefghijklmnopq" << true;
    }

    // While typing past what a save keeps, the box says how many characters are written.
    void textsSayWhatIsWritten() {
        QFETCH(QString, member);
        QFETCH(QString, typed);
        QFETCH(bool, balloon);
        OpenedVsh o = openVsh(12);
        o.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(o.form));
        const prx::VshMember m = *prx::vshMemberByName(member);
        for (int t = 0; t < o.form->tabs()->count(); ++t)
            if (o.form->tabs()->widget(t)->isAncestorOf(o.form->box(m)))
                o.form->tabs()->setCurrentIndex(t);
        QLineEdit* box = o.form->box(m);
        box->setFocus();
        box->selectAll();
        ui::hideBalloon();
        QTest::keyClicks(box, typed);
        QCOMPARE(box->text(), typed);
        QWidget* shown = ui::visibleBalloon();
        QCOMPARE(shown != nullptr, balloon);
        if (balloon)
            QCOMPARE(shown->accessibleDescription(),
                     QStringLiteral("Only the first %1 characters are written.").arg(prx::textMaxLength(m)));
        ui::hideBalloon();
    }

    // Nothing runs while the window waits: no timer, no polling.
    void idleWindowRunsNoTimer() {
        OpenedVsh o = openVsh(12);
        for (const QTimer* t : o.form->findChildren<QTimer*>())
            QVERIFY2(!t->isActive(), qPrintable(t->objectName()));
    }
};

QM_GUI_TEST(VshEntryTest);

#include "vshentry_test.moc"
