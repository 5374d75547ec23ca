#pragma once

// A stand-in for the program's dialogs: records every call and answers from
// scripted queues, so window flows run headless.

#include "widgets/dialogs.h"

#include <QList>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

namespace qm::test {

struct DialogCall {
    enum Kind { Message, File, Color } kind = Message;
    QString title;
    QString text;
    QString detail;        // a message box's text below its text
    QString suggestedName; // a save dialog's name filled in
    ui::MsgIcon icon = ui::MsgIcon::None;
    ui::MsgButtons buttons = ui::MsgButtons::Ok;
    ui::FileMode mode = ui::FileMode::Open;
    QString initialFolder;
    QString filterName;
    QString filterPattern;
    prx::Rgb initialColor = 0;
};

class ScriptedDialogs final : public ui::Dialogs {
public:
    ScriptedDialogs() { ui::setDialogs(this); }
    ~ScriptedDialogs() override { ui::setDialogs(nullptr); }

    // Answers, used in order. A Yes/No question without a scripted answer is
    // answered No, a Save/Discard/Cancel question Cancel, a file dialog "" and a colour dialog cancelled;
    // such calls are counted in `unscripted`.
    QList<ui::MsgAnswer> answers;
    QStringList files;
    QList<std::optional<prx::Rgb>> colors;
    // Called for every call before it is answered (to drive nested flows).
    std::function<void(const DialogCall&)> onCall;

    QList<DialogCall> calls;
    QList<QUrl> openedUrls;
    int unscripted = 0;

    QList<DialogCall> messages() const;
    QStringList titles() const;
    void clear() {
        calls.clear();
        unscripted = 0;
    }

    using ui::Dialogs::chooseFile;
    using ui::Dialogs::showMessage;
    ui::MsgAnswer showMessage(QWidget* owner, const QString& title, const QString& text, ui::MsgIcon icon,
                              ui::MsgButtons buttons, const QString& detail) override;
    QString chooseFile(QWidget* owner, const QString& initialFolder, const QString& filterName,
                       const QString& filterPattern, const QString& title, ui::FileMode mode,
                       const QString& suggestedName) override;
    bool chooseColour(QWidget* owner, prx::Rgb initial, prx::Rgb& chosen) override;
    bool openUrl(const QUrl& url) override {
        openedUrls.append(url);
        return true;
    }

private:
    // Notes a call and hands it to onCall.
    void record(const DialogCall& call);
};

} // namespace qm::test
