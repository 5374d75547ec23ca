#pragma once

// The members of a module's offset row by the names looks, dumps and the
// command-line tool give them, and where each one's value lives among the
// loaded values. These names are the keys of every look file, so this is
// the one list of them.

#include "prx/catalogue.h"
#include "prx/paf.h"
#include "prx/vsh.h"

#include <QList>
#include <QLocale>
#include <QString>

#include <array>
#include <optional>
#include <span>

namespace qm::looks {

// The values of one module as the editors hold them, with every number text
// in the C locale (as prx::readVshFile(path, version, numberLocale()) gives them).
struct ModuleValues {
    prx::ModuleKind kind = prx::ModuleKind::Vsh;
    int version = 0;    // release row
    prx::VshValues vsh; // when kind is Vsh
    prx::PafValues paf; // when kind is Paf

    bool sameValues(const ModuleValues& other) const { return vsh == other.vsh && paf == other.paf; }
};

// Every number text of a look uses the C locale.
inline QLocale numberLocale() {
    return QLocale::c();
}

QLatin1StringView kindName(prx::ModuleKind kind); // "vsh", "paf"
// The release label, e.g. "VSHMain.prx - 3.71".
QString releaseLabel(const ModuleValues& values);

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
bool present(const ModuleValues& module, const Member& member);

QString& numberText(ModuleValues& module, const Member& member);
const QString& numberText(const ModuleValues& module, const Member& member);
std::span<prx::Rgb> colours(prx::VshValues& values, const Member& member);
std::span<const prx::Rgb> colours(const prx::VshValues& values, const Member& member);

// NetworkIconYUnfocused of releases 12 to 14 is not set by itself: the save
// makes it MainIconYUnfocused + 1.
bool followsMainIcon(const ModuleValues& module, const Member& member);

enum class MenuField { Category, Icon, Region, Enabled };
inline constexpr std::array<const char*, 4> kMenuFieldNames{"category", "icon", "region", "enabled"};
std::optional<MenuField> menuFieldByName(QStringView name);

} // namespace qm::looks
