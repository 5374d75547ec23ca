#pragma once

// What both editor layouts share: the controls over one module document,
// bound to its members. The window around the form (the workspace's child)
// owns the document, loads and saves it; the form does no file or byte work.

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
    // them, showing `document`, which outlives it. The form shows what the
    // document holds from then on: every value after an open, a save or a
    // close, and each value that changes.
    EditorForm(const QString& name, const QString& caption, QSize size, prx::ModuleKind kind,
               std::vector<BoxCaption> captions, doc::EditingDocument& document, QWidget* parent);
    ~EditorForm() override;

    prx::ModuleKind moduleKind() const { return m_kind; }
    // The caption before the file's name: "VSHMain.rad Ededid".
    QString caption() const { return m_caption; }
    // The document the window shows; each window has its own.
    doc::EditingDocument& document() const { return m_document; }
    // What the document holds: its file (empty while none), release and values.
    QString filePath() const { return m_document.path(); }
    prx::ReleaseId release() const { return m_document.release(); }
    const prx::ModuleValues& loadedValues() const { return m_document.loadedValues(); }
    const prx::ModuleValues& values() const { return m_document.values(); }

    // Shows what the document holds in every control: its values, or no
    // module with the editing controls off.
    void showDocument();

    // After a refused save: brings the box that refused it into view and gives it the focus.
    void focusRefusedBox();

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

protected:
    // Shows the values of a new load in every control.
    virtual void showModule() = 0;
    // The window holds no module: its editing controls are off.
    virtual void showNoModule() = 0;
    // The number locale changed; the value boxes already follow it.
    virtual void localeChanged() {}

    // The tab control that fills the window, `margin` pixels from its edges.
    QTabWidget* addTabs(const QString& name, int margin);
    ValueBoxes* boxes() const { return m_boxes; }

private:
    prx::ModuleKind m_kind;
    QString m_caption;
    doc::EditingDocument& m_document;
    ValueBoxes* m_boxes;
    QTabWidget* m_tabs = nullptr;
    mutable QPointer<QWidget> m_refused;
    QLocale m_locale;
};

} // namespace qm::ui
