#pragma once

// What the File menu does with an editor window's values besides saving
// them: looks (File > Export Look..., Import Look...) and themes (Export
// Theme..., and a theme opened or dropped described rather than refused).
// `owner` is the main window, which the messages belong to.

#include <QList>
#include <QString>

class QWidget;

namespace qm::ui {

class EditorWindow;

// The window's values as a look file; a look or theme file's values put into
// the window as one step, without saving. The status bar of `owner` says
// how many values came in.
void exportLook(QWidget* owner, EditorWindow& child);
void importLook(QWidget* owner, EditorWindow& child);
// Import Look of a theme: its runs onto the window's values, values only;
// false when `path` holds no theme.
bool importThemeLook(QWidget* owner, EditorWindow& child, const QString& path);

// Themes exist for the window's release.
bool canExportTheme(const EditorWindow* child);
// The window's current values as a CXMB theme; `open` are all editor
// windows, of which one of the other kind and the same firmware may go in too.
void exportTheme(QWidget* owner, EditorWindow& child, const QList<EditorWindow*>& open);
// Describes a theme file in a message box; false when `path` holds no theme.
bool describeTheme(QWidget* owner, const QString& path);

// "2 values came in from look.json.": in the status bar of `owner`'s main window.
void tellValuesTaken(QWidget* owner, qsizetype count, const QString& path);

} // namespace qm::ui
