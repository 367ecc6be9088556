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
    // Stable sort by the text of column 1; views keep their selection.
    void sortByFirstColumn(const QCollator& collator);

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
    int m_columns;
    Lines m_lines;
    QStringList m_headers;
    QHash<int, QIcon> m_icons;
};

} // namespace zel
