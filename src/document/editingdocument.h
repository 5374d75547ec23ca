#pragma once

// A module document with the history of its edits, as an editor window
// holds it: every edit is a command that carries one member's old and new
// value. Typing into one box is one step until the step is closed; a look
// is one step however many values it changes. The values are modified
// while the history is away from where the file was read or written, or
// while a box holds a text that gives no value.

#include "moduledocument.h"

#include <map>

class QUndoStack;

namespace qm::doc {

class EditingDocument final : public ModuleDocument {
    Q_OBJECT
public:
    explicit EditingDocument(QObject* parent = nullptr);
    ~EditingDocument() override;

    QUndoStack* undoStack() const { return m_undo; }
    bool isModified() const override;

    // An edit of one member's value, as one step named `step` ("Clock X").
    // With typing, the step grows with the next typed edit of the same
    // member until closeStep() or another step.
    void edit(int member, const prx::Value& value, const QString& step, bool typing = false);
    void closeStep();
    // Every value of `values` that differs, as one step named `step`.
    void editAll(const prx::ModuleValues& values, const QString& step);

    // A text typed for a member that gives no value ("60-", "", a number
    // too large): an edit that can't be saved. The member keeps its value;
    // the edit counts as a change and refuses a save until the text gives a
    // value again (clearUnstorable) or another file is read or written.
    struct UnstorableEdit {
        QString text;
        Error reason;
    };
    void setUnstorable(int member, const QString& text, const Error& reason);
    void clearUnstorable(int member);
    const std::map<int, UnstorableEdit>& unstorableEdits() const { return m_unstorable; }

protected:
    void fileReplaced() override;
    // The first edit that can't be saved, named by its member.
    Status savable() const override;

private:
    friend class MemberCommand;
    QUndoStack* m_undo;
    const class MemberCommand* m_openStep = nullptr;
    bool m_pushing = false;
    std::map<int, UnstorableEdit> m_unstorable;
};

} // namespace qm::doc
