#include "menumodel.h"

#include "document/moduledocument.h"
#include "looks/menunames.h"

namespace qm::ui {
namespace {

constexpr std::array<const char*, VshMenuModel::ColumnCount> kHeadings{"Order", "Main Menu", "Icon", "Region",
                                                                       "Enabled"};

} // namespace

VshMenuModel::VshMenuModel(const doc::ModuleDocument& document, QObject* parent)
    : QAbstractTableModel(parent), m_document(document) {
    connect(&document, &doc::ModuleDocument::valueChanged, this, &VshMenuModel::valueChanged);
}

int VshMenuModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int VshMenuModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString VshMenuModel::heading(Column column) {
    return QString::fromLatin1(kHeadings[static_cast<std::size_t>(column)]);
}

QString VshMenuModel::text(int row, Column column) const {
    if (row < 0 || row >= m_rows)
        return {};
    const prx::ModuleValues& values = m_document.values();
    const looks::MenuTexts t = looks::menuTexts(values.menu().at(row), values.release());
    switch (column) {
    case ColOrder:
        return t.order;
    case ColMainMenu:
        return t.category;
    case ColIcon:
        return t.icon;
    case ColRegion:
        return t.region;
    case ColEnabled:
    case ColumnCount:
        break;
    }
    return t.enabled;
}

QVariant VshMenuModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    return text(index.row(), static_cast<Column>(index.column()));
}

QVariant VshMenuModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount ||
        (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return QAbstractTableModel::headerData(section, orientation, role);
    return heading(static_cast<Column>(section));
}

void VshMenuModel::reset() {
    beginResetModel();
    const prx::ModuleValues& values = m_document.values();
    m_rows = values.has(prx::VshMember::MenuEntries) ? static_cast<int>(values.menu().size()) : 0;
    endResetModel();
}

void VshMenuModel::valueChanged(int member) {
    if (member != static_cast<int>(prx::VshMember::MenuEntries) || m_rows == 0)
        return;
    Q_EMIT dataChanged(index(0, 0), index(m_rows - 1, ColumnCount - 1));
}

} // namespace qm::ui
