// Quillmark: the editor for the PSP home menu modules vshmain.prx and paf.prx.

#include "commandline.h"
#include "mainwindow.h"
#include "platform/consolestreams.h"

#include <quillmark/version.h>

#include <QApplication>
#include <QByteArray>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <optional>
#include <vector>

namespace {

void print(std::FILE* stream, const QString& text) {
    if (qm::platform::attachParentConsole())
        qm::platform::writeText(stream, text);
}

using qm::ui::ShellCommandLine;

// Help, the version and usage errors need no display: they are handled
// before Qt connects to one. The exit status, or nothing when the program is to run.
std::optional<int> answerWithoutWindow(const ShellCommandLine& line) {
    switch (line.action) {
    case ShellCommandLine::Action::Help:
        print(stdout, qm::ui::shellUsageText());
        return 0;
    case ShellCommandLine::Action::Version:
        print(stdout, qm::ui::shellVersionText() + u'\n');
        return 0;
    case ShellCommandLine::Action::UsageError:
        print(
            stderr,
            QStringLiteral("quillmark: %1\nTry 'quillmark --help' for more information.\n").arg(line.error));
        return 1;
    case ShellCommandLine::Action::Run:
        break;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    const QStringList args = qm::platform::commandLineArguments(argc, argv);
    const ShellCommandLine line = qm::ui::parseShellCommandLine(args);
    if (const std::optional<int> status = answerWithoutWindow(line))
        return *status;

    // Qt sees only its own options, so that no file name is taken for one.
    std::vector<QByteArray> qtArgs{QByteArray(argv[0])};
    for (const QString& option : line.qtOptions)
        qtArgs.push_back(option.toLocal8Bit());
    std::vector<char*> qtArgv;
    for (QByteArray& arg : qtArgs)
        qtArgv.push_back(arg.data());
    qtArgv.push_back(nullptr);
    int qtArgc = static_cast<int>(qtArgs.size());

    QApplication app(qtArgc, qtArgv.data());
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    // No display name: Qt would append it to every top-level window's title
    // on X11 ("Quillmark v0.4 — Quillmark").
    QApplication::setApplicationVersion(QStringLiteral(QUILLMARK_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.example.quillmark.Quillmark"));

    qm::ui::MainWindow main;
    main.show();

    // Files named on the command line ("Open with") take the same way as the Open command.
    const QStringList files = line.files;
    if (!files.isEmpty())
        QTimer::singleShot(0, &main, [&main, files] {
            for (const QString& f : files)
                main.openFile(f);
        });
    return app.exec();
}
