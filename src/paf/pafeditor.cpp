#include "pafeditor.h"

#include "widgets/captionlabel.h"
#include "widgets/valueboxes.h"
#include "widgets/valueframe.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include <vector>

namespace qm::ui {
namespace {

using P = prx::PafMember;

// Captions, blanks and all, in the order a save checks the boxes.
// MainIconYUnfocused is left out of the empty check: an empty box fails to
// read instead. Its runs of blanks are where its caption breaks into three lines.
const std::vector<BoxCaption> kCaptions{
    {P::VerticalScrollSpeed, QStringLiteral("Vertical Scrolling :")},
    {P::HorizontalScrollSpeed, QStringLiteral("Horizontal Scrolling :")},
    {P::MSContentsSizeUnfocused, QStringLiteral("MS Contents : (Unfocused)")},
    {P::GlowBlinkSpeed, QStringLiteral("Glow Blinking :")},
    {P::XmbOverallSize, QStringLiteral("XMB Overall :")},
    {P::MainIconSpacing, QStringLiteral("Space between Main Icons :")},
    {P::MainIconYFocused, QStringLiteral("Main Icon Y : (Focused)")},
    {P::MainMenuTextY, QStringLiteral("Main Menu Text Y :")},
    {P::MainIconYUnfocused, QStringLiteral("Main Icon Y :       (Unfocused)          (Not Network Icon)"),
     false},
    {P::MainIconSizeUnfocused, QStringLiteral("Main Icon : (Unfocused)")},
    {P::MainMenuTextSize, QStringLiteral("Text Main Menu :")},
    {P::MainMenuIconFontColor, QStringLiteral("Main Menu Icons and Font :")},
    {P::MainMenuFontColor, QStringLiteral("Main Menu Font :")},
    {P::SubmenuTextAlpha, QStringLiteral("Submenu Text :")},
    {P::MainIconAlphaUnfocused, QStringLiteral("Main Icon : (Unfocused)")},
    {P::MainIconAlphaFocused, QStringLiteral("Main Icon : (Focused)")},
    {P::SubiconSpacing, QStringLiteral("Between Subicons :")},
    {P::MainSubiconSpacing, QStringLiteral("Between  Main And Subicons :")},
    {P::SubmenuFontLineColor, QStringLiteral("Submenus Font and Line :")},
    {P::SubiconColorUnfocused, QStringLiteral("Subicons : (Unfocused)")},
    {P::SubiconAlphaUnfocused, QStringLiteral("Subicons : (Unfocused)")},
    {P::OtherSubmenuIconSize, QStringLiteral("Other Submenu Icons :")},
    {P::SettingsSubmenuIconSize, QStringLiteral("Settings Submenu Icon :")},
    {P::SubiconShadowWidth, QStringLiteral("Subicon Shadows Width :")},
    {P::SubiconShadowHeight, QStringLiteral("Subicon Shadows Height :")},
};

enum Tab { TabMainMenu, TabSubmenu, TabOther };
const std::array<QString, 3> kTabTitles{QStringLiteral("Main Menu"), QStringLiteral("Submenu"),
                                        QStringLiteral("Other")};
const char* const kColor = "\"Color\"";

// Made in this order, which is also the order the Tab key walks the boxes.
const std::vector<FrameSpec> kFrames{
    {"mainMenuPosition",
     "Position",
     TabMainMenu,
     0,
     {P::MainIconYFocused, P::MainMenuTextY, P::MainIconYUnfocused}},
    {"mainMenuSize", "Size", TabMainMenu, 0, {P::MainIconSizeUnfocused, P::MainMenuTextSize}},
    {"mainMenuColor", kColor, TabMainMenu, 1, {P::MainMenuIconFontColor, P::MainMenuFontColor}},
    {"mainMenuAlpha", "Alpha Channel", TabMainMenu, 1, {P::MainIconAlphaUnfocused, P::MainIconAlphaFocused}},
    {"mainMenuOther", "Other Value", TabMainMenu, 1, {P::MainIconSpacing}},
    {"submenuSpace", "Space", TabSubmenu, 0, {P::SubiconSpacing, P::MainSubiconSpacing}},
    {"submenuColor", kColor, TabSubmenu, 0, {P::SubmenuFontLineColor, P::SubiconColorUnfocused}},
    {"submenuShadowColor", kColor, TabSubmenu, 0, {P::SubiconShadowWidth, P::SubiconShadowHeight}},
    {"submenuSize", "Size", TabSubmenu, 1, {P::OtherSubmenuIconSize, P::SettingsSubmenuIconSize}},
    {"submenuAlpha", "Alpha Channel", TabSubmenu, 1, {P::SubmenuTextAlpha, P::SubiconAlphaUnfocused}},
    {"speed", "Speed", TabOther, 0, {P::VerticalScrollSpeed, P::HorizontalScrollSpeed, P::GlowBlinkSpeed}},
    {"size", "Size", TabOther, 1, {P::MSContentsSizeUnfocused, P::XmbOverallSize}},
};

} // namespace

PafEditor::PafEditor(doc::EditingDocument& document, QWidget* parent)
    : EditorForm(QStringLiteral("PafEditor"), kCaption, QSize(462, 401), prx::ModuleKind::Paf, kCaptions,
                 document, parent) {
    QTabWidget* tabs = addTabs(QStringLiteral("tabs"), 3);
    for (int tab = TabMainMenu; tab <= TabOther; ++tab) {
        std::vector<std::vector<QWidget*>> columns(2);
        for (const FrameSpec& f : kFrames)
            if (f.tab == tab)
                columns[static_cast<std::size_t>(f.column)].push_back(boxes()->makeFrame(f, this));
        tabs->addTab(makeColumnsPage(kTabTitles[static_cast<std::size_t>(tab)], columns),
                     kTabTitles[static_cast<std::size_t>(tab)]);
    }
    // The caption of MainIconYUnfocused breaks into three lines at its runs of blanks.
    QLabel* caption = label(P::MainIconYUnfocused);
    caption->setFixedWidth(widestPart(caption->fontMetrics(), caption->text()) +
                           caption->fontMetrics().averageCharWidth() / 2);
    boxes()->setEnabled(false);
}

QString PafEditor::valueCaption(prx::PafMember member) {
    for (const BoxCaption& c : kCaptions)
        if (c.member == static_cast<int>(member))
            return stepName(c.caption);
    return {};
}

void PafEditor::showNoModule() {
    boxes()->setEnabled(false);
}

void PafEditor::showModule() {
    boxes()->showValues();
    boxes()->setEnabled(true);
    if (!values().has(P::MainIconYUnfocused)) {
        box(P::MainIconYUnfocused)->setEnabled(false);
        label(P::MainIconYUnfocused)->setEnabled(false);
        box(P::MainIconYUnfocused)->clear();
    }
}

} // namespace qm::ui
