#pragma once

// The main-menu entries of an editor's values as a table of five columns:
// "Order" (the icon code), "Main Menu", "Icon", "Region", "Enabled", each
// as the menu list shows it ("ERROR" for a code the release can't read).

#include <QAbstractTableModel>

namespace qm::doc {
class ModuleDocument;
}

namespace qm::ui {

class VshMenuModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColOrder, ColMainMenu, ColIcon, ColRegion, ColEnabled, ColumnCount };

    explicit VshMenuModel(const doc::ModuleDocument& document, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The text of one cell, as shown.
    QString text(int row, Column column) const;
    static QString heading(Column column);

    // The rows follow the values: all of them after a load, the changed ones after an edit.
    void reset();

private:
    void valueChanged(int member);

    const doc::ModuleDocument& m_document;
    int m_rows = 0;
};

} // namespace qm::ui
