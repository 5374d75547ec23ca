#include "colorbox.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace qm::ui {

QColor toQColor(prx::Rgb c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

prx::Rgb fromQColor(const QColor& c) {
    return static_cast<prx::Rgb>(c.red()) | (static_cast<prx::Rgb>(c.green()) << 8) |
           (static_cast<prx::Rgb>(c.blue()) << 16);
}

ColorBox::ColorBox(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    // Until a module is loaded the box shows the face colour of the controls.
    // Set without telling assistive tools: the box is still being made.
    m_color = fromQColor(palette().color(QPalette::Button));
    setToolTip(prx::rgbToHex(m_color));
    setAccessibleDescription(prx::rgbToHex(m_color));
}

void ColorBox::setColor(prx::Rgb color) {
    if (color == m_color)
        return;
    m_color = color;
    const QString hex = prx::rgbToHex(color);
    setToolTip(hex);
    setAccessibleDescription(hex);
    // Screen readers are told the colour changed (not every Qt release does so itself).
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
    update();
}

QSize ColorBox::sizeHint() const {
    return {45, 15};
}

void ColorBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(r, toQColor(m_color));
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Shadow));
    painter.drawRect(r.adjusted(0, 0, -1, -1));
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = r.adjusted(2, 2, -2, -2);
        option.backgroundColor = toQColor(m_color);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void ColorBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

} // namespace qm::ui
