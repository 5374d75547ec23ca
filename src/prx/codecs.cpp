#include "codecs.h"

#include <cctype>

namespace qm::prx {
namespace {

Result<qint64> terminatorIn(const ModuleImage& image, qint64 offset) {
    if (!image.contains(offset, 1))
        return image.span(offset, 1).error();
    const QByteArrayView area = image.clipped(offset, kTextAreaLength);
    const qsizetype zero = area.indexOf('\0');
    if (zero < 0) {
        Error e = Error::of(ErrorKind::Conversion, errnum::InvalidArgument, Reason::NoTerminator).at(offset);
        e.count = area.size();
        return e;
    }
    return static_cast<qint64>(zero);
}

} // namespace

Result<Single> readSingle(const ModuleImage& image, qint64 offset) {
    auto v = image.i32(offset);
    if (!v)
        return v.error();
    return Single::fromBits(static_cast<quint32>(*v));
}

Status writeSingle(ModuleImage& image, qint64 offset, Single value) {
    return image.putI32(offset, static_cast<qint32>(value.bits()));
}

Result<qint16> readInteger(const ModuleImage& image, qint64 offset) {
    return image.i16(offset);
}

Status writeInteger(ModuleImage& image, qint64 offset, qint16 value) {
    return image.putI16(offset, value);
}

Result<QString> readText(const ModuleImage& image, qint64 offset) {
    auto length = terminatorIn(image, offset);
    if (!length)
        return length.error();
    return QString::fromLatin1(image.clipped(offset, *length));
}

QString storedText(QStringView text, int maxLength) {
    QString t;
    for (QChar c : text)
        if (c != u' ')
            t.append(c);
    t.truncate(maxLength);
    return t;
}

std::optional<QChar> unstorableCharacter(QStringView text) {
    for (QChar c : text)
        if (c.unicode() == 0 || c.unicode() > 0xFF)
            return c;
    return std::nullopt;
}

Error unstorable(QChar c) {
    Error e = Error::of(ErrorKind::Conversion, errnum::TypeMismatch, Reason::Unstorable);
    e.character = c.unicode();
    return e;
}

Status writeText(ModuleImage& image, qint64 offset, QStringView text, int maxLength) {
    // The old text ends at its zero byte (a blank inside it is part of it).
    auto oldLength = terminatorIn(image, offset);
    if (!oldLength)
        return oldLength.error();
    const QString t = storedText(text, maxLength);
    if (const auto c = unstorableCharacter(t))
        return unstorable(*c).at(offset);
    const QByteArray bytes = t.toLatin1();
    if (auto s = image.putBytes(offset, bytes); !s)
        return s;
    if (*oldLength > bytes.size()) {
        const QByteArray zeros(*oldLength - bytes.size(), '\0');
        if (auto s = image.putBytes(offset + bytes.size(), zeros); !s)
            return s;
    }
    return {};
}

Result<Colour> readColour(const ModuleImage& image, qint64 offset) {
    Colour colour;
    for (int c = 0; c < 3; ++c) {
        auto v = readSingle(image, offset + 4 * c);
        if (!v)
            return v.error();
        colour.components[static_cast<std::size_t>(c)] = *v;
    }
    return colour;
}

Status writeColour(ModuleImage& image, qint64 offset, const Colour& colour) {
    if (!image.contains(offset, kColourRecordLength))
        return image.span(offset, kColourRecordLength).error();
    for (int c = 0; c < 3; ++c)
        (void)writeSingle(image, offset + 4 * c, colour.components[static_cast<std::size_t>(c)]);
    return {};
}

Result<ColourBlock> readColourBlock(const ModuleImage& image, qint64 offset, int count) {
    ColourBlock colours;
    colours.reserve(count);
    for (int i = 0; i < count; ++i) {
        auto c = readColour(image, offset + kColourRecordLength * i);
        if (!c)
            return c.error();
        colours.append(*c);
    }
    return colours;
}

Result<FormatStrings> readFormatStrings(const ModuleImage& image, qint64 offset, ReleaseId release) {
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
    FormatStrings out;
    for (int s = 0; s < 4; ++s) {
        for (int k = 0; k < 5; ++k) {
            auto p = piece(offset + 12 * s + 2 * k);
            if (!p)
                return p.error();
            out[static_cast<std::size_t>(s)] += *p;
        }
    }
    const qint64 shortAt = offset + (release == ReleaseId{ModuleKind::Vsh, 1} ? 46 : 48);
    for (int k = 0; k < 2; ++k) {
        auto p = piece(shortAt + 2 * k);
        if (!p)
            return p.error();
        out[4] += *p;
    }
    return out;
}

Result<MenuEntry> readMenuEntry(const ModuleImage& image, qint64 offset) {
    auto bytes = image.span(offset, kMenuEntryLength);
    if (!bytes)
        return bytes.error();
    MenuEntry e;
    e.category = *image.u8(offset);
    e.icon = *image.u8(offset + 4);
    e.state = *image.u8(offset + 8);
    e.region = static_cast<quint32>(*image.i32(offset + 12));
    return e;
}

Status writeMenuEntry(ModuleImage& image, qint64 offset, const MenuEntry& entry) {
    if (!image.contains(offset, kMenuEntryLength))
        return image.span(offset, kMenuEntryLength).error();
    (void)image.putU8(offset, entry.category);
    (void)image.putU8(offset + 4, entry.icon);
    (void)image.putU8(offset + 8, entry.state);
    (void)image.putI32(offset + 12, static_cast<qint32>(entry.region));
    return {};
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
