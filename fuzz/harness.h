#pragma once

// What the fuzz targets share with each other and with the seed generator:
// the layout of a module input, images of one release built from it, the
// two locales, and the check that ends a run with a report.

#include "prx/catalogue.h"
#include "prx/moduleimage.h"
#include "text/errortext.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QLocale>
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace qm::fuzz {

// Stops the run with a report when `holds` is false; libFuzzer keeps the input.
void require(bool holds, const char* what, const QString& detail = {});

// The error of a failed result, for a report; empty for a success.
template <typename T> QString errorText(const Result<T>& r) {
    return r ? QString() : text::fullText(r.error());
}

// The locales every text is read and written in: 0 English, 1 French.
const QLocale& locale(int which);

// Reads choices off the front of an input; an input that ends early reads as zeros.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size)
        : m_bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)) {}
    quint8 byte();
    quint32 u32(); // little-endian
    QByteArrayView rest() const { return m_bytes.sliced(std::min(m_pos, m_bytes.size())); }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

// A module input: the release byte, a flags byte (bit 0 French, bits 1-2 the
// number of edits), kEditSlots edits of 6 bytes each, then the fill of the image.
struct Edit {
    quint8 kind = 0;     // what is edited; each target reads it its own way
    quint8 selector = 0; // which value of that kind
    quint32 value = 0;   // the new value's bytes
};
inline constexpr int kEditSlots = 3;
inline constexpr qsizetype kModuleHeaderLength = 2 + 6 * kEditSlots;

struct ModuleInput {
    int version = 1; // 1 to the kind's row count
    int localeIndex = 0;
    QList<Edit> edits;
    QByteArrayView fill;
};
ModuleInput readModuleInput(const std::uint8_t* data, std::size_t size, prx::ModuleKind kind);
QByteArray moduleInput(int version, int localeIndex, const QList<Edit>& edits, QByteArrayView fill);

// Where a release keeps its values: from its lowest value offset to past the
// longest value that starts at its highest one (or the end of the file).
struct Window {
    qint64 begin = 0;
    qint64 end = 0;
};
Window valueWindow(prx::ModuleKind kind, int version);

// An image of exactly the release's size whose value window starts with
// `fill`. The fill repeats from there to the end of the image and goes on
// from its start, so a short input reaches every value; zeros when empty.
prx::ModuleImage releaseImage(prx::ModuleKind kind, int version, QByteArrayView fill);

// Byte ranges a save may change.
class ByteRanges {
public:
    void add(qint64 offset, qint64 length) { m_ranges.append({offset, offset + length}); }
    bool contains(qint64 offset) const;
    // The parts of [0, size) outside every range, in order.
    QList<std::pair<qint64, qint64>> gaps(qint64 size) const;

private:
    QList<std::pair<qint64, qint64>> m_ranges; // [begin, end)
};

// Requires that `after` differs from `before` only inside `allowed`.
void requireChangesWithin(const QByteArray& before, const QByteArray& after, const ByteRanges& allowed,
                          const char* what);

// Requires that a number text that failed to save failed as a value, never
// by a write past the image or another kind of fault.
void requireValueError(const Error& error, const char* what);

} // namespace qm::fuzz
