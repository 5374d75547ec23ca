#pragma once

// Helpers for the main-window tests: a private working folder, packed
// modules made with zlib, and a driver that works modal progress windows.

#include "support/environment.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>

namespace qm::ui {
class EditorForm;
class MainWindow;
} // namespace qm::ui

namespace qm::test {

// The editor forms of a main window's editor windows, in the workspace's order.
QList<ui::EditorForm*> editorsOf(const ui::MainWindow& main);
// The main window's action of that object name, triggered.
void trigger(const ui::MainWindow& main, const char* action);

// The user's settings (QSettings: window geometry, recent files) read from
// and written to `folder` from now on, so that no test sees another's.
struct SettingsFolder {
    explicit SettingsFolder(const QString& folder);
};

// A temporary working folder installed through QUILLMARK_DATA_DIR for the
// object's lifetime, with a settings folder of its own.
class DataFolder {
public:
    QString path() const { return m_dir.path() + QStringLiteral("/Data/"); }
    QString file(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    // Writes `bytes` to file(name) and returns its path.
    QString write(const QString& name, const QByteArray& bytes) const;

private:
    QTemporaryDir m_dir;
    EnvGuard m_variable{"QUILLMARK_DATA_DIR", path().toLocal8Bit()};
    SettingsFolder m_settings{m_dir.path() + QStringLiteral("/settings")};
};

// A packed module: a "~PSP" header and the gzip stream of `module`.
QByteArray packedModule(const QByteArray& module, quint8 keyByte = 0xAA);

// Presses "Go Compress !" and OK in whichever progress window is modal, as
// soon as they show.
class ProgressDriver final : public QObject {
public:
    explicit ProgressDriver(int keyIndex = -1);
    int okClicks = 0;

private:
    void poll();
    QTimer m_timer;
    int m_key;
};

} // namespace qm::test
