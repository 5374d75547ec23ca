#pragma once

// Byte-level helpers shared by the test programs: noise, little-endian
// singles, sets of offsets and gzip streams.

#include <QByteArray>
#include <QList>

#include <set>

namespace qm::test {

// Pseudo-random bytes; the same size and seed give the same bytes.
QByteArray noise(qint64 size, quint32 seed);

// The four little-endian bytes of a single, and reading or writing one at an offset.
QByteArray singleBytes(float value);
float singleAt(const QByteArray& bytes, qint64 offset);
void putSingle(QByteArray& bytes, qint64 offset, float value);

// Offsets at which two byte arrays differ; past the shorter one every offset counts.
QList<qint64> differingOffsets(const QByteArray& a, const QByteArray& b);
std::set<qint64> changedOffsets(const QByteArray& before, const QByteArray& after);
// Offsets in [offset, offset + length).
std::set<qint64> byteRange(qint64 offset, qint64 length);

// A gzip member of `data` repeated `times` times (fast compression), with
// `storedName` in its header when given. Aborts the test run if zlib fails.
QByteArray gzip(const QByteArray& data, const QByteArray& storedName = {}, int times = 1);

} // namespace qm::test
