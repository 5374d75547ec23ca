#include "runs.h"

#include "format.h"
#include "prx/elf.h"
#include "prx/menu.h"
#include "text/elftext.h"

#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>

namespace qm::theme {
namespace {

constexpr qint64 kPhOff = 0x34;
constexpr qint64 kPhEntry = 32;
constexpr quint32 kPtLoad = 1;

QString rangeText(FileRange r) {
    return r.end - r.begin == 1 ? hex(r.begin) : QStringLiteral("%1 to %2").arg(hex(r.begin), hex(r.end - 1));
}

// Calls `take` with each maximal range of differing bytes of two modules of
// one length, in order; a range may reach the last byte.
template <typename Take> void forEachDifference(QByteArrayView stock, QByteArrayView edited, Take take) {
    const qint64 n = std::min(stock.size(), edited.size());
    const char* a = stock.data();
    const char* b = edited.data();
    const auto word = [](const char* p) {
        quint64 w;
        std::memcpy(&w, p, 8);
        return w;
    };
    qint64 i = 0;
    int equalWords = 0; // in a row: past two, equal stretches go 32 bytes at a time
    while (i < n) {
        if (i + 8 <= n) { // a word at a time up to the first byte that differs
            const quint64 d = qFromLittleEndian(word(a + i) ^ word(b + i));
            if (d == 0) {
                i += 8;
                if (++equalWords >= 2)
                    while (i + 32 <= n && ((word(a + i) ^ word(b + i)) | (word(a + i + 8) ^ word(b + i + 8)) |
                                           (word(a + i + 16) ^ word(b + i + 16)) |
                                           (word(a + i + 24) ^ word(b + i + 24))) == 0)
                        i += 32;
                continue;
            }
            i += std::countr_zero(d) / 8;
        } else if (a[i] == b[i]) {
            ++i;
            continue;
        }
        equalWords = 0;
        const qint64 begin = i;
        while (i < n && a[i] != b[i])
            ++i;
        take(FileRange{begin, i});
    }
}

// Runs written one after another at the end of a buffer that doubles when
// full: a module changed all over makes a hundred thousand runs of a byte or two.
class RunWriter {
public:
    explicit RunWriter(QByteArray& out) : m_out(out), m_used(out.size()) {}
    // The run of `length` bytes at `from` in `module`.
    void add(quint32 offset, QByteArrayView module, qint64 from, qint64 length) {
        const qint64 need = kRunHeaderLength + length;
        if (m_used + need + 8 > m_out.size())
            m_out.resize(std::max<qint64>(2 * m_out.size(), m_used + need + 4096));
        char* at = m_out.data() + m_used;
        qToLittleEndian<quint32>(offset, at);
        qToLittleEndian<quint32>(static_cast<quint32>(length), at + 4);
        // Most runs of a module changed all over are a byte or two: a whole
        // word is copied, and what follows the run is written over next.
        if (length <= 8 && from + 8 <= module.size())
            std::memcpy(at + kRunHeaderLength, module.data() + from, 8);
        else
            std::memcpy(at + kRunHeaderLength, module.data() + from, static_cast<std::size_t>(length));
        m_used += need;
    }
    void finish() { m_out.truncate(m_used); }

private:
    QByteArray& m_out;
    qint64 m_used;
};

// The spans along ranges that come in increasing order, each visit going on
// from where the last one left off: many runs over a release's values cost
// one pass over its spans, not one each.
class SpanWalk {
public:
    explicit SpanWalk(const QList<ValueSpan>& spans) : m_spans(spans), m_named(spans.size(), false) {}
    // Adds the values of the spans that share a byte with `range` to `w`
    // and the bytes of it no span holds.
    void visit(FileRange range, RunsWritten& w) {
        const qsizetype n = m_spans.size();
        while (m_first < n && m_spans[m_first].offset + m_spans[m_first].length <= range.begin)
            ++m_first;
        qint64 at = range.begin; // the bytes before it are told
        for (qsizetype i = m_first; i < n && m_spans[i].offset < range.end; ++i) {
            const ValueSpan& s = m_spans[i];
            if (s.offset + s.length <= range.begin)
                continue;
            if (!std::exchange(m_named[i], true))
                w.values.append(s.name);
            w.bytesOutsideValues += std::max<qint64>(0, s.offset - at);
            at = std::max(at, s.offset + s.length);
        }
        w.bytesOutsideValues += std::max<qint64>(0, range.end - at);
    }

private:
    const QList<ValueSpan>& m_spans;
    QList<bool> m_named;
    qsizetype m_first = 0; // the spans before it end before the ranges still to come
};

} // namespace

FileRange ModuleLayout::writableAround(FileRange range) const {
    for (const FileRange& w : writable)
        if (w.begin <= range.begin && range.end <= w.end)
            return w;
    return {0, 0};
}

Result<ModuleLayout> layoutOf(QByteArrayView module) {
    const prx::ElfPrx elf = prx::inspectElfPrx(module);
    if (!elf.prx)
        return Error::notModule(QStringLiteral("The module is no ELF PRX"), text::elfDetail(elf));
    const auto phoff = u32At(module, 28);
    const quint16 phentsize = qFromLittleEndian<quint16>(module.data() + 42);
    const quint16 phnum = qFromLittleEndian<quint16>(module.data() + 44);
    if (*phoff != kPhOff || phentsize < kPhEntry || phnum == 0 ||
        kPhOff + qint64(phnum) * phentsize > module.size())
        return Error::notModule(
            QStringLiteral("The theme loader can't place runs in this module"),
            QStringLiteral("its program headers are not at 0x34, where the loader reads the "
                           "first segment (e_phoff %1, %2 headers of %3 bytes)")
                .arg(hex(*phoff))
                .arg(phnum)
                .arg(phentsize));
    ModuleLayout layout;
    layout.firstSegment = *u32At(module, kOffFirstSegment);
    const qint64 shift = qint64(layout.firstSegment) - qint64(*u32At(module, kPhOff + 8));
    QList<FileRange> ranges;
    for (quint16 i = 0; i < phnum; ++i) {
        const qint64 at = kPhOff + qint64(i) * phentsize;
        const qint64 offset = *u32At(module, at + 4);
        if (*u32At(module, at) != kPtLoad || offset - qint64(*u32At(module, at + 8)) != shift)
            continue;
        const FileRange r{std::max<qint64>(offset, layout.firstSegment),
                          std::min<qint64>(offset + *u32At(module, at + 16), module.size())};
        if (r.begin < r.end)
            ranges.append(r);
    }
    std::sort(ranges.begin(), ranges.end(),
              [](const FileRange& a, const FileRange& b) { return a.begin < b.begin; });
    for (const FileRange& r : ranges) {
        if (!layout.writable.isEmpty() && r.begin <= layout.writable.last().end)
            layout.writable.last().end = std::max(layout.writable.last().end, r.end);
        else
            layout.writable.append(r);
    }
    return layout;
}

QList<ValueSpan> valueSpans(prx::ReleaseId release) {
    QList<ValueSpan> spans;
    int member = 0;
    const auto add = [&spans, &member](QLatin1StringView name, int element, qint64 offset, qint64 length) {
        spans.append({element < 0 ? QString(name) : QStringLiteral("%1[%2]").arg(name).arg(element), member,
                      element, offset, length});
    };
    if (release.kind == prx::ModuleKind::Paf) {
        for (int m = 0; m < prx::kPafMemberCount; ++m)
            if (member = m; const auto at = prx::pafOffset(release.row, static_cast<prx::PafMember>(m)))
                add(prx::memberName(static_cast<prx::PafMember>(m)), -1, at, 4);
    } else {
        for (int m = 0; m < prx::kVshMemberCount; ++m) {
            member = m;
            const auto vsh = static_cast<prx::VshMember>(m);
            const qint64 at = prx::vshOffset(release.row, vsh);
            if (at == 0)
                continue;
            const QLatin1StringView name = prx::memberName(vsh);
            switch (prx::shapeOf(vsh)) {
            case prx::Shape::Single:
                add(name, -1, at, 4);
                break;
            case prx::Shape::Integer:
                add(name, -1, at, 2);
                break;
            case prx::Shape::Text:
                add(name, -1, at, prx::textMaxLength(vsh) + 1);
                break;
            case prx::Shape::Colours:
                for (int i = 0; i < prx::elementCount(vsh); ++i)
                    add(name, i, at + prx::kColourRecordLength * i, prx::kColourRecordLength);
                break;
            case prx::Shape::Menu:
                for (int i = 0; i < prx::menuEntryCount(release); ++i)
                    add(name, i, at + prx::kMenuEntryLength * i, prx::kMenuEntryLength);
                break;
            case prx::Shape::Formats:
                break;
            }
        }
    }
    std::sort(spans.begin(), spans.end(),
              [](const ValueSpan& a, const ValueSpan& b) { return a.offset < b.offset; });
    return spans;
}

QList<ValueSpan> spansIn(const QList<ValueSpan>& spans, FileRange range) {
    QList<ValueSpan> in;
    for (const ValueSpan& s : spans)
        if (s.offset < range.end && range.begin < s.offset + s.length)
            in.append(s);
    return in;
}

QStringList valuesIn(const QList<ValueSpan>& spans, FileRange range) {
    QStringList names;
    for (const ValueSpan& s : spansIn(spans, range))
        names.append(s.name);
    return names;
}

Result<RunsWritten> writeRuns(QByteArrayView stock, QByteArrayView edited, const QList<ValueSpan>& spans,
                              QByteArray& out) {
    if (stock.size() != edited.size())
        return Error::notModule(QStringLiteral("The stock and the edited module differ in length"),
                                QStringLiteral("%1 and %2 bytes").arg(stock.size()).arg(edited.size()));
    auto layout = layoutOf(stock);
    if (!layout)
        return layout.error();
    RunsWritten written;
    const qint64 start = out.size();
    RunWriter writer(out);
    SpanWalk walk(spans);
    QStringList refused;
    QList<FileRange> unnamed;
    FileRange inside{0, 0}; // the writable range of the run before
    forEachDifference(stock, edited, [&](const FileRange& r) {
        if (r.begin < inside.begin || r.end > inside.end)
            inside = layout->writableAround(r);
        if (inside.begin == inside.end) {
            const QString n = valuesIn(spans, r).join(QStringLiteral(", "));
            if (n.isEmpty())
                unnamed.append(r);
            else if (!refused.contains(n))
                refused.append(n);
            return;
        }
        if (!refused.isEmpty() || !unnamed.isEmpty())
            return; // refused: only the ranges left to name count
        writer.add(static_cast<quint32>(r.begin - layout->firstSegment), edited, r.begin, r.end - r.begin);
        ++written.runs;
        written.changedBytes += r.end - r.begin;
        if (!spans.isEmpty())
            walk.visit(r, written);
    });
    writer.finish();
    if (refused.isEmpty() && unnamed.isEmpty())
        return written;
    out.truncate(start);
    QStringList where;
    for (const FileRange& w : layout->writable)
        where.append(QStringLiteral("%1 to %2").arg(hex(w.begin), hex(w.end - 1)));
    const QString detail =
        QStringLiteral("the loader writes at the load address + the file offset less %1; that puts bytes "
                       "where they belong only in %2")
            .arg(hex(layout->firstSegment),
                 where.isEmpty() ? QStringLiteral("no segment") : where.join(u", "));
    if (!refused.isEmpty())
        return Error::notModule(refused.join(QStringLiteral(", ")) +
                                    (refused.size() == 1 ? QStringLiteral(" lies") : QStringLiteral(" lie")) +
                                    QStringLiteral(" where the theme loader can't write it"),
                                detail);
    return Error::notModule(
        QStringLiteral("The changed bytes at %1 lie where the theme loader can't write them")
            .arg(rangeText(unnamed.first())),
        detail);
}

FileRange fileRangeOf(const Run& run, quint32 firstSegment) {
    const qint64 begin = qint64(firstSegment) + run.offset;
    return {begin, begin + run.bytes.size()};
}

Result<QByteArray> applyRuns(QByteArrayView module, const QList<Run>& runs) {
    const auto first = u32At(module, kOffFirstSegment);
    if (!first)
        return Error::notModule(QStringLiteral("The module is too short for a theme"),
                                QStringLiteral("%1 bytes, no first segment at 0x38").arg(module.size()));
    QByteArray out = module.toByteArray();
    for (const Run& run : runs) {
        const FileRange r = fileRangeOf(run, *first);
        if (r.end > out.size())
            return Error::notModule(
                QStringLiteral("A run falls outside the module"),
                QStringLiteral("the run at offset %1 (%2 bytes) ends at file offset %3, past "
                               "the module's %4 bytes")
                    .arg(hex(run.offset))
                    .arg(run.bytes.size())
                    .arg(hex(r.end))
                    .arg(out.size()));
        out.replace(r.begin, run.bytes.size(), run.bytes);
    }
    return out;
}

QList<RunOnValues> runsOnValues(QByteArrayView module, const QList<Run>& runs, prx::ReleaseId release) {
    const quint32 first = u32At(module, kOffFirstSegment).value_or(0);
    const QList<ValueSpan> spans = valueSpans(release);
    QList<RunOnValues> out;
    for (const Run& run : runs) {
        const FileRange r = fileRangeOf(run, first);
        out.append({run, r, spansIn(spans, r)});
    }
    return out;
}

} // namespace qm::theme
