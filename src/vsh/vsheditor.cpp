#include "vsheditor.h"

#include "colorgrid.h"
#include "menutab.h"
#include "prx/catalogue.h"
#include "prx/menu.h"
#include "prx/rules.h"
#include "widgets/captionlabel.h"
#include "widgets/colorbox.h"
#include "widgets/dialogs.h"
#include "widgets/numberkeyfilter.h"
#include "widgets/typinglimit.h"
#include "widgets/valuebinding.h"
#include "widgets/valueframe.h"
#include "widgets/windowhelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace qm::ui {
namespace {

using namespace vsh;

QLineEdit* makeTextBox(int index, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(indexedName(QStringLiteral("txtPRXValue2"), index));
    return box;
}

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

// A box's caption as the name of its edits: "Clock X :" edits are "Clock X".
QString stepName(const QString& caption) {
    QString name = caption.simplified();
    name.replace(QStringLiteral(" :"), QString());
    return name.trimmed();
}

} // namespace

VshEditor::VshEditor(QWidget* parent)
    : EditorForm(QStringLiteral("VshEditor"), kCaption, QSize(462, 457), prx::ModuleKind::Vsh, parent) {
    m_keyFilter = new NumberKeyFilter(this);
    m_keyFilter->setLocale(numberLocale());

    m_tabs = addTabs(QStringLiteral("VSHTabs"), 8);
    m_tabs->setUsesScrollButtons(false);
    m_tabs->tabBar()->setElideMode(Qt::ElideNone);

    m_grid = new VshColorGrid;
    m_grid->setAccessibleName(kTabTitles[TabColors]);
    connect(m_grid, &VshColorGrid::colorClicked, this, &VshEditor::pickColor);

    // Made tab by tab, so the Tab key walks the boxes in order.
    m_tabs->addTab(m_grid, kTabTitles[TabColors]);
    m_tabs->addTab(makeColumnsPage(kTabTitles[TabAlpha], makeNumberFrames(TabAlpha)), kTabTitles[TabAlpha]);
    m_tabs->addTab(makeIconsPage(), kTabTitles[TabIcons]);
    m_tabs->addTab(makeColumnsPage(kTabTitles[TabPosition], makeNumberFrames(TabPosition)),
                   kTabTitles[TabPosition]);
    std::vector<std::vector<QWidget*>> other = makeNumberFrames(TabOther);
    other.front().push_back(makeFormatFrame());
    m_tabs->addTab(makeColumnsPage(kTabTitles[TabOther], other), kTabTitles[TabOther]);
    m_tabs->addTab(makePathPage(), kTabTitles[TabPath]);
    m_menu = new VshMenuTab(this);
    m_menu->setAccessibleName(kTabTitles[TabMenu]);
    m_tabs->addTab(m_menu, kTabTitles[TabMenu]);

    fitTabsInOneRow(m_tabs, width() - 2 * 8 - 6);

    connect(this, &EditorForm::valueChanged, this, &VshEditor::valueChanged);
    for (std::size_t i = 0; i < kTextBoxMembers.size(); ++i) {
        const QString step = stepName(m_texts[i]->accessibleName());
        connect(m_texts[i], &QLineEdit::textChanged, this,
                [this, member = static_cast<int>(kTextBoxMembers[i]), step](const QString& text) {
                    edit(member, text, step, true);
                });
        connect(m_texts[i], &QLineEdit::editingFinished, this, &EditorForm::closeStep);
    }

    // A window without a module: nothing to edit, but every tab can be looked at.
    setControlsEnabled(false);
    m_grid->lblMonthDes->setEnabled(true);
    m_grid->lblSlimExtra->setEnabled(true);
    for (QLabel* label : m_grid->lblSlimItem)
        label->setEnabled(true);
    localeChanged();
}

std::vector<std::vector<QWidget*>> VshEditor::makeNumberFrames(Tab tab) {
    std::vector<std::vector<QWidget*>> columns;
    for (const Frame& f : kNumberFrames) {
        if (f.tab != tab)
            continue;
        QGroupBox* frame = makeValueFrame(f.name, f.title, this);
        for (int box : f.boxes) {
            const NumberBox& caption = kNumberBoxes[static_cast<std::size_t>(box)];
            m_captions[static_cast<std::size_t>(caption.label)] =
                addValueRow(frame, indexedName(QStringLiteral("lblPRXValue"), caption.label), caption.caption,
                            makeNumberBox(box));
        }
        columns.resize(std::max<std::size_t>(columns.size(), static_cast<std::size_t>(f.column) + 1));
        columns[static_cast<std::size_t>(f.column)].push_back(frame);
    }
    return columns;
}

QLineEdit* VshEditor::makeNumberBox(int box) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(indexedName(QStringLiteral("txtPRXValue"), box));
    edit->setFixedWidth(numberBoxWidth(QFontMetrics(font())));
    edit->setAccessibleName(kNumberBoxes[static_cast<std::size_t>(box)].caption.simplified());
    m_keyFilter->attach(edit);
    m_numbers[static_cast<std::size_t>(box)] = edit;
    m_numberBindings[static_cast<std::size_t>(box)] =
        new ValueBinding(this, edit, static_cast<int>(kNumberBoxes[static_cast<std::size_t>(box)].member),
                         stepName(kNumberBoxes[static_cast<std::size_t>(box)].caption));
    return edit;
}

QLabel* VshEditor::textLabel(int i) const {
    return i >= 0 && i < 8 ? m_iconLabels[static_cast<std::size_t>(i)] : nullptr;
}

QWidget* VshEditor::makeIconsPage() {
    const int width =
        QFontMetrics(font()).horizontalAdvance(QString(kIconNameTypingLimit, QLatin1Char('x'))) + 8;
    std::vector<std::vector<QWidget*>> columns(1);
    for (const IconFrame& f : kIconFrames) {
        QGroupBox* frame = makeValueFrame(f.name, f.title, this);
        for (int i = 0; i < 4; ++i) {
            const int index = f.firstBox + i;
            QLineEdit* box = makeTextBox(index, frame);
            box->setFixedWidth(width);
            box->setAccessibleName(f.captions[static_cast<std::size_t>(i)]);
            setTypingLimit(box, kIconNameTypingLimit);
            m_texts[static_cast<std::size_t>(index)] = box;
            m_iconLabels[static_cast<std::size_t>(index)] =
                addValueRow(frame, indexedName(f.labelName, i), f.captions[static_cast<std::size_t>(i)], box);
        }
        columns[0].push_back(frame);
    }
    return makeColumnsPage(kTabTitles[TabIcons], columns);
}

QGroupBox* VshEditor::makeFormatFrame() {
    QGroupBox* frame =
        makeValueFrame(QStringLiteral("formatFrame"), QStringLiteral("Hours / Date Format"), this);
    auto* grid = static_cast<QGridLayout*>(frame->layout());
    grid->setHorizontalSpacing(kFrameSpacing);
    grid->setVerticalSpacing(kFrameSpacing - 2);
    const int width = QFontMetrics(font()).horizontalAdvance(QStringLiteral("%d/%m/%")) + 8;
    for (int c = 0; c < 2; ++c) {
        const int label = kFormatColumnLabel + c;
        m_captions[static_cast<std::size_t>(label)] =
            makeCaption(indexedName(QStringLiteral("lblPRXValue"), label),
                        kFormatColumns[static_cast<std::size_t>(c)], frame);
        grid->addWidget(m_captions[static_cast<std::size_t>(label)], 0, c + 1);
    }
    for (int r = 0; r < 5; ++r) {
        const int label = kFormatRowLabel + r;
        const QString& row = kFormatRows[static_cast<std::size_t>(r)];
        auto* caption = new CaptionLabel(row, frame);
        caption->setObjectName(indexedName(QStringLiteral("lblPRXValue"), label));
        m_captions[static_cast<std::size_t>(label)] = caption;
        grid->addWidget(caption, r + 1, 0);
        for (int c = 0; c < 2; ++c) {
            const int index = (c == 0 ? kFormatFirstEurope : kFormatFirstUSJapan) + r;
            QLineEdit* box = makeTextBox(index, frame);
            box->setFixedWidth(width);
            box->setAccessibleName(row.simplified() + QLatin1Char(' ') +
                                   kFormatColumns[static_cast<std::size_t>(c)].chopped(2));
            setTypingLimit(box, kFormatTypingLimits[static_cast<std::size_t>(r)]);
            m_texts[static_cast<std::size_t>(index)] = box;
            grid->addWidget(box, r + 1, c + 1);
        }
        caption->setBuddy(m_texts[static_cast<std::size_t>(kFormatFirstEurope + r)]);
    }
    auto* legend = new QGridLayout;
    legend->setHorizontalSpacing(kFrameSpacing * 2);
    legend->setVerticalSpacing(0);
    for (int i = 0; i < 6; ++i) {
        const int label = kFormatLegendLabel + i;
        m_captions[static_cast<std::size_t>(label)] =
            makeCaption(indexedName(QStringLiteral("lblPRXValue"), label),
                        kFormatLegend[static_cast<std::size_t>(i)], frame);
        legend->addWidget(m_captions[static_cast<std::size_t>(label)], i / 3, i % 3);
    }
    grid->addLayout(legend, 6, 0, 1, 3);
    m_notWritten = makeCaption(QStringLiteral("Label1"), kFormatNotWritten, frame);
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(font().pointSizeF());
    m_notWritten->setFont(arial);
    QPalette red = m_notWritten->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        red.setColor(group, QPalette::WindowText, Qt::red);
    m_notWritten->setPalette(red);
    grid->addWidget(m_notWritten, 7, 0, 1, 3);
    // The formats are shown, never written.
    frame->setEnabled(false);
    m_frameFormat = frame;
    return frame;
}

QWidget* VshEditor::makePathPage() {
    auto* page = new QWidget;
    page->setAccessibleName(kTabTitles[TabPath]);
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->setSpacing(4);
    for (std::size_t g = 0; g < kPathGroups.size(); ++g) {
        const PathGroup& group = kPathGroups[g];
        QLabel* caption =
            makeCaption(indexedName(QStringLiteral("lblPRXValue"), group.label), group.caption, page);
        m_captions[static_cast<std::size_t>(group.label)] = caption;
        outer->addWidget(caption);
        auto* row = new QHBoxLayout;
        auto* boxes = new QVBoxLayout;
        boxes->setSpacing(4);
        int position = 0;
        for (int index : group.boxes) {
            QLineEdit* box = makeTextBox(index, page);
            box->setAccessibleName(sharedCaptionName(group.caption, ++position));
            m_texts[static_cast<std::size_t>(index)] = box;
            boxes->addWidget(box);
        }
        caption->setBuddy(m_texts[static_cast<std::size_t>(group.boxes.front())]);
        QLabel* hint = makeCaption(group.hintName, group.hint, page);
        hint->setWordWrap(true);
        hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_hints[g] = hint;
        row->addLayout(boxes, 3);
        row->addWidget(hint, 2);
        outer->addLayout(row);
        outer->addSpacing(12);
    }
    outer->addStretch(1);
    return page;
}

void VshEditor::localeChanged() {
    m_keyFilter->setLocale(numberLocale());
    m_grid->setMonthNames(numberLocale());
}

void VshEditor::showNoModule() {
    setControlsEnabled(false);
}

void VshEditor::showModule() {
    for (ValueBinding* binding : m_numberBindings)
        binding->show();
    showTexts();
    for (prx::VshMember member : {prx::VshMember::TextColors, prx::VshMember::ContextColors,
                                  prx::VshMember::TextColorsSlim, prx::VshMember::ContextColorsSlim})
        showColours(static_cast<int>(member));
    m_menu->showEntries();
    setControlsEnabled(true);
    applyReleaseLimits();
}

void VshEditor::showTexts() {
    const prx::ModuleValues& v = values();
    for (std::size_t i = 0; i < kTextBoxMembers.size(); ++i)
        if (v.has(kTextBoxMembers[i]))
            m_texts[i]->setText(v.text(kTextBoxMembers[i]));
    const std::pair<prx::VshMember, int> formats[] = {{prx::VshMember::FormatsEurope, kFormatFirstEurope},
                                                      {prx::VshMember::FormatsUSJapan, kFormatFirstUSJapan}};
    for (const auto& [member, first] : formats)
        if (v.has(member))
            for (std::size_t k = 0; k < 5; ++k)
                m_texts[static_cast<std::size_t>(first) + k]->setText(v.formats(member)[k]);
}

std::vector<ColorBox*> VshEditor::colourBoxes(prx::VshMember member) const {
    const VshColorGrid& g = *m_grid;
    switch (member) {
    case prx::VshMember::TextColors:
        return {g.picText.begin(), g.picText.end()};
    case prx::VshMember::ContextColors:
        return {g.picContext.begin(), g.picContext.end()};
    case prx::VshMember::TextColorsSlim:
        return {g.picTextSlim.begin(), g.picTextSlim.end()};
    case prx::VshMember::ContextColorsSlim:
        return {g.picContextSlim.begin(), g.picContextSlim.end()};
    default:
        return {};
    }
}

void VshEditor::showColours(int member) {
    const auto m = static_cast<prx::VshMember>(member);
    if (!values().has(m))
        return; // the boxes keep what they show
    const prx::ColourBlock& colours = values().colours(m);
    const std::vector<ColorBox*> boxes = colourBoxes(m);
    for (std::size_t i = 0; i < boxes.size() && i < static_cast<std::size_t>(colours.size()); ++i)
        boxes[i]->setColor(colours.at(static_cast<qsizetype>(i)).rgb());
}

void VshEditor::valueChanged(int member) {
    const auto m = static_cast<prx::VshMember>(member);
    switch (prx::shapeOf(m)) {
    case prx::Shape::Colours:
        showColours(member);
        break;
    case prx::Shape::Text: {
        const auto* it = std::find(kTextBoxMembers.begin(), kTextBoxMembers.end(), m);
        QLineEdit* box = m_texts[static_cast<std::size_t>(it - kTextBoxMembers.begin())];
        if (box->text() != values().text(m))
            box->setText(values().text(m));
        break;
    }
    default:
        break; // numbers follow through their bindings, the menu through its model
    }
}

Status VshEditor::checkEntries() const {
    // Empty boxes first, in box order: numbers 0 to 17 that are open for
    // editing, then the texts.
    for (int i = 0; i < kEmptyCheckedNumberBoxes; ++i) {
        const ValueBinding* b = m_numberBindings[static_cast<std::size_t>(i)];
        if (b->present() && b->box()->isEnabled() && b->empty()) {
            markRefused(b->box());
            return Error::check(prx::kMsgValueEmpty,
                                QString(prx::memberName(kNumberBoxes[static_cast<std::size_t>(i)].member)));
        }
    }
    for (std::size_t i = 0; i < kTextBoxMembers.size(); ++i)
        if (values().has(kTextBoxMembers[i]) && m_texts[i]->text().isEmpty()) {
            markRefused(m_texts[i]);
            return Error::check(prx::kMsgValueEmpty, QString(prx::memberName(kTextBoxMembers[i])));
        }
    // Then the size of 01-12.bmp, then every other box whose text reads as no value.
    const auto failure = [this](const ValueBinding* b) -> Status {
        if (auto s = b->entry(); !s) {
            markRefused(b->box());
            Error e = s.error();
            e.detail = QString(prx::memberName(static_cast<prx::VshMember>(b->member()))) +
                       (e.detail.isEmpty() ? QString() : QStringLiteral(": ") + e.detail);
            return e;
        }
        return {};
    };
    const auto bmp =
        std::find_if(m_numberBindings.begin(), m_numberBindings.end(), [](const ValueBinding* b) {
            return b->member() == static_cast<int>(prx::VshMember::BmpSize);
        });
    if (auto s = failure(*bmp); !s)
        return s;
    for (const ValueBinding* b : m_numberBindings)
        if (auto s = failure(b); !s)
            return s;
    return {};
}

void VshEditor::setControlsEnabled(bool enabled) {
    VshColorGrid& g = *m_grid;
    std::vector<QWidget*> widgets{m_hints[0],           m_hints[1],          g.lblMonthDes,
                                  g.lblTextDes[0],      g.lblContextDes[0],  g.lblTextDes[1],
                                  g.lblContextDes[1],   g.lblSlimExtra,      g.lblInstructions,
                                  m_menu->lstvVSHMenu,  m_menu->cboVSHMenu3, m_menu->chkVSHMenu[0],
                                  m_menu->chkVSHMenu[1]};
    widgets.insert(widgets.end(), m_iconLabels.begin(), m_iconLabels.end());
    widgets.insert(widgets.end(), g.lblMonth.begin(), g.lblMonth.end());
    widgets.insert(widgets.end(), g.lblSlimItem.begin(), g.lblSlimItem.end());
    for (ColorBox* box : g.allBoxes())
        widgets.push_back(box);
    widgets.insert(widgets.end(), m_numbers.begin(), m_numbers.end());
    widgets.insert(widgets.end(), m_texts.begin(), m_texts.begin() + kEditableTextCount);
    widgets.insert(widgets.end(), m_captions.begin(), m_captions.begin() + kFormatColumnLabel);
    for (QWidget* w : widgets)
        w->setEnabled(enabled);
    for (QComboBox* combo :
         {m_menu->cboVSHMenu130x, m_menu->cboVSHMenu137x, m_menu->cboVSHMenu230x, m_menu->cboVSHMenu237x}) {
        combo->setEnabled(enabled);
        combo->setVisible(enabled);
    }
}

void VshEditor::applyReleaseLimits() {
    const prx::ModuleValues& v = values();
    for (int i = 0; i < kNumberBoxCount; ++i) {
        const prx::VshMember member = kNumberBoxes[static_cast<std::size_t>(i)].member;
        if (prx::editable(v, member))
            continue;
        // A value that follows another is shown but not edited.
        txtPRXValue(i)->setEnabled(false);
        numberLabel(i)->setEnabled(false);
        if (!v.has(member))
            txtPRXValue(i)->clear();
    }
    if (!v.has(prx::VshMember::TextColorsSlim)) {
        VshColorGrid& g = *m_grid;
        for (std::size_t i = 0; i < g.lblSlimItem.size(); ++i) {
            g.picTextSlim[i]->setEnabled(false);
            g.picContextSlim[i]->setEnabled(false);
            g.lblSlimItem[i]->setEnabled(false);
        }
        for (QWidget* w : {static_cast<QWidget*>(g.lblTextDes[1]), static_cast<QWidget*>(g.lblContextDes[1]),
                           static_cast<QWidget*>(g.lblSlimExtra)})
            w->setEnabled(false);
    }

    VshMenuTab& m = *m_menu;
    const auto format = prx::menuFormat(versionIndex());
    if (!format) {
        // No menu: everything off (the list is empty), both variants' combos left in their place.
        for (QWidget* w : std::initializer_list<QWidget*>{m.lstvVSHMenu, m.cboVSHMenu130x, m.cboVSHMenu137x,
                                                          m.cboVSHMenu230x, m.cboVSHMenu237x, m.cboVSHMenu3,
                                                          m.chkVSHMenu[0], m.chkVSHMenu[1]})
            w->setEnabled(false);
        return;
    }
    const bool slim = *format == prx::MenuFormat::Slim;
    const std::array<QComboBox*, 2> otherVariant = slim ? std::array{m.cboVSHMenu130x, m.cboVSHMenu230x}
                                                        : std::array{m.cboVSHMenu137x, m.cboVSHMenu237x};
    for (QComboBox* other : otherVariant) {
        other->setEnabled(false);
        other->setVisible(false);
    }
    if (!slim)
        m.chkVSHMenu[1]->setEnabled(false);
}

void VshEditor::pickColor(ColorBox* box) {
    prx::Rgb chosen = box->color();
    if (!dialogs().chooseColour(this, box->color(), chosen) || chosen == box->color())
        return;
    for (prx::VshMember member : {prx::VshMember::TextColors, prx::VshMember::ContextColors,
                                  prx::VshMember::TextColorsSlim, prx::VshMember::ContextColorsSlim}) {
        const std::vector<ColorBox*> boxes = colourBoxes(member);
        const auto it = std::find(boxes.begin(), boxes.end(), box);
        if (it == boxes.end() || !values().has(member))
            continue;
        prx::ColourBlock colours = values().colours(member);
        colours[it - boxes.begin()] = prx::Colour::fromRgb(chosen);
        edit(member, colours, box->accessibleName());
        return;
    }
}

} // namespace qm::ui
