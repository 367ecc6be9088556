// The entry rows' limits and adding rows by their rules.
#include "lists/listentry.h"

#include <limits>

namespace zel {

QVector<EntryField> entryFields(ListKind kind)
{
    if (kind == ListKind::Round)
        return {EntryField::Diameter, EntryField::Length, EntryField::Count};
    return {EntryField::Width, EntryField::Height, EntryField::Length, EntryField::Count};
}

EntryRange entryRange(ListKind kind, EntryField field)
{
    if (kind == ListKind::Round && field == EntryField::Diameter)
        return {3, 120};
    if (kind == ListKind::Round && field == EntryField::Count)
        return {1, 10000};
    return {0, std::numeric_limits<int>::max()};
}

bool entryFits(ListKind kind, EntryField field, std::int64_t value)
{
    const EntryRange r = entryRange(kind, field);
    return value >= r.low && value <= r.high;
}

QString entryLimitMessage(ListKind kind, EntryField field, UiLanguage language)
{
    const EntryRange r = entryRange(kind, field);
    return Lang(59, language) + QStringLiteral(" %1, ").arg(r.high) + Lang(60, language)
           + QStringLiteral(" %1").arg(r.low);
}

ListEntries::ListEntries(Lines& lines, ListKind kind)
    : m_lines(lines), m_kind(kind)
{
    for (int i = 0; i < m_lines.size(); ++i) {
        if (const auto key = keyOf(m_lines[i]))
            m_first.emplace(*key, i); // keeps the first line of a key
    }
}

ListEntries::Key ListEntries::keyOf(const EntryValues& row) const
{
    return {row.size, m_kind == ListKind::Board ? row.height : 0, row.length};
}

std::optional<ListEntries::Key> ListEntries::keyOf(const ListLine& line) const
{
    // The merge key the entry row's own scan compares.
    LineValues v;
    const bool read = m_kind == ListKind::Round ? roundLineValues(line, v) : boardLineValues(line, v);
    if (!read)
        return std::nullopt; // a line that does not read is no match
    return Key{v.size, m_kind == ListKind::Board ? v.height : 0, v.length};
}

bool ListEntries::add(const EntryValues& row)
{
    const Key key = keyOf(row);
    const auto found = m_first.find(key);
    const int countColumn = m_kind == ListKind::Round ? 2 : 3;
    if (found != m_first.end() && addToCount(m_lines[found->second], countColumn, row.count))
        return true;
    // A sum past the largest count goes to a line of its own, as the entry
    // row does; the first line stays the one later rows merge into.
    if (m_kind == ListKind::Round)
        m_lines.append(newRoundLine(QString::number(row.size), row.length, QString::number(row.count)));
    else
        m_lines.append(newBoardLine(QString::number(row.size), QString::number(row.height), row.length,
                                    QString::number(row.count)));
    if (found == m_first.end())
        m_first.emplace(key, m_lines.size() - 1);
    return false;
}

} // namespace zel
