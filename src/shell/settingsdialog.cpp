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

    lblTitle = new QLabel(QStringLiteral("General :"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setFont(QFont(QStringLiteral("Arial"), 10, QFont::Bold));
    chkOpt1 = new QCheckBox(QStringLiteral("Enabled Check PRX Update"), this);
    chkOpt1->setObjectName(QStringLiteral("chkOpt1"));
    chkOpt2 = new QCheckBox(QStringLiteral("Enabled PRX Compression"), this);
    chkOpt2->setObjectName(QStringLiteral("chkOpt2"));
    chkOpt3 = new QCheckBox(QStringLiteral("Keep the original module (.orig)"), this);
    chkOpt3->setObjectName(QStringLiteral("chkOpt3"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTitle);
    layout->addWidget(chkOpt1);
    layout->addWidget(chkOpt2);
    layout->addWidget(chkOpt3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    chkOpt1->setChecked(integerValue(m_config.value(prx::kKeyCheckPrx)) >= 1);
    chkOpt2->setChecked(integerValue(m_config.value(prx::kKeyCompPrx)) >= 1);
    chkOpt3->setChecked(m_config.keepOriginalNow());

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

void SettingsDialog::store() {
    if (m_stored)
        return;
    m_stored = true;
    // A switch that can't be stored is not reported: the window closes as always.
    (void)m_config.setValue(prx::kKeyCheckPrx,
                            chkOpt1->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    (void)m_config.setValue(prx::kKeyCompPrx,
                            chkOpt2->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    (void)m_config.setValue(prx::kKeyKeepOriginal,
                            chkOpt3->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

// OK, the close box and Escape all end here: the switches are stored either way.
void SettingsDialog::done(int result) {
    store();
    QDialog::done(result);
}

} // namespace qm::ui
