#include "vsheditor.h"

#include "colorgrid.h"
#include "menutab.h"
#include "prx/catalogue.h"
#include "prx/rules.h"
#include "widgets/captionlabel.h"
#include "widgets/typinglimit.h"
#include "widgets/valueboxes.h"
#include "widgets/valueframe.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace qm::ui {
namespace {

using namespace vsh;
using V = prx::VshMember;

QLabel* makeCaption(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// Seven tabs share one row of a narrow window: the tabs' padding shrinks
// until every caption fits.
class CompactTabStyle final : public QProxyStyle {
public:
    explicit CompactTabStyle(int space) : m_space(space) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (metric == PM_TabBarTabHSpace)
            return m_space;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

private:
    int m_space;
};

void fitTabsInOneRow(QTabWidget* tabs, int room) {
    QTabBar* bar = tabs->tabBar();
    const QFontMetrics metrics(bar->font());
    int text = 0;
    for (int i = 0; i < bar->count(); ++i)
        text += metrics.horizontalAdvance(bar->tabText(i));
    const int usual = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
    const int space = std::clamp((room - text) / std::max(1, bar->count()), 4, std::max(4, usual));
    if (space >= usual)
        return;
    auto* style = new CompactTabStyle(space);
    style->setParent(bar);
    bar->setStyle(style);
}

} // namespace

VshEditor::VshEditor(doc::EditingDocument& document, QWidget* parent)
    : EditorForm(QStringLiteral("VshEditor"), kCaption, QSize(462, 457), prx::ModuleKind::Vsh, kCaptions,
                 document, parent) {
    QTabWidget* tabs = addTabs(QStringLiteral("tabs"), 8);
    tabs->setUsesScrollButtons(false);
    tabs->tabBar()->setElideMode(Qt::ElideNone);

    m_grid = new VshColorGrid(document);
    m_grid->setAccessibleName(kTabTitles[TabColors]);

    // Made tab by tab, so the Tab key walks the boxes in order.
    tabs->addTab(m_grid, kTabTitles[TabColors]);
    for (Tab tab : {TabAlpha, TabIcons, TabPosition, TabOther}) {
        std::vector<std::vector<QWidget*>> columns = makeFrames(tab);
        if (tab == TabOther)
            columns.front().push_back(makeFormatFrame());
        tabs->addTab(makeColumnsPage(kTabTitles[tab], columns), kTabTitles[tab]);
    }
    tabs->addTab(makePathPage(), kTabTitles[TabPath]);
    m_menu = new VshMenuTab(document);
    m_menu->setAccessibleName(kTabTitles[TabMenu]);
    tabs->addTab(m_menu, kTabTitles[TabMenu]);

    fitTabsInOneRow(tabs, width() - 2 * 8 - 6);

    // A window without a module: nothing to edit, but every tab can be looked at.
    setControlsEnabled(false);
    m_grid->enableHeadings();
    localeChanged();
}

std::vector<std::vector<QWidget*>> VshEditor::makeFrames(Tab tab) {
    const int textWidth =
        QFontMetrics(font()).horizontalAdvance(QString(kIconNameTypingLimit, QLatin1Char('x'))) + 8;
    std::vector<std::vector<QWidget*>> columns;
    for (const FrameSpec& f : kFrames) {
        if (f.tab != tab)
            continue;
        QGroupBox* frame = boxes()->makeFrame(f, this, textWidth);
        for (int member : f.members)
            if (prx::shapeOf(static_cast<V>(member)) == prx::Shape::Text)
                setTypingLimit(boxes()->box(member), kIconNameTypingLimit);
        columns.resize(std::max<std::size_t>(columns.size(), static_cast<std::size_t>(f.column) + 1));
        columns[static_cast<std::size_t>(f.column)].push_back(frame);
    }
    return columns;
}

QGroupBox* VshEditor::makeFormatFrame() {
    QGroupBox* frame = makeValueFrame(QStringLiteral("formats"), QStringLiteral("Hours / Date Format"), this);
    auto* grid = static_cast<QGridLayout*>(frame->layout());
    grid->setHorizontalSpacing(kFrameSpacing);
    grid->setVerticalSpacing(kFrameSpacing - 2);
    const int width = QFontMetrics(font()).horizontalAdvance(QStringLiteral("%d/%m/%")) + 8;
    for (int c = 0; c < 2; ++c)
        grid->addWidget(makeCaption(QString(prx::memberName(kFormatMembers[static_cast<std::size_t>(c)])) +
                                        QStringLiteral("Heading"),
                                    kFormatColumns[static_cast<std::size_t>(c)], frame),
                        0, c + 1);
    for (int r = 0; r < 5; ++r) {
        auto* caption = new CaptionLabel(kFormatRows[static_cast<std::size_t>(r)], frame);
        caption->setObjectName(QStringLiteral("formatRow%1").arg(r + 1));
        grid->addWidget(caption, r + 1, 0);
        for (int c = 0; c < 2; ++c) {
            const V member = kFormatMembers[static_cast<std::size_t>(c)];
            auto* box = new QLineEdit(frame);
            box->setObjectName(QStringLiteral("%1[%2]").arg(prx::memberName(member)).arg(r));
            box->setFixedWidth(width);
            box->setAccessibleName(formatCaption(r, c));
            setTypingLimit(box, kFormatTypingLimits[static_cast<std::size_t>(r)]);
            m_formats[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)] = box;
            grid->addWidget(box, r + 1, c + 1);
        }
        caption->setBuddy(m_formats[0][static_cast<std::size_t>(r)]);
    }
    auto* legend = new QGridLayout;
    legend->setHorizontalSpacing(kFrameSpacing * 2);
    legend->setVerticalSpacing(0);
    for (int i = 0; i < 6; ++i)
        legend->addWidget(makeCaption(QStringLiteral("legend%1").arg(i + 1),
                                      kFormatLegend[static_cast<std::size_t>(i)], frame),
                          i / 3, i % 3);
    grid->addLayout(legend, 6, 0, 1, 3);
    QLabel* notWritten = makeCaption(QStringLiteral("notWritten"), kFormatNotWritten, frame);
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(font().pointSizeF());
    notWritten->setFont(arial);
    QPalette red = notWritten->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        red.setColor(group, QPalette::WindowText, Qt::red);
    notWritten->setPalette(red);
    grid->addWidget(notWritten, 7, 0, 1, 3);
    // The formats are shown, never written.
    frame->setEnabled(false);
    m_formatFrame = frame;
    return frame;
}

QWidget* VshEditor::makePathPage() {
    auto* page = new QWidget;
    page->setAccessibleName(kTabTitles[TabPath]);
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->setSpacing(4);
    for (const PathGroup& group : kPathGroups) {
        QLabel* caption = makeCaption(group.name, group.caption, page);
        outer->addWidget(caption);
        auto* row = new QHBoxLayout;
        auto* column = new QVBoxLayout;
        column->setSpacing(4);
        for (V member : group.members)
            column->addWidget(boxes()->makeBox(static_cast<int>(member), page));
        caption->setBuddy(box(group.members.front()));
        QLabel* hint = makeCaption(group.hintName, group.hint, page);
        hint->setWordWrap(true);
        hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_pathLabels.push_back(caption);
        m_pathLabels.push_back(hint);
        row->addLayout(column, 3);
        row->addWidget(hint, 2);
        outer->addLayout(row);
        outer->addSpacing(12);
    }
    outer->addStretch(1);
    return page;
}

QLineEdit* VshEditor::formatBox(prx::VshMember member, int element) const {
    const std::size_t column = member == V::FormatsEurope ? 0 : 1;
    return m_formats[column][static_cast<std::size_t>(element)];
}

void VshEditor::localeChanged() {
    m_grid->setMonthNames(numberLocale());
}

void VshEditor::showNoModule() {
    setControlsEnabled(false);
}

void VshEditor::showModule() {
    boxes()->showValues();
    showFormats();
    m_grid->showColours();
    m_menu->showEntries();
    setControlsEnabled(true);
    applyReleaseLimits();
}

void VshEditor::showFormats() {
    for (std::size_t c = 0; c < kFormatMembers.size(); ++c)
        if (values().has(kFormatMembers[c]))
            for (std::size_t k = 0; k < 5; ++k) {
                m_formats[c][k]->setText(values().formats(kFormatMembers[c])[k]);
                m_formats[c][k]->setCursorPosition(0);
            }
}

void VshEditor::setControlsEnabled(bool enabled) {
    boxes()->setEnabled(enabled);
    for (QLabel* label : m_pathLabels)
        label->setEnabled(enabled);
    m_grid->setMonthsEnabled(enabled);
    m_grid->setSlimEnabled(enabled);
    m_menu->setControlsEnabled(enabled);
}

void VshEditor::applyReleaseLimits() {
    const prx::ModuleValues& v = values();
    for (const BoxCaption& c : kCaptions) {
        const auto member = static_cast<V>(c.member);
        if (prx::shapeOf(member) == prx::Shape::Text || prx::editable(v, member))
            continue;
        // A value that follows another is shown but not edited.
        box(member)->setEnabled(false);
        if (QLabel* caption = label(member))
            caption->setEnabled(false);
        if (!v.has(member))
            box(member)->clear();
    }
    if (!v.has(V::TextColorsSlim))
        m_grid->setSlimEnabled(false);
    m_menu->applyRelease();
}

} // namespace qm::ui
