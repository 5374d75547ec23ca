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
#include <utility>

namespace qm::test {
namespace {

using known::Layout;
using prx::PafMember;
using prx::VshMember;

// Gives `member` its value in `values`; a member the catalogue says the
// release lacks is a fault of the catalogue, which no later check would see.
template <typename M> void expect(prx::ModuleValues& values, M member, prx::Value value) {
    if (!values.has(member)) {
        std::fprintf(stderr, "fixture of release %d puts %s, which the catalogue says the release lacks\n",
                     values.release().row, prx::memberName(member).data());
        std::abort();
    }
    values.setValue(member, std::move(value));
}

VshMember vshMember(const char* name) {
    const auto m = prx::vshMemberByName(QString::fromLatin1(name));
    if (!m) {
        std::fprintf(stderr, "no VSH member %s\n", name);
        std::abort();
    }
    return *m;
}

void putText(QByteArray& b, qint64 at, const QByteArray& text, int slot) {
    for (int i = 0; i < slot; ++i)
        b[at + i] = i < text.size() ? text.at(i) : '\0';
}

void putUtf16(QByteArray& b, qint64 at, const QString& text) {
    for (qsizetype i = 0; i <= text.size(); ++i)
        qToLittleEndian<quint16>(i < text.size() ? text.at(i).unicode() : 0, b.data() + at + 2 * i);
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

// Each component c / 255 as a single.
prx::Colour putColor(QByteArray& bytes, qint64 at, prx::Rgb c) {
    prx::Colour colour;
    for (int k = 0; k < 3; ++k) {
        const auto component = static_cast<float>(static_cast<double>((c >> (8 * k)) & 0xFF) / 255.0);
        putSingle(bytes, at + 4 * k, component);
        colour.components[static_cast<std::size_t>(k)] = prx::Single::fromFloat(component);
    }
    return colour;
}

// The salt that sets a colour block apart.
int colourSalt(std::string_view name) {
    return name == "TextColors" ? 0 : name == "ContextColors" ? 1 : name == "TextColorsSlim" ? 2 : 3;
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

// The texts the menu list shows for the codes.
struct RowTexts {
    QString order, category, icon, region, enabled;
};

RowTexts expectedRow(const EntryCodes& e, bool slim, int version) {
    RowTexts row;
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
        const int salt = colourSalt(m.name);
        prx::ColourBlock block;
        for (int i = 0; i < m.count; ++i) {
            const prx::Rgb c = colorFor(i, m_version, m_seed, salt);
            const qint64 record = at + 12 * static_cast<qint64>(i);
            block.append(putColor(m_f.bytes, record, c));
            state(element(m.name, i), hex(c), record, 12);
        }
        expect(m_f.expected, vshMember(m.name), block);
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
        expect(m_f.expected, vshMember(m.name), prx::Single::fromFloat(static_cast<float>(value)));
        state(QLatin1StringView(m.name), shortest(static_cast<float>(value)), at, 4);
    }

    double singleValue(int box) const { return (box + 1) * 1.5 + m_version * 0.25 + m_seed; }

    void integer(const known::VshLine& m, qint64 at) {
        const qint16 bmp = static_cast<qint16>(1000 + m_version * 10 + static_cast<int>(m_seed));
        qToLittleEndian<qint16>(bmp, m_f.bytes.data() + at);
        expect(m_f.expected, vshMember(m.name), bmp);
        state(QLatin1StringView(m.name), QString::number(bmp), at, 2);
    }

    void text(const known::VshLine& m, qint64 at) {
        const int i = m.box;
        const QByteArray t =
            i < 8 ? QByteArray("tex_") + QByteArray::number(i) + "_v" + QByteArray::number(m_version)
                  : QByteArray("flash0:/vsh/p") + QByteArray::number(i) + "_s" + QByteArray::number(m_seed);
        putText(m_f.bytes, at, t, m.count + 1);
        expect(m_f.expected, vshMember(m.name), QString::fromLatin1(t));
        state(QLatin1StringView(m.name), QString::fromLatin1(t), at, m.count + 1);
    }

    void menu(const known::VshLine& m, qint64 at) {
        const bool slim = known::slimMenu(m_version);
        prx::MenuEntries entries;
        for (int k = 0; k < known::menuEntryCount(m_version); ++k) {
            const qint64 e = at + 16 * k;
            const EntryCodes codes = entryCodes(k, slim, m_version);
            m_f.bytes[e + 0] = static_cast<char>(codes.category);
            m_f.bytes[e + 4] = static_cast<char>(codes.icon);
            m_f.bytes[e + 8] = static_cast<char>(codes.mode);
            qToLittleEndian<qint32>(codes.region, m_f.bytes.data() + e + 12);
            entries.append({codes.category, codes.icon, codes.mode, static_cast<quint32>(codes.region)});
            const RowTexts row = expectedRow(codes, slim, m_version);
            const QString entry = element(m.name, k) + u'.';
            state(entry + QStringLiteral("order"), row.order, e + 4, 1);
            state(entry + QStringLiteral("category"), row.category, e + 0, 1);
            state(entry + QStringLiteral("icon"), row.icon, e + 4, 1);
            state(entry + QStringLiteral("region"), row.region, e + 12, 4);
            state(entry + QStringLiteral("enabled"), row.enabled, e + 8, 1);
        }
        expect(m_f.expected, vshMember(m.name), entries);
    }

    void formats(const known::VshLine& m, qint64 at) {
        const auto& strings = std::string_view(m.name) == "FormatsEurope" ? kEuropeFormats : kUSJapanFormats;
        prx::FormatStrings block;
        for (int s = 0; s < m.count; ++s) {
            const bool shortOne = s == m.count - 1;
            const qint64 where = at + (!shortOne ? 12 * s : m_version == 1 ? 46 : 48);
            const QString t = QString::fromLatin1(strings[s]);
            putUtf16(m_f.bytes, where, t);
            block[static_cast<std::size_t>(s)] = t;
            state(element(m.name, s), t, where, 2 * t.size());
        }
        expect(m_f.expected, vshMember(m.name), block);
    }

    VshFixture& m_f;
    int m_version;
    quint32 m_seed;
};

} // namespace

VshFixture makeVsh(int version, quint32 seed) {
    VshFixture f;
    f.bytes = noise(known::vshRelease(version).fileSize, seed + 100u * static_cast<quint32>(version));
    f.expected = prx::ModuleValues(prx::ReleaseId{prx::ModuleKind::Vsh, version});
    VshWriter writer(f, version, seed);
    for (const known::VshLine& m : known::vshLines())
        if (m.in(version))
            writer.write(m);
    return f;
}

const std::array<PafMember, prx::kPafMemberCount> kPafBoxes{
    PafMember::VerticalScrollSpeed,   PafMember::HorizontalScrollSpeed,   PafMember::MSContentsSizeUnfocused,
    PafMember::GlowBlinkSpeed,        PafMember::XmbOverallSize,          PafMember::MainIconSpacing,
    PafMember::MainIconYFocused,      PafMember::MainMenuTextY,           PafMember::MainIconYUnfocused,
    PafMember::MainIconSizeUnfocused, PafMember::MainMenuTextSize,        PafMember::MainMenuIconFontColor,
    PafMember::MainMenuFontColor,     PafMember::SubmenuTextAlpha,        PafMember::MainIconAlphaUnfocused,
    PafMember::MainIconAlphaFocused,  PafMember::SubiconSpacing,          PafMember::MainSubiconSpacing,
    PafMember::SubmenuFontLineColor,  PafMember::SubiconColorUnfocused,   PafMember::SubiconAlphaUnfocused,
    PafMember::OtherSubmenuIconSize,  PafMember::SettingsSubmenuIconSize, PafMember::SubiconShadowWidth,
    PafMember::SubiconShadowHeight,
};

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
    f.expected = prx::ModuleValues(prx::ReleaseId{prx::ModuleKind::Paf, version});
    for (const known::PafLine& m : known::pafLines()) {
        if (!m.in(version))
            continue;
        const double value = (m.box + 1) * 0.75 + version * 2 + seed;
        putSingle(f.bytes, m.at(version), static_cast<float>(value));
        expect(f.expected, kPafBoxes[static_cast<std::size_t>(m.box)],
               prx::Single::fromFloat(static_cast<float>(value)));
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

QByteArray sceHeader() {
    QByteArray header = noise(64, 5151);
    header.replace(0, 8, QByteArray("~SCE\x40\0\0\0", 8));
    return header;
}

QByteArray makeElf(const ElfSpec& shape) {
    QByteArray elf = noise(shape.size, 6161);
    const auto put16 = [&elf](qint64 at, quint16 v) { qToLittleEndian<quint16>(v, elf.data() + at); };
    const auto put32 = [&elf](qint64 at, quint32 v) { qToLittleEndian<quint32>(v, elf.data() + at); };
    elf.replace(0, 0x200 + 3 * 40, QByteArray(0x200 + 3 * 40, '\0'));
    elf.replace(0, 4,
                QByteArray("\x7F"
                           "ELF"));
    elf[4] = static_cast<char>(shape.elfClass);
    elf[5] = static_cast<char>(shape.data);
    elf[6] = 1;
    put16(16, shape.type);
    put16(18, shape.machine);
    put32(28, 0x34);                       // e_phoff
    put32(32, shape.sections ? 0x200 : 0); // e_shoff
    put16(40, 52);                         // e_ehsize
    put16(42, 32);                         // e_phentsize
    put16(44, 1);                          // e_phnum
    put16(46, 40);                         // e_shentsize
    put16(48, shape.sections ? 3 : 0);     // e_shnum
    put16(50, shape.sections ? 2 : 0);     // e_shstrndx
    put32(0x34 + 0, 1);                    // PT_LOAD
    put32(0x34 + 12, shape.paddr);
    // Module info: attributes, version, then the 28-byte name field.
    put16(kElfModuleInfo, 0x0800);
    elf.replace(kElfModuleInfo + 4, std::min<qsizetype>(shape.name.size(), 28),
                shape.name.first(std::min<qsizetype>(shape.name.size(), 28)));
    if (shape.sections) {
        const QByteArray names = QByteArray(1, '\0') + shape.sectionName + '\0' + ".shstrtab" + '\0';
        elf.replace(0x180, names.size(), names);
        put32(0x200 + 40 + 0, 1); // section 1: its name
        put32(0x200 + 40 + 16, kElfModuleInfo);
        put32(0x200 + 40 + 20, 52);
        put32(0x200 + 80 + 0, static_cast<quint32>(shape.sectionName.size() + 2)); // ".shstrtab"
        put32(0x200 + 80 + 16, 0x180);
        put32(0x200 + 80 + 20, static_cast<quint32>(names.size()));
    }
    return elf;
}

QByteArray withElfHead(QByteArray module, const std::vector<Segment>& segments) {
    const std::vector<Segment> used =
        segments.empty()
            ? std::vector<Segment>{{kFirstSegment, 0, static_cast<quint32>(module.size() - kFirstSegment)}}
            : segments;
    module.replace(0, kFirstSegment, QByteArray(kFirstSegment, '\0'));
    const auto put16 = [&module](qint64 at, quint16 v) { qToLittleEndian<quint16>(v, module.data() + at); };
    const auto put32 = [&module](qint64 at, quint32 v) { qToLittleEndian<quint32>(v, module.data() + at); };
    module.replace(0, 7,
                   QByteArray("\x7F"
                              "ELF\x01\x01\x01",
                              7));
    put16(16, 0xFFA0);
    put16(18, 8);
    put32(28, 0x34); // e_phoff
    put16(40, 52);
    put16(42, 32);
    put16(44, static_cast<quint16>(used.size()));
    for (std::size_t i = 0; i < used.size(); ++i) {
        const qint64 at = 0x34 + 32 * static_cast<qint64>(i);
        put32(at + 0, used[i].type);
        put32(at + 4, used[i].offset);
        put32(at + 8, used[i].vaddr);
        put32(at + 16, used[i].filesz);
        put32(at + 20, used[i].filesz); // p_memsz
    }
    return module;
}

QByteArray makePtf(const QByteArray& title, quint32 partsEnd, qint64 length) {
    QByteArray ptf = noise(length, 8080);
    ptf.replace(0, 8, QByteArray("\0PTF\x01\0\0\0", 8));
    ptf.replace(8, 128, QByteArray(128, '\0'));
    ptf.replace(8, title.size(), title);
    qToLittleEndian<quint32>(partsEnd, ptf.data() + 0x108);
    return ptf;
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
        return {std::move(f.bytes), std::move(f.expected), std::move(f.stated)};
    }
    PafFixture f = makePaf(release.version, seed);
    return {std::move(f.bytes), std::move(f.expected), std::move(f.stated)};
}

QByteArray withValuesOf(QByteArray module, const ModuleFixture& from) {
    for (const StatedValue& v : from.stated)
        if (!v.name.startsWith(QStringLiteral("Formats")))
            module.replace(v.offset, v.length, from.bytes.mid(v.offset, v.length));
    return module;
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
