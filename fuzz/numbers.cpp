// Number and text parsing and the value codecs, in English and French.
//
// Input: a mode byte (bit 0 the locale, the rest the mode), then
// - modes 0-2: a text in UTF-8, UTF-16LE or Latin-1, parsed as every kind of number;
// - mode 3: the four bytes of a Single and a colour;
// - mode 4: an offset byte, a length byte, then module bytes and a text, half each.
//
// What must hold, besides no fault: a parsed value written with the codec
// reads back as the same value; a Single's text reads back to its bits in
// both locales; parse failures are conversion errors; a written text reads
// back as written and changes no byte past the old one.

#include "prx/numbers.h"
#include "harness.h"
#include "prx/codecs.h"

#include <bit>
#include <cmath>
#include <cstring>

using namespace qm;
using namespace qm::prx;
using qm::fuzz::require;

namespace {

constexpr int kTextLengthLimit = 48;

enum class Mode { Utf8, Utf16, Latin1, Single, Text, Count };

bool sameSingle(float a, float b) {
    return std::isnan(a) ? std::isnan(b) : std::bit_cast<quint32>(a) == std::bit_cast<quint32>(b);
}

template <typename T> void requireConversionError(const Result<T>& r, QStringView text) {
    if (!r)
        require(r.error().kind == ErrorKind::Conversion, "a text that is no number fails to convert",
                text.toString() + QStringLiteral(": ") + r.error().fullText());
}

// The text of a Single in either locale reads back to the same bits in `locale`.
void checkSingle(float value, const QLocale& locale) {
    for (int which : {0, 1}) {
        const QString text = formatSingle(value, fuzz::locale(which));
        auto back = parseSingle(text, locale);
        require(back.ok(), "a Single's text parses", text + QStringLiteral(": ") + fuzz::errorText(back));
        require(
            sameSingle(*back, value), "a Single's text reads back to its bits",
            text + QStringLiteral(" read as %1").arg(std::bit_cast<quint32>(*back), 8, 16, QLatin1Char('0')));
    }
    ModuleImage image(QByteArray(4, '\0'));
    require(image.putF32(0, value).ok(), "a Single fits its four bytes");
    auto text = readSingleText(image, 0, locale);
    require(text.ok() && *text == formatSingle(value, locale), "the codec shows a Single as formatSingle");
    ModuleImage written(QByteArray(4, '\x5A'));
    require(writeSingleText(written, 0, *text, locale).ok(), "the codec writes a Single's text");
    require(sameSingle(*written.f32(0), value), "the codec writes a Single's text as its bits", *text);
}

void checkNumberText(QStringView text, const QLocale& locale) {
    const auto number = parseNumber(text, locale);
    const auto single = parseSingle(text, locale);
    const auto int16 = parseInt16(text, locale);
    const auto byte = parseByte(text, locale);
    requireConversionError(number, text);
    requireConversionError(single, text);
    requireConversionError(int16, text);
    requireConversionError(byte, text);
    const auto notANumber = [](const auto& r) { return !r && r.error().number == errnum::TypeMismatch; };
    require(notANumber(number) == notANumber(single), "a Single and a Double read the same texts",
            text.toString());
    require(!single || number, "a text that reads as a Single reads as a Double", text.toString());

    if (single) {
        checkSingle(*single, locale);
        ModuleImage image(QByteArray(4, '\0'));
        require(writeSingleText(image, 0, text, locale).ok(), "a parsed Single writes");
        require(sameSingle(*image.f32(0), *single), "the codec writes the parsed Single", text.toString());
    }
    if (int16) {
        const QString shown = QString::number(*int16);
        auto back = parseInt16(shown, locale);
        require(back && *back == *int16, "an integer's text reads back", shown);
        ModuleImage image(QByteArray(2, '\0'));
        require(writeIntegerText(image, 0, text, locale).ok(), "a parsed integer writes");
        auto read = readIntegerText(image, 0);
        require(read && *read == shown, "the codec writes the parsed integer", shown);
    }
    if (byte) {
        auto back = parseByte(QString::number(*byte), locale);
        require(back && *back == *byte, "a byte's text reads back", text.toString());
        require(int16 && *int16 == *byte, "a byte is the integer the text reads as", text.toString());
    }
    if (const auto rgb = rgbFromHex(text))
        require(rgbToHex(*rgb) == text.toString().toUpper(), "a colour's text reads back", text.toString());
}

void checkColor(quint32 bits) {
    const int component = colorComponentToByte(std::bit_cast<float>(bits));
    require(component >= 0 && component <= 255, "a colour component is a byte");
    const Rgb rgb = bits & 0xFFFFFF;
    ModuleImage image(QByteArray(kColorRecordLength, '\0'));
    require(writeColor(image, 0, rgb).ok(), "a colour fits its record");
    auto back = readColor(image, 0);
    require(back && *back == rgb, "a written colour reads back", rgbToHex(rgb));
}

void checkText(fuzz::Input& in) {
    const quint8 offsetByte = in.byte();
    const int maxLength = in.byte() % kTextLengthLimit;
    const QByteArrayView rest = in.rest();
    const QByteArrayView moduleBytes = rest.first(rest.size() / 2);
    const QString text = QString::fromLatin1(rest.sliced(rest.size() / 2));
    const ModuleImage image{moduleBytes.toByteArray()};
    const qint64 offset = offsetByte % (image.size() + 1);

    auto old = readText(image, offset);
    if (old) {
        require(!old->contains(QChar(u'\0')) && old->size() < kTextAreaLength, "a text ends at its zero byte",
                *old);
        require(image.bytes().sliced(offset, old->size()) == old->toLatin1() &&
                    image.bytes().at(offset + old->size()) == '\0',
                "a text is its bytes", *old);
    }
    (void)readFormatStrings(image, offset, 1 + offsetByte % 2);

    QString expected = text;
    expected.remove(QChar(u' '));
    expected.truncate(maxLength);
    ModuleImage written = image;
    auto t = writeText(written, offset, text, maxLength);
    const bool fits = offset + expected.size() <= image.size();
    require(t.ok() == (old.ok() && fits && !expected.contains(QChar(u'\0'))),
            "a text writes where one was read and it fits, without zero characters", fuzz::errorText(t));
    if (!t)
        return;
    require(*t == expected, "the text written is the text without blanks, cut", *t);
    fuzz::ByteRanges slot;
    slot.add(offset, std::max(old->size(), t->size()));
    fuzz::requireChangesWithin(image.bytes(), written.bytes(), slot, "a text changes only its own bytes");
    auto back = readText(written, offset);
    if (old->size() >= t->size())
        require(back && *back == *t, "a text within the old one reads back", *t);
    else if (back)
        require(back->startsWith(*t), "a longer text reads back at its start", *t);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const quint8 first = in.byte();
    const QLocale& locale = fuzz::locale(first & 1);
    const QByteArrayView rest = in.rest();
    switch (static_cast<Mode>((first >> 1) % static_cast<int>(Mode::Count))) {
    case Mode::Utf8:
        checkNumberText(QString::fromUtf8(rest), locale);
        break;
    case Mode::Utf16: {
        QString text(rest.size() / 2, Qt::Uninitialized);
        std::memcpy(text.data(), rest.data(), static_cast<std::size_t>(text.size()) * sizeof(QChar));
        checkNumberText(text, locale);
        break;
    }
    case Mode::Latin1:
        checkNumberText(QString::fromLatin1(rest), locale);
        break;
    case Mode::Single: {
        const quint32 bits = in.u32();
        checkSingle(std::bit_cast<float>(bits), locale);
        checkColor(bits);
        break;
    }
    case Mode::Text:
        checkText(in);
        break;
    case Mode::Count:
        break;
    }
    return 0;
}
