#pragma once

// Whole-file reads and all-or-nothing writes.

#include "result.h"

#include <QByteArray>
#include <QString>

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

// Writes a file through a temporary in the same folder and renames it over
// the target: the target holds either its old content or all of the new one.
Status writeFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace qm::prx
