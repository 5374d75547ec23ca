#pragma once

// A limit on what the user can type into a text box. Unlike the box's own
// maximum length it does not cut text that the program puts there: a longer
// text read from a module is shown whole and can still be shortened.

#include <QString>

class QLineEdit;

namespace qm::ui {

void setTypingLimit(QLineEdit* box, int maxLength);
// The limit set on the box, or -1.
int typingLimit(const QLineEdit* box);

// Tells the user, with a balloon on the box, when typing makes its text
// longer than the `written` characters a save keeps.
void noteWrittenLength(QLineEdit* box, int written);
QString writtenLengthNote(int written);

} // namespace qm::ui
