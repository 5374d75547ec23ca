#include "pack.h"

#include "archiver.h"
#include "modulekeys.h"
#include "prx/fileio.h"
#include "prx/header.h"
#include "unpack.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace qm::compression {
namespace {

// The archive name the archiver is given. With -so nothing is written under
// it, but it lives in a private temporary folder all the same.
const QString kArchiveName = QStringLiteral("PRXComp.prx.gz");

void report(const PackProgressFn& progress, PackStage stage, double fraction) {
    if (progress)
        progress({stage, fraction});
}

struct HeaderSource {
    QByteArray sce;    // a "~SCE" header in front of the "~PSP" one, carried over as it is; or empty
    QByteArray header; // the "~PSP" header's 336 bytes
};

Result<HeaderSource> readHeaderSource(const QString& headerPath) {
    auto head = prx::readFileHead(headerPath, prx::kSceHeaderSize + prx::kPspHeaderSize);
    if (!head)
        return head.error();
    const qint64 base = prx::sceHeaderLength(head->bytes);
    if (head->bytes.size() < base + prx::kPspHeaderSize)
        return Error::notModule(
            QStringLiteral("The header source is too short"),
            QStringLiteral("%1 has %2 bytes; a \"~PSP\" header has %3")
                    .arg(QDir::toNativeSeparators(headerPath))
                    .arg(head->size)
                    .arg(prx::kPspHeaderSize) +
                (base > 0 ? QStringLiteral(" behind the %1-byte ~SCE header").arg(base) : QString()));
    return HeaderSource{head->bytes.first(base), head->bytes.sliced(base, prx::kPspHeaderSize)};
}

Error streamMismatch(const QString& detail) {
    return Error::archiver(QStringLiteral("The archiver's gzip stream does not unpack to the module"),
                           detail);
}

// Inflates the stream and compares it with the module as it goes; the
// stream must be one gzip member that gives back exactly the module.
Status verifyStream(const QByteArray& gzip, const QByteArray& module, const PackProgressFn& progress) {
    z_stream zs{};
    if (inflateInit2(&zs, 16 + MAX_WBITS) != Z_OK)
        return Error::archiver(QStringLiteral("The gzip stream can't be checked"),
                               QStringLiteral("zlib could not be initialised"));
    struct InflateEnd {
        z_stream* zs;
        ~InflateEnd() { inflateEnd(zs); }
    } end{&zs};

    std::vector<Bytef> buffer(64 * 1024);
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(gzip.constData()));
    qint64 inputLeft = gzip.size();
    qint64 position = 0;
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        if (zs.avail_in == 0 && inputLeft > 0) {
            zs.avail_in = static_cast<uInt>(std::min<qint64>(inputLeft, 1 << 30));
            inputLeft -= zs.avail_in;
        }
        zs.next_out = buffer.data();
        zs.avail_out = static_cast<uInt>(buffer.size());
        rc = inflate(&zs, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END)
            return streamMismatch(rc == Z_BUF_ERROR ? QStringLiteral("the stream ends early")
                                                    : QString::fromLatin1(zs.msg ? zs.msg : "bad data"));
        const auto produced = static_cast<qint64>(buffer.size() - zs.avail_out);
        if (position + produced > module.size())
            return streamMismatch(
                QStringLiteral("the stream gives more than the module's %1 bytes").arg(module.size()));
        if (std::memcmp(buffer.data(), module.constData() + position, static_cast<std::size_t>(produced)) !=
            0)
            return streamMismatch(
                QStringLiteral("the stream differs from the module near offset %1").arg(position));
        position += produced;
        report(progress, PackStage::Verifying,
               static_cast<double>(position) / static_cast<double>(module.size()));
    }
    if (position != module.size())
        return streamMismatch(
            QStringLiteral("the stream gives %1 of the module's %2 bytes").arg(position).arg(module.size()));
    if (zs.avail_in != 0 || inputLeft != 0)
        return streamMismatch(QStringLiteral("data follows the end of the stream"));
    return {};
}

QByteArray packedHeader(QByteArray header, int key, qint64 plainSize, qint64 gzipSize) {
    const auto& keyBytes = kModuleKeys[static_cast<std::size_t>(key)].bytes;
    for (std::size_t i = 0; i < keyBytes.size(); ++i)
        header[prx::kOffModuleKey + static_cast<qsizetype>(i)] = static_cast<char>(keyBytes[i]);
    // Only the name's characters: the bytes behind it stay as they were.
    header.replace(prx::kOffModuleName, kPackedModuleName.size(), kPackedModuleName);
    qToLittleEndian<qint32>(static_cast<qint32>(plainSize), header.data() + prx::kOffPlainSize);
    qToLittleEndian<qint32>(static_cast<qint32>(prx::kPspHeaderSize + gzipSize),
                            header.data() + prx::kOffPackedSize);
    qToLittleEndian<qint32>(static_cast<qint32>(gzipSize), header.data() + prx::kOffGzipSize);
    return header;
}

} // namespace

Result<int> preselectedKeyOfFile(const QString& headerPath) {
    auto source = readHeaderSource(headerPath);
    if (!source)
        return source.error();
    return preselectedKey(source->header);
}

Result<PackReport> packModule(const QString& plainPath, const QString& headerPath, int key,
                              const QString& outPath, const QString& workFolder,
                              const PackProgressFn& progress, const PackedModuleCheckFn& check,
                              bool keepOriginal) {
    if (key < 0 || key >= static_cast<int>(kModuleKeys.size()))
        return Error::invalidArgument(
            QStringLiteral("module key %1; the keys are 0 to %2").arg(key).arg(kModuleKeys.size() - 1));

    report(progress, PackStage::ReadingHeader, 0.0);
    auto source = readHeaderSource(headerPath);
    if (!source)
        return source.error();
    report(progress, PackStage::ReadingHeader, 0.5);
    // Larger modules could not be unpacked again.
    auto module = prx::readWholeFile(plainPath, kMaxUnpackedSize);
    if (!module)
        return module.error();
    if (module->isEmpty())
        return Error::notModule(QStringLiteral("The module to pack is empty"),
                                QDir::toNativeSeparators(plainPath));
    report(progress, PackStage::ReadingHeader, 1.0);

    auto archiver = findArchiver(workFolder);
    if (!archiver)
        return archiver.error();
    const QTemporaryDir scratch;
    if (!scratch.isValid())
        return Error::io(errnum::PathFileAccess, {},
                         QStringLiteral("no temporary folder: ") + scratch.errorString());

    report(progress, PackStage::Compressing, 0.0);
    RunRequest request;
    request.program = *archiver;
    request.arguments = {QStringLiteral("a"),       QStringLiteral("-tgzip"), QStringLiteral("-mpass15"),
                         QStringLiteral("-mfb258"), QStringLiteral("-mx9"),   QStringLiteral("-si"),
                         QStringLiteral("-so"),     QStringLiteral("-y"),     scratch.filePath(kArchiveName)};
    request.input = *module;
    // Deflate never grows data by more than a few bytes per block; anything
    // far beyond the module's size is not a gzip stream of it.
    request.outputLimit = module->size() + module->size() / 8 + 64 * 1024;
    const double plainSize = static_cast<double>(module->size());
    request.progress = [&](qint64 fed, qint64) {
        report(progress, PackStage::Compressing, static_cast<double>(fed) / plainSize);
    };
    auto run = runArchiver(request);
    if (!run)
        return run.error();
    if (run->crashed || run->exitCode != 0)
        return Error::archiver(QStringLiteral("The archiver could not pack the module"),
                               describeFailure(request.program, *run));
    if (run->limitExceeded || run->output.isEmpty())
        return streamMismatch(QStringLiteral("%1 gave %2 bytes for a module of %3")
                                  .arg(QDir::toNativeSeparators(request.program),
                                       run->limitExceeded
                                           ? QStringLiteral("more than %1").arg(request.outputLimit)
                                           : QStringLiteral("0"))
                                  .arg(module->size()));
    report(progress, PackStage::Compressing, 1.0);

    report(progress, PackStage::Verifying, 0.0);
    if (auto verified = verifyStream(run->output, *module, progress); !verified)
        return verified.error();
    report(progress, PackStage::Verifying, 1.0);

    report(progress, PackStage::Writing, 0.0);
    PackReport result;
    result.plainSize = module->size();
    result.gzipSize = run->output.size();
    result.packedSize = prx::kPspHeaderSize + result.gzipSize;
    result.key = key;
    result.sceHeaderSize = source->sce.size();
    const QByteArray packed =
        source->sce + packedHeader(std::move(source->header), key, result.plainSize, result.gzipSize) +
        run->output;
    if (check)
        if (auto checked = check(packed); !checked)
            return checked.error();
    if (auto written = prx::writeFileAtomically(outPath, packed, keepOriginal); !written)
        return written.error();
    report(progress, PackStage::Writing, 1.0);
    return result;
}

} // namespace qm::compression
