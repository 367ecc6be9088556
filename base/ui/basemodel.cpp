// The base model: No, DateTime, Name, Category, volume.
#include "base/ui/basemodel.h"

#include <QLocale>

namespace zel {

BaseModel::BaseModel(CalcBase& base, QObject* parent)
    : QAbstractTableModel(parent)
    , m_base(base)
{
}

void BaseModel::setTitles(const QStringList& titles)
{
    m_titles = titles;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void BaseModel::reload()
{
    beginResetModel();
    endResetModel();
}

void BaseModel::appended()
{
    const int row = m_base.size() - 1;
    beginInsertRows(QModelIndex(), row, row);
    endInsertRows();
}

void BaseModel::removeRecord(int index)
{
    beginRemoveRows(QModelIndex(), index, index);
    m_base.remove(index);
    endRemoveRows();
}

int BaseModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_base.size();
}

int BaseModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kBaseColumns;
}

QVariant BaseModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_base.size())
        return QVariant();
    return baseCell(m_base.records()[index.row()], index.column(), role);
}

QVariant baseCell(const BaseRecord& r, int column, int role)
{
    if (role == Qt::DisplayRole) {
        switch (column) {
        case 0: return r.No;
        case 1: return QLocale().toString(r.DateTime, QLocale::ShortFormat);
        case 2: return r.Name;
        case 3: return r.Category;
        case 4: return QLocale().toString(r.volume, 'f', 4);
        }
    }
    if (role == Qt::TextAlignmentRole && (column == 0 || column == 4))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return QVariant();
}

QVariant BaseModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_titles.value(section);
    return QVariant();
}

} // namespace zel
