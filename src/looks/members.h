#pragma once

// What looks, dumps and the command-line tool share about members: the
// catalogue's rows (whose names are the keys of every look file), the
// number locale, and the fields of a menu row.

#include "prx/catalogue.h"
#include "prx/header.h"
#include "prx/values.h"

#include <QList>
#include <QLocale>
#include <QString>

#include <array>
#include <optional>

namespace qm::looks {

// The values of one module, by member.
using prx::ModuleValues;

// Every number text of a look uses the C locale.
inline QLocale numberLocale() {
    return QLocale::c();
}

// The module kinds' names, "vsh" and "paf".
using prx::kindName;
// The release label, e.g. "VSHMain.prx - 3.71".
QString releaseLabel(const ModuleValues& values);

// The members by the catalogue's rows (prx::members, prx::findMember).
using prx::MemberInfo;
using prx::Shape;

// Whether the module's release has the member.
bool present(const ModuleValues& module, const MemberInfo& member);

// A Single or BmpSize as a dump shows it, in the C locale.
QString numberText(const ModuleValues& module, const MemberInfo& member);

enum class MenuField { Category, Icon, Region, Enabled };
inline constexpr std::array<const char*, 4> kMenuFieldNames{"category", "icon", "region", "enabled"};
std::optional<MenuField> menuFieldByName(QStringView name);

} // namespace qm::looks
