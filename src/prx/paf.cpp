#include "paf.h"

#include "codecs.h"
#include "module.h"
#include "vsh.h"

#include <algorithm>

namespace qm::prx {

using P = PafMember;

const std::array<PafMember, kPafBoxCount> kPafBoxMember{
    P::VerticalScrollSpeed,   P::HorizontalScrollSpeed, P::MSContentsSizeUnfocused, P::GlowBlinkSpeed,
    P::XmbOverallSize,        P::MainIconSpacing,       P::MainIconYFocused,        P::MainMenuTextY,
    P::MainIconYUnfocused,    P::MainIconSizeUnfocused, P::MainMenuTextSize,        P::MainMenuIconFontColor,
    P::MainMenuFontColor,     P::SubmenuTextAlpha,      P::MainIconAlphaUnfocused,  P::MainIconAlphaFocused,
    P::SubiconSpacing,        P::MainSubiconSpacing,    P::SubmenuFontLineColor,    P::SubiconColorUnfocused,
    P::SubiconAlphaUnfocused, P::OtherSubmenuIconSize,  P::SettingsSubmenuIconSize, P::SubiconShadowWidth,
    P::SubiconShadowHeight,
};

namespace {

QString fieldName(int box) {
    return QString(memberName(kPafBoxMember[static_cast<std::size_t>(box)]));
}

Error withField(Error e, const QString& field) {
    e.detail = e.detail.isEmpty() ? field : field + QStringLiteral(": ") + e.detail;
    return e;
}

} // namespace

int pafBoxOf(PafMember member) {
    const auto it = std::find(kPafBoxMember.begin(), kPafBoxMember.end(), member);
    return it == kPafBoxMember.end() ? -1 : static_cast<int>(it - kPafBoxMember.begin());
}

bool pafBoxRead(int version, int box) {
    if (box < 0 || box >= kPafBoxCount)
        return false;
    return !(version == 1 && box == kPafBoxMainIconYUnfocused);
}

Result<PafValues> loadPaf(const ModuleImage& image, int version, const QLocale& locale) {
    PafValues v;
    for (int box = 0; box < kPafBoxCount; ++box) {
        if (!pafBoxRead(version, box))
            continue;
        const auto i = static_cast<std::size_t>(box);
        auto text = readSingleText(image, pafOffset(version, kPafBoxMember[i]), locale);
        if (!text)
            return withField(text.error(), fieldName(box));
        v.numbers[i] = *text;
    }
    return v;
}

Result<ModuleImage> applyPaf(ModuleImage image, int version, const PafValues& loaded, const PafValues& edited,
                             const QLocale& locale) {
    // Box 8 is not part of the empty check; an empty box 8 fails to convert below.
    for (int box = 0; box < kPafBoxCount; ++box)
        if (box != kPafBoxMainIconYUnfocused && edited.numbers[static_cast<std::size_t>(box)].isEmpty())
            return Error::check(kMsgValueEmpty, fieldName(box));
    for (int box = 0; box < kPafBoxCount; ++box) {
        const auto i = static_cast<std::size_t>(box);
        if (!pafBoxRead(version, box) || edited.numbers[i] == loaded.numbers[i])
            continue;
        if (auto s = writeSingleText(image, pafOffset(version, kPafBoxMember[i]), edited.numbers[i], locale);
            !s)
            return withField(s.error(), fieldName(box));
    }
    return image;
}

Result<PafValues> readPafFile(const QString& path, int version, const QLocale& locale) {
    auto image = readModule(path, ModuleKind::Paf, version);
    if (!image)
        return image.error();
    return loadPaf(*image, version, locale);
}

Status savePafFile(const QString& source, const QString& dest, int version, const PafValues& loaded,
                   const PafValues& edited, const QLocale& locale, bool keepOriginal) {
    auto image = readModule(source, ModuleKind::Paf, version);
    if (!image)
        return image.error();
    auto patched = applyPaf(std::move(*image), version, loaded, edited, locale);
    if (!patched)
        return patched.error();
    return writeModule(dest, *patched, keepOriginal);
}

} // namespace qm::prx
