#include "editor_helpers.h"
#include "guitest.h"
#include "scripteddialogs.h"

#include "prx/catalogue.h"
#include "vsh/colorgrid.h"
#include "widgets/balloontip.h"
#include "widgets/colorbox.h"
#include "widgets/dialogs.h"
#include "widgets/numberkeyfilter.h"

#include <QAccessible>
#include <QApplication>
#include <QColorDialog>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace qm;
using namespace qm::test;
using ui::VshEditor;

class VshEntryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keyFilter_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("balloon");
        for (const char* loc : {"en", "fr"}) {
            const bool english = qstrcmp(loc, "en") == 0;
            auto row = [loc](const char* name) -> QTestData& { return QTest::addRow("%s: %s", loc, name); };
            row("digit") << loc << "1" << int(Qt::Key_5) << "15" << false;
            row("second minus") << loc << "-5" << int(Qt::Key_Minus) << "-5" << false;
            row("minus after digits") << loc << "12" << int(Qt::Key_Minus) << "12-" << false;
            row("second comma") << loc << "1,5" << int(Qt::Key_Comma) << "1,5" << false;
            row("period") << loc << "1" << int(Qt::Key_Period) << (english ? "1." : "1") << !english;
            row("letter") << loc << "1" << int(Qt::Key_E) << "1" << true;
            row("escape") << loc << "1" << int(Qt::Key_Escape) << "1" << true;
            row("backspace") << loc << "1-" << int(Qt::Key_Backspace) << "1" << false;
        }
    }

    // Every number box, on whichever tab, takes digits, one minus sign and one decimal mark.
    void keyFilter() {
        QFETCH(QString, locale);
        QFETCH(QString, before);
        QFETCH(int, key);
        QFETCH(QString, after);
        QFETCH(bool, balloon);
        ScriptedDialogs dialogs;
        OpenedVsh o = openVsh(14, localeNamed(locale));
        o.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(o.form.get()));
        const ui::BalloonTip* previous = o.form->keyFilter()->lastBalloon();
        for (int box = 0; box < kVshNumberBoxes; ++box) {
            QLineEdit* edit = o.form->txtPRXValue(box);
            if (!edit->isEnabled())
                continue;
            for (int t = 0; t < o.form->tabs()->count(); ++t)
                if (o.form->tabs()->widget(t)->isAncestorOf(edit))
                    o.form->tabs()->setCurrentIndex(t);
            edit->setText(before);
            QTest::keyClick(edit, static_cast<Qt::Key>(key));
            QCOMPARE(edit->text(), after);
            const ui::BalloonTip* last = o.form->keyFilter()->lastBalloon();
            if (balloon) {
                QVERIFY(last && last != previous);
                QCOMPARE(last->BalloonTipTitle(), QStringLiteral("Information :"));
                QCOMPARE(last->BalloonTipText(),
                         QStringLiteral("Just negative, decimale\r\nand entire numeric key !"));
                QCOMPARE(last->BalloonTipIcon(), 1);
                previous = last;
                ui::BalloonTip().HideBalloonTip();
            } else {
                QCOMPARE(last, previous);
            }
        }
        QVERIFY(dialogs.calls.isEmpty());
        // The text boxes have no filter.
        QLineEdit* text = o.form->txtPRXValue2(0);
        text->clear();
        QTest::keyClicks(text, QStringLiteral("a.b-c"));
        QCOMPARE(text->text(), QStringLiteral("a.b-c"));
    }

    void colorPicking_data() {
        QTest::addColumn<QString>("array");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("answer"); // a colour, "same" or "cancel"
        QTest::addColumn<QString>("how");    // click, space, enter
        QTest::newRow("month text, confirmed") << "picText" << 0 << "#FF8000"
                                               << "click";
        QTest::newRow("month infobar by Space") << "picContext" << 11 << "#00C0FF"
                                                << "space";
        QTest::newRow("slim text by Enter") << "picTextSlim" << 7 << "#010203"
                                            << "enter";
        QTest::newRow("slim infobar, cancelled") << "picContextSlim" << 14 << "cancel"
                                                 << "click";
        QTest::newRow("same colour") << "picText" << 5 << "same"
                                     << "click";
    }

    // A colour box opens the colour dialog with its colour; only a confirmed new colour changes it.
    void colorPicking() {
        QFETCH(QString, array);
        QFETCH(int, index);
        QFETCH(QString, answer);
        QFETCH(QString, how);
        OpenedVsh o = openVsh(12);
        o.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(o.form.get()));
        ui::VshColorGrid& g = *o.form->colorGrid();
        const auto i = static_cast<std::size_t>(index);
        ui::ColorBox* box = array == u"picText"       ? g.picText[i]
                            : array == u"picContext"  ? g.picContext[i]
                            : array == u"picTextSlim" ? g.picTextSlim[i]
                                                      : g.picContextSlim[i];
        QCOMPARE(box->objectName(), QStringLiteral("%1(%2)").arg(array).arg(index));
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
            const prx::VshMember member = array == u"picText"       ? prx::VshMember::TextColors
                                          : array == u"picContext"  ? prx::VshMember::ContextColors
                                          : array == u"picTextSlim" ? prx::VshMember::TextColorsSlim
                                                                    : prx::VshMember::ContextColorsSlim;
            prx::ColourBlock colours = expected.colours(member);
            colours[static_cast<qsizetype>(i)] = prx::Colour::fromRgb(now);
            expected.setValue(member, colours);
        }
        QCOMPARE(o.form->values(), expected);
    }

    void disabledColorBoxesOpenNothing() {
        OpenedVsh o = openVsh(10);
        ScriptedDialogs dialogs;
        ui::ColorBox* slim = o.form->colorGrid()->picTextSlim[0];
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
        QLineEdit* main = o.form->txtPRXValue(14);
        QLineEdit* follower = o.form->txtPRXValue(12);
        const QString before = follower->text();
        if (version < 12) {
            main->setEnabled(true); // a box of its own: typing into it changes nothing else
        }
        main->clear();
        QTest::keyClicks(main, typed);
        QCOMPARE(follower->text(), network.isEmpty() ? before : network);
        QCOMPARE(follower->isEnabled(), version < 12);
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
