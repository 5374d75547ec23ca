#include "workfolder.h"

#include "config.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace qm::prx {
namespace {

QString withSlash(QString path) {
    path = QDir::cleanPath(QDir(path).absolutePath());
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

// Windows reports a folder writable from its read-only attribute alone, so
// Program Files passes for writable to an ordinary user; there only a file
// made in it tells.
bool canCreateFileIn(const QFileInfo& folder) {
#ifdef Q_OS_WIN
    QTemporaryFile probe(folder.absoluteFilePath() + QStringLiteral("/probe-XXXXXX"));
    return probe.open();
#else
    return folder.isWritable();
#endif
}

bool writableFolder(const QString& folder) {
    const QFileInfo data(folder);
    if (data.exists())
        return data.isDir() && canCreateFileIn(data);
    const QFileInfo parent(data.absolutePath());
    return parent.isDir() && canCreateFileIn(parent);
}

} // namespace

QString workFolder() {
    const QString overridden = qEnvironmentVariable(kDataDirVariable);
    if (!overridden.isEmpty())
        return withSlash(overridden);
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/Data");
    if (!QCoreApplication::applicationDirPath().isEmpty() && writableFolder(beside))
        return withSlash(beside);
    return withSlash(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
                     QStringLiteral("/Data"));
}

Status prepareWorkFolder() {
    const QString folder = workFolder();
    if (!QDir().mkpath(folder))
        return Error::of(ErrorKind::Io, errnum::PathFileAccess, Reason::NoWorkFolder).in(folder);
    const QString ini = folder + kIniFileName;
    if (!QFileInfo::exists(ini) && !createDefaultIni(ini))
        return Error::of(ErrorKind::Io, errnum::PathFileAccess, Reason::IniUnwritable).in(ini);
    return {};
}

} // namespace qm::prx
