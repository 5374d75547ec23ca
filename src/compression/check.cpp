#include "check.h"

#include "findings.h"

#include "modulekeys.h"
#include "prx/elf.h"
#include "prx/fileio.h"
#include "prx/header.h"
#include "text/checktext.h"
#include "text/elftext.h"
#include "unpack.h"

#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace qm::compression {
namespace {

constexpr qint64 kStreamOffset = prx::kPspHeaderSize;
// Bytes that tell a "~SCE" header with a "~PSP" one behind it.
constexpr qint64 kLeadLength = prx::kSceHeaderSize + 5;
constexpr qint64 kTrailerLength = 8;
constexpr qsizetype kKeyLength = 4;

// gzip header flags
constexpr quint8 kFlagHeaderCrc = 0x02;
constexpr quint8 kFlagExtra = 0x04;
constexpr quint8 kFlagName = 0x08;
constexpr quint8 kFlagComment = 0x10;
constexpr quint8 kFlagsReserved = 0xE0;

std::optional<quint32> field32(QByteArrayView file, qint64 offset) {
    if (file.size() < offset + 4)
        return std::nullopt;
    return qFromLittleEndian<quint32>(file.data() + offset);
}

Finding found(Found what, qint64 value = 0, qint64 against = 0) {
    Finding f;
    f.found = what;
    f.value = value;
    f.against = against;
    return f;
}

Finding fieldMissing(const char* field, qint64 offset) {
    Finding f = found(Found::FieldMissing);
    f.text = QLatin1StringView(field);
    f.offset = offset;
    return f;
}

} // namespace

struct PackedChecker::State {
    // The gzip stream behind the header as it comes in: its own header read
    // byte by byte, the deflate data inflated, then the trailer and what follows.
    enum class Phase { Fixed, ExtraLength, Extra, Name, Comment, HeaderCrc, Data, Trailer, After, Stopped };

    // The optional parts of a gzip header, in the order they come, and their flags.
    static constexpr std::array<std::pair<Phase, quint8>, 4> kOptionalParts{{
        {Phase::ExtraLength, kFlagExtra},
        {Phase::Name, kFlagName},
        {Phase::Comment, kFlagComment},
        {Phase::HeaderCrc, kFlagHeaderCrc},
    }};

    QByteArray lead; // the file's first bytes, until it is known whether a "~SCE" header leads
    bool decided = false;
    qint64 base = 0; // file offset of the "~PSP" header: 0, or behind a "~SCE" header
    QByteArray head; // the first 336 bytes from the base, or all of a shorter file
    qint64 fed = 0;  // bytes from the base on
    Phase phase = Phase::Fixed;
    QByteArray fixed;      // the gzip header's first 10 bytes
    qint64 headerLeft = 0; // of the extra field or its length, or of the header CRC
    quint16 extraLength = 0;
    qint64 headerLength = 0;                // bytes of the gzip header
    uLong headerCrc = crc32(0, nullptr, 0); // of the header bytes before its own CRC
    quint16 storedHeaderCrc = 0;
    Finding failure; // why the stream stopped, once it has
    z_stream zs{};
    bool zlibReady = false;
    std::vector<Bytef> out;
    qint64 inflated = 0;
    uLong crc = 0;
    qint64 dataEnd = 0; // stream offset just past the deflate data
    QByteArray trailer;
    qint64 after = 0;       // bytes after the trailer
    qint64 firstOther = -1; // file offset of the first of them that is not zero
    char firstOtherByte = 0;

    ~State() {
        if (zlibReady)
            inflateEnd(&zs);
    }

    // Where the "~PSP" header starts is known: the bytes kept so far go on.
    void decide() {
        decided = true;
        base = prx::sceHeaderLength(lead);
        const QByteArray kept = std::move(lead);
        lead.clear();
        take(QByteArrayView(kept).sliced(base));
    }

    // Bytes from the base on: the header, then the stream.
    void take(QByteArrayView bytes) {
        const qsizetype toHead = std::min<qsizetype>(bytes.size(), std::max<qint64>(0, kStreamOffset - fed));
        head.append(bytes.first(toHead));
        fed += toHead;
        stream(bytes.sliced(toHead));
    }

    void stop(const Finding& why) {
        failure = why;
        phase = Phase::Stopped;
    }
    QByteArrayView magic() const { return QByteArrayView(fixed).first(std::min<qsizetype>(fixed.size(), 3)); }
    bool magicOk() const { return fixed.size() >= 3 && magic() == QByteArrayView("\x1F\x8B\x08", 3); }

    // Moves on to the first optional part of the gzip header after `part`
    // (-1: after the fixed bytes) that the flags ask for, or to the data.
    void nextHeaderPart(int part) {
        const auto flags = static_cast<quint8>(fixed.at(3));
        for (std::size_t i = static_cast<std::size_t>(part + 1); i < kOptionalParts.size(); ++i)
            if (flags & kOptionalParts[i].second) {
                phase = kOptionalParts[i].first;
                headerLeft = phase == Phase::ExtraLength || phase == Phase::HeaderCrc ? 2 : 0;
                return;
            }
        phase = Phase::Data;
        startInflating();
    }

    void startInflating() {
        if (inflateInit2(&zs, -MAX_WBITS) != Z_OK)
            return stop(found(Found::ZlibInit));
        zlibReady = true;
        out.resize(64 * 1024);
        crc = crc32(0, nullptr, 0);
    }

    // One byte of the gzip header.
    void headerByte(char byte) {
        ++headerLength;
        if (phase != Phase::HeaderCrc)
            headerCrc = crc32(headerCrc, reinterpret_cast<const Bytef*>(&byte), 1);
        switch (phase) {
        case Phase::Fixed:
            fixed.append(byte);
            if (fixed.size() == 3 && !magicOk())
                return stop(found(Found::NoGzipStream));
            if (fixed.size() == 4 && (static_cast<quint8>(byte) & kFlagsReserved))
                return stop(found(Found::ReservedFlags, static_cast<quint8>(byte)));
            if (fixed.size() == 10)
                nextHeaderPart(-1);
            return;
        case Phase::ExtraLength:
            extraLength =
                static_cast<quint16>(extraLength | (static_cast<quint8>(byte) << (8 * (2 - headerLeft))));
            if (--headerLeft == 0) {
                phase = Phase::Extra;
                headerLeft = extraLength;
                if (headerLeft == 0)
                    nextHeaderPart(0);
            }
            return;
        case Phase::Extra:
            if (--headerLeft == 0)
                nextHeaderPart(0);
            return;
        case Phase::Name:
        case Phase::Comment:
            if (byte == '\0')
                nextHeaderPart(phase == Phase::Name ? 1 : 2);
            return;
        case Phase::HeaderCrc:
            storedHeaderCrc =
                static_cast<quint16>(storedHeaderCrc | (static_cast<quint8>(byte) << (8 * (2 - headerLeft))));
            if (--headerLeft > 0)
                return;
            if (storedHeaderCrc != (headerCrc & 0xFFFF))
                return stop(found(Found::HeaderCrcMismatch, storedHeaderCrc, headerCrc & 0xFFFF));
            nextHeaderPart(3);
            return;
        default:
            return;
        }
    }

    // Deflate data; returns how many of the bytes it took.
    qsizetype inflateSome(QByteArrayView bytes) {
        zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
        zs.avail_in = static_cast<uInt>(std::min<qsizetype>(bytes.size(), qsizetype(1) << 30));
        const uInt given = zs.avail_in;
        for (;;) {
            zs.next_out = out.data();
            zs.avail_out = static_cast<uInt>(out.size());
            const int rc = inflate(&zs, Z_NO_FLUSH);
            const auto produced = static_cast<uInt>(out.size() - zs.avail_out);
            crc = crc32(crc, out.data(), produced);
            inflated += produced;
            if (inflated > kMaxUnpackedSize) {
                stop(found(Found::InflatesPastBound, kMaxUnpackedSize / (1024 * 1024)));
                break;
            }
            if (rc == Z_STREAM_END) {
                dataEnd = headerLength + static_cast<qint64>(zs.total_in);
                phase = Phase::Trailer;
                break;
            }
            if (rc == Z_BUF_ERROR || (rc == Z_OK && zs.avail_in == 0 && zs.avail_out != 0))
                break; // every byte given is taken: more input is needed
            if (rc != Z_OK) {
                Finding broken = found(Found::DeflateBroken);
                broken.offset = headerLength + static_cast<qint64>(zs.total_in);
                broken.text = QString::fromLatin1(zs.msg ? zs.msg : "bad data");
                stop(broken);
                break;
            }
        }
        return static_cast<qsizetype>(given - zs.avail_in);
    }

    // Stream bytes, in order.
    void stream(QByteArrayView bytes) {
        while (!bytes.isEmpty()) {
            qsizetype used = 0;
            switch (phase) {
            case Phase::Data:
                used = inflateSome(bytes);
                if (used == 0 && phase == Phase::Data)
                    stop(found(Found::ZlibStalled));
                break;
            case Phase::Trailer:
                used = std::min<qsizetype>(bytes.size(), kTrailerLength - trailer.size());
                trailer.append(bytes.first(used));
                if (trailer.size() == kTrailerLength)
                    phase = Phase::After;
                break;
            case Phase::After:
                used = bytes.size();
                for (qsizetype i = 0; i < used && firstOther < 0; ++i)
                    if (bytes.at(i) != '\0') {
                        firstOther = fed + i;
                        firstOtherByte = bytes.at(i);
                    }
                after += used;
                break;
            case Phase::Stopped:
                used = bytes.size();
                break;
            default:
                used = 1;
                headerByte(bytes.front());
                break;
            }
            fed += used;
            bytes = bytes.sliced(used);
        }
    }

    // Why the stream did not come to its end, once every byte is in.
    Finding unfinished() const {
        if (phase == Phase::Stopped)
            return failure;
        if (phase == Phase::Data)
            return found(Found::StreamEndsEarly, inflated);
        return found(Found::GzipHeaderEndsEarly);
    }
};

namespace {

class Checks {
public:
    void add(const char* name, bool ok, const QString& detail, bool note = false) {
        m_list.append({QLatin1StringView(name).toString(), ok, detail, note});
    }
    void add(const char* name, bool ok, const Finding& finding, bool note = false) {
        add(name, ok, text::checkDetail(finding), note);
    }
    QList<PackedCheck> take() { return std::move(m_list); }

private:
    QList<PackedCheck> m_list;
};

// `n` is the length from the "~PSP" header on; `base` the length of a
// "~SCE" header in front of it.
void checkHeaderSizes(Checks& checks, QByteArrayView head, qint64 n, qint64 base) {
    const auto behindSce = [base](Finding f) {
        f.sce = base;
        return f;
    };
    constexpr qint64 kMinimum = prx::kPspHeaderSize + kMinGzipStreamSize;
    checks.add("length", n >= kMinimum,
               behindSce(n >= kMinimum ? found(Found::Length, n) : found(Found::LengthShort, n, kMinimum)));

    const QByteArrayView start = head.first(std::min<qsizetype>(head.size(), 4));
    const bool psp = start == QByteArrayView("~PSP");
    Finding signature = behindSce(found(psp ? Found::Signature : Found::SignatureOther));
    signature.bytes = start.toByteArray();
    checks.add("signature", psp, signature);

    const auto packed = field32(head, prx::kOffPackedSize);
    checks.add("packed_size", packed && *packed == n,
               !packed        ? fieldMissing("PackedSize", prx::kOffPackedSize)
               : *packed == n ? behindSce(found(Found::PackedSize, n))
                              : behindSce(found(Found::PackedSizeOther, *packed, n)));

    const auto gzipSize = field32(head, prx::kOffGzipSize);
    const qint64 behind = n - prx::kPspHeaderSize;
    checks.add("gzip_size", gzipSize && *gzipSize == behind,
               !gzipSize             ? fieldMissing("GzipSize", prx::kOffGzipSize)
               : *gzipSize == behind ? found(Found::GzipSize, behind)
                                     : found(Found::GzipSizeOther, *gzipSize, behind));
}

// The stream's magic: gzip, none, or an encrypted module's data.
Finding magicFinding(const PackedChecker::State& s) {
    const QByteArrayView magic = s.magic();
    Finding f = found(s.magicOk()                                        ? Found::GzipMagic
                      : magic.isEmpty()                                  ? Found::StreamMissing
                      : prx::packingOf(magic) == prx::Packing::Encrypted ? Found::EncryptedStream
                                                                         : Found::OtherStream);
    f.offset = s.base + kStreamOffset;
    f.bytes = magic.toByteArray();
    return f;
}

// The trailer's checks, and what follows the stream.
void checkTrailer(Checks& checks, const PackedChecker::State& s) {
    if (s.trailer.size() < kTrailerLength) {
        const Finding cut = found(Found::TrailerCut, s.trailer.size());
        checks.add("crc32", false, cut);
        checks.add("isize", false, cut);
        checks.add("padding", false, found(Found::NotCheckedTrailerCut));
        return;
    }
    const quint32 crc = qFromLittleEndian<quint32>(s.trailer.constData());
    const auto dataCrc = static_cast<quint32>(s.crc);
    checks.add("crc32", crc == dataCrc,
               crc == dataCrc ? found(Found::Crc, crc) : found(Found::CrcMismatch, crc, dataCrc));
    const quint32 isize = qFromLittleEndian<quint32>(s.trailer.constData() + 4);
    const auto length32 = static_cast<quint32>(s.inflated);
    checks.add("isize", isize == length32,
               isize == length32 ? found(Found::Isize, isize)
                                 : found(Found::IsizeMismatch, isize, s.inflated));
    Finding padding = found(s.after == 0       ? Found::NothingFollows
                            : s.firstOther < 0 ? Found::ZerosFollow
                                               : Found::OtherFollows,
                            s.after);
    padding.offset = s.base + kStreamOffset + s.dataEnd + kTrailerLength;
    padding.bytes = QByteArray(1, s.firstOtherByte);
    padding.otherOffset = s.base + s.firstOther;
    checks.add("padding", s.firstOther < 0, padding);
}

// The checks of the stream, from its magic to what follows it.
void checkStream(Checks& checks, const PackedChecker::State& s) {
    const bool gzip = s.magicOk();
    checks.add("gzip_magic", gzip, magicFinding(s));

    using Phase = PackedChecker::State::Phase;
    const bool ended = s.phase == Phase::Trailer || s.phase == Phase::After;
    checks.add("stream", ended, ended ? found(Found::Inflates, s.inflated) : s.unfinished());
    if (!ended) {
        Finding why = found(gzip ? Found::NotCheckedNoInflate : Found::NotCheckedNoGzip);
        why.offset = s.base + kStreamOffset;
        for (const char* name : {"crc32", "isize", "padding", "plain_size"})
            checks.add(name, false, why);
        return;
    }
    checkTrailer(checks, s);

    const auto plain = field32(s.head, prx::kOffPlainSize);
    checks.add("plain_size", plain && *plain == s.inflated,
               !plain                 ? fieldMissing("PlainSize", prx::kOffPlainSize)
               : *plain == s.inflated ? found(Found::PlainSize, *plain)
                                      : found(Found::PlainSizeMismatch, *plain, s.inflated));
}

void checkIdentity(Checks& checks, QByteArrayView head) {
    const auto plain = field32(head, prx::kOffPlainSize);
    const QString label = plain ? prx::labelForPlainSize(static_cast<qint32>(*plain)) : prx::kUnknow;
    Finding release = found(label != prx::kUnknow ? Found::Release : Found::NoRelease, plain.value_or(0));
    release.text = label;
    checks.add("release", label != prx::kUnknow,
               !plain ? fieldMissing("PlainSize", prx::kOffPlainSize) : release);

    if (head.size() < prx::kOffModuleKey + kKeyLength) {
        checks.add("key", false, fieldMissing("the module key", prx::kOffModuleKey));
    } else {
        const QByteArrayView key = head.sliced(prx::kOffModuleKey, kKeyLength);
        const ModuleKey* known = nullptr;
        for (const ModuleKey& k : kModuleKeys)
            if (key == QByteArrayView(k.bytes.data(), kKeyLength))
                known = &k;
        Finding f = found(known ? Found::Key : Found::UnknownKey);
        f.text = known ? QLatin1StringView(known->name).toString() : QString();
        f.bytes = key.toByteArray();
        checks.add("key", known != nullptr, f);
    }

    if (head.size() < prx::kOffModuleName + prx::kModuleNameFieldLength) {
        checks.add("module_name", false, fieldMissing("ModuleName", prx::kOffModuleName), true);
        return;
    }
    const QByteArrayView field = head.sliced(prx::kOffModuleName, prx::kModuleNameFieldLength);
    const qsizetype end = field.indexOf('\0');
    // Loaders go by the module info inside the module, not by this name:
    // packing leaves the end of the field as the header source had it.
    constexpr bool kNote = true;
    Finding name = found(end > 0    ? Found::ModuleName
                         : end == 0 ? Found::ModuleNameEmpty
                                    : Found::ModuleNameUnended,
                         prx::kModuleNameFieldLength);
    name.bytes = field.first(std::max<qsizetype>(end, 0)).toByteArray();
    checks.add("module_name", end > 0, name, kNote);
}

} // namespace

PackedChecker::PackedChecker() : m(std::make_unique<State>()) {}

PackedChecker::~PackedChecker() = default;

void PackedChecker::feed(QByteArrayView bytes) {
    if (!m->decided) {
        const qsizetype lead = std::min<qsizetype>(bytes.size(), kLeadLength - m->lead.size());
        m->lead.append(bytes.first(lead));
        bytes = bytes.sliced(lead);
        if (m->lead.size() < kLeadLength)
            return;
        m->decide();
    }
    m->take(bytes);
}

bool PackedChecker::needsMore() const {
    return m->phase != State::Phase::Stopped;
}

QList<PackedCheck> PackedChecker::finish(qint64 fileLength) {
    if (!m->decided)
        m->decide();
    Checks checks;
    checkHeaderSizes(checks, m->head, needsMore() ? m->fed : std::max(m->fed, fileLength - m->base), m->base);
    checkStream(checks, *m);
    checkIdentity(checks, m->head);
    return checks.take();
}

QList<PackedCheck> checkPacked(QByteArrayView file) {
    PackedChecker checker;
    checker.feed(file);
    return checker.finish(file.size());
}

Result<QList<PackedCheck>> checkPackedFile(const QString& path) {
    PackedChecker checker;
    auto size = prx::readFileInPieces(path, [&](QByteArrayView piece) {
        checker.feed(piece);
        return checker.needsMore();
    });
    if (!size)
        return size.error();
    return checker.finish(*size);
}

QList<PackedCheck> checkPlain(QByteArrayView file) {
    Checks checks;
    const QString label = prx::labelForPlainSize(file.size());
    Finding release = found(label != prx::kUnknow ? Found::PlainRelease : Found::PlainNoRelease, file.size());
    release.text = label;
    checks.add("release", label != prx::kUnknow, release);
    const prx::ElfPrx elf = prx::inspectElfPrx(file);
    checks.add("elf", elf.prx, text::elfDetail(elf));
    return checks.take();
}

bool checkedAsPlain(QByteArrayView head, qint64 fileSize) {
    return prx::labelForPlainSize(fileSize) != prx::kUnknow || head.startsWith(QByteArrayView("\x7F"
                                                                                              "ELF"));
}

Result<QList<PackedCheck>> checkModuleFile(const QString& path) {
    auto head = prx::readFileHead(path, 4);
    if (!head)
        return head.error();
    if (!checkedAsPlain(head->bytes, head->size))
        return checkPackedFile(path);
    auto file = prx::readWholeFile(path, kMaxUnpackedSize);
    if (!file)
        return file.error();
    return checkPlain(*file);
}

bool allHold(const QList<PackedCheck>& checks) {
    return std::all_of(checks.begin(), checks.end(), [](const PackedCheck& c) { return c.ok || c.note; });
}

QStringList notesRaised(const QList<PackedCheck>& checks) {
    QStringList notes;
    for (const PackedCheck& c : checks)
        if (c.note && !c.ok)
            notes.append(c.name + QStringLiteral(": ") + c.detail);
    return notes;
}

Status requireChecks(const QList<PackedCheck>& checks) {
    QStringList failed;
    for (const PackedCheck& c : checks)
        if (!c.ok && !c.note)
            failed.append(c.name + QStringLiteral(": ") + c.detail);
    if (failed.isEmpty())
        return {};
    return Error::check(QStringLiteral("The packed module fails its checks (nothing written)"),
                        failed.join(QStringLiteral("; ")));
}

Status requirePackedChecks(QByteArrayView file) {
    return requireChecks(checkPacked(file));
}

} // namespace qm::compression
