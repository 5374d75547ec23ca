#include "editorform.h"

#include "prx/module.h"
#include "valueframe.h"
#include "windowhelpers.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qm::ui {

EditorForm::EditorForm(const QString& name, const QString& caption, QSize size, prx::ModuleKind kind,
                       std::vector<BoxCaption> captions, doc::EditingDocument* document, QWidget* parent)
    : QWidget(parent), m_kind(kind), m_caption(caption),
      m_document(document ? document : new doc::EditingDocument(this)),
      m_boxes(new ValueBoxes(this, std::move(captions))) {
    m_document->setParent(this);
    setObjectName(name);
    setWindowTitle(caption);
    connect(m_document, &doc::ModuleDocument::modifiedChanged, this, [this] { updateTitle(); });
    connect(m_document, &doc::ModuleDocument::valueChanged, this, &EditorForm::valueChanged);
    setProgramIcon(this, QStringLiteral("BBB"), true);
    setFixedSize(size);
    useDialogFont(this);
}

EditorForm::~EditorForm() {
    // The document and the boxes outlive this part of the window: their last signals must not reach it.
    disconnect(m_document, nullptr, this, nullptr);
    m_boxes->detach();
}

QString EditorForm::statusFile() const {
    return filePath().isEmpty() ? QString() : QDir::toNativeSeparators(filePath()) + QLatin1Char(' ');
}

Status EditorForm::load(const QString& path, prx::ReleaseId release) {
    if (path.isEmpty()) {
        m_document->close();
        updateTitle();
        showNoModule();
        Q_EMIT statusChanged();
        return {};
    }
    // The whole module is read before any control changes: a load that
    // fails leaves the window as it was.
    if (release.kind != m_kind)
        return prx::noReleaseRow(release.row); // the window's kind has no such row
    if (auto s = m_document->open(path, release); !s)
        return s;
    showFile();
    return {};
}

void EditorForm::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted())
        m_document->close();
}

void EditorForm::showOpenDocument() {
    if (m_document->isOpen())
        showFile();
}

void EditorForm::showFile() {
    m_version = m_document->release().row;
    m_statusVersion = m_document->release().label() + QLatin1Char(' ');
    showModule();
    updateTitle();
    Q_EMIT valuesReplaced();
    Q_EMIT statusChanged();
}

Status EditorForm::save(const QString& path, [[maybe_unused]] prx::ReleaseId release, bool keepOriginal) {
    m_refused = nullptr;
    if (m_version < 1 || filePath().isEmpty())
        return Error::of(ErrorKind::NotModule, errnum::PathFileAccess, Reason::NothingOpen);
    if (auto s = checkEntries(); !s)
        return s;
    if (auto s = m_document->save(path, keepOriginal); !s)
        return s;
    showFile();
    return {};
}

void EditorForm::edit(int member, const prx::Value& value, const QString& step, bool typing) {
    m_document->edit(member, value, step, typing);
}

bool EditorForm::hasUnsavedEdits() const {
    return m_document->isModified();
}

void EditorForm::replaceValues(const prx::ModuleValues& values) {
    m_document->setValues(values);
}

Result<prx::ModuleValues> EditorForm::lookValues() const {
    if (auto s = checkEntries(); !s)
        return s.error();
    return values();
}

void EditorForm::showLook(const prx::ModuleValues& values) {
    if (values.release() != release())
        return;
    m_document->editAll(values, QStringLiteral("Import Look"));
}

void EditorForm::focusRefusedBox() {
    if (!m_refused || !m_tabs)
        return;
    for (int t = 0; t < m_tabs->count(); ++t)
        if (m_tabs->widget(t)->isAncestorOf(m_refused))
            m_tabs->setCurrentIndex(t);
    m_refused->setFocus(Qt::OtherFocusReason);
}

void EditorForm::updateTitle() {
    // "VSHMain.rad Ededid - vshmain.prx", marked while it holds unsaved edits.
    setWindowTitle(filePath().isEmpty() ? m_caption
                                        : m_caption + QStringLiteral(" - ") +
                                              QFileInfo(filePath()).fileName() + QStringLiteral("[*]"));
    setWindowModified(hasUnsavedEdits());
}

Status EditorForm::checkEntries() const {
    QLineEdit* refused = nullptr;
    Status s = m_boxes->checkEntries(refused);
    m_refused = refused;
    return s;
}

void EditorForm::setLocale(const QLocale& locale) {
    m_locale = locale;
    m_boxes->setLocale(locale);
    localeChanged();
}

QTabWidget* EditorForm::addTabs(const QString& name, int margin) {
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(name);
    m_tabs = tabs;
    // Ctrl+PgDn and Ctrl+PgUp move between the tabs, wherever the focus is in the window.
    const auto step = [tabs](int by) {
        tabs->setCurrentIndex((tabs->currentIndex() + by + tabs->count()) % std::max(1, tabs->count()));
    };
    auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), this, [step] { step(1); });
    auto* previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), this, [step] { step(-1); });
    next->setContext(Qt::WidgetWithChildrenShortcut);
    previous->setContext(Qt::WidgetWithChildrenShortcut);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(margin, margin, margin, margin);
    outer->addWidget(tabs);
    return tabs;
}

} // namespace qm::ui
