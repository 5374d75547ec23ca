#include "vshlayout.h"

namespace qm::ui::vsh {

using V = prx::VshMember;

const std::array<QString, TabCount> kTabTitles{
    QStringLiteral("XMB Colors"),   QStringLiteral("Alpha Channel"), QStringLiteral("Multiple Icons"),
    QStringLiteral("XMB Position"), QStringLiteral("Other"),         QStringLiteral("Path"),
    QStringLiteral("Menu"),
};

const std::array<NumberBox, kNumberBoxCount> kNumberBoxes{{
    {V::XmbX, 0, QStringLiteral("X :")},
    {V::XmbXInfobar, 17, QStringLiteral("X (In Infobar) :")},
    {V::XmbXSubmenu, 20, QStringLiteral(" X (In Submenu) :")},
    {V::XmbXGameSubmenu, 21, QStringLiteral(" X (In Game Submenu) :")},
    {V::MuteX, 5, QStringLiteral("Mute X :")},
    {V::MuteY, 6, QStringLiteral("Mute Y :")},
    {V::MuteYShadow, 4, QStringLiteral("Mute Y (Shadow) :")},
    {V::HoldY, 3, QStringLiteral("Hold Y :")},
    {V::HoldYShadow, 2, QStringLiteral("Hold Y (Shadow) :")},
    {V::ClockX, 8, QStringLiteral("Clock X :")},
    {V::ClockY, 7, QStringLiteral("Clock Y :")},
    {V::ClockXNoBattery, 9, QStringLiteral("Clock X (No Battery) :")},
    {V::NetworkIconYUnfocused, 18, QStringLiteral("Network Icon Y : (Unfocused)")},
    {V::MainIconYFocused, 24, QStringLiteral("Main Icon Y : (Focused)")},
    {V::MainIconYUnfocused, 25, QStringLiteral("Main Icon Y :       (Unfocused)")},
    {V::BmpSize, 19, QStringLiteral("01-12.bmp Size :")},
    {V::BusyIconSpeed, 1, QStringLiteral("Busy Icon Speed :")},
    {V::FocusedIconFadeOut, 16, QStringLiteral("Fade out time of focused main icon :")},
    {V::AlphaAllMainIcons, 13, QStringLiteral("All Main Icons :")},
    {V::AlphaFocusedMainIcon, 15, QStringLiteral("Focused Main Icon :")},
    {V::MSOptionIconX, 11, QStringLiteral("X (Icon) :")},
    {V::MSOptionIconY, 12, QStringLiteral("Y (Icon) :")},
    {V::AlphaInfobarIcons, 14, QStringLiteral("Icons when in Infobar : (UnFocused)")},
    {V::AlphaHighlightedText, 10, QStringLiteral("Currently highlighted Text :")},
    {V::HoldX, 26, QStringLiteral("Hold X :")},
    {V::HoldXShadow, 27, QStringLiteral("Hold X (Shadow) :")},
    {V::MuteXShadow, 28, QStringLiteral("Mute X (Shadow) :")},
    {V::AlphaMSOptionIcon, 29, QStringLiteral("MS Option Icon :")},
}};

const std::array<prx::VshMember, kEditableTextCount> kTextBoxMembers{
    V::MSIconPhoto,  V::MSIconMusic,  V::MSIconVideo, V::MSIconGame,  V::UMDIconPhoto,
    V::UMDIconMusic, V::UMDIconVideo, V::UMDIconGame, V::UpdatePath1, V::UpdatePath2,
    V::UpdatePath3,  V::RCOPath1,     V::RCOPath2,
};

const std::vector<Frame> kNumberFrames{
    {QStringLiteral("frameACGen"), QStringLiteral("General"), TabAlpha, 0, {18, 19, 27}},
    {QStringLiteral("frameACOther"), QStringLiteral("Other"), TabAlpha, 0, {22, 23}},
    {QStringLiteral("frameXMB"), QStringLiteral("XMB Position"), TabPosition, 0, {0, 1, 2, 3}},
    {QStringLiteral("frameHold"), QStringLiteral("Hold Position"), TabPosition, 0, {24, 7, 25, 8}},
    {QStringLiteral("frameClock"), QStringLiteral("Clock Position"), TabPosition, 0, {9, 10, 11}},
    {QStringLiteral("frameMute"), QStringLiteral("Mute Position"), TabPosition, 1, {4, 5, 26, 6}},
    {QStringLiteral("frameIcons"), QStringLiteral("Icons Position"), TabPosition, 1, {12, 13, 14}},
    {QStringLiteral("frameMS"), QStringLiteral("MS Option Position"), TabPosition, 1, {20, 21}},
    {QStringLiteral("frameOther"), QStringLiteral("Other"), TabOther, 0, {15, 16, 17}},
};

const std::array<IconFrame, 2> kIconFrames{{
    {QStringLiteral("frameMultMS"),
     QStringLiteral("Multiple MS Icons"),
     QStringLiteral("lblMultMSIcons"),
     0,
     {QStringLiteral("Photo MS Icon :"), QStringLiteral("Music MS Icon :"), QStringLiteral("Video MS Icon :"),
      QStringLiteral("Game MS Icon :")}},
    {QStringLiteral("frameMultUMD"),
     QStringLiteral("Multiple UMD Icons"),
     QStringLiteral("lblMultUMDIcon"),
     4,
     {QStringLiteral("Photo UMD Icon :"), QStringLiteral("Music UMD Icon :"),
      QStringLiteral("Video UMD Icon :"), QStringLiteral("Game UMD Icon :")}},
}};

const std::array<PathGroup, 2> kPathGroups{{
    {22,
     QStringLiteral("UMD Update :"),
     {8, 9, 10},
     QStringLiteral("updatePathHint"),
     QStringLiteral("To hide the Update icon, Change the UPDATE dir to a fake dir...")},
    {23,
     QStringLiteral("RCO :"),
     {11, 12},
     QStringLiteral("rcoPathHint"),
     QStringLiteral("To redirect RCO to MS, Change flash0:/ to ms0:/...")},
}};

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

QString sharedCaptionName(const QString& caption, int position) {
    return caption.simplified() + QLatin1Char(' ') + QString::number(position);
}

} // namespace qm::ui::vsh
