#pragma once

// Binds a text box to one member of an editor's values: the box shows the
// value in the editor's locale, and every text that reads as a value is put
// into the values at once. A text that reads as no value (empty, "-", a
// number out of range) leaves the value as it was and stands in the
// document as an edit that can't be saved.

#include "prx/result.h"

#include <QObject>

class QLineEdit;
class QLocale;

namespace qm::doc {
class EditingDocument;
}

namespace qm::ui {

class ValueBinding final : public QObject {
    Q_OBJECT
public:
    // `step` names the box's edits in the undo stack ("Clock X"); numbers
    // are shown and read in `locale`, which outlives the binding.
    ValueBinding(doc::EditingDocument& document, const QLocale& locale, QLineEdit* box, int member,
                 const QString& step);

    QLineEdit* box() const { return m_box; }
    int member() const { return m_member; }
    // Whether the module has the member.
    bool present() const;
    // Shows the member's value from its first character, replacing whatever the box holds.
    void show();
    // Success when the box's text gives a value; otherwise why not (an
    // empty box is a type mismatch here: callers that refuse empty boxes
    // with their own message look at empty() first).
    Status entry() const;
    bool empty() const;

private:
    void textChanged();
    void valueChanged(int member);

    doc::EditingDocument& m_document;
    const QLocale& m_locale;
    QLineEdit* m_box;
    int m_member;
    QString m_step;
    bool m_showing = false;
};

} // namespace qm::ui
