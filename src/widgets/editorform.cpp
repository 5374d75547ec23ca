#include "editorform.h"

#include "valueframe.h"
#include "windowhelpers.h"

#include <QLineEdit>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qm::ui {

EditorForm::EditorForm(const QString& name, const QString& caption, QSize size, prx::ModuleKind kind,
                       std::vector<BoxCaption> captions, doc::EditingDocument& document, QWidget* parent)
    : QWidget(parent), m_kind(kind), m_caption(caption), m_document(document),
      m_boxes(new ValueBoxes(this, std::move(captions))) {
    setObjectName(name);
    setWindowTitle(caption);
    // A new file or none: every control shows it, the box that refused a save is forgotten.
    connect(&m_document, &doc::ModuleDocument::valuesReplaced, this, [this] {
        m_refused = nullptr;
        showDocument();
    });
    setProgramIcon(this, QStringLiteral("BBB"), true);
    setFixedSize(size);
    useDialogFont(this);
}

EditorForm::~EditorForm() {
    // The document and the boxes outlive this part of the window: their last signals must not reach it.
    disconnect(&m_document, nullptr, this, nullptr);
    m_boxes->detach();
}

void EditorForm::showDocument() {
    if (m_document.isOpen())
        showModule();
    else
        showNoModule();
}

void EditorForm::focusRefusedBox() {
    if (!m_refused || !m_tabs)
        return;
    for (int t = 0; t < m_tabs->count(); ++t)
        if (m_tabs->widget(t)->isAncestorOf(m_refused))
            m_tabs->setCurrentIndex(t);
    m_refused->setFocus(Qt::OtherFocusReason);
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
