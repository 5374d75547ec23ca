#include "checktext.h"

#include "numbers.h"
#include "prx/header.h"

#include <utility>

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

// Findings told by fixed words around their numbers: %1 the value, %2 what it is held against.
constexpr std::pair<Found, const char*> kNumberWords[] = {
    {Found::ZlibInit, "zlib could not be initialised"},
    {Found::NoGzipStream, "no gzip stream"},
    {Found::InflatesPastBound, "the stream inflates past %1 MiB, the bound unpack uses"},
    {Found::ZlibStalled, "zlib takes no more of the stream"},
    {Found::StreamEndsEarly, "the stream ends early, after %1 inflated bytes"},
    {Found::GzipHeaderEndsEarly, "the gzip header ends early"},
    {Found::GzipMagic, "1F 8B 08 (gzip, deflate)"},
    {Found::Inflates, "inflates to %1 bytes"},
    {Found::NotCheckedNoInflate, "not checked: the stream does not inflate"},
    {Found::TrailerCut, "the trailer is cut short, %1 of its 8 bytes"},
    {Found::NotCheckedTrailerCut, "not checked: the trailer is cut short"},
    {Found::Isize, "%1 bytes"},
    {Found::IsizeMismatch, "the trailer's ISIZE is %1, the data has %2 bytes"},
    {Found::NothingFollows, "nothing follows the stream"},
    {Found::ZerosFollow, "%1 zero bytes follow the stream"},
    {Found::PlainSize, "%1 bytes, the inflated length"},
    {Found::PlainSizeMismatch, "PlainSize (0x028) is %1, the stream inflates to %2 bytes"},
    {Found::NoRelease, "PlainSize %1 is the size of no known release"},
    {Found::PlainNoRelease, "%1 bytes is the length of no known release"},
    {Found::ModuleNameEmpty, "ModuleName (0x00A) is empty"},
    {Found::ModuleNameUnended, "ModuleName (0x00A) is not ended inside its %1 bytes"},
};

QString numberWords(const Finding& f) {
    for (const auto& [found, text] : kNumberWords) {
        if (found != f.found)
            continue;
        const QString words = QString::fromLatin1(text);
        if (words.contains(u"%2"))
            return words.arg(f.value).arg(f.against);
        return words.contains(u"%1") ? words.arg(f.value) : words;
    }
    return {};
}

// The header: its signature and size fields.
QString headerDetail(const Finding& f) {
    switch (f.found) {
    case Found::FieldMissing:
        return QStringLiteral("the file ends before %1 (%2)").arg(f.text, hex(f.offset, 3));
    case Found::Length:
        return QStringLiteral("%1 bytes").arg(f.value) + behindSce(f.sce);
    case Found::LengthShort:
        return QStringLiteral("%1 bytes%4; a packed module has at least %2 (the %3-byte header and a minimal "
                              "gzip stream)")
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

// The stream and the module: the findings that show bytes, offsets and names.
QString streamDetail(const Finding& f) {
    switch (f.found) {
    case Found::ReservedFlags:
        return QStringLiteral("the gzip header sets reserved flags (%1)").arg(hex(f.value, 2));
    case Found::HeaderCrcMismatch:
        return QStringLiteral("the gzip header's CRC is %1, its bytes' is %2")
            .arg(hex(f.value, 4), hex(f.against, 4));
    case Found::DeflateBroken:
        return QStringLiteral("the deflate data is broken at stream offset %1: %2").arg(f.offset).arg(f.text);
    case Found::StreamMissing:
        return QStringLiteral("the file ends before the stream at %1").arg(hex(f.offset, 3));
    case Found::EncryptedStream:
        return QStringLiteral("the stream at %1 starts with %2, not 1F 8B 08 (gzip, deflate): the module is "
                              "encrypted, which only a console's loader can unpack")
            .arg(hex(f.offset, 3), hexBytes(f.bytes));
    case Found::OtherStream:
        return QStringLiteral("the stream at %1 starts with %2, not 1F 8B 08 (gzip, deflate)")
            .arg(hex(f.offset, 3), hexBytes(f.bytes));
    case Found::NotCheckedNoGzip:
        return QStringLiteral("not checked: no gzip stream at %1").arg(hex(f.offset, 3));
    case Found::Crc:
        return hex(f.value, 8);
    case Found::CrcMismatch:
        return QStringLiteral("the trailer's CRC-32 is %1, the data's is %2")
            .arg(hex(f.value, 8), hex(f.against, 8));
    case Found::OtherFollows:
        return QStringLiteral("%1 bytes follow the stream at %2, not only zeros (%3 at %4)")
            .arg(f.value)
            .arg(hex(f.offset, 0))
            .arg(hexBytes(f.bytes))
            .arg(hex(f.otherOffset, 0));
    case Found::Release:
    case Found::Key:
        return f.text;
    case Found::PlainRelease:
        return QStringLiteral("%1 (%2 bytes)").arg(f.text).arg(f.value);
    case Found::UnknownKey:
        return QStringLiteral("unknown key (%1)").arg(hexBytes(f.bytes));
    case Found::ModuleName:
        return QLatin1Char('"') + QString::fromLatin1(f.bytes) + QLatin1Char('"');
    default:
        return {};
    }
}

} // namespace

QString checkDetail(const Finding& finding) {
    for (const auto words : {numberWords, headerDetail, streamDetail})
        if (QString detail = words(finding); !detail.isEmpty())
            return detail;
    return {};
}

} // namespace qm::text
