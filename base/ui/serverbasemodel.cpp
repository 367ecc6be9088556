// The server base's model: the file base's five columns, then who and where.
#include "base/ui/serverbasemodel.h"
#include "base/ui/basemodel.h"

namespace zel {

ServerBaseModel::ServerBaseModel(IServerBase& base, QObject* parent)
    : QAbstractTableModel(parent)
    , m_base(base)
{
}

void ServerBaseModel::setTitles(const QStringList& titles)
{
    m_titles = titles;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void ServerBaseModel::refresh()
{
    std::vector<BaseRecord> rows = m_rows.empty() ? m_base.page(0, kServerPage) : m_base.since(m_rows.back().No);
    const bool first = m_rows.empty();
    beginResetModel();
    m_rows = std::move(rows);
    if (first)
        m_more = m_rows.size() == size_t(kServerPage);
    else
        m_more = true; // the next page tells
    endResetModel();
}

const BaseRecord* ServerBaseModel::recordAt(int row) const
{
    return row >= 0 && row < rowCount() ? &m_rows[row] : nullptr;
}

int ServerBaseModel::rowOf(qint64 no) const
{
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].No == no)
            return static_cast<int>(i);
    return -1;
}

bool ServerBaseModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_more && !m_rows.empty();
}

void ServerBaseModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    std::vector<BaseRecord> page;
    try {
        page = m_base.page(m_rows.back().No, kServerPage);
    } catch (const std::exception&) {
        // The view asks while it paints: no box here. The next refresh
        // (a save, a delete, a change elsewhere) tries again.
        m_more = false;
        return;
    }
    m_more = page.size() == size_t(kServerPage);
    if (page.empty())
        return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(page.size()) - 1);
    m_rows.insert(m_rows.end(), page.begin(), page.end());
    endInsertRows();
}

int ServerBaseModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ServerBaseModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kBaseColumns + 2;
}

QVariant ServerBaseModel::data(const QModelIndex& index, int role) const
{
    const BaseRecord* r = recordAt(index.row());
    if (!index.isValid() || !r)
        return QVariant();
    if (role == Qt::DisplayRole && index.column() == kBaseColumns)
        return r->Who;
    if (role == Qt::DisplayRole && index.column() == kBaseColumns + 1)
        return r->Computer;
    return baseCell(*r, index.column(), role);
}

QVariant ServerBaseModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_titles.value(section);
    return QVariant();
}

} // namespace zel
