// Quillmark: the editor for the PSP home menu modules vshmain.prx and paf.prx.

#include "frmmain.h"

#include <QApplication>
#include <QStringList>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quillmark"));
    QApplication::setApplicationVersion(QStringLiteral("0.4"));
    QApplication::setDesktopFileName(QStringLiteral("quillmark"));

    qm::ui::frmMain main;
    main.show();

    // Files named on the command line ("Open with") take the same way as the Open command.
    const QStringList files = app.arguments().mid(1);
    if (!files.isEmpty())
        QTimer::singleShot(0, &main, [&main, files] {
            for (const QString& f : files)
                main.OpenPRX(f);
        });
    return app.exec();
}
