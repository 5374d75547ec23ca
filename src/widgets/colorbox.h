#pragma once

// A colour box: shows one colour and nothing else. It takes keyboard focus
// and is pressed by a click, Space or Enter. Its tooltip and accessible
// description give the colour as #RRGGBB.

#include "prx/codecs.h"

#include <QAbstractButton>

namespace qm::ui {

class ColorBox final : public QAbstractButton {
    Q_OBJECT
public:
    explicit ColorBox(QWidget* parent = nullptr);

    prx::Rgb color() const { return m_color; }
    void setColor(prx::Rgb color);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    prx::Rgb m_color = 0;
};

QColor toQColor(prx::Rgb color);
prx::Rgb fromQColor(const QColor& color);

} // namespace qm::ui
