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

    QCheckBox* option(int index) const {
        return index == 0 ? m_checkPrx : index == 1 ? m_compPrx : m_keepOriginal;
    }

protected:
    void done(int result) override;

private:
    void store();

    ConfigStore& m_config;
    QLabel* m_heading = nullptr;
    QCheckBox* m_checkPrx = nullptr;
    QCheckBox* m_compPrx = nullptr;
    QCheckBox* m_keepOriginal = nullptr;
    QPushButton* m_okButton = nullptr;
    bool m_stored = false;
};

} // namespace qm::ui
