#pragma once

// The main window's fade-in at start-up: opacity 15, 30, ... 255, one step
// every 10 ms, then the timer stops for good. Platforms without window
// opacity show the window opaque at once.

#include <QObject>

class QTimer;
class QWidget;

namespace qm::ui {

class FadeIn final : public QObject {
    Q_OBJECT
public:
    // Starts at once: the window is transparent until the first step.
    explicit FadeIn(QWidget* window);

    int alpha() const { return m_alpha; }
    QTimer* timer() const { return m_timer; }
    // One step of the fade-in.
    void step();

private:
    void apply(double opacity);

    QWidget* m_window;
    QTimer* m_timer;
    int m_alpha = 0;
};

} // namespace qm::ui
