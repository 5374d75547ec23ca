#include "valuebinding.h"

#include "document/editingdocument.h"
#include "looks/convert.h"

#include <QLineEdit>

namespace qm::ui {

ValueBinding::ValueBinding(doc::EditingDocument& document, const QLocale& locale, QLineEdit* box, int member,
                           const QString& step)
    : QObject(box), m_document(document), m_locale(locale), m_box(box), m_member(member), m_step(step) {
    connect(box, &QLineEdit::textChanged, this, &ValueBinding::textChanged);
    // The tooltip gives the whole value, however narrow the box.
    connect(box, &QLineEdit::textChanged, box, &QWidget::setToolTip);
    connect(box, &QLineEdit::editingFinished, &document, &doc::EditingDocument::closeStep);
    connect(&document, &doc::ModuleDocument::valueChanged, this, &ValueBinding::valueChanged);
}

bool ValueBinding::present() const {
    return m_document.values().has(m_member);
}

void ValueBinding::show() {
    if (!present())
        return;
    m_showing = true;
    m_document.clearUnstorable(m_member);
    m_box->setText(looks::shownText(m_document.values().value(m_member), m_locale));
    // Shown from its first character, not scrolled to its end.
    m_box->setCursorPosition(0);
    m_showing = false;
}

Status ValueBinding::entry() const {
    if (!present())
        return {};
    auto v = looks::valueFromText(m_box->text(), m_document.values().value(m_member), m_locale);
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
    auto v = looks::valueFromText(m_box->text(), m_document.values().value(m_member), m_locale);
    if (!v) {
        // The value stays; the document holds the text as an edit that can't be saved.
        const bool empty = m_box->text().isEmpty();
        m_document.setUnstorable(m_member, m_box->text(),
                                 empty ? Error::of(ErrorKind::Check, 0, Reason::ValueEmpty) : v.error());
        return;
    }
    m_document.clearUnstorable(m_member);
    m_document.edit(m_member, *v, m_step, true);
}

void ValueBinding::valueChanged(int member) {
    if (member != m_member || m_showing)
        return;
    // A box whose text already reads as the value keeps the text as typed.
    auto v = looks::valueFromText(m_box->text(), m_document.values().value(m_member), m_locale);
    if (v && *v == m_document.values().value(m_member))
        return;
    show();
}

} // namespace qm::ui
