// The records of the calculation base as an item model.
#pragma once

#include "base/calcbase.h"

#include <QAbstractTableModel>

namespace zel {

// No, DateTime, Name, Category, volume: a record's cell as the table shows it.
constexpr int kBaseColumns = 5;
QVariant baseCell(const BaseRecord& record, int column, int role);

class BaseModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit BaseModel(CalcBase& base, QObject* parent = nullptr);

    void setTitles(const QStringList& titles);
    void reload();
    void appended();
    void removeRecord(int index);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    CalcBase& m_base;
    QStringList m_titles;
};

} // namespace zel
