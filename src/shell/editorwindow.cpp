#include "editorwindow.h"

#include "configstore.h"
#include "document/editingdocument.h"
#include "paf/pafeditor.h"
#include "prx/module.h"
#include "vsh/vsheditor.h"
#include "widgets/dialogs.h"
#include "widgets/editorform.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>

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

EditorWindow::EditorWindow(prx::ModuleKind kind, doc::EditingDocument* document, QWidget* parent)
    : QMdiSubWindow(parent), m_document(document ? document : new doc::EditingDocument),
      m_form(kind == prx::ModuleKind::Vsh ? static_cast<EditorForm*>(new VshEditor(*m_document))
                                          : static_cast<EditorForm*>(new PafEditor(*m_document))) {
    installAccessibility();
    m_document->setParent(this);
    // The window menu's Close keeps its caption but not its key: Ctrl+W is
    // File > Close, which Qt would otherwise find twice and run neither.
    if (QMenu* menu = systemMenu())
        for (QAction* action : menu->actions())
            action->setShortcuts({});
    setWidget(m_form);
    setWindowIcon(m_form->windowIcon());
    connect(m_document, &doc::ModuleDocument::modifiedChanged, this, &EditorWindow::updateTitle);
    connect(m_document, &doc::ModuleDocument::valuesReplaced, this, [this] {
        updateTitle();
        Q_EMIT statusChanged();
    });
    if (m_document->isOpen())
        m_form->showDocument();
    updateTitle();
}

EditorWindow::~EditorWindow() {
    // The form goes first: its boxes are bound to the document until then.
    disconnect(m_document, nullptr, this, nullptr);
    delete m_form;
}

void EditorWindow::installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(editorWindowInterface);
        return true;
    }();
    (void)installed;
}

prx::ModuleKind EditorWindow::moduleKind() const {
    return m_form->moduleKind();
}

QString EditorWindow::currentFile() const {
    return m_document->path();
}

QString EditorWindow::statusVersion() const {
    // Kept from the last load while the window holds no file.
    return m_document->release().row > 0 ? m_document->release().label() + QLatin1Char(' ') : QString();
}

QString EditorWindow::statusFile() const {
    return m_document->isOpen() ? QDir::toNativeSeparators(currentFile()) + QLatin1Char(' ') : QString();
}

void EditorWindow::setFileGone(bool gone) {
    if (gone == m_fileGone)
        return;
    m_fileGone = gone;
    updateTitle();
}

void EditorWindow::updateTitle() {
    // "VSHMain.rad Ededid - vshmain.prx", marked while it holds unsaved edits.
    const QString file = currentFile();
    setWindowTitle(file.isEmpty() ? m_form->caption()
                                  : m_form->caption() + QStringLiteral(" - ") + QFileInfo(file).fileName() +
                                        QStringLiteral("[*]") + (m_fileGone ? kGoneMark : QString()));
    setWindowModified(m_document->isModified());
}

Status EditorWindow::loadFile(const QString& path, prx::ReleaseId release) {
    if (path.isEmpty()) {
        m_document->close();
        return {};
    }
    // The whole module is read before any control changes: a load that
    // fails leaves the window as it was.
    if (release.kind != moduleKind())
        return prx::noReleaseRow(release.row); // the window's kind has no such row
    return m_document->open(path, release);
}

Status EditorWindow::writeFile(const QString& path, bool keepOriginal) {
    if (!m_document->isOpen())
        return Error::of(ErrorKind::NotModule, errnum::PathFileAccess, Reason::NothingOpen);
    if (auto s = m_form->checkEntries(); !s)
        return s;
    if (path == currentFile())
        return m_document->save(path, keepOriginal);
    return m_document->saveAs(path, keepOriginal);
}

bool EditorWindow::saveFile(const QString& path) {
    const Status saved = writeFile(path, keepOriginalIn(configFilePath()));
    if (saved)
        return true;
    showError(m_form, saved.error(), currentFile());
    if (saved.error().kind == ErrorKind::Check)
        m_form->focusRefusedBox();
    return false;
}

bool EditorWindow::save() {
    const QString path = currentFile();
    if (path.isEmpty())
        return false;
    // Writing over the file when another program changed it since asks first.
    if (m_document->changedOnDisk() && QFileInfo::exists(path) &&
        dialogs().showMessage(window(), kAppTitle,
                              QStringLiteral("%1 was changed on disk since it was opened. Overwrite it?")
                                  .arg(QFileInfo(path).fileName()),
                              MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
        return false;
    return saveFile(path);
}

QString EditorWindow::askSaveAsName() {
    // The dialog starts in the open file's folder with its name.
    const QFileInfo open(currentFile());
    return withFilterSuffix(dialogs().chooseFile(window(), open.absolutePath(), kPrxFilterName,
                                                 kPrxFilterPattern,
                                                 QStringLiteral("Enter name of *.prx file to save"),
                                                 FileMode::Save, open.fileName()),
                            kPrxFilterPattern);
}

bool EditorWindow::saveAs() {
    if (currentFile().isEmpty())
        return false;
    const QString path = askSaveAsName();
    if (path.isEmpty())
        return false;
    return saveFile(path);
}

bool EditorWindow::maybeSave() {
    if (!m_document->isModified())
        return true;
    if (QMdiArea* area = mdiArea())
        area->setActiveSubWindow(this);
    const QString name = QFileInfo(currentFile()).fileName();
    switch (dialogs().showMessage(window(), kAppTitle, QStringLiteral("Save changes to %1?").arg(name),
                                  MsgIcon::Question, MsgButtons::SaveDiscardCancel)) {
    case MsgAnswer::Save:
        return save();
    case MsgAnswer::Discard:
        return true;
    default:
        return false;
    }
}

void EditorWindow::closeWithoutAsking() {
    m_closeUnasked = true;
    close();
}

void EditorWindow::closeEvent(QCloseEvent* event) {
    if (!m_closeUnasked && !maybeSave()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
    // A window that closes lets go of its module at once; Qt deletes it later.
    if (event->isAccepted())
        m_document->close();
    else
        m_closeUnasked = false;
}

Result<prx::ModuleValues> EditorWindow::lookValues() const {
    if (auto s = m_form->checkEntries(); !s)
        return s.error();
    return m_document->values();
}

void EditorWindow::showLook(const prx::ModuleValues& values) {
    if (values.release() != m_document->release())
        return;
    m_document->editAll(values, QStringLiteral("Import Look"));
}

QString EditorWindow::shownTitle() const {
    QString title = windowTitle();
    title.replace(QStringLiteral("[*]"), isWindowModified() ? QStringLiteral("*") : QString());
    return title;
}

void EditorWindow::changeEvent(QEvent* event) {
    QMdiSubWindow::changeEvent(event);
    if (event->type() == QEvent::ModifiedChange || event->type() == QEvent::WindowTitleChange) {
        QAccessibleEvent changed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

} // namespace qm::ui
