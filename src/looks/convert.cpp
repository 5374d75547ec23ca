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

Error conversionRefusal(const QString& name, const Error& error) {
    return refusal(name + QStringLiteral(": ") + text::fullText(error));
}

Error emptyRefusal(const QString& name) {
    return refusal(name + QStringLiteral(": ") + text::kMsgValueEmpty);
}

// The number `shown` (none: an infinite one) overflows a Single.
Error beyondSingle(const QString& shown) {
    Error e = Error::of(ErrorKind::Conversion, errnum::Overflow, Reason::NumberBeyondSingle);
    e.text = shown;
    return e;
}

QString quoted(QStringView text) {
    return QLatin1Char('"') + text.toString() + QLatin1Char('"');
}

QString shown(prx::Single value) {
    return text::formatSingle(value.toFloat(), numberLocale());
}

} // namespace

Error refusal(const QString& message) {
    return Error::check(message);
}

Result<prx::Single> singleFromText(QStringView text, const QString& name, prx::Single current) {
    if (text.trimmed().isEmpty())
        return emptyRefusal(name);
    auto value = text::parseSingle(text, numberLocale());
    if (!value)
        return conversionRefusal(name, value.error());
    const prx::Single single = prx::Single::fromFloat(*value);
    return shown(single) == shown(current) ? current : single;
}

Result<prx::Single> singleFromDouble(double value, const QString& name) {
    if (std::isnan(value))
        return prx::Single::fromFloat(std::numeric_limits<float>::quiet_NaN());
    if (std::isinf(value))
        return conversionRefusal(name, beyondSingle({}));
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
        return conversionRefusal(name, beyondSingle(QString::number(value, 'g', 17)));
    return prx::Single::fromFloat(nearest);
}

Result<qint16> bmpSizeFromText(QStringView text, const QString& name) {
    if (text.trimmed().isEmpty())
        return emptyRefusal(name);
    auto number = text::parseNumber(text, numberLocale());
    if (!number)
        return conversionRefusal(name, number.error());
    auto value = prx::bmpSizeFromNumber(*number);
    if (!value) {
        if (value.error().kind == ErrorKind::Check)
            return refusal(name + QStringLiteral(": ") + text::kMsgBmpMax);
        return conversionRefusal(name, text::parseInt16(text, numberLocale()).error());
    }
    return *value;
}

Status checkModuleText(QStringView text, const QString& name) {
    if (const auto c = prx::unstorableCharacter(text))
        return refusal(QStringLiteral("%1: the character U+%2 can't be stored in a module text (one byte "
                                      "each, U+0001 to U+00FF)")
                           .arg(name)
                           .arg(c->unicode(), 4, 16, QLatin1Char('0')));
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
        return conversionRefusal(name, number.error());
    if (!(*number >= 0 && *number <= prx::kMaxMenuIconCode) || std::floor(*number) != *number)
        return refusal(QStringLiteral("%1: %2 is not an icon code from 0 to %3")
                           .arg(name, quoted(text))
                           .arg(prx::kMaxMenuIconCode));
    prx::setIcon(entry, static_cast<int>(*number));
    return {};
}

std::optional<QString> textStorageNote(const QString& name, const QString& text, int maxLength) {
    const QString stored = prx::storedText(text, maxLength);
    if (stored == text)
        return std::nullopt;
    return QStringLiteral("%1: written as \"%2\" (no blanks, at most %3 characters)")
        .arg(name, stored)
        .arg(maxLength);
}

} // namespace qm::looks
