#include "header.h"

#include "fileio.h"

#include <QtEndian>

#include <array>

namespace qm::prx {
namespace {

// Value of a little-endian 32-bit field, or nothing when the head is too short.
std::optional<qint32> field32(QByteArrayView head, qint64 offset) {
    if (head.size() < offset + 4)
        return std::nullopt;
    return qFromLittleEndian<qint32>(head.data() + offset);
}

QByteArrayView textBeforeZero(QByteArrayView bytes) {
    const qsizetype zero = bytes.indexOf('\0');
    return zero < 0 ? bytes : bytes.first(zero);
}

} // namespace

bool signatureIsPsp(QByteArrayView head) {
    return textBeforeZero(head.first(std::min<qsizetype>(head.size(), kHeadReadLength))) ==
           QByteArrayView("~PSP");
}

bool isPacked(QByteArrayView head, qint64 fileSize) {
    const auto packed = field32(head, kOffPackedSize);
    return signatureIsPsp(head) && packed && *packed == fileSize;
}

qint64 sceHeaderLength(QByteArrayView head) {
    if (head.size() <= kSceHeaderSize || !head.startsWith(QByteArrayView("~SCE")))
        return 0;
    return signatureIsPsp(head.sliced(kSceHeaderSize)) ? kSceHeaderSize : 0;
}

bool isScePacked(QByteArrayView head, qint64 fileSize) {
    const qint64 offset = sceHeaderLength(head);
    return offset > 0 && isPacked(head.sliced(offset), fileSize - offset);
}

bool isPspHeader(QByteArrayView head, qint64 fileSize) {
    const auto packed = field32(head, kOffPackedSize);
    return signatureIsPsp(head) || (packed && *packed == fileSize) || sceHeaderLength(head) > 0;
}

Packing packingOf(QByteArrayView streamStart) {
    const QByteArrayView magic("\x1F\x8B\x08", 3);
    const QByteArrayView seen = streamStart.first(std::min<qsizetype>(streamStart.size(), magic.size()));
    return seen == magic.first(seen.size()) ? Packing::Gzip : Packing::Encrypted;
}

QString labelForPlainSize(qint64 plainSize) {
    QString label = kUnknow;
    for (int row = 1; row <= kVshRows; ++row)
        if (vshRelease(row).fileSize == plainSize)
            label = QString::fromLatin1(vshRelease(row).label);
    for (int row = 1; row <= kPafRows; ++row)
        if (pafRelease(row).fileSize == plainSize)
            label = QString::fromLatin1(pafRelease(row).label);
    return label;
}

PackedInfo describePacked(QByteArrayView head) {
    PackedInfo info;
    info.plainSize = field32(head, kOffPlainSize).value_or(0);
    info.packedSize = field32(head, kOffPackedSize).value_or(0);
    info.label = labelForPlainSize(info.plainSize);
    const QByteArrayView name =
        head.size() > kOffModuleName
            ? textBeforeZero(head.sliced(kOffModuleName)
                                 .first(std::min<qsizetype>(head.size() - kOffModuleName, kHeadReadLength)))
            : QByteArrayView();
    info.name = (name.isEmpty() || name.front() == ' ') ? kUnknow : QString::fromLatin1(name);
    info.packing = packingOf(head.size() > kPspHeaderSize ? head.sliced(kPspHeaderSize) : QByteArrayView());
    return info;
}

Identification identify(QByteArrayView head, qint64 fileSize) {
    Identification id;
    id.size = fileSize;
    if (const auto row = matchVshSize(fileSize)) {
        id.kind = FileKind::Vsh;
        id.version = *row;
        id.label = QString::fromLatin1(vshRelease(*row).label);
    }
    if (const auto row = matchPafSize(fileSize)) {
        id.kind = FileKind::Paf;
        id.version = *row;
        id.label = QString::fromLatin1(pafRelease(*row).label);
    }
    if (id.version < 0 && isPacked(head, fileSize)) {
        id.kind = FileKind::Packed;
        id.packed = describePacked(head);
    } else if (id.version < 0 && isScePacked(head, fileSize)) {
        id.kind = FileKind::Packed;
        id.packed = describePacked(head.sliced(kSceHeaderSize));
        id.packed.headerOffset = kSceHeaderSize;
    }
    return id;
}

Result<Identification> identifyFile(const QString& path) {
    auto head = readFileHead(path, kIdentifyReadLength);
    if (!head)
        return head.error();
    return identify(head->bytes, head->size);
}

Result<bool> isPspHeaderFile(const QString& path) {
    auto head = readFileHead(path, kHeadReadLength);
    if (!head)
        return head.error();
    return isPspHeader(head->bytes, head->size);
}

QLatin1StringView kindName(FileKind kind) {
    // By the order of FileKind.
    static constexpr std::array<const char*, 4> kNames{"vsh", "paf", "packed", "invalid"};
    return QLatin1StringView(kNames[static_cast<std::size_t>(kind)]);
}

QLatin1StringView packingName(Packing packing) {
    return packing == Packing::Encrypted ? QLatin1StringView("encrypted") : QLatin1StringView("gzip");
}

} // namespace qm::prx
