#include "make.h"

#include "compression/inflate.h"
#include "prx/elf.h"
#include "text/elftext.h"

#include <QCryptographicHash>
#include <QtEndian>

namespace qm::theme {
namespace {

void put32(QByteArray& bytes, qint64 at, quint32 value) {
    qToLittleEndian<quint32>(value, bytes.data() + at);
}

Error refusal(const QString& description, const QString& detail = {}) {
    return Error::notModule(description, detail);
}

// An error of a module's bytes, saying which module.
Error about(const QString& name, const Error& error) {
    return error.named(name);
}

struct Prepared {
    const ModulePair* pair;
    QByteArray stock;
    QByteArray edited;
    std::optional<prx::ReleaseId> release;
};

Result<Prepared> prepare(const ModulePair& pair) {
    Prepared p{&pair, {}, {}, std::nullopt};
    auto stock = compression::plainBytes(pair.stock);
    if (!stock)
        return about(pair.stockName, stock.error());
    auto edited = compression::plainBytes(pair.edited);
    if (!edited)
        return about(pair.editedName, edited.error());
    for (const auto& [name, bytes] :
         {std::pair{pair.stockName, *stock}, std::pair{pair.editedName, *edited}}) {
        const prx::ElfPrx elf = prx::inspectElfPrx(bytes);
        if (!elf.prx)
            return refusal(QStringLiteral("%1 is no ELF PRX").arg(name), text::elfDetail(elf));
    }
    p.release = releaseOf(pair.slot, stock->size());
    if (!p.release)
        for (const auto& [name, size] :
             {std::pair{pair.editedName, edited->size()}, std::pair{pair.stockName, stock->size()}})
            if (const Status s = checkSlot(pair.slot, size, name); !s)
                return s.error();
    if (stock->size() != edited->size()) {
        const auto other = releaseOf(pair.slot, edited->size());
        const auto what = [](qint64 size, std::optional<prx::ReleaseId> release) {
            return release ? QStringLiteral("%1 bytes, %2").arg(size).arg(release->label())
                           : QStringLiteral("%1 bytes").arg(size);
        };
        return refusal(
            QStringLiteral("%1 and %2 are not one module stock and edited")
                .arg(pair.stockName, pair.editedName),
            QStringLiteral("%1 against %2").arg(what(stock->size(), p.release), what(edited->size(), other)));
    }
    p.stock = std::move(*stock);
    p.edited = std::move(*edited);
    return p;
}

// The firmware the theme is for: the one asked for, which every module of a
// known release must pair with, or the one their releases pair with.
Result<Firmware> chooseFirmware(const QString& asked, const QList<Prepared>& modules) {
    const QString themes = QStringLiteral("themes exist for %1").arg(pairedReleasesText());
    QList<std::pair<QString, QString>> paired; // module, firmware
    for (const Prepared& m : modules) {
        if (!m.release)
            continue;
        const prx::ReleaseId release = *m.release;
        const auto firmware = firmwareOfRelease(release);
        if (!firmware)
            return refusal(QStringLiteral("%1 is %2, a release the theme plugin loads no themes on")
                               .arg(m.pair->editedName, release.label()),
                           themes);
        if (!asked.isEmpty() && *firmware != asked)
            return refusal(QStringLiteral("%1 is %2, a module of firmware %3, not %4")
                               .arg(m.pair->editedName, release.label(), *firmware, asked),
                           themes);
        for (const auto& [name, f] : std::as_const(paired))
            if (f != *firmware)
                return refusal(
                    QStringLiteral("%1 is of firmware %2 and %3 of %4: a theme is for one firmware")
                        .arg(name, f, m.pair->editedName, *firmware),
                    themes);
        paired.append({m.pair->editedName, *firmware});
    }
    const QString name = !asked.isEmpty() ? asked : !paired.isEmpty() ? paired.first().second : QString();
    if (name.isEmpty())
        return refusal(
            QStringLiteral("No firmware to make the theme for"),
            QStringLiteral("no module is of a release Quillmark knows; name one of %1").arg(firmwareList()));
    const auto firmware = firmwareNamed(name);
    if (!firmware)
        return refusal(QStringLiteral("The theme plugin knows no firmware %1").arg(name),
                       QStringLiteral("it knows %1").arg(firmwareList()));
    return *firmware;
}

// The module's runs, appended to the theme's bytes.
Result<ModuleSummary> summarise(const Prepared& m, QByteArray& out) {
    const QList<ValueSpan> spans = m.release ? valueSpans(*m.release) : QList<ValueSpan>();
    auto written = writeRuns(m.stock, m.edited, spans, out);
    if (!written)
        return about(m.pair->editedName, written.error());
    if (written->runs == 0)
        return refusal(QStringLiteral("%1 and %2 are the same").arg(m.pair->stockName, m.pair->editedName),
                       QStringLiteral("no difference to put in the theme"));
    return ModuleSummary{m.pair->slot,
                         m.release,
                         written->runs,
                         written->changedBytes,
                         std::move(written->values),
                         written->bytesOutsideValues};
}

Status checkFiles(const QList<WholeFile>& files, const QList<ModulePair>& modules) {
    QStringList names;
    for (const ModulePair& m : modules)
        names.append(flashPath(m.slot).toLower());
    for (const WholeFile& f : files) {
        const QString problem = nameProblem(f.flashPath.toUtf8());
        if (!problem.isEmpty())
            return refusal(QStringLiteral("The theme plugin can't take %1").arg(f.flashPath), problem);
        if (const auto slot = slotOfName(f.flashPath))
            return refusal(QStringLiteral("The theme plugin can't take %1 as a whole file").arg(f.flashPath),
                           QStringLiteral("it reads an entry of %1 as runs; give the module as a stock and "
                                          "edited pair")
                               .arg(slotName(*slot)));
        if (f.bytes.size() >= kMaxEntrySize)
            return refusal(
                QStringLiteral("%1 is too large for the theme plugin").arg(f.flashPath),
                QStringLiteral("%1 bytes; it drops an entry of 2 MiB or more").arg(f.bytes.size()));
        if (names.contains(f.flashPath.toLower()))
            return refusal(QStringLiteral("%1 is in the theme twice").arg(f.flashPath));
        names.append(f.flashPath.toLower());
    }
    if (names.isEmpty())
        return refusal(QStringLiteral("Nothing to put in the theme"),
                       QStringLiteral("give a module or a file"));
    if (names.size() > kMaxEntries)
        return refusal(QStringLiteral("Too many entries for the theme plugin"),
                       QStringLiteral("%1 entries; it takes at most %2").arg(names.size()).arg(kMaxEntries));
    return {};
}

QByteArray record(const QString& name, quint32 start, quint32 size) {
    QByteArray r(kRecordLength, '\0');
    const QByteArray n = name.toUtf8();
    r.replace(0, n.size(), n);
    put32(r, kNameLength, start);
    put32(r, kNameLength + 4, size);
    return r;
}

// The PTF part of the theme, its magic and length set and the converter's addresses cleared.
QByteArray head(const PtfBase& base, const Firmware& firmware) {
    QByteArray out = base.part;
    put32(out, kOffMagic, firmware.magic);
    put32(out, kOffPtfLength, static_cast<quint32>(out.size()));
    for (qint64 at : {kOffPtfEnd, kOffPtfEnd + 4, kOffPtfEnd + 8})
        put32(out, at, 0);
    return out;
}

// The whole files after the entries, then the index, its hash and count.
void finish(QByteArray& out, QByteArray index, const QList<WholeFile>& files, int entries) {
    for (const WholeFile& f : files) {
        index += record(f.flashPath, static_cast<quint32>(out.size()), static_cast<quint32>(f.bytes.size()));
        out += f.bytes;
    }
    out += index;
    out.replace(kOffHash, 4, QCryptographicHash::hash(index, QCryptographicHash::Sha1).first(4));
    put32(out, kOffCount, static_cast<quint32>(entries));
}

} // namespace

Status checkSlot(Slot slot, qint64 length, const QString& name) {
    if (releaseOf(slot, length))
        return {};
    for (const Slot other : kSlots) {
        const auto release = other == slot ? std::nullopt : releaseOf(other, length);
        if (!release)
            continue;
        Error e = refusal(
            QStringLiteral("%1 is a %2 module, not %3")
                .arg(name,
                     release->kind == prx::ModuleKind::Vsh ? QStringLiteral("VSH") : QStringLiteral("PAF"),
                     slotName(slot)),
            QStringLiteral("%1 (%2 bytes)").arg(release->label()).arg(length));
        e.other = slotName(other);
        return e;
    }
    return {};
}

std::optional<prx::ReleaseId> releaseOf(Slot slot, qint64 length) {
    const auto kind = kindOfSlot(slot);
    const auto row = kind ? prx::matchSize(*kind, length) : std::nullopt;
    if (!row)
        return std::nullopt;
    return prx::ReleaseId{*kind, *row};
}

Result<PtfBase> readPtfBase(QByteArrayView ptf) {
    if (ptf.size() < kPtfHeaderLength || ptf.first(4) != kPtfSignature)
        return refusal(QStringLiteral("The base is no PTF theme file"),
                       ptf.size() < kPtfHeaderLength
                           ? QStringLiteral("%1 bytes, fewer than the %2 of a PTF header")
                                 .arg(ptf.size())
                                 .arg(kPtfHeaderLength)
                           : QStringLiteral("it starts with %1, not 00 50 54 46 (\"\\0PTF\")")
                                 .arg(QString::fromLatin1(ptf.first(4).toByteArray().toHex(' ').toUpper())));
    const quint32 p = qFromLittleEndian<quint32>(ptf.data() + kOffPtfEnd);
    if (p != 0 && (p < kPtfHeaderLength || p > ptf.size()))
        return refusal(
            QStringLiteral("The base is no PTF theme file"),
            QStringLiteral("0x108 says its parts end at %1, outside its %2 bytes").arg(p).arg(ptf.size()));
    PtfBase base;
    base.part = ptf.first(p == 0 ? ptf.size() : p).toByteArray();
    const QByteArrayView title = ptf.sliced(kOffTitle, kTitleLength);
    base.title = QString::fromUtf8(title.first(title.indexOf('\0') < 0 ? title.size() : title.indexOf('\0')));
    return base;
}

Result<MadeTheme> makeTheme(const ThemeRequest& request) {
    auto base = readPtfBase(request.ptf);
    if (!base)
        return base.error();
    QList<Prepared> prepared;
    for (const ModulePair& pair : request.modules) {
        for (const Prepared& p : std::as_const(prepared))
            if (p.pair->slot == pair.slot)
                return refusal(QStringLiteral("%1 is in the theme twice").arg(slotName(pair.slot)));
        auto p = prepare(pair);
        if (!p)
            return p.error();
        prepared.append(std::move(*p));
    }
    if (const Status s = checkFiles(request.files, request.modules); !s)
        return s.error();
    auto firmware = chooseFirmware(request.firmware, prepared);
    if (!firmware)
        return firmware.error();
    MadeTheme made;
    made.firmware = firmware->name;
    made.title = base->title;
    made.files = request.files;
    made.bytes = head(*base, *firmware);
    QByteArray index;
    for (const Prepared& p : std::as_const(prepared)) {
        const qint64 start = made.bytes.size();
        auto summary = summarise(p, made.bytes);
        if (!summary)
            return summary.error();
        index +=
            record(flashPath(p.pair->slot), static_cast<quint32>(start), static_cast<quint32>(summary->runs));
        made.modules.append(std::move(*summary));
    }
    finish(made.bytes, index, made.files, made.entryCount());
    return made;
}

} // namespace qm::theme
