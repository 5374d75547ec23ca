#pragma once

// The unpacking window: unpacks a packed module to a chosen path, showing
// its steps, with no way out but its OK button once the work has ended.

#include "progresswindow.h"

namespace qm::ui {

class UnpackDialog final : public ProgressWindow {
    Q_OBJECT
public:
    // Unpacks the packed module `packed` to `output`.
    UnpackDialog(const QString& packed, const QString& output, QWidget* parent = nullptr);

private:
    // The steps the window shows while it works.
    enum Step { Unpack, Decompress };

    void startRun() override;

    const QString m_packed;
    const QString m_output;
};

} // namespace qm::ui
