#include "runs.h"

#include "format.h"
#include "prx/elf.h"
#include "prx/menu.h"
#include "text/elftext.h"

#include <QtEndian>

#include <algorithm>
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

} // namespace

bool ModuleLayout::canWrite(FileRange range) const {
    return std::any_of(writable.begin(), writable.end(),
                       [&](const FileRange& w) { return w.begin <= range.begin && range.end <= w.end; });
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

QList<FileRange> differingRanges(QByteArrayView stock, QByteArrayView edited) {
    QList<FileRange> ranges;
    const qint64 n = std::min(stock.size(), edited.size());
    const char* a = stock.data();
    const char* b = edited.data();
    qint64 i = 0;
    while (i < n) {
        quint64 x = 0, y = 0; // equal words are passed over whole
        if (i + 8 <= n && (std::memcpy(&x, a + i, 8), std::memcpy(&y, b + i, 8), x == y)) {
            i += 8;
            continue;
        }
        if (a[i] == b[i]) {
            ++i;
            continue;
        }
        const qint64 begin = i;
        while (i < n && a[i] != b[i])
            ++i;
        ranges.append({begin, i}); // also when the difference reaches the last byte
    }
    return ranges;
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

qint64 bytesOutside(const QList<ValueSpan>& spans, FileRange range) {
    qint64 outside = 0;
    qint64 at = range.begin;
    for (const ValueSpan& s : spans) { // by offset
        if (s.offset + s.length <= at)
            continue;
        if (s.offset >= range.end)
            break;
        outside += std::max<qint64>(0, s.offset - at);
        at = std::max(at, s.offset + s.length);
        if (at >= range.end)
            return outside;
    }
    return outside + std::max<qint64>(0, range.end - at);
}

Result<QList<Run>> makeRuns(QByteArrayView stock, QByteArrayView edited, const RangeNamer& name) {
    if (stock.size() != edited.size())
        return Error::notModule(QStringLiteral("The stock and the edited module differ in length"),
                                QStringLiteral("%1 and %2 bytes").arg(stock.size()).arg(edited.size()));
    auto layout = layoutOf(stock);
    if (!layout)
        return layout.error();
    QList<Run> runs;
    QStringList refused;
    QList<FileRange> unnamed;
    for (const FileRange& r : differingRanges(stock, edited)) {
        if (!layout->canWrite(r)) {
            const QString n = name ? name(r) : QString();
            if (n.isEmpty())
                unnamed.append(r);
            else if (!refused.contains(n))
                refused.append(n);
            continue;
        }
        runs.append({static_cast<quint32>(r.begin - layout->firstSegment),
                     edited.sliced(r.begin, r.end - r.begin).toByteArray()});
    }
    if (refused.isEmpty() && unnamed.isEmpty())
        return runs;
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
