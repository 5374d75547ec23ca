#pragma once

// The members of a module's offset row as the tool names them, and where
// each one's value lives among the loaded values.

#include "plainmodule.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>
#include <span>

namespace qm::cli {

enum class Shape {
    Single,  // a number box holding a 4-byte Single
    Integer, // BmpSize
    Text,    // a zero-terminated text
    Colors,  // a block of colour records
    Menu,    // the main-menu entries
    Formats, // a date and time format block (shown, never written)
};

struct Member {
    QString name;
    Shape shape = Shape::Single;
    prx::VshMember vsh{};
    prx::PafMember paf{};
    int slot = -1; // number box, text box or first format box
    int count = 0; // elements of a colour or format block
};

// Every member of a module kind, in table order.
const QList<Member>& allMembers(prx::ModuleKind kind);
std::optional<Member> findMember(prx::ModuleKind kind, QStringView name);
// Whether the module's release has the member.
bool present(const PlainModule& module, const Member& member);

QString& numberText(PlainModule& module, const Member& member);
const QString& numberText(const PlainModule& module, const Member& member);
std::span<prx::Rgb> colours(prx::VshValues& values, const Member& member);
std::span<const prx::Rgb> colours(const prx::VshValues& values, const Member& member);

// NetworkIconYUnfocused of releases 12 to 14 is not set by itself: the save
// makes it MainIconYUnfocused + 1.
bool followsMainIcon(const PlainModule& module, const Member& member);

enum class MenuField { Category, Icon, Region, Enabled };
inline constexpr std::array<const char*, 4> kMenuFieldNames{"category", "icon", "region", "enabled"};
std::optional<MenuField> menuFieldByName(QStringView name);

} // namespace qm::cli
