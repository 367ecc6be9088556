// Reports laid out on pages.
#include "report/printlayout.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace zel {
namespace {

constexpr double kDesignSize = 10.0;  // points
constexpr double kSmallestSize = 8.0; // no smaller, or a clerk cannot read it
constexpr double kSizeStep = 0.5;
constexpr double kHeadingGap = 12.0;  // below the heading, points

double paddingAt(double pointSize) { return 0.35 * pointSize; }

// The width each column needs at `size` for its texts on one line.
QVector<double> columnWidths(const ReportSource& s, double size, const TextMeasure& measure)
{
    const double pad = paddingAt(size);
    QVector<double> widths(s.columns, 2 * pad);
    for (const auto& c : s.cells)
        if (c.columnSpan == 1)
            widths[c.column] = std::max(widths[c.column], measure.width(c.text, size, c.bold) + 2 * pad);
    // A spanning cell wider than its columns widens the last of them.
    for (const auto& c : s.cells) {
        if (c.columnSpan == 1)
            continue;
        const int end = std::min(c.column + c.columnSpan, s.columns);
        const double has = std::accumulate(widths.begin() + c.column, widths.begin() + end, 0.0);
        const double needs = measure.width(c.text, size, c.bold) + 2 * pad;
        if (needs > has)
            widths[end - 1] += needs - has;
    }
    return widths;
}

double sum(const QVector<double>& v) { return std::accumulate(v.begin(), v.end(), 0.0); }


// Blocks of columns after the first, each with the first column before it
// within `room`; at least one column a block.
QVector<QPair<int, int>> columnBlocks(const QVector<double>& widths, double room)
{
    QVector<QPair<int, int>> blocks;
    int first = 1;
    while (first < widths.size()) {
        double used = widths[0] + widths[first];
        int end = first + 1;
        while (end < widths.size() && used + widths[end] <= room)
            used += widths[end++];
        blocks.append({first, end});
        first = end;
    }
    if (blocks.isEmpty())
        blocks.append({1, 1});
    return blocks;
}

// The rows a page may begin before: none that a cell above spans across.
QVector<bool> breakableBefore(const ReportSource& s)
{
    QVector<bool> ok(s.rows + 1, true);
    for (const auto& c : s.cells)
        for (int r = c.row + 1; r < c.row + c.rowSpan && r <= s.rows; ++r)
            ok[r] = false;
    return ok;
}

// The heading's lines across the top of the page, centred, each wrapping at
// its blanks where it is wider than the page; returns the height they take.
double placeHeading(QVector<PrintedText>& texts, const QStringList& lines, double size, double width,
                    const TextMeasure& measure)
{
    double top = 0.0;
    for (const QString& line : lines) {
        const double rows = std::max(1.0, std::ceil(measure.width(line, size, true) / width));
        const double h = measure.lineHeight(size) * 1.2 * rows;
        texts.append({QRectF(0, top, width, h), line, size, true});
        top += h;
    }
    return top;
}

struct Fit {
    bool turned = false;
    double size = kDesignSize;
    QVector<QPair<int, int>> blocks; // of the columns after the first
};

// The page's orientation, then turned; the design's type, then smaller down
// to the least: the first way the whole table fits across the page. Where
// none does, blocks of columns at the design's type, the way that needs
// fewer.
Fit chooseFit(const ReportSource& source, const QSizeF& area, const TextMeasure& measure)
{
    for (const bool turned : {false, true})
        for (double size = kDesignSize; size >= kSmallestSize; size -= kSizeStep)
            if (sum(columnWidths(source, size, measure)) <= (turned ? area.height() : area.width()))
                return Fit{turned, size, {{1, source.columns}}};
    const QVector<double> widths = columnWidths(source, kDesignSize, measure);
    const auto inPage = columnBlocks(widths, area.width());
    const auto inTurned = columnBlocks(widths, area.height());
    if (inTurned.size() < inPage.size())
        return Fit{true, kDesignSize, inTurned};
    return Fit{false, kDesignSize, inPage};
}

} // namespace

ReportPages layOutReport(const ReportSource& source, const QSizeF& pageArea, const TextMeasure& measure)
{
    ReportPages out;
    out.area = pageArea;
    out.pointSize = kDesignSize;
    if (source.columns == 0) {
        // No table (a report file that could not be read): its heading alone.
        QVector<PrintedText> texts;
        placeHeading(texts, source.heading, kDesignSize, pageArea.width(), measure);
        out.pages.append(texts);
        return out;
    }
    const Fit fit = chooseFit(source, pageArea, measure);
    out.turned = fit.turned;
    out.area = fit.turned ? pageArea.transposed() : pageArea;
    out.pointSize = fit.size;
    const bool fits = fit.blocks.size() == 1 && fit.blocks[0].second == source.columns;
    const QVector<QPair<int, int>>& blocks = fit.blocks;
    QVector<double> widths = columnWidths(source, out.pointSize, measure);
    const QRectF area(QPointF(), out.area);
    const double size = out.pointSize;
    out.padding = paddingAt(size);
    const double rowHeight = measure.lineHeight(size) + out.padding;

    // A table that asks for a share of the page gets it, the extra shared
    // by the shares its columns ask for (evenly where they ask none).
    if (fits && source.widthFraction > 0.0) {
        const double extra = std::min(area.width(), source.widthFraction * area.width()) - sum(widths);
        if (extra > 0.0) {
            const double asked = sum(source.columnFractions);
            for (int c = 0; c < widths.size(); ++c)
                widths[c] += extra * (asked > 0.0 ? source.columnFractions.value(c) / asked : 1.0 / widths.size());
        }
    }

    const QVector<bool> breakable = breakableBefore(source);
    const double headingSize = size * source.headingScale;
    for (int b = 0; b < blocks.size(); ++b) {
        QVector<int> shown{0};
        for (int c = blocks[b].first; c < blocks[b].second; ++c)
            shown << c;
        QVector<double> left(source.columns + 1, 0.0);
        double tableWidth = 0.0;
        for (int c : shown)
            tableWidth += widths[c];
        double x = (area.width() - tableWidth) / 2.0;
        for (int c : shown) {
            left[c] = x;
            x += widths[c];
        }
        auto place = [&](QVector<PrintedText>& texts, const ReportSource::Cell& cell, int firstRow,
                         int lastRow, double top) {
            if (!shown.contains(cell.column))
                return;
            const int rows = std::min(cell.row + cell.rowSpan, lastRow) - cell.row;
            const int columnsEnd = cell.column + cell.columnSpan;
            double width = 0.0;
            for (int c = cell.column; c < columnsEnd && c < source.columns; ++c)
                width += shown.contains(c) ? widths[c] : 0.0;
            texts.append({QRectF(left[cell.column], top + (cell.row - firstRow) * rowHeight, width,
                                 rows * rowHeight),
                          cell.text, size, cell.bold, cell.row, cell.column});
        };
        int row = 1;
        while (row < source.rows || row == 1) {
            QVector<PrintedText> texts;
            double top = 0.0;
            if (out.pages.isEmpty()) {
                top = placeHeading(texts, source.heading, headingSize, area.width(), measure);
                top += source.heading.isEmpty() ? 0.0 : kHeadingGap;
            }
            // The first row at the head of every page, then as many rows as fit.
            for (const auto& cell : source.cells)
                if (cell.row == 0)
                    place(texts, cell, 0, 1, top);
            top += rowHeight;
            int end = row;
            while (end < source.rows && top + (end + 1 - row) * rowHeight <= area.height())
                ++end;
            while (end > row + 1 && end < source.rows && !breakable[end])
                --end;
            if (end == row && row < source.rows)
                ++end; // a page too short for one row still takes one
            for (const auto& cell : source.cells)
                if (cell.row >= row && cell.row < end)
                    place(texts, cell, row, end, top);
            out.pages.append(texts);
            if (end <= row)
                break;
            row = end;
        }
    }
    return out;
}

} // namespace zel
