#pragma once

// The Window menu: the ways to arrange the editor windows (Ctrl+H, Ctrl+V,
// Ctrl+C, Ctrl+A) and, at its end, the list of open editor windows.

#include <QMenu>

class QMdiArea;

namespace qm::ui {

class WindowMenu final : public QMenu {
    Q_OBJECT
public:
    WindowMenu(QMdiArea* workspace, QWidget* parent);

    enum class Arrangement { Cascade, TileHorizontally, TileVertically, ArrangeIcons };
    void arrange(Arrangement arrangement);

private:
    // The list of windows, made anew each time the menu opens.
    void updateList();

    QMdiArea* m_workspace;
    QList<QAction*> m_listed;
};

} // namespace qm::ui
