#pragma once

// Text forms of the numbers kept in a module. Texts are shown with the
// user's decimal separator; parsing accepts that separator and the comma in
// every locale, so "1,5" is one and a half whatever the locale says.

#include "prx/result.h"

#include <QLocale>
#include <QString>

namespace qm::text {

// "0x" and the value in upper-case hexadecimal, at least `width` digits.
QString hex(qint64 value, int width);

// Shortest text that reads back to the same binary32 value.
QString formatSingle(float value, const QLocale& locale);

Result<double> parseNumber(QStringView text, const QLocale& locale);
Result<float> parseSingle(QStringView text, const QLocale& locale);
// Rounded to the nearest integer, an exact half to the even neighbour.
Result<qint16> parseInt16(QStringView text, const QLocale& locale);
Result<quint8> parseByte(QStringView text, const QLocale& locale);

// How a text typed into a number box stands: a whole number ("-1,5",
// "3.4028235e+38", "NaN"), the start of one that more typing completes
// ("", "-", "1.", "1e", "1e+"), or neither ("60-", "6-0", "1,2,3", "a").
// The decimal mark is the comma or the locale's own; the exponent's sign
// may be either. A whole number may still lie beyond what a value holds:
// parsing tells that.
enum class NumberForm { Whole, Start, None };
NumberForm numberForm(QStringView text, const QLocale& locale);

} // namespace qm::text
