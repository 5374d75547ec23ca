#include "checktext.h"

#include "numbers.h"
#include "prx/header.h"

namespace qm::text {
namespace {

using compression::Finding;
using compression::Found;

QString hexBytes(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QString behindSce(qint64 sce) {
    return sce > 0 ? QStringLiteral(" behind a %1-byte ~SCE header").arg(sce) : QString();
}

QString fileLength(qint64 sce) {
    return sce > 0 ? QStringLiteral("the file's length less its ~SCE header")
                   : QStringLiteral("the file's length");
}

// What stopped the stream, and the header's fields.
QString streamDetail(const Finding& f) {
    switch (f.found) {
    case Found::ZlibInit:
        return QStringLiteral("zlib could not be initialised");
    case Found::NoGzipStream:
        return QStringLiteral("no gzip stream");
    case Found::ReservedFlags:
        return QStringLiteral("the gzip header sets reserved flags (%1)").arg(hex(f.value, 2));
    case Found::HeaderCrcMismatch:
        return QStringLiteral("the gzip header's CRC is %1, its bytes' is %2")
            .arg(hex(f.value, 4), hex(f.against, 4));
    case Found::InflatesPastBound:
        return QStringLiteral("the stream inflates past %1 MiB, the bound unpack uses").arg(f.value);
    case Found::DeflateBroken:
        return QStringLiteral("the deflate data is broken at stream offset %1: %2").arg(f.offset).arg(f.text);
    case Found::ZlibStalled:
        return QStringLiteral("zlib takes no more of the stream");
    case Found::StreamEndsEarly:
        return QStringLiteral("the stream ends early, after %1 inflated bytes").arg(f.value);
    case Found::GzipHeaderEndsEarly:
        return QStringLiteral("the gzip header ends early");
    case Found::FieldMissing:
        return QStringLiteral("the file ends before %1 (%2)").arg(f.text, hex(f.offset, 3));
    case Found::Length:
        return QStringLiteral("%1 bytes").arg(f.value) + behindSce(f.sce);
    case Found::LengthShort:
        return QStringLiteral(
                   "%1 bytes%4; a packed module has at least %2 (the %3-byte header and a minimal gzip "
                   "stream)")
            .arg(f.value)
            .arg(f.against)
            .arg(prx::kPspHeaderSize)
            .arg(behindSce(f.sce));
    case Found::Signature:
        return QStringLiteral("~PSP") + behindSce(f.sce);
    case Found::SignatureOther:
        return QStringLiteral("the file starts with \"%1\" (%2), not \"~PSP\"")
            .arg(QString::fromLatin1(f.bytes), hexBytes(f.bytes));
    case Found::PackedSize:
        return QStringLiteral("%1 bytes, %2").arg(f.value).arg(fileLength(f.sce));
    case Found::PackedSizeOther:
        if (f.sce == 0)
            return QStringLiteral("PackedSize (0x02C) is %1, the file has %2 bytes")
                .arg(f.value)
                .arg(f.against);
        return QStringLiteral("PackedSize (0x02C) is %1, %2 is %3")
            .arg(f.value)
            .arg(fileLength(f.sce))
            .arg(f.against);
    case Found::GzipSize:
        return QStringLiteral("%1 bytes, the file's length less %2").arg(f.value).arg(prx::kPspHeaderSize);
    case Found::GzipSizeOther:
        return QStringLiteral("GzipSize (0x0B0) is %1, the file's length less %2 is %3")
            .arg(f.value)
            .arg(prx::kPspHeaderSize)
            .arg(f.against);
    default:
        return {};
    }
}

// The stream from its magic to what follows it.
QString dataDetail(const Finding& f) {
    switch (f.found) {
    case Found::GzipMagic:
        return QStringLiteral("1F 8B 08 (gzip, deflate)");
    case Found::StreamMissing:
        return QStringLiteral("the file ends before the stream at %1").arg(hex(f.offset, 3));
    case Found::EncryptedStream:
        return QStringLiteral("the stream at %1 starts with %2, not 1F 8B 08 (gzip, deflate): the module is "
                              "encrypted, which only a console's loader can unpack")
            .arg(hex(f.offset, 3), hexBytes(f.bytes));
    case Found::OtherStream:
        return QStringLiteral("the stream at %1 starts with %2, not 1F 8B 08 (gzip, deflate)")
            .arg(hex(f.offset, 3), hexBytes(f.bytes));
    case Found::Inflates:
        return QStringLiteral("inflates to %1 bytes").arg(f.value);
    case Found::NotCheckedNoInflate:
        return QStringLiteral("not checked: the stream does not inflate");
    case Found::NotCheckedNoGzip:
        return QStringLiteral("not checked: no gzip stream at %1").arg(hex(f.offset, 3));
    case Found::TrailerCut:
        return QStringLiteral("the trailer is cut short, %1 of its 8 bytes").arg(f.value);
    case Found::NotCheckedTrailerCut:
        return QStringLiteral("not checked: the trailer is cut short");
    case Found::Crc:
        return hex(f.value, 8);
    case Found::CrcMismatch:
        return QStringLiteral("the trailer's CRC-32 is %1, the data's is %2")
            .arg(hex(f.value, 8), hex(f.against, 8));
    case Found::Isize:
        return QStringLiteral("%1 bytes").arg(f.value);
    case Found::IsizeMismatch:
        return QStringLiteral("the trailer's ISIZE is %1, the data has %2 bytes").arg(f.value).arg(f.against);
    case Found::NothingFollows:
        return QStringLiteral("nothing follows the stream");
    case Found::ZerosFollow:
        return QStringLiteral("%1 zero bytes follow the stream").arg(f.value);
    case Found::OtherFollows:
        return QStringLiteral("%1 bytes follow the stream at %2, not only zeros (%3 at %4)")
            .arg(f.value)
            .arg(hex(f.offset, 0))
            .arg(hexBytes(f.bytes))
            .arg(hex(f.otherOffset, 0));
    case Found::PlainSize:
        return QStringLiteral("%1 bytes, the inflated length").arg(f.value);
    case Found::PlainSizeMismatch:
        return QStringLiteral("PlainSize (0x028) is %1, the stream inflates to %2 bytes")
            .arg(f.value)
            .arg(f.against);
    default:
        return {};
    }
}

// What the module is: its release, key and name.
QString identityDetail(const Finding& f) {
    switch (f.found) {
    case Found::Release:
    case Found::Key:
        return f.text;
    case Found::NoRelease:
        return QStringLiteral("PlainSize %1 is the size of no known release").arg(f.value);
    case Found::PlainRelease:
        return QStringLiteral("%1 (%2 bytes)").arg(f.text).arg(f.value);
    case Found::PlainNoRelease:
        return QStringLiteral("%1 bytes is the length of no known release").arg(f.value);
    case Found::UnknownKey:
        return QStringLiteral("unknown key (%1)").arg(hexBytes(f.bytes));
    case Found::ModuleName:
        return QLatin1Char('"') + QString::fromLatin1(f.bytes) + QLatin1Char('"');
    case Found::ModuleNameEmpty:
        return QStringLiteral("ModuleName (0x00A) is empty");
    case Found::ModuleNameUnended:
        return QStringLiteral("ModuleName (0x00A) is not ended inside its %1 bytes").arg(f.value);
    default:
        return {};
    }
}

} // namespace

QString checkDetail(const Finding& finding) {
    for (const auto words : {streamDetail, dataDetail, identityDetail})
        if (QString detail = words(finding); !detail.isEmpty())
            return detail;
    return {};
}

} // namespace qm::text
