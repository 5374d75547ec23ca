#include "mainwindow.h"

#include "aboutdialog.h"
#include "configstore.h"
#include "editorwindow.h"
#include "paf/pafeditor.h"
#include "prx/config.h"
#include "prx/workfolder.h"
#include "reviewdialog.h"
#include "settingsdialog.h"
#include "text/errortext.h"
#include "vsh/vsheditor.h"
#include "widgets/dialogs.h"
#include "widgets/windowhelpers.h"
#include "windowsettings.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QSessionManager>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QUndoGroup>
#include <QUndoStack>

namespace qm::ui {
namespace {

const QString kNoVersion = QStringLiteral("No Version ");
const QString kNoFile = QStringLiteral("No File ");
const QString kEmptyHint = QStringLiteral("No module is open.\n\n"
                                          "Open vshmain.prx or paf.prx with File > Open... (Ctrl+O),\n"
                                          "or drop the file here.");

// The Window menu's keys win over the value boxes' own copy, paste and select all.
// Undo and redo too: the menu undoes whole steps, also while a box has the focus.
const QKeySequence kWindowKeys[] = {QKeySequence(Qt::CTRL | Qt::Key_C),
                                    QKeySequence(Qt::CTRL | Qt::Key_V),
                                    QKeySequence(Qt::CTRL | Qt::Key_A),
                                    QKeySequence(Qt::CTRL | Qt::Key_H),
                                    QKeySequence(Qt::CTRL | Qt::Key_Z),
                                    QKeySequence(Qt::CTRL | Qt::Key_Y),
                                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};

QAction* menuAction(QMenu* menu, const char* name, const QString& caption, const QKeySequence& key = {}) {
    auto* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty())
        action->setShortcut(key);
    return action;
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(kCaption);

    // Start-up: the working folder and its configuration file. The archiver
    // is looked up when it is needed (the working folder's own, then PATH).
    const Status prepared = prx::prepareWorkFolder();
    m_config = new ConfigStore(prx::workFolder() + prx::kIniFileName, this);
    m_settings = programSettings(this);

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    m_mdi->setBackground(palette().brush(QPalette::Dark));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    setAcceptDrops(true);
    m_emptyHint = new QLabel(kEmptyHint, m_mdi->viewport());
    m_emptyHint->setObjectName(QStringLiteral("emptyHint"));
    m_emptyHint->setAlignment(Qt::AlignCenter);
    m_emptyHint->setWordWrap(true);
    m_emptyHint->setForegroundRole(QPalette::Light);
    m_emptyHint->setAttribute(Qt::WA_TransparentForMouseEvents);

    buildMenus();
    buildStatusBar();
    setProgramIcon(this, QStringLiteral("AAA"), true);

    const QSize client(868, 590);
    resize(client.width(),
           client.height() + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    // The size, place and maximised state of the last run, inside the screen as it is now.
    if (const QByteArray geometry = storedWindowGeometry(); !geometry.isEmpty())
        restoreGeometry(geometry);
    fitToScreen();

    // The status bar follows events (activation, loads, file changes, the
    // configuration); m_statusTimer coalesces them into one refresh.
    m_statusTimer = new QTimer(this);
    m_statusTimer->setObjectName(QStringLiteral("statusTimer"));
    m_statusTimer->setSingleShot(true);
    m_statusTimer->setInterval(10);
    connect(m_statusTimer, &QTimer::timeout, this, &MainWindow::refreshStatus);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &MainWindow::scheduleStatus);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &MainWindow::updateActions);
    connect(m_config, &ConfigStore::changed, this, &MainWindow::scheduleStatus);
    connect(&m_fileWatch, &QFileSystemWatcher::fileChanged, this, &MainWindow::scheduleStatus);
    connect(&m_fileWatch, &QFileSystemWatcher::directoryChanged, this, &MainWindow::scheduleStatus);

    // Fade-in: opacity 15, 30, ... 255, then the timer stops for good.
    applyOpacity(0.0);
    m_fadeTimer = new QTimer(this);
    m_fadeTimer->setObjectName(QStringLiteral("fadeTimer"));
    m_fadeTimer->setInterval(10);
    connect(m_fadeTimer, &QTimer::timeout, this, &MainWindow::fadeInStep);
    m_fadeTimer->start();

    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& session) {
        // The session is ending: unsaved edits are asked about when the session lets us.
        if (session.allowsInteraction() && !confirmQuit()) {
            session.cancel();
            session.release();
            return;
        }
        session.release();
        m_quitting = true;
        m_closingAsked = true;
    });
    updateActions();
    refreshStatus();

    if (!prepared)
        QTimer::singleShot(0, this, [this, prepared] {
            showError(this, prepared.error(), text::errorDetail(prepared.error()), kAppTitle);
        });
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    // The workspace, its windows (also those closed but not yet deleted) and
    // the watchers outlive this object's own part: keep their last signals,
    // such as destroyed(), from reaching it.
    m_statusPaused = true;
    const QList<QObject*> children = findChildren<QObject*>();
    for (QObject* child : children)
        QObject::disconnect(child, nullptr, this, nullptr);
    QObject::disconnect(&m_fileWatch, nullptr, this, nullptr);
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("menuFile"));
    const auto editorAction = [this](QAction* action) {
        m_editorActions.append(action);
        return action;
    };
    connect(menuAction(file, "actionOpen", QStringLiteral("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, this, &MainWindow::openWithDialog);
    connect(editorAction(menuAction(file, "actionSave", QStringLiteral("&Save..."),
                                    QKeySequence(Qt::CTRL | Qt::Key_S))),
            &QAction::triggered, this, &MainWindow::saveActive);
    connect(editorAction(menuAction(file, "actionSaveAs", QStringLiteral("Save &As..."))),
            &QAction::triggered, this, &MainWindow::saveActiveAs);
    connect(editorAction(menuAction(file, "actionExportLook", QStringLiteral("&Export Look..."))),
            &QAction::triggered, this, &MainWindow::exportLook);
    m_exportTheme = menuAction(file, "actionExportTheme", QStringLiteral("Export &Theme..."));
    connect(m_exportTheme, &QAction::triggered, this, &MainWindow::exportTheme);
    // An editor's release is known once it has loaded, after it became active.
    connect(file, &QMenu::aboutToShow, this,
            [this] { m_exportTheme->setEnabled(canExportTheme(activeEditor())); });
    connect(editorAction(menuAction(file, "actionImportLook", QStringLiteral("&Import Look..."))),
            &QAction::triggered, this, &MainWindow::importLook);
    file->addSeparator()->setObjectName(QStringLiteral("fileSeparator"));
    m_recentMenu = file->addMenu(QStringLiteral("Open &Recent"));
    m_recentMenu->setObjectName(QStringLiteral("menuRecent"));
    connect(file, &QMenu::aboutToShow, this, &MainWindow::updateRecentFilesMenu);
    updateRecentFilesMenu();
    connect(editorAction(menuAction(file, "actionClose", QStringLiteral("&Close"),
                                    QKeySequence(Qt::CTRL | Qt::Key_W))),
            &QAction::triggered, this, &MainWindow::closeActive);
    file->addSeparator()->setObjectName(QStringLiteral("exitSeparator"));
    connect(menuAction(file, "actionExit", QStringLiteral("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_Q)),
            &QAction::triggered, this, &MainWindow::exitProgram);

    // Edit: undo and redo act on the active editor's steps.
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("menuEdit"));
    m_undoGroup = new QUndoGroup(this);
    QAction* undo = m_undoGroup->createUndoAction(this, QStringLiteral("Undo"));
    undo->setObjectName(QStringLiteral("actionUndo"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = m_undoGroup->createRedoAction(this, QStringLiteral("Redo"));
    redo->setObjectName(QStringLiteral("actionRedo"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    connect(editorAction(menuAction(edit, "actionReviewChanges", QStringLiteral("Review Changes..."))),
            &QAction::triggered, this, &MainWindow::reviewChanges);

    m_windowMenu = menuBar()->addMenu(QStringLiteral("&Window"));
    m_windowMenu->setObjectName(QStringLiteral("menuWindow"));
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
    for (const auto& a : arrangements)
        connect(
            menuAction(m_windowMenu, a.name, QString::fromLatin1(a.caption), QKeySequence(Qt::CTRL | a.key)),
            &QAction::triggered, this, [this, arrangement = a.arrangement] { arrange(arrangement); });
    connect(m_windowMenu, &QMenu::aboutToShow, this, &MainWindow::updateWindowMenu);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("menuHelp"));
    connect(menuAction(help, "actionAbout", QStringLiteral("&About...")), &QAction::triggered, this,
            &MainWindow::showAbout);
    connect(menuAction(help, "actionSettings", QStringLiteral("Configurations")), &QAction::triggered, this,
            &MainWindow::showSettings);
}

void MainWindow::updateRecentFilesMenu() {
    m_recentMenu->clear();
    const QStringList files = recentFiles(*m_settings);
    for (int i = 0; i < files.size(); ++i) {
        QString shown = QDir::toNativeSeparators(files[i]);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        const QString path = files[i];
        connect(m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown)), &QAction::triggered,
                this, [this, path] { openFile(path); });
    }
    m_recentMenu->setEnabled(!files.isEmpty());
}

void MainWindow::noteRecentFile(const QString& path) {
    addRecentFile(*m_settings, path);
    updateRecentFilesMenu();
}

void MainWindow::fitToScreen() {
    if (isMaximized() || isFullScreen())
        return;
    const QScreen* screen = QGuiApplication::screenAt(geometry().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // Until the window manager has framed the window, its frame is taken as
    // a title bar of the style's height and thin borders.
    QMargins frame(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                   frameGeometry().right() - geometry().right(),
                   frameGeometry().bottom() - geometry().bottom());
    if (frame.isNull()) {
        const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
        frame = QMargins(4, title + 4, 4, 4);
    }
    const QRect fitted = fitInside(geometry().marginsAdded(frame), screen->availableGeometry());
    if (fitted.marginsRemoved(frame) != geometry())
        setGeometry(fitted.marginsRemoved(frame));
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    // Once the window manager has put its frame around the window, the frame fits too.
    QTimer::singleShot(300, this, &MainWindow::fitToScreen);
}

void MainWindow::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    bar->setSizeGripEnabled(true);
    const QString fixed[] = {QString(), QStringLiteral("PRX Version :"), kNoVersion, QStringLiteral("File :"),
                             kNoFile};
    const QString names[] = {QString(), QStringLiteral("PRX Version"), QStringLiteral("Version"),
                             QStringLiteral("File"), QStringLiteral("File path")};
    for (int i = 1; i <= 4; ++i) {
        auto* panel = new QLabel(fixed[i], bar);
        panel->setObjectName(QStringLiteral("statusPanel%1").arg(i));
        panel->setAccessibleName(names[i]);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setTextInteractionFlags(Qt::TextSelectableByMouse);
        bar->addPermanentWidget(panel, i == 4 ? 1 : 0);
        m_panels[static_cast<std::size_t>(i)] = panel;
    }
    m_panels[2]->setMinimumWidth(160);
}

QString MainWindow::panelText(int index) const {
    if (index < 1 || index > 4)
        return {};
    return m_panels[static_cast<std::size_t>(index)]->text();
}

// ---- status bar and file watch -------------------------------------------

void MainWindow::scheduleStatus() {
    if (!m_statusPaused)
        m_statusTimer->start();
}

void MainWindow::syncFileWatch() {
    QStringList wanted;
    for (EditorForm* e : editors()) {
        const QString file = e->filePath();
        if (file.isEmpty())
            continue;
        wanted.append(QFileInfo(file).absoluteFilePath());
        wanted.append(QFileInfo(file).absolutePath());
    }
    wanted.removeDuplicates();
    QStringList watched = m_fileWatch.files() + m_fileWatch.directories();
    QStringList stale;
    for (const QString& p : std::as_const(watched))
        if (!wanted.contains(p))
            stale.append(p);
    if (!stale.isEmpty())
        m_fileWatch.removePaths(stale);
    for (const QString& p : std::as_const(wanted))
        if (!watched.contains(p) && QFileInfo::exists(p))
            m_fileWatch.addPath(p); // a replaced file drops out of the watch; add it again
}

void MainWindow::refreshStatus() {
    if (m_statusPaused)
        return;
    syncFileWatch();
    m_emptyHint->setGeometry(m_mdi->viewport()->rect());
    m_emptyHint->setVisible(m_mdi->subWindowList().isEmpty());
    for (QMdiSubWindow* w : m_mdi->subWindowList())
        if (auto* window = qobject_cast<EditorWindow*>(w); window && window->fileGone())
            window->setFileGone(!QFileInfo::exists(window->editor()->filePath())); // written again
    EditorForm* editor = activeEditor();
    if (!editor) {
        m_panels[2]->setText(kNoVersion);
        m_panels[4]->setText(kNoFile);
        return;
    }
    m_panels[2]->setText(editor->statusVersion());
    m_panels[4]->setText(editor->statusFile());
    if (!m_config->checkPrx() || m_reportingVanished)
        return;
    const QString path = editor->filePath();
    if (path.isEmpty())
        return; // an editor that holds no file is not watched
    auto* window = qobject_cast<EditorWindow*>(m_mdi->currentSubWindow());
    if (QFileInfo::exists(path) || !window || window->fileGone())
        return; // a window told once keeps its edits without being told again
    reportVanished(window);
}

void MainWindow::reportVanished(EditorWindow* window) {
    m_reportingVanished = true;
    QPointer<EditorWindow> gone = window;
    const QString path = window->editor()->filePath();
    dialogs().showMessage(
        this, QStringLiteral("PRX Problem"), QStringLiteral("The opened PRX disappeared!"), MsgIcon::Critical,
        MsgButtons::Ok,
        QStringLiteral("%1: no longer in %2 (renamed, moved or deleted)")
            .arg(QFileInfo(path).fileName(), QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
    if (gone && gone->editor()->hasUnsavedEdits()) {
        // The edits stay: Save writes the file again, Save As another one.
        gone->setFileGone(true);
    } else if (gone) {
        m_closingAsked = true; // the file is gone: its editor closes, as the message says
        gone->close();
        m_closingAsked = false;
    }
    m_reportingVanished = false;
    scheduleStatus();
}

void MainWindow::fadeInStep() {
    m_fadeAlpha += 15;
    if (m_fadeAlpha <= 255)
        applyOpacity(m_fadeAlpha / 255.0);
    else
        m_fadeTimer->stop();
}

void MainWindow::applyOpacity(double opacity) {
    // Platforms without window opacity show the window opaque at once.
    static const bool supported =
        QGuiApplication::platformName() != u"offscreen" && QGuiApplication::platformName() != u"minimal";
    if (supported)
        setWindowOpacity(opacity);
}

// ---- editors ---------------------------------------------------------------

EditorForm* MainWindow::activeEditor() const {
    // The current window stays current while a dialog of ours has the focus.
    QMdiSubWindow* w = m_mdi->currentSubWindow();
    return w ? qobject_cast<EditorForm*>(w->widget()) : nullptr;
}

QList<EditorForm*> MainWindow::editors() const {
    QList<EditorForm*> out;
    for (QMdiSubWindow* w : m_mdi->subWindowList())
        if (auto* e = qobject_cast<EditorForm*>(w->widget()))
            out.append(e);
    return out;
}

QMdiSubWindow* MainWindow::addEditor(EditorForm* form) {
    auto* sub = new EditorWindow(form);
    m_mdi->addSubWindow(sub, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    m_emptyHint->hide();
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(form->windowIcon());
    sub->setOption(QMdiSubWindow::RubberBandResize, false);
    connect(form, &EditorForm::statusChanged, this, &MainWindow::scheduleStatus);
    m_undoGroup->addStack(form->undoStack());
    connect(sub, &QObject::destroyed, this, &MainWindow::scheduleStatus);
    sub->show();
    sub->adjustSize();
    sub->setFixedSize(sub->size());
    return sub;
}

EditorForm* MainWindow::newEditor(prx::ModuleKind kind, doc::EditingDocument* document) {
    EditorForm* form = kind == prx::ModuleKind::Vsh
                           ? static_cast<EditorForm*>(new VshEditor(nullptr, document))
                           : static_cast<EditorForm*>(new PafEditor(nullptr, document));
    addEditor(form);
    form->showOpenDocument();
    return form;
}

// ---- other commands ----------------------------------------------------------------

void MainWindow::closeActive() {
    m_mdi->closeActiveSubWindow();
}

void MainWindow::showAbout() {
    AboutDialog about(this);
    about.exec();
}

void MainWindow::showSettings() {
    SettingsDialog config(*m_config, this);
    config.exec();
}

void MainWindow::updateActions() {
    EditorForm* editor = activeEditor();
    for (QAction* a : std::as_const(m_editorActions))
        a->setEnabled(editor != nullptr);
    m_exportTheme->setEnabled(canExportTheme(editor));
    m_undoGroup->setActiveStack(editor ? editor->undoStack() : nullptr);
}

void MainWindow::reviewChanges() {
    if (EditorForm* editor = activeEditor()) {
        ReviewDialog review(*editor, this);
        review.exec();
    }
}

bool MainWindow::confirmClose(EditorForm* editor) {
    if (m_closingAsked || !editor->hasUnsavedEdits())
        return true;
    if (QMdiSubWindow* sub = qobject_cast<QMdiSubWindow*>(editor->parentWidget()))
        m_mdi->setActiveSubWindow(sub);
    const QString name = QFileInfo(editor->filePath()).fileName();
    switch (dialogs().showMessage(this, kAppTitle, QStringLiteral("Save changes to %1?").arg(name),
                                  MsgIcon::Question, MsgButtons::SaveDiscardCancel)) {
    case MsgAnswer::Save:
        return saveEditor(editor, SaveMode::InPlace);
    case MsgAnswer::Discard:
        return true;
    default:
        return false;
    }
}

bool MainWindow::confirmQuit() {
    for (EditorForm* editor : editors())
        if (editor->hasUnsavedEdits() && !confirmClose(editor))
            return false;
    return true;
}

void MainWindow::exitProgram() {
    m_quitting = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    bool unsaved = false;
    for (EditorForm* editor : editors())
        unsaved = unsaved || editor->hasUnsavedEdits();
    if (unsaved && !m_closingAsked) {
        // Every editor with unsaved edits is asked about; Cancel keeps the program running.
        if (!confirmQuit()) {
            m_quitting = false;
            event->ignore();
            return;
        }
    } else if (!m_quitting && !m_closingAsked &&
               dialogs().showMessage(this, QStringLiteral("Exit Quillmark"), QStringLiteral("Are You Sure?"),
                                     MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes) {
        event->ignore();
        return;
    }
    // What the user chose to keep is saved; the rest is discarded without asking again.
    m_closingAsked = true;
    storeWindowGeometry(saveGeometry());
    m_statusPaused = true;
    for (QMdiSubWindow* w : m_mdi->subWindowList())
        w->setAttribute(Qt::WA_DeleteOnClose);
    m_mdi->closeAllSubWindows();
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        // An editor closing with unsaved edits asks first.
        if (auto* editor = qobject_cast<EditorForm*>(watched); editor && editors().contains(editor))
            if (!confirmClose(editor)) {
                event->ignore();
                return true;
            }
    }
    if (event->type() == QEvent::Resize && watched == m_mdi->viewport())
        m_emptyHint->setGeometry(m_mdi->viewport()->rect());
    if (event->type() == QEvent::ShortcutOverride) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            auto* key = static_cast<QKeyEvent*>(event);
            const QKeySequence pressed(key->keyCombination());
            for (const QKeySequence& k : kWindowKeys) {
                if (pressed == k) {
                    // Not taken by the box: the Window menu's shortcut runs instead.
                    event->ignore();
                    return true;
                }
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace qm::ui
