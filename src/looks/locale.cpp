#include "locale.h"

#include "prx/numbers.h"

namespace qm::looks {
namespace {

// One number text in another locale. Empty texts (boxes of values the
// release lacks) stay empty.
Result<QString> convert(const QString& text, Shape shape, const QLocale& from, const QLocale& to) {
    if (text.isEmpty())
        return text;
    if (shape == Shape::Integer) {
        auto number = prx::parseInt16(text, from);
        if (!number)
            return number.error();
        return QString::number(*number);
    }
    auto number = prx::parseSingle(text, from);
    if (!number)
        return number.error();
    return prx::formatSingle(*number, to);
}

template <typename Convert> Result<ModuleValues> eachNumber(ModuleValues values, Convert&& convertOne) {
    for (const Member& member : allMembers(values.kind)) {
        if (member.shape != Shape::Single && member.shape != Shape::Integer)
            continue;
        QString& text = numberText(values, member);
        auto converted = convertOne(text, member.shape);
        if (!converted) {
            Error e = converted.error();
            e.detail = member.name + QStringLiteral(" = ") + text;
            return e;
        }
        text = *converted;
    }
    return values;
}

} // namespace

Result<ModuleValues> numbersToLook(ModuleValues values, const QLocale& shownIn) {
    return eachNumber(std::move(values), [&](const QString& text, Shape shape) {
        return convert(text, shape, shownIn, numberLocale());
    });
}

ModuleValues numbersFromLook(ModuleValues values, const QLocale& locale) {
    // A text that doesn't read in the C locale is left as it is; the save will refuse it.
    auto converted = eachNumber(values, [&](const QString& text, Shape shape) -> Result<QString> {
        auto c = convert(text, shape, numberLocale(), locale);
        return c ? c : Result<QString>(text);
    });
    return converted ? *converted : values;
}

} // namespace qm::looks
