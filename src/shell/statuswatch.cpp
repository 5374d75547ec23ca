#include "statuswatch.h"

#include "configstore.h"
#include "editorwindow.h"
#include "widgets/dialogs.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>

namespace qm::ui {
namespace {

const QString kNoVersion = QStringLiteral("No Version ");
const QString kNoFile = QStringLiteral("No File ");
const QString kEmptyHint = QStringLiteral("No module is open.\n\n"
                                          "Open vshmain.prx or paf.prx with File > Open... (Ctrl+O),\n"
                                          "or drop the file here.");

QLabel* makePanel(QStatusBar* bar, int index) {
    const QString texts[] = {QString(), QStringLiteral("PRX Version :"), kNoVersion, QStringLiteral("File :"),
                             kNoFile};
    const QString names[] = {QString(), QStringLiteral("PRX Version"), QStringLiteral("Version"),
                             QStringLiteral("File"), QStringLiteral("File path")};
    auto* panel = new QLabel(texts[index], bar);
    panel->setObjectName(QStringLiteral("statusPanel%1").arg(index));
    panel->setAccessibleName(names[index]);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Not permanent: a passing message ("2 values came in ...") takes their place for a while.
    bar->addWidget(panel, index == 4 ? 1 : 0);
    return panel;
}

} // namespace

StatusWatch::StatusWatch(QMainWindow* window, QMdiArea* workspace, const ConfigStore& config)
    : QObject(window), m_window(window), m_workspace(workspace), m_config(config) {
    setObjectName(QStringLiteral("statusWatch"));
    QStatusBar* bar = window->statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    bar->setSizeGripEnabled(true);
    for (int i = 1; i <= 4; ++i)
        m_panels[static_cast<std::size_t>(i)] = makePanel(bar, i);
    m_panels[2]->setMinimumWidth(160);

    m_emptyHint = new QLabel(kEmptyHint, workspace->viewport());
    m_emptyHint->setObjectName(QStringLiteral("emptyHint"));
    m_emptyHint->setAlignment(Qt::AlignCenter);
    m_emptyHint->setWordWrap(true);
    m_emptyHint->setForegroundRole(QPalette::Light);
    m_emptyHint->setAttribute(Qt::WA_TransparentForMouseEvents);
    workspace->viewport()->installEventFilter(this);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("statusTimer"));
    m_timer->setSingleShot(true);
    m_timer->setInterval(10);
    connect(m_timer, &QTimer::timeout, this, &StatusWatch::refresh);
    connect(workspace, &QMdiArea::subWindowActivated, this, &StatusWatch::schedule);
    connect(&config, &ConfigStore::changed, this, &StatusWatch::schedule);
    connect(&m_fileWatch, &QFileSystemWatcher::fileChanged, this, &StatusWatch::schedule);
    connect(&m_fileWatch, &QFileSystemWatcher::directoryChanged, this, &StatusWatch::schedule);
}

StatusWatch::~StatusWatch() {
    m_paused = true;
    QObject::disconnect(&m_fileWatch, nullptr, this, nullptr);
}

QString StatusWatch::panelText(int index) const {
    if (index < 1 || index > 4)
        return {};
    return m_panels[static_cast<std::size_t>(index)]->text();
}

bool StatusWatch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == m_workspace->viewport())
        m_emptyHint->setGeometry(m_workspace->viewport()->rect());
    return QObject::eventFilter(watched, event);
}

void StatusWatch::schedule() {
    if (!m_paused)
        m_timer->start();
}

void StatusWatch::pause() {
    m_paused = true;
    m_timer->stop();
}

void StatusWatch::resume() {
    m_paused = false;
    syncFileWatch();
    refresh();
}

void StatusWatch::syncFileWatch() {
    QStringList wanted;
    for (QMdiSubWindow* w : m_workspace->subWindowList()) {
        auto* child = qobject_cast<EditorWindow*>(w);
        const QString file = child ? child->currentFile() : QString();
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

void StatusWatch::refresh() {
    if (m_paused)
        return;
    syncFileWatch();
    m_emptyHint->setGeometry(m_workspace->viewport()->rect());
    m_emptyHint->setVisible(m_workspace->subWindowList().isEmpty());
    for (QMdiSubWindow* w : m_workspace->subWindowList())
        if (auto* child = qobject_cast<EditorWindow*>(w); child && child->fileGone())
            child->setFileGone(!QFileInfo::exists(child->currentFile())); // written again
    // The current window stays current while a dialog of ours has the focus.
    auto* child = qobject_cast<EditorWindow*>(m_workspace->currentSubWindow());
    if (!child) {
        m_panels[2]->setText(kNoVersion);
        m_panels[4]->setText(kNoFile);
        return;
    }
    m_panels[2]->setText(child->statusVersion());
    m_panels[4]->setText(child->statusFile());
    const QString path = child->currentFile();
    if (!m_config.checkPrx() || m_reportingVanished || path.isEmpty())
        return; // an editor that holds no file is not watched
    if (QFileInfo::exists(path) || child->fileGone())
        return; // a window told once keeps its edits without being told again
    reportVanished(child);
}

void StatusWatch::reportVanished(EditorWindow* window) {
    m_reportingVanished = true;
    QPointer<EditorWindow> gone = window;
    const QString path = window->currentFile();
    dialogs().showMessage(
        m_window, QStringLiteral("PRX Problem"), QStringLiteral("The opened PRX disappeared!"),
        MsgIcon::Critical, MsgButtons::Ok,
        QStringLiteral("%1: no longer in %2 (renamed, moved or deleted)")
            .arg(QFileInfo(path).fileName(), QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
    if (gone && gone->isWindowModified()) {
        // The edits stay: Save writes the file again, Save As another one.
        gone->setFileGone(true);
    } else if (gone) {
        gone->closeWithoutAsking(); // the file is gone: its editor closes, as the message says
    }
    m_reportingVanished = false;
    schedule();
}

} // namespace qm::ui
