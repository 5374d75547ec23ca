#pragma once

// Turning the values a user gives (command-line texts, look files) into
// values, with the same refusals everywhere. A refusal is a check error
// whose text names the value and says why.

#include "members.h"
#include "prx/menu.h"
#include "prx/result.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace qm::looks {

// A value refused: Error::check with the whole message as its text.
Error refusal(const QString& message);

// A Single from its text; a period or a comma as decimal mark. A text that
// shows the same number as `current` gives `current` itself, bit for bit.
Result<prx::Single> singleFromText(QStringView text, const QString& name, prx::Single current = {});
// A JSON number: the float whose shortest text reads back to the same
// double, so a value printed by a dump comes back bit for bit.
Result<prx::Single> singleFromDouble(double value, const QString& name);
// BmpSize: a whole number up to 32767, halves rounded to even.
Result<qint16> bmpSizeFromText(QStringView text, const QString& name);
// A module text holds one byte per character, U+0001 to U+00FF.
Status checkModuleText(QStringView text, const QString& name);
Result<prx::Rgb> colourFromText(QStringView text, const QString& name);

// One entry of a list, matched without regard to case; returns the list's spelling.
Result<QString> choiceFrom(const QStringList& choices, QStringView text, const QString& name);
// Sets a field of a menu entry by its name as the editing combos do; a
// field set to what it already means keeps its code.
Status setMenuField(prx::MenuEntry& entry, prx::ReleaseId release, MenuField field, QStringView text,
                    const QString& name);
// Sets the icon by its code, 0 to 32.
Status setMenuOrder(prx::MenuEntry& entry, QStringView text, const QString& name);

// The note for a text that is stored other than given (blanks dropped, cut
// to its slot), or nothing.
std::optional<QString> textStorageNote(const QString& name, const QString& text, int maxLength);

} // namespace qm::looks
