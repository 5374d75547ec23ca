#pragma once

// Edit > Review Changes...: every value that differs between an editor's
// file as it was opened or last saved and the values a save would write now,
// named by its caption and its member, and every text typed that gives no
// value, with the reason a save refuses it. Escape closes it.

#include "prx/catalogue.h"

#include <QDialog>

class QLabel;
class QTableWidget;

namespace qm::ui {

class EditorForm;

// A value named as the windows show it, with the name a dump gives it:
// "January Text (TextColors[0])", "Clock X (ClockX)", "Menu Entry 6
// (MenuEntries[5].enabled, numbered from 0)". A name the windows don't show
// stays as it is.
QString captionedValueName(prx::ModuleKind kind, const QString& name);

class ReviewDialog final : public QDialog {
    Q_OBJECT
public:
    ReviewDialog(const EditorForm& editor, QWidget* parent = nullptr);

    // The differences, one row each: value, in the file, in the editor, and
    // (a fourth column while there are any) why a save refuses it.
    QTableWidget* table() const { return m_table; }
    // What the window says above the table (how many values differ, or none).
    QLabel* summary() const { return m_summary; }
    // Below the table: how many of them a save refuses; hidden while none.
    QLabel* unsaved() const { return m_unsaved; }

private:
    QTableWidget* m_table = nullptr;
    QLabel* m_summary = nullptr;
    QLabel* m_unsaved = nullptr;
};

} // namespace qm::ui
