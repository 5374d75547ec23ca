#pragma once

// The configuration window: the two switches of the configuration file as
// check boxes, stored when the window closes, whichever way.

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace qm::ui {

class ConfigStore;

class SettingsDialog final : public QDialog {
    Q_OBJECT
public:
    explicit SettingsDialog(ConfigStore& config, QWidget* parent = nullptr);

    QCheckBox* option(int index) const { return index == 0 ? chkOpt1 : index == 1 ? chkOpt2 : chkOpt3; }

protected:
    void done(int result) override;

private:
    void store();

    ConfigStore& m_config;
    QLabel* lblTitle = nullptr;
    QCheckBox* chkOpt1 = nullptr;
    QCheckBox* chkOpt2 = nullptr;
    QCheckBox* chkOpt3 = nullptr;
    QPushButton* cmdOK = nullptr;
    bool m_stored = false;
};

} // namespace qm::ui
