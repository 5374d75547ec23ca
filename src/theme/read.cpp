#include "read.h"

#include <QCryptographicHash>
#include <QtEndian>

#include <optional>

namespace qm::theme {
namespace {

using compression::PackedCheck;

QString missing(const char* field, qint64 at) {
    return QStringLiteral("the file ends before %1 (%2)").arg(QLatin1StringView(field), hex(at));
}

QString notChecked(const char* because) {
    return QStringLiteral("not checked: ") + QLatin1StringView(because);
}

// A zero-ended text of a field, and whether its zero lies inside the field.
std::pair<QByteArrayView, bool> fieldText(QByteArrayView field) {
    const qsizetype end = field.indexOf('\0');
    return end < 0 ? std::pair{field, false} : std::pair{field.first(end), true};
}

class Reader {
public:
    explicit Reader(QByteArrayView file) : m_file(file) {}

    ThemeReading read() {
        signature();
        magic();
        ptfPart();
        count();
        index();
        entries();
        names();
        sha1();
        runs();
        return std::move(m_out);
    }

private:
    void add(const char* name, bool ok, const QString& detail) {
        m_out.checks.append({QLatin1StringView(name), ok, detail, false});
    }
    Theme& theme() { return m_out.theme; }

    void signature() {
        const QByteArrayView head = m_file.first(std::min<qsizetype>(m_file.size(), 4));
        add("ptf_signature", head == kPtfSignature,
            head == kPtfSignature ? QStringLiteral("00 50 54 46 (\"\\0PTF\") at 0")
                                  : QStringLiteral("the file starts with %1, not 00 50 54 46 (\"\\0PTF\")")
                                        .arg(QString::fromLatin1(head.toByteArray().toHex(' ').toUpper())));
        if (const auto v = u32At(m_file, kOffVersion))
            theme().formatVersion = *v;
        // The magic and the fields after it are written over the title from
        // 0x10 on: a theme keeps the title's first 8 bytes.
        if (m_file.size() > kOffTitle)
            theme().title = QString::fromUtf8(
                fieldText(m_file.sliced(kOffTitle, std::min<qint64>(kOffMagic, m_file.size()) - kOffTitle))
                    .first);
    }

    void magic() {
        const auto m = u32At(m_file, kOffMagic);
        if (!m)
            return add("magic", false, missing("the magic", kOffMagic));
        theme().magic = *m;
        const auto firmware = firmwareOfMagic(*m);
        theme().firmware = firmware.value_or(QString());
        add("magic", firmware.has_value(),
            firmware ? QStringLiteral("%1: firmware %2").arg(hex(*m), *firmware)
                     : QStringLiteral("%1 is no magic a theme loader takes (0xDEAD0371 for 3.71, ...)")
                           .arg(hex(*m)));
    }

    void ptfPart() {
        const auto p = u32At(m_file, kOffPtfLength);
        if (!p)
            return add("ptf_part", false, missing("the PTF part's length", kOffPtfLength));
        theme().ptfLength = *p;
        m_ptfOk = *p >= kPtfHeaderLength && *p <= m_file.size();
        add("ptf_part", m_ptfOk,
            m_ptfOk
                ? QStringLiteral("%1 bytes").arg(*p)
                : QStringLiteral("the PTF part is %1 bytes; it must hold the %2-byte header and end inside "
                                 "the file's %3 bytes")
                      .arg(*p)
                      .arg(kPtfHeaderLength)
                      .arg(m_file.size()));
    }

    void count() {
        const auto c = u32At(m_file, kOffCount);
        if (!c)
            return add("count", false, missing("the entry count", kOffCount));
        m_count = *c;
        m_countOk = *c >= 1 && *c <= kMaxEntries;
        add("count", m_countOk,
            m_countOk ? QStringLiteral("%1 entries").arg(*c)
                      : QStringLiteral("%1 entries; the plugin takes 1 to %2").arg(*c).arg(kMaxEntries));
    }

    void index() {
        if (!m_countOk || !m_ptfOk)
            return add("index", false,
                       notChecked(m_countOk ? "the PTF part is wrong" : "the count is wrong"));
        const qint64 length = qint64(m_count) * kRecordLength;
        m_indexStart = m_file.size() - length;
        m_indexOk = m_indexStart >= theme().ptfLength;
        add("index", m_indexOk,
            m_indexOk
                ? QStringLiteral("%1 records at %2").arg(m_count).arg(hex(m_indexStart))
                : QStringLiteral("%1 records of %2 bytes don't fit between the PTF part (%3 bytes) and the "
                                 "end of the file (%4 bytes)")
                      .arg(m_count)
                      .arg(kRecordLength)
                      .arg(theme().ptfLength)
                      .arg(m_file.size()));
        if (!m_indexOk)
            return;
        for (quint32 i = 0; i < m_count; ++i) {
            const qint64 at = m_indexStart + qint64(i) * kRecordLength;
            ThemeEntry e;
            e.name = QString::fromUtf8(fieldText(m_file.sliced(at, kNameLength)).first);
            e.start = *u32At(m_file, at + kNameLength);
            e.size = *u32At(m_file, at + kNameLength + 4);
            e.runForm = slotOfName(e.name).has_value();
            theme().entries.append(e);
        }
    }

    void entries() {
        if (!m_indexOk)
            return add("entries", false, notChecked("the index is not inside the file"));
        QStringList wrong;
        const qint64 from = theme().ptfLength;
        for (ThemeEntry& e : theme().entries) {
            const bool startOk = e.start >= from && e.start < m_indexStart;
            if (e.runForm) {
                if (!startOk)
                    wrong.append(QStringLiteral("%1 starts at %2, outside %3 to %4")
                                     .arg(e.name, hex(e.start), hex(from), hex(m_indexStart)));
                continue;
            }
            const qint64 end = qint64(e.start) + e.size;
            if (!startOk || end > m_indexStart)
                wrong.append(QStringLiteral("%1 lies at %2 to %3, outside %4 to %5")
                                 .arg(e.name, hex(e.start), hex(end), hex(from), hex(m_indexStart)));
            else if (e.size >= kMaxEntrySize)
                wrong.append(QStringLiteral("%1 is %2 bytes; the plugin drops an entry of 2 MiB or more")
                                 .arg(e.name, QString::number(e.size)));
            if (startOk)
                e.data =
                    m_file.sliced(e.start, std::min<qint64>(e.size, m_indexStart - e.start)).toByteArray();
        }
        m_entriesOk = wrong.isEmpty();
        add("entries", m_entriesOk,
            m_entriesOk ? QStringLiteral("every entry lies between the PTF part and the index")
                        : wrong.join(QStringLiteral("; ")));
    }

    void names() {
        if (!m_indexOk)
            return add("names", false, notChecked("the index is not inside the file"));
        QStringList wrong;
        for (quint32 i = 0; i < m_count; ++i) {
            const auto [text, ended] =
                fieldText(m_file.sliced(m_indexStart + qint64(i) * kRecordLength, kNameLength));
            const QString problem = ended ? nameProblem(text)
                                          : QStringLiteral("entry %1's name has no zero inside its %2 bytes")
                                                .arg(i + 1)
                                                .arg(kNameLength);
            if (!problem.isEmpty())
                wrong.append(problem);
        }
        add("names", wrong.isEmpty(),
            wrong.isEmpty()
                ? QStringLiteral("every name is zero-ended, in the plugin's folders and extensions")
                : wrong.join(QStringLiteral("; ")));
    }

    void sha1() {
        if (!m_indexOk)
            return add("sha1", false, notChecked("the index is not inside the file"));
        const QByteArray digest =
            QCryptographicHash::hash(m_file.sliced(m_indexStart), QCryptographicHash::Sha1).first(4);
        const QByteArrayView stored = m_file.sliced(kOffHash, 4);
        add("sha1", stored == digest,
            stored == digest
                ? QStringLiteral("%1, the index's").arg(QString::fromLatin1(digest.toHex(' ').toUpper()))
                : QStringLiteral("0x14 holds %1, the SHA-1 of the index starts %2")
                      .arg(QString::fromLatin1(stored.toByteArray().toHex(' ').toUpper()),
                           QString::fromLatin1(digest.toHex(' ').toUpper())));
    }

    void runs() {
        if (!m_entriesOk)
            return add("runs", false, notChecked("an entry lies outside its place"));
        QStringList wrong;
        qint64 total = 0;
        for (ThemeEntry& e : theme().entries) {
            if (!e.runForm)
                continue;
            // An entry of runs ends where the next entry's data or the index starts.
            qint64 end = m_indexStart;
            for (const ThemeEntry& other : std::as_const(theme().entries))
                if (other.start > e.start)
                    end = std::min<qint64>(end, other.start);
            RunList list = readRuns(m_file.sliced(e.start, end - e.start), e.size);
            e.runs = list.runs;
            total += e.runs.size();
            if (!list.complete)
                wrong.append(QStringLiteral("%1: %2").arg(e.name, list.problem));
            const qint64 length = knownModuleLength(theme().firmware, *slotOfName(e.name));
            for (const Run& r : std::as_const(e.runs))
                if (length > 0 && qint64(r.offset) + r.bytes.size() > length) {
                    wrong.append(QStringLiteral("%1: the run at offset %2 ends at %3, past the %4 bytes of "
                                                "the module of firmware %5")
                                     .arg(e.name, hex(r.offset), hex(qint64(r.offset) + r.bytes.size()),
                                          QString::number(length), theme().firmware));
                    break;
                }
        }
        add("runs", wrong.isEmpty(),
            wrong.isEmpty() ? QStringLiteral("%1 runs, each inside its entry and its module").arg(total)
                            : wrong.join(QStringLiteral("; ")));
    }

    QByteArrayView m_file;
    ThemeReading m_out;
    bool m_ptfOk = false;
    bool m_countOk = false;
    bool m_indexOk = false;
    bool m_entriesOk = false;
    quint32 m_count = 0;
    qint64 m_indexStart = 0;
};

} // namespace

const ThemeEntry* Theme::entryFor(Slot slot) const {
    for (const ThemeEntry& e : entries)
        if (e.runForm && slotOfName(e.name) == slot)
            return &e;
    return nullptr;
}

ThemeReading readTheme(QByteArrayView file) {
    return Reader(file).read();
}

Result<Theme> loadTheme(QByteArrayView file) {
    ThemeReading reading = readTheme(file);
    // The checks' refusal is told by its words, which it carries whole.
    if (const Status s = compression::requireChecks(reading.checks); !s)
        return Error::notModule(QStringLiteral("The file is no theme the plugin loads"),
                                s.error().description + QStringLiteral(": ") + s.error().detail);
    return std::move(reading.theme);
}

RunList readRuns(QByteArrayView data, quint32 count) {
    RunList list;
    qint64 at = 0;
    for (quint32 i = 0; i < count; ++i) {
        if (at + kRunHeaderLength > data.size()) {
            list.problem =
                QStringLiteral("run %1 of %2: its header runs past the entry").arg(i + 1).arg(count);
            return list;
        }
        const quint32 offset = qFromLittleEndian<quint32>(data.data() + at);
        const quint32 length = qFromLittleEndian<quint32>(data.data() + at + 4);
        at += kRunHeaderLength;
        if (qint64(length) > data.size() - at) {
            list.problem = QStringLiteral("run %1 of %2: its %3 bytes run past the entry")
                               .arg(i + 1)
                               .arg(count)
                               .arg(length);
            return list;
        }
        list.runs.append({offset, data.sliced(at, length).toByteArray()});
        at += length;
    }
    list.complete = true;
    return list;
}

qint64 knownModuleLength(QStringView firmware, Slot slot) {
    const auto kind = kindOfSlot(slot);
    const auto row = kind ? releaseOfFirmware(*kind, firmware) : std::nullopt;
    return row ? prx::release(*kind, *row).fileSize : 0;
}

} // namespace qm::theme
