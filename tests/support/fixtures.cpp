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

using prx::PafMember;
using prx::VshMember;

// The numbers in the order of the editor's boxes: the n-th gets (n + 1) * 1.5 + ...
constexpr std::array<VshMember, 28> kVshNumbers{
    VshMember::XmbX,
    VshMember::XmbXInfobar,
    VshMember::XmbXSubmenu,
    VshMember::XmbXGameSubmenu,
    VshMember::MuteX,
    VshMember::MuteY,
    VshMember::MuteYShadow,
    VshMember::HoldY,
    VshMember::HoldYShadow,
    VshMember::ClockX,
    VshMember::ClockY,
    VshMember::ClockXNoBattery,
    VshMember::NetworkIconYUnfocused,
    VshMember::MainIconYFocused,
    VshMember::MainIconYUnfocused,
    VshMember::BmpSize,
    VshMember::BusyIconSpeed,
    VshMember::FocusedIconFadeOut,
    VshMember::AlphaAllMainIcons,
    VshMember::AlphaFocusedMainIcon,
    VshMember::MSOptionIconX,
    VshMember::MSOptionIconY,
    VshMember::AlphaInfobarIcons,
    VshMember::AlphaHighlightedText,
    VshMember::HoldX,
    VshMember::HoldXShadow,
    VshMember::MuteXShadow,
    VshMember::AlphaMSOptionIcon,
};
constexpr std::size_t kNumberMuteX = 4;
constexpr std::size_t kNumberNetworkIcon = 12;
constexpr std::size_t kNumberMainIconUnfocused = 14;

// Which releases have a number.
bool vshHasNumber(int version, VshMember m) {
    switch (m) {
    case VshMember::NetworkIconYUnfocused:
    case VshMember::FocusedIconFadeOut:
        return version != 1;
    case VshMember::BmpSize:
        return version >= 7;
    case VshMember::MainIconYFocused:
    case VshMember::MainIconYUnfocused:
    case VshMember::MSOptionIconX:
    case VshMember::MSOptionIconY:
    case VshMember::AlphaMSOptionIcon:
        return version >= 12;
    default:
        return true;
    }
}

// The texts every release has, with the room each has (its longest text plus the zero).
struct TextSlot {
    VshMember member;
    int maxLength;
};
constexpr std::array<TextSlot, 13> kVshTexts{{
    {VshMember::MSIconPhoto, 15},
    {VshMember::MSIconMusic, 15},
    {VshMember::MSIconVideo, 15},
    {VshMember::MSIconGame, 15},
    {VshMember::UMDIconPhoto, 15},
    {VshMember::UMDIconMusic, 15},
    {VshMember::UMDIconVideo, 15},
    {VshMember::UMDIconGame, 15},
    {VshMember::UpdatePath1, 39},
    {VshMember::UpdatePath2, 30},
    {VshMember::UpdatePath3, 39},
    {VshMember::RCOPath1, 39},
    {VshMember::RCOPath2, 39},
}};

// Releases 11 to 14 have the slim colours; 8 to 11 the classic menu, 12 to 14 the slim one.
bool vshHasSlimColours(int version) {
    return version >= 11;
}
enum class Menu { None, Classic, Slim };
Menu menuOf(int version) {
    return version >= 12 ? Menu::Slim : version >= 8 ? Menu::Classic : Menu::None;
}
int menuEntries(int version) {
    return version == 8 || version == 9 || version == 14 ? 24 : 23;
}

// Gives `member` its value in `values`; a member the catalogue says the
// release lacks is a fault of the catalogue, which no later check would see.
template <typename M> void expect(prx::ModuleValues& values, M member, prx::Value value) {
    if (!values.has(member)) {
        std::fprintf(stderr, "fixture of release %d puts %s, which the catalogue says the release lacks\n",
                     values.version(), prx::memberName(member).data());
        std::abort();
    }
    values.setValue(member, std::move(value));
}

void putText(QByteArray& b, qint64 at, const QByteArray& text, int slot) {
    for (int i = 0; i < slot; ++i)
        b[at + i] = i < text.size() ? text.at(i) : '\0';
}

void putUtf16(QByteArray& b, qint64 at, const QString& text) {
    for (qsizetype i = 0; i <= text.size(); ++i)
        qToLittleEndian<quint16>(i < text.size() ? text.at(i).unicode() : 0, b.data() + at + 2 * i);
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

prx::ColourBlock putColors(QByteArray& bytes, qint64 at, int count, int version, quint32 seed, int salt) {
    prx::ColourBlock out;
    for (int i = 0; i < count; ++i)
        out.append(putColor(bytes, at + 12 * static_cast<qint64>(i), colorFor(i, version, seed, salt)));
    return out;
}

// Menu entry k: mostly valid codes, with one unreadable code of each kind.
struct EntryCodes {
    quint8 category, icon, mode;
    qint32 region;
};

EntryCodes entryCodes(int k, Menu format, int version) {
    const bool slim = format == Menu::Slim;
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

const char* const kEuropeFormats[] = {"%d/%m", "%H:%M", "%m.%d", "%I:%M", "%p"};
const char* const kUSJapanFormats[] = {"%m/%d", "%I:%M", "%d-%m", "%H.%M", "%H"};

prx::FormatStrings putFormats(QByteArray& bytes, qint64 at, int version, const char* const (&formats)[5]) {
    for (int s = 0; s < 4; ++s)
        putUtf16(bytes, at + 12 * s, QString::fromLatin1(formats[s]));
    putUtf16(bytes, at + (version == 1 ? 46 : 48), QString::fromLatin1(formats[4]));
    prx::FormatStrings out;
    for (std::size_t s = 0; s < 5; ++s)
        out[s] = QString::fromLatin1(formats[s]);
    return out;
}

} // namespace

VshFixture makeVsh(int version, quint32 seed) {
    VshFixture f;
    f.bytes = noise(prx::vshRelease(version).fileSize, seed + 100u * static_cast<quint32>(version));
    auto at = [&](VshMember m) { return static_cast<qint64>(prx::vshOffset(version, m)); };
    prx::ModuleValues& v = f.expected;
    v = prx::ModuleValues(prx::ModuleKind::Vsh, version);

    expect(v, VshMember::TextColors, putColors(f.bytes, at(VshMember::TextColors), 12, version, seed, 0));
    expect(v, VshMember::ContextColors,
           putColors(f.bytes, at(VshMember::ContextColors), 12, version, seed, 1));
    if (vshHasSlimColours(version)) {
        expect(v, VshMember::TextColorsSlim,
               putColors(f.bytes, at(VshMember::TextColorsSlim), 15, version, seed, 2));
        expect(v, VshMember::ContextColorsSlim,
               putColors(f.bytes, at(VshMember::ContextColorsSlim), 15, version, seed, 3));
    }

    for (std::size_t box = 0; box < kVshNumbers.size(); ++box) {
        const VshMember m = kVshNumbers[box];
        if (!vshHasNumber(version, m))
            continue;
        if (m == VshMember::BmpSize) {
            const qint16 bmp = static_cast<qint16>(1000 + version * 10 + static_cast<int>(seed));
            qToLittleEndian<qint16>(bmp, f.bytes.data() + at(m));
            expect(v, m, bmp);
            continue;
        }
        double value = static_cast<double>(box + 1) * 1.5 + version * 0.25 + seed;
        if (box == kNumberMuteX)
            value = -value;
        if (box == kNumberNetworkIcon && version >= 12) // the network icon follows the main icon
            value = (static_cast<double>(kNumberMainIconUnfocused + 1) * 1.5 + version * 0.25 + seed) + 1;
        putSingle(f.bytes, at(m), static_cast<float>(value));
        expect(v, m, prx::Single::fromFloat(static_cast<float>(value)));
    }

    for (std::size_t i = 0; i < kVshTexts.size(); ++i) {
        const QByteArray t = i < 8 ? QByteArray("tex_") + QByteArray::number(static_cast<int>(i)) + "_v" +
                                         QByteArray::number(version)
                                   : QByteArray("flash0:/vsh/p") + QByteArray::number(static_cast<int>(i)) +
                                         "_s" + QByteArray::number(seed);
        putText(f.bytes, at(kVshTexts[i].member), t, kVshTexts[i].maxLength + 1);
        expect(v, kVshTexts[i].member, QString::fromLatin1(t));
    }

    expect(v, VshMember::FormatsEurope,
           putFormats(f.bytes, at(VshMember::FormatsEurope), version, kEuropeFormats));
    expect(v, VshMember::FormatsUSJapan,
           putFormats(f.bytes, at(VshMember::FormatsUSJapan), version, kUSJapanFormats));

    if (const Menu format = menuOf(version); format != Menu::None) {
        prx::MenuEntries entries;
        for (int k = 0; k < menuEntries(version); ++k) {
            const qint64 e = at(VshMember::MenuEntries) + 16 * k;
            const EntryCodes codes = entryCodes(k, format, version);
            f.bytes[e + 0] = static_cast<char>(codes.category);
            f.bytes[e + 4] = static_cast<char>(codes.icon);
            f.bytes[e + 8] = static_cast<char>(codes.mode);
            qToLittleEndian<qint32>(codes.region, f.bytes.data() + e + 12);
            entries.append({codes.category, codes.icon, codes.mode, static_cast<quint32>(codes.region)});
        }
        expect(v, VshMember::MenuEntries, entries);
    }
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
    return prx::pafOffset(version, kPafBoxes[static_cast<std::size_t>(box)]);
}

PafFixture makePaf(int version, quint32 seed) {
    PafFixture f;
    f.bytes = noise(prx::pafRelease(version).fileSize, seed + 7777u * static_cast<quint32>(version));
    f.expected = prx::ModuleValues(prx::ModuleKind::Paf, version);
    for (std::size_t box = 0; box < kPafBoxes.size(); ++box) {
        // Release 1 has no MainIconYUnfocused.
        if (version == 1 && kPafBoxes[box] == PafMember::MainIconYUnfocused)
            continue;
        const double value = static_cast<double>(box + 1) * 0.75 + version * 2 + seed;
        putSingle(f.bytes, pafBoxOffset(version, static_cast<int>(box)), static_cast<float>(value));
        expect(f.expected, kPafBoxes[box], prx::Single::fromFloat(static_cast<float>(value)));
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
