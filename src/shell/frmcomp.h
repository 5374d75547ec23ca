#pragma once

// The packing window: copies the header of a packed module, lets the user
// pick the module key, packs the module behind that header and puts the
// result in place; no way out but its OK button once the work has ended.

#include "progresswindow.h"

class QComboBox;

namespace qm::ui {

class frmComp final : public ProgressWindow {
    Q_OBJECT
public:
    explicit frmComp(QWidget* parent = nullptr);

    // Inputs, set by the caller before showing the window.
    QString strCompFile;       // the plain module to pack
    QString strCompHeadFile;   // the packed module whose header is reused
    QString strCompOutPutFile; // where the result goes when intSaveComp is 1
    int intFormLoadComp = 0;   // 0 until the run has been made; 0 again after OK
    int intSaveComp = 0;       // 1: result to strCompOutPutFile; otherwise it replaces strCompFile

private:
    // The steps the window shows while it works.
    enum Step { Extract, Choose, Compress, Repack };

    int& formLoad() override { return intFormLoadComp; }
    void startRun() override;
    void showStep(int step) override;
    void hideExtraControls() override;

    void cmdCompress_Click();
    void headerRead(bool ok, int key, const QString& detail);

    QComboBox* cboKey = nullptr;
    QPushButton* cmdCompress = nullptr;
    bool blnGoCompress = false;
};

} // namespace qm::ui
