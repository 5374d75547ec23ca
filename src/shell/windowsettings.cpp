#include "windowsettings.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace qm::ui {
namespace {

const QString kRecentKey = QStringLiteral("recentFiles");
const QString kGeometryKey = QStringLiteral("geometry");

// The user's settings of the program: ~/.config/Quillmark/Quillmark.conf on Linux,
// named for the program both as organisation and as application.
const QString kProgram = QStringLiteral("Quillmark");

} // namespace

QSettings* programSettings(QObject* parent) {
    return new QSettings(kProgram, kProgram, parent);
}

QStringList recentFiles() {
    const QSettings settings(kProgram, kProgram);
    return recentFiles(settings);
}

QStringList recentFiles(const QSettings& settings) {
    QStringList files = settings.value(kRecentKey).toStringList();
    files.removeAll(QString());
    return files.mid(0, kMaxRecentFiles);
}

void addRecentFile(QSettings& settings, const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = recentFiles(settings);
    files.removeAll(absolute);
    files.prepend(absolute);
    settings.setValue(kRecentKey, files.mid(0, kMaxRecentFiles));
}

void removeRecentFile(QSettings& settings, const QString& path) {
    QStringList files = recentFiles(settings);
    files.removeAll(QFileInfo(path).absoluteFilePath());
    settings.setValue(kRecentKey, files);
}

void clearRecentFiles(QSettings& settings) {
    settings.setValue(kRecentKey, QStringList());
}

QByteArray storedWindowGeometry() {
    const QSettings settings(kProgram, kProgram);
    return settings.value(kGeometryKey).toByteArray();
}

void storeWindowGeometry(const QByteArray& geometry) {
    QSettings settings(kProgram, kProgram);
    settings.setValue(kGeometryKey, geometry);
}

QRect fitInside(const QRect& frame, const QRect& available) {
    QRect fitted = frame;
    fitted.setWidth(std::min(frame.width(), available.width()));
    fitted.setHeight(std::min(frame.height(), available.height()));
    fitted.moveLeft(std::clamp(fitted.left(), available.left(), available.right() - fitted.width() + 1));
    fitted.moveTop(std::clamp(fitted.top(), available.top(), available.bottom() - fitted.height() + 1));
    return fitted;
}

void fitToScreen(QWidget* window) {
    if (window->isMaximized() || window->isFullScreen())
        return;
    const QScreen* screen = QGuiApplication::screenAt(window->geometry().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // Until the window manager has framed the window, its frame is taken as
    // a title bar of the style's height and thin borders.
    const QRect inner = window->geometry();
    const QRect outer = window->frameGeometry();
    QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                   outer.bottom() - inner.bottom());
    if (frame.isNull()) {
        const int title = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
        frame = QMargins(4, title + 4, 4, 4);
    }
    const QRect fitted = fitInside(inner.marginsAdded(frame), screen->availableGeometry());
    if (fitted.marginsRemoved(frame) != inner)
        window->setGeometry(fitted.marginsRemoved(frame));
}

} // namespace qm::ui
