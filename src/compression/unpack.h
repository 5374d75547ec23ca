#pragma once

// Unpacking a packed module: the gzip stream behind the 336-byte "~PSP"
// header goes through the archiver, the module comes back on its standard
// output, and the output path is replaced only once the module is complete.

#include "prx/result.h"

#include <QString>

#include <functional>

namespace qm::compression {

inline constexpr qint64 kMaxUnpackedSize = qint64(64) * 1024 * 1024;

enum class UnpackStage { ReadingPacked, Decompressing, Writing };

struct UnpackProgress {
    UnpackStage stage;
    double fraction; // 0.0 to 1.0 within the stage
};
using UnpackProgressFn = std::function<void(const UnpackProgress&)>;

struct UnpackReport {
    qint64 packedSize = 0;
    qint64 gzipSize = 0;
    qint64 plainSize = 0; // length of the module written
};

// Every byte from offset 336 on is taken as the gzip stream; header fields
// are not consulted. Behind a "~SCE" header (prx::sceHeaderLength) the
// stream starts 64 bytes later. outPath may be packedPath itself.
Result<UnpackReport> unpackModule(const QString& packedPath, const QString& outPath,
                                  const QString& workFolder, const UnpackProgressFn& progress = {});

} // namespace qm::compression
