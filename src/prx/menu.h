#pragma once

// Main-menu entries of vshmain.prx (16 bytes each) and the texts the menu
// list shows for them. Releases 8 to 11 use the classic codes, 12 to 14 the
// slim ones.

#include "moduleimage.h"

#include <QLocale>
#include <QString>
#include <QStringList>

namespace qm::prx {

enum class MenuFormat { Classic, Slim };

// One row of the menu list: the five texts exactly as the list shows them.
struct MenuRow {
    QString order;    // the icon code in decimal, "0" to "32"
    QString category; // "Main Menu" column
    QString icon;
    QString region;
    QString enabled;
    bool operator==(const MenuRow&) const = default;
};

inline constexpr qint64 kMenuEntryLength = 16;
inline const QString kMenuError = QStringLiteral("ERROR");

// Which format a release uses, and how many entries it has; 0 entries for
// releases without a menu.
std::optional<MenuFormat> menuFormat(int version);
int menuEntryCount(int version);

// The lists of the editing combos, in list order.
const QStringList& menuCategories(MenuFormat format);
const QStringList& menuIcons(MenuFormat format);
const QStringList& menuRegions();
// The "Enabled" texts the check boxes can produce in a format.
const QStringList& menuEnabledStates(MenuFormat format);

Result<MenuRow> readMenuEntry(const ModuleImage& image, qint64 offset, MenuFormat format, int version);

// Writes the fields of `row` that differ from `loaded` (all four when
// `loaded` is null). A field left as it was loaded keeps its bytes, so codes
// shown as "ERROR" survive a save.
Status writeMenuEntry(ModuleImage& image, qint64 offset, const MenuRow& row, const MenuRow* loaded,
                      MenuFormat format, int version);

} // namespace qm::prx
