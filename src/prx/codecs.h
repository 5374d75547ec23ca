#pragma once

// The value codecs: the only code that turns module bytes into values and
// values back into bytes.

#include "moduleimage.h"
#include "values.h"

#include <QString>

#include <array>
#include <optional>

namespace qm::prx {

inline constexpr qint64 kTextAreaLength = 255; // bytes read for a zero-terminated text

// 4-byte IEEE single, bit for bit.
Result<Single> readSingle(const ModuleImage& image, qint64 offset);
Status writeSingle(ModuleImage& image, qint64 offset, Single value);

// 2-byte signed integer.
Result<qint16> readInteger(const ModuleImage& image, qint64 offset);
Status writeInteger(ModuleImage& image, qint64 offset, qint16 value);

// Zero-terminated single-byte text; one character per byte.
Result<QString> readText(const ModuleImage& image, qint64 offset);
// The text as it is stored: without blanks, cut to maxLength characters.
QString storedText(QStringView text, int maxLength);
// Writes the stored form of the text and zeroes whatever is left of the old
// text. A character that takes more than one byte (or none) is refused.
Status writeText(ModuleImage& image, qint64 offset, QStringView text, int maxLength);
// Whether every character of a text can be stored as one byte (U+0001 to U+00FF).
std::optional<QChar> unstorableCharacter(QStringView text);
// The refusal of the character `c` in a module text.
Error unstorable(QChar c);

// Colour records: three singles red, green, blue.
Result<Colour> readColour(const ModuleImage& image, qint64 offset);
Status writeColour(ModuleImage& image, qint64 offset, const Colour& colour);
Result<ColourBlock> readColourBlock(const ModuleImage& image, qint64 offset, int count);

// A date and time format block: four strings of up to five characters and
// one of up to two. VSH release 1 keeps the short string two bytes earlier.
Result<FormatStrings> readFormatStrings(const ModuleImage& image, qint64 offset, ReleaseId release);

// A main-menu entry's four codes (bytes 0, 4, 8 and 12 to 15).
Result<MenuEntry> readMenuEntry(const ModuleImage& image, qint64 offset);
Status writeMenuEntry(ModuleImage& image, qint64 offset, const MenuEntry& entry);

// "#RRGGBB" in upper case, and back.
QString rgbToHex(Rgb color);
std::optional<Rgb> rgbFromHex(QStringView text);

} // namespace qm::prx
