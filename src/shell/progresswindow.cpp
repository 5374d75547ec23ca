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

ProgressWindow::ProgressWindow(QSize designSize, const QString& errorText, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_designSize(designSize), m_errorText(errorText) {
    setModal(true);

    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setAccessibleName(QStringLiteral("Status"));
    lblStatus->setWordWrap(true);
    lblStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblStatus->setTextFormat(Qt::PlainText);

    pbStatus = new QProgressBar(this);
    pbStatus->setObjectName(QStringLiteral("pbStatus"));
    pbStatus->setAccessibleName(QStringLiteral("Progress"));
    pbStatus->setRange(0, kBarMax);
    pbStatus->setValue(0);
    pbStatus->setTextVisible(false);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setAutoDefault(false);
    keepPlaceWhenHidden(cmdOK);
    cmdOK->hide();
    connect(cmdOK, &QPushButton::clicked, this, &ProgressWindow::cmdOK_Click);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(pbStatus, 1);
    bottom->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblStatus, 1);
    layout->addLayout(bottom);

    setFixedSize(m_designSize);

    timProgress = new QTimer(this);
    timProgress->setObjectName(QStringLiteral("timProgress"));
    timProgress->setInterval(100);
    connect(timProgress, &QTimer::timeout, this, &ProgressWindow::timProgress_Timer);
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
    lblStatus->clear();
    lblStatus->setToolTip(QString());
    pbStatus->setRange(0, kBarMax);
    pbStatus->setValue(0);
    hideExtraControls();
    cmdOK->hide();
    timProgress->start();
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

void ProgressWindow::cmdOK_Click() {
    accept();
}

void ProgressWindow::timProgress_Timer() {
    timProgress->stop();
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
    pbStatus->setValue(value);
}

void ProgressWindow::finish(bool ok, const QString& detail) {
    m_running = false;
    m_ended = true;
    m_succeeded = ok;
    m_awaitingOk = true;
    hideExtraControls();
    // The caption keeps the last step's text.
    if (ok) {
        pbStatus->setValue(kBarMax);
        lblStatus->setText(kSuccessText);
    } else {
        lblStatus->setText(detail.isEmpty() ? m_errorText : m_errorText + QStringLiteral("\r\n") + detail);
    }
    lblStatus->setToolTip(ok ? QString() : detail);
    fitStatus(this, lblStatus);
    cmdOK->show();
    cmdOK->setDefault(true);
    cmdOK->setFocus();
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
