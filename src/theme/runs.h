#pragma once

// A module's changes as runs: where the bytes of an edited module differ
// from its stock one, where the theme loader can place them, and the
// module as the loader leaves it once the runs are written.

#include "prx/catalogue.h"
#include "prx/result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace qm::theme {

// The loader writes a run at the module's load address + offset; the offset
// is the run's file offset less the first segment's p_offset (the u32 at 0x38).
struct Run {
    quint32 offset = 0;
    QByteArray bytes;
    bool operator==(const Run&) const = default;
};

// [begin, end) in a module file.
struct FileRange {
    qint64 begin = 0;
    qint64 end = 0;
};

// Where the loader's arithmetic puts bytes where they belong: the file
// bytes of the loadable segments whose file-to-memory shift (p_offset -
// p_vaddr) is the first segment's, from the first segment on.
struct ModuleLayout {
    quint32 firstSegment = 0;  // p_offset of the first program header (the u32 at 0x38)
    QList<FileRange> writable; // sorted, merged
    // The writable range that holds all of `range`; an empty one when none does.
    FileRange writableAround(FileRange range) const;
};
// The module must be an ELF PRX whose program headers lie at 0x34, where the
// loader reads the first one.
Result<ModuleLayout> layoutOf(QByteArrayView module);

// Values of a release the editors change, by byte span: each colour record
// and menu row on its own ("TextColors[3]", "MenuEntries[5]"), texts over
// their whole slot; the date and time formats, never written, are none.
struct ValueSpan {
    QString name;
    int member = 0;   // the member's place in its kind's offset row (prx::VshMember, prx::PafMember)
    int element = -1; // colour record or menu row; -1 for a whole member
    qint64 offset = 0;
    qint64 length = 0;
};
QList<ValueSpan> valueSpans(prx::ReleaseId release); // by offset
// The spans that share a byte with the range, in order, and their names.
QList<ValueSpan> spansIn(const QList<ValueSpan>& spans, FileRange range);
QStringList valuesIn(const QList<ValueSpan>& spans, FileRange range);

// The runs of two plain modules of one length, both ELF PRX, appended to
// `out` as a theme entry holds them: for each maximal range of differing
// bytes its u32 offset (see Run), u32 length and bytes, in file order. The
// spans of the module's release (by offset; none for a release Quillmark
// doesn't know) name the values the runs change. A range the loader can't
// place is refused, naming it: "ClockX lies where the theme loader can't
// write it", and `out` is left as it was. A difference that reaches the last
// byte is kept.
struct RunsWritten {
    qsizetype runs = 0;
    qint64 changedBytes = 0;
    QStringList values;            // the values changed, in the order of their first change
    qint64 bytesOutsideValues = 0; // changed bytes no span holds
};
Result<RunsWritten> writeRuns(QByteArrayView stock, QByteArrayView edited, const QList<ValueSpan>& spans,
                              QByteArray& out);

// The file range a run covers in a module whose first segment is at `firstSegment`.
FileRange fileRangeOf(const Run& run, quint32 firstSegment);

// The module as the loader leaves it: each run at offset + the u32 at 0x38.
// A run outside the module is refused, and nothing comes back.
Result<QByteArray> applyRuns(QByteArrayView module, const QList<Run>& runs);

// For a module of a known release: the values each run touches, in run
// order; a run with none changes bytes no editor shows.
struct RunOnValues {
    Run run;
    FileRange range;
    QList<ValueSpan> values;
};
QList<RunOnValues> runsOnValues(QByteArrayView module, const QList<Run>& runs, prx::ReleaseId release);

} // namespace qm::theme
