// The one rule between a value and its text, which the value boxes, `set`
// and `apply` share: in a period locale and in a comma locale alike.

#include "looks/convert.h"
#include "qt_printers.h"

#include <gtest/gtest.h>

#include <bit>

using namespace qm;
using namespace qm::prx;

namespace {

const QLocale kLocales[] = {QLocale::c(), QLocale(QLocale::German, QLocale::Germany)};

Value single(float v) {
    return Single::fromFloat(v);
}

TEST(ValueText, ReadsATextAsTheValueOfItsMember) {
    const Value nan = Single::fromBits(0x7FC12345u);
    const struct {
        const char* what;
        Value current;
        const char* text;
        Value expected;
    } cases[] = {
        {"a comma in any locale", single(1.5f), "2,25", single(2.25f)},
        {"a negative number", single(1.5f), "-0,5", single(-0.5f)},
        {"a number too small for a Single is a zero", single(1.5f), "1e-50", single(0.0f)},
        {"the text of the value itself keeps its bits", nan, "NaN", nan},
        {"another NaN is NaN", single(1.0f), "NaN", single(std::bit_cast<float>(0x7FC00000u))},
        {"0,1 shown as typed keeps the value", single(0.1f), "0,1", single(0.1f)},
        {"a BmpSize half goes to the even neighbour", qint16(5), "2,5", qint16(2)},
        {"and the other half too", qint16(5), "3,5", qint16(4)},
        {"a BmpSize at the top", qint16(5), "32767", qint16(32767)},
        {"a BmpSize below zero", qint16(5), "-32768", qint16(-32768)},
        {"a text stays as typed, blanks and all", QStringLiteral("tex"), "a b", QStringLiteral("a b")},
    };
    for (const QLocale& locale : kLocales)
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << " in " << locale.name().toStdString());
            auto value = looks::valueFromText(QString::fromLatin1(c.text), c.current, locale);
            ASSERT_TRUE(value);
            EXPECT_EQ(*value, c.expected);
        }
}

TEST(ValueText, RefusesTextsThatAreNoValueOfTheMember) {
    const struct {
        Value current;
        const char* text;
        ErrorKind kind;
        Reason reason;
    } cases[] = {
        {single(1.0f), "60-", ErrorKind::Conversion, Reason::NotNumber},
        {single(1.0f), "1,2,3", ErrorKind::Conversion, Reason::NotNumber},
        {single(1.0f), "", ErrorKind::Conversion, Reason::NotNumber},
        {single(1.0f), "1e39", ErrorKind::Conversion, Reason::TextBeyondSingle},
        {qint16(1), "40000", ErrorKind::Check, Reason::BmpMax},
        {qint16(1), "-40000", ErrorKind::Conversion, Reason::TextOutside},
        {qint16(1), "NaN", ErrorKind::Conversion, Reason::NotNumber},
        {qint16(1), "x", ErrorKind::Conversion, Reason::NotNumber},
    };
    for (const QLocale& locale : kLocales)
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << '"' << c.text << "\" in " << locale.name().toStdString());
            auto value = looks::valueFromText(QString::fromLatin1(c.text), c.current, locale);
            ASSERT_FALSE(value);
            EXPECT_EQ(value.error().kind, c.kind);
            EXPECT_EQ(value.error().reason, c.reason);
            if (c.kind == ErrorKind::Conversion) { // the refusal names the text as typed
                EXPECT_EQ(value.error().text, QString::fromLatin1(c.text));
            }
        }
}

TEST(ValueText, ShowsNumbersWithTheLocalesMarkAndTextsAsTheyAre) {
    EXPECT_EQ(looks::shownText(single(1.5f), QLocale::c()), QStringLiteral("1.5"));
    EXPECT_EQ(looks::shownText(single(1.5f), kLocales[1]), QStringLiteral("1,5"));
    EXPECT_EQ(looks::shownText(single(0.1f), kLocales[1]), QStringLiteral("0,1"));
    EXPECT_EQ(looks::shownText(qint16(-3), kLocales[1]), QStringLiteral("-3"));
    EXPECT_EQ(looks::shownText(QStringLiteral("tex_1"), kLocales[1]), QStringLiteral("tex_1"));
    EXPECT_EQ(looks::shownText(ColourBlock(2), QLocale::c()), QString());
}

} // namespace
