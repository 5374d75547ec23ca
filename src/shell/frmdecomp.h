#pragma once

// The unpacking window: unpacks a packed module to a chosen path, showing
// its steps, with no way out but its OK button once the work has ended.

#include <QDialog>
#include <QFuture>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace qm::ui {

class frmDecomp final : public QDialog {
    Q_OBJECT
public:
    explicit frmDecomp(QWidget* parent = nullptr);
    ~frmDecomp() override;

    // Inputs, set by the caller before showing the window.
    QString strDecompFile;
    QString strDecompOutPutFile;
    // 0 until the run has been made, 1 after it; 0 again once OK was pressed.
    int intFormLoadDecomp = 0;

    // Whether the last run wrote the module to the output path.
    bool succeeded() const { return m_succeeded; }
    bool running() const { return m_running; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The steps the window shows while it works.
    enum class Step { Unpack, Decompress };

    // Every way out (OK, Enter, Escape, a close request) ends here; it is
    // refused until the run has ended.
    void done(int result) override;

    void timProgress_Timer();
    void cmdOK_Click();
    void showStep(Step step);
    void showProgress(Step step, int value);
    void finish(bool ok, const QString& detail);

    QLabel* lblStatus = nullptr;
    QProgressBar* pbStatus = nullptr;
    QPushButton* cmdOK = nullptr;
    QTimer* timProgress = nullptr;
    QFuture<void> m_job;
    Step m_step = Step::Unpack;
    bool m_running = false;
    bool m_ended = false; // the run has ended and OK is the way out
    bool m_succeeded = false;
};

} // namespace qm::ui
