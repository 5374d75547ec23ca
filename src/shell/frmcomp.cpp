#include "frmcomp.h"

#include "compression/modulekeys.h"
#include "compression/pack.h"
#include "prx/workfolder.h"
#include "widgets/windowhelpers.h"

#include <QCloseEvent>
#include <QComboBox>
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

const QString kExtractTitle = QStringLiteral("Extract PRX Header...");
const QString kExtractText = QStringLiteral("Extract PRX Header...\r\n(Wait a minute please !)");
const QString kChooseTitle = QStringLiteral("Choose option...");
const QString kChooseText = QStringLiteral("Choose option and click \"Go Compress!\"");
const QString kCompressTitle = QStringLiteral("Compress PRX...");
const QString kCompressText = QStringLiteral("Compress PRX...\r\n(Wait a minute please !)");
const QString kRepackTitle = QStringLiteral("Repack PRX...");
const QString kRepackText = QStringLiteral("Repack PRX...\r\n(Wait a minute please !)");
const QString kSuccessText = QStringLiteral("Success...");
const QString kErrorText = QStringLiteral("Error...\r\nYour PRX can't be compressed!");

constexpr int kBarMax = 100;
const QSize kDesignSize(twips(5415), twips(1455));

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

// Keeps the widget's place in the layout while it is hidden, so nothing
// moves when it appears.
void keepPlaceWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

} // namespace

frmComp::frmComp(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("frmComp"));
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

    cboKey = new QComboBox(this);
    cboKey->setObjectName(QStringLiteral("cboKey"));
    cboKey->setAccessibleName(QStringLiteral("Module key"));
    cboKey->setEditable(false);
    for (const auto& key : compression::kModuleKeys)
        cboKey->addItem(QString::fromLatin1(key.name));
    cboKey->hide();

    cmdCompress = new QPushButton(QStringLiteral("Go Compress !"), this);
    cmdCompress->setObjectName(QStringLiteral("cmdCompress"));
    cmdCompress->setAutoDefault(false);
    cmdCompress->hide();
    connect(cmdCompress, &QPushButton::clicked, this, &frmComp::cmdCompress_Click);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setAutoDefault(false);
    keepPlaceWhenHidden(cmdOK);
    cmdOK->hide();
    connect(cmdOK, &QPushButton::clicked, this, &frmComp::cmdOK_Click);

    // The key row takes room only while the status has one line.
    auto* choice = new QHBoxLayout;
    choice->addWidget(cboKey, 1);
    choice->addWidget(cmdCompress);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(pbStatus, 1);
    bottom->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblStatus, 1);
    layout->addLayout(choice);
    layout->addLayout(bottom);

    setFixedSize(kDesignSize);

    timProgress = new QTimer(this);
    timProgress->setObjectName(QStringLiteral("timProgress"));
    timProgress->setInterval(100);
    connect(timProgress, &QTimer::timeout, this, &frmComp::timProgress_Timer);
}

frmComp::~frmComp() {
    // The run can't be left behind: it reports to this window and writes
    // the packed file.
    m_job.waitForFinished();
}

void frmComp::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous() || m_running || intFormLoadComp == 1)
        return;
    // A new showing: the window starts empty and runs once more.
    blnGoCompress = false;
    m_ended = false;
    m_succeeded = false;
    setWindowTitle(QString());
    lblStatus->clear();
    lblStatus->setToolTip(QString());
    pbStatus->setRange(0, kBarMax);
    pbStatus->setValue(0);
    cboKey->hide();
    cmdCompress->hide();
    cmdOK->hide();
    timProgress->start();
}

void frmComp::closeEvent(QCloseEvent* event) {
    if (!m_ended) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmComp::keyPressEvent(QKeyEvent* event) {
    if (!m_ended && event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmComp::done(int result) {
    if (!m_ended)
        return;
    intFormLoadComp = 0;
    QDialog::done(result);
    // A long reason may have made the window taller; the next showing
    // starts at the usual size.
    setFixedSize(kDesignSize);
}

void frmComp::cmdOK_Click() {
    accept();
}

void frmComp::timProgress_Timer() {
    timProgress->stop();
    if (intFormLoadComp == 1 || m_running)
        return;
    m_running = true;
    showStep(Step::Extract);

    const QString header = strCompHeadFile;
    const QPointer<frmComp> self(this);
    m_job = QtConcurrent::run([self, header] {
        const auto key = compression::preselectedKeyOfFile(header);
        const bool ok = key.ok();
        const int index = ok ? *key : 0;
        const QString detail = ok ? QString() : key.error().fullText();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, ok, index, detail] {
                if (self)
                    self->headerRead(ok, index, detail);
            },
            Qt::QueuedConnection);
    });
}

void frmComp::headerRead(bool ok, int key, const QString& detail) {
    if (!m_running)
        return;
    if (!ok) {
        finish(false, detail);
        return;
    }
    pbStatus->setValue(kBarMax);
    cboKey->setCurrentIndex(key);
    showStep(Step::Choose);
}

void frmComp::cmdCompress_Click() {
    if (!m_running || m_step != Step::Choose || blnGoCompress)
        return;
    blnGoCompress = true;
    // The key is the one selected now, whatever was preselected.
    const int key = cboKey->currentIndex();
    showStep(Step::Compress);

    const QString module = strCompFile;
    const QString header = strCompHeadFile;
    const QString out = intSaveComp == 1 ? strCompOutPutFile : strCompFile;
    const QString folder = prx::workFolder();
    const QPointer<frmComp> self(this);
    m_job = QtConcurrent::run([self, module, header, key, out, folder] {
        // Runs on a worker thread; the window hears of it through queued
        // calls only, and only while it still exists.
        Step shownStep = Step::Compress;
        int shownValue = 0;
        const auto progress = [&](const compression::PackProgress& p) {
            Step step = Step::Compress;
            int value = 0;
            // Each step the window shows fills the bar once: reading and
            // the archiver's run, then checking the stream and writing.
            switch (p.stage) {
            case compression::PackStage::ReadingHeader:
                value = barValue(p.fraction, 0, 10);
                break;
            case compression::PackStage::Compressing:
                value = barValue(p.fraction, 10, kBarMax);
                break;
            case compression::PackStage::Verifying:
                step = Step::Repack;
                value = barValue(p.fraction, 0, 90);
                break;
            case compression::PackStage::Writing:
                step = Step::Repack;
                value = barValue(p.fraction, 90, kBarMax);
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
        const auto result = compression::packModule(module, header, key, out, folder, progress);
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

void frmComp::showStep(Step step) {
    m_step = step;
    switch (step) {
    case Step::Extract:
        setWindowTitle(kExtractTitle);
        lblStatus->setText(kExtractText);
        pbStatus->setValue(0);
        break;
    case Step::Choose:
        setWindowTitle(kChooseTitle);
        lblStatus->setText(kChooseText);
        cboKey->show();
        cmdCompress->show();
        cmdCompress->setDefault(true);
        cboKey->setFocus();
        break;
    case Step::Compress:
        cboKey->hide();
        cmdCompress->hide();
        cmdCompress->setDefault(false);
        setWindowTitle(kCompressTitle);
        lblStatus->setText(kCompressText);
        pbStatus->setValue(0);
        break;
    case Step::Repack:
        setWindowTitle(kRepackTitle);
        lblStatus->setText(kRepackText);
        pbStatus->setValue(0);
        break;
    }
}

void frmComp::showProgress(Step step, int value) {
    if (!m_running)
        return;
    if (step != m_step)
        showStep(step);
    pbStatus->setValue(value);
}

void frmComp::finish(bool ok, const QString& detail) {
    m_running = false;
    m_ended = true;
    m_succeeded = ok;
    intFormLoadComp = 1;
    cboKey->hide();
    cmdCompress->hide();
    cmdCompress->setDefault(false);
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
