#pragma once

// The captioned value boxes of an editor window, found by their member.
// Each editor lists its boxes once, in one table of captions, and its
// frames as lists of members; the frames, the boxes' bindings and the
// check a save makes of their texts come from here for both editors.

#include "prx/result.h"

#include <QObject>
#include <QString>

#include <map>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QLocale;
class QWidget;

namespace qm::ui {

class EditorForm;
class ValueBinding;
class NumberValidator;

// One box: its member, its caption (blanks kept as they stand), and whether
// a save refuses it while it is empty.
struct BoxCaption {
    template <typename Member>
    BoxCaption(Member m, QString text, bool refusedEmpty = true)
        : member(static_cast<int>(m)), caption(std::move(text)), refusedEmpty(refusedEmpty) {}
    int member;
    QString caption;
    bool refusedEmpty;
};

// A titled frame of captioned boxes, top to bottom, on tab `tab`, in column
// 0 (left) or 1 (right). Its object name and title are plain ASCII.
struct FrameSpec {
    template <typename Member>
    FrameSpec(const char* name, const char* title, int tab, int column, std::initializer_list<Member> list)
        : name(QString::fromLatin1(name)), title(QString::fromLatin1(title)), tab(tab), column(column) {
        for (Member m : list)
            members.push_back(static_cast<int>(m));
    }
    QString name;
    QString title;
    int tab;
    int column;
    std::vector<int> members;
};

// A box's caption as the name of its edits: "Clock X :" edits are "Clock X".
QString stepName(const QString& caption);
// "Clock X (ClockX)": a value named by its caption and its member.
QString captionWithMember(const QString& caption, const QString& member);

class ValueBoxes final : public QObject {
    Q_OBJECT
public:
    // `captions` in the order a save checks the boxes.
    ValueBoxes(EditorForm* form, std::vector<BoxCaption> captions);

    // Called as the editor goes: the box with the focus finishes its editing
    // as the window hides, and the editor part of the window is gone by then.
    void detach();

    // A frame with a captioned box for each of its members. Number members
    // get number boxes; text members text boxes `textWidth` wide.
    QGroupBox* makeFrame(const FrameSpec& plan, QWidget* parent, int textWidth = 0);
    // A box bound to its member without a caption row of its own.
    QLineEdit* makeBox(int member, QWidget* parent);

    QLineEdit* box(int member) const;
    // The caption label beside the box; null for a box without one.
    QLabel* label(int member) const;
    const std::vector<BoxCaption>& captions() const { return m_captions; }
    const QString& caption(int member) const;

    // Shows every value the module has, in number boxes wide enough for the widest.
    void showValues();
    // Boxes and captions on or off.
    void setEnabled(bool enabled);
    void setLocale(const QLocale& locale);

    // The first box whose text a save refuses, in caption order: an empty
    // box first, then a text that gives no value (whole numbers first).
    // Success when every box gives a value; `refused` names the box.
    Status checkEntries(QLineEdit*& refused) const;

private:
    struct Box {
        QLineEdit* edit = nullptr;
        QLabel* label = nullptr;
        ValueBinding* binding = nullptr;
        NumberValidator* validator = nullptr;
    };
    const BoxCaption& row(int member) const;
    void fitNumberBoxes();
    Status entryFailure(const Box& box, int member) const;

    EditorForm* m_form;
    std::vector<BoxCaption> m_captions;
    std::map<int, Box> m_boxes;
};

} // namespace qm::ui
