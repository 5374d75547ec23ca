#include "colorgrid.h"

#include "widgets/colorbox.h"
#include "widgets/windowhelpers.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace qm::ui {
namespace {

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

ColorBox* makeBox(const QString& name, int index, QWidget* parent) {
    auto* box = new ColorBox(parent);
    box->setObjectName(indexedName(name, index));
    box->setFixedSize(kBoxWidth, 15);
    return box;
}

} // namespace

QString monthCaption(const QLocale& locale, int month) {
    QString name = locale.standaloneMonthName(month, QLocale::LongFormat);
    if (!name.isEmpty())
        name[0] = name[0].toUpper();
    return name;
}

VshColorGrid::VshColorGrid(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("colorGrid"));
    lblMonthDes = makeLabel(QStringLiteral("lblMonthDes"), QStringLiteral("Month"), this);
    lblSlimExtra = makeLabel(QStringLiteral("lblSlimExtra"), QStringLiteral("Slim Item"), this);
    for (int g = 0; g < 2; ++g) {
        lblTextDes[static_cast<std::size_t>(g)] =
            makeLabel(indexedName(QStringLiteral("lblTextDes"), g), kText, this);
        lblContextDes[static_cast<std::size_t>(g)] =
            makeLabel(indexedName(QStringLiteral("lblContextDes"), g), kInfobar, this);
    }

    QGridLayout* months = groupGrid(lblMonthDes, lblTextDes[0], lblContextDes[0]);
    for (int i = 0; i < prx::kMonthCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        lblMonth[k] = makeLabel(indexedName(QStringLiteral("lblMonth"), i), QString(), this);
        picText[k] = makeBox(QStringLiteral("picText"), i, this);
        picContext[k] = makeBox(QStringLiteral("picContext"), i, this);
        months->addWidget(lblMonth[k], i + 1, 0);
        months->addWidget(picText[k], i + 1, 1);
        months->addWidget(picContext[k], i + 1, 2);
    }
    months->setRowStretch(prx::kSlimItemCount + 1, 1);

    QGridLayout* slim = groupGrid(lblSlimExtra, lblTextDes[1], lblContextDes[1]);
    for (int i = 0; i < prx::kSlimItemCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const QString name = QStringLiteral("Item") + QString::number(i + 13);
        lblSlimItem[k] = makeLabel(indexedName(QStringLiteral("lblSlimItem"), i), name, this);
        picTextSlim[k] = makeBox(QStringLiteral("picTextSlim"), i, this);
        picContextSlim[k] = makeBox(QStringLiteral("picContextSlim"), i, this);
        nameBoxes(name, picTextSlim[k], picContextSlim[k]);
        slim->addWidget(lblSlimItem[k], i + 1, 0);
        slim->addWidget(picTextSlim[k], i + 1, 1);
        slim->addWidget(picContextSlim[k], i + 1, 2);
    }
    slim->setRowStretch(prx::kSlimItemCount + 1, 1);

    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::VLine);
    Line1->setFrameShadow(QFrame::Sunken);

    auto* groups = new QHBoxLayout;
    groups->setSpacing(12);
    groups->addLayout(months);
    groups->addWidget(Line1);
    groups->addLayout(slim);
    groups->addStretch(1);

    lblInstructions =
        makeLabel(QStringLiteral("lblInstructions"), QStringLiteral("Click the boxes to change color"), this);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 6, 8, 6);
    outer->addLayout(groups, 1);
    outer->addWidget(lblInstructions);

    // The Tab key walks the text colours, then the infobar colours of a group.
    QWidget* previous = nullptr;
    for (ColorBox* box : allBoxes()) {
        connect(box, &QAbstractButton::clicked, this, [this, box] { Q_EMIT colorClicked(box); });
        if (previous)
            setTabOrder(previous, box);
        previous = box;
    }

    setMonthNames(QLocale());
}

void VshColorGrid::setMonthNames(const QLocale& locale) {
    for (int i = 0; i < prx::kMonthCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const QString name = monthCaption(locale, i + 1);
        lblMonth[k]->setText(name);
        nameBoxes(name, picText[k], picContext[k]);
    }
}

std::vector<ColorBox*> VshColorGrid::allBoxes() const {
    std::vector<ColorBox*> out(picText.begin(), picText.end());
    out.insert(out.end(), picContext.begin(), picContext.end());
    out.insert(out.end(), picTextSlim.begin(), picTextSlim.end());
    out.insert(out.end(), picContextSlim.begin(), picContextSlim.end());
    return out;
}

void VshColorGrid::nameBoxes(const QString& rowName, ColorBox* text, ColorBox* context) {
    text->setAccessibleName(rowName + QStringLiteral(" Text"));
    context->setAccessibleName(rowName + QStringLiteral(" Infobar"));
}

} // namespace qm::ui
