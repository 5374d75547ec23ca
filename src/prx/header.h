#pragma once

// The "~PSP" header of a packed module, and how a file is told apart:
// plain VSH or PAF module of a known release, packed module, or neither.
// A packed module may sit behind a 64-byte "~SCE" header, and its data may
// be a gzip stream or encrypted.

#include "catalogue.h"
#include "result.h"

#include <QByteArrayView>
#include <QString>

#include <algorithm>

namespace qm::prx {

inline constexpr qint64 kPspHeaderSize = 336;
inline constexpr qint64 kOffModuleName = 0x00A;
inline constexpr qint64 kModuleNameFieldLength = 28;
inline constexpr qint64 kOffPlainSize = 0x028;
inline constexpr qint64 kOffPackedSize = 0x02C;
inline constexpr qint64 kOffGzipSize = 0x0B0;
inline constexpr qint64 kOffModuleKey = 0x130;
inline constexpr qint64 kHeadReadLength = 255; // bytes read for the signature and the module name
// A "~SCE" header some packers put in front of the "~PSP" one.
inline constexpr qint64 kSceHeaderSize = 0x40;
// Bytes of a file that identification looks at: the module name may run from
// offset 10 for 255 bytes, the gzip magic lies at 0x150, and both may sit
// behind a "~SCE" header.
inline constexpr qint64 kIdentifyReadLength =
    kSceHeaderSize + std::max(kOffModuleName + kHeadReadLength, kPspHeaderSize + 3);

enum class FileKind { Vsh, Paf, Packed, Invalid };

// What follows the "~PSP" header: a gzip stream (1F 8B 08), or anything else,
// which is what the firmware's own encrypted modules hold.
enum class Packing { Gzip, Encrypted };

struct PackedInfo {
    QString name;  // module name, or "Unknow"
    QString label; // release label found from the plain size, or "Unknow"
    qint32 plainSize = 0;
    qint32 packedSize = 0;
    Packing packing = Packing::Gzip;
    qint64 headerOffset = 0; // where the "~PSP" header starts: kSceHeaderSize behind a "~SCE" header
};

struct Identification {
    FileKind kind = FileKind::Invalid;
    qint64 size = 0;
    int version = -1; // row of the release for plain modules
    QString label;    // release label for plain modules
    PackedInfo packed;
};

inline const QString kUnknow = QStringLiteral("Unknow");

// The signature text is the run of bytes before the first zero: it equals
// "~PSP" only when bytes 0-3 are "~PSP" and byte 4 is zero (or the end).
bool signatureIsPsp(QByteArrayView head);
// The signature and a packed size equal to the file's length.
bool isPacked(QByteArrayView head, qint64 fileSize);
// "~SCE" followed by a "~PSP" signature at 0x40: where the "~PSP" header
// starts (kSceHeaderSize), or 0 when the head is no such pair.
qint64 sceHeaderLength(QByteArrayView head);
// A "~SCE" header, a "~PSP" one behind it and a packed size that is the
// file's length less the "~SCE" header.
bool isScePacked(QByteArrayView head, qint64 fileSize);
// The looser test of a header source: the signature or the packed size,
// also behind a "~SCE" header.
bool isPspHeader(QByteArrayView head, qint64 fileSize);
// What the data behind the header is, from its first bytes: gzip unless
// they differ from 1F 8B 08 (a header with nothing behind it, or a stream cut
// inside its magic, counts as gzip that fails to unpack).
Packing packingOf(QByteArrayView streamStart);
// `head` starts with the "~PSP" header; the packing is read at 0x150.
PackedInfo describePacked(QByteArrayView head);
// Label of the release whose size is `plainSize`; PAF rows are looked at
// after VSH rows and the last match wins. "Unknow" without a match.
QString labelForPlainSize(qint64 plainSize);

// `head` is the first kIdentifyReadLength bytes of the file (all of a shorter one).
Identification identify(QByteArrayView head, qint64 fileSize);
Result<Identification> identifyFile(const QString& path);
Result<bool> isPspHeaderFile(const QString& path);

QLatin1StringView kindName(FileKind kind); // "vsh", "paf", "packed", "invalid"
constexpr FileKind fileKindOf(ModuleKind kind) {
    return kind == ModuleKind::Vsh ? FileKind::Vsh : FileKind::Paf;
}
// "vsh", "paf": the name of the kind's files.
inline QLatin1StringView kindName(ModuleKind kind) {
    return kindName(fileKindOf(kind));
}
QLatin1StringView packingName(Packing packing); // "gzip", "encrypted"

} // namespace qm::prx
