#include "editingdocument.h"

#include "prx/rules.h"

#include <QUndoStack>

namespace qm::doc {

// One member's value before and after an edit; values that follow it follow.
class MemberCommand final : public QUndoCommand {
public:
    MemberCommand(EditingDocument* document, int member, prx::Value before, prx::Value after,
                  const QString& text, bool typing, QUndoCommand* parent = nullptr)
        : QUndoCommand(text, parent), m_document(document), m_member(member), m_before(std::move(before)),
          m_after(std::move(after)), m_typing(typing) {}

    int id() const override { return m_typing ? 1 : -1; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const MemberCommand*>(other);
        if (m_document->m_openStep != this || next->m_member != m_member)
            return false;
        m_after = next->m_after;
        setObsolete(m_after == m_before);
        return true;
    }
    void redo() override { m_document->setValue(m_member, m_after); }
    void undo() override { m_document->setValue(m_member, m_before); }

private:
    EditingDocument* m_document;
    int m_member;
    prx::Value m_before;
    prx::Value m_after;
    bool m_typing;
};

EditingDocument::EditingDocument(QObject* parent) : ModuleDocument(parent), m_undo(new QUndoStack(this)) {
    connect(m_undo, &QUndoStack::cleanChanged, this, [this] { noteModified(); });
    connect(m_undo, &QUndoStack::indexChanged, this, [this] {
        if (!m_pushing)
            m_openStep = nullptr; // an undo or redo ends the typing step
    });
}

EditingDocument::~EditingDocument() {
    disconnect(m_undo, nullptr, this, nullptr);
}

bool EditingDocument::isModified() const {
    return isOpen() && (!m_undo->isClean() || !m_unstorable.empty());
}

void EditingDocument::fileReplaced() {
    m_openStep = nullptr;
    m_unstorable.clear();
    m_undo->clear();
}

void EditingDocument::setUnstorable(int member, const QString& text, const Error& reason) {
    if (!values().has(member))
        return;
    m_unstorable[member] = UnstorableEdit{text, reason};
    noteModified();
}

void EditingDocument::clearUnstorable(int member) {
    if (m_unstorable.erase(member) > 0)
        noteModified();
}

Status EditingDocument::savable() const {
    if (m_unstorable.empty())
        return {};
    const auto& [member, edit] = *m_unstorable.begin();
    return edit.reason.named(QString(prx::memberInfo(release().kind, member).name));
}

void EditingDocument::edit(int member, const prx::Value& value, const QString& step, bool typing) {
    if (!values().has(member) || values().value(member) == value)
        return;
    // Typing grows the open step while it is the newest step and of the same box.
    if (!typing || m_undo->index() == 0 || m_undo->command(m_undo->index() - 1) != m_openStep)
        m_openStep = nullptr;
    const bool grows = m_openStep != nullptr;
    auto* command = new MemberCommand(this, member, values().value(member), value, step, typing);
    m_pushing = true;
    m_undo->push(command); // merged into the open step (and deleted) when it grows it
    m_pushing = false;
    const QUndoCommand* top = m_undo->index() > 0 ? m_undo->command(m_undo->index() - 1) : nullptr;
    if (!typing || (grows && top != m_openStep))
        m_openStep = nullptr; // not typing, or the step undid itself away
    else if (!grows)
        m_openStep = top == command ? command : nullptr;
}

void EditingDocument::closeStep() {
    m_openStep = nullptr;
}

void EditingDocument::editAll(const prx::ModuleValues& given, const QString& step) {
    if (given.release() != values().release())
        return;
    prx::ModuleValues after = given;
    prx::applyFollowing(after);
    if (after == values())
        return;
    m_openStep = nullptr;
    // One command holding a child per member: undone and redone as one step.
    auto* all = new QUndoCommand(step);
    const prx::ModuleValues& before = values();
    for (int m = 0; m < after.memberCount(); ++m)
        if (after.value(m) != before.value(m))
            new MemberCommand(this, m, before.value(m), after.value(m), step, false, all);
    m_undo->push(all);
}

} // namespace qm::doc
