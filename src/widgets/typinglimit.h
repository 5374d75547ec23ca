#pragma once

// A limit on what the user can type into a text box. Unlike the box's own
// maximum length it does not cut text that the program puts there: a longer
// text read from a module is shown whole and can still be shortened.

class QLineEdit;

namespace qm::ui {

void setTypingLimit(QLineEdit* box, int maxLength);
// The limit set on the box, or -1.
int typingLimit(const QLineEdit* box);

} // namespace qm::ui
