// The cubature table model: the grid's header row and column become the
// view's headers, so they stay in place while the body scrolls.
#include "cubtable/ui/cubtablemodel.h"

namespace zel {

void CubTableModel::setTable(const CubTable& table)
{
    beginResetModel();
    m_table = table;
    endResetModel();
}

int CubTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(0, m_table.rows - 1);
}

int CubTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(0, m_table.columns - 1);
}

QVariant CubTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    if (role == Qt::DisplayRole)
        return m_table.cell(index.column() + 1, index.row() + 1);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return QVariant();
}

QVariant CubTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section + 1 < m_table.columns ? m_table.cell(section + 1, 0) : QString();
    return section + 1 < m_table.rows ? m_table.cell(0, section + 1) : QString();
}

} // namespace zel
