#include "unpack.h"

#include "archiver.h"
#include "prx/fileio.h"
#include "prx/header.h"

#include <QDir>

namespace qm::compression {
namespace {

// Cap on the packed file read into memory: far above any real module.
constexpr qint64 kMaxPackedSize = qint64(256) * 1024 * 1024;

void report(const UnpackProgressFn& progress, UnpackStage stage, double fraction) {
    if (progress)
        progress({stage, fraction});
}

} // namespace

Result<UnpackReport> unpackModule(const QString& packedPath, const QString& outPath,
                                  const QString& workFolder, const UnpackProgressFn& progress) {
    report(progress, UnpackStage::ReadingPacked, 0.0);
    auto packed = prx::readWholeFile(packedPath, kMaxPackedSize);
    if (!packed)
        return packed.error();
    // A "~SCE" header in front of the "~PSP" one is passed over.
    const qint64 base = prx::sceHeaderLength(*packed);
    const qint64 streamOffset = base + prx::kPspHeaderSize;
    if (packed->size() <= streamOffset)
        return Error::notModule(QStringLiteral("Not a packed module"),
                                QStringLiteral("%1 has %2 bytes, no gzip stream behind a %3-byte header")
                                    .arg(QDir::toNativeSeparators(packedPath))
                                    .arg(packed->size())
                                    .arg(streamOffset));
    // The header's plain size is only a hint for the buffer; the stream decides.
    const qint64 plainSizeHint = prx::describePacked(packed->sliced(base, prx::kPspHeaderSize)).plainSize;
    UnpackReport result;
    result.packedSize = packed->size();
    result.gzipSize = packed->size() - streamOffset;
    report(progress, UnpackStage::ReadingPacked, 1.0);

    auto archiver = findArchiver(workFolder);
    if (!archiver)
        return archiver.error();

    // The stream goes in on standard input and the module comes back on
    // standard output, so a name stored in the stream is never used and
    // nothing is extracted to disk.
    report(progress, UnpackStage::Decompressing, 0.0);
    RunRequest request;
    request.program = *archiver;
    request.arguments = {QStringLiteral("e"), QStringLiteral("-si"), QStringLiteral("-so"),
                         QStringLiteral("-tgzip"), QStringLiteral("-y")};
    request.input = packed->sliced(streamOffset);
    packed->clear(); // the stream copy is all that is needed from here on
    request.outputLimit = kMaxUnpackedSize;
    request.expectedOutput = plainSizeHint;
    const double gzipSize = static_cast<double>(result.gzipSize);
    request.progress = [&](qint64 fed, qint64) {
        report(progress, UnpackStage::Decompressing, static_cast<double>(fed) / gzipSize);
    };
    auto run = runArchiver(request);
    if (!run)
        return run.error();
    if (run->limitExceeded)
        return Error::notModule(QStringLiteral("The unpacked module is too large"),
                                QStringLiteral("%1 unpacks to more than %2 bytes")
                                    .arg(QDir::toNativeSeparators(packedPath))
                                    .arg(kMaxUnpackedSize));
    if (run->crashed || run->exitCode != 0)
        return Error::archiver(QStringLiteral("The archiver could not unpack the module"),
                               describeFailure(request.program, *run));
    if (run->output.isEmpty())
        return Error::archiver(
            QStringLiteral("The archiver could not unpack the module"),
            QStringLiteral("%1 gave no data for %2")
                .arg(QDir::toNativeSeparators(request.program), QDir::toNativeSeparators(packedPath)));
    report(progress, UnpackStage::Decompressing, 1.0);

    report(progress, UnpackStage::Writing, 0.0);
    if (auto written = prx::writeFileAtomically(outPath, run->output); !written)
        return written.error();
    result.plainSize = run->output.size();
    report(progress, UnpackStage::Writing, 1.0);
    return result;
}

} // namespace qm::compression
