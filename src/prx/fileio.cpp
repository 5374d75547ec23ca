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

Status replaceFile(const QString& path, const QByteArray& bytes) {
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

// Copies an existing `path` to its original's name unless that name is
// taken. Returns the copy made, or an empty text when none was needed.
Result<QString> keepOriginalOf(const QString& path) {
    const QString original = originalPath(path);
    const QFileInfo target(path);
    const QFileInfo kept(original);
    if (!target.exists() || kept.exists() || kept.isSymLink())
        return QString();
    QFile source(path);
    // QFile::copy never replaces a file, so an original made meanwhile is kept too.
    if (!source.copy(original))
        return Error::io(errnum::PathFileAccess, QStringLiteral("Path/File access error"),
                         QStringLiteral("can't keep the original of %1 as %2 (%3); nothing written")
                             .arg(path, original, source.errorString()));
    return original;
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

QString originalPath(const QString& path) {
    return path + QStringLiteral(".orig");
}

Status writeFileAtomically(const QString& path, const QByteArray& bytes, bool keepOriginal) {
    if (QFileInfo(path).isDir())
        return Error::io(errnum::PathFileAccess, QStringLiteral("Path/File access error"),
                         path + QStringLiteral(" is a folder"));
    auto kept = keepOriginal ? keepOriginalOf(path) : Result<QString>(QString());
    if (!kept)
        return kept.error();
    auto written = replaceFile(path, bytes);
    if (!written && !kept->isEmpty())
        QFile::remove(*kept);
    return written;
}

} // namespace qm::prx
