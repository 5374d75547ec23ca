#pragma once

// The workspace's window around one editor. Its title follows the editor's
// and says when the editor's file is gone from disk; assistive technology
// hears the title as it is shown, with the modified mark.

#include <QMdiSubWindow>

namespace qm::ui {

class EditorForm;

class EditorWindow final : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit EditorWindow(EditorForm* editor, QWidget* parent = nullptr);

    EditorForm* editor() const;

    // The editor's file is no longer where it was opened from.
    bool fileGone() const { return m_fileGone; }
    void setFileGone(bool gone);

    // The title with the modified placeholder resolved: "Paf.rad Ededid - paf.prx*".
    QString shownTitle() const;

    // Once per program: the accessibility interface that reads shownTitle().
    static void installAccessibility();

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followEditorTitle();

    bool m_fileGone = false;
};

} // namespace qm::ui
