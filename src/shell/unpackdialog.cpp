#include "unpackdialog.h"

#include "compression/unpack.h"
#include "prx/workfolder.h"
#include "widgets/windowhelpers.h"

#include <QLabel>
#include <QProgressBar>
#include <QtConcurrent/QtConcurrentRun>

namespace qm::ui {
namespace {

const QString kErrorText = QStringLiteral("Error...\r\nTry PRXDecrypter on this PRX or Check your file!");

const QSize kDesignSize(361, 81);

} // namespace

UnpackDialog::UnpackDialog(const QString& packed, const QString& output, QWidget* parent)
    : ProgressWindow(
          kDesignSize, kErrorText,
          {{QStringLiteral("UnPack PRX..."), QStringLiteral("UnPack PRX...\r\n(Wait a minute please !)")},
           {QStringLiteral("Decompress PRX..."), QStringLiteral("Decompress PRX...")}},
          parent),
      m_packed(packed), m_output(output) {
    setObjectName(QStringLiteral("UnpackDialog"));
}

void UnpackDialog::startRun() {
    showStep(Unpack);

    const QString packed = m_packed;
    const QString out = m_output;
    const QString folder = prx::workFolder();
    m_job = QtConcurrent::run([report = Report(this, Unpack), packed, out, folder]() mutable {
        const auto progress = [&report](const compression::UnpackProgress& p) {
            // Each step the window shows fills the bar once.
            switch (p.stage) {
            case compression::UnpackStage::ReadingPacked:
                report.progress(Unpack, barValue(p.fraction, 0, kBarMax));
                break;
            case compression::UnpackStage::Decompressing:
                report.progress(Decompress, barValue(p.fraction, 0, 95));
                break;
            case compression::UnpackStage::Writing:
                report.progress(Decompress, barValue(p.fraction, 95, kBarMax));
                break;
            }
        };
        const auto result = compression::unpackModule(packed, out, folder, progress);
        report.finish(result.ok(), result.ok() ? QString() : result.error().fullText());
    });
}

} // namespace qm::ui
