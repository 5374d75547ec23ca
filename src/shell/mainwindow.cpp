#include "mainwindow.h"

#include "aboutdialog.h"
#include "configstore.h"
#include "paf/pafeditor.h"
#include "prx/config.h"
#include "prx/workfolder.h"
#include "reviewdialog.h"
#include "settingsdialog.h"
#include "vsh/vsheditor.h"
#include "widgets/dialogs.h"
#include "widgets/windowhelpers.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
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
#include <QTimer>
#include <QUndoGroup>
#include <QUndoStack>

namespace qm::ui {
namespace {

const QString kNoVersion = QStringLiteral("No Version ");
const QString kNoFile = QStringLiteral("No File ");

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

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    m_mdi->setBackground(palette().brush(QPalette::Dark));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    setAcceptDrops(true);

    buildMenus();
    buildStatusBar();
    setProgramIcon(this, QStringLiteral("AAA"), true);

    const QSize client(868, 590);
    resize(client.width(),
           client.height() + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    // The status bar follows events (activation, loads, file changes, the
    // configuration); m_statusTimer coalesces them into one refresh.
    m_statusTimer = new QTimer(this);
    m_statusTimer->setObjectName(QStringLiteral("m_statusTimer"));
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
    m_fadeTimer->setObjectName(QStringLiteral("m_fadeTimer"));
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
            dialogs().showMessage(this, kAppTitle,
                                  prepared.error().userText() + QStringLiteral("\r\n") +
                                      prepared.error().detail,
                                  MsgIcon::Critical, MsgButtons::Ok);
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
    connect(menuAction(file, "actionOpen", QStringLiteral("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, this, &MainWindow::openWithDialog);
    const auto editorAction = [this](QAction* action) {
        m_editorActions.append(action);
        return action;
    };
    connect(editorAction(menuAction(file, "actionSave", QStringLiteral("&Save..."),
                                    QKeySequence(Qt::CTRL | Qt::Key_S))),
            &QAction::triggered, this, &MainWindow::saveActive);
    connect(editorAction(menuAction(file, "actionSaveAs", QStringLiteral("Save &As..."))),
            &QAction::triggered, this, &MainWindow::saveActiveAs);
    connect(editorAction(menuAction(file, "actionExportLook", QStringLiteral("&Export Look..."))),
            &QAction::triggered, this, &MainWindow::exportLook);
    connect(editorAction(menuAction(file, "actionImportLook", QStringLiteral("&Import Look..."))),
            &QAction::triggered, this, &MainWindow::importLook);
    file->addSeparator()->setObjectName(QStringLiteral("fileSeparator"));
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
    connect(menuAction(m_windowMenu, "actionTileHorizontally", QStringLiteral("Tile &Horizontally"),
                       QKeySequence(Qt::CTRL | Qt::Key_H)),
            &QAction::triggered, this, [this] { arrange(Arrangement::TileHorizontally); });
    connect(menuAction(m_windowMenu, "actionTileVertically", QStringLiteral("Tile &Vertically"),
                       QKeySequence(Qt::CTRL | Qt::Key_V)),
            &QAction::triggered, this, [this] { arrange(Arrangement::TileVertically); });
    connect(menuAction(m_windowMenu, "actionCascade", QStringLiteral("&Cascade"),
                       QKeySequence(Qt::CTRL | Qt::Key_C)),
            &QAction::triggered, this, [this] { arrange(Arrangement::Cascade); });
    connect(menuAction(m_windowMenu, "actionArrangeIcons", QStringLiteral("&Arrange Icons"),
                       QKeySequence(Qt::CTRL | Qt::Key_A)),
            &QAction::triggered, this, [this] { arrange(Arrangement::ArrangeIcons); });
    connect(m_windowMenu, &QMenu::aboutToShow, this, &MainWindow::updateWindowMenu);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("menuHelp"));
    connect(menuAction(help, "actionAbout", QStringLiteral("&About...")), &QAction::triggered, this,
            &MainWindow::showAbout);
    connect(menuAction(help, "actionSettings", QStringLiteral("Configurations")), &QAction::triggered, this,
            &MainWindow::showSettings);
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
        panel->setObjectName(indexedName(QStringLiteral("statusPanel"), i));
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
    if (QFileInfo::exists(path))
        return;
    m_reportingVanished = true;
    QPointer<QMdiSubWindow> gone = m_mdi->activeSubWindow();
    dialogs().showMessage(this, QStringLiteral("PRX Problem"), QStringLiteral("The opened PRX disappeared!"),
                          MsgIcon::Critical, MsgButtons::Ok);
    if (gone) {
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
    QMdiSubWindow* w = m_mdi->activeSubWindow();
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
    QMdiSubWindow* sub =
        m_mdi->addSubWindow(form, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                      Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(form->windowTitle());
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

PafEditor* MainWindow::newPafEditor() {
    auto* form = new PafEditor;
    addEditor(form);
    return form;
}

VshEditor* MainWindow::newVshEditor() {
    auto* form = new VshEditor;
    addEditor(form);
    return form;
}

// ---- other commands ----------------------------------------------------------------

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
