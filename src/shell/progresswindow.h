#pragma once

// What the unpacking and packing windows share: a status text over a
// progress bar and an OK button, a run that starts on the first timer tick
// after the window shows and works on a worker thread, and no way out but
// OK once the run has ended.

#include <QCoreApplication>
#include <QDialog>
#include <QFuture>
#include <QPointer>
#include <QSize>

#include <vector>

class QLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace qm::ui {

class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    ~ProgressWindow() override;

    // Whether the last run did its work.
    bool succeeded() const { return m_succeeded; }
    bool running() const { return m_running; }
    // From the end of a run until OK is pressed; meanwhile a showing starts no run.
    bool awaitingOk() const { return m_awaitingOk; }

protected:
    static constexpr int kBarMax = 100;

    // The caption and status text of one step the window shows while it works.
    struct StepText {
        QString title;
        QString text;
    };

    // designSize is the window's size at every showing; errorText heads the
    // status when the run fails, above the reason; `steps` are the window's
    // steps, by number.
    ProgressWindow(QSize designSize, const QString& errorText, std::vector<StepText> steps, QWidget* parent);

    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

    // Starts the run's work on a worker thread; running() is already true.
    virtual void startRun() = 0;
    // Shows the caption and text of one of the window's steps with an empty
    // bar, and records it in m_step.
    void showStep(int step);
    // What a window does of its own when a step is shown.
    virtual void stepShown(int /*step*/) {}
    // Hides the window's own controls; at a new showing and when the run ends.
    virtual void hideExtraControls() {}

    // Adds a row of the window's own between the status and the bar.
    void insertRowAboveBar(QLayout* row);

    // Where fraction (0 to 1) of the way from `from` to `to` lies on the bar.
    static int barValue(double fraction, int from, int to);
    // Where a stage of the work shows: the window's step, and the part of the bar it fills.
    struct BarSpan {
        int step;
        int from;
        int to;
    };

    void showProgress(int step, int value);
    void finish(bool ok, const QString& detail);

    // Has call(window) run on the window's thread, after what is queued
    // already, and only if the window still exists by then. For the worker
    // thread, which must not touch the window itself.
    template <typename Window, typename Call> static void post(const QPointer<Window>& window, Call call) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [window, call] {
                if (window)
                    call(*window);
            },
            Qt::QueuedConnection);
    }

    // The worker thread's side of a run: it passes the progress and the end
    // on to the window. Made on the window's thread, used on the worker's.
    class Report {
    public:
        Report(ProgressWindow* window, int step) : m_window(window), m_step(step) {}
        // Only a change of step or value is passed on.
        void progress(int step, int value);
        // Fraction (0 to 1) of the way through a stage shown as `span`.
        void progress(const BarSpan& span, double fraction) {
            progress(span.step, barValue(fraction, span.from, span.to));
        }
        void finish(bool ok, const QString& detail) const;

    private:
        QPointer<ProgressWindow> m_window;
        int m_step;
        int m_value = 0;
    };

    QLabel* m_status = nullptr;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_okButton = nullptr;
    QTimer* m_startTimer = nullptr;
    QFuture<void> m_job;
    int m_step = 0;

private:
    // Every way out (OK, Enter, Escape, a close request) ends here; it is
    // refused until the run has ended.
    void done(int result) override;

    // The first timer tick after a showing: the run begins.
    void beginRun();

    const QSize m_designSize;
    const QString m_errorText;
    const std::vector<StepText> m_steps;
    bool m_running = false;
    bool m_ended = false; // the run has ended and OK is the way out
    bool m_succeeded = false;
    bool m_awaitingOk = false;
};

} // namespace qm::ui
