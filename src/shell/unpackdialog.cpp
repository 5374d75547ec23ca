#include "unpackdialog.h"

#include "compression/unpack.h"
#include "prx/workfolder.h"
#include "text/errortext.h"
#include "widgets/windowhelpers.h"

#include <QLabel>
#include <QProgressBar>
#include <QtConcurrent/QtConcurrentRun>

#include <array>

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
    // The stages in the order of compression::UnpackStage; each step the window shows fills the bar once.
    static constexpr std::array<BarSpan, 3> kSpans{
        {{Unpack, 0, kBarMax}, {Decompress, 0, 95}, {Decompress, 95, kBarMax}}};
    m_job = QtConcurrent::run([report = Report(this, Unpack), packed, out, folder]() mutable {
        const auto progress = [&report](const compression::UnpackProgress& p) {
            report.progress(kSpans[static_cast<std::size_t>(p.stage)], p.fraction);
        };
        const auto result = compression::unpackModule(packed, out, folder, progress);
        report.finish(result.ok(), result.ok() ? QString() : text::fullText(result.error()));
    });
}

} // namespace qm::ui
