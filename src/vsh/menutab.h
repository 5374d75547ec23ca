#pragma once

// The "Menu" tab: the main-menu entries as a table of rows, and the combos
// and check boxes that change the selected row. Releases 8 to 11 use the
// classic controls, 12 to 14 the slim ones; both sets share one place.

#include "menumodel.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QTableView;

namespace qm::ui {

class EditorForm;

class VshMenuTab final : public QWidget {
    Q_OBJECT
public:
    explicit VshMenuTab(EditorForm* form, QWidget* parent = nullptr);

    using Column = VshMenuModel::Column;

    // Shows the entries of a new load; the row that was selected stays
    // selected (the first one when there was none) and is shown in the controls.
    void showEntries();
    int rowCount() const;
    // The text of a cell, as the list shows it.
    QString cell(int row, Column column) const;
    // -1 when no row is selected.
    int selectedRow() const;
    void selectRow(int row);

    // Shows the selected row in the editing controls.
    void ShowSelectedMenuItem();

    VshMenuModel* model() const { return m_model; }

    QTableView* lstvVSHMenu = nullptr;
    QComboBox* cboVSHMenu130x = nullptr;
    QComboBox* cboVSHMenu137x = nullptr;
    QComboBox* cboVSHMenu230x = nullptr;
    QComboBox* cboVSHMenu237x = nullptr;
    QComboBox* cboVSHMenu3 = nullptr;
    std::array<QCheckBox*, 2> chkVSHMenu{};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool slim() const;
    int version() const;
    QComboBox* categoryCombo() const { return slim() ? cboVSHMenu137x : cboVSHMenu130x; }
    QComboBox* iconCombo() const { return slim() ? cboVSHMenu237x : cboVSHMenu230x; }
    // Changes the selected entry; nothing while no row is selected.
    template <typename Change> void changeSelected(Change&& change);

    void categoryPicked(QComboBox* combo);
    void iconPicked(QComboBox* combo);
    void regionPicked();
    void checkClicked();

    EditorForm* m_form;
    VshMenuModel* m_model;
};

} // namespace qm::ui
