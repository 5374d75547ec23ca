#pragma once

// Unpacking a packed module in memory, with zlib rather than the archiver,
// for callers that only need the plain bytes (themes are made from them).

#include "prx/result.h"

#include <QByteArray>
#include <QByteArrayView>

namespace qm::compression {

// Whether the bytes start with a "~PSP" header, also one behind a "~SCE" header.
bool startsPacked(QByteArrayView file);

// The plain module a packed one holds: the gzip stream behind its header
// (and behind a "~SCE" header) inflated whole, within kMaxUnpackedSize.
// An encrypted module, a broken stream or one whose trailer disagrees with
// its data is an error.
Result<QByteArray> inflatePacked(QByteArrayView file);

// The bytes themselves (shared, not copied) when they are no packed module,
// else inflatePacked.
Result<QByteArray> plainBytes(const QByteArray& file);

} // namespace qm::compression
