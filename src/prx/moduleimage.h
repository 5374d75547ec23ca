#pragma once

// A module file held in memory, with bounds-checked little-endian access.

#include "result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace qm::prx {

class ModuleImage {
public:
    ModuleImage() = default;
    explicit ModuleImage(QByteArray bytes) : m_bytes(std::move(bytes)) {}

    qint64 size() const { return m_bytes.size(); }
    const QByteArray& bytes() const { return m_bytes; }

    bool contains(qint64 offset, qint64 length) const;

    Result<quint8> u8(qint64 offset) const;
    Result<qint16> i16(qint64 offset) const;
    Result<qint32> i32(qint64 offset) const;
    Result<float> f32(qint64 offset) const;
    // Exactly `length` bytes, or an error when they run past the end.
    Result<QByteArrayView> span(qint64 offset, qint64 length) const;
    // Up to `maxLength` bytes, fewer near the end of the image.
    QByteArrayView clipped(qint64 offset, qint64 maxLength) const;

    Status putU8(qint64 offset, quint8 value);
    Status putI16(qint64 offset, qint16 value);
    Status putI32(qint64 offset, qint32 value);
    Status putF32(qint64 offset, float value);
    Status putBytes(qint64 offset, QByteArrayView bytes);

    // From startJournal on, every write keeps the bytes it overwrites, so
    // that rollBack can put them all back, last first; keepWrites ends the
    // journal and keeps what was written. A patch of a module of megabytes
    // then needs no copy of it to be undone.
    void startJournal();
    void rollBack();
    void keepWrites();

private:
    Status outOfRange(qint64 offset, qint64 length) const;
    // The bytes at offset, `length` long, for a write that has been checked
    // to fit; the journal keeps them first.
    char* writable(qint64 offset, qint64 length);

    struct Overwritten {
        qint64 offset;
        QByteArray bytes;
    };
    QByteArray m_bytes;
    bool m_journaling = false;
    QList<Overwritten> m_journal;
};

} // namespace qm::prx
