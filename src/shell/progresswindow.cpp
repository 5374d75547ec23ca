#include "progresswindow.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

#include <algorithm>

namespace qm::ui {
namespace {

const QString kSuccessText = QStringLiteral("Success...");

// A final text that needs more lines than the label has (a long reason)
// makes the window taller, by no more than half the screen, and keeps it
// centred where it was.
void fitStatus(QWidget* window, QLabel* label) {
    window->layout()->activate();
    const int missing = label->heightForWidth(label->width()) - label->height();
    if (missing <= 0)
        return;
    int height = window->height() + missing;
    if (const QScreen* screen = window->screen())
        height = std::min(height, std::max(window->height(), screen->availableGeometry().height() / 2));
    const int grown = height - window->height();
    window->setFixedHeight(height);
    window->move(window->x(), window->y() - grown / 2);
}

// Keeps the widget's place in the layout while it is hidden, so nothing
// moves when it appears.
void keepPlaceWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

} // namespace

ProgressWindow::ProgressWindow(QSize designSize, const QString& errorText, std::vector<StepText> steps,
                               QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_designSize(designSize), m_errorText(errorText), m_steps(std::move(steps)) {
    setModal(true);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setAccessibleName(QStringLiteral("Status"));
    m_status->setWordWrap(true);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_status->setTextFormat(Qt::PlainText);

    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_bar->setAccessibleName(QStringLiteral("Progress"));
    m_bar->setRange(0, kBarMax);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);

    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setAutoDefault(false);
    keepPlaceWhenHidden(m_okButton);
    m_okButton->hide();
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_bar, 1);
    bottom->addWidget(m_okButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status, 1);
    layout->addLayout(bottom);

    setFixedSize(m_designSize);

    m_startTimer = new QTimer(this);
    m_startTimer->setObjectName(QStringLiteral("startTimer"));
    m_startTimer->setInterval(100);
    connect(m_startTimer, &QTimer::timeout, this, &ProgressWindow::beginRun);
}

ProgressWindow::~ProgressWindow() {
    // The run can't be left behind: it reports to this window and writes
    // the output file. It holds copies of its inputs, so the window's own
    // members being gone by now does not matter to it.
    m_job.waitForFinished();
}

void ProgressWindow::insertRowAboveBar(QLayout* row) {
    auto* rows = static_cast<QBoxLayout*>(layout());
    rows->insertLayout(rows->count() - 1, row);
}

void ProgressWindow::showStep(int step) {
    m_step = step;
    const StepText& shown = m_steps.at(static_cast<std::size_t>(step));
    setWindowTitle(shown.title);
    m_status->setText(shown.text);
    m_bar->setValue(0);
    stepShown(step);
}

int ProgressWindow::barValue(double fraction, int from, int to) {
    return from + static_cast<int>(std::clamp(fraction, 0.0, 1.0) * (to - from));
}

void ProgressWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous() || m_running || m_awaitingOk)
        return;
    // A new showing: the window starts empty and runs once more.
    m_ended = false;
    m_succeeded = false;
    setWindowTitle(QString());
    m_status->clear();
    m_status->setToolTip(QString());
    m_bar->setRange(0, kBarMax);
    m_bar->setValue(0);
    hideExtraControls();
    m_okButton->hide();
    m_startTimer->start();
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
    if (!m_ended) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void ProgressWindow::keyPressEvent(QKeyEvent* event) {
    if (!m_ended && event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ProgressWindow::done(int result) {
    if (!m_ended)
        return;
    m_awaitingOk = false;
    QDialog::done(result);
    // A long reason may have made the window taller; the next showing
    // starts at the usual size.
    setFixedSize(m_designSize);
}

void ProgressWindow::beginRun() {
    m_startTimer->stop();
    if (m_awaitingOk || m_running)
        return;
    m_running = true;
    startRun();
}

void ProgressWindow::showProgress(int step, int value) {
    if (!m_running)
        return;
    if (step != m_step)
        showStep(step);
    m_bar->setValue(value);
}

void ProgressWindow::finish(bool ok, const QString& detail) {
    m_running = false;
    m_ended = true;
    m_succeeded = ok;
    m_awaitingOk = true;
    hideExtraControls();
    // The caption keeps the last step's text.
    if (ok) {
        m_bar->setValue(kBarMax);
        m_status->setText(kSuccessText);
    } else {
        m_status->setText(detail.isEmpty() ? m_errorText : m_errorText + QStringLiteral("\r\n") + detail);
    }
    m_status->setToolTip(ok ? QString() : detail);
    fitStatus(this, m_status);
    m_okButton->show();
    m_okButton->setDefault(true);
    m_okButton->setFocus();
}

void ProgressWindow::Report::progress(int step, int value) {
    if (step == m_step && value == m_value)
        return;
    m_step = step;
    m_value = value;
    post(m_window, [step, value](ProgressWindow& window) { window.showProgress(step, value); });
}

void ProgressWindow::Report::finish(bool ok, const QString& detail) const {
    post(m_window, [ok, detail](ProgressWindow& window) { window.finish(ok, detail); });
}

} // namespace qm::ui
