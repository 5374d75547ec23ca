#pragma once

// What the main window keeps between runs in the user's settings (QSettings):
// its size, place and maximised state, and the files opened last.

#include <QByteArray>
#include <QRect>
#include <QStringList>

class QObject;
class QSettings;
class QWidget;

namespace qm::ui {

inline constexpr int kMaxRecentFiles = 8;

// The user's settings of the program, kept open by a window for its whole
// run: what it changes is written when Qt next syncs them (back in the event
// loop, at the latest when they go), so no open waits for the disk.
QSettings* programSettings(QObject* parent);

// Newest first, absolute paths: as the settings file holds them, or as
// `settings` hold them now.
QStringList recentFiles();
QStringList recentFiles(const QSettings& settings);
// Puts `path` at the front of the list, once.
void addRecentFile(QSettings& settings, const QString& path);
// Takes `path` out of the list; clearRecentFiles empties it.
void removeRecentFile(QSettings& settings, const QString& path);
void clearRecentFiles(QSettings& settings);

// QWidget::saveGeometry() of the main window as last closed; empty before the first run.
QByteArray storedWindowGeometry();
void storeWindowGeometry(const QByteArray& geometry);

// `frame` moved, and shrunk where it must, to lie inside `available`.
QRect fitInside(const QRect& frame, const QRect& available);
// Moves and shrinks a top-level window, frame included, into its screen's free area.
void fitToScreen(QWidget* window);

} // namespace qm::ui
