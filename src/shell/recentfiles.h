#pragma once

// File > Open Recent: the files opened or written last, newest first, as the
// user's settings keep them, and Clear at the end. A file that is gone when
// chosen leaves the list (its open says which file it was).

#include <QMenu>

class QSettings;

namespace qm::ui {

class RecentFilesMenu final : public QMenu {
    Q_OBJECT
public:
    explicit RecentFilesMenu(QWidget* parent = nullptr);

    // Remembers a file opened or written.
    void note(const QString& path);
    // Fills the menu from the settings.
    void refresh();

Q_SIGNALS:
    // An entry was chosen: its file is to be opened.
    void openRequested(const QString& path);

private:
    QSettings* m_settings; // the user's settings, open for the menu's life
};

} // namespace qm::ui
