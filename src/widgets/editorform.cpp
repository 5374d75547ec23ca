#include "editorform.h"

#include "prx/module.h"
#include "prx/rules.h"
#include "prx/valueio.h"
#include "valueframe.h"
#include "windowhelpers.h"

#include <QFile>
#include <QFileInfo>
#include <QShortcut>
#include <QTabWidget>
#include <QUndoStack>
#include <QVBoxLayout>

namespace qm::ui {

// One step: every value before and after it. Typing into one box grows the
// open step instead of making new ones.
class ValuesCommand final : public QUndoCommand {
public:
    ValuesCommand(EditorForm* form, prx::ModuleValues before, prx::ModuleValues after, const QString& text,
                  int typedMember)
        : QUndoCommand(text), m_form(form), m_before(std::move(before)), m_after(std::move(after)),
          m_typedMember(typedMember) {}

    int id() const override { return m_typedMember >= 0 ? 1 : -1; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const ValuesCommand*>(other);
        if (m_form->m_openStep != this || next->m_typedMember != m_typedMember)
            return false;
        m_after = next->m_after;
        setObsolete(m_after == m_before);
        return true;
    }
    void redo() override { m_form->replaceValues(m_after); }
    void undo() override { m_form->replaceValues(m_before); }

private:
    EditorForm* m_form;
    prx::ModuleValues m_before;
    prx::ModuleValues m_after;
    int m_typedMember;
};

EditorForm::EditorForm(const QString& name, const QString& caption, QSize size, prx::ModuleKind kind,
                       QWidget* parent)
    : QWidget(parent), m_kind(kind), m_caption(caption), m_undo(new QUndoStack(this)) {
    setObjectName(name);
    setWindowTitle(caption);
    connect(m_undo, &QUndoStack::cleanChanged, this, [this] { updateTitle(); });
    connect(m_undo, &QUndoStack::indexChanged, this, [this] {
        if (!m_pushing)
            m_openStep = nullptr; // an undo or redo ends the typing step
    });
    setProgramIcon(this, QStringLiteral("BBB"), true);
    setFixedSize(size);
    useDialogFont(this);
}

EditorForm::~EditorForm() {
    // The undo stack outlives this part of the window: its last signals must not reach it.
    disconnect(m_undo, nullptr, this, nullptr);
}

QString EditorForm::statusFile() const {
    return m_path.isEmpty() ? QString() : m_path + QLatin1Char(' ');
}

Status EditorForm::load(const QString& path, int version) {
    if (path.isEmpty()) {
        m_path.clear();
        m_undo->clear();
        updateTitle();
        showNoModule();
        Q_EMIT statusChanged();
        return {};
    }
    // The whole module is read before any control changes: a load that
    // fails leaves the window as it was.
    auto image = prx::readModule(path, m_kind, version);
    if (!image)
        return image.error();
    auto values = prx::loadValues(*image, m_kind, version);
    if (!values)
        return values.error();
    m_version = version;
    m_path = path;
    m_statusVersion = QString::fromLatin1(prx::release(m_kind, version).label) + QLatin1Char(' ');
    m_loaded = *values;
    m_values = std::move(*values);
    prx::applyFollowing(m_values);
    m_stamp = stampOf(path, image->bytes());
    m_openStep = nullptr;
    m_undo->clear();
    showModule();
    updateTitle();
    Q_EMIT valuesReplaced();
    Q_EMIT statusChanged();
    return {};
}

Status EditorForm::save(const QString& path, int version, bool keepOriginal) {
    m_refused = nullptr;
    if (m_version < 1 || m_path.isEmpty())
        return Error::notModule(QStringLiteral("No module is open"), QStringLiteral("nothing to save"));
    if (auto s = checkEntries(); !s)
        return s;
    if (auto s = prx::saveValuesFile(m_path, path, m_loaded, m_values, keepOriginal); !s)
        return s;
    return load(path, version);
}

void EditorForm::edit(int member, const prx::Value& value, const QString& step, bool typing) {
    if (!m_values.has(member) || m_values.value(member) == value)
        return;
    prx::ModuleValues after = m_values;
    after.setValue(member, value);
    prx::applyFollowing(after);
    // Typing grows the open step while it is the newest step and of the same box.
    if (!typing || m_undo->index() == 0 || m_undo->command(m_undo->index() - 1) != m_openStep)
        m_openStep = nullptr;
    const bool grows = m_openStep != nullptr;
    auto* command = new ValuesCommand(this, m_values, std::move(after), step, typing ? member : -1);
    m_pushing = true;
    m_undo->push(command); // merged into the open step (and deleted) when it grows it
    m_pushing = false;
    const QUndoCommand* top = m_undo->index() > 0 ? m_undo->command(m_undo->index() - 1) : nullptr;
    if (!typing || (grows && top != m_openStep))
        m_openStep = nullptr; // not typing, or the step undid itself away
    else if (!grows)
        m_openStep = top == command ? command : nullptr;
}

void EditorForm::closeStep() {
    m_openStep = nullptr;
}

bool EditorForm::hasUnsavedEdits() const {
    return !m_path.isEmpty() && !m_undo->isClean();
}

void EditorForm::replaceValues(const prx::ModuleValues& values) {
    if (values.kind() != m_values.kind() || values.version() != m_values.version())
        return;
    const prx::ModuleValues before = m_values;
    m_values = values;
    for (int m = 0; m < m_values.memberCount(); ++m)
        if (m_values.value(m) != before.value(m))
            Q_EMIT valueChanged(m);
}

Result<prx::ModuleValues> EditorForm::lookValues() const {
    if (auto s = checkEntries(); !s)
        return s.error();
    return m_values;
}

void EditorForm::showLook(const prx::ModuleValues& values) {
    if (values.kind() != m_kind || values.version() != m_version)
        return;
    prx::ModuleValues after = values;
    prx::applyFollowing(after);
    if (after == m_values)
        return;
    m_openStep = nullptr;
    m_undo->push(new ValuesCommand(this, m_values, std::move(after), QStringLiteral("Import Look"), -1));
}

void EditorForm::focusRefusedBox() {
    if (!m_refused || !m_tabs)
        return;
    for (int t = 0; t < m_tabs->count(); ++t)
        if (m_tabs->widget(t)->isAncestorOf(m_refused))
            m_tabs->setCurrentIndex(t);
    m_refused->setFocus(Qt::OtherFocusReason);
}

bool EditorForm::changedOnDisk() const {
    if (m_path.isEmpty())
        return false;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return true;
    return !(stampOf(m_path, file.readAll()) == m_stamp);
}

EditorForm::Stamp EditorForm::stampOf(const QString& path, QByteArrayView bytes) {
    Stamp stamp;
    const QFileInfo info(path);
    if (!info.isFile())
        return stamp;
    stamp.size = info.size();
    stamp.modified = info.lastModified();
    stamp.hash = qHashBits(bytes.data(), static_cast<std::size_t>(bytes.size()));
    return stamp;
}

void EditorForm::updateTitle() {
    // "VSHMain.rad Ededid - vshmain.prx", marked while it holds unsaved edits.
    setWindowTitle(m_path.isEmpty() ? m_caption
                                    : m_caption + QStringLiteral(" - ") + QFileInfo(m_path).fileName() +
                                          QStringLiteral("[*]"));
    setWindowModified(hasUnsavedEdits());
}

void EditorForm::setLocale(const QLocale& locale) {
    m_locale = locale;
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
