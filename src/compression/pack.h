#pragma once

// Packing a plain module behind the "~PSP" header of another packed module.

#include "prx/result.h"

#include <QByteArrayView>
#include <QString>

#include <functional>

namespace qm::compression {

enum class PackStage { ReadingHeader, Compressing, Verifying, Writing };

struct PackProgress {
    PackStage stage;
    double fraction; // 0.0 to 1.0 within the stage
};
using PackProgressFn = std::function<void(const PackProgress&)>;
// A last look at the whole packed module before it is written; an error
// refuses it and nothing is written. requirePackedChecks (check.h) is one.
using PackedModuleCheckFn = std::function<Status(QByteArrayView packed)>;

struct PackReport {
    qint64 plainSize = 0;
    qint64 gzipSize = 0;
    qint64 packedSize = 0;    // 336 + gzip size
    qint64 sceHeaderSize = 0; // a "~SCE" header in front, carried over from the header source
    int key = 0;
};

inline const QByteArray kPackedModuleName = QByteArrayLiteral("Compress by Zorv Editor");

// The key the header source's byte at 0x130 preselects; fails like pack
// does on an unreadable or too short header source.
Result<int> preselectedKeyOfFile(const QString& headerPath);

// Gzips `plainPath` with the archiver (-tgzip -mpass15 -mfb258 -mx9, module
// fed on standard input), checks that the stream unpacks to the module, and
// writes header + stream to `outPath` (which may be plainPath) in one piece.
// The header is the header source's first 336 bytes with the key, the module
// name and the three sizes patched in; a header source behind a 64-byte
// "~SCE" header gives its "~PSP" header, and the "~SCE" header is put in
// front of the result unchanged. `check`, when given, sees the packed
// module before it is written. keepOriginal: see prx::writeFileAtomically.
Result<PackReport> packModule(const QString& plainPath, const QString& headerPath, int key,
                              const QString& outPath, const QString& workFolder,
                              const PackProgressFn& progress = {}, const PackedModuleCheckFn& check = {},
                              bool keepOriginal = false);

} // namespace qm::compression
