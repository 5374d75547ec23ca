#include "fileio.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace qm::prx {
namespace {

Status checkRegularFile(const QString& path, const QFileInfo& info) {
    if (path.isEmpty())
        return Error::io(errnum::FileNotFound, QStringLiteral("File not found"),
                         QStringLiteral("no file named"));
    if (!info.exists())
        return Error::io(errnum::FileNotFound, QStringLiteral("File not found"), path);
    if (info.isDir())
        return Error::io(errnum::PathFileAccess, QStringLiteral("Path/File access error"),
                         path + QStringLiteral(" is a folder"));
    return {};
}

Error openError(const QString& path, const QFile& file) {
    return Error::io(file.error() == QFileDevice::PermissionsError ? errnum::PermissionDenied
                                                                   : errnum::PathFileAccess,
                     file.error() == QFileDevice::PermissionsError ? QStringLiteral("Permission denied")
                                                                   : QStringLiteral("Path/File access error"),
                     path + QStringLiteral(": ") + file.errorString());
}

} // namespace

Result<QByteArray> readWholeFile(const QString& path, qint64 maxSize) {
    const QFileInfo info(path);
    if (auto s = checkRegularFile(path, info); !s)
        return s.error();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return openError(path, file);
    if (file.size() > maxSize)
        return Error::io(errnum::BadFileLength, QStringLiteral("Bad file length"),
                         QStringLiteral("%1 is larger than %2 bytes").arg(path).arg(maxSize));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return openError(path, file);
    return bytes;
}

Result<FileHead> readFileHead(const QString& path, qint64 length) {
    const QFileInfo info(path);
    if (auto s = checkRegularFile(path, info); !s)
        return s.error();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return openError(path, file);
    FileHead head;
    head.size = file.size();
    head.bytes = file.read(length);
    if (file.error() != QFileDevice::NoError)
        return openError(path, file);
    return head;
}

Status writeFileAtomically(const QString& path, const QByteArray& bytes) {
    if (QFileInfo(path).isDir())
        return Error::io(errnum::PathFileAccess, QStringLiteral("Path/File access error"),
                         path + QStringLiteral(" is a folder"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Error::io(errnum::PathFileAccess, QStringLiteral("Path/File access error"),
                         path + QStringLiteral(": ") + file.errorString());
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return Error::io(errnum::PathFileAccess, QStringLiteral("Path/File access error"),
                         path + QStringLiteral(": ") + file.errorString());
    }
    if (!file.commit())
        return Error::io(errnum::PathFileAccess, QStringLiteral("Path/File access error"),
                         path + QStringLiteral(": ") + file.errorString());
    return {};
}

} // namespace qm::prx
