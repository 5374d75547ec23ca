// Number and text parsing and the value codecs, in English and French.
//
// Input: a mode byte (bit 0 the locale, the rest the mode), then
// - modes 0-2: a text in UTF-8, UTF-16LE or Latin-1, parsed as every kind of number;
// - mode 3: the four bytes of a Single and a colour;
// - mode 4: an offset byte, a length byte, then module bytes and a text, half each.
//
// What must hold, besides no fault: a parsed value written with the codec
// reads back as the same value; a Single's text reads back to its bits in
// both locales, and the codec keeps every bit of it; parse failures are
// conversion errors; a written text reads back as written and changes no
// byte past the old one.

#include "text/numbers.h"
#include "harness.h"
#include "prx/codecs.h"
#include "text/errortext.h"

#include <bit>
#include <cmath>
#include <cstring>

using namespace qm;
using namespace qm::prx;
using namespace qm::text;
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
                text.toString() + QStringLiteral(": ") + text::fullText(r.error()));
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
    auto read = readSingle(image, 0);
    require(read && read->bits() == std::bit_cast<quint32>(value), "the codec reads a Single's bits");
    ModuleImage written(QByteArray(4, '\x5A'));
    require(writeSingle(written, 0, *read).ok(), "the codec writes a Single");
    require(written.bytes() == image.bytes(), "the codec writes a Single's bits, NaN payloads too");
    const QString text = formatSingle(read->toFloat(), locale);
    auto parsed = parseSingle(text, locale);
    require(parsed.ok(), "a Single's text parses", text);
    ModuleImage fromText(QByteArray(4, '\x5A'));
    require(writeSingle(fromText, 0, Single::fromFloat(*parsed)).ok(), "the codec writes a Single's text");
    require(sameSingle(*fromText.f32(0), value), "the codec writes a Single's text as its bits", text);
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
        require(writeSingle(image, 0, Single::fromFloat(*single)).ok(), "a parsed Single writes");
        require(sameSingle(*image.f32(0), *single), "the codec writes the parsed Single", text.toString());
    }
    if (int16) {
        const QString shown = QString::number(*int16);
        auto back = parseInt16(shown, locale);
        require(back && *back == *int16, "an integer's text reads back", shown);
        ModuleImage image(QByteArray(2, '\0'));
        require(writeInteger(image, 0, *int16).ok(), "a parsed integer writes");
        auto read = readInteger(image, 0);
        require(read && QString::number(*read) == shown, "the codec writes the parsed integer", shown);
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
    const Single c = Single::fromBits(bits);
    const Rgb grey = Colour{{c, c, c}}.rgb();
    require(grey <= 0xFFFFFF && grey % 0x010101 == 0, "a colour component is a byte, the same in each place",
            rgbToHex(grey));
    // A record keeps its components, whatever they show.
    ModuleImage record(QByteArray(kColourRecordLength, '\0'));
    require(writeColour(record, 0, Colour{{c, Single::fromBits(~bits), c}}).ok(), "a colour fits its record");
    auto kept = readColour(record, 0);
    require(kept && kept->components[0] == c && kept->components[1].bits() == ~bits,
            "a record keeps its bits");
    const Rgb rgb = bits & 0xFFFFFF;
    ModuleImage image(QByteArray(kColourRecordLength, '\0'));
    require(writeColour(image, 0, Colour::fromRgb(rgb)).ok(), "a colour fits its record");
    auto back = readColour(image, 0);
    require(back && back->rgb() == rgb && *back == Colour::fromRgb(rgb), "a written colour reads back",
            rgbToHex(rgb));
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
    (void)readFormatStrings(image, offset, ReleaseId{ModuleKind::Vsh, 1 + offsetByte % 2});

    QString expected = text;
    expected.remove(QChar(u' '));
    expected.truncate(maxLength);
    ModuleImage written = image;
    auto t = writeText(written, offset, text, maxLength);
    const bool fits = offset + expected.size() <= image.size();
    require(t.ok() == (old.ok() && fits && !expected.contains(QChar(u'\0'))),
            "a text writes where one was read and it fits, without zero characters", fuzz::errorText(t));
    require(storedText(text, maxLength) == expected, "a text is stored without blanks, cut", expected);
    if (!t) {
        require(written.bytes() == image.bytes(), "a text that fails changes nothing", expected);
        return;
    }
    fuzz::ByteRanges slot;
    slot.add(offset, std::max(old->size(), expected.size()));
    fuzz::requireChangesWithin(image.bytes(), written.bytes(), slot, "a text changes only its own bytes");
    auto back = readText(written, offset);
    if (old->size() >= expected.size())
        require(back && *back == expected, "a text within the old one reads back", expected);
    else if (back)
        require(back->startsWith(expected), "a longer text reads back at its start", expected);
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
