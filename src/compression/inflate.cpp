#include "inflate.h"

#include "prx/header.h"
#include "unpack.h"

#include <QtEndian>

#include <zlib.h>

#include <algorithm>

namespace qm::compression {

bool startsPacked(QByteArrayView file) {
    return prx::signatureIsPsp(file) || prx::sceHeaderLength(file) > 0;
}

Result<QByteArray> inflatePacked(QByteArrayView file) {
    const qint64 base = prx::sceHeaderLength(file);
    const qint64 streamAt = base + prx::kPspHeaderSize;
    if (file.size() <= streamAt)
        return Error::notModule(QStringLiteral("The packed module is cut short"),
                                QStringLiteral("%1 bytes, no data behind its header").arg(file.size()));
    const QByteArrayView stream = file.sliced(streamAt);
    if (prx::packingOf(stream) == prx::Packing::Encrypted)
        return Error::notModule(
            QStringLiteral("The module is encrypted"),
            QStringLiteral("no gzip stream follows its header; only a console unpacks it"));

    z_stream zs{};
    if (inflateInit2(&zs, 16 + MAX_WBITS) != Z_OK)
        return Error::notModule(QStringLiteral("The packed module can't be unpacked"),
                                QStringLiteral("zlib could not be initialised"));
    QByteArray out;
    out.resize(std::min<qint64>(kMaxUnpackedSize, std::max<qint64>(stream.size() * 4, 64 * 1024)));
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
    zs.avail_in = static_cast<uInt>(std::min<qsizetype>(stream.size(), qsizetype(1) << 30));
    int rc = Z_OK;
    while (rc == Z_OK) {
        if (static_cast<qint64>(zs.total_out) == out.size()) {
            if (out.size() >= kMaxUnpackedSize)
                break;
            out.resize(std::min<qint64>(kMaxUnpackedSize, out.size() * 2));
        }
        zs.next_out = reinterpret_cast<Bytef*>(out.data()) + zs.total_out;
        zs.avail_out = static_cast<uInt>(out.size() - static_cast<qint64>(zs.total_out));
        rc = inflate(&zs, Z_NO_FLUSH);
        if (rc == Z_BUF_ERROR && zs.avail_in > 0 && zs.avail_out == 0)
            rc = Z_OK; // the output is full: grow it and go on
    }
    const qint64 produced = static_cast<qint64>(zs.total_out);
    const QString message = zs.msg ? QString::fromLatin1(zs.msg) : QString();
    inflateEnd(&zs);
    if (rc != Z_STREAM_END) {
        const QString why =
            produced >= kMaxUnpackedSize
                ? QStringLiteral("it inflates past %1 MiB").arg(kMaxUnpackedSize / (1024 * 1024))
            : message.isEmpty() ? QStringLiteral("the stream ends early")
                                : QStringLiteral("the stream is broken: %1").arg(message);
        return Error::notModule(QStringLiteral("The packed module can't be unpacked"), why);
    }
    out.truncate(produced);
    return out;
}

Result<QByteArray> plainBytes(const QByteArray& file) {
    if (startsPacked(file))
        return inflatePacked(file);
    return file;
}

} // namespace qm::compression
