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

// Opens a regular file for reading.
Status openRegularFile(const QString& path, QFile& file) {
    if (auto s = checkRegularFile(path, QFileInfo(path)); !s)
        return s;
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return openError(path, file);
    return {};
}

} // namespace

Result<QByteArray> readWholeFile(const QString& path, qint64 maxSize) {
    QFile file;
    if (auto s = openRegularFile(path, file); !s)
        return s.error();
    if (file.size() > maxSize)
        return Error::io(errnum::BadFileLength, QStringLiteral("Bad file length"),
                         QStringLiteral("%1 is larger than %2 bytes").arg(path).arg(maxSize));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return openError(path, file);
    return bytes;
}

Result<FileHead> readFileHead(const QString& path, qint64 length) {
    QFile file;
    if (auto s = openRegularFile(path, file); !s)
        return s.error();
    FileHead head;
    head.size = file.size();
    head.bytes = file.read(length);
    if (file.error() != QFileDevice::NoError)
        return openError(path, file);
    return head;
}

Result<qint64> readFileInPieces(const QString& path, const std::function<bool(QByteArrayView)>& take,
                                qint64 pieceSize) {
    QFile file;
    if (auto s = openRegularFile(path, file); !s)
        return s.error();
    QByteArray piece(pieceSize, Qt::Uninitialized);
    for (;;) {
        const qint64 n = file.read(piece.data(), piece.size());
        if (n < 0)
            return openError(path, file);
        if (n == 0 || !take(QByteArrayView(piece.constData(), n)))
            break;
    }
    return file.size();
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
