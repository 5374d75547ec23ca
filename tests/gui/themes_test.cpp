// Themes in the windows: File > Export Theme... makes a CXMB theme of the
// editor's current values, unsaved edits included; a refused export writes
// nothing; a theme opened is described instead of refused.

#include "editor_helpers.h"
#include "guitest.h"
#include "scripteddialogs.h"
#include "shell_helpers.h"

#include "prx/config.h"
#include "prx/valueio.h"
#include "shell/configstore.h"
#include "shell/mainwindow.h"
#include "vsh/vsheditor.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <QtEndian>

using namespace qm;
using namespace qm::test;

namespace {

constexpr qint64 kRecord = 72;

quint32 u32(const QByteArray& b, qint64 at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}

// What the plugin's loader does with a theme's entry for vshmain.prx: each
// run's bytes written at its offset + the first segment's file offset (the
// u32 at 0x38 of the module).
QByteArray applyVshEntry(const QByteArray& theme, QByteArray module) {
    const quint32 count = u32(theme, 0x18);
    const qint64 index = theme.size() - count * kRecord;
    for (quint32 i = 0; i < count; ++i) {
        const QByteArray record = theme.mid(index + i * kRecord, kRecord);
        if (QByteArray(record.constData()) != "/vsh/module/vshmain.prx")
            continue;
        qint64 at = u32(record, 64);
        const quint32 runs = u32(record, 68);
        for (quint32 r = 0; r < runs; ++r) {
            const quint32 offset = u32(theme, at), length = u32(theme, at + 4);
            module.replace(offset + u32(module, 0x38), length, theme.mid(at + 8, length));
            at += 8 + length;
        }
    }
    return module;
}

// A 3.71 theme by hand: a PTF part of 0x200 bytes, the vshmain.prx entry's
// runs (offset, bytes) and its index record.
QByteArray themeFile(const QList<std::pair<quint32, QByteArray>>& runs) {
    QByteArray theme = makePtf("Mine", 0, 0x200);
    QByteArray data;
    for (const auto& [offset, bytes] : runs) {
        char head[8];
        qToLittleEndian<quint32>(offset, head);
        qToLittleEndian<quint32>(quint32(bytes.size()), head + 4);
        data += QByteArray(head, 8) + bytes;
    }
    QByteArray record("/vsh/module/vshmain.prx");
    record.append(QByteArray(64 - record.size(), '\0'));
    char tail[8];
    qToLittleEndian<quint32>(0x200, tail);
    qToLittleEndian<quint32>(quint32(runs.size()), tail + 4);
    record.append(tail, 8);
    const QByteArray sha = QCryptographicHash::hash(record, QCryptographicHash::Sha1);
    theme.replace(0x10, 16,
                  QByteArray("\x71\x03\xAD\xDE", 4) + sha.left(4) + QByteArray("\x01\0\0\0\0\x02\0\0", 8));
    theme.replace(0x108, 12, QByteArray(12, '\0'));
    return theme + data + record;
}

struct Shell {
    DataFolder data;
    ScriptedDialogs dialogs;
    ui::MainWindow main;
    QString module;
    QByteArray stock = withElfHead(makeVsh(12).bytes); // VSH "3.71"

    explicit Shell(bool keepOrig) {
        module = data.write(QStringLiteral("vshmain.prx"), stock);
        if (keepOrig)
            data.write(QStringLiteral("vshmain.prx.orig"), stock);
        data.write(QStringLiteral("base.ptf"), makePtf("Mine", 0, 0x300));
        QVERIFY(main.config().setValue(prx::kKeyCompPrx, QStringLiteral("0")));
        main.show();
        main.openFile(module);
        dialogs.clear();
    }
    ui::VshEditor* vsh() const { return qobject_cast<ui::VshEditor*>(editorsOf(main).value(0)); }
    // What the dialog showed when it opened, and whether it stayed open after OK.
    QString shownPtf;
    QString shownStock;
    bool stayedOpen = false;
    // File > Export Theme... with the base and the output typed into its
    // window (unless `type` is false) and OK pressed; a dialog that stays
    // open after OK is then cancelled.
    QString exportTheme(bool type = true) {
        const QString out = data.file(QStringLiteral("out.ctf"));
        QTimer::singleShot(0, [&, type] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(d && d->objectName() == QLatin1String("ThemeDialog"));
            shownPtf = d->findChild<QLineEdit*>(QStringLiteral("ptfEdit"))->text();
            shownStock = d->findChild<QLineEdit*>(QStringLiteral("stockEdit"))->text();
            if (type) {
                d->findChild<QLineEdit*>(QStringLiteral("ptfEdit"))
                    ->setText(data.file(QStringLiteral("base.ptf")));
                d->findChild<QLineEdit*>(QStringLiteral("outputEdit"))->setText(out);
            }
            d->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
            stayedOpen = d->isVisible();
            if (stayedOpen)
                d->reject();
        });
        trigger(main, "actionExportTheme");
        return out;
    }
};

} // namespace

class ThemesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The unsaved edit goes into the theme, the loader's result is the module
    // the editor would save, and the message names the file and the values.
    void exportTakesTheUnsavedEdit() {
        Shell s(true);
        s.vsh()->box(prx::VshMember::XmbX)->setText(QStringLiteral("-99.5"));
        QVERIFY(s.vsh()->document().isModified());
        QVERIFY(
            QMetaObject::invokeMethod(s.main.findChild<QMenu*>(QStringLiteral("menuFile")), "aboutToShow"));
        QVERIFY(s.main.findChild<QAction*>(QStringLiteral("actionExportTheme"))->isEnabled());
        const QString out = s.exportTheme();
        QCOMPARE(s.dialogs.messages().size(), 1);
        QCOMPARE(s.dialogs.messages()[0].icon, ui::MsgIcon::Information);
        QVERIFY(s.dialogs.messages()[0].text.contains(QFileInfo(out).fileName()));
        QVERIFY(s.dialogs.messages()[0].text.contains(QStringLiteral("\r\n1 value changed.")));
        const QByteArray theme = readFile(out);
        QCOMPARE(theme.left(4), QByteArray("\0PTF", 4));
        QCOMPARE(u32(theme, 0x10), 0xDEAD0371u);
        QCOMPARE(u32(theme, 0x18), 1u);
        const QByteArray index = theme.right(kRecord);
        QCOMPARE(u32(theme, 0x14), u32(QCryptographicHash::hash(index, QCryptographicHash::Sha1), 0));
        const QString saved = s.data.file(QStringLiteral("saved.prx"));
        QVERIFY(prx::saveValuesFile(s.module, saved, s.vsh()->loadedValues(), s.vsh()->values()));
        QCOMPARE(applyVshEntry(theme, s.stock), readFile(saved));
        QCOMPARE(readFile(s.module), s.stock); // nothing was saved
    }

    // Without a stock module the export is refused and nothing is written.
    void exportWithoutStockWritesNothing() {
        Shell s(false);
        s.vsh()->box(prx::VshMember::XmbX)->setText(QStringLiteral("-99.5"));
        const QString out = s.exportTheme();
        QCOMPARE(s.dialogs.messages().size(), 1);
        QCOMPARE(s.dialogs.messages()[0].icon, ui::MsgIcon::Critical);
        QVERIFY(s.dialogs.messages()[0].detail.contains(QStringLiteral("vshmain.prx.orig")));
        QVERIFY(!QFileInfo::exists(out));
    }

    // A refused export leaves the dialog open with the fields as typed, and
    // the next export of the module starts from them: here the stock module
    // appears after the refusal, and OK alone then makes the theme.
    void refusedExportKeepsTheFields() {
        Shell s(false);
        s.vsh()->box(prx::VshMember::XmbX)->setText(QStringLiteral("-99.5"));
        const QString out = s.exportTheme();
        QVERIFY(s.stayedOpen);
        QCOMPARE(s.dialogs.messages().size(), 1);
        QCOMPARE(s.dialogs.messages()[0].icon, ui::MsgIcon::Critical);
        s.data.write(QStringLiteral("vshmain.prx.orig"), s.stock);
        s.dialogs.clear();
        s.exportTheme(false);
        QVERIFY(!s.stayedOpen);
        QCOMPARE(QDir::fromNativeSeparators(s.shownPtf), s.data.file(QStringLiteral("base.ptf")));
        QCOMPARE(QDir::fromNativeSeparators(s.shownStock), s.module + QStringLiteral(".orig"));
        QCOMPARE(s.dialogs.messages().size(), 1);
        QCOMPARE(s.dialogs.messages()[0].icon, ui::MsgIcon::Information);
        QVERIFY(QFileInfo::exists(out));
    }

    // A theme opened is described: title, firmware, entries.
    void openedThemeIsDescribed() {
        Shell s(true);
        const QByteArray theme = themeFile({{0x10, QByteArray("\xAB\xCD", 2)}});
        s.main.openFile(s.data.write(QStringLiteral("t.ctf"), theme));
        QCOMPARE(s.dialogs.messages().size(), 1);
        QCOMPARE(s.dialogs.messages()[0].icon, ui::MsgIcon::Information);
        QCOMPARE(s.dialogs.messages()[0].text,
                 QStringLiteral("CXMB theme \"Mine\" for firmware 3.71, 1 entries:\r\n"
                                "/vsh/module/vshmain.prx: 1 runs"));
        QCOMPARE(editorsOf(s.main).size(), 1);
    }

    // Import Look of a theme: the run on XmbX (file offset 0x3CF6C in 3.71,
    // 0xA0 past the first segment) goes into the editor as one step; the run
    // at 0xB0 touches no value, is listed and left out.
    void importTakesTheRunsOnValues() {
        Shell s(true);
        const QByteArray twelveAndAHalf("\x00\x00\x48\x41", 4);
        const QString path =
            s.data.write(QStringLiteral("t.ctf"),
                         themeFile({{0x10, QByteArray("\xAB\xCD", 2)}, {0x3CF6C - 0xA0, twelveAndAHalf}}));
        s.dialogs.files = {path};
        trigger(s.main, "actionImportLook");
        QCOMPARE(s.dialogs.messages().size(), 1);
        QVERIFY(s.dialogs.messages()[0].text.endsWith(QStringLiteral("2 bytes at 0xB0")));
        QCOMPARE(s.main.statusBar()->currentMessage(), QStringLiteral("1 value came in from t.ctf."));
        QCOMPARE(s.vsh()->document().undoStack()->count(), 1);
        const QString saved = s.data.file(QStringLiteral("saved.prx"));
        QVERIFY(prx::saveValuesFile(s.module, saved, s.vsh()->loadedValues(), s.vsh()->values()));
        QByteArray expected = s.stock;
        expected.replace(0x3CF6C, 4, twelveAndAHalf);
        QCOMPARE(readFile(saved), expected);
    }

    // An open PAF "3.7x" editor pairs with VSH "3.71" and is offered; without
    // a change of its own it is left out and the export still succeeds.
    void pairedEditorWithoutChangeIsLeftOut() {
        Shell s(true);
        const QByteArray paf = withElfHead(makePaf(11).bytes);
        s.data.write(QStringLiteral("paf.prx.orig"), paf);
        s.main.openFile(s.data.write(QStringLiteral("paf.prx"), paf));
        QCOMPARE(editorsOf(s.main).size(), 2);
        s.main.workspace()->setActiveSubWindow(s.main.workspace()->subWindowList().first());
        QCOMPARE(s.main.activeChild()->editor(), s.vsh());
        s.vsh()->box(prx::VshMember::XmbX)->setText(QStringLiteral("-99.5"));
        s.dialogs.clear();
        bool offered = false;
        QTimer::singleShot(0, [&] {
            if (auto* other =
                    QApplication::activeModalWidget()->findChild<QCheckBox*>(QStringLiteral("includeOther")))
                offered = other->isEnabled() && other->isChecked();
        });
        const QString out = s.exportTheme();
        QVERIFY(offered);
        QCOMPARE(s.dialogs.messages().size(), 1);
        QCOMPARE(s.dialogs.messages()[0].icon, ui::MsgIcon::Information);
        QCOMPARE(u32(readFile(out), 0x18), 1u);
    }
};

QM_GUI_TEST(ThemesTest);

#include "themes_test.moc"
