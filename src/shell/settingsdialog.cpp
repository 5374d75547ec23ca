#include "settingsdialog.h"

#include "configstore.h"
#include "prx/config.h"
#include "widgets/windowhelpers.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm::ui {
namespace {

// The key's value read as an integer, 0 when it is not one.
int integerValue(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? v : 0;
}

} // namespace

SettingsDialog::SettingsDialog(ConfigStore& config, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_config(config) {
    setObjectName(QStringLiteral("SettingsDialog"));
    setWindowTitle(QStringLiteral("Configuration"));
    setModal(true);

    m_heading = new QLabel(QStringLiteral("General :"), this);
    m_heading->setObjectName(QStringLiteral("heading"));
    m_heading->setFont(QFont(QStringLiteral("Arial"), 10, QFont::Bold));
    m_checkPrx = new QCheckBox(QStringLiteral("Enabled Check PRX Update"), this);
    m_checkPrx->setObjectName(QStringLiteral("checkPrxBox"));
    m_compPrx = new QCheckBox(QStringLiteral("Enabled PRX Compression"), this);
    m_compPrx->setObjectName(QStringLiteral("compPrxBox"));
    m_keepOriginal = new QCheckBox(QStringLiteral("Keep the original module (.orig)"), this);
    m_keepOriginal->setObjectName(QStringLiteral("keepOriginalBox"));
    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_checkPrx);
    layout->addWidget(m_compPrx);
    layout->addWidget(m_keepOriginal);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_checkPrx->setChecked(integerValue(m_config.value(prx::kKeyCheckPrx)) >= 1);
    m_compPrx->setChecked(integerValue(m_config.value(prx::kKeyCompPrx)) >= 1);
    m_keepOriginal->setChecked(m_config.keepOriginalNow());

    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
}

void SettingsDialog::store() {
    if (m_stored)
        return;
    m_stored = true;
    // A switch that can't be stored is not reported: the window closes as always.
    (void)m_config.setValue(prx::kKeyCheckPrx,
                            m_checkPrx->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    (void)m_config.setValue(prx::kKeyCompPrx,
                            m_compPrx->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    (void)m_config.setValue(prx::kKeyKeepOriginal,
                            m_keepOriginal->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

// OK, the close box and Escape all end here: the switches are stored either way.
void SettingsDialog::done(int result) {
    store();
    QDialog::done(result);
}

} // namespace qm::ui
