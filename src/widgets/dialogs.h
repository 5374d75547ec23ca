#pragma once

// Every message box, file dialog and colour dialog of the program goes
// through this interface, so that flows can be driven by a scripted stand-in.

#include "prx/codecs.h"
#include "prx/result.h"

#include <QString>

#include <array>

class QUrl;
class QWidget;

namespace qm::ui {

// Title of message boxes that name no title of their own.
inline const QString kAppTitle = QStringLiteral("RAD Ededid");

enum class MsgIcon { None, Question, Critical, Exclamation, Information };
enum class MsgButtons { Ok, YesNo, SaveDiscardCancel };
enum class MsgAnswer { Ok, Yes, No, Save, Discard, Cancel };
enum class FileMode { Open, Save }; // Open: the file must exist; Save: asks before overwriting

// The shell's file filter.
inline const QString kPrxFilterName = QStringLiteral("PRX Files (*.prx)");
inline const QString kPrxFilterPattern = QStringLiteral("*.prx");

class Dialogs {
public:
    virtual ~Dialogs();

    // A message box; `detail` is shown below the text (which file, and why),
    // nothing when it is empty.
    virtual MsgAnswer showMessage(QWidget* owner, const QString& title, const QString& text, MsgIcon icon,
                                  MsgButtons buttons, const QString& detail) = 0;
    MsgAnswer showMessage(QWidget* owner, const QString& title, const QString& text, MsgIcon icon,
                          MsgButtons buttons) {
        return showMessage(owner, title, text, icon, buttons, QString());
    }
    // Single-selection open or save dialog; "" when cancelled. An empty
    // initial folder means the current folder. A save dialog starts with
    // `suggestedName` filled in, and a name typed without an extension gets
    // the filter's.
    virtual QString chooseFile(QWidget* owner, const QString& initialFolder, const QString& filterName,
                               const QString& filterPattern, const QString& title, FileMode mode,
                               const QString& suggestedName) = 0;
    QString chooseFile(QWidget* owner, const QString& initialFolder, const QString& filterName,
                       const QString& filterPattern, const QString& title, FileMode mode) {
        return chooseFile(owner, initialFolder, filterName, filterPattern, title, mode, QString());
    }
    // The colour chooser with the program's 16 custom colours; true and the
    // chosen colour when confirmed, false and `chosen` untouched on cancel.
    virtual bool chooseColour(QWidget* owner, prx::Rgb initial, prx::Rgb& chosen) = 0;

    // Asks the desktop to open a web address; true when it could.
    virtual bool openUrl(const QUrl& url);

    // The custom colours live for the whole run and start black.
    std::array<prx::Rgb, 16>& customColors() { return m_customColors; }

private:
    std::array<prx::Rgb, 16> m_customColors{};
};

// A failed operation in the message box the program shows for it: a check
// that refused the values as its plain message with no icon, anything else
// as "Error N occurred! (description)" with the critical icon, both titled
// with the program's title.
// With a file, the description also names it: "(Invalid procedure call or
// argument: UMDIconMusic: ... in vshmain.prx)".
void showError(QWidget* owner, const Error& error, const QString& file = {});
// The same box with the error's text over a second line, `below` (a path,
// the error's detail), under an optional heading line; titled `title`.
void showError(QWidget* owner, const Error& error, const QString& below, const QString& title,
               const QString& heading = {});

// `path` with the extension of `filterPattern` ("*.prx") when its name has none.
QString withFilterSuffix(const QString& path, const QString& filterPattern);

// The dialogs in use. The program installs QtDialogs; tests their own.
Dialogs& dialogs();
void setDialogs(Dialogs* dialogs);

// Message boxes, file and colour dialogs of Qt.
class QtDialogs final : public Dialogs {
public:
    using Dialogs::chooseFile;
    using Dialogs::showMessage;
    MsgAnswer showMessage(QWidget* owner, const QString& title, const QString& text, MsgIcon icon,
                          MsgButtons buttons, const QString& detail) override;
    QString chooseFile(QWidget* owner, const QString& initialFolder, const QString& filterName,
                       const QString& filterPattern, const QString& title, FileMode mode,
                       const QString& suggestedName) override;
    bool chooseColour(QWidget* owner, prx::Rgb initial, prx::Rgb& chosen) override;
};

} // namespace qm::ui
