#include "vshlayout.h"

#include "colorgrid.h"

namespace qm::ui::vsh {

using V = prx::VshMember;

const std::array<QString, TabCount> kTabTitles{
    QStringLiteral("XMB Colors"),   QStringLiteral("Alpha Channel"), QStringLiteral("Multiple Icons"),
    QStringLiteral("XMB Position"), QStringLiteral("Other"),         QStringLiteral("Path"),
    QStringLiteral("Menu"),
};

// Blanks kept as they stand. A save refuses the first eighteen number boxes
// while empty; the others fail only when their text is read.
const std::vector<BoxCaption> kCaptions{
    {V::XmbX, QStringLiteral("X :")},
    {V::XmbXInfobar, QStringLiteral("X (In Infobar) :")},
    {V::XmbXSubmenu, QStringLiteral(" X (In Submenu) :")},
    {V::XmbXGameSubmenu, QStringLiteral(" X (In Game Submenu) :")},
    {V::MuteX, QStringLiteral("Mute X :")},
    {V::MuteY, QStringLiteral("Mute Y :")},
    {V::MuteYShadow, QStringLiteral("Mute Y (Shadow) :")},
    {V::HoldY, QStringLiteral("Hold Y :")},
    {V::HoldYShadow, QStringLiteral("Hold Y (Shadow) :")},
    {V::ClockX, QStringLiteral("Clock X :")},
    {V::ClockY, QStringLiteral("Clock Y :")},
    {V::ClockXNoBattery, QStringLiteral("Clock X (No Battery) :")},
    {V::NetworkIconYUnfocused, QStringLiteral("Network Icon Y : (Unfocused)")},
    {V::MainIconYFocused, QStringLiteral("Main Icon Y : (Focused)")},
    {V::MainIconYUnfocused, QStringLiteral("Main Icon Y :       (Unfocused)")},
    {V::BmpSize, QStringLiteral("01-12.bmp Size :")},
    {V::BusyIconSpeed, QStringLiteral("Busy Icon Speed :")},
    {V::FocusedIconFadeOut, QStringLiteral("Fade out time of focused main icon :")},
    {V::AlphaAllMainIcons, QStringLiteral("All Main Icons :"), false},
    {V::AlphaFocusedMainIcon, QStringLiteral("Focused Main Icon :"), false},
    {V::MSOptionIconX, QStringLiteral("X (Icon) :"), false},
    {V::MSOptionIconY, QStringLiteral("Y (Icon) :"), false},
    {V::AlphaInfobarIcons, QStringLiteral("Icons when in Infobar : (UnFocused)"), false},
    {V::AlphaHighlightedText, QStringLiteral("Currently highlighted Text :"), false},
    {V::HoldX, QStringLiteral("Hold X :"), false},
    {V::HoldXShadow, QStringLiteral("Hold X (Shadow) :"), false},
    {V::MuteXShadow, QStringLiteral("Mute X (Shadow) :"), false},
    {V::AlphaMSOptionIcon, QStringLiteral("MS Option Icon :"), false},
    {V::MSIconPhoto, QStringLiteral("Photo MS Icon :")},
    {V::MSIconMusic, QStringLiteral("Music MS Icon :")},
    {V::MSIconVideo, QStringLiteral("Video MS Icon :")},
    {V::MSIconGame, QStringLiteral("Game MS Icon :")},
    {V::UMDIconPhoto, QStringLiteral("Photo UMD Icon :")},
    {V::UMDIconMusic, QStringLiteral("Music UMD Icon :")},
    {V::UMDIconVideo, QStringLiteral("Video UMD Icon :")},
    {V::UMDIconGame, QStringLiteral("Game UMD Icon :")},
    {V::UpdatePath1, QStringLiteral("UMD Update : 1")},
    {V::UpdatePath2, QStringLiteral("UMD Update : 2")},
    {V::UpdatePath3, QStringLiteral("UMD Update : 3")},
    {V::RCOPath1, QStringLiteral("RCO : 1")},
    {V::RCOPath2, QStringLiteral("RCO : 2")},
};

const std::vector<FrameSpec> kFrames{
    {"alphaGeneral",
     "General",
     TabAlpha,
     0,
     {V::AlphaAllMainIcons, V::AlphaFocusedMainIcon, V::AlphaMSOptionIcon}},
    {"alphaOther", "Other", TabAlpha, 0, {V::AlphaInfobarIcons, V::AlphaHighlightedText}},
    {"msIcons",
     "Multiple MS Icons",
     TabIcons,
     0,
     {V::MSIconPhoto, V::MSIconMusic, V::MSIconVideo, V::MSIconGame}},
    {"umdIcons",
     "Multiple UMD Icons",
     TabIcons,
     0,
     {V::UMDIconPhoto, V::UMDIconMusic, V::UMDIconVideo, V::UMDIconGame}},
    {"xmbPosition",
     "XMB Position",
     TabPosition,
     0,
     {V::XmbX, V::XmbXInfobar, V::XmbXSubmenu, V::XmbXGameSubmenu}},
    {"holdPosition", "Hold Position", TabPosition, 0, {V::HoldX, V::HoldY, V::HoldXShadow, V::HoldYShadow}},
    {"clockPosition", "Clock Position", TabPosition, 0, {V::ClockX, V::ClockY, V::ClockXNoBattery}},
    {"mutePosition", "Mute Position", TabPosition, 1, {V::MuteX, V::MuteY, V::MuteXShadow, V::MuteYShadow}},
    {"iconsPosition",
     "Icons Position",
     TabPosition,
     1,
     {V::NetworkIconYUnfocused, V::MainIconYFocused, V::MainIconYUnfocused}},
    {"msOptionPosition", "MS Option Position", TabPosition, 1, {V::MSOptionIconX, V::MSOptionIconY}},
    {"other", "Other", TabOther, 0, {V::BmpSize, V::BusyIconSpeed, V::FocusedIconFadeOut}},
};

const std::array<PathGroup, 2> kPathGroups{{
    {QStringLiteral("updatePathCaption"),
     QStringLiteral("UMD Update :"),
     {V::UpdatePath1, V::UpdatePath2, V::UpdatePath3},
     QStringLiteral("updatePathHint"),
     QStringLiteral("To hide the Update icon, Change the UPDATE dir to a fake dir...")},
    {QStringLiteral("rcoPathCaption"),
     QStringLiteral("RCO :"),
     {V::RCOPath1, V::RCOPath2},
     QStringLiteral("rcoPathHint"),
     QStringLiteral("To redirect RCO to MS, Change flash0:/ to ms0:/...")},
}};

const std::array<prx::VshMember, 2> kFormatMembers{V::FormatsEurope, V::FormatsUSJapan};
const std::array<QString, 2> kFormatColumns{QStringLiteral("Europe :"), QStringLiteral("US / Japan :")};
const std::array<QString, 5> kFormatRows{
    QStringLiteral("Date Format in XMB :"),
    QStringLiteral("Time Format in XMB :"),
    QStringLiteral("Date Format in ??? :"),
    QStringLiteral("Like Time Format in ??? :"),
    QStringLiteral("Unknow :"),
};
const std::array<int, 5> kFormatTypingLimits{5, 5, 5, 5, 2};
const std::array<QString, 6> kFormatLegend{
    QStringLiteral("%d : Day"),    QStringLiteral("%m : Month"),  QStringLiteral("%H : Hour"),
    QStringLiteral("%M : Minute"), QStringLiteral("%I : Unknow"), QStringLiteral("%p : Unknow"),
};

QString formatCaption(int row, int column) {
    return kFormatRows[static_cast<std::size_t>(row)].simplified() + QLatin1Char(' ') +
           kFormatColumns[static_cast<std::size_t>(column)].chopped(2);
}

QString valueCaption(prx::VshMember member, int element) {
    switch (prx::shapeOf(member)) {
    case prx::Shape::Colours: {
        const bool slim = member == V::TextColorsSlim || member == V::ContextColorsSlim;
        const bool text = member == V::TextColors || member == V::TextColorsSlim;
        const QString row =
            slim ? QStringLiteral("Item%1").arg(element + 13) : monthCaption(QLocale(), element + 1);
        return row + (text ? QStringLiteral(" Text") : QStringLiteral(" Infobar"));
    }
    case prx::Shape::Formats:
        return formatCaption(element, member == V::FormatsEurope ? 0 : 1);
    case prx::Shape::Menu:
        return menuStepName(element);
    default:
        break;
    }
    for (const BoxCaption& c : kCaptions)
        if (c.member == static_cast<int>(member))
            return stepName(c.caption);
    return {};
}

QString menuStepName(int row) {
    return QStringLiteral("Menu Entry %1").arg(row + 1);
}

} // namespace qm::ui::vsh
