// The item model behind both list views: the lines' texts, icons and colour.
#pragma once

#include "lists/calclists.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <QStringList>

#include <vector>

class QCollator;

namespace zel {

class LinesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit LinesModel(int columns, QObject* parent = nullptr);

    // The lines themselves; after changing cells in place, call linesChanged().
    Lines& lines() { return m_lines; }
    const Lines& lines() const { return m_lines; }
    int size() const { return static_cast<int>(m_lines.size()); }

    void append(const ListLine& line);
    void removeLine(int row);
    void clearLines();
    void setLines(const Lines& lines);
    // The views repaint these lines only (row numbers, ascending).
    void linesChanged(const std::vector<int>& rows);
    // Stable sort by the text of column 1; views keep their selection. When
    // the lines were in that order after the last sort, only the `changed`
    // rows and those appended since may have left it: only they are placed
    // again, the others are not compared anew.
    void sortByFirstColumn(const QCollator& collator, const std::vector<int>& changed = {});
    // The lines may be in any order now (the list is no longer kept sorted).
    void forgetOrder() { m_inOrder = false; }

    void setHeaders(const QStringList& headers);
    QString header(int column) const { return m_headers.value(column); }
    void setIcon(int index, const QIcon& icon);

    // The text colour of a line: red exactly when its icon is the fallback one.
    static QColor ListView1CustomDrawItem(int icon);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void applyOrder(const std::vector<int>& order);

    int m_columns;
    Lines m_lines;
    // After a sort: the lines were in order, the first m_sortedRows of them.
    bool m_inOrder = false;
    int m_sortedRows = 0;
    QStringList m_headers;
    QHash<int, QIcon> m_icons;
};

} // namespace zel
