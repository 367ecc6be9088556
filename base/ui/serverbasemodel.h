// The records of the server base as an item model: newest first, read a page
// at a time as the view scrolls down to them.
#pragma once

#include "base/serverbase.h"

#include <QAbstractTableModel>

namespace zel {

class ServerBaseModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ServerBaseModel(IServerBase& base, QObject* parent = nullptr);

    void setTitles(const QStringList& titles);
    // Reads again what is shown (and what came since): records deleted
    // elsewhere go, new ones come. Throws BaseError; what is shown stays.
    void refresh();
    const BaseRecord* recordAt(int row) const;
    int rowOf(qint64 no) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    IServerBase& m_base;
    std::vector<BaseRecord> m_rows;
    bool m_more = true;
    QStringList m_titles;
};

} // namespace zel
