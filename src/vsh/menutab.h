#pragma once

// The "Menu" tab: the main-menu entries as a table of rows, and the combos
// and check boxes that change the selected row. Releases 8 to 11 use the
// classic controls, 12 to 14 the slim ones; both sets share one place. The
// controls show the selected row as the values hold it, also after an undo
// or a redo.

#include "menumodel.h"
#include "prx/menu.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QTableView;

namespace qm::doc {
class EditingDocument;
}

namespace qm::ui {

class VshMenuTab final : public QWidget {
    Q_OBJECT
public:
    explicit VshMenuTab(doc::EditingDocument& document, QWidget* parent = nullptr);

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

    // The controls: off and the variants' combos hidden without a module;
    // after a load, those of the release's menu format.
    void setControlsEnabled(bool enabled);
    void applyRelease();

    VshMenuModel* model() const { return m_model; }
    QTableView* list() const { return m_list; }
    QComboBox* categoryBox(prx::MenuFormat format) const { return m_categories[index(format)]; }
    QComboBox* iconBox(prx::MenuFormat format) const { return m_icons[index(format)]; }
    QComboBox* regionBox() const { return m_region; }
    QCheckBox* activateBox() const { return m_activate; }
    QCheckBox* slimBox() const { return m_slim; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static std::size_t index(prx::MenuFormat format) { return format == prx::MenuFormat::Slim ? 1 : 0; }
    bool slim() const;
    prx::ReleaseId release() const;
    prx::MenuFormat format() const { return slim() ? prx::MenuFormat::Slim : prx::MenuFormat::Classic; }
    // Shows the selected row in the editing controls.
    void showSelected();
    // Changes the selected entry; nothing while no row is selected.
    template <typename Change> void changeSelected(Change&& change);

    void categoryPicked(QComboBox* combo);
    void iconPicked(QComboBox* combo);
    void regionPicked();
    void stateClicked(QCheckBox* box);

    doc::EditingDocument& m_document;
    VshMenuModel* m_model;
    QTableView* m_list = nullptr;
    std::array<QComboBox*, 2> m_categories{}; // classic, slim
    std::array<QComboBox*, 2> m_icons{};
    QComboBox* m_region = nullptr;
    QCheckBox* m_activate = nullptr;
    QCheckBox* m_slim = nullptr;
};

} // namespace qm::ui
