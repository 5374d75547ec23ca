#include "frmdecomp.h"

#include "compression/unpack.h"
#include "prx/workfolder.h"
#include "widgets/windowhelpers.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace qm::ui {
namespace {

const QString kUnpackTitle = QStringLiteral("UnPack PRX...");
const QString kUnpackText = QStringLiteral("UnPack PRX...\r\n(Wait a minute please !)");
const QString kDecompressTitle = QStringLiteral("Decompress PRX...");
const QString kDecompressText = QStringLiteral("Decompress PRX...");
const QString kSuccessText = QStringLiteral("Success...");
const QString kErrorText = QStringLiteral("Error...\r\nTry PRXDecrypter on this PRX or Check your file!");

constexpr int kBarMax = 100;
const QSize kDesignSize(twips(5415), twips(1215));

int barValue(double fraction, int from, int to) {
    return from + static_cast<int>(std::clamp(fraction, 0.0, 1.0) * (to - from));
}

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

} // namespace

frmDecomp::frmDecomp(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("frmDecomp"));
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
    // The button's place is kept while it is hidden, so nothing moves when
    // it appears.
    QSizePolicy okPolicy = cmdOK->sizePolicy();
    okPolicy.setRetainSizeWhenHidden(true);
    cmdOK->setSizePolicy(okPolicy);
    cmdOK->hide();
    connect(cmdOK, &QPushButton::clicked, this, &frmDecomp::cmdOK_Click);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(pbStatus, 1);
    bottom->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblStatus, 1);
    layout->addLayout(bottom);

    setFixedSize(kDesignSize);

    timProgress = new QTimer(this);
    timProgress->setObjectName(QStringLiteral("timProgress"));
    timProgress->setInterval(100);
    connect(timProgress, &QTimer::timeout, this, &frmDecomp::timProgress_Timer);
}

frmDecomp::~frmDecomp() {
    // The run can't be left behind: it reports to this window and writes
    // the output file.
    m_job.waitForFinished();
}

void frmDecomp::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous() || m_running || intFormLoadDecomp == 1)
        return;
    // A new showing: the window starts empty and runs once more.
    m_ended = false;
    m_succeeded = false;
    setWindowTitle(QString());
    lblStatus->clear();
    lblStatus->setToolTip(QString());
    pbStatus->setRange(0, kBarMax);
    pbStatus->setValue(0);
    cmdOK->hide();
    timProgress->start();
}

void frmDecomp::closeEvent(QCloseEvent* event) {
    if (!m_ended) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmDecomp::keyPressEvent(QKeyEvent* event) {
    if (!m_ended && event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmDecomp::done(int result) {
    if (!m_ended)
        return;
    intFormLoadDecomp = 0;
    QDialog::done(result);
    // A long reason may have made the window taller; the next showing
    // starts at the usual size.
    setFixedSize(kDesignSize);
}

void frmDecomp::cmdOK_Click() {
    accept();
}

void frmDecomp::timProgress_Timer() {
    timProgress->stop();
    if (intFormLoadDecomp == 1 || m_running)
        return;
    m_running = true;
    showStep(Step::Unpack);

    const QString packed = strDecompFile;
    const QString out = strDecompOutPutFile;
    const QString folder = prx::workFolder();
    const QPointer<frmDecomp> self(this);
    m_job = QtConcurrent::run([self, packed, out, folder] {
        // Runs on a worker thread; the window hears of it through queued
        // calls only, and only while it still exists.
        Step shownStep = Step::Unpack;
        int shownValue = 0;
        const auto progress = [&](const compression::UnpackProgress& p) {
            Step step = Step::Decompress;
            int value = 0;
            // Each step the window shows fills the bar once.
            switch (p.stage) {
            case compression::UnpackStage::ReadingPacked:
                step = Step::Unpack;
                value = barValue(p.fraction, 0, kBarMax);
                break;
            case compression::UnpackStage::Decompressing:
                value = barValue(p.fraction, 0, 95);
                break;
            case compression::UnpackStage::Writing:
                value = barValue(p.fraction, 95, kBarMax);
                break;
            }
            if (step == shownStep && value == shownValue)
                return;
            shownStep = step;
            shownValue = value;
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [self, step, value] {
                    if (self)
                        self->showProgress(step, value);
                },
                Qt::QueuedConnection);
        };
        const auto result = compression::unpackModule(packed, out, folder, progress);
        const bool ok = result.ok();
        const QString detail = ok ? QString() : result.error().fullText();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, ok, detail] {
                if (self)
                    self->finish(ok, detail);
            },
            Qt::QueuedConnection);
    });
}

void frmDecomp::showStep(Step step) {
    m_step = step;
    if (step == Step::Unpack) {
        setWindowTitle(kUnpackTitle);
        lblStatus->setText(kUnpackText);
    } else {
        setWindowTitle(kDecompressTitle);
        lblStatus->setText(kDecompressText);
    }
    pbStatus->setValue(0);
}

void frmDecomp::showProgress(Step step, int value) {
    if (!m_running)
        return;
    if (step != m_step)
        showStep(step);
    pbStatus->setValue(value);
}

void frmDecomp::finish(bool ok, const QString& detail) {
    m_running = false;
    m_ended = true;
    m_succeeded = ok;
    intFormLoadDecomp = 1;
    // The caption keeps the last step's text.
    if (ok) {
        pbStatus->setValue(kBarMax);
        lblStatus->setText(kSuccessText);
    } else {
        lblStatus->setText(detail.isEmpty() ? kErrorText : kErrorText + QStringLiteral("\r\n") + detail);
    }
    lblStatus->setToolTip(ok ? QString() : detail);
    fitStatus(this, lblStatus);
    cmdOK->show();
    cmdOK->setDefault(true);
    cmdOK->setFocus();
}

} // namespace qm::ui
