#include "recentfiles.h"

#include "windowsettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace qm::ui {

RecentFilesMenu::RecentFilesMenu(QWidget* parent)
    : QMenu(QStringLiteral("Open &Recent"), parent), m_settings(programSettings(this)) {
    setObjectName(QStringLiteral("menuRecent"));
    refresh();
}

void RecentFilesMenu::note(const QString& path) {
    addRecentFile(*m_settings, path);
    refresh();
}

void RecentFilesMenu::refresh() {
    clear();
    const QStringList files = recentFiles(*m_settings);
    for (int i = 0; i < files.size(); ++i) {
        QString shown = QDir::toNativeSeparators(files[i]);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        const QString path = files[i];
        connect(addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown)), &QAction::triggered, this,
                [this, path] {
                    if (!QFileInfo::exists(path)) {
                        removeRecentFile(*m_settings, path);
                        refresh();
                    }
                    Q_EMIT openRequested(path);
                });
    }
    addSeparator();
    QAction* clearList = addAction(QStringLiteral("&Clear"));
    clearList->setObjectName(QStringLiteral("actionClearRecent"));
    connect(clearList, &QAction::triggered, this, [this] {
        clearRecentFiles(*m_settings);
        refresh();
    });
    setEnabled(!files.isEmpty());
}

} // namespace qm::ui
