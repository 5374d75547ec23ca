#include "pafeditor.h"

#include "prx/catalogue.h"
#include "prx/rules.h"
#include "widgets/captionlabel.h"
#include "widgets/dialogs.h"
#include "widgets/numberkeyfilter.h"
#include "widgets/valuebinding.h"
#include "widgets/valueframe.h"
#include "widgets/windowhelpers.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include <vector>

namespace qm::ui {
namespace {

// Label captions by box index, blanks and all: box 8's runs of blanks are
// where its label breaks into three lines.
const std::array<QString, PafEditor::kBoxCount> kCaptions{
    QStringLiteral("Vertical Scrolling :"),
    QStringLiteral("Horizontal Scrolling :"),
    QStringLiteral("MS Contents : (Unfocused)"),
    QStringLiteral("Glow Blinking :"),
    QStringLiteral("XMB Overall :"),
    QStringLiteral("Space between Main Icons :"),
    QStringLiteral("Main Icon Y : (Focused)"),
    QStringLiteral("Main Menu Text Y :"),
    QStringLiteral("Main Icon Y :       (Unfocused)          (Not Network Icon)"),
    QStringLiteral("Main Icon : (Unfocused)"),
    QStringLiteral("Text Main Menu :"),
    QStringLiteral("Main Menu Icons and Font :"),
    QStringLiteral("Main Menu Font :"),
    QStringLiteral("Submenu Text :"),
    QStringLiteral("Main Icon : (Unfocused)"),
    QStringLiteral("Main Icon : (Focused)"),
    QStringLiteral("Between Subicons :"),
    QStringLiteral("Between  Main And Subicons :"),
    QStringLiteral("Submenus Font and Line :"),
    QStringLiteral("Subicons : (Unfocused)"),
    QStringLiteral("Subicons : (Unfocused)"),
    QStringLiteral("Other Submenu Icons :"),
    QStringLiteral("Settings Submenu Icon :"),
    QStringLiteral("Subicon Shadows Width :"),
    QStringLiteral("Subicon Shadows Height :"),
};

struct FramePlan {
    QString title;
    std::vector<int> boxes; // top to bottom
};

QString colorTitle() {
    return QStringLiteral("\"Color\"");
}

// The frames by index, with the boxes each holds.
const std::array<FramePlan, 12>& framePlans() {
    static const std::array<FramePlan, 12> plans{{
        {QStringLiteral("Position"), {6, 7, 8}},
        {QStringLiteral("Size"), {9, 10}},
        {colorTitle(), {11, 12}},
        {QStringLiteral("Alpha Channel"), {14, 15}},
        {QStringLiteral("Other Value"), {5}},
        {QStringLiteral("Space"), {16, 17}},
        {colorTitle(), {18, 19}},
        {colorTitle(), {23, 24}},
        {QStringLiteral("Size"), {21, 22}},
        {QStringLiteral("Alpha Channel"), {13, 20}},
        {QStringLiteral("Speed"), {0, 1, 3}},
        {QStringLiteral("Size"), {2, 4}},
    }};
    return plans;
}

// The tabs and their two columns of frames, left column first; frames are
// made in this order, which is also the order the Tab key walks the boxes.
struct TabPlan {
    QString title;
    std::vector<int> left;
    std::vector<int> right;
};

const std::array<TabPlan, 3>& tabPlans() {
    static const std::array<TabPlan, 3> plans{{
        {QStringLiteral("Main Menu"), {0, 1}, {2, 3, 4}},
        {QStringLiteral("Submenu"), {5, 6, 7}, {8, 9}},
        {QStringLiteral("Other"), {10}, {11}},
    }};
    return plans;
}

} // namespace

using P = prx::PafMember;

const std::array<prx::PafMember, PafEditor::kBoxCount> PafEditor::kBoxMembers{
    P::VerticalScrollSpeed,   P::HorizontalScrollSpeed, P::MSContentsSizeUnfocused, P::GlowBlinkSpeed,
    P::XmbOverallSize,        P::MainIconSpacing,       P::MainIconYFocused,        P::MainMenuTextY,
    P::MainIconYUnfocused,    P::MainIconSizeUnfocused, P::MainMenuTextSize,        P::MainMenuIconFontColor,
    P::MainMenuFontColor,     P::SubmenuTextAlpha,      P::MainIconAlphaUnfocused,  P::MainIconAlphaFocused,
    P::SubiconSpacing,        P::MainSubiconSpacing,    P::SubmenuFontLineColor,    P::SubiconColorUnfocused,
    P::SubiconAlphaUnfocused, P::OtherSubmenuIconSize,  P::SettingsSubmenuIconSize, P::SubiconShadowWidth,
    P::SubiconShadowHeight,
};

PafEditor::PafEditor(QWidget* parent)
    : EditorForm(QStringLiteral("PafEditor"), kCaption, QSize(462, 401), prx::ModuleKind::Paf, parent) {
    m_keyFilter = new NumberKeyFilter(this);
    m_keyFilter->setLocale(numberLocale());

    m_tabs = addTabs(QStringLiteral("PAFTabs"), 3);

    const int boxWidth = numberBoxWidth(QFontMetrics(font()));
    auto makeFrame = [&](int index) -> QWidget* {
        const FramePlan& plan = framePlans()[static_cast<std::size_t>(index)];
        QGroupBox* frame = makeValueFrame(indexedName(QStringLiteral("framePAF"), index), plan.title, this);
        for (int box : plan.boxes) {
            const auto i = static_cast<std::size_t>(box);
            auto* edit = new QLineEdit(frame);
            edit->setObjectName(indexedName(QStringLiteral("txtPAFPRXValue"), box));
            edit->setFixedWidth(boxWidth);
            m_keyFilter->attach(edit);
            CaptionLabel* label =
                addValueRow(frame, indexedName(QStringLiteral("lblPAFPRXValue"), box), kCaptions[i], edit);
            // Box 8's caption breaks into three lines at its runs of blanks.
            if (box == kBoxMainIconYUnfocused)
                label->setFixedWidth(widestPart(label->fontMetrics(), kCaptions[i]) +
                                     label->fontMetrics().averageCharWidth() / 2);
            m_labels[i] = label;
            m_boxes[i] = edit;
            m_bindings[i] = new ValueBinding(this, edit, static_cast<int>(kBoxMembers[i]),
                                             kCaptions[i].simplified().remove(QStringLiteral(" :")));
        }
        m_frames[static_cast<std::size_t>(index)] = frame;
        return frame;
    };

    for (const TabPlan& tab : tabPlans()) {
        std::vector<std::vector<QWidget*>> columns(2);
        for (int index : tab.left)
            columns[0].push_back(makeFrame(index));
        for (int index : tab.right)
            columns[1].push_back(makeFrame(index));
        m_tabs->addTab(makeColumnsPage(tab.title, columns), tab.title);
    }

    setControlsEnabled(false);
}

void PafEditor::showNoModule() {
    setControlsEnabled(false);
}

void PafEditor::showModule() {
    for (ValueBinding* binding : m_bindings)
        binding->show();
    setControlsEnabled(true);
    if (!values().has(kBoxMembers[kBoxMainIconYUnfocused]))
        disableFollowingBox();
}

Status PafEditor::checkEntries() const {
    // Box 8 is not part of the empty check: an empty box 8 fails to convert instead.
    for (int box = 0; box < kBoxCount; ++box) {
        const ValueBinding* b = m_bindings[static_cast<std::size_t>(box)];
        if (box != kBoxMainIconYUnfocused && b->box()->isEnabled() && b->empty()) {
            markRefused(b->box());
            return Error::check(prx::kMsgValueEmpty,
                                QString(prx::memberName(kBoxMembers[static_cast<std::size_t>(box)])));
        }
    }
    for (const ValueBinding* b : m_bindings)
        if (auto s = b->entry(); !s) {
            markRefused(b->box());
            Error e = s.error();
            e.detail = QString(prx::memberName(static_cast<prx::PafMember>(b->member()))) +
                       (e.detail.isEmpty() ? QString() : QStringLiteral(": ") + e.detail);
            return e;
        }
    return {};
}

void PafEditor::setControlsEnabled(bool enabled) {
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        m_boxes[i]->setEnabled(enabled);
        m_labels[i]->setEnabled(enabled);
    }
}

void PafEditor::disableFollowingBox() {
    const auto i = static_cast<std::size_t>(kBoxMainIconYUnfocused);
    m_boxes[i]->setEnabled(false);
    m_labels[i]->setEnabled(false);
    m_boxes[i]->clear();
}

void PafEditor::localeChanged() {
    m_keyFilter->setLocale(numberLocale());
}

} // namespace qm::ui
