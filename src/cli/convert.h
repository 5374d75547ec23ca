#pragma once

// Turning the values a user gives (command-line texts or JSON values) into
// the form the editors hold, with the same refusals for every command.

#include "console.h"
#include "members.h"
#include "prx/menu.h"

#include <QString>
#include <QStringList>

namespace qm::cli {

// A Single as its shortest text; a period or a comma as decimal mark.
Outcome<QString> singleFromText(QStringView text, const QString& name);
// A JSON number: the float whose shortest text reads back to the same
// double, so a value printed by dump comes back bit for bit.
Outcome<QString> singleFromDouble(double value, const QString& name);
// BmpSize: a whole number up to 32767, halves rounded to even.
Outcome<QString> bmpSizeFromText(QStringView text, const QString& name);
// A module text holds one byte per character, U+0001 to U+00FF.
Problem checkModuleText(QStringView text, const QString& name);
Outcome<prx::Rgb> colourFromText(QStringView text, const QString& name);

// One entry of a list, matched without regard to case; returns the list's spelling.
Outcome<QString> choiceFrom(const QStringList& choices, QStringView text, const QString& name);
// Sets a field of a menu row as the editing combos do: the icon also sets
// the order to its list index.
Problem setMenuField(prx::MenuRow& row, prx::MenuFormat format, MenuField field, QStringView text,
                     const QString& name);
// Sets the order (the icon code, 0 to 32) and the icon shown for it.
Problem setMenuOrder(prx::MenuRow& row, prx::MenuFormat format, QStringView text, const QString& name);

} // namespace qm::cli
