#pragma once

// What the main window keeps between runs in the user's settings (QSettings):
// its size, place and maximised state, and the files opened last.

#include <QByteArray>
#include <QRect>
#include <QStringList>

namespace qm::ui {

inline constexpr int kMaxRecentFiles = 8;

// Newest first, absolute paths.
QStringList recentFiles();
// Puts `path` at the front of the list, once.
void addRecentFile(const QString& path);

// QWidget::saveGeometry() of the main window as last closed; empty before the first run.
QByteArray storedWindowGeometry();
void storeWindowGeometry(const QByteArray& geometry);

// `frame` moved, and shrunk where it must, to lie inside `available`.
QRect fitInside(const QRect& frame, const QRect& available);

} // namespace qm::ui
