// Identification of a file from its first bytes and its length, and the
// description of a packed module's header, over arbitrary bytes.
//
// Input: a mode byte that says which length the file claims (its bytes', a
// VSH or PAF release's picked by the next byte, or the packed size field in
// its header), then the file's bytes.

#include "harness.h"
#include "prx/header.h"

using namespace qm;
using namespace qm::prx;

namespace {

qint64 claimedSize(quint8 mode, quint8 pick, QByteArrayView file) {
    switch (mode % 4) {
    case 1:
        return vshRelease(1 + pick % kVshRows).fileSize;
    case 2:
        return pafRelease(1 + pick % kPafRows).fileSize;
    case 3:
        if (file.size() >= kOffPackedSize + 4) {
            const qint64 packed = describePacked(file).packedSize;
            if (packed >= 0)
                return packed;
        }
        break;
    }
    return file.size();
}

bool isReleaseLabel(const QString& label) {
    for (ModuleKind kind : {ModuleKind::Vsh, ModuleKind::Paf})
        for (int row = 1; row <= rowCount(kind); ++row)
            if (label == QLatin1StringView(release(kind, row).label))
                return true;
    return false;
}

void checkDescription(QByteArrayView head) {
    const PackedInfo info = describePacked(head);
    fuzz::require(!info.name.isEmpty() && !info.name.contains(QChar(u'\0')) &&
                      info.name.size() <= kHeadReadLength,
                  "a module name is a text before its zero byte", info.name);
    fuzz::require(info.name == kUnknow || !info.name.startsWith(u' '), "a blank name shows as Unknow",
                  info.name);
    fuzz::require(info.label == labelForPlainSize(info.plainSize), "the label follows the plain size",
                  info.label);
    fuzz::require(info.label == kUnknow || isReleaseLabel(info.label), "a label names a release", info.label);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const quint8 mode = in.byte();
    const quint8 pick = in.byte();
    const QByteArrayView file = in.rest();
    const qint64 fileSize = claimedSize(mode, pick, file);
    const QByteArrayView head = file.first(std::min<qint64>({file.size(), fileSize, kIdentifyReadLength}));

    checkDescription(file);
    checkDescription(head);

    const Identification id = identify(head, fileSize);
    const bool packed = isPacked(head, fileSize);
    fuzz::require(id.size == fileSize, "the size is the file's");
    fuzz::require(!packed || isPspHeader(head, fileSize), "a packed module is a header source");
    fuzz::require(!kindName(id.kind).isEmpty(), "every kind has a name");
    switch (id.kind) {
    case FileKind::Vsh:
    case FileKind::Paf: {
        const ModuleKind kind = id.kind == FileKind::Vsh ? ModuleKind::Vsh : ModuleKind::Paf;
        fuzz::require(id.version >= 1 && id.version <= rowCount(kind), "a plain module has a release row");
        fuzz::require(release(kind, id.version).fileSize == fileSize,
                      "a plain module has its release's size");
        fuzz::require(id.label == QLatin1StringView(release(kind, id.version).label),
                      "the label is the row's", id.label);
        break;
    }
    case FileKind::Packed: {
        const qint64 offset = id.packed.headerOffset;
        fuzz::require(id.version < 0 && (offset == 0 ? packed : isScePacked(head, fileSize)),
                      "a packed module has the signature and its length");
        fuzz::require(offset == 0 || !packed, "a module behind a ~SCE header is not packed at 0");
        const PackedInfo info = describePacked(head.sliced(offset));
        fuzz::require(id.packed.name == info.name && id.packed.label == info.label &&
                          id.packed.plainSize == info.plainSize && id.packed.packedSize == info.packedSize &&
                          id.packed.packing == info.packing,
                      "a packed module is described by its header");
        fuzz::require(isPspHeader(head, fileSize), "a packed module is a header source");
        break;
    }
    case FileKind::Invalid:
        fuzz::require(!packed && !isScePacked(head, fileSize) && !matchVshSize(fileSize) &&
                          !matchPafSize(fileSize),
                      "only a file of no known kind is invalid");
        break;
    }
    return 0;
}
