#pragma once

// The members of a module's offset row by the names looks, dumps and the
// command-line tool give them. These names are the keys of every look file,
// so this is the one list of them.

#include "prx/catalogue.h"
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

QLatin1StringView kindName(prx::ModuleKind kind); // "vsh", "paf"
// The release label, e.g. "VSHMain.prx - 3.71".
QString releaseLabel(const ModuleValues& values);

using prx::Shape;

struct Member {
    QString name;
    Shape shape = Shape::Single;
    prx::ModuleKind kind = prx::ModuleKind::Vsh;
    int index = 0; // the member's place in its kind's offset row
    int count = 1; // elements of a colour or format block
    int textLimit = 0;

    prx::VshMember vsh() const { return static_cast<prx::VshMember>(index); }
    // The longest text stored for a text member.
    int maxLength() const { return textLimit; }
};

// Every member of a module kind, in table order.
const QList<Member>& allMembers(prx::ModuleKind kind);
std::optional<Member> findMember(prx::ModuleKind kind, QStringView name);
// Whether the module's release has the member.
bool present(const ModuleValues& module, const Member& member);

// NetworkIconYUnfocused of releases 12 to 14 is not set by itself: the save
// makes it MainIconYUnfocused + 1.
bool followsMainIcon(const ModuleValues& module, const Member& member);

// A Single or BmpSize as a dump shows it, in the C locale.
QString numberText(const ModuleValues& module, const Member& member);

enum class MenuField { Category, Icon, Region, Enabled };
inline constexpr std::array<const char*, 4> kMenuFieldNames{"category", "icon", "region", "enabled"};
std::optional<MenuField> menuFieldByName(QStringView name);

} // namespace qm::looks
