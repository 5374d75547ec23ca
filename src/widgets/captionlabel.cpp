#include "captionlabel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRegularExpression>
#include <QStyle>

#include <algorithm>

namespace qm::ui {

CaptionLabel::CaptionLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
}

int CaptionLabel::heightForWidth(int width) const {
    const QRect room(0, 0, std::max(1, width - 2 * margin()), QWIDGETSIZE_MAX);
    return fontMetrics().boundingRect(room, Qt::TextWordWrap, shownText()).height() + 2 * margin();
}

// The layouts size rows before they know the column widths, so the label
// asks for the height its text needs once it has its width.
void CaptionLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    const int needed = heightForWidth(width());
    if (needed != minimumHeight())
        setMinimumHeight(needed);
}

void CaptionLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect().adjusted(margin(), margin(), -margin(), -margin()),
                          static_cast<int>(alignment()) | Qt::TextWordWrap, palette(), isEnabled(),
                          shownText(), foregroundRole());
}

QString CaptionLabel::shownText() const {
    QString t = text();
    if (t.endsWith(QStringLiteral(" :")))
        t[t.size() - 2] = QChar(0x00A0); // no break before the colon
    return t;
}

int widestPart(const QFontMetrics& metrics, const QString& caption) {
    static const QRegularExpression runOfBlanks(QStringLiteral(" {2,}"));
    int widest = 0;
    for (const QString& part : caption.split(runOfBlanks, Qt::SkipEmptyParts))
        widest = std::max(widest, metrics.horizontalAdvance(part));
    return widest;
}

} // namespace qm::ui
