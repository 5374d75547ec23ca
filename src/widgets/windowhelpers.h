#pragma once

// Window-level helpers: window icons, and control names that carry an index.

#include <QIcon>
#include <QString>

class QWidget;

namespace qm::ui {

// Sets the window's icon from one of the program's icons ("AAA" for the
// main window, "BBB" for the editors); with setOnOwner also on the topmost
// window of its owner chain.
void setProgramIcon(QWidget* window, const QString& iconName, bool setOnOwner);
QIcon programIcon(const QString& iconName);

// "statusPanel(2)": the object name of element 2 of a row of like controls.
QString indexedName(const QString& name, int index);

} // namespace qm::ui
