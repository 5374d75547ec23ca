#include "colorgrid.h"

#include "document/editingdocument.h"
#include "prx/rules.h"
#include "widgets/colorbox.h"
#include "widgets/dialogs.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace qm::ui {
namespace {

using V = prx::VshMember;

const QString kText = QStringLiteral("Text :");
const QString kInfobar = QStringLiteral("Infobar :");
constexpr int kBoxWidth = 45;
constexpr int kRowPitch = 16;

QLabel* makeLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

// One group: heading, column headings and rows of name, text box, infobar box.
QGridLayout* groupGrid(QLabel* heading, QLabel* textHead, QLabel* contextHead) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(kRowPitch - 15);
    grid->addWidget(heading, 0, 0);
    grid->addWidget(textHead, 0, 1);
    grid->addWidget(contextHead, 0, 2);
    return grid;
}

ColorBox* makeBox(V member, int element, QWidget* parent) {
    auto* box = new ColorBox(parent);
    box->setObjectName(QStringLiteral("%1[%2]").arg(prx::memberName(member)).arg(element));
    box->setFixedSize(kBoxWidth, 15);
    return box;
}

void setAllEnabled(std::initializer_list<QWidget*> widgets, bool enabled) {
    for (QWidget* w : widgets)
        w->setEnabled(enabled);
}

} // namespace

const std::array<prx::VshMember, 4> VshColorGrid::kMembers{V::TextColors, V::ContextColors, V::TextColorsSlim,
                                                           V::ContextColorsSlim};

QString monthCaption(const QLocale& locale, int month) {
    QString name = locale.standaloneMonthName(month, QLocale::LongFormat);
    if (!name.isEmpty())
        name[0] = name[0].toUpper();
    return name;
}

VshColorGrid::VshColorGrid(doc::EditingDocument& document, QWidget* parent)
    : QWidget(parent), m_document(document) {
    setObjectName(QStringLiteral("colorGrid"));
    m_monthGroup = makeLabel(QStringLiteral("monthHeading"), QStringLiteral("Month"), this);
    m_slimGroup = makeLabel(QStringLiteral("slimHeading"), QStringLiteral("Slim Item"), this);
    m_monthHeadings = {makeLabel(QStringLiteral("monthTextHeading"), kText, this),
                       makeLabel(QStringLiteral("monthInfobarHeading"), kInfobar, this)};
    m_slimHeadings = {makeLabel(QStringLiteral("slimTextHeading"), kText, this),
                      makeLabel(QStringLiteral("slimInfobarHeading"), kInfobar, this)};

    QGridLayout* months = groupGrid(m_monthGroup, m_monthHeadings[0], m_monthHeadings[1]);
    QGridLayout* slim = groupGrid(m_slimGroup, m_slimHeadings[0], m_slimHeadings[1]);
    for (std::size_t m = 0; m < kMembers.size(); ++m) {
        const bool slimMember = m >= 2;
        const int count = slimMember ? prx::kSlimItemCount : prx::kMonthCount;
        for (int i = 0; i < count; ++i) {
            m_boxes[m].push_back(makeBox(kMembers[m], i, this));
            (slimMember ? slim : months)->addWidget(m_boxes[m].back(), i + 1, 1 + static_cast<int>(m % 2));
        }
    }
    for (int i = 0; i < prx::kMonthCount; ++i) {
        m_months[static_cast<std::size_t>(i)] =
            makeLabel(QStringLiteral("month%1").arg(i + 1), QString(), this);
        months->addWidget(m_months[static_cast<std::size_t>(i)], i + 1, 0);
    }
    for (int i = 0; i < prx::kSlimItemCount; ++i) {
        const QString name = QStringLiteral("Item") + QString::number(i + 13);
        m_items[static_cast<std::size_t>(i)] = makeLabel(QStringLiteral("item%1").arg(i + 13), name, this);
        slim->addWidget(m_items[static_cast<std::size_t>(i)], i + 1, 0);
        nameBoxes(name, m_boxes[2][static_cast<std::size_t>(i)], m_boxes[3][static_cast<std::size_t>(i)]);
    }
    months->setRowStretch(prx::kSlimItemCount + 1, 1);
    slim->setRowStretch(prx::kSlimItemCount + 1, 1);

    auto* divider = new QFrame(this);
    divider->setObjectName(QStringLiteral("divider"));
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Sunken);

    auto* groups = new QHBoxLayout;
    groups->setSpacing(12);
    groups->addLayout(months);
    groups->addWidget(divider);
    groups->addLayout(slim);
    groups->addStretch(1);

    m_instructions =
        makeLabel(QStringLiteral("instructions"), QStringLiteral("Click the boxes to change color"), this);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 6, 8, 6);
    outer->addLayout(groups, 1);
    outer->addWidget(m_instructions);

    // The Tab key walks the text colours, then the infobar colours of a group.
    QWidget* previous = nullptr;
    for (ColorBox* box : allBoxes()) {
        connect(box, &QAbstractButton::clicked, this, [this, box] { pickColour(box); });
        if (previous)
            setTabOrder(previous, box);
        previous = box;
    }

    setMonthNames(QLocale());
    connect(&m_document, &doc::ModuleDocument::valueChanged, this, [this](int member) {
        if (prx::shapeOf(static_cast<V>(member)) == prx::Shape::Colours)
            showColours(static_cast<V>(member));
    });
}

void VshColorGrid::setMonthNames(const QLocale& locale) {
    for (int i = 0; i < prx::kMonthCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const QString name = monthCaption(locale, i + 1);
        m_months[k]->setText(name);
        nameBoxes(name, m_boxes[0][k], m_boxes[1][k]);
    }
}

std::vector<ColorBox*> VshColorGrid::boxes(prx::VshMember member) const {
    const auto it = std::find(kMembers.begin(), kMembers.end(), member);
    return it == kMembers.end() ? std::vector<ColorBox*>{}
                                : m_boxes[static_cast<std::size_t>(it - kMembers.begin())];
}

std::vector<ColorBox*> VshColorGrid::allBoxes() const {
    std::vector<ColorBox*> out;
    for (const std::vector<ColorBox*>& group : m_boxes)
        out.insert(out.end(), group.begin(), group.end());
    return out;
}

std::pair<prx::VshMember, int> VshColorGrid::placeOf(const ColorBox* box) const {
    for (std::size_t m = 0; m < kMembers.size(); ++m)
        if (const auto it = std::find(m_boxes[m].begin(), m_boxes[m].end(), box); it != m_boxes[m].end())
            return {kMembers[m], static_cast<int>(it - m_boxes[m].begin())};
    return {V::Count, -1};
}

void VshColorGrid::setMonthsEnabled(bool enabled) {
    setAllEnabled({m_monthGroup, m_monthHeadings[0], m_monthHeadings[1], m_instructions}, enabled);
    for (QLabel* label : m_months)
        label->setEnabled(enabled);
    for (std::size_t m : {0u, 1u})
        for (ColorBox* box : m_boxes[m])
            box->setEnabled(enabled);
}

void VshColorGrid::setSlimEnabled(bool enabled) {
    setAllEnabled({m_slimGroup, m_slimHeadings[0], m_slimHeadings[1]}, enabled);
    for (QLabel* label : m_items)
        label->setEnabled(enabled);
    for (std::size_t m : {2u, 3u})
        for (ColorBox* box : m_boxes[m])
            box->setEnabled(enabled);
}

void VshColorGrid::enableHeadings() {
    m_monthGroup->setEnabled(true);
    m_slimGroup->setEnabled(true);
    for (QLabel* label : m_items)
        label->setEnabled(true);
}

void VshColorGrid::nameBoxes(const QString& rowName, ColorBox* text, ColorBox* context) {
    text->setAccessibleName(rowName + QStringLiteral(" Text"));
    context->setAccessibleName(rowName + QStringLiteral(" Infobar"));
}

void VshColorGrid::showColours() {
    for (V member : kMembers)
        showColours(member);
}

void VshColorGrid::showColours(V member) {
    const prx::ModuleValues& values = m_document.values();
    if (!values.has(member))
        return; // the boxes keep what they show
    const prx::ColourBlock& colours = values.colours(member);
    const std::vector<ColorBox*> shown = boxes(member);
    for (std::size_t i = 0; i < shown.size() && i < static_cast<std::size_t>(colours.size()); ++i)
        shown[i]->setColor(colours.at(static_cast<qsizetype>(i)).rgb());
}

void VshColorGrid::pickColour(ColorBox* box) {
    prx::Rgb chosen = box->color();
    if (!dialogs().chooseColour(this, box->color(), chosen) || chosen == box->color())
        return;
    const auto [member, element] = placeOf(box);
    if (element < 0 || !m_document.values().has(member))
        return;
    prx::ColourBlock colours = m_document.values().colours(member);
    colours[element] = prx::Colour::fromRgb(chosen);
    m_document.edit(static_cast<int>(member), colours, box->accessibleName());
}

} // namespace qm::ui
