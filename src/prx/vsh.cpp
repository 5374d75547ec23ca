#include "vsh.h"

#include "module.h"
#include "numbers.h"

#include <algorithm>

namespace qm::prx {

using V = VshMember;

const std::array<VshMember, kVshNumberBoxCount> kVshNumberBoxMember{
    V::XmbX,
    V::XmbXInfobar,
    V::XmbXSubmenu,
    V::XmbXGameSubmenu,
    V::MuteX,
    V::MuteY,
    V::MuteYShadow,
    V::HoldY,
    V::HoldYShadow,
    V::ClockX,
    V::ClockY,
    V::ClockXNoBattery,
    V::NetworkIconYUnfocused,
    V::MainIconYFocused,
    V::MainIconYUnfocused,
    V::BmpSize,
    V::BusyIconSpeed,
    V::FocusedIconFadeOut,
    V::AlphaAllMainIcons,
    V::AlphaFocusedMainIcon,
    V::MSOptionIconX,
    V::MSOptionIconY,
    V::AlphaInfobarIcons,
    V::AlphaHighlightedText,
    V::HoldX,
    V::HoldXShadow,
    V::MuteXShadow,
    V::AlphaMSOptionIcon,
};

const std::array<VshMember, kVshEditableTextCount> kVshTextBoxMember{
    V::MSIconPhoto,  V::MSIconMusic,  V::MSIconVideo, V::MSIconGame,  V::UMDIconPhoto,
    V::UMDIconMusic, V::UMDIconVideo, V::UMDIconGame, V::UpdatePath1, V::UpdatePath2,
    V::UpdatePath3,  V::RCOPath1,     V::RCOPath2,
};

const std::array<int, kVshEditableTextCount> kVshTextMaxLength{15, 15, 15, 15, 15, 15, 15,
                                                               15, 39, 30, 39, 39, 39};

namespace {

// The Singles every release reads, in reading and writing order.
constexpr std::array<int, 19> kCommonSingleBoxes{0,  1, 2, 3,  4,  5,  26, 6,  24, 7,
                                                 25, 8, 9, 10, 11, 18, 19, 22, 23};
// The Singles only releases 12 to 14 have, in order.
constexpr std::array<int, 5> kNewSingleBoxes{13, 14, 20, 21, 27};

constexpr int kBoxNetwork = kVshBoxNetworkIcon;
constexpr int kBoxMainIconUnfocused = kVshBoxMainIconUnfocused;
constexpr int kBoxBmpSize = 15;
constexpr int kBoxBusy = 16;
constexpr int kBoxFadeOut = 17;
constexpr int kCheckedNumberBoxes = 18; // boxes 0..17 must not be empty

qint64 at(int version, VshMember member) {
    return vshOffset(version, member);
}

QString fieldName(int box) {
    return QString(memberName(kVshNumberBoxMember[static_cast<std::size_t>(box)]));
}

Error withField(Error e, const QString& field) {
    e.detail = e.detail.isEmpty() ? field : field + QStringLiteral(": ") + e.detail;
    return e;
}

template <std::size_t N> Status readColors(const ModuleImage& image, qint64 offset, std::array<Rgb, N>& out) {
    auto block = readColorBlock(image, offset, static_cast<int>(N));
    if (!block)
        return block.error();
    std::copy(block->begin(), block->end(), out.begin());
    return {};
}

template <std::size_t N>
Status writeChangedColors(ModuleImage& image, qint64 offset, const std::array<Rgb, N>& loaded,
                          const std::array<Rgb, N>& edited) {
    for (std::size_t i = 0; i < N; ++i)
        if (edited[i] != loaded[i])
            if (auto s = writeColor(image, offset + kColorRecordLength * static_cast<qint64>(i), edited[i]);
                !s)
                return s;
    return {};
}

} // namespace

int vshNumberBoxOf(VshMember member) {
    const auto it = std::find(kVshNumberBoxMember.begin(), kVshNumberBoxMember.end(), member);
    return it == kVshNumberBoxMember.end() ? -1 : static_cast<int>(it - kVshNumberBoxMember.begin());
}

int vshTextBoxOf(VshMember member) {
    const auto it = std::find(kVshTextBoxMember.begin(), kVshTextBoxMember.end(), member);
    return it == kVshTextBoxMember.end() ? -1 : static_cast<int>(it - kVshTextBoxMember.begin());
}

int vshGroup(int version) {
    if (version <= 1)
        return 1;
    if (version <= 6)
        return 2;
    if (version == 7)
        return 3;
    if (version <= 10)
        return 4;
    if (version == 11)
        return 5;
    return 6;
}

bool vshNumberBoxRead(int version, int box) {
    switch (box) {
    case kBoxNetwork:
    case kBoxFadeOut:
        return version != 1;
    case kBoxBmpSize:
        return version >= 7;
    case 13:
    case 14:
    case 20:
    case 21:
    case 27:
        return version >= 12;
    default:
        return box >= 0 && box < kVshNumberBoxCount;
    }
}

bool vshNumberBoxEnabled(int version, int box) {
    if (box == kBoxNetwork && vshGroup(version) == 6)
        return false;
    return vshNumberBoxRead(version, box);
}

bool vshHasSlimColors(int version) {
    return version >= 11;
}

Result<VshValues> loadVsh(const ModuleImage& image, int version, const QLocale& locale) {
    VshValues v;
    if (auto s = readColors(image, at(version, V::TextColors), v.textColors); !s)
        return s.error();
    if (auto s = readColors(image, at(version, V::ContextColors), v.contextColors); !s)
        return s.error();
    if (vshHasSlimColors(version)) {
        if (auto s = readColors(image, at(version, V::TextColorsSlim), v.textColorsSlim); !s)
            return s.error();
        if (auto s = readColors(image, at(version, V::ContextColorsSlim), v.contextColorsSlim); !s)
            return s.error();
    }

    const std::pair<VshMember, int> formatBlocks[] = {{V::FormatsEurope, kVshFormatFirstEurope},
                                                      {V::FormatsUSJapan, kVshFormatFirstUSJapan}};
    for (const auto& [member, first] : formatBlocks) {
        auto formats = readFormatStrings(image, at(version, member), version);
        if (!formats)
            return withField(formats.error(), QString(memberName(member)));
        for (int i = 0; i < 5; ++i)
            v.texts[static_cast<std::size_t>(first + i)] = (*formats)[static_cast<std::size_t>(i)];
    }

    const auto readSingle = [&](int box) -> Status {
        auto text =
            readSingleText(image, at(version, kVshNumberBoxMember[static_cast<std::size_t>(box)]), locale);
        if (!text)
            return withField(text.error(), fieldName(box));
        v.numbers[static_cast<std::size_t>(box)] = *text;
        return {};
    };

    for (int box : kCommonSingleBoxes)
        if (auto s = readSingle(box); !s)
            return s.error();
    for (int i = 0; i < kVshEditableTextCount; ++i) {
        const VshMember member = kVshTextBoxMember[static_cast<std::size_t>(i)];
        auto text = readText(image, at(version, member));
        if (!text)
            return withField(text.error(), QString(memberName(member)));
        v.texts[static_cast<std::size_t>(i)] = *text;
    }
    if (auto s = readSingle(kBoxBusy); !s)
        return s.error();

    if (version != 1) {
        for (int box : {kBoxNetwork, kBoxFadeOut})
            if (auto s = readSingle(box); !s)
                return s.error();
        if (version >= 7) {
            auto bmp = readIntegerText(image, at(version, V::BmpSize));
            if (!bmp)
                return withField(bmp.error(), fieldName(kBoxBmpSize));
            v.numbers[kBoxBmpSize] = *bmp;
        }
    }
    if (version >= 12)
        for (int box : kNewSingleBoxes)
            if (auto s = readSingle(box); !s)
                return s.error();

    if (const auto format = menuFormat(version)) {
        const qint64 first = at(version, V::MenuEntries);
        for (int k = 0; k < menuEntryCount(version); ++k) {
            auto row = readMenuEntry(image, first + kMenuEntryLength * k, *format, version);
            if (!row)
                return withField(row.error(), QStringLiteral("MenuEntries[%1]").arg(k));
            v.menu.append(*row);
        }
    }
    return v;
}

std::optional<QString> networkIconFollowing(const QString& mainIconText, const QLocale& locale) {
    if (mainIconText.isEmpty() || mainIconText == u"-" || mainIconText == u",")
        return std::nullopt;
    auto number = parseNumber(mainIconText, locale);
    if (!number)
        return std::nullopt;
    return formatSingle(static_cast<float>(*number + 1.0), locale);
}

void followNetworkIcon(VshValues& values, int version, const QLocale& locale) {
    if (vshGroup(version) != 6)
        return;
    if (auto text = networkIconFollowing(values.numbers[kBoxMainIconUnfocused], locale))
        values.numbers[kBoxNetwork] = *text;
}

Result<ModuleImage> applyVsh(ModuleImage image, int version, const VshValues& loaded, VshValues edited,
                             const QLocale& locale) {
    followNetworkIcon(edited, version, locale);

    // Checks first: a refused save changes nothing.
    for (int box = 0; box < kCheckedNumberBoxes; ++box)
        if (vshNumberBoxEnabled(version, box) && edited.numbers[static_cast<std::size_t>(box)].isEmpty())
            return Error::check(kMsgValueEmpty, fieldName(box));
    for (int i = 0; i < kVshEditableTextCount; ++i)
        if (edited.texts[static_cast<std::size_t>(i)].isEmpty())
            return Error::check(kMsgValueEmpty,
                                QString(memberName(kVshTextBoxMember[static_cast<std::size_t>(i)])));
    if (version >= 7) {
        auto bmp = parseNumber(edited.numbers[kBoxBmpSize], locale);
        if (!bmp)
            return withField(bmp.error(), fieldName(kBoxBmpSize));
        if (*bmp > 32767.0)
            return Error::check(kMsgBmpMax, fieldName(kBoxBmpSize));
    }

    // The image is a copy: an error below leaves the caller's bytes alone.
    if (auto s = writeChangedColors(image, at(version, V::TextColors), loaded.textColors, edited.textColors);
        !s)
        return s.error();
    if (auto s = writeChangedColors(image, at(version, V::ContextColors), loaded.contextColors,
                                    edited.contextColors);
        !s)
        return s.error();
    if (vshHasSlimColors(version)) {
        if (auto s = writeChangedColors(image, at(version, V::TextColorsSlim), loaded.textColorsSlim,
                                        edited.textColorsSlim);
            !s)
            return s.error();
        if (auto s = writeChangedColors(image, at(version, V::ContextColorsSlim), loaded.contextColorsSlim,
                                        edited.contextColorsSlim);
            !s)
            return s.error();
    }

    const auto writeSingle = [&](int box) -> Status {
        const auto i = static_cast<std::size_t>(box);
        if (edited.numbers[i] == loaded.numbers[i])
            return {};
        if (auto s = writeSingleText(image, at(version, kVshNumberBoxMember[i]), edited.numbers[i], locale);
            !s)
            return withField(s.error(), fieldName(box));
        return {};
    };

    for (int box : kCommonSingleBoxes)
        if (auto s = writeSingle(box); !s)
            return s.error();
    for (int i = 0; i < kVshEditableTextCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (edited.texts[k] == loaded.texts[k])
            continue;
        auto written =
            writeText(image, at(version, kVshTextBoxMember[k]), edited.texts[k], kVshTextMaxLength[k]);
        if (!written)
            return withField(written.error(), QString(memberName(kVshTextBoxMember[k])));
    }
    if (auto s = writeSingle(kBoxBusy); !s)
        return s.error();

    if (version != 1) {
        for (int box : {kBoxNetwork, kBoxFadeOut})
            if (auto s = writeSingle(box); !s)
                return s.error();
        if (version >= 7 && edited.numbers[kBoxBmpSize] != loaded.numbers[kBoxBmpSize])
            if (auto s =
                    writeIntegerText(image, at(version, V::BmpSize), edited.numbers[kBoxBmpSize], locale);
                !s)
                return withField(s.error(), fieldName(kBoxBmpSize));
    }
    if (version >= 12)
        for (int box : kNewSingleBoxes)
            if (auto s = writeSingle(box); !s)
                return s.error();

    if (const auto format = menuFormat(version)) {
        const int n = menuEntryCount(version);
        if (edited.menu.size() < n)
            return Error{ErrorKind::Conversion, errnum::SubscriptOutOfRange,
                         QStringLiteral("Subscript out of range"),
                         QStringLiteral("the menu list holds %1 rows, the module %2 entries")
                             .arg(edited.menu.size())
                             .arg(n)};
        const qint64 first = at(version, V::MenuEntries);
        for (int k = 0; k < n; ++k) {
            const MenuRow* before = k < loaded.menu.size() ? &loaded.menu.at(k) : nullptr;
            if (before && *before == edited.menu.at(k))
                continue;
            if (auto s = writeMenuEntry(image, first + kMenuEntryLength * k, edited.menu.at(k), before,
                                        *format, version);
                !s)
                return withField(s.error(), QStringLiteral("MenuEntries[%1]").arg(k));
        }
    }
    return image;
}

Result<VshValues> readVshFile(const QString& path, int version, const QLocale& locale) {
    auto image = readModule(path, ModuleKind::Vsh, version);
    if (!image)
        return image.error();
    return loadVsh(*image, version, locale);
}

Status saveVshFile(const QString& source, const QString& dest, int version, const VshValues& loaded,
                   const VshValues& edited, const QLocale& locale, bool keepOriginal) {
    auto image = readModule(source, ModuleKind::Vsh, version);
    if (!image)
        return image.error();
    auto patched = applyVsh(std::move(*image), version, loaded, edited, locale);
    if (!patched)
        return patched.error();
    return writeModule(dest, *patched, keepOriginal);
}

} // namespace qm::prx
