#pragma once

// Whole-file reads and all-or-nothing writes.

#include "result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

namespace qm::prx {

// Reads a regular file whole. Folders, missing and unreadable files are
// errors; so is a file larger than maxSize.
Result<QByteArray> readWholeFile(const QString& path, qint64 maxSize = qint64(256) * 1024 * 1024);

// Reads at most `length` bytes from the start of a regular file, and its size.
struct FileHead {
    QByteArray bytes;
    qint64 size = 0;
};
Result<FileHead> readFileHead(const QString& path, qint64 length);

// Reads a regular file from its start in pieces of at most `pieceSize`
// bytes, each handed to `take` until it returns false or the file ends.
// Returns the file's size.
Result<qint64> readFileInPieces(const QString& path, const std::function<bool(QByteArrayView)>& take,
                                qint64 pieceSize = qint64(256) * 1024);

// Writes a file through a temporary in the same folder and renames it over
// the target: the target holds either its old content or all of the new one.
// With keepOriginal, an existing target is first copied to
// originalPath(path) unless that exists already (an existing copy is never
// replaced); when the write then fails, the copy made for it is removed, so
// a file left unchanged gets no copy. A copy that can't be made is an error
// and nothing is written.
Status writeFileAtomically(const QString& path, const QByteArray& bytes, bool keepOriginal = false);

// "NAME.orig" beside NAME: where the original of a module is kept.
QString originalPath(const QString& path);

} // namespace qm::prx
