#include "prx/codecs.h"
#include "qt_printers.h"
#include "text/errortext.h"
#include "text/numbers.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

using namespace qm;
using namespace qm::prx;
using namespace qm::text;

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kFrench(QLocale::French, QLocale::France);
const QLocale kGerman(QLocale::German, QLocale::Germany);
const QLocale kArabic(QLocale::Arabic, QLocale::Egypt);  // decimal mark U+066B
const QLocale kPersian(QLocale::Persian, QLocale::Iran); // and a minus sign of its own

quint32 bitsOf(float v) {
    return std::bit_cast<quint32>(v);
}

float floatOf(quint32 bits) {
    return std::bit_cast<float>(bits);
}

QByteArray le32(quint32 bits) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    return b;
}

// A number as the editors show it and take it back: the value codec with the text form.
Result<QString> readSingleText(const ModuleImage& image, qint64 offset, const QLocale& locale) {
    auto v = readSingle(image, offset);
    if (!v)
        return v.error();
    return formatSingle(v->toFloat(), locale);
}

Status writeSingleText(ModuleImage& image, qint64 offset, QStringView text, const QLocale& locale) {
    auto v = parseSingle(text, locale);
    if (!v)
        return v.error();
    return writeSingle(image, offset, Single::fromFloat(*v));
}

Result<QString> readIntegerText(const ModuleImage& image, qint64 offset) {
    auto v = readInteger(image, offset);
    if (!v)
        return v.error();
    return QString::number(*v);
}

Status writeIntegerText(ModuleImage& image, qint64 offset, QStringView text, const QLocale& locale) {
    auto v = parseInt16(text, locale);
    if (!v)
        return v.error();
    return writeInteger(image, offset, *v);
}

// Digits of the mantissa from the first non-zero one to the last one shown.
int significantDigits(const QString& text) {
    QString mantissa = text;
    const qsizetype e = mantissa.indexOf(QLatin1Char('e'), 0, Qt::CaseInsensitive);
    if (e >= 0)
        mantissa.truncate(e);
    QString digits;
    for (QChar c : std::as_const(mantissa))
        if (c.isDigit())
            digits.append(c);
    while (digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    while (digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    return static_cast<int>(digits.size());
}

// ---------------------------------------------------------------------------
// Singles as module bytes and as texts in two locales.

struct SingleText {
    quint32 bits;
    const char* english;
    const char* french;
};

const SingleText kSingleTexts[] = {
    {0x3FC00000u, "1.5", "1,5"},               // bytes 00 00 C0 3F
    {0xBFC00000u, "-1.5", "-1,5"},             //
    {0x00000000u, "0", "0"},                   //
    {0x80000000u, "-0", "-0"},                 // the sign of zero survives
    {0x3DCCCCCDu, "0.1", "0,1"},               // 0.1f: shortest, not 0.100000001
    {0x3EAAAAABu, "0.33333334", "0,33333334"}, // 1/3
    {0x42F70000u, "123.5", "123,5"},           //
    {0x4B000000u, "8388608", "8388608"},       // 2^23, no group separator
    {0xC2C80000u, "-100", "-100"},             //
};

TEST(SingleText, ShowsTheShortestTextWithTheLocaleSeparator) {
    for (const SingleText& c : kSingleTexts) {
        SCOPED_TRACE(c.english);
        ModuleImage image(le32(c.bits));
        auto english = readSingleText(image, 0, kEnglish);
        auto french = readSingleText(image, 0, kFrench);
        ASSERT_TRUE(english && french);
        EXPECT_EQ(*english, QString::fromLatin1(c.english));
        EXPECT_EQ(*french, QString::fromLatin1(c.french));
    }
}

TEST(SingleText, EitherTextWritesTheSameFourBytesBack) {
    for (const SingleText& c : kSingleTexts) {
        for (const auto& [text, locale] : {std::pair{c.english, kEnglish}, std::pair{c.french, kFrench}}) {
            SCOPED_TRACE(text);
            ModuleImage image(QByteArray(4, '\x55'));
            ASSERT_TRUE(writeSingleText(image, 0, QString::fromLatin1(text), locale));
            EXPECT_EQ(image.bytes(), le32(c.bits));
        }
    }
}

TEST(SingleText, TextsReadBackToTheSameBinary32InEveryLocale) {
    QList<quint32> patterns = {
        bitsOf(0.1f),
        bitsOf(1.0f / 3.0f),
        bitsOf(2.0f / 3.0f),
        bitsOf(1e-7f),
        bitsOf(1e-5f),
        bitsOf(9.9999e-6f),
        bitsOf(1e15f),
        bitsOf(123456.79f),
        bitsOf(std::numeric_limits<float>::max()),  // 3.4028235e38
        bitsOf(-std::numeric_limits<float>::max()), //
        bitsOf(std::numeric_limits<float>::min()),  // smallest normal
        0x80000000u,                                // -0
        0x00000001u,                                // smallest subnormal
        0x00000003u,                                //
        0x00400000u,                                // subnormals in between
        0x807FFFFFu,                                // largest subnormal, negative
        0x007FFFFFu,                                //
        0x7F800000u,                                // +infinity
        0xFF800000u,                                // -infinity
    };
    quint32 x = 0x12345678u;
    for (int i = 0; i < 20000; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        if (!std::isnan(floatOf(x)))
            patterns.append(x);
    }
    for (const QLocale& locale : {QLocale::c(), kEnglish, kFrench, kGerman, kArabic, kPersian}) {
        int failures = 0;
        for (quint32 bits : std::as_const(patterns)) {
            const QString text = formatSingle(floatOf(bits), locale);
            auto back = parseSingle(text, locale);
            const bool same = back && bitsOf(*back) == bits;
            if (!same && ++failures <= 5) {
                ADD_FAILURE() << locale.name().toStdString() << ": 0x" << std::hex << bits << " shows as "
                              << text.toStdString() << " and reads back as "
                              << (back ? std::to_string(bitsOf(*back))
                                       : text::fullText(back.error()).toStdString());
            }
            if (std::isfinite(floatOf(bits))) {
                EXPECT_LE(significantDigits(text), 9) << text.toStdString();
            }
        }
        EXPECT_EQ(failures, 0) << locale.name().toStdString();
    }
}

TEST(SingleText, UsesNoMoreDigitsThanTheValueNeeds) {
    const struct {
        float value;
        int digits;
    } cases[] = {
        {0.1f, 1},
        {1e-7f, 1},
        {std::numeric_limits<float>::max(), 8}, // 3.4028235e38
        {std::numeric_limits<float>::min(), 8}, // 1.1754944e-38
        {std::numeric_limits<float>::denorm_min(), 1},
        {1.0f / 3.0f, 8},
        {1e20f, 1},
        {1e14f, 1},           // not 100000000376832
        {123456789012.0f, 8}, // 1.2345679e11, not 123456790528
        {16777216.0f, 8},     // 2^24
    };
    for (const auto& c : cases) {
        for (const QLocale& locale : {kEnglish, kFrench}) {
            const QString text = formatSingle(c.value, locale);
            EXPECT_EQ(significantDigits(text), c.digits) << text.toStdString();
        }
    }
}

TEST(SingleText, EnglishTextsNeverHoldACommaAndFrenchTextsNeverAFullStop) {
    for (float v : {1.5f, -0.25f, 1e-7f, 3.0e38f, 1234567.0f, 0.001f}) {
        EXPECT_FALSE(formatSingle(v, kEnglish).contains(QLatin1Char(','))) << v;
        EXPECT_FALSE(formatSingle(v, kFrench).contains(QLatin1Char('.'))) << v;
    }
}

// ---------------------------------------------------------------------------
// Parsing: what is a number, what overflows, what is not a number.

enum class Outcome { Value, TypeMismatch, Overflow };

struct ParseCase {
    const char* text;
    Outcome outcome;
    double value; // for Outcome::Value
};

const ParseCase kSingleParses[] = {
    {"1,5", Outcome::Value, 1.5}, // the comma is a decimal mark in every locale, never a group mark
    {"1.5", Outcome::Value, 1.5},
    {"-1,5", Outcome::Value, -1.5},
    {"  2,25  ", Outcome::Value, 2.25}, // blanks around
    {"\t7\t", Outcome::Value, 7.0},
    {"+3", Outcome::Value, 3.0},
    {",5", Outcome::Value, 0.5},
    {"5,", Outcome::Value, 5.0},
    {"1e3", Outcome::Value, 1000.0},
    {"1,5E2", Outcome::Value, 150.0},
    {"2.5e-1", Outcome::Value, 0.25},
    {"-0", Outcome::Value, -0.0},
    {"3.4028235e38", Outcome::Value, static_cast<double>(std::numeric_limits<float>::max())},
    {"1e-50", Outcome::Value, 0.0}, // too small for a Single: zero, not an overflow
    {"0.00000000000000000000000000000000000000000000000001", Outcome::Value, 0.0},
    {"1e-99999999999999999999", Outcome::Value, 0.0},
    {"1e39", Outcome::Overflow, 0},
    {"-1e39", Outcome::Overflow, 0},
    {"3.5e38", Outcome::Overflow, 0},
    {"1000000000000000000000000000000000000000", Outcome::Overflow, 0},
    {"1e99999999999999999999", Outcome::Overflow, 0},
    // Exponents at the ends of a 64-bit integer, where the digits before
    // the point shifted them past it (found by fuzz_numbers).
    {"12e9223372036854775807", Outcome::Overflow, 0},
    {"-12e9223372036854775807", Outcome::Overflow, 0},
    {"1e9223372036854775807", Outcome::Overflow, 0},
    {".4e-9223372036854775808", Outcome::Value, 0.0},
    {"-0,001e-9223372036854775808", Outcome::Value, -0.0},
    {"", Outcome::TypeMismatch, 0},
    {"   ", Outcome::TypeMismatch, 0},
    {"abc", Outcome::TypeMismatch, 0},
    {"1a", Outcome::TypeMismatch, 0},
    {"a1", Outcome::TypeMismatch, 0},
    {"1 5", Outcome::TypeMismatch, 0},
    {"1,2,3", Outcome::TypeMismatch, 0}, // only one decimal mark
    {"1.2.3", Outcome::TypeMismatch, 0},
    {"1,2.3", Outcome::TypeMismatch, 0},
    {"1.234,5", Outcome::TypeMismatch, 0}, // no group separators
    {"-", Outcome::TypeMismatch, 0},
    {",", Outcome::TypeMismatch, 0},
    {"-,", Outcome::TypeMismatch, 0},
    {"--1", Outcome::TypeMismatch, 0},
    {"+-1", Outcome::TypeMismatch, 0},
    {"-+1", Outcome::TypeMismatch, 0},
    {"++1", Outcome::TypeMismatch, 0},
    {"1-", Outcome::TypeMismatch, 0},
    {"1e", Outcome::TypeMismatch, 0},
    {"e5", Outcome::TypeMismatch, 0},
    {"0x10", Outcome::TypeMismatch, 0},
    {"1/2", Outcome::TypeMismatch, 0},
};

void expectOutcome(const ParseCase& c, const Result<float>& r) {
    switch (c.outcome) {
    case Outcome::Value:
        ASSERT_TRUE(r) << text::fullText(r.error()).toStdString();
        EXPECT_EQ(bitsOf(*r), bitsOf(static_cast<float>(c.value)));
        break;
    case Outcome::TypeMismatch:
        ASSERT_FALSE(r) << "read as " << *r;
        EXPECT_EQ(r.error().kind, ErrorKind::Conversion);
        EXPECT_EQ(r.error().number, errnum::TypeMismatch);
        break;
    case Outcome::Overflow:
        ASSERT_FALSE(r) << "read as " << *r;
        EXPECT_EQ(r.error().kind, ErrorKind::Conversion);
        EXPECT_EQ(r.error().number, errnum::Overflow);
        break;
    }
}

TEST(SingleParse, TellsNumbersOverflowsAndTypeMismatchesApartInEveryLocale) {
    for (const QLocale& locale : {QLocale::c(), kEnglish, kFrench, kGerman}) {
        for (const ParseCase& c : kSingleParses) {
            SCOPED_TRACE(locale.name().toStdString() + " \"" + c.text + "\"");
            expectOutcome(c, parseSingle(QString::fromLatin1(c.text), locale));
        }
    }
}

TEST(SingleParse, WritesNothingWhenTheTextFails) {
    for (const char* text : {"", "abc", "1,2,3", "1e39"}) {
        ModuleImage image(QByteArray("\x11\x22\x33\x44\x55", 5));
        EXPECT_FALSE(writeSingleText(image, 0, QString::fromLatin1(text), kEnglish)) << text;
        EXPECT_EQ(image.bytes(), QByteArray("\x11\x22\x33\x44\x55", 5)) << text;
    }
}

TEST(SingleParse, ErrorTextsNameTheKindOfFailure) {
    auto mismatch = parseSingle(u"abc", kEnglish);
    auto overflow = parseSingle(u"1e39", kEnglish);
    ASSERT_FALSE(mismatch);
    ASSERT_FALSE(overflow);
    EXPECT_EQ(text::userText(mismatch.error()), QStringLiteral("Error 13 occurred! (Type mismatch)"));
    EXPECT_EQ(text::userText(overflow.error()), QStringLiteral("Error 6 occurred! (Overflow)"));
}

// ---------------------------------------------------------------------------
// Integers: two bytes, rounding halves to even, range -32768..32767.

struct IntegerCase {
    const char* text;
    Outcome outcome;
    int value;
};

const IntegerCase kIntegerParses[] = {
    {"32767", Outcome::Value, 32767},
    {"-32768", Outcome::Value, -32768},
    {"0", Outcome::Value, 0},
    {"2,5", Outcome::Value, 2}, // halves to the even neighbour
    {"3,5", Outcome::Value, 4},
    {"2.5", Outcome::Value, 2},
    {"-2,5", Outcome::Value, -2},
    {"-3,5", Outcome::Value, -4},
    {"0,5", Outcome::Value, 0},
    {"1,5", Outcome::Value, 2},
    {"2,51", Outcome::Value, 3},
    {"-0,4", Outcome::Value, 0},
    {"32767,4", Outcome::Value, 32767},
    {"-32768,5", Outcome::Value, -32768}, // even neighbour stays inside
    {" 12 ", Outcome::Value, 12},
    {"1e3", Outcome::Value, 1000},
    {"32767,5", Outcome::Overflow, 0}, // rounds to 32768
    {"32768", Outcome::Overflow, 0},
    {"40000", Outcome::Overflow, 0},
    {"-32769", Outcome::Overflow, 0},
    {"-32768,6", Outcome::Overflow, 0},
    {"1e39", Outcome::Overflow, 0},
    {"1e400", Outcome::Overflow, 0},
    {"12e9223372036854775807", Outcome::Overflow, 0}, // as for Singles
    {".4e-9223372036854775808", Outcome::Value, 0},
    {"Infinity", Outcome::Overflow, 0},
    {"", Outcome::TypeMismatch, 0},
    {"abc", Outcome::TypeMismatch, 0},
    {"12abc", Outcome::TypeMismatch, 0},
    {"1,2,3", Outcome::TypeMismatch, 0},
    {"NaN", Outcome::TypeMismatch, 0},
};

TEST(IntegerText, RoundsHalvesToEvenAndRefusesWhatDoesNotFit) {
    for (const QLocale& locale : {kEnglish, kFrench}) {
        for (const IntegerCase& c : kIntegerParses) {
            SCOPED_TRACE(locale.name().toStdString() + " \"" + c.text + "\"");
            auto r = parseInt16(QString::fromLatin1(c.text), locale);
            switch (c.outcome) {
            case Outcome::Value:
                ASSERT_TRUE(r) << text::fullText(r.error()).toStdString();
                EXPECT_EQ(*r, c.value);
                break;
            case Outcome::TypeMismatch:
                ASSERT_FALSE(r) << *r;
                EXPECT_EQ(r.error().number, errnum::TypeMismatch);
                break;
            case Outcome::Overflow:
                ASSERT_FALSE(r) << *r;
                EXPECT_EQ(r.error().number, errnum::Overflow);
                break;
            }
        }
    }
}

TEST(IntegerText, ReadsTwoBytesAsSignedLittleEndian) {
    const struct {
        const char* bytes;
        const char* text;
    } cases[] = {
        {"\xFF\x7F", "32767"}, {"\x00\x80", "-32768"}, {"\xFF\xFF", "-1"},
        {"\x01\x00", "1"},     {"\x00\x01", "256"},
    };
    for (const auto& c : cases) {
        ModuleImage image(QByteArray(c.bytes, 2));
        auto text = readIntegerText(image, 0);
        ASSERT_TRUE(text);
        EXPECT_EQ(*text, QString::fromLatin1(c.text));
        ModuleImage back(QByteArray(2, '\x5A'));
        ASSERT_TRUE(writeIntegerText(back, 0, *text, kFrench));
        EXPECT_EQ(back.bytes(), QByteArray(c.bytes, 2)) << c.text;
    }
}

TEST(IntegerText, AFailedWriteLeavesBothBytes) {
    for (const char* text : {"40000", "-32769", "abc", ""}) {
        ModuleImage image(QByteArray("\x12\x34\x56", 3));
        auto s = writeIntegerText(image, 0, QString::fromLatin1(text), kEnglish);
        EXPECT_FALSE(s) << text;
        EXPECT_EQ(image.bytes(), QByteArray("\x12\x34\x56", 3)) << text;
    }
}

TEST(ByteText, AcceptsZeroTo255Only) {
    const struct {
        const char* text;
        Outcome outcome;
        int value;
    } cases[] = {
        {"0", Outcome::Value, 0},       {"255", Outcome::Value, 255},    {"32", Outcome::Value, 32},
        {"254,5", Outcome::Value, 254}, {"255,5", Outcome::Overflow, 0}, {"256", Outcome::Overflow, 0},
        {"-1", Outcome::Overflow, 0},   {"", Outcome::TypeMismatch, 0},  {"x", Outcome::TypeMismatch, 0},
        {"-0,4", Outcome::Value, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto r = parseByte(QString::fromLatin1(c.text), QLocale::c());
        switch (c.outcome) {
        case Outcome::Value:
            ASSERT_TRUE(r);
            EXPECT_EQ(*r, c.value);
            break;
        case Outcome::TypeMismatch:
            ASSERT_FALSE(r);
            EXPECT_EQ(r.error().number, errnum::TypeMismatch);
            break;
        case Outcome::Overflow:
            ASSERT_FALSE(r);
            EXPECT_EQ(r.error().number, errnum::Overflow);
            break;
        }
    }
}

} // namespace
