#include "packdialog.h"

#include "compression/check.h"

#include "compression/modulekeys.h"
#include "compression/pack.h"
#include "prx/workfolder.h"
#include "text/errortext.h"
#include "widgets/windowhelpers.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtConcurrent/QtConcurrentRun>

#include <array>

namespace qm::ui {
namespace {

const QString kErrorText = QStringLiteral("Error...\r\nYour PRX can't be compressed!");

const QSize kDesignSize(361, 97);

} // namespace

PackDialog::PackDialog(const QString& module, const QString& header, const QString& output, QWidget* parent)
    : ProgressWindow(
          kDesignSize, kErrorText,
          {{QStringLiteral("Extract PRX Header..."),
            QStringLiteral("Extract PRX Header...\r\n(Wait a minute please !)")},
           {QStringLiteral("Choose option..."), QStringLiteral("Choose option and click \"Go Compress!\"")},
           {QStringLiteral("Compress PRX..."), QStringLiteral("Compress PRX...\r\n(Wait a minute please !)")},
           {QStringLiteral("Repack PRX..."), QStringLiteral("Repack PRX...\r\n(Wait a minute please !)")}},
          parent),
      m_module(module), m_header(header), m_output(output) {
    setObjectName(QStringLiteral("PackDialog"));

    m_keyList = new QComboBox(this);
    m_keyList->setObjectName(QStringLiteral("keyList"));
    m_keyList->setAccessibleName(QStringLiteral("Module key"));
    m_keyList->setEditable(false);
    for (const auto& key : compression::kModuleKeys)
        m_keyList->addItem(QString::fromLatin1(key.name));
    m_keyList->hide();

    m_compressButton = new QPushButton(QStringLiteral("Go Compress !"), this);
    m_compressButton->setObjectName(QStringLiteral("compressButton"));
    m_compressButton->setAutoDefault(false);
    m_compressButton->hide();
    connect(m_compressButton, &QPushButton::clicked, this, &PackDialog::compress);

    // The key row takes room only while the status has one line.
    auto* choice = new QHBoxLayout;
    choice->addWidget(m_keyList, 1);
    choice->addWidget(m_compressButton);
    insertRowAboveBar(choice);
}

void PackDialog::hideExtraControls() {
    m_keyList->hide();
    m_compressButton->hide();
    m_compressButton->setDefault(false);
}

void PackDialog::startRun() {
    m_compressStarted = false;
    showStep(Extract);

    const QString header = m_header;
    const QPointer<PackDialog> self(this);
    m_job = QtConcurrent::run([self, header] {
        const auto key = compression::preselectedKeyOfFile(header);
        const bool ok = key.ok();
        const int index = ok ? *key : 0;
        const QString detail = ok ? QString() : text::fullText(key.error());
        post(self, [ok, index, detail](PackDialog& window) { window.headerRead(ok, index, detail); });
    });
}

void PackDialog::headerRead(bool ok, int key, const QString& detail) {
    if (!running())
        return;
    if (!ok) {
        finish(false, detail);
        return;
    }
    m_keyList->setCurrentIndex(key);
    showStep(Choose);
}

void PackDialog::compress() {
    if (!running() || m_step != Choose || m_compressStarted)
        return;
    m_compressStarted = true;
    // The key is the one selected now, whatever was preselected.
    const int key = m_keyList->currentIndex();
    showStep(Compress);

    const QString module = m_module;
    const QString header = m_header;
    const QString out = m_output.isEmpty() ? m_module : m_output;
    const QString folder = prx::workFolder();
    // The stages in the order of compression::PackStage. Each step the window
    // shows fills the bar once: reading and the archiver's run, then checking
    // the stream and writing.
    static constexpr std::array<BarSpan, 4> kSpans{
        {{Compress, 0, 10}, {Compress, 10, kBarMax}, {Repack, 0, 90}, {Repack, 90, kBarMax}}};
    m_job = QtConcurrent::run([report = Report(this, Compress), module, header, key, out, folder]() mutable {
        const auto progress = [&report](const compression::PackProgress& p) {
            report.progress(kSpans[static_cast<std::size_t>(p.stage)], p.fraction);
        };
        // The packed module must pass every check a loader makes before it replaces anything.
        const auto result = compression::packModule(module, header, key, out, folder, progress,
                                                    compression::requirePackedChecks);
        report.finish(result.ok(), result.ok() ? QString() : text::fullText(result.error()));
    });
}

void PackDialog::stepShown(int step) {
    if (step == Choose) {
        m_bar->setValue(kBarMax); // the header has been read
        m_keyList->show();
        m_compressButton->show();
        m_compressButton->setDefault(true);
        m_keyList->setFocus();
    } else if (step == Compress) {
        hideExtraControls();
    }
}

} // namespace qm::ui
