#include "windowhelpers.h"

#include <QCoreApplication>
#include <QHash>
#include <QWidget>

// The icons are compiled into this static library; register them once.
static void initIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace qm::ui {

QIcon programIcon(const QString& iconName) {
    // Every editor window shows the same icon: it is made once, and let go
    // before the application goes, with the pixmaps it may hold.
    static QHash<QString, QIcon> made;
    static const bool registered = (initIconResources(), qAddPostRoutine([] { made.clear(); }), true);
    Q_UNUSED(registered);
    QIcon& icon = made[iconName];
    if (icon.isNull())
        for (int size : {16, 32, 48, 64, 128})
            icon.addFile(QStringLiteral(":/icons/%1-%2.png").arg(iconName).arg(size), QSize(size, size));
    return icon;
}

void setProgramIcon(QWidget* window, const QString& iconName, bool setOnOwner) {
    const QIcon icon = programIcon(iconName);
    window->setWindowIcon(icon);
    // Only top-level windows have owners; a child window inside the main
    // window's workspace has none.
    if (setOnOwner && window->isWindow()) {
        QWidget* top = window;
        while (top->parentWidget())
            top = top->parentWidget()->window();
        if (top != window)
            top->setWindowIcon(icon);
    }
}

QString indexedName(const QString& name, int index) {
    return name + QStringLiteral("(%1)").arg(index);
}

} // namespace qm::ui
