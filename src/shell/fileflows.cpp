// The open and save flows of the main window: identifying a file and
// opening its editor or offering to unpack it, and saving the active editor
// with or without packing.

#include "frmcomp.h"
#include "frmdecomp.h"
#include "frmmain.h"

#include "configstore.h"
#include "paf/frmpaf.h"
#include "prx/header.h"
#include "vsh/frmvshmain.h"
#include "widgets/dialogs.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPointer>
#include <QTimer>

namespace qm::ui {

// ---- open --------------------------------------------------------------------

void frmMain::OpenPRX(const QString& strPath) {
    intPRXType = -1;
    auto id = prx::identifyFile(strPath);
    if (!id) {
        dialogs().showMessage(this, kAppTitle,
                              id.error().userText() + QStringLiteral("\r\n") +
                                  QDir::toNativeSeparators(strPath),
                              MsgIcon::Critical, MsgButtons::Ok);
        return;
    }
    if (id->kind == prx::FileKind::Vsh || id->kind == prx::FileKind::Paf) {
        intPRXType = static_cast<int>(id->version);
        EditorForm* editor = id->kind == prx::FileKind::Vsh ? static_cast<EditorForm*>(NewVSHEditor())
                                                            : static_cast<EditorForm*>(NewPAFEditor());
        // A module that can't be read leaves no empty editor behind.
        if (const Status loaded = editor->load(strPath, intPRXType); !loaded) {
            showError(editor, loaded.error(), strPath);
            if (auto* sub = qobject_cast<QMdiSubWindow*>(editor->parentWidget()))
                sub->close();
        }
        scheduleStatus();
        return;
    }
    if (id->kind == prx::FileKind::Invalid) {
        dialogs().showMessage(this, kAppTitle, QStringLiteral("Invalid file!"), MsgIcon::Critical,
                              MsgButtons::Ok);
        return;
    }
    unpackOffer(strPath);
}

void frmMain::unpackOffer(const QString& strPath) {
    auto id = prx::identifyFile(strPath);
    if (!id)
        return;
    const prx::PackedInfo& info = id->packed;
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

    const QString target = dialogs().ShowFileDialog(
        this, QString(), kPrxFilterName, kPrxFilterPattern,
        QStringLiteral("Enter name of decompress *.prx file to save"), FileMode::Save);
    if (target.isEmpty())
        return;
    frmDecomp decomp(this);
    decomp.strDecompFile = strPath;
    decomp.strDecompOutPutFile = target;
    decomp.exec();
    // Only a module that was really unpacked is offered for opening.
    if (decomp.intFormLoadDecomp != 0 || !decomp.succeeded() || !QFileInfo::exists(target))
        return;
    if (dialogs().showMessage(this, QStringLiteral("Open PRX ?"),
                              QStringLiteral("Yes -> Open the decompress PRX\r\nNo -> Open another PRX"),
                              MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes)
        OpenPRX(target);
}

void frmMain::mnuFileOpen_Click() {
    const QString path =
        dialogs().ShowFileDialog(this, QString(), kPrxFilterName, kPrxFilterPattern,
                                 QStringLiteral("Select *.prx file to open"), FileMode::Open);
    if (!path.isEmpty())
        OpenPRX(path);
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasUrls())
        return;
    event->acceptProposedAction();
    MDIForm_OLEDragDrop(event->mimeData());
}

void frmMain::MDIForm_OLEDragDrop(const QMimeData* data) {
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
                OpenPRX(p);
    });
}

// ---- save ----------------------------------------------------------------------

void frmMain::mnuFileSave_Click() {
    if (EditorForm* e = activeEditor())
        SavePRX(e->filePath(), 1);
}

void frmMain::mnuFileSaveAs_Click() {
    if (EditorForm* e = activeEditor())
        SavePRX(e->filePath(), 2);
}

bool frmMain::runPacking(const QString& module, const QString& header, const QString& output, int saveComp) {
    frmComp comp(this);
    comp.strCompFile = module;
    comp.strCompHeadFile = header;
    comp.strCompOutPutFile = output;
    comp.intSaveComp = saveComp;
    comp.exec();
    return comp.succeeded();
}

void frmMain::SavePRX(const QString& strPath, int mode) {
    EditorForm* editor = activeEditor();
    if (editor && strPath == editor->filePath())
        saveEditor(editor, mode);
}

bool frmMain::saveEditor(EditorForm* form, int mode) {
    QPointer<EditorForm> editor = form;
    if (!editor || editor->filePath().isEmpty())
        return false;
    const QString strPath = editor->filePath();
    // The watch must not take files replaced here for vanished ones.
    m_statusPaused = true;
    timSBar->stop();
    const int version = editor->versionIndex();
    bool written = false;

    const auto askFile = [this](const QString& title, FileMode fileMode) {
        return dialogs().ShowFileDialog(this, QString(), kPrxFilterName, kPrxFilterPattern, title, fileMode);
    };
    const auto done = [this] {
        dialogs().showMessage(this, kAppTitle, QStringLiteral("Done."), MsgIcon::Information, MsgButtons::Ok);
    };
    // The editor's save, reported here when it fails. Writing over the open
    // file when another program changed it since asks first.
    const auto save = [this, &editor, &written, version, strPath](const QString& path) {
        if (path == strPath && editor->changedOnDisk() && QFileInfo::exists(path) &&
            dialogs().showMessage(this, kAppTitle,
                                  QStringLiteral("%1 was changed on disk since it was opened. Overwrite it?")
                                      .arg(QFileInfo(path).fileName()),
                                  MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
            return false;
        const Status saved = editor->save(path, version, m_config->keepOriginalNow());
        if (!saved) {
            showError(editor, saved.error(), strPath);
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
            } else if (mode == 1) {
                // The values go into the plain module, which the packed one then replaces.
                if (save(strPath) && runPacking(strPath, header, QString(), 0) && editor)
                    if (auto* sub = qobject_cast<QMdiSubWindow*>(editor->parentWidget())) {
                        const bool asked = m_closingAsked;
                        m_closingAsked = true;
                        sub->close();
                        m_closingAsked = asked;
                    }
            } else {
                const QString output =
                    askFile(QStringLiteral("Enter name of *.prx file to save"), FileMode::Save);
                if (!output.isEmpty() && save(strPath))
                    runPacking(strPath, header, output, 1);
            }
        }
    } else if (mode == 1) {
        if (save(strPath))
            done();
    } else {
        const QString output = askFile(QStringLiteral("Enter name of *.prx file to save"), FileMode::Save);
        if (!output.isEmpty() && save(output))
            done();
    }

    m_statusPaused = false;
    syncFileWatch();
    timSBar_Timer();
    return written;
}

} // namespace qm::ui
