// The open and save flows of the main window: identifying a file and
// opening its editor or offering to unpack it, and saving the active editor
// with or without packing.

#include "mainwindow.h"
#include "packdialog.h"
#include "unpackdialog.h"

#include "configstore.h"
#include "document/editingdocument.h"
#include "prx/header.h"
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
            EditorForm* editor = newEditor(kind);
            showError(editor, *opened->loadError, path);
            if (auto* sub = qobject_cast<QMdiSubWindow*>(editor->parentWidget()))
                sub->close();
        } else {
            newEditor(kind, document.release());
            noteRecentFile(path);
        }
        scheduleStatus();
        return;
    }
    if (id.kind == prx::FileKind::Invalid) {
        if (describeTheme(path))
            return;
        dialogs().showMessage(this, kAppTitle, QStringLiteral("Invalid file!"), MsgIcon::Critical,
                              MsgButtons::Ok,
                              QStringLiteral("%1: %2 bytes, no module of a known release")
                                  .arg(QFileInfo(path).fileName())
                                  .arg(id.size));
        return;
    }
    unpackOffer(path, id.packed);
}

void MainWindow::unpackOffer(const QString& path, const prx::PackedInfo& info) {
    const QString text = QStringLiteral("PRX Name : ") + info.name + QStringLiteral("\r\n") +
                         QStringLiteral("File Version : ") + info.label + QStringLiteral("\r\n") +
                         QStringLiteral("Uncompressed Size : %1 bytes\r\n").arg(info.plainSize) +
                         QStringLiteral("Compressed/File Size : %1 bytes\r\n").arg(info.packedSize) +
                         QStringLiteral("\r\n");
    // The firmware's own encrypted modules hold no gzip stream: there is nothing to offer.
    if (info.packing == prx::Packing::Encrypted) {
        dialogs().showMessage(this, QStringLiteral("PRX Information"),
                              text + QStringLiteral("This PRX is encrypted and can't be decompressed here."),
                              MsgIcon::Information, MsgButtons::Ok);
        return;
    }
    if (dialogs().showMessage(this, QStringLiteral("PRX Information"),
                              text + QStringLiteral("Try to decompress this PRX ?"), MsgIcon::Question,
                              MsgButtons::YesNo) != MsgAnswer::Yes)
        return;

    const QString target = withFilterSuffix(
        dialogs().chooseFile(this, QString(), kPrxFilterName, kPrxFilterPattern,
                             QStringLiteral("Enter name of decompress *.prx file to save"), FileMode::Save),
        kPrxFilterPattern);
    if (target.isEmpty())
        return;
    UnpackDialog decomp(path, target, this);
    decomp.exec();
    // Only a module that was really unpacked is offered for opening.
    if (decomp.awaitingOk() || !decomp.succeeded() || !QFileInfo::exists(target))
        return;
    if (dialogs().showMessage(this, QStringLiteral("Open PRX ?"),
                              QStringLiteral("Yes -> Open the decompress PRX\r\nNo -> Open another PRX"),
                              MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes)
        openFile(target);
}

void MainWindow::openWithDialog() {
    const QString path = dialogs().chooseFile(this, QString(), kPrxFilterName, kPrxFilterPattern,
                                              QStringLiteral("Select *.prx file to open"), FileMode::Open);
    if (!path.isEmpty())
        openFile(path);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasUrls())
        return;
    event->acceptProposedAction();
    openDropped(event->mimeData());
}

void MainWindow::openDropped(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return;
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

void MainWindow::saveActive() {
    if (EditorForm* e = activeEditor())
        saveEditor(e, SaveMode::InPlace);
}

void MainWindow::saveActiveAs() {
    if (EditorForm* e = activeEditor())
        saveEditor(e, SaveMode::AsNewFile);
}

bool MainWindow::runPacking(const QString& module, const QString& header, const QString& output) {
    PackDialog comp(module, header, output, this);
    comp.exec();
    return comp.succeeded();
}

bool MainWindow::saveEditor(EditorForm* form, SaveMode mode) {
    QPointer<EditorForm> editor = form;
    if (!editor || editor->filePath().isEmpty())
        return false;
    const QString openPath = editor->filePath();
    // The watch must not take files replaced here for vanished ones.
    m_statusPaused = true;
    m_statusTimer->stop();
    const prx::ReleaseId release = editor->release();
    bool written = false;

    const auto askFile = [this](const QString& title, FileMode fileMode) {
        return dialogs().chooseFile(this, QString(), kPrxFilterName, kPrxFilterPattern, title, fileMode);
    };
    // Where the edits go: the dialog starts in the open file's folder with its name.
    const auto askOutput = [this, openPath] {
        const QFileInfo open(openPath);
        return withFilterSuffix(dialogs().chooseFile(this, open.absolutePath(), kPrxFilterName,
                                                     kPrxFilterPattern,
                                                     QStringLiteral("Enter name of *.prx file to save"),
                                                     FileMode::Save, open.fileName()),
                                kPrxFilterPattern);
    };
    // The status bar names the file written before "Done." says so.
    const auto resumeStatus = [this] {
        m_statusPaused = false;
        syncFileWatch();
        refreshStatus();
    };
    const auto done = [this, &resumeStatus] {
        resumeStatus();
        dialogs().showMessage(this, kAppTitle, QStringLiteral("Done."), MsgIcon::Information, MsgButtons::Ok);
    };
    // The editor's save, reported here when it fails. Writing over the open
    // file when another program changed it since asks first.
    const auto save = [this, &editor, &written, release, openPath](const QString& path) {
        if (path == openPath && editor->changedOnDisk() && QFileInfo::exists(path) &&
            dialogs().showMessage(this, kAppTitle,
                                  QStringLiteral("%1 was changed on disk since it was opened. Overwrite it?")
                                      .arg(QFileInfo(path).fileName()),
                                  MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
            return false;
        const Status saved = editor->save(path, release, m_config->keepOriginalNow());
        if (!saved) {
            showError(editor, saved.error(), openPath);
            if (saved.error().kind == ErrorKind::Check)
                editor->focusRefusedBox();
        }
        written = written || saved.ok();
        return saved.ok();
    };

    bool pack = false;
    if (m_config->compPrxNow())
        pack = dialogs().showMessage(this, QStringLiteral("Save PRX"),
                                     QStringLiteral("Do you want compress PRX ?"), MsgIcon::Question,
                                     MsgButtons::YesNo) == MsgAnswer::Yes;

    if (pack) {
        const QString header = askFile(QStringLiteral("Choose the *.prx file to header"), FileMode::Open);
        if (!header.isEmpty()) {
            auto isHeader = prx::isPspHeaderFile(header);
            if (!isHeader || !*isHeader) {
                dialogs().showMessage(this, QStringLiteral("Error File"),
                                      QStringLiteral("The header file it isn't a PRX File"),
                                      MsgIcon::Exclamation, MsgButtons::Ok);
            } else if (mode == SaveMode::InPlace) {
                // The values go into the plain module, which the packed one then replaces.
                if (save(openPath) && runPacking(openPath, header, QString()) && editor)
                    if (auto* sub = qobject_cast<QMdiSubWindow*>(editor->parentWidget())) {
                        const bool asked = m_closingAsked;
                        m_closingAsked = true;
                        sub->close();
                        m_closingAsked = asked;
                    }
            } else {
                const QString output = askOutput();
                if (!output.isEmpty() && save(openPath))
                    runPacking(openPath, header, output);
            }
        }
    } else if (mode == SaveMode::InPlace) {
        if (save(openPath))
            done();
    } else {
        const QString output = askOutput();
        if (!output.isEmpty() && save(output)) {
            noteRecentFile(output);
            done();
        }
    }

    resumeStatus();
    return written;
}

} // namespace qm::ui
