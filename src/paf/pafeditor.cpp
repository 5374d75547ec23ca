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
const QString kColor = QStringLiteral("\"Color\"");

// Made in this order, which is also the order the Tab key walks the boxes.
const std::vector<FrameSpec> kFrames{
    {QStringLiteral("mainMenuPosition"),
     QStringLiteral("Position"),
     TabMainMenu,
     0,
     {P::MainIconYFocused, P::MainMenuTextY, P::MainIconYUnfocused}},
    {QStringLiteral("mainMenuSize"),
     QStringLiteral("Size"),
     TabMainMenu,
     0,
     {P::MainIconSizeUnfocused, P::MainMenuTextSize}},
    {QStringLiteral("mainMenuColor"),
     kColor,
     TabMainMenu,
     1,
     {P::MainMenuIconFontColor, P::MainMenuFontColor}},
    {QStringLiteral("mainMenuAlpha"),
     QStringLiteral("Alpha Channel"),
     TabMainMenu,
     1,
     {P::MainIconAlphaUnfocused, P::MainIconAlphaFocused}},
    {QStringLiteral("mainMenuOther"), QStringLiteral("Other Value"), TabMainMenu, 1, {P::MainIconSpacing}},
    {QStringLiteral("submenuSpace"),
     QStringLiteral("Space"),
     TabSubmenu,
     0,
     {P::SubiconSpacing, P::MainSubiconSpacing}},
    {QStringLiteral("submenuColor"),
     kColor,
     TabSubmenu,
     0,
     {P::SubmenuFontLineColor, P::SubiconColorUnfocused}},
    {QStringLiteral("submenuShadowColor"),
     kColor,
     TabSubmenu,
     0,
     {P::SubiconShadowWidth, P::SubiconShadowHeight}},
    {QStringLiteral("submenuSize"),
     QStringLiteral("Size"),
     TabSubmenu,
     1,
     {P::OtherSubmenuIconSize, P::SettingsSubmenuIconSize}},
    {QStringLiteral("submenuAlpha"),
     QStringLiteral("Alpha Channel"),
     TabSubmenu,
     1,
     {P::SubmenuTextAlpha, P::SubiconAlphaUnfocused}},
    {QStringLiteral("speed"),
     QStringLiteral("Speed"),
     TabOther,
     0,
     {P::VerticalScrollSpeed, P::HorizontalScrollSpeed, P::GlowBlinkSpeed}},
    {QStringLiteral("size"),
     QStringLiteral("Size"),
     TabOther,
     1,
     {P::MSContentsSizeUnfocused, P::XmbOverallSize}},
};

} // namespace

PafEditor::PafEditor(QWidget* parent)
    : EditorForm(QStringLiteral("PafEditor"), kCaption, QSize(462, 401), prx::ModuleKind::Paf, parent),
      m_boxes(new ValueBoxes(this, kCaptions)) {
    m_tabs = addTabs(QStringLiteral("tabs"), 3);
    for (int tab = TabMainMenu; tab <= TabOther; ++tab) {
        std::vector<std::vector<QWidget*>> columns(2);
        for (const FrameSpec& f : kFrames)
            if (f.tab == tab)
                columns[static_cast<std::size_t>(f.column)].push_back(m_boxes->makeFrame(f, this));
        m_tabs->addTab(makeColumnsPage(kTabTitles[static_cast<std::size_t>(tab)], columns),
                       kTabTitles[static_cast<std::size_t>(tab)]);
    }
    // The caption of MainIconYUnfocused breaks into three lines at its runs of blanks.
    QLabel* caption = label(P::MainIconYUnfocused);
    caption->setFixedWidth(widestPart(caption->fontMetrics(), caption->text()) +
                           caption->fontMetrics().averageCharWidth() / 2);
    m_boxes->setEnabled(false);
}

PafEditor::~PafEditor() {
    m_boxes->detach();
}

QLineEdit* PafEditor::box(prx::PafMember member) const {
    return m_boxes->box(static_cast<int>(member));
}

QLabel* PafEditor::label(prx::PafMember member) const {
    return m_boxes->label(static_cast<int>(member));
}

QString PafEditor::valueCaption(prx::PafMember member) {
    for (const BoxCaption& c : kCaptions)
        if (c.member == static_cast<int>(member))
            return stepName(c.caption);
    return {};
}

void PafEditor::showNoModule() {
    m_boxes->setEnabled(false);
}

void PafEditor::showModule() {
    m_boxes->showValues();
    m_boxes->setEnabled(true);
    if (!values().has(P::MainIconYUnfocused)) {
        box(P::MainIconYUnfocused)->setEnabled(false);
        label(P::MainIconYUnfocused)->setEnabled(false);
        box(P::MainIconYUnfocused)->clear();
    }
}

Status PafEditor::checkEntries() const {
    QLineEdit* refused = nullptr;
    Status s = m_boxes->checkEntries(refused);
    if (!s)
        markRefused(refused);
    return s;
}

void PafEditor::localeChanged() {
    m_boxes->setLocale(numberLocale());
}

} // namespace qm::ui
