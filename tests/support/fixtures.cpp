#include "fixtures.h"

#include "compression/modulekeys.h"
#include "known_offsets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string_view>

namespace qm::test {
namespace {

using known::Layout;

void putText(QByteArray& b, qint64 at, const QByteArray& text, int slot) {
    for (int i = 0; i < slot; ++i)
        b[at + i] = i < text.size() ? text.at(i) : '\0';
}

void putUtf16(QByteArray& b, qint64 at, const QString& text) {
    for (qsizetype i = 0; i <= text.size(); ++i)
        qToLittleEndian<quint16>(i < text.size() ? text.at(i).unicode() : 0, b.data() + at + 2 * i);
}

// Plain decimal text of a value with a short binary fraction.
QString numberText(double v) {
    return QString::number(v, 'g', 12);
}

// The shortest text that reads back as the same single, as a dump prints it.
QString shortest(float v) {
    std::array<char, 64> buf{};
    const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), v);
    return QString::fromLatin1(buf.data(), static_cast<qsizetype>(r.ptr - buf.data()));
}

QString hex(prx::Rgb c) {
    return QString::asprintf("#%02X%02X%02X", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QString element(const char* name, int i) {
    return QStringLiteral("%1[%2]").arg(QLatin1StringView(name)).arg(i);
}

prx::Rgb colorFor(int i, int version, quint32 seed, int salt) {
    const quint32 r = (i * 17 + version * 3 + seed + salt) % 256;
    const quint32 g = (i * 29 + 7 + salt * 5) % 256;
    const quint32 b = (i * 53 + version + salt * 11) % 256;
    return r | (g << 8) | (b << 16);
}

void putColor(QByteArray& bytes, qint64 at, prx::Rgb c) {
    for (int k = 0; k < 3; ++k)
        putSingle(bytes, at + 4 * k, static_cast<float>(static_cast<double>((c >> (8 * k)) & 0xFF) / 255.0));
}

// The loaded colours a colour block fills, and the salt that sets it apart.
std::pair<std::span<prx::Rgb>, int> colourTarget(prx::VshValues& v, std::string_view name) {
    if (name == "TextColors")
        return {v.textColors, 0};
    if (name == "ContextColors")
        return {v.contextColors, 1};
    if (name == "TextColorsSlim")
        return {v.textColorsSlim, 2};
    return {v.contextColorsSlim, 3};
}

// Menu entry k: mostly valid codes, with one unreadable code of each kind.
struct EntryCodes {
    quint8 category, icon, mode;
    qint32 region;
};

EntryCodes entryCodes(int k, bool slim, int version) {
    EntryCodes e{};
    const int categories = slim ? 7 : 6;
    int c = k % categories;
    if (!slim && version == 8 && c >= 4)
        c += 1; // Game 5, Network 6 in release 8
    e.category = static_cast<quint8>(c);
    e.icon = static_cast<quint8>((k * 5) % (slim ? 33 : 32));
    static const quint8 slimModes[] = {3, 2, 0, 6, 7};
    static const quint8 classicModes[] = {3, 2};
    e.mode = slim ? slimModes[k % 5] : classicModes[k % 2];
    if (slim && version != 14 && e.mode == 7)
        e.mode = 3;
    e.region = (k % 3 == 1) ? 8 : -1;
    if (k == 3)
        e.mode = 5;
    if (k == 5)
        e.icon = 40;
    if (k == 7)
        e.region = 3;
    if (k == 9)
        e.category = 9;
    return e;
}

// The row the menu list shows for the codes.
prx::MenuRow expectedRow(const EntryCodes& e, bool slim, int version) {
    prx::MenuRow row;
    const auto categories = known::menuCategories(slim);
    const auto icons = known::menuIcons(slim);
    int c = e.category;
    if (!slim && version == 8 && (c == 5 || c == 6))
        c -= 1;
    row.category = e.category != 9 ? QString::fromLatin1(categories[static_cast<std::size_t>(c)])
                                   : QStringLiteral("ERROR");
    if (e.icon > 32) {
        row.icon = QStringLiteral("ERROR");
        row.order = QStringLiteral("0");
    } else {
        row.icon = e.icon < icons.size() ? QString::fromLatin1(icons[e.icon]) : QString();
        row.order = QString::number(e.icon);
    }
    switch (e.mode) {
    case 3:
    case 7:
        row.enabled = QStringLiteral("FAT ON");
        break;
    case 2:
        row.enabled = QStringLiteral("FAT OFF");
        break;
    case 0:
        row.enabled = slim ? QStringLiteral("SLIM OFF") : QStringLiteral("ERROR");
        break;
    case 6:
        row.enabled = slim ? QStringLiteral("SLIM ON") : QStringLiteral("ERROR");
        break;
    default:
        row.enabled = QStringLiteral("ERROR");
    }
    row.region = e.region == -1  ? QStringLiteral("All")
                 : e.region == 8 ? QStringLiteral("Japan")
                                 : QStringLiteral("ERROR");
    return row;
}

const char* const kEuropeFormats[] = {"%d/%m", "%H:%M", "%m.%d", "%I:%M", "%p"};
const char* const kUSJapanFormats[] = {"%m/%d", "%I:%M", "%d-%m", "%H.%M", "%H"};

// Writes one value of a VSH member at the tests' offset and states it.
class VshWriter {
public:
    VshWriter(VshFixture& f, int version, quint32 seed) : m_f(f), m_version(version), m_seed(seed) {}

    void write(const known::VshLine& m) {
        const qint64 at = m.at(m_version);
        switch (m.layout) {
        case Layout::Colours:
            return colours(m, at);
        case Layout::Single:
            return single(m, at);
        case Layout::Integer:
            return integer(m, at);
        case Layout::Text:
            return text(m, at);
        case Layout::Menu:
            return menu(m, at);
        case Layout::Formats:
            return formats(m, at);
        }
    }

private:
    void state(const QString& name, const QString& text, qint64 offset, qint64 length) {
        m_f.stated.append({name, text, offset, length});
    }

    void colours(const known::VshLine& m, qint64 at) {
        auto [loaded, salt] = colourTarget(m_f.expected, m.name);
        for (int i = 0; i < m.count; ++i) {
            const prx::Rgb c = colorFor(i, m_version, m_seed, salt);
            const qint64 record = at + 12 * static_cast<qint64>(i);
            putColor(m_f.bytes, record, c);
            loaded[static_cast<std::size_t>(i)] = c;
            state(element(m.name, i), hex(c), record, 12);
        }
    }

    void single(const known::VshLine& m, qint64 at) {
        const int box = m.box;
        double value = singleValue(box);
        if (std::string_view(m.name) == "MuteX")
            value = -value;
        if (std::string_view(m.name) == "NetworkIconYUnfocused" &&
            known::vshLine("MainIconYUnfocused").in(m_version))
            value = singleValue(known::vshLine("MainIconYUnfocused").box) + 1; // follows the main icon
        putSingle(m_f.bytes, at, static_cast<float>(value));
        m_f.expected.numbers[static_cast<std::size_t>(box)] = numberText(value);
        state(QLatin1StringView(m.name), shortest(static_cast<float>(value)), at, 4);
    }

    double singleValue(int box) const { return (box + 1) * 1.5 + m_version * 0.25 + m_seed; }

    void integer(const known::VshLine& m, qint64 at) {
        const qint16 bmp = static_cast<qint16>(1000 + m_version * 10 + static_cast<int>(m_seed));
        qToLittleEndian<qint16>(bmp, m_f.bytes.data() + at);
        m_f.expected.numbers[static_cast<std::size_t>(m.box)] = QString::number(bmp);
        state(QLatin1StringView(m.name), QString::number(bmp), at, 2);
    }

    void text(const known::VshLine& m, qint64 at) {
        const int i = m.box;
        const QByteArray t =
            i < 8 ? QByteArray("tex_") + QByteArray::number(i) + "_v" + QByteArray::number(m_version)
                  : QByteArray("flash0:/vsh/p") + QByteArray::number(i) + "_s" + QByteArray::number(m_seed);
        putText(m_f.bytes, at, t, m.count + 1);
        m_f.expected.texts[static_cast<std::size_t>(i)] = QString::fromLatin1(t);
        state(QLatin1StringView(m.name), QString::fromLatin1(t), at, m.count + 1);
    }

    void menu(const known::VshLine& m, qint64 at) {
        const bool slim = known::slimMenu(m_version);
        for (int k = 0; k < known::menuEntryCount(m_version); ++k) {
            const qint64 e = at + 16 * k;
            const EntryCodes codes = entryCodes(k, slim, m_version);
            m_f.bytes[e + 0] = static_cast<char>(codes.category);
            m_f.bytes[e + 4] = static_cast<char>(codes.icon);
            m_f.bytes[e + 8] = static_cast<char>(codes.mode);
            qToLittleEndian<qint32>(codes.region, m_f.bytes.data() + e + 12);
            const prx::MenuRow row = expectedRow(codes, slim, m_version);
            m_f.expected.menu.append(row);
            const QString entry = element(m.name, k) + u'.';
            state(entry + QStringLiteral("order"), row.order, e + 4, 1);
            state(entry + QStringLiteral("category"), row.category, e + 0, 1);
            state(entry + QStringLiteral("icon"), row.icon, e + 4, 1);
            state(entry + QStringLiteral("region"), row.region, e + 12, 4);
            state(entry + QStringLiteral("enabled"), row.enabled, e + 8, 1);
        }
    }

    void formats(const known::VshLine& m, qint64 at) {
        const auto& strings = std::string_view(m.name) == "FormatsEurope" ? kEuropeFormats : kUSJapanFormats;
        for (int s = 0; s < m.count; ++s) {
            const bool shortOne = s == m.count - 1;
            const qint64 where = at + (!shortOne ? 12 * s : m_version == 1 ? 46 : 48);
            const QString t = QString::fromLatin1(strings[s]);
            putUtf16(m_f.bytes, where, t);
            m_f.expected.texts[static_cast<std::size_t>(m.box + s)] = t;
            state(element(m.name, s), t, where, 2 * t.size());
        }
    }

    VshFixture& m_f;
    int m_version;
    quint32 m_seed;
};

} // namespace

VshFixture makeVsh(int version, quint32 seed) {
    VshFixture f;
    f.bytes = noise(known::vshRelease(version).fileSize, seed + 100u * static_cast<quint32>(version));
    VshWriter writer(f, version, seed);
    for (const known::VshLine& m : known::vshLines())
        if (m.in(version))
            writer.write(m);
    return f;
}

qint64 pafBoxOffset(int version, int box) {
    for (const known::PafLine& m : known::pafLines())
        if (m.box == box)
            return m.at(version);
    std::fprintf(stderr, "no PAF box %d\n", box);
    std::abort();
}

PafFixture makePaf(int version, quint32 seed) {
    PafFixture f;
    f.bytes = noise(known::pafRelease(version).fileSize, seed + 7777u * static_cast<quint32>(version));
    for (const known::PafLine& m : known::pafLines()) {
        if (!m.in(version))
            continue;
        const double value = (m.box + 1) * 0.75 + version * 2 + seed;
        putSingle(f.bytes, m.at(version), static_cast<float>(value));
        f.expected.numbers[static_cast<std::size_t>(m.box)] = numberText(value);
        f.stated.append(
            {QString(QLatin1StringView(m.name)), shortest(static_cast<float>(value)), m.at(version), 4});
    }
    return f;
}

QByteArray makePacked(const QByteArray& payload, qint32 plainSize, const QByteArray& moduleName,
                      quint8 keyByte, qint32 packedSize) {
    QByteArray header = noise(336, 4242);
    header.replace(0, 5, QByteArray("~PSP\0", 5));
    for (int i = 0; i < 28; ++i)
        header[10 + i] = i < moduleName.size() ? moduleName.at(i) : '\0';
    qToLittleEndian<qint32>(plainSize, header.data() + 0x28);
    const qint32 total = static_cast<qint32>(header.size() + payload.size());
    qToLittleEndian<qint32>(packedSize ? packedSize : total, header.data() + 0x2C);
    qToLittleEndian<qint32>(static_cast<qint32>(payload.size()), header.data() + 0xB0);
    header[0x130] = static_cast<char>(keyByte);
    return header + payload;
}

QByteArray withModuleKey(QByteArray packed, int key) {
    const auto& bytes = compression::kModuleKeys[static_cast<std::size_t>(key)].bytes;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        packed[0x130 + static_cast<qsizetype>(i)] = static_cast<char>(bytes[i]);
    return packed;
}

const QStringList& packedCheckNames() {
    static const QStringList names{
        QStringLiteral("length"),      QStringLiteral("signature"),  QStringLiteral("packed_size"),
        QStringLiteral("gzip_size"),   QStringLiteral("gzip_magic"), QStringLiteral("stream"),
        QStringLiteral("crc32"),       QStringLiteral("isize"),      QStringLiteral("padding"),
        QStringLiteral("plain_size"),  QStringLiteral("release"),    QStringLiteral("key"),
        QStringLiteral("module_name"),
    };
    return names;
}

std::vector<ModuleRelease> everyRelease() {
    std::vector<ModuleRelease> all;
    for (int v = 1; v <= known::kVshRows; ++v)
        all.push_back({prx::ModuleKind::Vsh, v});
    for (int v = 1; v <= known::kPafRows; ++v)
        all.push_back({prx::ModuleKind::Paf, v});
    return all;
}

ModuleFixture makeModule(const ModuleRelease& release, quint32 seed) {
    if (release.kind == prx::ModuleKind::Vsh) {
        VshFixture f = makeVsh(release.version, seed);
        return {std::move(f.bytes), std::move(f.stated)};
    }
    PafFixture f = makePaf(release.version, seed);
    return {std::move(f.bytes), std::move(f.stated)};
}

std::string releaseName(const ModuleRelease& release) {
    return std::string(release.kind == prx::ModuleKind::Vsh ? "vsh" : "paf") +
           std::to_string(release.version);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write fixture %s\n", qPrintable(path));
        std::abort();
    }
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace qm::test
