#pragma once

// The main window's status bar and its watch on the editors' files: panels
// 2 and 4 show the active editor's release and file, the workspace shows how
// to open a module while it is empty, and an active editor whose file is gone
// is reported (CheckPRX). Events (activation, loads, file and configuration
// changes) schedule one refresh; a save pauses it while it replaces files.

#include <QFileSystemWatcher>
#include <QObject>

#include <array>

class QLabel;
class QMainWindow;
class QMdiArea;
class QTimer;

namespace qm::ui {

class ConfigStore;
class EditorWindow;

class StatusWatch final : public QObject {
    Q_OBJECT
public:
    StatusWatch(QMainWindow* window, QMdiArea* workspace, const ConfigStore& config);
    ~StatusWatch() override;

    // The text of panel 1 to 4.
    QString panelText(int index) const;
    // The text an empty workspace shows: how to open a module.
    QLabel* emptyHint() const { return m_emptyHint; }

    // One refresh of the panels and the file watch.
    void refresh();
    // A refresh soon; many calls make one.
    void schedule();
    // Off while a save replaces files, so that they don't count as vanished;
    // resume() refreshes at once.
    void pause();
    void resume();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void syncFileWatch();
    // The active editor's file is gone: says so, and closes the editor
    // unless it holds unsaved edits.
    void reportVanished(EditorWindow* window);

    QMainWindow* m_window;
    QMdiArea* m_workspace;
    const ConfigStore& m_config;
    std::array<QLabel*, 5> m_panels{}; // 1..4 used
    QLabel* m_emptyHint = nullptr;
    QTimer* m_timer = nullptr;
    QFileSystemWatcher m_fileWatch;
    bool m_paused = false;
    bool m_reportingVanished = false;
};

} // namespace qm::ui
