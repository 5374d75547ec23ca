#include "moduleimage.h"

#include <QtEndian>

#include <bit>
#include <cstring>

namespace qm::prx {

bool ModuleImage::contains(qint64 offset, qint64 length) const {
    return offset >= 0 && length >= 0 && offset <= size() && length <= size() - offset;
}

Status ModuleImage::outOfRange(qint64 offset, qint64 length) const {
    Error e = Error::of(ErrorKind::Io, errnum::BadFileLength, Reason::BeyondEnd).at(offset);
    e.count = length;
    e.limit = size();
    return e;
}

Result<quint8> ModuleImage::u8(qint64 offset) const {
    if (!contains(offset, 1))
        return outOfRange(offset, 1).error();
    return static_cast<quint8>(m_bytes.at(offset));
}

Result<qint16> ModuleImage::i16(qint64 offset) const {
    if (!contains(offset, 2))
        return outOfRange(offset, 2).error();
    return qFromLittleEndian<qint16>(m_bytes.constData() + offset);
}

Result<qint32> ModuleImage::i32(qint64 offset) const {
    if (!contains(offset, 4))
        return outOfRange(offset, 4).error();
    return qFromLittleEndian<qint32>(m_bytes.constData() + offset);
}

Result<float> ModuleImage::f32(qint64 offset) const {
    if (!contains(offset, 4))
        return outOfRange(offset, 4).error();
    return std::bit_cast<float>(qFromLittleEndian<quint32>(m_bytes.constData() + offset));
}

Result<QByteArrayView> ModuleImage::span(qint64 offset, qint64 length) const {
    if (!contains(offset, length))
        return outOfRange(offset, length).error();
    return QByteArrayView(m_bytes.constData() + offset, length);
}

QByteArrayView ModuleImage::clipped(qint64 offset, qint64 maxLength) const {
    if (offset < 0 || offset >= size() || maxLength <= 0)
        return {};
    return QByteArrayView(m_bytes.constData() + offset, std::min(maxLength, size() - offset));
}

char* ModuleImage::writable(qint64 offset, qint64 length) {
    if (m_journaling)
        m_journal.append({offset, m_bytes.mid(offset, length)});
    return m_bytes.data() + offset;
}

void ModuleImage::startJournal() {
    m_journal.clear();
    m_journaling = true;
}

void ModuleImage::rollBack() {
    for (auto it = m_journal.crbegin(); it != m_journal.crend(); ++it)
        std::memcpy(m_bytes.data() + it->offset, it->bytes.constData(),
                    static_cast<std::size_t>(it->bytes.size()));
    keepWrites();
}

void ModuleImage::keepWrites() {
    m_journal.clear();
    m_journaling = false;
}

Status ModuleImage::putU8(qint64 offset, quint8 value) {
    if (!contains(offset, 1))
        return outOfRange(offset, 1);
    *writable(offset, 1) = static_cast<char>(value);
    return {};
}

Status ModuleImage::putI16(qint64 offset, qint16 value) {
    if (!contains(offset, 2))
        return outOfRange(offset, 2);
    qToLittleEndian<qint16>(value, writable(offset, 2));
    return {};
}

Status ModuleImage::putI32(qint64 offset, qint32 value) {
    if (!contains(offset, 4))
        return outOfRange(offset, 4);
    qToLittleEndian<qint32>(value, writable(offset, 4));
    return {};
}

Status ModuleImage::putF32(qint64 offset, float value) {
    if (!contains(offset, 4))
        return outOfRange(offset, 4);
    qToLittleEndian<quint32>(std::bit_cast<quint32>(value), writable(offset, 4));
    return {};
}

Status ModuleImage::putBytes(qint64 offset, QByteArrayView bytes) {
    if (!contains(offset, bytes.size()))
        return outOfRange(offset, bytes.size());
    if (!bytes.isEmpty())
        std::memcpy(writable(offset, bytes.size()), bytes.data(), static_cast<std::size_t>(bytes.size()));
    return {};
}

} // namespace qm::prx
