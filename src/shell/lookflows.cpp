// Looks in the windows: the active editor's values written as a look file
// (the document `quillmark-cli dump --json` writes), and a look file's
// values put into the active editor's controls as `apply` maps them. An
// import saves nothing: the user sees the values and saves as usual.

#include "editorflows.h"
#include "editorwindow.h"

#include "looks/diff.h"
#include "looks/look.h"
#include "prx/fileio.h"
#include "reviewdialog.h"
#include "text/errortext.h"
#include "widgets/dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QSaveFile>
#include <QStatusBar>

namespace qm::ui {
namespace {

const QString kLookFilterName = QStringLiteral("Look Files (*.json)");
const QString kLookFilterPattern = QStringLiteral("*.json");
const QString kImportTitle = QStringLiteral("Import Look");
const QString kExportTitle = QStringLiteral("Export Look");

void failure(QWidget* owner, const QString& title, const QString& text) {
    dialogs().showMessage(owner, title, text, MsgIcon::Critical, MsgButtons::Ok);
}

QString lines(const QString& heading, const QStringList& items) {
    return heading + QStringLiteral("\r\n") + items.join(QStringLiteral("\r\n"));
}

// A report line that starts with a value's name ("TextColors[0]: ...")
// names it as the windows show it: "January Text (TextColors[0]): ...".
QStringList captioned(prx::ModuleKind kind, QStringList report) {
    for (QString& line : report) {
        const qsizetype colon = line.indexOf(QLatin1String(": "));
        if (colon <= 0 || line.left(colon).contains(u' '))
            continue;
        line = captionedValueName(kind, line.left(colon)) + line.mid(colon);
    }
    return report;
}

} // namespace

void tellValuesTaken(QWidget* owner, qsizetype count, const QString& path) {
    auto* main = qobject_cast<QMainWindow*>(owner->window());
    if (!main)
        return;
    main->statusBar()->showMessage(
        QStringLiteral("%1 %2 came in from %3.")
            .arg(count)
            .arg(count == 1 ? QStringLiteral("value") : QStringLiteral("values"), QFileInfo(path).fileName()),
        8000);
}

void exportLook(QWidget* owner, EditorWindow& child) {
    EditorWindow* editor = &child;
    const auto fail = [owner](const QString& text) { failure(owner, kExportTitle, text); };
    auto values = editor->lookValues();
    if (!values) {
        showError(owner, values.error(), text::errorDetail(values.error()), kExportTitle,
                  QStringLiteral("The look can't be exported: a box holds no number."));
        return;
    }
    QString path = dialogs().chooseFile(owner, QString(), kLookFilterName, kLookFilterPattern,
                                        QStringLiteral("Enter name of look file to save"), FileMode::Save);
    if (path.isEmpty())
        return;
    // A name without an extension gets the look files' own.
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".json");
    QSaveFile file(path);
    const QByteArray bytes = looks::lookFile(*values, editor->currentFile());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        fail(lines(QStringLiteral("The look can't be written:"),
                   {QDir::toNativeSeparators(path), file.errorString()}));
        return;
    }
    dialogs().showMessage(owner, kAppTitle, QStringLiteral("Done."), MsgIcon::Information, MsgButtons::Ok);
}

void importLook(QWidget* owner, EditorWindow& child) {
    EditorWindow* editor = &child;
    const auto fail = [owner](const QString& text) { failure(owner, kImportTitle, text); };
    const QString path = dialogs().chooseFile(
        owner, QString(), kLookFilterName + QStringLiteral(";;CXMB Themes (*.ctf);;All files (*)"),
        kLookFilterPattern, QStringLiteral("Select look file to import"), FileMode::Open);
    if (path.isEmpty() || importThemeLook(owner, child, path))
        return;
    auto bytes = prx::readWholeFile(path, looks::kMaxLookFile);
    if (!bytes) {
        showError(owner, bytes.error(), QDir::toNativeSeparators(path), kImportTitle);
        return;
    }
    const looks::LookValues look = looks::readLook(*bytes, editor->moduleKind());
    if (look.error) {
        fail(looks::lookErrorText(*look.error, QDir::toNativeSeparators(path), editor->moduleKind(),
                                  QDir::toNativeSeparators(editor->currentFile())));
        return;
    }
    auto current = editor->lookValues();
    if (!current) {
        showError(owner, current.error(), text::errorDetail(current.error()), kImportTitle,
                  QStringLiteral("Nothing was imported: a box holds no number."));
        return;
    }
    const looks::LookApplied applied = looks::applyLook(look.values, *current);
    if (!applied.refused.isEmpty()) {
        fail(lines(QStringLiteral("Nothing was imported: these values don't fit."),
                   captioned(editor->moduleKind(), applied.refused)));
        return;
    }
    editor->showLook(applied.values);
    tellValuesTaken(owner, looks::diffLooks(*current, applied.values).differences.size(), path);
    QStringList told = applied.skipped;
    told.append(applied.notes);
    if (!told.isEmpty())
        dialogs().showMessage(
            owner, kImportTitle,
            lines(QStringLiteral("The look is in the editor; save to write it. Not taken or changed:"),
                  captioned(editor->moduleKind(), told)),
            MsgIcon::Information, MsgButtons::Ok);
}

} // namespace qm::ui
