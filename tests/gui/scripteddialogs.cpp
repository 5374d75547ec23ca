#include "scripteddialogs.h"

namespace qm::test {

QList<DialogCall> ScriptedDialogs::messages() const {
    QList<DialogCall> out;
    for (const DialogCall& c : calls)
        if (c.kind == DialogCall::Message)
            out.append(c);
    return out;
}

QStringList ScriptedDialogs::titles() const {
    QStringList out;
    for (const DialogCall& c : calls)
        out.append(c.title);
    return out;
}

void ScriptedDialogs::record(const DialogCall& call) {
    calls.append(call);
    if (onCall)
        onCall(call);
}

ui::MsgAnswer ScriptedDialogs::showMessage(QWidget*, const QString& title, const QString& text,
                                           ui::MsgIcon icon, ui::MsgButtons buttons, const QString& detail) {
    DialogCall call;
    call.kind = DialogCall::Message;
    call.title = title;
    call.text = text;
    call.detail = detail;
    call.icon = icon;
    call.buttons = buttons;
    record(call);
    if (buttons == ui::MsgButtons::Ok)
        return ui::MsgAnswer::Ok;
    if (answers.isEmpty()) {
        ++unscripted;
        return buttons == ui::MsgButtons::SaveDiscardCancel ? ui::MsgAnswer::Cancel : ui::MsgAnswer::No;
    }
    return answers.takeFirst();
}

QString ScriptedDialogs::chooseFile(QWidget*, const QString& initialFolder, const QString& filterName,
                                    const QString& filterPattern, const QString& title, ui::FileMode mode,
                                    const QString& suggestedName) {
    DialogCall call;
    call.kind = DialogCall::File;
    call.title = title;
    call.mode = mode;
    call.initialFolder = initialFolder;
    call.filterName = filterName;
    call.filterPattern = filterPattern;
    call.suggestedName = suggestedName;
    record(call);
    if (files.isEmpty()) {
        ++unscripted;
        return {};
    }
    return files.takeFirst();
}

bool ScriptedDialogs::chooseColour(QWidget*, prx::Rgb initial, prx::Rgb& chosen) {
    DialogCall call;
    call.kind = DialogCall::Color;
    call.initialColor = initial;
    record(call);
    if (colors.isEmpty()) {
        ++unscripted;
        return false;
    }
    const std::optional<prx::Rgb> answer = colors.takeFirst();
    if (!answer)
        return false;
    chosen = *answer;
    return true;
}

} // namespace qm::test
