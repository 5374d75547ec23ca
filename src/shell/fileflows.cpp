// The open and save flows of the main window: identifying a file and
// opening its editor or offering to unpack it, and saving the active editor
// with or without packing after it.

#include "mainwindow.h"

#include "configstore.h"
#include "document/editingdocument.h"
#include "editorflows.h"
#include "editorwindow.h"
#include "packingstep.h"
#include "prx/header.h"
#include "recentfiles.h"
#include "statuswatch.h"
#include "unpackdialog.h"
#include "widgets/dialogs.h"
#include "widgets/editorform.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPointer>
#include <QTimer>

#include <memory>

namespace qm::ui {
namespace {

// The offer for the packed module at `path`, described by `info`: the
// unpacked module's path when the user wants it opened, empty otherwise.
QString unpackOffer(QWidget* owner, const QString& path, const prx::PackedInfo& info) {
    const QString text = QStringLiteral("PRX Name : ") + info.name + QStringLiteral("\r\n") +
                         QStringLiteral("File Version : ") + info.label + QStringLiteral("\r\n") +
                         QStringLiteral("Uncompressed Size : %1 bytes\r\n").arg(info.plainSize) +
                         QStringLiteral("Compressed/File Size : %1 bytes\r\n").arg(info.packedSize) +
                         QStringLiteral("\r\n");
    // The firmware's own encrypted modules hold no gzip stream: there is nothing to offer.
    if (info.packing == prx::Packing::Encrypted) {
        dialogs().showMessage(owner, QStringLiteral("PRX Information"),
                              text + QStringLiteral("This PRX is encrypted and can't be decompressed here."),
                              MsgIcon::Information, MsgButtons::Ok);
        return {};
    }
    if (dialogs().showMessage(owner, QStringLiteral("PRX Information"),
                              text + QStringLiteral("Try to decompress this PRX ?"), MsgIcon::Question,
                              MsgButtons::YesNo) != MsgAnswer::Yes)
        return {};
    const QString target = withFilterSuffix(
        dialogs().chooseFile(owner, QString(), kPrxFilterName, kPrxFilterPattern,
                             QStringLiteral("Enter name of decompress *.prx file to save"), FileMode::Save),
        kPrxFilterPattern);
    if (target.isEmpty())
        return {};
    UnpackDialog decomp(path, target, owner);
    decomp.exec();
    // Only a module that was really unpacked is offered for opening.
    if (decomp.awaitingOk() || !decomp.succeeded() || !QFileInfo::exists(target))
        return {};
    if (dialogs().showMessage(owner, QStringLiteral("Open PRX ?"),
                              QStringLiteral("Yes -> Open the decompress PRX\r\nNo -> Open another PRX"),
                              MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
        return {};
    return target;
}

} // namespace

// ---- open --------------------------------------------------------------------

void MainWindow::openFile(const QString& given) {
    // The editor, the status bar and the recent files know the file by its absolute path.
    const QString path = given.isEmpty() ? given : QFileInfo(given).absoluteFilePath();
    // The file is read once: what it is comes from the bytes the editor's document then holds.
    auto document = std::make_unique<doc::EditingDocument>();
    auto opened = document->open(path);
    if (!opened) {
        showError(this, opened.error(), QDir::toNativeSeparators(path), kAppTitle);
        return;
    }
    const prx::Identification& id = opened->id;
    if (id.kind == prx::FileKind::Vsh || id.kind == prx::FileKind::Paf) {
        const auto kind = id.kind == prx::FileKind::Vsh ? prx::ModuleKind::Vsh : prx::ModuleKind::Paf;
        // A module that can't be read leaves no empty editor behind.
        if (opened->loadError) {
            EditorWindow* child = addEditor(kind);
            showError(child->editor(), *opened->loadError, path);
            child->close();
        } else {
            addEditor(kind, document.release());
            m_recent->note(path);
        }
        return;
    }
    if (id.kind == prx::FileKind::Invalid) {
        if (describeTheme(this, path))
            return;
        dialogs().showMessage(this, kAppTitle, QStringLiteral("Invalid file!"), MsgIcon::Critical,
                              MsgButtons::Ok,
                              QStringLiteral("%1: %2 bytes, no module of a known release")
                                  .arg(QFileInfo(path).fileName())
                                  .arg(id.size));
        return;
    }
    if (const QString unpacked = unpackOffer(this, path, id.packed); !unpacked.isEmpty())
        openFile(unpacked);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    if (!data->hasUrls())
        return;
    event->acceptProposedAction();
    QStringList paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    // Open after the drop has finished, so the source isn't kept waiting by our questions.
    QTimer::singleShot(0, this, [this, paths] {
        for (const QString& p : paths)
            if (QFileInfo::exists(p))
                openFile(p);
    });
}

// ---- save ----------------------------------------------------------------------

namespace {

// The status bar rests while a save replaces files, and names the file written before "Done." says so.
class PausedStatus {
public:
    explicit PausedStatus(StatusWatch& status) : m_status(status) { m_status.pause(); }
    ~PausedStatus() { m_status.resume(); }
    PausedStatus(const PausedStatus&) = delete;
    PausedStatus& operator=(const PausedStatus&) = delete;

    void done(QWidget* owner) {
        m_status.resume();
        dialogs().showMessage(owner, kAppTitle, QStringLiteral("Done."), MsgIcon::Information,
                              MsgButtons::Ok);
    }

private:
    StatusWatch& m_status;
};

} // namespace

namespace {

// A save of `found` with its file: the status bar rests and the packing
// questions come first; `save` runs unless they stopped the save.
template <typename Save>
void saveWithPacking(QWidget* owner, EditorWindow* found, StatusWatch& status, const ConfigStore& config,
                     Save save) {
    QPointer<EditorWindow> child = found;
    if (!child || child->currentFile().isEmpty())
        return;
    PausedStatus paused(status);
    PackingStep packing(owner, config);
    if (packing.ask())
        save(child, packing, paused);
}

} // namespace

void MainWindow::saveActive() {
    saveWithPacking(this, activeChild(), *m_status, *m_config,
                    [this](QPointer<EditorWindow>& child, const PackingStep& packing, PausedStatus& paused) {
                        if (!packing.wanted()) {
                            if (child->save())
                                paused.done(this);
                            return;
                        }
                        // The values go into the plain module, which the packed one then
                        // replaces: its editor closes, the file is no longer one it can edit.
                        if (child->save() && packing.run(child->currentFile()) && child)
                            child->closeWithoutAsking();
                    });
}

void MainWindow::saveActiveAs() {
    saveWithPacking(this, activeChild(), *m_status, *m_config,
                    [this](QPointer<EditorWindow>& child, const PackingStep& packing, PausedStatus& paused) {
                        if (!packing.wanted()) {
                            if (child->saveAs()) {
                                m_recent->note(child->currentFile());
                                paused.done(this);
                            }
                            return;
                        }
                        // The edits go into the open plain module, the packed one to the file named.
                        const QString output = child->askSaveAsName();
                        if (!output.isEmpty() && child->save())
                            packing.run(child->currentFile(), output);
                    });
}

} // namespace qm::ui
