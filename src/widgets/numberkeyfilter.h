#pragma once

// The key filter of the numeric value boxes: digits, one minus sign, one
// decimal mark and backspace. Other characters are refused with a balloon
// tip on the box.

#include "balloontip.h"

#include <QLocale>
#include <QObject>

#include <memory>
#include <optional>

class QKeyEvent;
class QLineEdit;

namespace qm::ui {

enum class KeyDecision { Accept, Swallow, Refuse };

inline const QString kBalloonTitle = QStringLiteral("Information :");
inline const QString kBalloonText = QStringLiteral("Just negative, decimale\r\nand entire numeric key !");

// What the box does with a typed character, given its whole current text.
// The comma is always a decimal mark; the period is one too where it is the
// locale's own separator. A second minus sign or a second decimal mark is
// swallowed silently; anything else not admitted is refused.
KeyDecision filterKey(const QString& text, QChar typed, const QLocale& locale);

// The character a key press types, as the box would receive it: printable
// text, backspace (8), Enter (13), Escape (27) and Ctrl+letter control codes
// (Ctrl+X is 24). Keys that type nothing (arrows, Delete, Home) give none.
std::optional<QChar> typedCharacter(const QKeyEvent& event);

class NumberKeyFilter final : public QObject {
    Q_OBJECT
public:
    explicit NumberKeyFilter(QObject* parent = nullptr);

    // Filters the box's keys, and removes its context menu and drops.
    void attach(QLineEdit* box);

    // The helper that showed the last balloon; null until the first refusal.
    const BalloonTip* lastBalloon() const { return m_balloon.get(); }

    // The locale whose separator the boxes take; the user's by default.
    void setLocale(const QLocale& locale) { m_locale = locale; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refuse(QLineEdit* box);

    std::unique_ptr<BalloonTip> m_balloon;
    QLocale m_locale;
};

} // namespace qm::ui
