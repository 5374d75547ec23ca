#include "themedialog.h"

#include "prx/fileio.h"
#include "theme/format.h"
#include "widgets/dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace qm::ui {

ThemeDialog::ThemeDialog(const QString& module, const QString& firmware, const QString& other,
                         QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("ThemeDialog"));
    setWindowTitle(QStringLiteral("Export Theme"));
    auto* form = new QFormLayout;
    m_ptf = fileLine("ptfEdit", QStringLiteral("PTF Theme Files (*.ptf)"), QStringLiteral("*.ptf"),
                     QStringLiteral("Select the PTF theme to start from"), false);
    form->addRow(QStringLiteral("PTF base:"), m_ptf->parentWidget());
    m_output = fileLine("outputEdit", QStringLiteral("CXMB Themes (*.ctf)"), QStringLiteral("*.ctf"),
                        QStringLiteral("Enter name of theme file to save"), true);
    form->addRow(QStringLiteral("Theme file:"), m_output->parentWidget());
    m_firmware = new QComboBox;
    m_firmware->setObjectName(QStringLiteral("firmwareList"));
    for (const theme::Firmware& f : theme::firmwares())
        m_firmware->addItem(f.name);
    m_firmware->setCurrentText(firmware);
    form->addRow(QStringLiteral("Firmware:"), m_firmware);
    m_stock = fileLine("stockEdit", kPrxFilterName, kPrxFilterPattern,
                       QStringLiteral("Select the stock module"), false);
    m_stock->setText(QDir::toNativeSeparators(prx::originalPath(module)));
    form->addRow(QStringLiteral("Stock %1:").arg(QFileInfo(module).fileName()), m_stock->parentWidget());
    m_other =
        new QCheckBox(other.isEmpty() ? QStringLiteral("No open editor of the other module pairs")
                                      : QStringLiteral("Include %1").arg(QDir::toNativeSeparators(other)));
    m_other->setObjectName(QStringLiteral("includeOther"));
    m_other->setEnabled(!other.isEmpty());
    m_other->setChecked(!other.isEmpty());
    form->addRow(QString(), m_other);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setObjectName(QStringLiteral("okButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    for (QLineEdit* edit : {m_ptf, m_output, m_stock})
        connect(edit, &QLineEdit::textChanged, this, &ThemeDialog::updateOk);
    updateOk();
    resize(520, sizeHint().height());
}

QLineEdit* ThemeDialog::fileLine(const char* name, const QString& filterName, const QString& filterPattern,
                                 const QString& title, bool save) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* edit = new QLineEdit;
    edit->setObjectName(QLatin1StringView(name));
    auto* browse = new QToolButton;
    browse->setText(QStringLiteral("..."));
    layout->addWidget(edit, 1);
    layout->addWidget(browse);
    connect(browse, &QToolButton::clicked, this, [=, this] {
        const QString chosen = dialogs().chooseFile(this, QString(), filterName, filterPattern, title,
                                                    save ? FileMode::Save : FileMode::Open);
        if (!chosen.isEmpty())
            edit->setText(QDir::toNativeSeparators(save ? withFilterSuffix(chosen, filterPattern) : chosen));
    });
    return edit;
}

void ThemeDialog::updateOk() {
    m_ok->setEnabled(!m_ptf->text().trimmed().isEmpty() && !m_output->text().trimmed().isEmpty() &&
                     !m_stock->text().trimmed().isEmpty());
}

ThemeDialog::Fields ThemeDialog::fields() const {
    return {m_ptf->text(), m_output->text(), m_firmware->currentText(), m_stock->text(),
            m_other->isChecked()};
}

void ThemeDialog::setFields(const Fields& fields) {
    m_ptf->setText(fields.ptf);
    m_output->setText(fields.output);
    m_firmware->setCurrentText(fields.firmware);
    m_stock->setText(fields.stock);
    if (m_other->isEnabled())
        m_other->setChecked(fields.includeOther);
}

void ThemeDialog::accept() {
    if (m_check && !m_check(*this))
        return;
    QDialog::accept();
}

QString ThemeDialog::ptfPath() const {
    return QDir::fromNativeSeparators(m_ptf->text().trimmed());
}
QString ThemeDialog::outputPath() const {
    return QDir::fromNativeSeparators(m_output->text().trimmed());
}
QString ThemeDialog::firmware() const {
    return m_firmware->currentText();
}
QString ThemeDialog::stockPath() const {
    return QDir::fromNativeSeparators(m_stock->text().trimmed());
}
bool ThemeDialog::includeOther() const {
    return m_other->isEnabled() && m_other->isChecked();
}

} // namespace qm::ui
