#include "valuebinding.h"

#include "editorform.h"
#include "prx/rules.h"
#include "text/numbers.h"

#include <QLineEdit>

namespace qm::ui {
namespace {

QString shownText(const prx::Value& value, const QLocale& locale) {
    if (const auto* single = std::get_if<prx::Single>(&value))
        return text::formatSingle(single->toFloat(), locale);
    if (const auto* integer = std::get_if<qint16>(&value))
        return QString::number(*integer);
    if (const auto* text = std::get_if<QString>(&value))
        return *text;
    return {};
}

// The value a text gives for a member whose value is `current`; a text
// that shows the same number as `current` gives `current` itself, so its
// bits stay (a NaN's payload, for one).
Result<prx::Value> valueOf(const QString& text, const prx::Value& current, const QLocale& locale) {
    if (std::holds_alternative<QString>(current))
        return prx::Value(text);
    if (std::holds_alternative<qint16>(current)) {
        auto number = text::parseNumber(text, locale);
        if (!number)
            return number.error();
        auto size = prx::bmpSizeFromNumber(*number);
        if (!size)
            return size.error();
        return prx::Value(*size);
    }
    auto number = text::parseSingle(text, locale);
    if (!number)
        return number.error();
    const prx::Single single = prx::Single::fromFloat(*number);
    if (shownText(single, locale) == shownText(current, locale))
        return current;
    return prx::Value(single);
}

} // namespace

ValueBinding::ValueBinding(EditorForm* form, QLineEdit* box, int member, const QString& step)
    : QObject(box), m_form(form), m_box(box), m_member(member), m_step(step) {
    connect(box, &QLineEdit::textChanged, this, &ValueBinding::textChanged);
    // The tooltip gives the whole value, however narrow the box.
    connect(box, &QLineEdit::textChanged, box, &QWidget::setToolTip);
    connect(box, &QLineEdit::editingFinished, form, &EditorForm::closeStep);
    connect(form, &EditorForm::valueChanged, this, &ValueBinding::valueChanged);
}

bool ValueBinding::present() const {
    return m_form->values().has(m_member);
}

void ValueBinding::show() {
    if (!present())
        return;
    m_showing = true;
    m_form->document().clearUnstorable(m_member);
    m_box->setText(shownText(m_form->values().value(m_member), m_form->numberLocale()));
    // Shown from its first character, not scrolled to its end.
    m_box->setCursorPosition(0);
    m_showing = false;
}

Status ValueBinding::entry() const {
    if (!present())
        return {};
    auto v = valueOf(m_box->text(), m_form->values().value(m_member), m_form->numberLocale());
    if (!v)
        return v.error();
    return {};
}

bool ValueBinding::empty() const {
    return m_box->text().isEmpty();
}

void ValueBinding::textChanged() {
    if (m_showing || !present())
        return;
    auto v = valueOf(m_box->text(), m_form->values().value(m_member), m_form->numberLocale());
    if (!v) {
        // The value stays; the document holds the text as an edit that can't be saved.
        const bool empty = m_box->text().isEmpty();
        m_form->document().setUnstorable(
            m_member, m_box->text(), empty ? Error::of(ErrorKind::Check, 0, Reason::ValueEmpty) : v.error());
        return;
    }
    m_form->document().clearUnstorable(m_member);
    m_form->edit(m_member, *v, m_step, true);
}

void ValueBinding::valueChanged(int member) {
    if (member != m_member || m_showing)
        return;
    // A box whose text already reads as the value keeps the text as typed.
    auto v = valueOf(m_box->text(), m_form->values().value(m_member), m_form->numberLocale());
    if (v && *v == m_form->values().value(m_member))
        return;
    show();
}

} // namespace qm::ui
