// The entry rows' rules, shared by the window, the import, the paste and the
// command-line calculator: the limits a typed row is held to, and adding a
// row to a list as the entry row does (merged into an equal line, or a new one).
#pragma once

#include "lists/calclists.h"

#include <cstdint>
#include <map>
#include <optional>
#include <tuple>

namespace zel {

enum class ListKind { Round, Board };

// The values an entry row reads; what a row of a list text can give.
enum class EntryField { Diameter, Width, Height, Length, Count };

struct EntryValues {
    std::int64_t size = 0;   // diameter (round) or width (boards), cm
    std::int64_t height = 0; // boards only, cm
    double length = 0.0;     // m
    std::int64_t count = 1;
};

// The fields of an entry row, in column order.
QVector<EntryField> entryFields(ListKind kind);

// The whole-number range a field takes. The round list's diameter and count
// are checked by its entry row; the board list's fields are not, so they take
// whatever a cell reads back.
struct EntryRange {
    std::int64_t low;
    std::int64_t high;
};
EntryRange entryRange(ListKind kind, EntryField field);
bool entryFits(ListKind kind, EntryField field, std::int64_t value);

// The length field of both rows: 1.0 to 15.0 m with one decimal.
constexpr double kMinLength = 1.0;
constexpr double kMaxLength = 15.0;

// The entry row's message for a value outside its range: entries 59 and 60
// with the bounds ("Maximally:  120, Minimum:  3").
QString entryLimitMessage(ListKind kind, EntryField field, UiLanguage language);

// Adds rows to a list's lines as its entry row does: a row merges into the
// first line of the same sizes and length (see scanRoundLines), otherwise it
// becomes a new line at the end. The lines are looked up once, so adding many
// rows takes time in proportion to their number. The volumes are left to the
// next recomputation.
class ListEntries {
public:
    ListEntries(Lines& lines, ListKind kind);
    // True when the row merged into a line.
    bool add(const EntryValues& row);

private:
    using Key = std::tuple<std::int64_t, std::int64_t, double>;
    Key keyOf(const EntryValues& row) const;
    std::optional<Key> keyOf(const ListLine& line) const;

    Lines& m_lines;
    ListKind m_kind;
    std::map<Key, int> m_first; // the first line of each key
};

} // namespace zel
