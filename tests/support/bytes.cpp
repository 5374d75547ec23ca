#include "bytes.h"

#include <cstring>

#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>

namespace qm::test {
namespace {

[[noreturn]] void zlibFailed(const char* what, int rc) {
    std::fprintf(stderr, "zlib: %s failed with %d\n", what, rc);
    std::abort();
}

} // namespace

QByteArray noise(qint64 size, quint32 seed) {
    QByteArray bytes(size, '\0');
    // Through a plain pointer: the modules are megabytes, and the sanitizer
    // build checks every call of QByteArray's operator[].
    char* out = bytes.data();
    quint32 x = 0x9E3779B9u ^ (seed * 2654435761u);
    for (qint64 i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        out[i] = static_cast<char>(x >> 24);
    }
    return bytes;
}

QByteArray singleBytes(float value) {
    QByteArray b(4, '\0');
    putSingle(b, 0, value);
    return b;
}

float singleAt(const QByteArray& bytes, qint64 offset) {
    return std::bit_cast<float>(qFromLittleEndian<quint32>(bytes.constData() + offset));
}

void putSingle(QByteArray& bytes, qint64 offset, float value) {
    qToLittleEndian<quint32>(std::bit_cast<quint32>(value), bytes.data() + offset);
}

QList<qint64> differingOffsets(const QByteArray& a, const QByteArray& b) {
    QList<qint64> out;
    const qint64 n = std::min(a.size(), b.size());
    const char* x = a.constData();
    const char* y = b.constData();
    constexpr qint64 kBlock = 4096; // equal blocks are skipped whole
    for (qint64 start = 0; start < n; start += kBlock) {
        const qint64 end = std::min(n, start + kBlock);
        if (std::memcmp(x + start, y + start, static_cast<std::size_t>(end - start)) == 0)
            continue;
        for (qint64 i = start; i < end; ++i)
            if (x[i] != y[i])
                out.append(i);
    }
    for (qint64 i = n; i < std::max(a.size(), b.size()); ++i)
        out.append(i);
    return out;
}

std::set<qint64> changedOffsets(const QByteArray& before, const QByteArray& after) {
    const auto d = differingOffsets(before, after);
    return {d.begin(), d.end()};
}

std::set<qint64> byteRange(qint64 offset, qint64 length) {
    std::set<qint64> s;
    for (qint64 i = 0; i < length; ++i)
        s.insert(offset + i);
    return s;
}

QByteArray gzip(const QByteArray& data, const QByteArray& storedName, int times) {
    z_stream zs{};
    if (const int rc = deflateInit2(&zs, Z_BEST_SPEED, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        rc != Z_OK)
        zlibFailed("deflateInit2", rc);
    QByteArray name = storedName;
    gz_header header{};
    if (!name.isEmpty()) {
        header.name = reinterpret_cast<Bytef*>(name.data());
        header.os = 3;
        if (const int rc = deflateSetHeader(&zs, &header); rc != Z_OK)
            zlibFailed("deflateSetHeader", rc);
    }
    QByteArray out;
    QByteArray buffer(256 * 1024, '\0');
    for (int i = 0; i < times; ++i) {
        zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
        zs.avail_in = static_cast<uInt>(data.size());
        const int flush = i + 1 == times ? Z_FINISH : Z_NO_FLUSH;
        int rc = Z_OK;
        do {
            zs.next_out = reinterpret_cast<Bytef*>(buffer.data());
            zs.avail_out = static_cast<uInt>(buffer.size());
            rc = deflate(&zs, flush);
            out.append(buffer.constData(), buffer.size() - zs.avail_out);
        } while (zs.avail_out == 0 || (flush == Z_FINISH && rc != Z_STREAM_END));
    }
    deflateEnd(&zs);
    return out;
}

} // namespace qm::test
