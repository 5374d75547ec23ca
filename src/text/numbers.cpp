#include "numbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace qm::text {
namespace {

enum class Special { None, NaN, PosInf, NegInf };

Special specialValue(QStringView t) {
    QStringView body = t;
    bool negative = false;
    if (body.startsWith(u'-') || body.startsWith(u'+')) {
        negative = body.front() == u'-';
        body = body.mid(1);
    }
    if (body.compare(u"nan", Qt::CaseInsensitive) == 0)
        return Special::NaN;
    if (body.compare(u"inf", Qt::CaseInsensitive) == 0 || body.compare(u"infinity", Qt::CaseInsensitive) == 0)
        return negative ? Special::NegInf : Special::PosInf;
    return Special::None;
}

// Turns a number text into the plain ASCII form from_chars reads, or returns
// an empty string when the text holds anything a number can't.
std::string normalise(QStringView text, const QLocale& locale) {
    const QString decimal = locale.decimalPoint();
    const QString minus = locale.negativeSign();
    QString t = text.trimmed().toString();
    if (!decimal.isEmpty() && decimal != u"." && decimal != u",")
        t.replace(decimal, QStringLiteral("."));
    if (!minus.isEmpty() && minus != u"-")
        t.replace(minus, QStringLiteral("-"));
    std::string out;
    out.reserve(static_cast<std::size_t>(t.size()));
    int marks = 0;
    for (QChar c : std::as_const(t)) {
        const char16_t u = c.unicode();
        if (u == u',' || u == u'.') {
            ++marks;
            out.push_back('.');
        } else if ((u >= u'0' && u <= u'9') || u == u'e' || u == u'E' || u == u'+' || u == u'-') {
            out.push_back(static_cast<char>(u));
        } else {
            return {};
        }
    }
    if (marks > 1)
        return {};
    if (!out.empty() && out.front() == '+') {
        out.erase(out.begin());
        if (!out.empty() && out.front() == '-')
            return {}; // "+-1": two signs
    }
    return out;
}

template <typename T> bool readWhole(const std::string& s, T& value, std::errc& ec) {
    const char* first = s.data();
    const char* last = s.data() + s.size();
    const auto r = std::from_chars(first, last, value, std::chars_format::general);
    ec = r.ec;
    return r.ptr == last && (r.ec == std::errc() || r.ec == std::errc::result_out_of_range);
}

// Power of ten of the first significant digit of a normalised number text;
// tells an overflow from an underflow when from_chars reports either.
long long decimalMagnitude(const std::string& s) {
    constexpr long long kFarExponent = 1LL << 40;
    long long exponent = 0;
    const std::size_t e = s.find_first_of("eE");
    if (e != std::string::npos) {
        const std::string tail = s.substr(e + 1);
        const char* first = tail.data() + (!tail.empty() && tail.front() == '+' ? 1 : 0);
        long long parsed = 0;
        const auto r = std::from_chars(first, tail.data() + tail.size(), parsed);
        if (r.ec == std::errc::result_out_of_range)
            parsed = (tail.find('-') == std::string::npos) ? kFarExponent : -kFarExponent;
        // Digit positions are added to it below: an exponent near the ends
        // of long long would overflow, and beyond any digit count it says
        // the same.
        exponent = std::clamp(parsed, -kFarExponent, kFarExponent);
    }
    const std::string mantissa = s.substr(0, e);
    const std::size_t point = mantissa.find('.');
    const std::size_t intEnd = point == std::string::npos ? mantissa.size() : point;
    long long position = static_cast<long long>(intEnd); // digits before the point
    for (char c : mantissa) {
        if (c == '.')
            continue;
        if (c >= '1' && c <= '9')
            return position - 1 + exponent;
        if (c == '0')
            --position;
    }
    return std::numeric_limits<int>::min();
}

Error textError(int number, Reason reason, QStringView text) {
    Error e = Error::of(ErrorKind::Conversion, number, reason);
    e.text = text.toString();
    return e;
}

} // namespace

QString hex(qint64 value, int width) {
    return QStringLiteral("0x") + QString::number(value, 16).rightJustified(width, u'0').toUpper();
}

QString formatSingle(float value, const QLocale& locale) {
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    const float a = std::fabs(value);
    // From 2^24 on the fixed form would print integer digits that aren't
    // significant (1.2345679e11 as 123456790528), so large values switch to
    // the exponent form where a Single's text has always switched: 1e7.
    const auto format =
        (a == 0.0f || (a >= 1e-5f && a < 1e7f)) ? std::chars_format::fixed : std::chars_format::scientific;
    std::array<char, 64> buf{};
    const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), value, format);
    QString text = QString::fromLatin1(buf.data(), static_cast<qsizetype>(r.ptr - buf.data()));
    const QString decimal = locale.decimalPoint();
    if (decimal != u".")
        text.replace(QLatin1Char('.'), decimal);
    return text;
}

// A double or a float from its text; `tooLarge` tells the overflow.
template <typename T> Result<T> parseFloating(QStringView text, const QLocale& locale, Reason tooLarge) {
    switch (specialValue(text.trimmed())) {
    case Special::NaN:
        return std::numeric_limits<T>::quiet_NaN();
    case Special::PosInf:
        return std::numeric_limits<T>::infinity();
    case Special::NegInf:
        return -std::numeric_limits<T>::infinity();
    case Special::None:
        break;
    }
    const std::string s = normalise(text, locale);
    T v = 0;
    std::errc ec{};
    if (s.empty() || !readWhole(s, v, ec))
        return textError(errnum::TypeMismatch, Reason::NotNumber, text);
    if (ec == std::errc::result_out_of_range) {
        // from_chars reports both ends of the range; only the top one overflows.
        if (decimalMagnitude(s) >= 0)
            return textError(errnum::Overflow, tooLarge, text);
        return s.front() == '-' ? -T(0) : T(0); // too small: zero, with its sign
    }
    return v;
}

Result<double> parseNumber(QStringView text, const QLocale& locale) {
    return parseFloating<double>(text, locale, Reason::TextTooLarge);
}

Result<float> parseSingle(QStringView text, const QLocale& locale) {
    return parseFloating<float>(text, locale, Reason::TextBeyondSingle);
}

// A whole number from its text, rounded half to even, within `low` to `high`.
template <typename T> Result<T> parseWhole(QStringView text, const QLocale& locale, double low, double high) {
    auto n = parseNumber(text, locale);
    if (!n)
        return n.error();
    if (std::isnan(*n))
        return textError(errnum::TypeMismatch, Reason::NotNumber, text);
    const double r = std::nearbyint(*n); // the default rounding mode sends halves to even
    if (r < low || r > high) {
        Error e = textError(errnum::Overflow, Reason::TextOutside, text);
        e.low = low;
        e.high = high;
        return e;
    }
    return static_cast<T>(r);
}

NumberForm numberForm(QStringView text, const QLocale& locale) {
    // The special values as they are shown, whole; no blanks around them.
    if (specialValue(text) != Special::None)
        return NumberForm::Whole;
    const QString decimal = locale.decimalPoint();
    const QString negative = locale.negativeSign();
    const auto isMark = [&](QChar c) { return c == u',' || (decimal.size() == 1 && c == decimal[0]); };
    const auto isMinus = [&](QChar c) { return c == u'-' || (negative.size() == 1 && c == negative[0]); };
    bool digits = false;   // in the mantissa
    bool fraction = false; // digits after the mark
    bool mark = false;
    bool exponent = false; // an "e" seen
    bool expDigits = false;
    qsizetype i = !text.isEmpty() && isMinus(text.front()) ? 1 : 0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9') {
            (exponent ? expDigits : digits) = true;
            fraction = fraction || (mark && !exponent);
        } else if (isMark(c) && !mark && !exponent) {
            mark = true;
        } else if ((c == u'e' || c == u'E') && digits && !exponent) {
            exponent = true;
        } else if ((c == u'+' || isMinus(c)) && exponent && (text[i - 1] == u'e' || text[i - 1] == u'E')) {
            continue;
        } else {
            return NumberForm::None;
        }
    }
    if (!digits || (exponent && !expDigits) || (mark && !fraction && !exponent))
        return NumberForm::Start;
    return NumberForm::Whole;
}

Result<qint16> parseInt16(QStringView text, const QLocale& locale) {
    return parseWhole<qint16>(text, locale, -32768.0, 32767.0);
}

Result<quint8> parseByte(QStringView text, const QLocale& locale) {
    return parseWhole<quint8>(text, locale, 0.0, 255.0);
}

} // namespace qm::text
