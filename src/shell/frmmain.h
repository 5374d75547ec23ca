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
class QTimer;
class QUndoGroup;

namespace qm::ui {

class ConfigStore;
class EditorForm;
class frmPaf;
class frmVSHMain;

class frmMain final : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    inline static const QString kCaption = QStringLiteral("Quillmark v" QUILLMARK_VERSION);

    // Opens one file: a new editor for a plain module, the unpacking offer
    // for a packed one, "Invalid file!" for anything else.
    void OpenPRX(const QString& strPath);
    // Save (mode 1) or Save As (mode 2) of the active editor, whose open file is strPath.
    void SavePRX(const QString& strPath, int mode);
    // The same for one editor; true when its values were written.
    bool saveEditor(EditorForm* editor, int mode);

    frmVSHMain* NewVSHEditor();
    frmPaf* NewPAFEditor();
    // Files dropped on the window: each listed file that exists is opened, in list order.
    void MDIForm_OLEDragDrop(const QMimeData* data);

    // Version index of the last plain module identified; -1 otherwise.
    int intPRXType = -1;

    EditorForm* activeEditor() const;
    QList<EditorForm*> editors() const;
    QMdiArea* workspace() const { return m_mdi; }
    ConfigStore& config() const { return *m_config; }
    QString panelText(int index) const;
    int fadeAlpha() const { return intFadeAlpha; }
    QTimer* fadeTimer() const { return timFadeIn; }

    // One refresh of the status bar and the file watch.
    void timSBar_Timer();
    // One step of the fade-in.
    void timFadeIn_Timer();

    // The menu commands.
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    // Looks: the active editor's values to a look file, and a look file's values into its controls.
    void mnuFileExportLook_Click();
    void mnuFileImportLook_Click();
    void mnuFileExit_Click();
    // Edit > Review Changes...: every value that differs from the file on disk.
    void mnuEditReview_Click();
    void mnuHelpAbout_Click();
    void mnuConfig_Click();
    void arrange(int code); // 0 cascade, 1 tile horizontally, 2 tile vertically, 3 arrange icons

protected:
    void closeEvent(QCloseEvent* event) override;
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
    void unpackOffer(const QString& strPath);
    bool runPacking(const QString& module, const QString& header, const QString& output, int saveComp);

    QMdiArea* m_mdi = nullptr;
    ConfigStore* m_config = nullptr;
    QMenu* m_windowMenu = nullptr;
    QUndoGroup* m_undoGroup = nullptr;
    QList<QAction*> m_editorActions; // off while no editor is active
    QList<QAction*> m_windowActions;
    std::array<QLabel*, 5> m_panels{}; // 1..4 used
    QTimer* timFadeIn = nullptr;
    QTimer* timSBar = nullptr;
    int intFadeAlpha = 0;
    bool m_statusPaused = false; // the save flow is replacing files
    bool m_reportingVanished = false;
    bool m_quitting = false;     // File > Exit or the session ending: no question
    bool m_closingAsked = false; // editors close without a question of their own
    QFileSystemWatcher m_fileWatch;
};

} // namespace qm::ui
