// The cubature table as an item model: lengths across, diameters down.
#pragma once

#include "cubtable/cubtable.h"

#include <QAbstractTableModel>

namespace zel {

class CubTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setTable(const CubTable& table);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    CubTable m_table;
};

} // namespace zel
