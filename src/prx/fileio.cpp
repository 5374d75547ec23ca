#include "fileio.h"

#include "platform/filelock.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace qm::prx {
namespace {

Error folderError(const QString& path) {
    return Error::of(ErrorKind::Io, errnum::PathFileAccess, Reason::IsFolder).in(path);
}

Status checkRegularFile(const QString& path, const QFileInfo& info) {
    if (path.isEmpty())
        return Error::of(ErrorKind::Io, errnum::FileNotFound, Reason::NoFileNamed);
    if (!info.exists())
        return Error::of(ErrorKind::Io, errnum::FileNotFound, Reason::FileMissing).in(path);
    if (info.isDir())
        return folderError(path);
    return {};
}

// The system's reason why `file` failed on `path`; on Windows, a file that
// another program holds open says so first, since the system's words for
// it don't name the cure.
QString systemReason(const QString& path, const QFileDevice& file) {
    if (platform::heldOpenElsewhere(path))
        return QStringLiteral("another program holds the file open; close it there and try again (%1)")
            .arg(file.errorString());
    return file.errorString();
}

// `path` can't be opened, read or written, for the reason `file` gives.
Error accessError(const QString& path, const QFileDevice& file, int number = errnum::PathFileAccess) {
    Error e = Error::of(ErrorKind::Io, number, Reason::NoAccess).in(path);
    e.text = systemReason(path, file);
    return e;
}

// Reading tells a refused permission apart.
Error readError(const QString& path, const QFileDevice& file) {
    return accessError(path, file,
                       file.error() == QFileDevice::PermissionsError ? errnum::PermissionDenied
                                                                     : errnum::PathFileAccess);
}

// Opens a regular file for reading.
Status openRegularFile(const QString& path, QFile& file) {
    if (auto s = checkRegularFile(path, QFileInfo(path)); !s)
        return s;
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return readError(path, file);
    return {};
}

Status replaceFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return accessError(path, file);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return accessError(path, file);
    }
    if (!file.commit())
        return accessError(path, file);
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
    if (!source.copy(original)) {
        Error e = Error::of(ErrorKind::Io, errnum::PathFileAccess, Reason::KeepOriginal).in(path);
        e.other = original;
        e.text = systemReason(path, source);
        return e;
    }
    return original;
}

} // namespace

Result<QByteArray> readWholeFile(const QString& path, qint64 maxSize) {
    QFile file;
    if (auto s = openRegularFile(path, file); !s)
        return s.error();
    if (file.size() > maxSize) {
        Error e = Error::of(ErrorKind::Io, errnum::BadFileLength, Reason::FileTooLarge).in(path);
        e.limit = maxSize;
        return e;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return readError(path, file);
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
        return readError(path, file);
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
            return readError(path, file);
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
        return folderError(path);
    auto kept = keepOriginal ? keepOriginalOf(path) : Result<QString>(QString());
    if (!kept)
        return kept.error();
    auto written = replaceFile(path, bytes);
    if (!written && !kept->isEmpty())
        QFile::remove(*kept);
    return written;
}

} // namespace qm::prx
