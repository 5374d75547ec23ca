#pragma once

// The value codecs: the only code that turns module bytes into the texts and
// colours the editors show, and back.

#include "moduleimage.h"

#include <QList>
#include <QLocale>
#include <QString>

#include <array>

namespace qm::prx {

// A colour as the editors hold it: red + 256 * green + 65536 * blue.
using Rgb = quint32;

inline constexpr qint64 kTextAreaLength = 255; // bytes read for a zero-terminated text
inline constexpr qint64 kColorRecordLength = 12;

// 4-byte IEEE single.
Result<QString> readSingleText(const ModuleImage& image, qint64 offset, const QLocale& locale);
Status writeSingleText(ModuleImage& image, qint64 offset, QStringView text, const QLocale& locale);

// 2-byte signed integer.
Result<QString> readIntegerText(const ModuleImage& image, qint64 offset);
Status writeIntegerText(ModuleImage& image, qint64 offset, QStringView text, const QLocale& locale);

// Zero-terminated single-byte text; one character per byte.
Result<QString> readText(const ModuleImage& image, qint64 offset);
// Writes the text without blanks, cut to maxLength characters, and zeroes
// whatever is left of the old text. Returns the text as written.
Result<QString> writeText(ModuleImage& image, qint64 offset, QStringView text, int maxLength);

// Colour records: three singles red, green, blue in 0.0 to 1.0.
int colorComponentToByte(float component);
Result<Rgb> readColor(const ModuleImage& image, qint64 offset);
Status writeColor(ModuleImage& image, qint64 offset, Rgb color);
Result<QList<Rgb>> readColorBlock(const ModuleImage& image, qint64 offset, int count);

// A date and time format block: four strings of up to five characters and
// one of up to two. Version 1 keeps the short string two bytes earlier.
Result<std::array<QString, 5>> readFormatStrings(const ModuleImage& image, qint64 offset, int version);

// "#RRGGBB" in upper case, and back.
QString rgbToHex(Rgb color);
std::optional<Rgb> rgbFromHex(QStringView text);

} // namespace qm::prx
