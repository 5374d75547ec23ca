// The Window menu of the main window: the list of editor windows, and the
// ways to arrange them.

#include "mainwindow.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include <algorithm>

namespace qm::ui {

void MainWindow::updateWindowMenu() {
    for (QAction* a : std::as_const(m_windowActions)) {
        m_windowMenu->removeAction(a);
        a->deleteLater();
    }
    m_windowActions.clear();
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    if (windows.isEmpty())
        return;
    m_windowActions.append(m_windowMenu->addSeparator());
    int n = 0;
    for (QMdiSubWindow* w : windows) {
        ++n;
        QString title = w->windowTitle();
        title.replace(QStringLiteral("[*]"), w->isWindowModified() ? QStringLiteral("*") : QString());
        const QString text = QStringLiteral("&%1 %2").arg(n).arg(title);
        QAction* a = m_windowMenu->addAction(text);
        a->setCheckable(true);
        a->setChecked(w == m_mdi->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, w] { m_mdi->setActiveSubWindow(w); });
        m_windowActions.append(a);
    }
}

void MainWindow::arrange(Arrangement arrangement) {
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    if (windows.isEmpty())
        return;
    if (arrangement == Arrangement::Cascade) {
        m_mdi->cascadeSubWindows();
        return;
    }
    const QRect area = m_mdi->viewport()->rect();
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
