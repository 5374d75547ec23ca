#pragma once

// The unpacking window: unpacks a packed module to a chosen path, showing
// its steps, with no way out but its OK button once the work has ended.

#include "progresswindow.h"

namespace qm::ui {

class frmDecomp final : public ProgressWindow {
    Q_OBJECT
public:
    explicit frmDecomp(QWidget* parent = nullptr);

    // Inputs, set by the caller before showing the window.
    QString strDecompFile;
    QString strDecompOutPutFile;
    // 0 until the run has been made, 1 after it; 0 again once OK was pressed.
    int intFormLoadDecomp = 0;

private:
    // The steps the window shows while it works.
    enum Step { Unpack, Decompress };

    int& formLoad() override { return intFormLoadDecomp; }
    void startRun() override;
    void showStep(int step) override;
};

} // namespace qm::ui
