#include "valueframe.h"

#include "captionlabel.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>

namespace qm::ui {

QGroupBox* makeValueFrame(const QString& name, const QString& title, QWidget* parent) {
    auto* frame = new QGroupBox(title, parent);
    frame->setObjectName(name);
    auto* grid = new QGridLayout(frame);
    // Tight margins leave the captions room for a whole line.
    grid->setContentsMargins(kFrameSpacing - 2, kFrameSpacing, kFrameSpacing - 2, kFrameSpacing);
    grid->setHorizontalSpacing(kFrameSpacing - 2);
    grid->setVerticalSpacing(kFrameSpacing);
    grid->setColumnStretch(0, 1);
    return frame;
}

CaptionLabel* addValueRow(QGroupBox* frame, const QString& labelName, const QString& caption,
                          QLineEdit* box) {
    auto* grid = static_cast<QGridLayout*>(frame->layout());
    const int row = grid->count() / 2;
    auto* label = new CaptionLabel(caption, frame);
    label->setObjectName(labelName);
    label->setBuddy(box);
    // The label fills its cell, so it wraps only where the cell is too narrow.
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    box->setParent(frame);
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1, Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

int numberBoxWidth(const QFontMetrics& metrics) {
    return metrics.horizontalAdvance(QStringLiteral("-000.000")) + 4;
}

int boxWidthFor(const QLineEdit* box, const QString& text) {
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
    const QMargins margins = box->textMargins();
    // The line edit keeps 2 pixels each side of its text, and one for the cursor.
    const int inner =
        box->fontMetrics().horizontalAdvance(text) + 2 * 2 + 1 + margins.left() + margins.right();
    return box->style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(inner, box->fontMetrics().height()), box)
        .width();
}

QWidget* makeColumnsPage(const QString& title, const std::vector<std::vector<QWidget*>>& columns) {
    auto* page = new QWidget;
    page->setAccessibleName(title);
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(2, kFrameSpacing, 2, kFrameSpacing);
    row->setSpacing(kFrameSpacing);
    for (const std::vector<QWidget*>& widgets : columns) {
        auto* column = new QVBoxLayout;
        column->setSpacing(kFrameSpacing);
        for (QWidget* w : widgets)
            column->addWidget(w);
        column->addStretch(1);
        row->addLayout(column, 1);
    }
    return page;
}

void useDialogFont(QWidget* window) {
    QFont small = window->font();
    if (small.pointSizeF() > 8.0) {
        small.setPointSizeF(8.0);
        window->setFont(small);
    }
}

} // namespace qm::ui
