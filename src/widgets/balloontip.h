#pragma once

// A helper that attaches to a single-line text box and gives it a cue
// banner (a hint shown while the box is empty) and a balloon tip: a bubble
// with icon, title and text that points at the box.

#include <QPointer>
#include <QString>

class QLineEdit;
class QWidget;

namespace qm::ui {

// Balloon icon codes.
enum BalloonIcon { BalloonNone = 0, BalloonInfo = 1, BalloonWarning = 2, BalloonError = 3 };

class BalloonTip {
public:
    // Attaches the helper to a box; sends nothing by itself.
    void TextBox(QLineEdit* box);

    void CueBanner(const QString& text); // stored and applied at once
    QString CueBanner() const { return m_cueBanner; }
    void BalloonTipTitle(const QString& title) { m_title = title; }
    QString BalloonTipTitle() const { return m_title; }
    void BalloonTipText(const QString& text) { m_text = text; }
    QString BalloonTipText() const { return m_text; }
    void BalloonTipIcon(int icon) { m_icon = icon; }
    int BalloonTipIcon() const { return m_icon; }

    // Shows the title, text and icon as they are now; without a box, nothing.
    void ShowBalloonTip();
    void HideBalloonTip();

    // The balloon on screen, if any (one at a time in the whole program).
    static QWidget* visibleBalloon();

private:
    QPointer<QLineEdit> m_box;
    QString m_cueBanner;
    QString m_title;
    QString m_text;
    int m_icon = BalloonNone;
};

} // namespace qm::ui
