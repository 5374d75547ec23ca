#include "rules.h"

#include "codecs.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace qm::prx {

bool followsMainIcon(ReleaseId release, VshMember member) {
    const int followed = memberInfo(ModuleKind::Vsh, static_cast<int>(member)).follows;
    return followed >= 0 && release.kind == ModuleKind::Vsh && release.isValid() &&
           vshHas(release.row, member) && vshHas(release.row, static_cast<VshMember>(followed));
}

Single networkIconFollowing(Single mainIcon) {
    const float main = mainIcon.toFloat();
    if (std::isnan(main))
        return Single::fromFloat(std::numeric_limits<float>::quiet_NaN());
    if (std::isinf(main))
        return mainIcon;
    // The value the main icon shows: its shortest text read as a decimal number.
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, main);
    double shown = main;
    std::from_chars(buffer, written.ptr, shown);
    return Single::fromFloat(static_cast<float>(shown + 1.0));
}

void applyFollowing(ModuleValues& values) {
    if (values.kind() != ModuleKind::Vsh ||
        !followsMainIcon(values.release(), VshMember::NetworkIconYUnfocused))
        return;
    values.setValue(VshMember::NetworkIconYUnfocused,
                    networkIconFollowing(values.single(VshMember::MainIconYUnfocused)));
}

bool editable(const ModuleValues& values, int member) {
    if (!values.has(member))
        return false;
    if (values.kind() == ModuleKind::Paf)
        return true;
    const auto m = static_cast<VshMember>(member);
    return shapeOf(m) != Shape::Formats && !followsMainIcon(values.release(), m);
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
