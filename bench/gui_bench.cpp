// Window benchmarks, for PAF and VSH editors: time from openFile to a filled
// editor, CPU used by the idle program with eight editors open, and peak
// memory; then the undo of an Import Look and the review of a VSH module
// with every value changed, and File > Save of such an editor.

#include "bench_common.h"
#include "document/editingdocument.h"
#include "prx/valueio.h"
#include "shell/editorwindow.h"
#include "shell/mainwindow.h"
#include "shell/reviewdialog.h"
#include "support/fixtures.h"
#include "widgets/dialogs.h"
#include "widgets/editorform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>

#include <functional>

#include <sys/resource.h>

using namespace qm;
using namespace qm::bench;

namespace {

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The answers a plain save asks for: no packing, then OK to "Done.".
class SaveAnswers final : public ui::Dialogs {
public:
    using Dialogs::chooseFile;
    using Dialogs::showMessage;
    ui::MsgAnswer showMessage(QWidget*, const QString&, const QString&, ui::MsgIcon, ui::MsgButtons buttons,
                              const QString&) override {
        return buttons == ui::MsgButtons::YesNo ? ui::MsgAnswer::No : ui::MsgAnswer::Ok;
    }
    QString chooseFile(QWidget*, const QString&, const QString&, const QString&, const QString&, ui::FileMode,
                       const QString&) override {
        return {};
    }
    bool chooseColour(QWidget*, prx::Rgb, prx::Rgb&) override { return false; }
};

void spin(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("QUILLMARK_DATA_DIR", (dir.path() + QStringLiteral("/Data")).toLocal8Bit());
    // The window's geometry and recent files go to the same folder, not the user's settings.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       dir.path() + QStringLiteral("/settings"));
    const int idleSeconds = qEnvironmentVariableIntValue("QM_BENCH_IDLE_SECONDS") > 0
                                ? qEnvironmentVariableIntValue("QM_BENCH_IDLE_SECONDS")
                                : 10;

    ui::MainWindow main;
    main.show();
    spin(300); // fade-in and first paint

    // One kind at a time: open time, then idle CPU and memory with eight editors.
    struct Kind {
        QString name;
        std::function<QByteArray(int)> module;
    };
    const Kind kinds[] = {
        {QStringLiteral("PAF"), [](int i) { return test::makePaf(i + 4).bytes; }},
        {QStringLiteral("VSH"), [](int i) { return test::makeVsh(i + 6).bytes; }},
    };
    for (const Kind& kind : kinds) {
        QStringList files;
        for (int i = 1; i <= 8; ++i) {
            files.append(dir.path() + QStringLiteral("/%1%2.prx").arg(kind.name).arg(i));
            test::writeFile(files.last(), kind.module(i));
        }

        const int runs = 60;
        QList<double> open;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer t;
            t.start();
            main.openFile(files[i % files.size()]);
            open.append(static_cast<double>(t.nsecsElapsed()) / 1e6);
            main.workspace()->closeAllSubWindows();
            QCoreApplication::processEvents();
        }

        for (const QString& f : files)
            main.openFile(f);
        spin(1000);
        const double before = cpuSeconds();
        spin(idleSeconds * 1000);
        const double idlePercent = (cpuSeconds() - before) / idleSeconds * 100.0;

        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        const double peakMiB = static_cast<double>(u.ru_maxrss) / 1024.0;

        printRows(
            QStringLiteral("%1 editors (platform %2, %3 editors open)")
                .arg(kind.name, QGuiApplication::platformName())
                .arg(main.children().size()),
            {
                {QStringLiteral("openFile to a filled %1 editor (median of %2)").arg(kind.name).arg(runs),
                 median(open), QStringLiteral("ms"), QStringLiteral("< 50 ms"), median(open) < 50},
                {QStringLiteral("idle CPU over %1 s, 8 editors").arg(idleSeconds), idlePercent,
                 QStringLiteral("%"), QStringLiteral("< 1% of a core"), idlePercent < 1.0},
                {QStringLiteral("peak memory so far (resident)"), peakMiB, QStringLiteral("MiB"), QString(),
                 true},
            });
        main.workspace()->closeAllSubWindows();
        QCoreApplication::processEvents();
    }
    // Every value of a 3.71 module changed at once, as an import of another module's look does.
    {
        const QString a = dir.path() + QStringLiteral("/edit-a.prx");
        const QString b = dir.path() + QStringLiteral("/edit-b.prx");
        test::writeFile(a, test::makeVsh(12, 1).bytes);
        test::writeFile(b, test::makeVsh(12, 2).bytes);
        const prx::ModuleValues other = *prx::readValuesFile(b, prx::ReleaseId{prx::ModuleKind::Vsh, 12});
        main.openFile(a);
        ui::EditorWindow* editor = main.children().value(0);
        const int runs = 30;
        QList<double> undo;
        QList<double> review;
        for (int i = 0; i < runs; ++i) {
            editor->showLook(other);
            QElapsedTimer t;
            t.start();
            editor->document().undoStack()->undo();
            undo.append(static_cast<double>(t.nsecsElapsed()) / 1e6);
            editor->document().undoStack()->redo();
            t.restart();
            const ui::ReviewDialog window(*editor->editor());
            review.append(static_cast<double>(t.nsecsElapsed()) / 1e6);
            editor->document().undoStack()->undo();
        }
        printRows(QStringLiteral("Editing a VSH module with every value changed"),
                  {
                      {QStringLiteral("undo of an Import Look (median of %1)").arg(runs), median(undo),
                       QStringLiteral("ms"), QStringLiteral("< 50 ms"), median(undo) < 50},
                      {QStringLiteral("Review Changes window (median of %1)").arg(runs), median(review),
                       QStringLiteral("ms"), QStringLiteral("< 50 ms"), median(review) < 50},
                  });
        main.workspace()->closeAllSubWindows();
        QCoreApplication::processEvents();
    }
    // File > Save of an editor whose every value differs from the file's, the
    // two looks taking turns, so that each save writes every value.
    {
        SaveAnswers answers;
        ui::setDialogs(&answers);
        struct Case {
            QString name;
            prx::ModuleKind kind;
            int version;
            std::function<QByteArray(int)> module;
        };
        const Case cases[] = {
            {QStringLiteral("PAF"), prx::ModuleKind::Paf, 11,
             [](int seed) { return test::makePaf(11, seed).bytes; }},
            {QStringLiteral("VSH"), prx::ModuleKind::Vsh, 12,
             [](int seed) { return test::makeVsh(12, seed).bytes; }},
        };
        QList<Row> rows;
        for (const Case& c : cases) {
            const QString a = dir.path() + QStringLiteral("/save-a-%1.prx").arg(c.name);
            const QString b = dir.path() + QStringLiteral("/save-b-%1.prx").arg(c.name);
            test::writeFile(a, c.module(1));
            test::writeFile(b, c.module(2));
            const prx::ModuleValues looks[] = {*prx::readValuesFile(b, prx::ReleaseId{c.kind, c.version}),
                                               *prx::readValuesFile(a, prx::ReleaseId{c.kind, c.version})};
            main.openFile(a);
            ui::EditorWindow* editor = main.children().value(0);
            const int runs = 30;
            QList<double> save;
            for (int i = 0; i < runs; ++i) {
                editor->showLook(looks[i % 2]);
                QElapsedTimer t;
                t.start();
                main.saveActive();
                save.append(static_cast<double>(t.nsecsElapsed()) / 1e6);
            }
            rows.append({QStringLiteral("File > Save, %1, every value (median of %2)").arg(c.name).arg(runs),
                         median(save), QStringLiteral("ms"), QStringLiteral("< 50 ms"), median(save) < 50});
            main.workspace()->closeAllSubWindows();
            QCoreApplication::processEvents();
        }
        printRows(QStringLiteral("Saving"), rows);
        ui::setDialogs(nullptr);
    }
    main.exitProgram();
    return 0;
}
