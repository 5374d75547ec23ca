#include "fixtures.h"

#include "compression/modulekeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>

namespace qm::test {
namespace {

using prx::VshMember;

void putText(QByteArray& b, qint64 at, const QByteArray& text, int slot) {
    for (int i = 0; i < slot; ++i)
        b[at + i] = i < text.size() ? text.at(i) : '\0';
}

void putUtf16(QByteArray& b, qint64 at, const QString& text) {
    for (qsizetype i = 0; i <= text.size(); ++i)
        qToLittleEndian<quint16>(i < text.size() ? text.at(i).unicode() : 0, b.data() + at + 2 * i);
}

// Plain decimal text of a value with a short binary fraction.
QString text(double v) {
    return QString::number(v, 'g', 12);
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

template <std::size_t N>
void putColors(QByteArray& bytes, qint64 at, std::array<prx::Rgb, N>& out, int version, quint32 seed,
               int salt) {
    for (std::size_t i = 0; i < N; ++i) {
        out[i] = colorFor(static_cast<int>(i), version, seed, salt);
        putColor(bytes, at + 12 * static_cast<qint64>(i), out[i]);
    }
}

// Menu entry k: mostly valid codes, with one unreadable code of each kind.
struct EntryCodes {
    quint8 category, icon, mode;
    qint32 region;
};

EntryCodes entryCodes(int k, prx::MenuFormat format, int version) {
    const bool slim = format == prx::MenuFormat::Slim;
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

prx::MenuRow expectedRow(const EntryCodes& e, prx::MenuFormat format, int version) {
    const bool slim = format == prx::MenuFormat::Slim;
    prx::MenuRow row;
    const QStringList& cats = prx::menuCategories(format);
    int c = e.category;
    if (!slim && version == 8 && (c == 5 || c == 6))
        c -= 1;
    row.category = e.category != 9 ? cats.at(c) : QStringLiteral("ERROR");
    if (e.icon > 32) {
        row.icon = QStringLiteral("ERROR");
        row.order = QStringLiteral("0");
    } else {
        row.icon = e.icon < prx::menuIcons(format).size() ? prx::menuIcons(format).at(e.icon) : QString();
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

void putFormats(QByteArray& bytes, qint64 at, int version, const char* const (&formats)[5], prx::VshValues& v,
                int firstBox) {
    for (int s = 0; s < 4; ++s)
        putUtf16(bytes, at + 12 * s, QString::fromLatin1(formats[s]));
    putUtf16(bytes, at + (version == 1 ? 46 : 48), QString::fromLatin1(formats[4]));
    for (int s = 0; s < 5; ++s)
        v.texts[static_cast<std::size_t>(firstBox + s)] = QString::fromLatin1(formats[s]);
}

} // namespace

VshFixture makeVsh(int version, quint32 seed) {
    VshFixture f;
    f.bytes = noise(prx::vshRelease(version).fileSize, seed + 100u * static_cast<quint32>(version));
    auto at = [&](VshMember m) { return static_cast<qint64>(prx::vshOffset(version, m)); };
    prx::VshValues& v = f.expected;

    putColors(f.bytes, at(VshMember::TextColors), v.textColors, version, seed, 0);
    putColors(f.bytes, at(VshMember::ContextColors), v.contextColors, version, seed, 1);
    if (version >= 11) {
        putColors(f.bytes, at(VshMember::TextColorsSlim), v.textColorsSlim, version, seed, 2);
        putColors(f.bytes, at(VshMember::ContextColorsSlim), v.contextColorsSlim, version, seed, 3);
    }

    for (int box = 0; box < prx::kVshNumberBoxCount; ++box) {
        if (!prx::vshNumberBoxRead(version, box))
            continue;
        const VshMember m = prx::kVshNumberBoxMember[static_cast<std::size_t>(box)];
        if (m == VshMember::BmpSize) {
            const qint16 bmp = static_cast<qint16>(1000 + version * 10 + static_cast<int>(seed));
            qToLittleEndian<qint16>(bmp, f.bytes.data() + at(m));
            v.numbers[static_cast<std::size_t>(box)] = QString::number(bmp);
            continue;
        }
        double value = (box + 1) * 1.5 + version * 0.25 + seed;
        if (box == 4)
            value = -value;
        if (box == 12 && version >= 12)
            value = ((14 + 1) * 1.5 + version * 0.25 + seed) + 1; // the network icon follows the main icon
        putSingle(f.bytes, at(m), static_cast<float>(value));
        v.numbers[static_cast<std::size_t>(box)] = text(value);
    }

    for (int i = 0; i < prx::kVshEditableTextCount; ++i) {
        const int max = prx::kVshTextMaxLength[static_cast<std::size_t>(i)];
        const QByteArray t =
            i < 8 ? QByteArray("tex_") + QByteArray::number(i) + "_v" + QByteArray::number(version)
                  : QByteArray("flash0:/vsh/p") + QByteArray::number(i) + "_s" + QByteArray::number(seed);
        putText(f.bytes, at(prx::kVshTextBoxMember[static_cast<std::size_t>(i)]), t, max + 1);
        v.texts[static_cast<std::size_t>(i)] = QString::fromLatin1(t);
    }

    putFormats(f.bytes, at(VshMember::FormatsEurope), version, kEuropeFormats, v, prx::kVshFormatFirstEurope);
    putFormats(f.bytes, at(VshMember::FormatsUSJapan), version, kUSJapanFormats, v,
               prx::kVshFormatFirstUSJapan);

    if (const auto format = prx::menuFormat(version)) {
        for (int k = 0; k < prx::menuEntryCount(version); ++k) {
            const qint64 e = at(VshMember::MenuEntries) + 16 * k;
            const EntryCodes codes = entryCodes(k, *format, version);
            f.bytes[e + 0] = static_cast<char>(codes.category);
            f.bytes[e + 4] = static_cast<char>(codes.icon);
            f.bytes[e + 8] = static_cast<char>(codes.mode);
            qToLittleEndian<qint32>(codes.region, f.bytes.data() + e + 12);
            v.menu.append(expectedRow(codes, *format, version));
        }
    }
    return f;
}

qint64 pafBoxOffset(int version, int box) {
    return prx::pafOffset(version, prx::kPafBoxMember[static_cast<std::size_t>(box)]);
}

PafFixture makePaf(int version, quint32 seed) {
    PafFixture f;
    f.bytes = noise(prx::pafRelease(version).fileSize, seed + 7777u * static_cast<quint32>(version));
    for (int box = 0; box < prx::kPafBoxCount; ++box) {
        if (!prx::pafBoxRead(version, box))
            continue;
        const double value = (box + 1) * 0.75 + version * 2 + seed;
        putSingle(f.bytes, pafBoxOffset(version, box), static_cast<float>(value));
        f.expected.numbers[static_cast<std::size_t>(box)] = text(value);
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

QByteArray makeElf(const ElfSpec& spec) {
    QByteArray elf = noise(spec.size, 6161);
    const auto put16 = [&elf](qint64 at, quint16 v) { qToLittleEndian<quint16>(v, elf.data() + at); };
    const auto put32 = [&elf](qint64 at, quint32 v) { qToLittleEndian<quint32>(v, elf.data() + at); };
    elf.replace(0, 0x200 + 3 * 40, QByteArray(0x200 + 3 * 40, '\0'));
    elf.replace(0, 4,
                QByteArray("\x7F"
                           "ELF"));
    elf[4] = static_cast<char>(spec.elfClass);
    elf[5] = static_cast<char>(spec.data);
    elf[6] = 1;
    put16(16, spec.type);
    put16(18, spec.machine);
    put32(28, 0x34);                      // e_phoff
    put32(32, spec.sections ? 0x200 : 0); // e_shoff
    put16(40, 52);                        // e_ehsize
    put16(42, 32);                        // e_phentsize
    put16(44, 1);                         // e_phnum
    put16(46, 40);                        // e_shentsize
    put16(48, spec.sections ? 3 : 0);     // e_shnum
    put16(50, spec.sections ? 2 : 0);     // e_shstrndx
    put32(0x34 + 0, 1);                   // PT_LOAD
    put32(0x34 + 12, spec.paddr);
    // Module info: attributes, version, then the 28-byte name field.
    put16(kElfModuleInfo, 0x0800);
    elf.replace(kElfModuleInfo + 4, std::min<qsizetype>(spec.name.size(), 28),
                spec.name.first(std::min<qsizetype>(spec.name.size(), 28)));
    if (spec.sections) {
        const QByteArray names = QByteArray(1, '\0') + spec.sectionName + '\0' + ".shstrtab" + '\0';
        elf.replace(0x180, names.size(), names);
        put32(0x200 + 40 + 0, 1); // section 1: its name
        put32(0x200 + 40 + 16, kElfModuleInfo);
        put32(0x200 + 40 + 20, 52);
        put32(0x200 + 80 + 0, static_cast<quint32>(spec.sectionName.size() + 2)); // ".shstrtab"
        put32(0x200 + 80 + 16, 0x180);
        put32(0x200 + 80 + 20, static_cast<quint32>(names.size()));
    }
    return elf;
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
    for (int v = 1; v <= prx::kVshRows; ++v)
        all.push_back({prx::ModuleKind::Vsh, v});
    for (int v = 1; v <= prx::kPafRows; ++v)
        all.push_back({prx::ModuleKind::Paf, v});
    return all;
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
