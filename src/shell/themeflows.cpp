// Themes in the windows: File > Export Theme... makes a CXMB theme from the
// active editor's current values (unsaved edits included, nothing saved),
// and a theme opened or dropped is described rather than refused.

#include "editorflows.h"
#include "editorwindow.h"
#include "themedialog.h"

#include "looks/diff.h"

#include "document/editingdocument.h"
#include "prx/fileio.h"
#include "prx/module.h"
#include "prx/valueio.h"
#include "text/errortext.h"
#include "theme/make.h"
#include "theme/onmodule.h"
#include "theme/read.h"
#include "widgets/dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace qm::ui {
namespace {

const QString kThemeTitle = QStringLiteral("Export Theme");

QString lines(const QString& heading, const QStringList& items) {
    return heading + QStringLiteral("\r\n") + items.join(QStringLiteral("\r\n"));
}

std::optional<QString> firmwareOf(const EditorWindow* editor) {
    return theme::firmwareOfRelease(editor->document().release());
}

theme::Slot slotOf(const EditorWindow* editor) {
    return editor->moduleKind() == prx::ModuleKind::Vsh ? theme::Slot::Vsh : theme::Slot::Paf;
}

// The editor's module as its current values make it, and the stock module.
Result<theme::ModulePair> modulePair(const EditorWindow* editor, const QString& stockPath) {
    const prx::ModuleValues& loaded = editor->document().loadedValues();
    auto image = prx::readModule(editor->currentFile(), loaded.release());
    if (!image)
        return image.error();
    auto edited = prx::applyValues(std::move(*image), loaded, editor->document().values());
    if (!edited)
        return edited.error();
    auto stock = prx::readWholeFile(stockPath);
    if (!stock)
        return Error::check(QStringLiteral("The stock module can't be read; choose another."),
                            QDir::toNativeSeparators(stockPath) + QStringLiteral(": ") +
                                text::fullText(stock.error()));
    return theme::ModulePair{slotOf(editor), *stock, edited->bytes(), QDir::toNativeSeparators(stockPath),
                             QDir::toNativeSeparators(editor->currentFile())};
}

// `target` with the values of `from` that `spans` name: a colour record or
// menu row on its own, any other value whole.
void takeSpans(prx::ModuleValues& target, const prx::ModuleValues& from,
               const QList<theme::ValueSpan>& spans) {
    for (const theme::ValueSpan& span : spans) {
        prx::Value value = target.value(span.member);
        const prx::Value& taken = from.value(span.member);
        if (auto* colours = std::get_if<prx::ColourBlock>(&value); colours && span.element >= 0)
            (*colours)[span.element] = std::get<prx::ColourBlock>(taken).at(span.element);
        else if (auto* rows = std::get_if<prx::MenuEntries>(&value); rows && span.element >= 0)
            (*rows)[span.element] = std::get<prx::MenuEntries>(taken).at(span.element);
        else
            value = taken;
        target.setValue(span.member, std::move(value));
    }
}

} // namespace

bool canExportTheme(const EditorWindow* editor) {
    return editor && firmwareOf(editor).has_value();
}

namespace {

// The theme the dialog describes, written; false (and said why) when it can't be.
bool writeTheme(QWidget* owner, const EditorWindow* editor, const EditorWindow* other,
                const ThemeDialog& dialog) {
    const auto fail = [owner](const QString& text, const QString& detail) {
        dialogs().showMessage(owner, kThemeTitle, text, MsgIcon::Critical, MsgButtons::Ok, detail);
        return false;
    };
    theme::ThemeRequest request;
    auto ptf = prx::readWholeFile(dialog.ptfPath());
    if (!ptf)
        return fail(QStringLiteral("The PTF base can't be read."), text::fullText(ptf.error()));
    request.ptf = *ptf;
    request.firmware = dialog.firmware();
    QList<std::pair<const EditorWindow*, QString>> sources{{editor, dialog.stockPath()}};
    if (other && dialog.includeOther())
        sources.append({other, prx::originalPath(other->currentFile())});
    for (const auto& [source, stockPath] : sources) {
        auto pair = modulePair(source, stockPath);
        if (!pair)
            return fail(QStringLiteral("Nothing was written: %1 can't go into the theme.")
                            .arg(QFileInfo(source->currentFile()).fileName()),
                        text::fullText(pair.error()));
        // The other editor's module goes in only when it holds a change of its own.
        if (source == editor || pair->stock != pair->edited)
            request.modules.append(*pair);
    }
    auto made = theme::makeTheme(request);
    if (!made)
        return fail(QStringLiteral("Nothing was written: the theme can't be made."),
                    text::fullText(made.error()));
    if (const Status written = prx::writeFileAtomically(dialog.outputPath(), made->bytes); !written)
        return fail(QStringLiteral("The theme can't be written."), text::fullText(written.error()));
    qsizetype values = 0;
    for (const theme::ModuleSummary& m : made->modules)
        values += m.values.size();
    dialogs().showMessage(owner, kThemeTitle,
                          QStringLiteral("The theme for firmware %1 is written:\r\n%2\r\n%3 %4 changed.")
                              .arg(made->firmware, QDir::toNativeSeparators(dialog.outputPath()))
                              .arg(values)
                              .arg(values == 1 ? QStringLiteral("value") : QStringLiteral("values")),
                          MsgIcon::Information, MsgButtons::Ok);
    return true;
}

// What the dialog held at the last export of each module, by its file, for this run.
QHash<QString, ThemeDialog::Fields>& rememberedFields() {
    static QHash<QString, ThemeDialog::Fields> fields;
    return fields;
}

} // namespace

void exportTheme(QWidget* owner, EditorWindow& child, const QList<EditorWindow*>& open) {
    EditorWindow* editor = &child;
    if (!canExportTheme(editor))
        return;
    const QString firmware = *firmwareOf(editor);
    EditorWindow* other = nullptr;
    for (EditorWindow* e : open)
        if (e->moduleKind() != editor->moduleKind() && firmwareOf(e) == firmware)
            other = e;
    ThemeDialog dialog(editor->currentFile(), firmware, other ? other->currentFile() : QString(), owner);
    const QString module = editor->currentFile();
    if (const auto it = rememberedFields().constFind(module); it != rememberedFields().constEnd())
        dialog.setFields(*it);
    // A refusal leaves the dialog open with the fields as typed.
    dialog.setAcceptCheck([&](const ThemeDialog& d) {
        rememberedFields().insert(module, d.fields());
        return writeTheme(owner, editor, other, d);
    });
    dialog.exec();
    rememberedFields().insert(module, dialog.fields());
}

bool importThemeLook(QWidget* owner, EditorWindow& child, const QString& path) {
    EditorWindow* editor = &child;
    auto head = prx::readFileHead(path, 0x20);
    if (!head || !theme::looksLikeTheme(head->bytes))
        return false;
    const QString title = QStringLiteral("Import Look");
    const auto fail = [owner, &title](const QString& text, const QString& detail) {
        dialogs().showMessage(owner, title, text, MsgIcon::Critical, MsgButtons::Ok, detail);
    };
    auto bytes = prx::readWholeFile(path);
    auto loaded = bytes ? theme::loadTheme(*bytes) : Result<theme::Theme>(bytes.error());
    if (!loaded) {
        fail(QStringLiteral("Nothing was imported: the theme can't be read."),
             text::fullText(loaded.error()));
        return true;
    }
    const prx::ModuleValues& values = editor->document().loadedValues();
    auto module = prx::readModule(editor->currentFile(), values.release());
    if (!module) {
        fail(QStringLiteral("Nothing was imported."), text::fullText(module.error()));
        return true;
    }
    auto on = theme::themeOnModule(*loaded, module->bytes(), slotOf(editor), values.release());
    auto themed = on ? prx::loadValues(prx::ModuleImage(on->module), values.release())
                     : Result<prx::ModuleValues>(on.error());
    auto current = editor->lookValues();
    if (!themed || !current) {
        fail(QStringLiteral("Nothing was imported."), text::fullText((!themed ? themed : current).error()));
        return true;
    }
    const prx::ModuleValues before = *current;
    takeSpans(*current, *themed, on->values);
    editor->showLook(*current);
    tellValuesTaken(owner, looks::diffLooks(before, *current).differences.size(), path);
    QStringList outside;
    for (const theme::RunOnValues& run : on->outside)
        outside.append(QStringLiteral("%1 bytes at %2")
                           .arg(run.range.end - run.range.begin)
                           .arg(theme::hex(run.range.begin)));
    if (!outside.isEmpty())
        dialogs().showMessage(
            owner, title,
            lines(QStringLiteral("The look is in the editor; save to write it. Not taken or changed:"),
                  outside),
            MsgIcon::Information, MsgButtons::Ok);
    return true;
}

bool describeTheme(QWidget* owner, const QString& path) {
    auto head = prx::readFileHead(path, 0x20);
    if (!head || !theme::looksLikeTheme(head->bytes))
        return false;
    auto bytes = prx::readWholeFile(path);
    if (!bytes)
        return false;
    const theme::ThemeReading reading = theme::readTheme(*bytes);
    QStringList entries;
    for (const theme::ThemeEntry& e : reading.theme.entries)
        entries.append(e.runForm ? QStringLiteral("%1: %2 runs").arg(e.name).arg(e.size)
                                 : QStringLiteral("%1: %2 bytes").arg(e.name).arg(e.size));
    QStringList failed;
    for (const auto& check : reading.checks)
        if (!check.ok && !check.note)
            failed.append(check.name);
    const QString text = lines(QStringLiteral("CXMB theme \"%1\" for firmware %2, %3 entries:")
                                   .arg(reading.theme.title, reading.theme.firmware)
                                   .arg(entries.size()),
                               entries);
    dialogs().showMessage(owner, kAppTitle, text,
                          failed.isEmpty() ? MsgIcon::Information : MsgIcon::Exclamation, MsgButtons::Ok,
                          failed.isEmpty() ? QDir::toNativeSeparators(path)
                                           : QStringLiteral("%1: failing checks: %2")
                                                 .arg(QDir::toNativeSeparators(path), failed.join(u", ")));
    return true;
}

} // namespace qm::ui
