#include "fadein.h"

#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

namespace qm::ui {

FadeIn::FadeIn(QWidget* window) : QObject(window), m_window(window), m_timer(new QTimer(this)) {
    setObjectName(QStringLiteral("fadeIn"));
    apply(0.0);
    m_timer->setObjectName(QStringLiteral("fadeTimer"));
    m_timer->setInterval(10);
    connect(m_timer, &QTimer::timeout, this, &FadeIn::step);
    m_timer->start();
}

void FadeIn::step() {
    m_alpha += 15;
    if (m_alpha <= 255)
        apply(m_alpha / 255.0);
    else
        m_timer->stop();
}

void FadeIn::apply(double opacity) {
    static const bool supported =
        QGuiApplication::platformName() != u"offscreen" && QGuiApplication::platformName() != u"minimal";
    if (supported)
        m_window->setWindowOpacity(opacity);
}

} // namespace qm::ui
