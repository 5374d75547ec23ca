#pragma once

// The main window: the workspace of editor windows with the menus and their
// actions, the status bar, and the open flow. The editor windows save, close
// and review themselves; the commands here ask the active one.

#include <quillmark/version.h>

#include <QList>
#include <QMainWindow>

class QAction;
class QMdiArea;
class QUndoGroup;

namespace qm::doc {
class EditingDocument;
}
namespace qm::prx {
enum class ModuleKind;
}

namespace qm::ui {

class ConfigStore;
class EditorWindow;
class RecentFilesMenu;
class StatusWatch;

class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    inline static const QString kCaption = QStringLiteral("Quillmark v" QUILLMARK_VERSION);

    // Opens one file: a new editor for a plain module, the unpacking offer
    // for a packed one, a description for a theme, "Invalid file!" for anything else.
    void openFile(const QString& path);
    // A new editor window of `kind` in the workspace, showing `document`
    // (opened before, the window takes it over) or a document of its own.
    EditorWindow* addEditor(prx::ModuleKind kind, doc::EditingDocument* document = nullptr);

    // The active editor window (it stays active while a dialog of ours has
    // the focus), and every editor window in the workspace's order.
    EditorWindow* activeChild() const;
    QList<EditorWindow*> children() const;
    QMdiArea* workspace() const { return m_mdi; }
    ConfigStore& config() const { return *m_config; }
    StatusWatch& status() const { return *m_status; }

    // File > Save and Save As: the active editor saves, then packs when the
    // user chose to; "Done." after a plain save.
    void saveActive();
    void saveActiveAs();
    // File > Close: the active editor closes, asking about unsaved edits.
    void closeActive();
    // Edit > Review Changes...: every value that differs from the file as opened or saved.
    void reviewChanges();
    // File > Exit: asks only about unsaved edits.
    void exitProgram();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    // The commands that need an editor are off while none is active.
    void updateActions();
    // Asks about every editor with unsaved edits; true when the program may end.
    bool maybeSaveAll();

    QMdiArea* m_mdi = nullptr;
    QList<QAction*> m_editorActions; // off while no editor is active
    QUndoGroup* m_undoGroup = nullptr;
    ConfigStore* m_config = nullptr;
    StatusWatch* m_status = nullptr;
    RecentFilesMenu* m_recent = nullptr;
    // Asking: the close box asks "Are You Sure?" (or about unsaved edits);
    // Exit: File > Exit asks only about unsaved edits; Asked: no question left.
    enum class Closing { Asking, Exit, Asked } m_closing = Closing::Asking;
};

} // namespace qm::ui
