#include "values.h"

#include "menu.h"

#include <cmath>
#include <cstdlib>

namespace qm::prx {
namespace {

int componentToByte(Single component) {
    const float scaled = component.toFloat() * 255.0f; // single precision, as the module stores it
    if (std::isnan(scaled))
        return 0;
    const float r = std::nearbyint(scaled); // halves go to the even neighbour
    if (r > 255.0f)
        return 255;
    if (r < 0.0f)
        return 0;
    return static_cast<int>(r);
}

Value zeroValue(ReleaseId release, int member) {
    const MemberInfo info = memberInfo(release.kind, member);
    switch (info.shape) {
    case Shape::Single:
        return Single();
    case Shape::Integer:
        return qint16(0);
    case Shape::Text:
        return QString();
    case Shape::Colours:
        return ColourBlock(info.elements());
    case Shape::Formats:
        return FormatStrings();
    case Shape::Menu:
        return MenuEntries(menuEntryCount(release));
    }
    return {};
}

// Blocks keep their number of elements: a block is written element by element at fixed places.
qsizetype elements(const Value& v) {
    if (const auto* colours = std::get_if<ColourBlock>(&v))
        return colours->size();
    if (const auto* entries = std::get_if<MenuEntries>(&v))
        return entries->size();
    return 1;
}

} // namespace

void valueKindMismatch() {
    std::abort();
}

Rgb Colour::rgb() const {
    Rgb rgb = 0;
    for (int c = 0; c < 3; ++c)
        rgb |= static_cast<Rgb>(componentToByte(components[static_cast<std::size_t>(c)])) << (8 * c);
    return rgb;
}

Colour Colour::fromRgb(Rgb rgb) {
    Colour colour;
    for (int c = 0; c < 3; ++c) {
        const double component = static_cast<double>((rgb >> (8 * c)) & 0xFF) / 255.0;
        colour.components[static_cast<std::size_t>(c)] = Single::fromFloat(static_cast<float>(component));
    }
    return colour;
}

ModuleValues::ModuleValues(ReleaseId release) : m_release(release) {
    const int count = prx::memberCount(release.kind);
    m_values.resize(static_cast<std::size_t>(count));
    for (int m = 0; m < count; ++m)
        if (offsetOf(release.kind, release.row, m) != 0)
            m_values[static_cast<std::size_t>(m)] = zeroValue(release, m);
}

bool ModuleValues::has(int member) const {
    return member >= 0 && member < memberCount() &&
           !std::holds_alternative<std::monostate>(m_values[static_cast<std::size_t>(member)]);
}

const Value& ModuleValues::value(int member) const {
    if (member < 0 || member >= memberCount())
        std::abort(); // members come from the catalogue's enums
    return m_values[static_cast<std::size_t>(member)];
}

void ModuleValues::setValue(int member, Value v) {
    // A value of another shape, or for a member the release lacks, is a
    // programming error: it could only ever be written to a wrong place.
    if (!has(member) || v.index() != value(member).index() || elements(v) != elements(value(member)))
        std::abort();
    m_values[static_cast<std::size_t>(member)] = std::move(v);
}

} // namespace qm::prx
