#pragma once

// The packing window: copies the header of a packed module, lets the user
// pick the module key, packs the module behind that header and puts the
// result in place; no way out but its OK button once the work has ended.

#include "progresswindow.h"

class QComboBox;

namespace qm::ui {

class PackDialog final : public ProgressWindow {
    Q_OBJECT
public:
    // Packs `module` behind the header of the packed module `header`; the
    // result goes to `output`, or replaces `module` when output is empty.
    PackDialog(const QString& module, const QString& header, const QString& output,
               QWidget* parent = nullptr);

private:
    // The steps the window shows while it works.
    enum Step { Extract, Choose, Compress, Repack };

    void startRun() override;
    void stepShown(int step) override;
    void hideExtraControls() override;

    // "Go Compress !": packs with the key selected now.
    void compress();
    void headerRead(bool ok, int key, const QString& detail);

    QComboBox* m_keyList = nullptr;
    QPushButton* m_compressButton = nullptr;
    const QString m_module;
    const QString m_header;
    const QString m_output;
    bool m_compressStarted = false;
};

} // namespace qm::ui
