#include "convert.h"

#include "menunames.h"
#include "prx/codecs.h"
#include "prx/rules.h"
#include "text/errortext.h"
#include "text/numbers.h"

#include <cmath>
#include <limits>

namespace qm::looks {
namespace {

// A check refusal of `reason` about the value `name`.
Error refusedAs(Reason reason, const QString& name, QStringView text = {}) {
    Error e = Error::of(ErrorKind::Check, 0, reason);
    e.text = text.toString();
    return e.named(name);
}

// The number `shown` (none: an infinite one) overflows a Single.
Error beyondSingle(const QString& shown) {
    Error e = Error::of(ErrorKind::Conversion, errnum::Overflow, Reason::NumberBeyondSingle);
    e.text = shown;
    return e;
}

// The value a text gives for a member whose value is `current`; an empty text is refused.
Result<prx::Value> fromText(QStringView text, const QString& name, const prx::Value& current) {
    if (text.trimmed().isEmpty())
        return refusedAs(Reason::ValueEmpty, name);
    auto value = valueFromText(text, current, numberLocale());
    if (!value)
        return value.error().named(name);
    return value;
}

} // namespace

Error refusal(const QString& message) {
    return Error::check(message);
}

QString shownText(const prx::Value& value, const QLocale& locale) {
    if (const auto* single = std::get_if<prx::Single>(&value))
        return text::formatSingle(single->toFloat(), locale);
    if (const auto* integer = std::get_if<qint16>(&value))
        return QString::number(*integer);
    if (const auto* text = std::get_if<QString>(&value))
        return *text;
    return {};
}

Result<prx::Value> valueFromText(QStringView text, const prx::Value& current, const QLocale& locale) {
    if (std::holds_alternative<QString>(current))
        return prx::Value(text.toString());
    if (std::holds_alternative<qint16>(current)) {
        auto number = text::parseNumber(text, locale);
        if (!number)
            return number.error();
        auto size = prx::bmpSizeFromNumber(*number);
        if (!size && size.error().kind != ErrorKind::Check)
            return text::parseInt16(text, locale).error(); // NaN, or below -32768: the text as given
        if (!size)
            return size.error();
        return prx::Value(*size);
    }
    auto number = text::parseSingle(text, locale);
    if (!number)
        return number.error();
    const prx::Single single = prx::Single::fromFloat(*number);
    if (shownText(single, locale) == shownText(current, locale))
        return current;
    return prx::Value(single);
}

Result<prx::Single> singleFromText(QStringView text, const QString& name, prx::Single current) {
    auto value = fromText(text, name, current);
    if (!value)
        return value.error();
    return std::get<prx::Single>(*value);
}

Result<prx::Single> singleFromDouble(double value, const QString& name) {
    if (std::isnan(value))
        return prx::Single::fromFloat(std::numeric_limits<float>::quiet_NaN());
    if (std::isinf(value))
        return beyondSingle({}).named(name);
    const auto readsBack = [&](float candidate) {
        auto back = text::parseNumber(text::formatSingle(candidate, numberLocale()), numberLocale());
        return back && *back == value;
    };
    const float nearest = static_cast<float>(value);
    if (readsBack(nearest))
        return prx::Single::fromFloat(nearest);
    // The double may have been rounded to a float on the other side of the
    // value the text meant: one of the neighbours then reads back exactly.
    for (float direction :
         {-std::numeric_limits<float>::infinity(), std::numeric_limits<float>::infinity()}) {
        const float neighbour = std::nextafter(nearest, direction);
        if (std::isfinite(neighbour) && readsBack(neighbour))
            return prx::Single::fromFloat(neighbour);
    }
    if (std::isinf(nearest))
        return beyondSingle(QString::number(value, 'g', 17)).named(name);
    return prx::Single::fromFloat(nearest);
}

Result<qint16> bmpSizeFromText(QStringView text, const QString& name) {
    auto value = fromText(text, name, qint16(0));
    if (!value)
        return value.error();
    return std::get<qint16>(*value);
}

Status checkModuleText(QStringView text, const QString& name) {
    if (const auto c = prx::unstorableCharacter(text)) {
        Error e = refusedAs(Reason::TypedCharacter, name);
        e.character = c->unicode();
        return e;
    }
    return {};
}

Result<prx::Rgb> colourFromText(QStringView text, const QString& name) {
    const auto rgb = prx::rgbFromHex(text.trimmed());
    if (!rgb)
        return refusedAs(Reason::NotColour, name, text);
    return *rgb;
}

Result<QString> choiceFrom(const QStringList& choices, QStringView text, const QString& name) {
    for (const QString& choice : choices)
        if (choice.compare(text.trimmed(), Qt::CaseInsensitive) == 0)
            return choice;
    Error e = refusedAs(Reason::NotChoice, name, text);
    e.other = choices.join(QStringLiteral(", "));
    return e;
}

Status setMenuField(prx::MenuEntry& entry, prx::ReleaseId release, MenuField field, QStringView text,
                    const QString& name) {
    const prx::MenuFormat format = prx::menuFormat(release).value_or(prx::MenuFormat::Classic);
    QStringList choices;
    switch (field) {
    case MenuField::Category:
        choices = categoryNames(format);
        break;
    case MenuField::Icon:
        choices = iconNames(format);
        break;
    case MenuField::Region:
        choices = regionNames();
        break;
    case MenuField::Enabled:
        choices = stateNames(format);
        break;
    }
    auto choice = choiceFrom(choices, text, name);
    if (!choice)
        return choice.error();
    const auto index = static_cast<std::size_t>(choices.indexOf(*choice));
    switch (field) {
    case MenuField::Category:
        prx::setCategory(entry, prx::menuCategories(format)[index], release);
        break;
    case MenuField::Icon:
        prx::setIcon(entry, static_cast<int>(index));
        break;
    case MenuField::Region:
        prx::setRegion(entry, prx::kMenuRegions[index]);
        break;
    case MenuField::Enabled:
        prx::setState(entry, prx::menuStates(format)[index], release);
        break;
    }
    return {};
}

Status setMenuOrder(prx::MenuEntry& entry, QStringView text, const QString& name) {
    auto number = text::parseNumber(text, numberLocale());
    if (!number)
        return number.error().named(name);
    if (!(*number >= 0 && *number <= prx::kMaxMenuIconCode) || std::floor(*number) != *number) {
        Error e = refusedAs(Reason::NotIconCode, name, text);
        e.limit = prx::kMaxMenuIconCode;
        return e;
    }
    prx::setIcon(entry, static_cast<int>(*number));
    return {};
}

std::optional<QString> textStorageNote(const QString& name, const QString& text, int maxLength) {
    const QString stored = prx::storedText(text, maxLength);
    if (stored == text)
        return std::nullopt;
    return text::storedTextNote(name, stored, maxLength);
}

} // namespace qm::looks
