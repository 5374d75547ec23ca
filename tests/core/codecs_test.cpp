#include "prx/codecs.h"
#include "qt_printers.h"
#include "support/bytes.h"
#include "support/known_offsets.h"
#include "text/errortext.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

using namespace qm;
using qm::test::vshRow;
using namespace qm::prx;

namespace {

QByteArray singles(std::initializer_list<float> values) {
    QByteArray b;
    for (float v : values)
        b += test::singleBytes(v);
    return b;
}

quint32 singleBitsAt(const ModuleImage& image, qint64 offset) {
    return qFromLittleEndian<quint32>(image.bytes().constData() + offset);
}

// A recognisable filler, so bytes a codec must leave alone are checked.
QByteArray filler(qint64 size) {
    QByteArray b(size, '\0');
    for (qint64 i = 0; i < size; ++i)
        b[i] = static_cast<char>(0xA0 + (i % 31));
    return b;
}

// ---------------------------------------------------------------------------
// Bounds of the module image.

TEST(ModuleImageBounds, RefusesEveryAccessThatRunsPastEitherEnd) {
    const ModuleImage image(filler(16));
    const struct {
        qint64 offset;
        qint64 length;
        bool inside;
    } cases[] = {
        {0, 16, true},
        {12, 4, true},
        {16, 0, true},
        {13, 4, false},
        {16, 1, false},
        {-1, 1, false},
        {0, 17, false},
        {0, -1, false},
        {std::numeric_limits<qint64>::max(), 4, false},
        {4, std::numeric_limits<qint64>::max(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.offset << "+" << c.length);
        EXPECT_EQ(image.contains(c.offset, c.length), c.inside);
        auto span = image.span(c.offset, c.length);
        EXPECT_EQ(bool(span), c.inside);
        if (!span) {
            EXPECT_EQ(span.error().number, errnum::BadFileLength);
        }
    }
    EXPECT_FALSE(image.i32(13));
    EXPECT_FALSE(image.f32(-4));
    EXPECT_FALSE(image.i16(15));
    EXPECT_FALSE(image.u8(16));
    EXPECT_TRUE(image.u8(15));
    EXPECT_TRUE(image.clipped(16, 10).isEmpty());
    EXPECT_EQ(image.clipped(10, 255).size(), 6);
}

TEST(ModuleImageBounds, AWriteThatDoesNotFitChangesNoByte) {
    ModuleImage image(filler(8));
    EXPECT_FALSE(image.putF32(6, 1.0f));
    EXPECT_FALSE(image.putI32(5, 1));
    EXPECT_FALSE(image.putI16(7, 1));
    EXPECT_FALSE(image.putU8(8, 1));
    EXPECT_FALSE(image.putBytes(4, QByteArray(5, 'x')));
    EXPECT_FALSE(image.putU8(-1, 1));
    EXPECT_EQ(image.bytes(), filler(8));
    ASSERT_TRUE(image.putI16(6, -32768));
    EXPECT_EQ(image.bytes().right(2), QByteArray("\x00\x80", 2));
}

// ---------------------------------------------------------------------------
// Colour components and records.

// The byte the 24-bit view gives a component, checked in all three places.
int componentToByte(float component) {
    const Single c = Single::fromFloat(component);
    const Rgb red = Colour{{c, Single(), Single()}}.rgb();
    const Rgb green = Colour{{Single(), c, Single()}}.rgb();
    const Rgb blue = Colour{{Single(), Single(), c}}.rgb();
    EXPECT_EQ(green, red << 8) << component;
    EXPECT_EQ(blue, red << 16) << component;
    return static_cast<int>(red);
}

TEST(ColorComponent, ScalesRoundsHalvesToEvenAndClamps) {
    const struct {
        float component;
        int byte;
    } cases[] = {
        {1.0f, 255},
        {0.5f, 128}, // 127.5 goes to the even 128
        {0.0f, 0},
        {-0.0f, 0},
        {1.5f, 255},
        {-0.2f, 0},
        {0.01f, 3},                             // 2.55
        {std::bit_cast<float>(0x3C20A0A1u), 2}, // exactly 2.5 once scaled: down to the even 2
        {std::bit_cast<float>(0x3B008081u), 0}, // exactly 0.5 once scaled
        {std::bit_cast<float>(0x3C909091u), 4}, // exactly 4.5 once scaled
        {100.0f, 255},
        {std::numeric_limits<float>::max(), 255},
        {std::numeric_limits<float>::infinity(), 255},
        {-std::numeric_limits<float>::infinity(), 0},
        {std::numeric_limits<float>::quiet_NaN(), 0},
        {-std::numeric_limits<float>::quiet_NaN(), 0},
        {std::numeric_limits<float>::denorm_min(), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(componentToByte(c.component), c.byte) << c.component;
}

TEST(ColorComponent, EveryByteSurvivesTheTripThroughASingle) {
    for (int b = 0; b < 256; ++b) {
        const float component = static_cast<float>(static_cast<double>(b) / 255.0);
        EXPECT_EQ(componentToByte(component), b);
    }
}

TEST(ColorComponent, FromRgbGivesEachByteOver255AsASingle) {
    const struct {
        Rgb rgb;
        float red, green, blue;
    } cases[] = {
        {0x0080FFu, 1.0f, static_cast<float>(128.0 / 255.0), 0.0f},
        {0x000000u, 0.0f, 0.0f, 0.0f},
        {0xFFFFFFu, 1.0f, 1.0f, 1.0f},
        {0x030201u, static_cast<float>(1.0 / 255.0), static_cast<float>(2.0 / 255.0),
         static_cast<float>(3.0 / 255.0)},
    };
    for (const auto& c : cases) {
        const Colour colour = Colour::fromRgb(c.rgb);
        EXPECT_EQ(colour.components[0].bits(), std::bit_cast<quint32>(c.red)) << std::hex << c.rgb;
        EXPECT_EQ(colour.components[1].bits(), std::bit_cast<quint32>(c.green)) << std::hex << c.rgb;
        EXPECT_EQ(colour.components[2].bits(), std::bit_cast<quint32>(c.blue)) << std::hex << c.rgb;
        EXPECT_EQ(colour.rgb(), c.rgb);
    }
    // Colours that show the same 24 bits may still differ: the components are kept as they are.
    const Colour almostWhite{{Single::fromFloat(0.999f), Single::fromFloat(1.0f), Single::fromFloat(1.0f)}};
    EXPECT_EQ(almostWhite.rgb(), 0xFFFFFFu);
    EXPECT_NE(almostWhite, Colour::fromRgb(0xFFFFFFu));
}

TEST(ColorRecord, ReadsRedGreenBlueInThatOrder) {
    const struct {
        std::initializer_list<float> components;
        Rgb rgb;
    } cases[] = {
        {{1.0f, 0.5f, 0.0f}, 0x0080FFu}, // red 255, green 128, blue 0
        {{0.0f, 0.0f, 1.0f}, 0xFF0000u},
        {{1.5f, -0.2f, std::numeric_limits<float>::quiet_NaN()}, 0x0000FFu},
        {{0.2f, 0.4f, 0.6f}, 0x996633u},
    };
    for (const auto& c : cases) {
        const ModuleImage image(singles(c.components));
        auto colour = readColour(image, 0);
        ASSERT_TRUE(colour);
        EXPECT_EQ(colour->rgb(), c.rgb) << std::hex << colour->rgb();
        // The components are kept bit for bit, whatever they show.
        for (std::size_t k = 0; k < 3; ++k)
            EXPECT_EQ(colour->components[k].bits(),
                      qFromLittleEndian<quint32>(image.bytes().constData() + 4 * k));
    }
}

TEST(ColorRecord, WritesEachComponentAsByteOver255InASingle) {
    ModuleImage image(filler(20));
    ASSERT_TRUE(writeColour(image, 4, Colour::fromRgb(0x0080FFu)));
    EXPECT_EQ(singleBitsAt(image, 4), std::bit_cast<quint32>(1.0f));
    EXPECT_EQ(singleBitsAt(image, 8), std::bit_cast<quint32>(static_cast<float>(128.0 / 255.0)));
    EXPECT_EQ(singleBitsAt(image, 12), std::bit_cast<quint32>(0.0f));
    EXPECT_EQ(image.bytes().left(4), filler(20).left(4));
    EXPECT_EQ(image.bytes().mid(16), filler(20).mid(16));
    auto back = readColour(image, 4);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->rgb(), 0x0080FFu);
    EXPECT_EQ(*back, Colour::fromRgb(0x0080FFu));
}

TEST(ColorRecord, ARecordPastTheEndIsRefusedWithoutWriting) {
    ModuleImage image(filler(20));
    EXPECT_FALSE(writeColour(image, 12, Colour::fromRgb(0xFFFFFFu)));
    EXPECT_EQ(image.bytes(), filler(20));
    EXPECT_FALSE(readColour(image, 12));
    EXPECT_FALSE(readColourBlock(image, 0, 2));
}

TEST(ColorRecord, BlocksOfTwelveAndFifteenKeepBoxOrder) {
    for (int count : {12, 15}) {
        ModuleImage image(filler(8 + kColourRecordLength * count + 8));
        ColourBlock colors;
        for (int i = 0; i < count; ++i) {
            colors.append(Colour::fromRgb(static_cast<Rgb>(i * 0x010203 + 0x100000 * (i % 3))));
            ASSERT_TRUE(writeColour(image, 8 + kColourRecordLength * i, colors.last()));
        }
        auto block = readColourBlock(image, 8, count);
        ASSERT_TRUE(block);
        EXPECT_EQ(*block, colors);
        EXPECT_EQ(image.bytes().left(8), filler(8));
    }
}

// ---------------------------------------------------------------------------
// Singles and 16-bit integers.

TEST(SingleCodec, KeepsEveryBitPattern) {
    const quint32 patterns[] = {
        0x00000000u, // +0
        0x80000000u, // -0
        0x7FC00000u, // the quiet NaN
        0x7FC12345u, // a quiet NaN with a payload
        0x7F800001u, // a signalling NaN
        0xFFFFFFFFu, // a negative NaN with every payload bit
        0x7F800000u, // +infinity
        0x00000001u, // the smallest subnormal
        0x3F800000u, // 1.0
        0xC2F70000u, // -123.5
    };
    for (quint32 bits : patterns) {
        SCOPED_TRACE(testing::Message() << std::hex << bits);
        QByteArray area = filler(12);
        qToLittleEndian<quint32>(bits, area.data() + 4);
        ModuleImage image(area);
        auto single = readSingle(image, 4);
        ASSERT_TRUE(single);
        EXPECT_EQ(single->bits(), bits);

        ModuleImage target(filler(12));
        ASSERT_TRUE(writeSingle(target, 4, *single));
        EXPECT_EQ(target.bytes(), area);
        EXPECT_EQ(Single::fromBits(bits).bits(), bits);
    }
    // -0 and +0, and two NaNs of different payloads, are different values.
    EXPECT_NE(Single::fromFloat(-0.0f), Single::fromFloat(0.0f));
    EXPECT_NE(Single::fromBits(0x7FC00000u), Single::fromBits(0x7FC12345u));
    EXPECT_EQ(Single::fromBits(0x7FC12345u), Single::fromBits(0x7FC12345u));
}

TEST(SingleCodec, APlacePastTheEndIsRefusedWithoutWriting) {
    ModuleImage image(filler(8));
    EXPECT_FALSE(readSingle(image, 5));
    EXPECT_FALSE(writeSingle(image, 5, Single::fromFloat(1.0f)));
    EXPECT_FALSE(readInteger(image, 7));
    EXPECT_FALSE(writeInteger(image, 7, 1));
    EXPECT_EQ(image.bytes(), filler(8));
}

TEST(IntegerCodec, TwoBytesSignedLittleEndian) {
    const struct {
        QByteArray bytes;
        qint16 value;
    } cases[] = {
        {QByteArray("\xFF\x7F", 2), 32767},
        {QByteArray("\x00\x80", 2), -32768},
        {QByteArray("\xFF\xFF", 2), -1},
        {QByteArray("\x34\x12", 2), 0x1234},
    };
    for (const auto& c : cases) {
        const ModuleImage image(filler(3) + c.bytes + filler(3));
        EXPECT_EQ(readInteger(image, 3).value(), c.value);
        ModuleImage target(filler(8));
        ASSERT_TRUE(writeInteger(target, 3, c.value));
        EXPECT_EQ(target.bytes(), filler(8).left(3) + c.bytes + filler(8).mid(5));
    }
}

// ---------------------------------------------------------------------------
// Zero-terminated texts.

struct TextWriteCase {
    const char* name;
    QByteArray before; // the text area as the module holds it
    QString text;
    int maxLength;
    QString written;  // the text as it is stored
    QByteArray after; // the same bytes after the write
};

QByteArray bytes(const char* s, qsizetype n) {
    return QByteArray(s, n);
}

std::vector<TextWriteCase> textWriteCases() {
    const QByteArray tail("WXYZ");
    return {
        {"ShorterTextZeroesTheRestOfTheOldOne", bytes("ABCDEFGHIJK\0", 12) + tail, QStringLiteral("abcdefgh"),
         15, QStringLiteral("abcdefgh"), bytes("abcdefgh\0\0\0\0", 12) + tail},
        {"BlankInsideTheNewTextIsDropped", bytes("ABCDEFGHIJK\0", 12) + tail, QStringLiteral("abcd efgh"), 15,
         QStringLiteral("abcdefgh"), bytes("abcdefgh\0\0\0\0", 12) + tail},
        {"EveryBlankIsDropped", bytes("ABCDEFGHIJK\0", 12) + tail, QStringLiteral(" a b  c "), 15,
         QStringLiteral("abc"), bytes("abc\0\0\0\0\0\0\0\0\0", 12) + tail},
        {"LongTextIsCutToTheMaximum", bytes("ABCDEFGHIJK\0", 12) + bytes("wxyzWXYZ\0", 9),
         QStringLiteral("abcdefghijklmnopqrst"), 15, QStringLiteral("abcdefghijklmno"),
         bytes("abcdefghijklmnozWXYZ\0", 21)}, // the 16th byte keeps its old content
        {"BlankInsideTheOldTextIsPartOfIt", bytes("ab cd\0", 6) + tail, QStringLiteral("xy"), 15,
         QStringLiteral("xy"), bytes("xy\0\0\0\0", 6) + tail},
        {"LongerTextLeavesTheByteAfterIt", bytes("abc\0XYZ", 7), QStringLiteral("abcdef"), 15,
         QStringLiteral("abcdef"), bytes("abcdefZ", 7)},
        {"EqualLengthWritesNoZero", bytes("abcd\0XYZ", 8), QStringLiteral("wxyz"), 15, QStringLiteral("wxyz"),
         bytes("wxyz\0XYZ", 8)},
        {"EmptyTextZeroesTheOldText", bytes("abcd\0XYZ", 8), QString(), 15, QString(),
         bytes("\0\0\0\0\0XYZ", 8)},
        {"EmptyOldTextTakesTheNewOne", bytes("\0XYZW", 5), QStringLiteral("ab"), 15, QStringLiteral("ab"),
         bytes("abYZW", 5)},
        {"LatinOneCharactersAreOneByteEach", bytes("abcd\0", 5), QStringLiteral(u"\u00e9\u00ff"), 15,
         QStringLiteral(u"\u00e9\u00ff"), bytes("\xe9\xff\0\0\0", 5)},
        {"BlanksCountBeforeTheCut", bytes("abcdef\0", 7), QStringLiteral("a b c d"), 3, QStringLiteral("abc"),
         bytes("abc\0\0\0\0", 7)},
    };
}

class TextWrite : public ::testing::TestWithParam<TextWriteCase> {};

TEST_P(TextWrite, WritesTheAreaAsExpected) {
    const TextWriteCase& c = GetParam();
    const QByteArray lead = filler(7);
    ModuleImage image(lead + c.before);
    auto written = writeText(image, lead.size(), c.text, c.maxLength);
    ASSERT_TRUE(written) << text::fullText(written.error()).toStdString();
    EXPECT_EQ(storedText(c.text, c.maxLength), c.written);
    EXPECT_EQ(image.bytes(), lead + c.after);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextWrite, ::testing::ValuesIn(textWriteCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TextRead, TakesTheBytesBeforeTheFirstZero) {
    const struct {
        QByteArray area;
        QString text;
    } cases[] = {
        {bytes("hello\0world", 11), QStringLiteral("hello")},
        {bytes("\0abc", 4), QString()},
        {bytes("a b\0", 4), QStringLiteral("a b")},
        {bytes("\xe9t\xe9\0", 4), QStringLiteral(u"\u00e9t\u00e9")},
    };
    for (const auto& c : cases) {
        ModuleImage image(filler(3) + c.area);
        auto text = readText(image, 3);
        ASSERT_TRUE(text);
        EXPECT_EQ(*text, c.text);
    }
}

TEST(TextArea, WithoutAZeroByteInItsFirst255BytesIsAnInvalidArgument) {
    const struct {
        const char* name;
        QByteArray module;
        qint64 offset;
        bool readable;
    } cases[] = {
        {"zero at byte 254", QByteArray(254, 'a') + QByteArray(1, '\0') + "tail", 0, true},
        {"zero at byte 255", QByteArray(255, 'a') + QByteArray(1, '\0') + "tail", 0, false},
        {"no zero at all", QByteArray(300, 'a'), 10, false},
        {"area cut by the end of the module", filler(4) + QByteArray(20, 'a'), 4, false},
        {"zero as the last byte of the module", filler(4) + QByteArray(20, 'a') + QByteArray(1, '\0'), 4,
         true},
        {"offset at the end", QByteArray(8, '\0'), 8, false},
        {"offset past the end", QByteArray(8, '\0'), 9, false},
        {"negative offset", QByteArray(8, '\0'), -1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ModuleImage image(c.module);
        auto read = readText(image, c.offset);
        EXPECT_EQ(bool(read), c.readable);
        auto written = writeText(image, c.offset, QStringLiteral("xyz"), 15);
        EXPECT_EQ(bool(written), c.readable);
        if (!c.readable) {
            EXPECT_EQ(image.bytes(), c.module);
        }
        if (!c.readable && c.offset >= 0 && c.offset < c.module.size()) {
            EXPECT_EQ(read.error().number, errnum::InvalidArgument);
            EXPECT_EQ(written.error().number, errnum::InvalidArgument);
        }
    }
}

TEST(TextWriteRefusal, CharactersOutsideOneByteChangeNothing) {
    for (const QString& text :
         {QStringLiteral(u"ab\u0100"), QStringLiteral(u"\u20ac"), QStringLiteral(u"a\u3042b"),
          QString(QStringLiteral("ab") + QChar(u'\0') + QStringLiteral("c"))}) {
        ModuleImage image(bytes("ABCDEFGH\0rest", 13));
        auto written = writeText(image, 0, text, 15);
        ASSERT_FALSE(written);
        EXPECT_EQ(written.error().number, errnum::TypeMismatch);
        EXPECT_EQ(image.bytes(), bytes("ABCDEFGH\0rest", 13));
        EXPECT_TRUE(unstorableCharacter(text).has_value());
    }
    EXPECT_FALSE(unstorableCharacter(QStringLiteral(u"a\u00ff\u0001")).has_value());
}

TEST(TextWriteRefusal, ACharacterCutOffByTheMaximumDoesNotMatter) {
    ModuleImage image(bytes("ABCDEFGH\0rest", 13));
    auto written = writeText(image, 0, QStringLiteral(u"abc\u20ac"), 3);
    ASSERT_TRUE(written);
    EXPECT_EQ(image.bytes(), bytes("abc\0\0\0\0\0\0rest", 13));
}

// ---------------------------------------------------------------------------
// Date and time format blocks: four 12-byte UTF-16 slots, then a short one.

QByteArray utf16(const QString& s) {
    QByteArray b;
    for (QChar c : s) {
        b.append(static_cast<char>(c.unicode() & 0xFF));
        b.append(static_cast<char>(c.unicode() >> 8));
    }
    b.append(2, '\0');
    return b;
}

QByteArray formatBlock(qint64 shortAt, const QString& shortText) {
    QByteArray block(56, '\0');
    const QString slots[] = {QStringLiteral("%d/%m"), QStringLiteral("%H:%M"), QStringLiteral("ab"),
                             QString()};
    for (int s = 0; s < 4; ++s) {
        const QByteArray u = utf16(slots[s]);
        block.replace(12 * s, u.size(), u);
    }
    const QByteArray u = utf16(shortText);
    block.replace(shortAt, u.size(), u);
    return block;
}

TEST(FormatStrings, ShortStringLiesTwoBytesEarlierInTheFirstRelease) {
    const struct {
        qint64 storedAt;
        const char* stored;
        int version;
        const char* shown;
    } cases[] = {
        {46, "%p", 1, "%p"},                      //
        {48, "%p", 2, "%p"},                      //
        {48, "%H", 14, "%H"}, {48, "%p", 1, "%"}, // release 1 reads the zero at 46, then '%' at 48
        {46, "%p", 2, "p"},                       // the others read 'p' at 48, then the zero at 50
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "short string at " << c.storedAt << ", release " << c.version);
        const ModuleImage image(filler(5) + formatBlock(c.storedAt, QString::fromLatin1(c.stored)) +
                                filler(9));
        auto formats = readFormatStrings(image, 5, vshRow(c.version));
        ASSERT_TRUE(formats) << text::fullText(formats.error()).toStdString();
        EXPECT_EQ((*formats)[0], QStringLiteral("%d/%m"));
        EXPECT_EQ((*formats)[1], QStringLiteral("%H:%M"));
        EXPECT_EQ((*formats)[2], QStringLiteral("ab"));
        EXPECT_EQ((*formats)[3], QString());
        EXPECT_EQ((*formats)[4], QString::fromLatin1(c.shown));
    }
}

TEST(FormatStrings, ABlockCutByTheEndOfTheModuleIsRefused) {
    const ModuleImage image(formatBlock(48, QStringLiteral("%p")).left(40));
    EXPECT_FALSE(readFormatStrings(image, 0, vshRow(2)));
}

// ---------------------------------------------------------------------------
// Colour text form used by the editors and the command-line tool.

TEST(RgbHex, WritesRedFirstAndReadsItBack) {
    const struct {
        Rgb rgb;
        const char* hex;
    } cases[] = {
        {0x0080FFu, "#FF8000"}, {0x000000u, "#000000"}, {0xFFFFFFu, "#FFFFFF"}, {0x123456u, "#563412"}};
    for (const auto& c : cases) {
        EXPECT_EQ(rgbToHex(c.rgb), QString::fromLatin1(c.hex));
        EXPECT_EQ(rgbFromHex(QString::fromLatin1(c.hex)), std::optional<Rgb>(c.rgb));
    }
    EXPECT_EQ(rgbFromHex(u"#ff8000"), std::optional<Rgb>(0x0080FFu));
}

TEST(RgbHex, RefusesAnythingButHashAndSixHexDigits) {
    for (const QString& text :
         {QStringLiteral("FF8000"), QStringLiteral("#FF800"), QStringLiteral("#FF80000"),
          QStringLiteral("#GG8000"), QStringLiteral("#FF 800"), QStringLiteral("#+F8000"),
          QStringLiteral(u"#FF80\uff100"), QString()}) {
        EXPECT_FALSE(rgbFromHex(text).has_value()) << text.toStdString();
    }
}

} // namespace
