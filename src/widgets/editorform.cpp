#include "editorform.h"

#include "prx/rules.h"
#include "prx/valueio.h"
#include "valueframe.h"
#include "windowhelpers.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace qm::ui {

EditorForm::EditorForm(const QString& name, const QString& caption, QSize size, prx::ModuleKind kind,
                       QWidget* parent)
    : QWidget(parent), m_kind(kind) {
    setObjectName(name);
    setWindowTitle(caption);
    SetFormIcon(this, QStringLiteral("BBB"), true);
    setFixedSize(size);
    useDialogFont(this);
}

QString EditorForm::statusFile() const {
    return m_path.isEmpty() ? QString() : m_path + QLatin1Char(' ');
}

Status EditorForm::load(const QString& path, int version) {
    if (path.isEmpty()) {
        m_path.clear();
        statusTextsChanged();
        showNoModule();
        Q_EMIT statusChanged();
        return {};
    }
    // The whole module is read before any control changes: a load that
    // fails leaves the window as it was.
    auto values = prx::readValuesFile(path, m_kind, version);
    if (!values)
        return values.error();
    m_version = version;
    m_path = path;
    m_statusVersion = QString::fromLatin1(prx::release(m_kind, version).label) + QLatin1Char(' ');
    m_loaded = *values;
    m_values = std::move(*values);
    prx::applyFollowing(m_values);
    statusTextsChanged();
    showModule();
    Q_EMIT valuesReplaced();
    Q_EMIT statusChanged();
    return {};
}

Status EditorForm::save(const QString& path, int version) {
    if (m_version < 1 || m_path.isEmpty())
        return Error::notModule(QStringLiteral("No module is open"), QStringLiteral("nothing to save"));
    if (auto s = checkEntries(); !s)
        return s;
    if (auto s = prx::saveValuesFile(m_path, path, m_loaded, m_values); !s)
        return s;
    return load(path, version);
}

void EditorForm::setValue(int member, const prx::Value& value) {
    if (!m_values.has(member) || m_values.value(member) == value)
        return;
    const prx::ModuleValues before = m_values;
    m_values.setValue(member, value);
    prx::applyFollowing(m_values);
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
    for (int m = 0; m < values.memberCount(); ++m)
        if (values.has(m))
            setValue(m, values.value(m));
}

void EditorForm::setLocale(const QLocale& locale) {
    m_locale = locale;
    localeChanged();
}

QTabWidget* EditorForm::addTabs(const QString& name, int margin) {
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(name);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(margin, margin, margin, margin);
    outer->addWidget(tabs);
    return tabs;
}

} // namespace qm::ui
