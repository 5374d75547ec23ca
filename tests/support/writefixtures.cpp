// quillmark-fixtures FOLDER: writes the tests' synthetic modules to files,
// for comparing builds of quillmark-cli by hand or by script
// (scripts/compare-windows-cli): for each release NAME.prx with every value
// edited and NAME.prx.orig, its stock module (both with an ELF head, as a
// theme needs them), NAME being vsh1 to vsh14 and paf1 to paf12, and
// base.ptf, a PTF theme file.

#include "support/fixtures.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

using namespace qm;
using namespace qm::test;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fputs("usage: quillmark-fixtures FOLDER\n", stderr);
        return 1;
    }
    const QDir folder(args[1]);
    QDir().mkpath(folder.path());
    for (const ModuleRelease& release : everyRelease()) {
        const QByteArray stock = withElfHead(makeModule(release, 1).bytes);
        const QByteArray edited = withValuesOf(stock, makeModule(release, 2));
        const QString name = QString::fromStdString(releaseName(release)) + QStringLiteral(".prx");
        writeFile(folder.filePath(name), edited);
        writeFile(folder.filePath(name + QStringLiteral(".orig")), stock);
    }
    writeFile(folder.filePath(QStringLiteral("base.ptf")), makePtf("Blue Night", 0x2000, 0x3000));
    return 0;
}
