#pragma once

// The names of main-menu categories, icons, regions and states, as the menu
// list, looks and the command-line tool show them, and the texts of a whole
// entry. A code a release can't read shows as "ERROR".

#include "prx/menu.h"

#include <QString>
#include <QStringList>

namespace qm::looks {

inline const QString kMenuError = QStringLiteral("ERROR");

QString categoryName(prx::MenuCategory category);
QString stateName(prx::MenuState state);
QString regionName(prx::MenuRegion region);
// The names of what a format offers, in list order.
QStringList categoryNames(prx::MenuFormat format);
QStringList stateNames(prx::MenuFormat format);
QStringList regionNames();
const QStringList& iconNames(prx::MenuFormat format);

// An entry as the menu list shows it: the icon code ("0" when it can't be
// read), and the names of its category, icon (empty past the end of the
// classic list), region and state.
struct MenuTexts {
    QString order;
    QString category;
    QString icon;
    QString region;
    QString enabled;
};
MenuTexts menuTexts(const prx::MenuEntry& entry, prx::ReleaseId release);

} // namespace qm::looks
