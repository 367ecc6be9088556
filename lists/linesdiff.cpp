// The run of lines a change replaced.
#include "lists/linesdiff.h"

#include <algorithm>

namespace zel {
namespace {

bool sameLine(const ListLine& a, const ListLine& b)
{
    return a.icon == b.icon && sameCells(a.cells, b.cells);
}

} // namespace

LinesDiff diffLines(const Lines& before, const Lines& after)
{
    const int shorter = static_cast<int>(std::min(before.size(), after.size()));
    int front = 0;
    while (front < shorter && sameLine(before[front], after[front]))
        ++front;
    int back = 0;
    while (back < shorter - front
           && sameLine(before[before.size() - 1 - back], after[after.size() - 1 - back]))
        ++back;
    LinesDiff d;
    d.start = front;
    d.removed = before.mid(front, before.size() - front - back);
    d.inserted = after.mid(front, after.size() - front - back);
    return d;
}

void replaceLines(Lines& lines, int start, int count, const Lines& with)
{
    Lines out;
    out.reserve(lines.size() - count + with.size());
    out.append(lines.mid(0, start));
    out.append(with);
    out.append(lines.mid(start + count));
    lines = std::move(out);
}

} // namespace zel
