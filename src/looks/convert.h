#pragma once

// Turning the values a user gives (command-line texts, look files) into
// values, with the same refusals everywhere: number texts go through the
// rule the value boxes use (valueFromText). A refusal is an error about
// the value (Error::member); text::refusalText words it.

#include "members.h"
#include "prx/menu.h"
#include "prx/result.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace qm::looks {

// A value refused in words of its own: Error::check with the whole message as its text.
Error refusal(const QString& message);

// The one rule between a value and its text, for the value boxes of the
// editors as for `set` and `apply`:
// The text of a Single (its shortest form, with the locale's decimal mark),
// a BmpSize or a module text; empty for other values.
QString shownText(const prx::Value& value, const QLocale& locale);
// The value a text gives for a member whose value is `current` (a Single, a
// BmpSize or a text). A text that shows the same number as `current` gives
// `current` itself, so its bits stay (a NaN's payload, for one). A BmpSize
// is rounded half to even; above 32767 it is refused by a check
// (Reason::BmpMax), and a text that is no size in range names itself.
Result<prx::Value> valueFromText(QStringView text, const prx::Value& current, const QLocale& locale);

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
