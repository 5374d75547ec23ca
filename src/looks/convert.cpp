#include "convert.h"

#include "prx/numbers.h"

#include <cmath>
#include <limits>

namespace qm::looks {
namespace {

Error conversionRefusal(const QString& name, const Error& error) {
    return refusal(name + QStringLiteral(": ") + error.fullText());
}

Error emptyRefusal(const QString& name) {
    return refusal(name + QStringLiteral(": ") + prx::kMsgValueEmpty);
}

QString quoted(QStringView text) {
    return QLatin1Char('"') + text.toString() + QLatin1Char('"');
}

constexpr int kMaxIconCode = 32;

} // namespace

Error refusal(const QString& message) {
    return Error::check(message);
}

Result<QString> singleFromText(QStringView text, const QString& name) {
    if (text.trimmed().isEmpty())
        return emptyRefusal(name);
    auto value = prx::parseSingle(text, numberLocale());
    if (!value)
        return conversionRefusal(name, value.error());
    return prx::formatSingle(*value, numberLocale());
}

Result<QString> singleFromDouble(double value, const QString& name) {
    if (std::isnan(value))
        return prx::formatSingle(std::numeric_limits<float>::quiet_NaN(), numberLocale());
    if (std::isinf(value))
        return conversionRefusal(
            name, Error::overflow(QStringLiteral("the number is beyond the range of a Single")));
    const auto readsBack = [&](float candidate) {
        auto back = prx::parseNumber(prx::formatSingle(candidate, numberLocale()), numberLocale());
        return back && *back == value;
    };
    const float nearest = static_cast<float>(value);
    if (readsBack(nearest))
        return prx::formatSingle(nearest, numberLocale());
    // The double may have been rounded to a float on the other side of the
    // value the text meant: one of the neighbours then reads back exactly.
    for (float direction :
         {-std::numeric_limits<float>::infinity(), std::numeric_limits<float>::infinity()}) {
        const float neighbour = std::nextafter(nearest, direction);
        if (std::isfinite(neighbour) && readsBack(neighbour))
            return prx::formatSingle(neighbour, numberLocale());
    }
    if (std::isinf(nearest))
        return conversionRefusal(name, Error::overflow(QString::number(value, 'g', 17) +
                                                       QStringLiteral(" is beyond the range of a Single")));
    return prx::formatSingle(nearest, numberLocale());
}

Result<QString> bmpSizeFromText(QStringView text, const QString& name) {
    if (text.trimmed().isEmpty())
        return emptyRefusal(name);
    auto number = prx::parseNumber(text, numberLocale());
    if (!number)
        return conversionRefusal(name, number.error());
    if (*number > 32767.0)
        return refusal(name + QStringLiteral(": ") + prx::kMsgBmpMax);
    auto value = prx::parseInt16(text, numberLocale());
    if (!value)
        return conversionRefusal(name, value.error());
    return QString::number(*value);
}

Status checkModuleText(QStringView text, const QString& name) {
    for (QChar c : text)
        if (c.unicode() == 0 || c.unicode() > 0xFF)
            return refusal(
                QStringLiteral(
                    "%1: the character U+%2 can't be stored in a module text (one byte each, U+0001 "
                    "to U+00FF)")
                    .arg(name)
                    .arg(c.unicode(), 4, 16, QLatin1Char('0')));
    return {};
}

Result<prx::Rgb> colourFromText(QStringView text, const QString& name) {
    const auto rgb = prx::rgbFromHex(text.trimmed());
    if (!rgb)
        return refusal(QStringLiteral("%1: %2 is not a colour of the form #RRGGBB").arg(name, quoted(text)));
    return *rgb;
}

Result<QString> choiceFrom(const QStringList& choices, QStringView text, const QString& name) {
    for (const QString& choice : choices)
        if (choice.compare(text.trimmed(), Qt::CaseInsensitive) == 0)
            return choice;
    return refusal(QStringLiteral("%1: %2 is not one of: %3")
                       .arg(name, quoted(text), choices.join(QStringLiteral(", "))));
}

Status setMenuField(prx::MenuRow& row, prx::MenuFormat format, MenuField field, QStringView text,
                    const QString& name) {
    const QStringList* choices = nullptr;
    switch (field) {
    case MenuField::Category:
        choices = &prx::menuCategories(format);
        break;
    case MenuField::Icon:
        choices = &prx::menuIcons(format);
        break;
    case MenuField::Region:
        choices = &prx::menuRegions();
        break;
    case MenuField::Enabled:
        choices = &prx::menuEnabledStates(format);
        break;
    }
    auto choice = choiceFrom(*choices, text, name);
    if (!choice)
        return choice.error();
    switch (field) {
    case MenuField::Category:
        row.category = *choice;
        break;
    case MenuField::Icon:
        row.icon = *choice;
        row.order = QString::number(choices->indexOf(*choice));
        break;
    case MenuField::Region:
        row.region = *choice;
        break;
    case MenuField::Enabled:
        row.enabled = *choice;
        break;
    }
    return {};
}

Status setMenuOrder(prx::MenuRow& row, prx::MenuFormat format, QStringView text, const QString& name) {
    auto number = prx::parseNumber(text, numberLocale());
    if (!number)
        return conversionRefusal(name, number.error());
    if (!(*number >= 0 && *number <= kMaxIconCode) || std::floor(*number) != *number)
        return refusal(QStringLiteral("%1: %2 is not an icon code from 0 to %3")
                           .arg(name, quoted(text))
                           .arg(kMaxIconCode));
    const int code = static_cast<int>(*number);
    row.order = QString::number(code);
    row.icon = prx::menuIcons(format).value(code); // empty past the list's end, as the editor shows it
    return {};
}

std::optional<QString> textStorageNote(const QString& name, const QString& text, int maxLength) {
    QString stored;
    for (QChar c : text)
        if (c != u' ')
            stored.append(c);
    stored.truncate(maxLength);
    if (stored == text)
        return std::nullopt;
    return QStringLiteral("%1: written as \"%2\" (no blanks, at most %3 characters)")
        .arg(name, stored)
        .arg(maxLength);
}

} // namespace qm::looks
