#pragma once

// Edit > Review Changes...: every value that differs between an editor and
// its file on disk, named and shown as `quillmark-cli diff` names and shows
// them. Escape closes it.

#include <QDialog>

class QLabel;
class QTableWidget;

namespace qm::ui {

class EditorForm;

class ReviewDialog final : public QDialog {
    Q_OBJECT
public:
    ReviewDialog(const EditorForm& editor, QWidget* parent = nullptr);

    // The differences, one row each: value, in the file, in the editor.
    QTableWidget* table() const { return m_table; }
    // What the window says above the table (no difference, a file that can't be read).
    QLabel* summary() const { return m_summary; }

private:
    QTableWidget* m_table = nullptr;
    QLabel* m_summary = nullptr;
};

} // namespace qm::ui
