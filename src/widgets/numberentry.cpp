#include "numberentry.h"

#include "balloontip.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace qm::ui {
namespace {

bool isDecimalMark(QChar c, const QLocale& locale) {
    return c == u',' || (c == u'.' && locale.decimalPoint() == u".");
}

bool admitted(QChar c, const QLocale& locale) {
    return (c >= u'0' && c <= u'9') || c == u'-' || isDecimalMark(c, locale);
}

// The part of `after` that is not in `before`: what typing, a paste or a drop put there.
QStringView insertedPart(const QString& before, const QString& after) {
    qsizetype prefix = 0;
    const qsizetype shorter = std::min(before.size(), after.size());
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    return QStringView(after).mid(prefix, after.size() - prefix - suffix);
}

} // namespace

EntryDecision judgeEntry(const QString& before, const QString& after, const QLocale& locale) {
    const QStringView inserted = insertedPart(before, after);
    if (inserted.isEmpty())
        return EntryDecision::Accept;
    for (QChar c : inserted)
        if (!admitted(c, locale))
            return EntryDecision::Refuse;
    const qsizetype minus = after.count(u'-');
    qsizetype marks = 0;
    for (QChar c : after)
        marks += isDecimalMark(c, locale) ? 1 : 0;
    if (minus <= 1 && marks <= 1)
        return EntryDecision::Accept;
    // One more sign or mark typed by itself is dropped; a pasted text that holds two is refused.
    return inserted.size() == 1 ? EntryDecision::Drop : EntryDecision::Refuse;
}

NumberValidator::NumberValidator(QLineEdit* box) : QValidator(box), m_box(box), m_before(box->text()) {
    connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { m_before = text; });
    box->installEventFilter(this);
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    box->setValidator(this);
}

QValidator::State NumberValidator::validate(QString& input, int&) const {
    switch (judgeEntry(m_before, input, m_locale)) {
    case EntryDecision::Accept:
        return Acceptable;
    case EntryDecision::Drop:
        return Invalid;
    case EntryDecision::Refuse:
        break;
    }
    refuse();
    return Invalid;
}

void NumberValidator::refuse() const {
    showBalloon(m_box, kBalloonTitle, kBalloonText, BalloonIcon::Information);
}

bool NumberValidator::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_box || event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    // Tab moves the focus; Shift+Insert pastes, through the validator.
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Insert)
        return false;
    // Ctrl+V pastes nothing (the main window arranges its windows with it).
    if (key->matches(QKeySequence::Paste))
        return true;
    // A key that types a control character other than backspace (Enter,
    // Escape, Ctrl with a letter) is refused like any other character.
    const int code = key->key();
    const bool control = code == Qt::Key_Return || code == Qt::Key_Enter || code == Qt::Key_Escape ||
                         ((key->modifiers() & Qt::ControlModifier) && code >= Qt::Key_A && code <= Qt::Key_Z);
    if (!control)
        return false;
    refuse();
    return true;
}

} // namespace qm::ui
