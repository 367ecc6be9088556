// The lines model.
#include "lists/ui/linesmodel.h"

#include <QCollator>
#include <QColor>
#include <QGuiApplication>
#include <QPalette>

#include <algorithm>
#include <utility>

namespace zel {

LinesModel::LinesModel(int columns, QObject* parent)
    : QAbstractTableModel(parent)
    , m_columns(columns)
{
}

void LinesModel::append(const ListLine& line)
{
    beginInsertRows(QModelIndex(), size(), size());
    m_lines.append(line);
    endInsertRows();
}

void LinesModel::removeLine(int row)
{
    if (row < 0 || row >= size())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_lines.removeAt(row);
    if (row < m_sortedRows)
        --m_sortedRows;
    endRemoveRows();
}

void LinesModel::clearLines()
{
    setLines(Lines());
}

void LinesModel::setLines(const Lines& lines)
{
    beginResetModel();
    m_lines = lines;
    m_inOrder = false;
    endResetModel();
}

void LinesModel::linesChanged(const std::vector<int>& rows)
{
    // One signal for each run of neighbouring lines.
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t j = i + 1;
        while (j < rows.size() && rows[j] == rows[j - 1] + 1)
            ++j;
        emit dataChanged(index(rows[i], 0), index(rows[j - 1], m_columns - 1));
        i = j;
    }
}

void LinesModel::sortByFirstColumn(const QCollator& collator, const std::vector<int>& changed)
{
    // The rows to place again: the changed ones and those appended since.
    std::vector<int> moving = changed;
    for (int row = m_sortedRows; row < size(); ++row)
        moving.push_back(row);
    std::sort(moving.begin(), moving.end());
    moving.erase(std::unique(moving.begin(), moving.end()), moving.end());
    const bool fewMoved = moving.size() <= std::max<std::size_t>(64, m_lines.size() / 16);
    const bool wasInOrder = m_inOrder;
    m_inOrder = true;
    m_sortedRows = size();
    if (!wasInOrder || !fewMoved) {
        applyOrder(firstColumnOrder(m_lines, collator));
        return;
    }
    // The others are still in order, equal texts by row. Each moving row goes
    // after the rows whose text sorts before its own and, among equal texts,
    // after those that stood above it: where a stable sort of all rows puts it.
    std::vector<int> order;
    order.reserve(m_lines.size());
    auto next = moving.begin();
    for (int row = 0; row < size(); ++row) {
        if (next != moving.end() && *next == row)
            ++next;
        else
            order.push_back(row);
    }
    const auto text = [this](int row) { return std::as_const(m_lines)[row].cells.value(0); };
    for (int row : moving) {
        const QString key = text(row);
        const auto first = std::lower_bound(order.begin(), order.end(), row, [&](int a, int) {
            return collator.compare(text(a), key) < 0;
        });
        const auto last = std::upper_bound(first, order.end(), row, [&](int, int b) {
            return collator.compare(key, text(b)) < 0;
        });
        order.insert(std::upper_bound(first, last, row), row);
    }
    applyOrder(order);
}

void LinesModel::applyOrder(const std::vector<int>& order)
{
    if (std::is_sorted(order.begin(), order.end()))
        return;
    emit layoutAboutToBeChanged();
    Lines sorted;
    sorted.reserve(m_lines.size());
    std::vector<int> newRow(order.size());
    for (int i = 0; i < static_cast<int>(order.size()); ++i) {
        sorted.append(m_lines[order[i]]);
        newRow[order[i]] = i;
    }
    m_lines = sorted;
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    for (const QModelIndex& i : before)
        after << index(newRow[i.row()], i.column());
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

void LinesModel::setHeaders(const QStringList& headers)
{
    m_headers = headers;
    emit headerDataChanged(Qt::Horizontal, 0, m_columns - 1);
}

void LinesModel::setIcon(int index, const QIcon& icon)
{
    m_icons[index] = icon;
}

QColor LinesModel::ListView1CustomDrawItem(int icon)
{
    return icon == kIconFallback ? QColor(Qt::red) : QGuiApplication::palette().color(QPalette::WindowText);
}

int LinesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : size();
}

int LinesModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant LinesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= size())
        return QVariant();
    const ListLine& line = m_lines[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return line.cells.value(index.column());
    case Qt::DecorationRole:
        if (index.column() == 0 && m_icons.contains(line.icon))
            return m_icons.value(line.icon);
        return QVariant();
    case Qt::ForegroundRole:
        return ListView1CustomDrawItem(line.icon);
    default:
        return QVariant();
    }
}

QVariant LinesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_headers.value(section);
    return QVariant();
}

} // namespace zel
