#include "editorform.h"

#include "dialogs.h"
#include "valueframe.h"
#include "windowhelpers.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace qm::ui {

EditorForm::EditorForm(const QString& name, const QString& caption, QSize size, QWidget* parent)
    : QWidget(parent) {
    setObjectName(name);
    setWindowTitle(caption);
    SetFormIcon(this, QStringLiteral("BBB"), true);
    setFixedSize(size);
    useDialogFont(this);
}

void EditorForm::reportError(const Error& error) {
    const MsgIcon icon = error.kind == ErrorKind::Check ? MsgIcon::None : MsgIcon::Critical;
    dialogs().showMessage(this, kAppTitle, error.userText(), icon, MsgButtons::Ok);
}

QTabWidget* EditorForm::addTabs(const QString& name, int margin) {
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(name);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(margin, margin, margin, margin);
    outer->addWidget(tabs);
    return tabs;
}

QString EditorForm::openFile() const {
    QString file = statusFile();
    if (file.endsWith(QLatin1Char(' ')))
        file.chop(1);
    return file;
}

} // namespace qm::ui
