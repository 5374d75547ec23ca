// The Window menu of the main window: the list of editor windows, and the
// ways to arrange them.

#include "windowmenu.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include <algorithm>

namespace qm::ui {

WindowMenu::WindowMenu(QMdiArea* workspace, QWidget* parent)
    : QMenu(QStringLiteral("&Window"), parent), m_workspace(workspace) {
    setObjectName(QStringLiteral("menuWindow"));
    const struct {
        const char* name;
        const char* caption;
        Qt::Key key;
        Arrangement arrangement;
    } arrangements[] = {
        {"actionTileHorizontally", "Tile &Horizontally", Qt::Key_H, Arrangement::TileHorizontally},
        {"actionTileVertically", "Tile &Vertically", Qt::Key_V, Arrangement::TileVertically},
        {"actionCascade", "&Cascade", Qt::Key_C, Arrangement::Cascade},
        {"actionArrangeIcons", "&Arrange Icons", Qt::Key_A, Arrangement::ArrangeIcons},
    };
    for (const auto& a : arrangements) {
        QAction* action = addAction(QString::fromLatin1(a.caption));
        action->setObjectName(QString::fromLatin1(a.name));
        action->setShortcut(QKeySequence(Qt::CTRL | a.key));
        connect(action, &QAction::triggered, this,
                [this, arrangement = a.arrangement] { arrange(arrangement); });
    }
    connect(this, &QMenu::aboutToShow, this, &WindowMenu::updateList);
}

void WindowMenu::updateList() {
    for (QAction* a : std::as_const(m_listed)) {
        removeAction(a);
        a->deleteLater();
    }
    m_listed.clear();
    const QList<QMdiSubWindow*> windows = m_workspace->subWindowList();
    if (windows.isEmpty())
        return;
    m_listed.append(addSeparator());
    int n = 0;
    for (QMdiSubWindow* w : windows) {
        ++n;
        QString title = w->windowTitle();
        title.replace(QStringLiteral("[*]"), w->isWindowModified() ? QStringLiteral("*") : QString());
        const QString text = QStringLiteral("&%1 %2").arg(n).arg(title);
        QAction* a = addAction(text);
        a->setCheckable(true);
        a->setChecked(w == m_workspace->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, w] { m_workspace->setActiveSubWindow(w); });
        m_listed.append(a);
    }
}

void WindowMenu::arrange(Arrangement arrangement) {
    const QList<QMdiSubWindow*> windows = m_workspace->subWindowList();
    if (windows.isEmpty())
        return;
    if (arrangement == Arrangement::Cascade) {
        m_workspace->cascadeSubWindows();
        return;
    }
    const QRect area = m_workspace->viewport()->rect();
    if (arrangement == Arrangement::ArrangeIcons) {
        // Minimised windows in a row along the bottom of the workspace.
        int x = 0;
        for (QMdiSubWindow* w : windows) {
            if (!w->isMinimized())
                continue;
            w->move(x, area.height() - w->height());
            x += w->width();
        }
        return;
    }
    // The editors keep their size: tiling places them one under the other
    // (horizontally) or side by side (vertically), spread over the workspace.
    QList<QMdiSubWindow*> shown;
    for (QMdiSubWindow* w : windows)
        if (!w->isMinimized())
            shown.append(w);
    const qsizetype n = shown.size();
    for (qsizetype i = 0; i < n; ++i) {
        QMdiSubWindow* w = shown[i];
        if (w->isMaximized())
            w->showNormal();
        if (arrangement == Arrangement::TileHorizontally) {
            const int step = n > 1 ? std::max(0, (area.height() - w->height()) / int(n - 1)) : 0;
            w->move(0, std::min(int(i) * w->height(), int(i) * step));
        } else {
            const int step = n > 1 ? std::max(0, (area.width() - w->width()) / int(n - 1)) : 0;
            w->move(std::min(int(i) * w->width(), int(i) * step), 0);
        }
    }
}

} // namespace qm::ui
