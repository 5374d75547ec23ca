#include "format.h"

#include <QtEndian>

namespace qm::theme {
namespace {

constexpr const char* kFolders[] = {"/data/cert",   "/dic",     "/font",       "/kd",
                                    "/kd/resource", "/vsh/etc", "/vsh/module", "/vsh/resource"};
constexpr const char* kExtensions[] = {".prx", ".rco", ".bmp", ".pmf", ".res", ".pgf", ".bwfon",
                                       ".rsc", ".dat", ".img", ".bin", ".cet", ".dic"};
constexpr quint32 kMagicBase = 0xDEAD0000;

template <std::size_t N> QString joined(const char* const (&texts)[N]) {
    QStringList out;
    for (const char* t : texts)
        out.append(QLatin1StringView(t));
    return out.join(u' ');
}

struct Pairing {
    const char* firmware;
    int vsh; // release rows
    int paf;
};
constexpr Pairing kPairings[] = {{"3.71", 12, 11}, {"3.80", 14, 12}};

QString shortLabel(prx::ReleaseId release) {
    const QString label = release.label();
    return label.mid(label.lastIndexOf(u' ') + 1);
}

} // namespace

QString slotName(Slot slot) {
    switch (slot) {
    case Slot::Vsh:
        return QStringLiteral("vshmain.prx");
    case Slot::Paf:
        return QStringLiteral("paf.prx");
    case Slot::CommonGui:
        break;
    }
    return QStringLiteral("common_gui.prx");
}

QString flashPath(Slot slot) {
    return QStringLiteral("/vsh/module/") + slotName(slot);
}

std::optional<Slot> slotOfName(QStringView path) {
    const QStringView file = path.sliced(path.lastIndexOf(u'/') + 1);
    for (Slot slot : kSlots)
        if (file.compare(slotName(slot), Qt::CaseInsensitive) == 0)
            return slot;
    return std::nullopt;
}

const QList<Firmware>& firmwares() {
    static const QList<Firmware> list = [] {
        QList<Firmware> l;
        const auto add = [&l](const char* name, quint32 digits) {
            l.append({QString::fromLatin1(name), kMagicBase | digits});
        };
        add("3.71", 0x0371);
        add("3.80", 0x0380);
        add("3.90", 0x0390);
        add("4.01", 0x0401);
        add("5.00", 0x0500);
        add("5.02", 0x0502);
        add("5.03", 0x0502);
        add("5.50", 0x0550);
        add("6.20", 0x0620);
        add("6.31", 0x0631);
        add("6.35", 0x0635);
        add("6.37", 0x0637);
        add("6.38", 0x0638);
        add("6.39", 0x0639);
        add("6.60", 0x0660);
        add("6.61", 0x0661);
        return l;
    }();
    return list;
}

std::optional<Firmware> firmwareNamed(QStringView name) {
    for (const Firmware& f : firmwares())
        if (f.name == name)
            return f;
    return std::nullopt;
}

QString firmwareList() {
    QStringList names;
    for (const Firmware& f : firmwares())
        names.append(f.name);
    return names.join(QStringLiteral(", "));
}

std::optional<QString> firmwareOfMagic(quint32 magic) {
    const quint32 digits = magic & 0xFFFF;
    bool known = (magic & 0xFFFF0000) == kMagicBase && (digits == 0x0503 || digits == 0x0636);
    for (const Firmware& f : firmwares())
        known = known || f.magic == magic;
    if (!known)
        return std::nullopt;
    return QStringLiteral("%1.%2%3").arg(digits >> 8 & 0xF).arg(digits >> 4 & 0xF).arg(digits & 0xF);
}

std::optional<QString> firmwareOfRelease(prx::ReleaseId release) {
    for (const Pairing& p : kPairings)
        if ((release.kind == prx::ModuleKind::Vsh ? p.vsh : p.paf) == release.row)
            return QString::fromLatin1(p.firmware);
    return std::nullopt;
}

std::optional<int> releaseOfFirmware(prx::ModuleKind kind, QStringView firmware) {
    for (const Pairing& p : kPairings)
        if (firmware == QLatin1StringView(p.firmware))
            return kind == prx::ModuleKind::Vsh ? p.vsh : p.paf;
    return std::nullopt;
}

QString pairedReleasesText() {
    QStringList parts;
    for (const Pairing& p : kPairings)
        parts.append(QStringLiteral("%1 (VSH %2 with PAF %3)")
                         .arg(QLatin1StringView(p.firmware), shortLabel({prx::ModuleKind::Vsh, p.vsh}),
                              shortLabel({prx::ModuleKind::Paf, p.paf})));
    return parts.join(QStringLiteral(" and "));
}

std::optional<prx::ModuleKind> kindOfSlot(Slot slot) {
    if (slot == Slot::Vsh)
        return prx::ModuleKind::Vsh;
    if (slot == Slot::Paf)
        return prx::ModuleKind::Paf;
    return std::nullopt;
}

QString nameProblem(QByteArrayView name) {
    if (name.size() >= kNameLength)
        return QStringLiteral("%1 bytes long; the index holds names of at most %2")
            .arg(name.size())
            .arg(kNameLength - 1);
    const QString text = QString::fromUtf8(name);
    const qsizetype slash = text.lastIndexOf(u'/');
    const QStringView folder = QStringView(text).first(std::max<qsizetype>(slash, 0));
    const QStringView file = QStringView(text).sliced(slash + 1);
    bool folderOk = false, extensionOk = false;
    for (const char* f : kFolders)
        folderOk = folderOk || folder.compare(QLatin1StringView(f), Qt::CaseInsensitive) == 0;
    for (const char* e : kExtensions)
        extensionOk = extensionOk || (file.size() > qsizetype(qstrlen(e)) &&
                                      file.endsWith(QLatin1StringView(e), Qt::CaseInsensitive));
    if (!folderOk)
        return QStringLiteral("\"%1\" is in none of the plugin's folders (%2)").arg(text, joined(kFolders));
    if (!extensionOk)
        return QStringLiteral("\"%1\" has none of the plugin's extensions (%2)")
            .arg(text, joined(kExtensions));
    return {};
}

std::optional<quint32> u32At(QByteArrayView bytes, qint64 at) {
    if (at < 0 || at + 4 > bytes.size())
        return std::nullopt;
    return qFromLittleEndian<quint32>(bytes.data() + at);
}

QString hex(qint64 value) {
    return QStringLiteral("0x") + QString::number(value, 16).toUpper();
}

bool looksLikeTheme(QByteArrayView head) {
    return head.size() >= kOffMagic + 4 && head.first(4) == kPtfSignature &&
           firmwareOfMagic(qFromLittleEndian<quint32>(head.data() + kOffMagic)).has_value();
}

} // namespace qm::theme
