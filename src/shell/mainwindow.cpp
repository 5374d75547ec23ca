#include "mainwindow.h"

#include "aboutdialog.h"
#include "configstore.h"
#include "editorflows.h"
#include "editorwindow.h"
#include "fadein.h"
#include "prx/workfolder.h"
#include "recentfiles.h"
#include "reviewdialog.h"
#include "settingsdialog.h"
#include "statuswatch.h"
#include "text/errortext.h"
#include "widgets/dialogs.h"
#include "widgets/editorform.h"
#include "widgets/windowhelpers.h"
#include "windowmenu.h"
#include "windowsettings.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QSessionManager>
#include <QStatusBar>
#include <QTimer>
#include <QUndoGroup>
#include <QUndoStack>

namespace qm::ui {
namespace {

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

// File > Open takes modules, packed modules and themes, whatever their names.
const QString kOpenFilterName = kPrxFilterName + QStringLiteral(";;CXMB Themes (*.ctf);;All files (*)");

// A command on the active editor window; nothing while there is none.
template <typename Command> auto onActive(MainWindow* main, Command command) {
    return [main, command] {
        if (EditorWindow* child = main->activeChild())
            command(*child);
    };
}

QMdiArea* makeWorkspace(QWidget* parent) {
    auto* mdi = new QMdiArea(parent);
    mdi->setObjectName(QStringLiteral("mdiArea"));
    mdi->setBackground(parent->palette().brush(QPalette::Dark));
    mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return mdi;
}

// The File menu; `editorAction` notes a command that needs an editor.
template <typename Note> void addFileMenu(MainWindow* main, RecentFilesMenu* recent, Note editorAction) {
    QMenu* file = main->menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("menuFile"));
    QObject::connect(
        menuAction(file, "actionOpen", QStringLiteral("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O)),
        &QAction::triggered, main, [main] {
            const QString path =
                dialogs().chooseFile(main, QString(), kOpenFilterName, kPrxFilterPattern,
                                     QStringLiteral("Select *.prx file to open"), FileMode::Open);
            if (!path.isEmpty())
                main->openFile(path);
        });
    QObject::connect(editorAction(menuAction(file, "actionSave", QStringLiteral("&Save..."),
                                             QKeySequence(Qt::CTRL | Qt::Key_S))),
                     &QAction::triggered, main, &MainWindow::saveActive);
    QObject::connect(editorAction(menuAction(file, "actionSaveAs", QStringLiteral("Save &As..."))),
                     &QAction::triggered, main, &MainWindow::saveActiveAs);
    QObject::connect(editorAction(menuAction(file, "actionExportLook", QStringLiteral("&Export Look..."))),
                     &QAction::triggered, main,
                     onActive(main, [main](EditorWindow& c) { exportLook(main, c); }));
    QAction* theme = menuAction(file, "actionExportTheme", QStringLiteral("Export &Theme..."));
    QObject::connect(theme, &QAction::triggered, main,
                     onActive(main, [main](EditorWindow& c) { exportTheme(main, c, main->children()); }));
    // An editor's release is known once it has loaded, after it became active.
    const auto themeOn = [main, theme] { theme->setEnabled(canExportTheme(main->activeChild())); };
    QObject::connect(file, &QMenu::aboutToShow, theme, themeOn);
    QObject::connect(main->workspace(), &QMdiArea::subWindowActivated, theme, themeOn);
    QObject::connect(editorAction(menuAction(file, "actionImportLook", QStringLiteral("&Import Look..."))),
                     &QAction::triggered, main,
                     onActive(main, [main](EditorWindow& c) { importLook(main, c); }));
    file->addSeparator()->setObjectName(QStringLiteral("fileSeparator"));
    file->addMenu(recent);
    QObject::connect(file, &QMenu::aboutToShow, recent, &RecentFilesMenu::refresh);
    QObject::connect(editorAction(menuAction(file, "actionClose", QStringLiteral("&Close"),
                                             QKeySequence(Qt::CTRL | Qt::Key_W))),
                     &QAction::triggered, main, &MainWindow::closeActive);
    file->addSeparator()->setObjectName(QStringLiteral("exitSeparator"));
    QObject::connect(
        menuAction(file, "actionExit", QStringLiteral("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_Q)),
        &QAction::triggered, main, &MainWindow::exitProgram);
    themeOn();
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(kCaption);

    // Start-up: the working folder and its configuration file. The archiver
    // is looked up when it is needed (the working folder's own, then PATH).
    const Status prepared = prx::prepareWorkFolder();
    m_config = new ConfigStore(configFilePath(), this);

    m_mdi = makeWorkspace(this);
    setCentralWidget(m_mdi);
    setAcceptDrops(true);
    m_status = new StatusWatch(this, m_mdi, *m_config);

    buildMenus();
    setProgramIcon(this, QStringLiteral("AAA"), true);

    const QSize client(868, 590);
    resize(client.width(),
           client.height() + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    // The size, place and maximised state of the last run, inside the screen as it is now.
    if (const QByteArray geometry = storedWindowGeometry(); !geometry.isEmpty())
        restoreGeometry(geometry);
    fitToScreen(this);
    // Once the window manager has put its frame around the shown window, the frame fits too.
    QTimer::singleShot(300, this, [this] { fitToScreen(this); });
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &MainWindow::updateActions);
    new FadeIn(this);

    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& session) {
        // The session is ending: unsaved edits are asked about when the session lets us.
        if (session.allowsInteraction() && !maybeSaveAll())
            session.cancel();
        else
            m_closing = Closing::Asked;
        session.release();
    });
    updateActions();
    m_status->refresh();

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
    m_status->pause();
    const QList<QObject*> objects = findChildren<QObject*>();
    for (QObject* child : objects)
        QObject::disconnect(child, nullptr, this, nullptr);
    // Nor may the workspace's last activation reach the menus' handlers, which ask this window.
    QObject::disconnect(m_mdi, nullptr, nullptr, nullptr);
}

void MainWindow::buildMenus() {
    const auto editorAction = [this](QAction* action) {
        m_editorActions.append(action);
        return action;
    };
    m_recent = new RecentFilesMenu(this);
    connect(m_recent, &RecentFilesMenu::openRequested, this, &MainWindow::openFile);
    addFileMenu(this, m_recent, editorAction);

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

    menuBar()->addMenu(new WindowMenu(m_mdi, this));
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("menuHelp"));
    connect(menuAction(help, "actionAbout", QStringLiteral("&About...")), &QAction::triggered, this,
            [this] { AboutDialog(this).exec(); });
    connect(menuAction(help, "actionSettings", QStringLiteral("Configurations")), &QAction::triggered, this,
            [this] { SettingsDialog(*m_config, this).exec(); });
}

// ---- editors ---------------------------------------------------------------

EditorWindow* MainWindow::activeChild() const {
    return qobject_cast<EditorWindow*>(m_mdi->currentSubWindow());
}

QList<EditorWindow*> MainWindow::children() const {
    QList<EditorWindow*> out;
    for (QMdiSubWindow* w : m_mdi->subWindowList())
        if (auto* child = qobject_cast<EditorWindow*>(w))
            out.append(child);
    return out;
}

EditorWindow* MainWindow::addEditor(prx::ModuleKind kind, doc::EditingDocument* document) {
    auto* child = new EditorWindow(kind, document);
    m_mdi->addSubWindow(child, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->setOption(QMdiSubWindow::RubberBandResize, false);
    connect(child, &EditorWindow::statusChanged, m_status, &StatusWatch::schedule);
    connect(child, &QObject::destroyed, m_status, &StatusWatch::schedule);
    m_undoGroup->addStack(child->document().undoStack());
    child->show();
    child->adjustSize();
    child->setFixedSize(child->size());
    m_status->emptyHint()->hide();
    m_status->schedule();
    return child;
}

void MainWindow::updateActions() {
    EditorWindow* child = activeChild();
    for (QAction* a : std::as_const(m_editorActions))
        a->setEnabled(child != nullptr);
    m_undoGroup->setActiveStack(child ? child->document().undoStack() : nullptr);
}

// ---- other commands ----------------------------------------------------------------

void MainWindow::closeActive() {
    m_mdi->closeActiveSubWindow();
}

void MainWindow::reviewChanges() {
    if (EditorWindow* child = activeChild()) {
        ReviewDialog review(*child->editor(), this);
        review.exec();
    }
}

bool MainWindow::maybeSaveAll() {
    for (EditorWindow* child : children())
        if (!child->maybeSave())
            return false;
    return true;
}

void MainWindow::exitProgram() {
    m_closing = Closing::Exit;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    bool unsaved = false;
    for (EditorWindow* child : children())
        unsaved = unsaved || child->isWindowModified();
    // Every editor with unsaved edits is asked about; Cancel keeps the
    // program running. Without any, the close box asks "Are You Sure?".
    const bool stays =
        m_closing != Closing::Asked &&
        (unsaved ? !maybeSaveAll()
                 : m_closing == Closing::Asking &&
                       dialogs().showMessage(this, QStringLiteral("Exit Quillmark"),
                                             QStringLiteral("Are You Sure?"), MsgIcon::Question,
                                             MsgButtons::YesNo) != MsgAnswer::Yes);
    if (stays) {
        m_closing = Closing::Asking;
        event->ignore();
        return;
    }
    // What the user chose to keep is saved; the rest is discarded without asking again.
    m_closing = Closing::Asked;
    storeWindowGeometry(saveGeometry());
    m_status->pause();
    for (EditorWindow* child : children())
        child->closeWithoutAsking();
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
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
