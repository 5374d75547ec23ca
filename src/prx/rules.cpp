#include "rules.h"

#include "codecs.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace qm::prx {

std::optional<int> followedMember(ReleaseId release, int member) {
    if (!release.isValid() || member < 0 || member >= memberCount(release.kind))
        return std::nullopt;
    const int followed = memberInfo(release.kind, member).follows;
    if (followed < 0 || offsetOf(release.kind, release.row, member) == 0 ||
        offsetOf(release.kind, release.row, followed) == 0)
        return std::nullopt;
    return followed;
}

Single followingValue(Single followed) {
    const float value = followed.toFloat();
    if (std::isnan(value))
        return Single::fromFloat(std::numeric_limits<float>::quiet_NaN());
    if (std::isinf(value))
        return followed;
    // The value the followed member shows: its shortest text read as a decimal number.
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    double shown = value;
    std::from_chars(buffer, written.ptr, shown);
    return Single::fromFloat(static_cast<float>(shown + 1.0));
}

void applyFollowing(ModuleValues& values) {
    for (int m = 0; m < values.memberCount(); ++m)
        if (const auto followed = followedMember(values.release(), m))
            values.setValue(m, followingValue(std::get<Single>(values.value(*followed))));
}

bool editable(const ModuleValues& values, int member) {
    if (!values.has(member))
        return false;
    return memberInfo(values.kind(), member).shape != Shape::Formats &&
           !followedMember(values.release(), member);
}

Result<qint16> bmpSizeFromNumber(double number) {
    if (std::isnan(number))
        return Error::of(ErrorKind::Conversion, errnum::TypeMismatch, Reason::NaNSize);
    if (number > 32767.0)
        return Error::of(ErrorKind::Check, 0, Reason::BmpMax);
    const double r = std::nearbyint(number); // the default rounding mode sends halves to even
    if (r < -32768.0) {
        Error e = Error::of(ErrorKind::Conversion, errnum::Overflow, Reason::NumberOutside);
        e.value = number;
        e.low = -32768.0;
        e.high = 32767.0;
        return e;
    }
    return static_cast<qint16>(r);
}

Status checkValues(const ModuleValues& values) {
    if (values.kind() != ModuleKind::Vsh)
        return {};
    for (int m = 0; m < values.memberCount(); ++m) {
        const auto member = static_cast<VshMember>(m);
        if (!values.has(m) || shapeOf(member) != Shape::Text)
            continue;
        const QString& text = values.text(member);
        const QString name = QString(memberName(member));
        const qint64 at = offsetOf(ModuleKind::Vsh, values.release().row, m);
        if (text.isEmpty())
            return Error::of(ErrorKind::Check, 0, Reason::ValueEmpty).named(name).at(at);
        if (const auto c = unstorableCharacter(storedText(text, textMaxLength(member))))
            return unstorable(*c).named(name).at(at);
    }
    return {};
}

} // namespace qm::prx
