#pragma once

// What a check of a packed or plain module found, as facts: which finding
// and the numbers and bytes it concerns. The words for each are made at the
// edge, in text/checktext.h, the way the words for an Error are.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace qm::compression {

enum class Found {
    // What stopped the gzip stream.
    ZlibInit,          // zlib could not be initialised
    NoGzipStream,      // the stream's first bytes are no gzip magic
    ReservedFlags,     // value: the flag byte
    HeaderCrcMismatch, // value: the header's CRC, against: its bytes'
    InflatesPastBound, // value: the bound in MiB
    DeflateBroken,     // offset: stream offset; text: zlib's message
    ZlibStalled,       // zlib takes no more of the stream
    StreamEndsEarly,   // value: bytes inflated
    GzipHeaderEndsEarly,
    // A header field lies past the end of the file; text: its name.
    FieldMissing, // offset: the field's
    // length
    Length,      // value: bytes from the "~PSP" header on; sce: a "~SCE" header's length, or 0
    LengthShort, // value, sce; against: the least a packed module has
    // signature
    Signature,      // sce
    SignatureOther, // bytes: the file's first bytes
    // packed_size and gzip_size
    PackedSize,      // value: the length held against, sce
    PackedSizeOther, // value: PackedSize; against: the length; sce
    GzipSize,        // value: the length behind the header
    GzipSizeOther,   // value: GzipSize; against: the length behind the header
    // gzip_magic
    GzipMagic,
    StreamMissing,   // offset: where the stream would start
    EncryptedStream, // offset; bytes: the stream's first bytes
    OtherStream,     // offset; bytes
    // stream
    Inflates, // value: bytes inflated
    // crc32, isize, padding, plain_size when the stream did not inflate
    NotCheckedNoInflate,
    NotCheckedNoGzip, // offset: where the stream would start
    // crc32, isize, padding
    TrailerCut, // value: trailer bytes there are
    NotCheckedTrailerCut,
    Crc,           // value: the CRC-32
    CrcMismatch,   // value: the trailer's; against: the data's
    Isize,         // value
    IsizeMismatch, // value: the trailer's ISIZE; against: bytes inflated
    NothingFollows,
    ZerosFollow,  // value: bytes after the stream
    OtherFollows, // value: bytes after it; offset: where they start; bytes: the first
                  // other than zero; otherOffset: its file offset
    // plain_size
    PlainSize,         // value
    PlainSizeMismatch, // value: PlainSize; against: bytes inflated
    // release
    Release,        // text: the release's label
    NoRelease,      // value: PlainSize
    PlainRelease,   // text: label; value: the file's length
    PlainNoRelease, // value: the file's length
    // key
    Key,        // text: the key's name
    UnknownKey, // bytes: the key
    // module_name
    ModuleName, // bytes: the name
    ModuleNameEmpty,
    ModuleNameUnended, // value: the field's length
};

struct Finding {
    Found found = Found::NoGzipStream;
    qint64 value = 0;
    qint64 against = 0;
    qint64 offset = 0;
    qint64 otherOffset = 0;
    qint64 sce = 0;
    QByteArray bytes;
    QString text;
};

} // namespace qm::compression
