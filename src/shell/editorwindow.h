#pragma once

// One child of the workspace: the window around an editor form. It owns the
// module document that the form shows, loads and saves it, asks about
// unsaved edits before it closes, and keeps its title: the editor's
// caption, the file's name, the modified mark, and whether the file is gone
// from disk. Assistive technology hears the title as it is shown.

#include "prx/catalogue.h"
#include "prx/result.h"
#include "prx/values.h"

#include <QMdiSubWindow>

namespace qm::doc {
class EditingDocument;
}

namespace qm::ui {

class EditorForm;

class EditorWindow final : public QMdiSubWindow {
    Q_OBJECT
public:
    // A window with an editor of `kind` over `document` (opened before; the
    // window takes it over), or over a document of its own that holds no module.
    explicit EditorWindow(prx::ModuleKind kind, doc::EditingDocument* document = nullptr,
                          QWidget* parent = nullptr);
    ~EditorWindow() override;

    EditorForm* editor() const { return m_form; }
    doc::EditingDocument& document() const { return *m_document; }
    prx::ModuleKind moduleKind() const;
    // The module file the window shows; empty while it holds none.
    QString currentFile() const;
    // The release label and the path, each followed by one blank, as the
    // status bar shows them; the file text is empty while no file is loaded.
    QString statusVersion() const;
    QString statusFile() const;

    // Reads every value of the module at `path` into the editor. A failure
    // changes nothing and comes back to the caller, who reports it. An empty
    // path leaves the window without a file, its controls off. A release of
    // the other kind is refused as a row the window's kind lacks.
    Status loadFile(const QString& path, prx::ReleaseId release);

    // Save: the edits into the window's own file; when another program
    // changed that file since, asks before overwriting it. Save As: into the
    // file the user names, which the window shows from then on. Both report
    // a failure themselves, bringing a refused box into view, and are true
    // when the file was written. As the configuration says, a file that is
    // overwritten is first kept as NAME.orig, unless that exists.
    bool save();
    bool saveAs();
    // The file Save As writes to, as the user names it in the save dialog;
    // empty when cancelled.
    QString askSaveAsName();
    // Writes the values into `path` without a question: refused while a box's
    // text gives no value. Another file than the window's own becomes the
    // window's file; a refused or failed save writes nothing. With
    // keepOriginal, a file that is overwritten is first kept as NAME.orig.
    Status writeFile(const QString& path, bool keepOriginal = false);

    // Unsaved edits are about to be lost: Save, Discard or Cancel. True when
    // the window may close; a Save that fails keeps it open.
    bool maybeSave();
    // Closes without asking about unsaved edits (they are lost).
    void closeWithoutAsking();

    // Looks: the values the editor shows, failing while a box holds no
    // value; and a look's values put into the editor without saving, as one step.
    Result<prx::ModuleValues> lookValues() const;
    void showLook(const prx::ModuleValues& values);

    // The window's file is no longer where it was opened from.
    bool fileGone() const { return m_fileGone; }
    void setFileGone(bool gone);

    // The title with the modified placeholder resolved: "Paf.rad Ededid - paf.prx*".
    QString shownTitle() const;

    // Once per program: the accessibility interface that reads shownTitle().
    static void installAccessibility();

Q_SIGNALS:
    // The file or release the window shows changed: after a load or a save.
    void statusChanged();
    // A file was written under a new name by Save As.
    void savedAs(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateTitle();
    // writeFile() as the configuration says, with its failure told to the user.
    bool saveFile(const QString& path);

    doc::EditingDocument* m_document;
    EditorForm* m_form;
    bool m_fileGone = false;
    bool m_closeUnasked = false;
};

} // namespace qm::ui
