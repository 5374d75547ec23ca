#pragma once

// A module document with the history of its edits, as an editor window
// holds it: every edit is a command that carries one member's old and new
// value. Typing into one box is one step until the step is closed; a look
// is one step however many values it changes. The values are modified
// while the history is away from where the file was read or written.

#include "moduledocument.h"

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

protected:
    void fileReplaced() override;

private:
    friend class MemberCommand;
    QUndoStack* m_undo;
    const class MemberCommand* m_openStep = nullptr;
    bool m_pushing = false;
};

} // namespace qm::doc
