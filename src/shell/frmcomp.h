#pragma once

// The packing window: copies the header of a packed module, lets the user
// pick the module key, packs the module behind that header and puts the
// result in place; no way out but its OK button once the work has ended.

#include <QDialog>
#include <QFuture>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace qm::ui {

class frmComp final : public QDialog {
    Q_OBJECT
public:
    explicit frmComp(QWidget* parent = nullptr);
    ~frmComp() override;

    // Inputs, set by the caller before showing the window.
    QString strCompFile;       // the plain module to pack
    QString strCompHeadFile;   // the packed module whose header is reused
    QString strCompOutPutFile; // where the result goes when intSaveComp is 1
    int intFormLoadComp = 0;   // 0 until the run has been made; 0 again after OK
    int intSaveComp = 0;       // 1: result to strCompOutPutFile; otherwise it replaces strCompFile

    bool succeeded() const { return m_succeeded; }
    bool running() const { return m_running; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The steps the window shows while it works.
    enum class Step { Extract, Choose, Compress, Repack };

    // Every way out (OK, Enter, Escape, a close request) ends here; it is
    // refused until the run has ended.
    void done(int result) override;

    void timProgress_Timer();
    void cmdCompress_Click();
    void cmdOK_Click();
    void headerRead(bool ok, int key, const QString& detail);
    void showStep(Step step);
    void showProgress(Step step, int value);
    void finish(bool ok, const QString& detail);

    QLabel* lblStatus = nullptr;
    QProgressBar* pbStatus = nullptr;
    QComboBox* cboKey = nullptr;
    QPushButton* cmdCompress = nullptr;
    QPushButton* cmdOK = nullptr;
    QTimer* timProgress = nullptr;
    QFuture<void> m_job;
    Step m_step = Step::Extract;
    bool blnGoCompress = false;
    bool m_running = false;
    bool m_ended = false; // the run has ended and OK is the way out
    bool m_succeeded = false;
};

} // namespace qm::ui
