#pragma once

// A balloon tip: a bubble with icon, title and text that points at a text
// box. One is on screen at a time in the whole program; a click, the next
// key in its box or a few seconds close it.

#include <QString>

class QLineEdit;
class QWidget;

namespace qm::ui {

enum class BalloonIcon { None, Information, Warning, Error };

// Shows the balloon at `box`; nothing while the box is hidden.
void showBalloon(QLineEdit* box, const QString& title, const QString& text,
                 BalloonIcon icon = BalloonIcon::Information);
void hideBalloon();
// The balloon on screen, if any: its accessible name is the title, its
// accessible description the text.
QWidget* visibleBalloon();

} // namespace qm::ui
