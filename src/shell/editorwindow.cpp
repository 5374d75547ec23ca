#include "editorwindow.h"

#include "widgets/editorform.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>

namespace qm::ui {
namespace {

const QString kGoneMark = QStringLiteral(" (file missing on disk)");

// Qt's own interface of a workspace window drops the "[*]" placeholder
// together with the mark it stands for; this one names the window as its
// title shows it.
class EditorWindowAccessible final : public QAccessibleWidget {
public:
    explicit EditorWindowAccessible(EditorWindow* window) : QAccessibleWidget(window, QAccessible::Window) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return static_cast<const EditorWindow*>(widget())->shownTitle();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* editorWindowInterface(const QString& className, QObject* object) {
    if (className != QLatin1String(EditorWindow::staticMetaObject.className()))
        return nullptr;
    auto* window = qobject_cast<EditorWindow*>(object);
    return window ? new EditorWindowAccessible(window) : nullptr;
}

} // namespace

EditorWindow::EditorWindow(EditorForm* editor, QWidget* parent) : QMdiSubWindow(parent) {
    installAccessibility();
    setWidget(editor);
    setWindowTitle(editor->windowTitle());
    connect(editor, &QWidget::windowTitleChanged, this, &EditorWindow::followEditorTitle);
}

void EditorWindow::installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(editorWindowInterface);
        return true;
    }();
    (void)installed;
}

EditorForm* EditorWindow::editor() const {
    return qobject_cast<EditorForm*>(widget());
}

void EditorWindow::setFileGone(bool gone) {
    if (gone == m_fileGone)
        return;
    m_fileGone = gone;
    followEditorTitle();
}

void EditorWindow::followEditorTitle() {
    // Once this title differs from the editor's, Qt leaves it to us; it
    // stays in step here either way.
    if (const EditorForm* form = editor())
        setWindowTitle(form->windowTitle() + (m_fileGone ? kGoneMark : QString()));
}

QString EditorWindow::shownTitle() const {
    QString title = windowTitle();
    title.replace(QStringLiteral("[*]"), isWindowModified() ? QStringLiteral("*") : QString());
    return title;
}

bool EditorWindow::eventFilter(QObject* watched, QEvent* event) {
    const bool handled = QMdiSubWindow::eventFilter(watched, event);
    // Qt follows the editor's mark only while both titles are the same.
    if (event->type() == QEvent::ModifiedChange && watched == widget())
        setWindowModified(widget()->isWindowModified());
    return handled;
}

void EditorWindow::changeEvent(QEvent* event) {
    QMdiSubWindow::changeEvent(event);
    if (event->type() == QEvent::ModifiedChange || event->type() == QEvent::WindowTitleChange) {
        QAccessibleEvent changed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

} // namespace qm::ui
