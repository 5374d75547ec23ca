#include "valuebinding.h"

#include "editorform.h"
#include "looks/convert.h"

#include <QLineEdit>

namespace qm::ui {
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
    m_box->setText(looks::shownText(m_form->values().value(m_member), m_form->numberLocale()));
    // Shown from its first character, not scrolled to its end.
    m_box->setCursorPosition(0);
    m_showing = false;
}

Status ValueBinding::entry() const {
    if (!present())
        return {};
    auto v = looks::valueFromText(m_box->text(), m_form->values().value(m_member), m_form->numberLocale());
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
    auto v = looks::valueFromText(m_box->text(), m_form->values().value(m_member), m_form->numberLocale());
    if (v)
        m_form->edit(m_member, *v, m_step, true);
}

void ValueBinding::valueChanged(int member) {
    if (member != m_member || m_showing)
        return;
    // A box whose text already reads as the value keeps the text as typed.
    auto v = looks::valueFromText(m_box->text(), m_form->values().value(m_member), m_form->numberLocale());
    if (v && *v == m_form->values().value(m_member))
        return;
    show();
}

} // namespace qm::ui
