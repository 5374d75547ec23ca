#pragma once

// The main window: a workspace of editor windows with the menus, the status
// bar and its watch on the active editor's file, and the open and save flows.

#include <quillmark/version.h>

#include <QFileSystemWatcher>
#include <QMainWindow>
#include <QPointer>

#include <array>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMimeData;
class QSettings;
class QTimer;
class QUndoGroup;

namespace qm::doc {
class EditingDocument;
}
namespace qm::prx {
enum class ModuleKind;
struct PackedInfo;
} // namespace qm::prx

namespace qm::ui {

class ConfigStore;
class EditorForm;
class EditorWindow;

class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    inline static const QString kCaption = QStringLiteral("Quillmark v" QUILLMARK_VERSION);

    // Opens one file: a new editor for a plain module, the unpacking offer
    // for a packed one, "Invalid file!" for anything else.
    void openFile(const QString& path);
    // Save writes over the editor's own file; Save As asks for another one.
    enum class SaveMode { InPlace, AsNewFile };
    // Saves one editor, with or without packing, as the configuration says;
    // true when its values were written.
    bool saveEditor(EditorForm* editor, SaveMode mode);

    // A new editor window of `kind` in the workspace, showing `document`
    // (opened before, the window takes it over) or a document of its own.
    EditorForm* newEditor(prx::ModuleKind kind, doc::EditingDocument* document = nullptr);
    // Files dropped on the window: each listed file that exists is opened, in list order.
    void openDropped(const QMimeData* data);

    EditorForm* activeEditor() const;
    QList<EditorForm*> editors() const;
    QMdiArea* workspace() const { return m_mdi; }
    ConfigStore& config() const { return *m_config; }
    QString panelText(int index) const;
    int fadeAlpha() const { return m_fadeAlpha; }
    QTimer* fadeTimer() const { return m_fadeTimer; }

    // One refresh of the status bar and the file watch.
    void refreshStatus();
    // One step of the fade-in.
    void fadeInStep();

    // The menu commands.
    void openWithDialog();
    // File > Close: closes the active editor, asking about unsaved edits.
    void closeActive();
    void saveActive();
    void saveActiveAs();
    // Looks: the active editor's values to a look file, and a look file's values into its controls.
    void exportLook();
    void importLook();
    // Themes: the active editor's values as a CXMB theme, for the releases themes exist for.
    void exportTheme();
    static bool canExportTheme(const EditorForm* editor);
    // Describes a theme file in a message box; false when `path` holds no theme.
    bool describeTheme(const QString& path);
    // Import Look of a theme: its runs onto the editor's values, values only; false when `path` holds no
    // theme.
    bool importThemeLook(EditorForm* editor, const QString& path);
    void exitProgram();
    // Edit > Review Changes...: every value that differs from the file as opened or saved.
    void reviewChanges();
    void showAbout();
    void showSettings();

    // File > Open Recent, filled from the settings each time the File menu opens.
    QMenu* recentFilesMenu() const { return m_recentMenu; }
    void updateRecentFilesMenu();
    // The text an empty workspace shows: how to open a module.
    QLabel* emptyHint() const { return m_emptyHint; }
    // Moves and shrinks the window, frame included, into its screen's free area.
    void fitToScreen();
    enum class Arrangement { Cascade, TileHorizontally, TileVertically, ArrangeIcons };
    void arrange(Arrangement arrangement);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyOpacity(double opacity);
    void buildMenus();
    void buildStatusBar();
    void updateWindowMenu();
    // The commands that need an editor are off while none is active.
    void updateActions();
    // Asks about an editor's unsaved edits; true when it may close.
    bool confirmClose(EditorForm* editor);
    // Asks about every editor with unsaved edits; true when the program may end.
    bool confirmQuit();
    void scheduleStatus();
    void syncFileWatch();
    QMdiSubWindow* addEditor(EditorForm* form);
    // The active editor's file is gone: says so, and closes the editor
    // unless it holds unsaved edits.
    void reportVanished(EditorWindow* window);
    // Remembers a file opened or written, for File > Open Recent.
    void noteRecentFile(const QString& path);
    // The offer for the packed module at `path`, described by `info`.
    void unpackOffer(const QString& path, const prx::PackedInfo& info);
    // Packs `module` into `output`, or in place when output is empty.
    bool runPacking(const QString& module, const QString& header, const QString& output);

    QMdiArea* m_mdi = nullptr;
    ConfigStore* m_config = nullptr;
    QSettings* m_settings = nullptr; // the user's settings, open for the window's life
    QMenu* m_windowMenu = nullptr;
    QMenu* m_recentMenu = nullptr;
    QLabel* m_emptyHint = nullptr;
    QUndoGroup* m_undoGroup = nullptr;
    QList<QAction*> m_editorActions;  // off while no editor is active
    QAction* m_exportTheme = nullptr; // on for an editor of a release themes exist for
    QList<QAction*> m_windowActions;
    std::array<QLabel*, 5> m_panels{}; // 1..4 used
    QTimer* m_fadeTimer = nullptr;
    QTimer* m_statusTimer = nullptr;
    int m_fadeAlpha = 0;
    bool m_statusPaused = false; // the save flow is replacing files
    bool m_reportingVanished = false;
    bool m_shownOnce = false;
    bool m_quitting = false;     // File > Exit or the session ending: no question
    bool m_closingAsked = false; // editors close without a question of their own
    QFileSystemWatcher m_fileWatch;
};

} // namespace qm::ui
