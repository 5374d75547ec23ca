#pragma once

// What both editor windows share: a view of one module document (its
// values by member, their history, load and save), the status texts and
// looks. A window binds its controls to members; it does no byte work.

#include "document/editingdocument.h"
#include "prx/result.h"
#include "prx/values.h"
#include "valueboxes.h"

#include <QLocale>
#include <QPointer>
#include <QWidget>

class QTabWidget;

namespace qm::ui {

class EditorForm : public QWidget {
    Q_OBJECT
public:
    // A fixed-size editor window with its name, caption, the editors' icon
    // and font, and its value boxes' captions in the order a save checks
    // them. It shows `document` when one is given (the window takes it
    // over; see showOpenDocument), a document of its own otherwise.
    EditorForm(const QString& name, const QString& caption, QSize size, prx::ModuleKind kind,
               std::vector<BoxCaption> captions, doc::EditingDocument* document, QWidget* parent);
    ~EditorForm() override;

    prx::ModuleKind moduleKind() const { return m_kind; }
    // The document the window shows; each window has its own.
    doc::EditingDocument& document() const { return *m_document; }
    // The module file the window shows; empty while it holds none.
    QString filePath() const { return m_document->path(); }
    // The release row of the last load; -1 before any.
    int versionIndex() const { return m_version; }
    // The release of the last load; its row is -1 before any.
    prx::ReleaseId release() const { return {m_kind, m_version}; }
    // The release label and the path, each followed by one blank, as the
    // status bar shows them; the file text is empty while no file is loaded.
    QString statusVersion() const { return m_statusVersion; }
    QString statusFile() const;

    // Shows the values of a document that was open before the window was
    // made, in every control; nothing while the document holds no module.
    void showOpenDocument();
    // Reads every value of the module into the controls. A failure changes
    // nothing and comes back to the caller, who reports it. An empty path
    // leaves the window without a file, its controls off. A release of the
    // other kind is refused as a row the window's kind lacks.
    Status load(const QString& path, prx::ReleaseId release);
    // Writes the values that changed into the module at `path` (a copy of
    // the open module when it is another file) and shows that file
    // afterwards. Refused while no module is open; a refused or failed save
    // writes nothing. With keepOriginal, a file that is overwritten is first
    // kept as NAME.orig, unless that exists.
    Status save(const QString& path, prx::ReleaseId release, bool keepOriginal = false);

    // The values as the file held them at the last load, and as the window shows them now.
    const prx::ModuleValues& loadedValues() const { return m_document->loadedValues(); }
    const prx::ModuleValues& values() const { return m_document->values(); }

    // An edit of one member's value, as one step of the undo stack named
    // `step` ("Clock X"); values that follow it change with it. Typing into
    // one box is one step until the step is closed (the box loses focus or
    // another value changes).
    void edit(int member, const prx::Value& value, const QString& step, bool typing = false);
    template <typename M> void edit(M member, const prx::Value& value, const QString& step) {
        edit(static_cast<int>(member), value, step);
    }
    void closeStep() { m_document->closeStep(); }
    // The window's steps; clean while the values are those of the file.
    QUndoStack* undoStack() const { return m_document->undoStack(); }
    bool hasUnsavedEdits() const;

    // Looks: the values the window shows, failing while a box holds no
    // value; and a look's values put into the controls without saving, as one step.
    Result<prx::ModuleValues> lookValues() const;
    void showLook(const prx::ModuleValues& values);

    // Whether the file changed on disk (length, time or contents) since the
    // window loaded or saved it. A file that is gone has changed.
    bool changedOnDisk() const { return m_document->changedOnDisk(); }

    // After a refused save: brings the box that refused it into view and gives it the focus.
    void focusRefusedBox();

    // Puts values in place as they are, without a step (undo and redo do this).
    void replaceValues(const prx::ModuleValues& values);

    // Boxes whose text gives no value yet, in the order a save checks them:
    // the first one's failure, or success.
    Status checkEntries() const;
    QTabWidget* tabs() const { return m_tabs; }
    // The value box of a member of the window's kind, and its caption label
    // (null for a box without a caption of its own); null for a member without a box.
    template <typename Member> QLineEdit* box(Member member) const {
        return m_boxes->box(static_cast<int>(member));
    }
    template <typename Member> QLabel* label(Member member) const {
        return m_boxes->label(static_cast<int>(member));
    }

    // The locale numbers are shown and read in; the user's by default.
    const QLocale& numberLocale() const { return m_locale; }
    void setLocale(const QLocale& locale);

Q_SIGNALS:
    // The status texts changed (after a load).
    void statusChanged();
    // A member's value changed, by an edit, a look or a load.
    void valueChanged(int member);
    // Every value was replaced by a load.
    void valuesReplaced();

protected:
    // Shows the values of a new load in every control.
    virtual void showModule() = 0;
    // The window holds no module: its editing controls are off.
    virtual void showNoModule() = 0;
    // The number locale changed; the value boxes already follow it.
    virtual void localeChanged() {}
    // A window that closes lets go of its module at once; Qt deletes it later.
    void closeEvent(QCloseEvent* event) override;

    // The tab control that fills the window, `margin` pixels from its edges.
    QTabWidget* addTabs(const QString& name, int margin);
    ValueBoxes* boxes() const { return m_boxes; }

    // The caption before the file's name.
    QString caption() const { return m_caption; }

private:
    void updateTitle();
    // Shows the document's file: after a load or a save.
    void showFile();

    prx::ModuleKind m_kind;
    QString m_caption;
    doc::EditingDocument* m_document;
    ValueBoxes* m_boxes;
    QTabWidget* m_tabs = nullptr;
    mutable QPointer<QWidget> m_refused;
    QString m_statusVersion;
    int m_version = -1;
    QLocale m_locale;
};

} // namespace qm::ui
