#pragma once

// The "Menu" tab: the main-menu entries as a list of rows, and the combos
// and check boxes that change the selected row. Releases 8 to 11 use the
// classic controls, 12 to 14 the slim ones; both sets share one place.

#include "prx/menu.h"

#include <QList>
#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QTableWidget;

namespace qm::ui {

class VshMenuTab final : public QWidget {
    Q_OBJECT
public:
    // `ready` is the editor's flag: the handlers change no row while it is false.
    VshMenuTab(bool& ready, QWidget* parent = nullptr);

    enum Column { ColOrder, ColMainMenu, ColIcon, ColRegion, ColEnabled, ColumnCount };

    // The release decides which variant the rows are shown in.
    void setVersion(int version);
    // Replaces the rows; the row that was selected stays selected (the first
    // one when there was none) and is shown in the controls.
    void setRows(const QList<prx::MenuRow>& rows);
    QList<prx::MenuRow> rows() const;
    void clearRows();
    // -1 when no row is selected.
    int selectedRow() const;

    // Shows the selected row in the editing controls.
    void ShowSelectedMenuItem();

    QTableWidget* lstvVSHMenu = nullptr;
    QComboBox* cboVSHMenu130x = nullptr;
    QComboBox* cboVSHMenu137x = nullptr;
    QComboBox* cboVSHMenu230x = nullptr;
    QComboBox* cboVSHMenu237x = nullptr;
    QComboBox* cboVSHMenu3 = nullptr;
    std::array<QCheckBox*, 2> chkVSHMenu{};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool slim() const { return m_version >= 12; }
    QComboBox* categoryCombo() const { return slim() ? cboVSHMenu137x : cboVSHMenu130x; }
    QComboBox* iconCombo() const { return slim() ? cboVSHMenu237x : cboVSHMenu230x; }
    QString cell(int row, Column column) const;
    void setCell(int row, Column column, const QString& text);

    void categoryPicked(QComboBox* combo);
    void iconPicked(QComboBox* combo);
    void regionPicked();
    void checkClicked();

    bool& m_ready;
    int m_version = -1;
};

} // namespace qm::ui
