// What one change did to a list, as the run of lines it replaced: enough to
// take the change back or make it again, however long the list.
#pragma once

#include "lists/calclists.h"

namespace zel {

// The lines [start, start + removed.size()) of the list before the change
// became `inserted`; the lines in front of them and behind them stayed.
struct LinesDiff {
    int start = 0;
    Lines removed;
    Lines inserted;

    bool isEmpty() const { return removed.isEmpty() && inserted.isEmpty(); }
};

// The one run of lines that differs between two states of a list: the equal
// lines (same texts and icon) at both ends are left out.
LinesDiff diffLines(const Lines& before, const Lines& after);

// Replaces the `count` lines at `start` by `with`.
void replaceLines(Lines& lines, int start, int count, const Lines& with);

} // namespace zel
