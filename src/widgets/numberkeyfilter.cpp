#include "numberkeyfilter.h"

#include "windowhelpers.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace qm::ui {
namespace {

bool periodIsDecimal(const QLocale& locale) {
    return locale.decimalPoint() == u".";
}

} // namespace

KeyDecision filterKey(const QString& text, QChar typed, const QLocale& locale) {
    const bool period = periodIsDecimal(locale);
    const bool decimalMark = typed == u',' || (period && typed == u'.');
    const bool admitted = typed.isDigit() && typed.unicode() < 0x80;
    if (!admitted && !decimalMark && typed != u'-' && typed != QChar(8))
        return KeyDecision::Refuse;
    if (typed == u'-' && text.count(u'-') >= 1)
        return KeyDecision::Swallow;
    if (decimalMark) {
        const qsizetype marks = text.count(u',') + (period ? text.count(u'.') : 0);
        if (marks >= 1)
            return KeyDecision::Swallow;
    }
    return KeyDecision::Accept;
}

std::optional<QChar> typedCharacter(const QKeyEvent& event) {
    const int key = event.key();
    if (key == Qt::Key_Backspace)
        return QChar(8);
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return QChar(13);
    if (key == Qt::Key_Escape)
        return QChar(27);
    if ((event.modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return QChar(key - Qt::Key_A + 1);
    const QString text = event.text();
    if (!text.isEmpty() && (text.at(0).isPrint() || text.at(0).unicode() < 0x20))
        return text.at(0);
    return std::nullopt;
}

NumberKeyFilter::NumberKeyFilter(QObject* parent) : QObject(parent) {}

void NumberKeyFilter::attach(QLineEdit* box) {
    box->installEventFilter(this);
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    box->setAcceptDrops(false);
    DisableContextMenu(box);
}

void NumberKeyFilter::refuse(QLineEdit* box) {
    m_balloon = std::make_unique<BalloonTip>();
    m_balloon->TextBox(box);
    m_balloon->BalloonTipText(kBalloonText);
    m_balloon->BalloonTipIcon(BalloonInfo);
    m_balloon->BalloonTipTitle(kBalloonTitle);
    m_balloon->ShowBalloonTip();
}

bool NumberKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box || event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // Tab and Shift+Tab move the focus; they type nothing.
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        return false;
    if (key->matches(QKeySequence::Paste)) // Shift+Insert and the like: no way around the filter
        return true;
    const std::optional<QChar> c = typedCharacter(*key);
    if (!c)
        return false;
    switch (filterKey(box->text(), *c, m_locale)) {
    case KeyDecision::Accept:
        return false;
    case KeyDecision::Swallow:
        return true;
    case KeyDecision::Refuse:
        refuse(box);
        return true;
    }
    return false;
}

} // namespace qm::ui
