#pragma once

// Turning the values a user gives (command-line texts, look files) into the
// form the editors hold, with the same refusals everywhere. A refusal is a
// check error whose text names the value and says why.

#include "members.h"
#include "prx/menu.h"
#include "prx/result.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace qm::looks {

// A value refused: Error::check with the whole message as its text.
Error refusal(const QString& message);

// A Single as its shortest text; a period or a comma as decimal mark.
Result<QString> singleFromText(QStringView text, const QString& name);
// A JSON number: the float whose shortest text reads back to the same
// double, so a value printed by a dump comes back bit for bit.
Result<QString> singleFromDouble(double value, const QString& name);
// BmpSize: a whole number up to 32767, halves rounded to even.
Result<QString> bmpSizeFromText(QStringView text, const QString& name);
// A module text holds one byte per character, U+0001 to U+00FF.
Status checkModuleText(QStringView text, const QString& name);
Result<prx::Rgb> colourFromText(QStringView text, const QString& name);

// One entry of a list, matched without regard to case; returns the list's spelling.
Result<QString> choiceFrom(const QStringList& choices, QStringView text, const QString& name);
// Sets a field of a menu row as the editing combos do: the icon also sets
// the order to its list index.
Status setMenuField(prx::MenuRow& row, prx::MenuFormat format, MenuField field, QStringView text,
                    const QString& name);
// Sets the order (the icon code, 0 to 32) and the icon shown for it.
Status setMenuOrder(prx::MenuRow& row, prx::MenuFormat format, QStringView text, const QString& name);

// The note for a text that is stored other than given (blanks dropped, cut
// to its slot), or nothing.
std::optional<QString> textStorageNote(const QString& name, const QString& text, int maxLength);

} // namespace qm::looks
