#pragma once

// The values of a module as values, keyed by member: the Singles as their
// bit patterns, the 16-bit BmpSize, texts, colour records, the date and time
// formats and the main-menu entries as their codes. Nothing here is text
// for a person to read and nothing depends on a locale: the windows and the
// command-line tool turn values into text at their edges.

#include "catalogue.h"

#include <QList>
#include <QString>

#include <array>
#include <bit>
#include <type_traits>
#include <variant>
#include <vector>

namespace qm::prx {

// A 4-byte IEEE single kept as its bit pattern, so that a value read and
// written back keeps every bit (NaN payloads and the sign of zero included).
class Single {
public:
    constexpr Single() = default;
    static constexpr Single fromBits(quint32 bits) {
        Single s;
        s.m_bits = bits;
        return s;
    }
    static constexpr Single fromFloat(float value) { return fromBits(std::bit_cast<quint32>(value)); }
    constexpr quint32 bits() const { return m_bits; }
    constexpr float toFloat() const { return std::bit_cast<float>(m_bits); }
    constexpr bool operator==(const Single&) const = default;

private:
    quint32 m_bits = 0;
};

// A colour as 24 bits: red + 256 * green + 65536 * blue.
using Rgb = quint32;

// A colour record: red, green and blue as Singles from 0.0 to 1.0.
struct Colour {
    std::array<Single, 3> components{};

    // The 24-bit view: each component times 255, rounded half to even and
    // clamped to 0..255.
    Rgb rgb() const;
    // Components c / 255 for each 8-bit part of the colour.
    static Colour fromRgb(Rgb rgb);
    bool operator==(const Colour&) const = default;
};

// A main-menu entry by its four codes: byte 0 the category, byte 4 the
// icon, byte 8 the state, bytes 12 to 15 the region (little-endian).
struct MenuEntry {
    quint8 category = 0;
    quint8 icon = 0;
    quint8 state = 0;
    quint32 region = 0;
    bool operator==(const MenuEntry&) const = default;
};

using ColourBlock = QList<Colour>;
using FormatStrings = std::array<QString, 5>;
using MenuEntries = QList<MenuEntry>;

// One member's value; monostate for a member the release lacks.
using Value = std::variant<std::monostate, Single, qint16, QString, ColourBlock, FormatStrings, MenuEntries>;

// Which alternative of Value a shape holds.
template <typename T> constexpr bool valueHolds(Shape shape) {
    switch (shape) {
    case Shape::Single:
        return std::is_same_v<T, Single>;
    case Shape::Integer:
        return std::is_same_v<T, qint16>;
    case Shape::Text:
        return std::is_same_v<T, QString>;
    case Shape::Colours:
        return std::is_same_v<T, ColourBlock>;
    case Shape::Formats:
        return std::is_same_v<T, FormatStrings>;
    case Shape::Menu:
        return std::is_same_v<T, MenuEntries>;
    }
    return false;
}

// A programming error: a member of one kind asked of the other kind's values.
[[noreturn]] void valueKindMismatch();

template <typename M> constexpr ModuleKind kindOfMember();
template <> constexpr ModuleKind kindOfMember<VshMember>() {
    return ModuleKind::Vsh;
}
template <> constexpr ModuleKind kindOfMember<PafMember>() {
    return ModuleKind::Paf;
}

// Every value of one module of a known release, by member. A new set holds
// a zero value of the right shape for each member the release has.
class ModuleValues {
public:
    ModuleValues() = default;
    explicit ModuleValues(ReleaseId release);

    ModuleKind kind() const { return m_release.kind; }
    ReleaseId release() const { return m_release; }
    // Members of the kind, whether the release has them or not.
    int memberCount() const { return static_cast<int>(m_values.size()); }

    bool has(int member) const;
    const Value& value(int member) const;
    // Replaces a member's value; the value must be of the member's shape.
    void setValue(int member, Value value);

    template <typename M> bool has(M member) const { return sameKind<M>() && has(static_cast<int>(member)); }
    template <typename M> const Value& value(M member) const {
        checkKind<M>();
        return value(static_cast<int>(member));
    }
    template <typename M> void setValue(M member, Value v) {
        checkKind<M>();
        setValue(static_cast<int>(member), std::move(v));
    }
    template <typename T, typename M> const T& get(M member) const { return std::get<T>(value(member)); }

    template <typename M> Single single(M member) const { return get<Single>(member); }
    qint16 integer(VshMember member) const { return get<qint16>(member); }
    const QString& text(VshMember member) const { return get<QString>(member); }
    const ColourBlock& colours(VshMember member) const { return get<ColourBlock>(member); }
    const FormatStrings& formats(VshMember member) const { return get<FormatStrings>(member); }
    const MenuEntries& menu() const { return get<MenuEntries>(VshMember::MenuEntries); }

    bool operator==(const ModuleValues&) const = default;

private:
    template <typename M> bool sameKind() const { return kindOfMember<M>() == m_release.kind; }
    template <typename M> void checkKind() const;

    ReleaseId m_release;
    std::vector<Value> m_values;
};

template <typename M> void ModuleValues::checkKind() const {
    if (!sameKind<M>())
        valueKindMismatch();
}

} // namespace qm::prx
