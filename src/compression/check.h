#pragma once

// Checks of a packed (~PSP) module the way a custom firmware's loader meets
// it: the header's sizes, the gzip stream behind it, the release, the key
// and the module name; and of a plain module: its release and its ELF head.
// Works on bytes alone, so anything may be handed in.

#include "prx/result.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace qm::compression {

struct PackedCheck {
    QString name; // "length", "signature", ... always the same list in the same order
    bool ok = false;
    QString detail;    // what was found when it holds, the reason when it fails
    bool note = false; // no loader enforces it: it is reported, but never fails a module
};

// The shortest gzip stream: a 10-byte header, an empty final block and the 8-byte trailer.
inline constexpr qint64 kMinGzipStreamSize = 20;

// The checks of a file handed in piece by piece, so that a file is checked
// without holding it whole: the header, the stream inflated as it comes,
// what follows it.
class PackedChecker {
public:
    PackedChecker();
    ~PackedChecker();
    PackedChecker(const PackedChecker&) = delete;
    PackedChecker& operator=(const PackedChecker&) = delete;

    // The file's next bytes, in pieces of any size.
    void feed(QByteArrayView bytes);
    // Whether the bytes still to come matter. Once not (the stream is broken
    // or inflates past the bound), the rest need not be fed.
    bool needsMore() const;
    // Every check, in order. `fileLength` is the whole file's length; bytes
    // past those fed count only once needsMore() is false.
    QList<PackedCheck> finish(qint64 fileLength);

    struct State; // what has been seen so far, in check.cpp

private:
    std::unique_ptr<State> m;
};

// Every check of a packed module, holding or not. A check that depends on
// one that failed fails too, saying so. A module behind a 64-byte "~SCE"
// header is checked as the packed module it holds.
QList<PackedCheck> checkPacked(QByteArrayView file);
// The same of a file, read in pieces; an error when it can't be read.
Result<QList<PackedCheck>> checkPackedFile(const QString& path);

// The checks of a plain module: `release` (its length is a known release's)
// and `elf` (an ELF PRX, named from its module info when that is found).
QList<PackedCheck> checkPlain(QByteArrayView file);
// A file of a release's length, or one that starts with an ELF magic, is
// checked as a plain module; anything else as a packed one.
bool checkedAsPlain(QByteArrayView head, qint64 fileSize);
Result<QList<PackedCheck>> checkModuleFile(const QString& path);

// Whether every check that is not a note holds.
bool allHold(const QList<PackedCheck>& checks);
// The notes that do not hold, as "name: detail".
QStringList notesRaised(const QList<PackedCheck>& checks);
// Nothing when allHold(); otherwise a check error naming each failed check
// and its reason.
Status requireChecks(const QList<PackedCheck>& checks);
Status requirePackedChecks(QByteArrayView file);

} // namespace qm::compression
