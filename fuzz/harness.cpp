#include "harness.h"
#include "text/errortext.h"

#include <QtEndian>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qm::fuzz {
namespace {

// Past the last value offset: a text's 255 bytes, 24 menu entries of 16 bytes.
constexpr qint64 kLongestValue = 512;

// Writes `length` bytes of `fill` repeated, starting at its byte `phase`.
void repeat(char* out, qint64 length, QByteArrayView fill, qint64 phase) {
    const qint64 n = fill.size();
    const qint64 first = std::min(length, n);
    const qint64 head = std::min(first, n - phase);
    std::memcpy(out, fill.data() + phase, static_cast<std::size_t>(head));
    std::memcpy(out + head, fill.data(), static_cast<std::size_t>(first - head));
    // Whole periods double until the end.
    for (qint64 done = first; done < length; done += std::min(done, length - done))
        std::memcpy(out + done, out, static_cast<std::size_t>(std::min(done, length - done)));
}

} // namespace

void require(bool holds, const char* what, const QString& detail) {
    if (holds)
        return;
    std::fprintf(stderr, "\n== fuzz check failed: %s\n%s\n", what, qPrintable(detail));
    std::fflush(stderr);
    std::abort();
}

const QLocale& locale(int which) {
    static const QLocale english(QLocale::English, QLocale::UnitedStates);
    static const QLocale french(QLocale::French, QLocale::France);
    return which == 1 ? french : english;
}

quint8 Input::byte() {
    if (m_pos >= m_bytes.size()) {
        ++m_pos;
        return 0;
    }
    return static_cast<quint8>(m_bytes.at(m_pos++));
}

quint32 Input::u32() {
    quint32 v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<quint32>(byte()) << (8 * i);
    return v;
}

ModuleInput readModuleInput(const std::uint8_t* data, std::size_t size, prx::ModuleKind kind) {
    Input in(data, size);
    ModuleInput m;
    m.version = 1 + in.byte() % prx::rowCount(kind);
    const quint8 flags = in.byte();
    m.localeIndex = flags & 1;
    const int count = (flags >> 1) & 3;
    for (int i = 0; i < kEditSlots; ++i) {
        Edit e;
        e.kind = in.byte();
        e.selector = in.byte();
        e.value = in.u32();
        if (i < count)
            m.edits.append(e);
    }
    m.fill = in.rest();
    return m;
}

QByteArray moduleInput(int version, int localeIndex, const QList<Edit>& edits, QByteArrayView fill) {
    QByteArray out(kModuleHeaderLength, '\0');
    out[0] = static_cast<char>(version - 1);
    out[1] = static_cast<char>((localeIndex & 1) | (std::min<int>(edits.size(), kEditSlots) << 1));
    for (int i = 0; i < std::min<int>(edits.size(), kEditSlots); ++i) {
        const Edit& e = edits.at(i);
        char* at = out.data() + 2 + 6 * i;
        at[0] = static_cast<char>(e.kind);
        at[1] = static_cast<char>(e.selector);
        qToLittleEndian<quint32>(e.value, at + 2);
    }
    return out + fill.toByteArray();
}

Window valueWindow(prx::ModuleKind kind, int version) {
    const int members = kind == prx::ModuleKind::Vsh ? prx::kVshMemberCount : prx::kPafMemberCount;
    const qint64 size = prx::release(kind, version).fileSize;
    qint64 lowest = size;
    qint64 highest = 0;
    for (int m = 0; m < members; ++m) {
        const qint64 at = prx::offsetOf(kind, version, m);
        if (at == 0)
            continue;
        lowest = std::min(lowest, at);
        highest = std::max(highest, at);
    }
    return {lowest, std::min(size, highest + kLongestValue)};
}

prx::ModuleImage releaseImage(prx::ModuleKind kind, int version, QByteArrayView fill) {
    // One buffer per release, filled anew for each input: a fresh allocation
    // of a module's size costs more than everything a PAF load does.
    static std::array<QByteArray, 1 + std::max(prx::kVshRows, prx::kPafRows)> vsh, paf;
    QByteArray& bytes = (kind == prx::ModuleKind::Vsh ? vsh : paf)[static_cast<std::size_t>(version)];
    const qint64 size = prx::release(kind, version).fileSize;
    if (bytes.size() != size)
        bytes = QByteArray(size, '\0');
    if (fill.isEmpty()) {
        bytes.fill('\0');
    } else {
        const qint64 begin = valueWindow(kind, version).begin;
        repeat(bytes.data() + begin, size - begin, fill, 0);
        repeat(bytes.data(), begin, fill, (size - begin) % fill.size());
    }
    return prx::ModuleImage(bytes);
}

bool ByteRanges::contains(qint64 offset) const {
    return std::any_of(m_ranges.begin(), m_ranges.end(),
                       [&](const auto& r) { return offset >= r.first && offset < r.second; });
}

QList<std::pair<qint64, qint64>> ByteRanges::gaps(qint64 size) const {
    QList<std::pair<qint64, qint64>> sorted = m_ranges;
    std::sort(sorted.begin(), sorted.end());
    QList<std::pair<qint64, qint64>> out;
    qint64 from = 0;
    for (const auto& [begin, end] : std::as_const(sorted)) {
        if (begin > from)
            out.append({from, std::min(begin, size)});
        from = std::max(from, end);
    }
    if (from < size)
        out.append({from, size});
    return out;
}

void requireChangesWithin(const QByteArray& before, const QByteArray& after, const ByteRanges& allowed,
                          const char* what) {
    require(before.size() == after.size(), what,
            QStringLiteral("the length changed from %1 to %2").arg(before.size()).arg(after.size()));
    // Module images are large: compare what lies between the allowed ranges
    // as whole blocks, and look at single bytes only in a block that differs.
    for (const auto& [begin, end] : allowed.gaps(before.size())) {
        const auto length = static_cast<std::size_t>(end - begin);
        if (std::memcmp(before.constData() + begin, after.constData() + begin, length) == 0)
            continue;
        for (qint64 i = begin; i < end; ++i)
            require(before.at(i) == after.at(i), what,
                    QStringLiteral("byte 0x%1 changed from %2 to %3")
                        .arg(i, 0, 16)
                        .arg(static_cast<quint8>(before.at(i)))
                        .arg(static_cast<quint8>(after.at(i))));
    }
}

void requireValueError(const Error& error, const char* what) {
    require(error.kind == ErrorKind::Check || error.kind == ErrorKind::Conversion, what,
            text::fullText(error));
}

} // namespace qm::fuzz
