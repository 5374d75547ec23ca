#pragma once

// Packing after a save: when the configuration offers it, Save and Save As
// first ask whether to pack and for the packed module whose header to
// reuse; after the plain save the packing window packs the saved module.

#include <QString>

class QWidget;

namespace qm::ui {

class ConfigStore;

class PackingStep {
public:
    PackingStep(QWidget* owner, const ConfigStore& config) : m_owner(owner), m_config(config) {}

    // The questions before a save: "Do you want compress PRX ?" (only when
    // the configuration's CompPRX is on), then the header file, which must be
    // a packed module. False when the save is to stop: the header dialog was
    // cancelled or the file is no packed module (said so).
    bool ask();
    // The user chose to pack, with a header.
    bool wanted() const { return !m_header.isEmpty(); }
    // Packs `module` behind the chosen header into `output`, or in place
    // when output is empty; true when the packing window packed it.
    bool run(const QString& module, const QString& output = {}) const;

private:
    QWidget* m_owner;
    const ConfigStore& m_config;
    QString m_header;
};

} // namespace qm::ui
