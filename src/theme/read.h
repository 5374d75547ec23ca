#pragma once

// Reading a theme (.ctf) and checking it the way the plugin's loader meets
// it. Works on bytes alone, so anything may be handed in; nothing is written.

#include "compression/check.h"
#include "format.h"
#include "runs.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace qm::theme {

struct ThemeEntry {
    QString name;      // the flash path, e.g. "/vsh/module/vshmain.prx"
    quint32 start = 0; // file offset of its data
    quint32 size = 0;  // runs for a module the loader changes, else bytes
    bool runForm = false;
    QList<Run> runs; // the runs, as far as they lie inside the entry
    QByteArray data; // a whole file, as far as it lies inside the theme
};

struct Theme {
    QString title; // the PTF title's first 8 bytes: the header fields from 0x10 on overwrite the rest
    quint32 formatVersion = 0;
    quint32 magic = 0;
    QString firmware;      // from the magic; empty when no loader takes it
    quint32 ptfLength = 0; // the u32 at 0x1C
    QList<ThemeEntry> entries;

    // The entry of a module the loader changes run by run, or nullptr.
    const ThemeEntry* entryFor(Slot slot) const;
};

// The checks, named and in this order: ptf_signature, magic, ptf_part, count,
// index, entries, names, sha1, runs. A check that depends on one that failed
// fails too, saying so. `theme` holds what could be read.
struct ThemeReading {
    Theme theme;
    QList<compression::PackedCheck> checks;
};
ThemeReading readTheme(QByteArrayView file);

// A theme that passes every check; otherwise an error naming the checks
// that fail.
Result<Theme> loadTheme(QByteArrayView file);

// Runs read from an entry's data: `count` of them, each an offset, a length
// and that many bytes. Reading stops at the first that doesn't fit in
// `data`; `complete` says whether all did.
struct RunList {
    QList<Run> runs;
    bool complete = false;
    QString problem; // why not
};
RunList readRuns(QByteArrayView data, quint32 count);

// The module lengths a firmware's themes are checked against (its known
// releases), 0 when Quillmark knows none.
qint64 knownModuleLength(QStringView firmware, Slot slot);

} // namespace qm::theme
