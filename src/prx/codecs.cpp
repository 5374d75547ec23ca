#include "codecs.h"

#include "numbers.h"

#include <cctype>
#include <cmath>

namespace qm::prx {
namespace {

Result<qint64> terminatorIn(const ModuleImage& image, qint64 offset) {
    if (!image.contains(offset, 1))
        return image.span(offset, 1).error();
    const QByteArrayView area = image.clipped(offset, kTextAreaLength);
    const qsizetype zero = area.indexOf('\0');
    if (zero < 0)
        return Error::invalidArgument(
            QStringLiteral("no terminating zero byte within %1 bytes at offset 0x%2")
                .arg(area.size())
                .arg(offset, 0, 16));
    return static_cast<qint64>(zero);
}

} // namespace

Result<QString> readSingleText(const ModuleImage& image, qint64 offset, const QLocale& locale) {
    auto v = image.f32(offset);
    if (!v)
        return v.error();
    return formatSingle(*v, locale);
}

Status writeSingleText(ModuleImage& image, qint64 offset, QStringView text, const QLocale& locale) {
    auto v = parseSingle(text, locale);
    if (!v)
        return v.error();
    return image.putF32(offset, *v);
}

Result<QString> readIntegerText(const ModuleImage& image, qint64 offset) {
    auto v = image.i16(offset);
    if (!v)
        return v.error();
    return QString::number(*v);
}

Status writeIntegerText(ModuleImage& image, qint64 offset, QStringView text, const QLocale& locale) {
    auto v = parseInt16(text, locale);
    if (!v)
        return v.error();
    return image.putI16(offset, *v);
}

Result<QString> readText(const ModuleImage& image, qint64 offset) {
    auto length = terminatorIn(image, offset);
    if (!length)
        return length.error();
    return QString::fromLatin1(image.clipped(offset, *length));
}

Result<QString> writeText(ModuleImage& image, qint64 offset, QStringView text, int maxLength) {
    // The old text ends at its zero byte (a blank inside it is part of it).
    auto oldLength = terminatorIn(image, offset);
    if (!oldLength)
        return oldLength.error();

    QString t;
    for (QChar c : text)
        if (c != u' ')
            t.append(c);
    t.truncate(maxLength);
    QByteArray bytes;
    bytes.reserve(t.size());
    for (QChar c : std::as_const(t)) {
        if (c.unicode() == 0 || c.unicode() > 0xFF)
            return Error::typeMismatch(QStringLiteral("the character U+%1 can't be stored in a module text")
                                           .arg(c.unicode(), 4, 16, QLatin1Char('0')));
        bytes.append(static_cast<char>(c.unicode()));
    }
    if (auto s = image.putBytes(offset, bytes); !s)
        return s.error();
    if (*oldLength > bytes.size()) {
        const QByteArray zeros(*oldLength - bytes.size(), '\0');
        if (auto s = image.putBytes(offset + bytes.size(), zeros); !s)
            return s.error();
    }
    return t;
}

int colorComponentToByte(float component) {
    const float scaled = component * 255.0f; // single precision, as the module stores it
    if (std::isnan(scaled))
        return 0;
    const float r = std::nearbyint(scaled); // halves go to the even neighbour
    if (r > 255.0f)
        return 255;
    if (r < 0.0f)
        return 0;
    return static_cast<int>(r);
}

Result<Rgb> readColor(const ModuleImage& image, qint64 offset) {
    Rgb rgb = 0;
    for (int c = 0; c < 3; ++c) {
        auto v = image.f32(offset + 4 * c);
        if (!v)
            return v.error();
        rgb |= static_cast<Rgb>(colorComponentToByte(*v)) << (8 * c);
    }
    return rgb;
}

Status writeColor(ModuleImage& image, qint64 offset, Rgb color) {
    if (!image.contains(offset, kColorRecordLength))
        return image.span(offset, kColorRecordLength).error();
    for (int c = 0; c < 3; ++c) {
        const double component = static_cast<double>((color >> (8 * c)) & 0xFF) / 255.0;
        if (auto s = image.putF32(offset + 4 * c, static_cast<float>(component)); !s)
            return s;
    }
    return {};
}

Result<QList<Rgb>> readColorBlock(const ModuleImage& image, qint64 offset, int count) {
    QList<Rgb> colors;
    colors.reserve(count);
    for (int i = 0; i < count; ++i) {
        auto c = readColor(image, offset + kColorRecordLength * i);
        if (!c)
            return c.error();
        colors.append(*c);
    }
    return colors;
}

Result<std::array<QString, 5>> readFormatStrings(const ModuleImage& image, qint64 offset, int version) {
    // A piece is the run of bytes before the next zero, at most 108 of them.
    // For UTF-16LE text below U+0100 a piece at an even position is one
    // character, and a zero character adds nothing.
    auto piece = [&](qint64 at) -> Result<QString> {
        if (!image.contains(at, 1))
            return image.span(at, 1).error();
        QByteArrayView bytes = image.clipped(at, 108);
        const qsizetype zero = bytes.indexOf('\0');
        if (zero >= 0)
            bytes = bytes.first(zero);
        return QString::fromLatin1(bytes);
    };
    std::array<QString, 5> out;
    for (int s = 0; s < 4; ++s) {
        for (int k = 0; k < 5; ++k) {
            auto p = piece(offset + 12 * s + 2 * k);
            if (!p)
                return p.error();
            out[static_cast<std::size_t>(s)] += *p;
        }
    }
    const qint64 shortAt = offset + (version == 1 ? 46 : 48);
    for (int k = 0; k < 2; ++k) {
        auto p = piece(shortAt + 2 * k);
        if (!p)
            return p.error();
        out[4] += *p;
    }
    return out;
}

QString rgbToHex(Rgb color) {
    return QStringLiteral("#%1%2%3")
        .arg(color & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((color >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((color >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

std::optional<Rgb> rgbFromHex(QStringView text) {
    if (text.size() != 7 || text.front() != u'#')
        return std::nullopt;
    for (QChar c : text.mid(1))
        if (!std::isxdigit(static_cast<unsigned char>(c.toLatin1())) || c.unicode() > 0x7F)
            return std::nullopt;
    bool ok = false;
    const uint v = text.mid(1).toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    const Rgb r = (v >> 16) & 0xFF, g = (v >> 8) & 0xFF, b = v & 0xFF;
    return r | (g << 8) | (b << 16);
}

} // namespace qm::prx
