// Documents of many parts laid out on pages.
#include "report/pageflow.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace zel {
namespace {

constexpr double kLineSpacing = 1.2;  // of a line's height, between lines of text
constexpr double kSmallestTable = 7.0; // points: a table narrower than that is not read
constexpr double kColumnGap = 18.0;    // between columns of text, points

double paddingAt(double pointSize) { return 0.35 * pointSize; }

PageItem rule(double x1, double y1, double x2, double y2)
{
    PageItem item;
    item.kind = PageItem::Line;
    item.rect = QRectF(QPointF(x1, y1), QPointF(x2, y2));
    return item;
}

bool vertical(const PageItem& item)
{
    return item.kind == PageItem::Line && item.rect.width() == 0.0;
}

// The rules between the cells of a table's rows, one per row, joined into
// one per column and page: a page of a long list draws a few dozen rules,
// not one for every cell.
void joinRules(QVector<PageItem>& items)
{
    QHash<qint64, int> last; // by x in thousandths of a point: the rule that ends lowest
    QVector<PageItem> out;
    out.reserve(items.size());
    for (const PageItem& item : items) {
        if (vertical(item)) {
            const qint64 key = std::llround(item.rect.left() * 1000.0);
            const auto it = last.constFind(key);
            if (it != last.constEnd() && std::abs(out[*it].rect.bottom() - item.rect.top()) < 1e-6) {
                out[*it].rect.setBottom(item.rect.bottom());
                continue;
            }
            last.insert(key, static_cast<int>(out.size()));
        }
        out.append(item);
    }
    items = std::move(out);
}

} // namespace

FlowWriter::FlowWriter(double width, double pointSize, const TextMeasure& measure)
    : m_width(width), m_size(pointSize), m_measure(measure)
{
}

double FlowWriter::lineHeight(double scale) const
{
    return m_measure.lineHeight(m_size * scale);
}

QStringList FlowWriter::wrapped(const QString& text, double width, double scale, bool bold) const
{
    const double size = m_size * scale;
    if (m_measure.width(text, size, bold) <= width)
        return {text};
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && m_measure.width(longer, size, bold) > width) {
            lines << line;
            line = word;
        } else {
            line = longer;
        }
    }
    lines << line;
    return lines;
}

int FlowWriter::text(const QStringList& lines, double spaceBefore, double scale, bool bold, bool centred)
{
    FlowBlock block;
    block.spaceBefore = spaceBefore;
    const double step = lineHeight(scale) * kLineSpacing;
    for (const QString& line : lines) {
        for (const QString& part : wrapped(line, m_width, scale, bold)) {
            PageItem item;
            item.rect = QRectF(0.0, block.height, m_width, step);
            item.text = part;
            item.pointSize = m_size * scale;
            item.bold = bold;
            item.centred = centred;
            block.items.append(item);
            block.height += step;
        }
    }
    m_blocks.append(block);
    return static_cast<int>(m_blocks.size()) - 1;
}

int FlowWriter::columns(const QVector<QStringList>& columns, double spaceBefore)
{
    FlowBlock block;
    block.spaceBefore = spaceBefore;
    const int n = std::max(1, static_cast<int>(columns.size()));
    const double columnWidth = (m_width - (n - 1) * kColumnGap) / n;
    const double step = lineHeight() * kLineSpacing;
    for (int c = 0; c < columns.size(); ++c) {
        double top = 0.0;
        for (const QString& line : columns[c]) {
            for (const QString& part : wrapped(line, columnWidth)) {
                PageItem item;
                item.rect = QRectF(c * (columnWidth + kColumnGap), top, columnWidth, step);
                item.text = part;
                item.pointSize = m_size;
                block.items.append(item);
                top += step;
            }
        }
        block.height = std::max(block.height, top);
    }
    m_blocks.append(block);
    return static_cast<int>(m_blocks.size()) - 1;
}

int FlowWriter::table(const FlowTable& t, double spaceBefore)
{
    const int columns = static_cast<int>(t.heading.size());
    // Widths at the writer's type; at a smaller type they shrink with it.
    const double pad = paddingAt(m_size);
    QVector<double> widths(columns, 2 * pad);
    for (int c = 0; c < columns; ++c)
        for (const QString& word : t.heading[c].split(QLatin1Char(' '), Qt::SkipEmptyParts))
            widths[c] = std::max(widths[c], m_measure.width(word, m_size, true) + 2 * pad);
    for (int r = 0; r < t.rows.size(); ++r) {
        const bool bold = t.lastRowBold && r == t.rows.size() - 1;
        const QStringList& row = t.rows[r];
        for (int c = 0; c < columns && c < row.size(); ++c)
            widths[c] = std::max(widths[c], m_measure.width(row[c], m_size, bold) + 2 * pad);
    }
    const double needed = std::accumulate(widths.begin(), widths.end(), 0.0);
    double size = m_size;
    if (needed > m_width)
        size = std::max(kSmallestTable, std::floor(2.0 * m_size * m_width / needed) / 2.0);
    const double shrink = size / m_size;
    const double extra = std::max(0.0, m_width - needed * shrink) / std::max(1, columns);
    QVector<double> left(columns + 1, 0.0);
    for (int c = 0; c < columns; ++c) {
        widths[c] = widths[c] * shrink + extra;
        left[c + 1] = left[c] + widths[c];
    }
    const double cellPad = pad * shrink;
    const double lineH = m_measure.lineHeight(size);
    const double rowHeight = lineH + cellPad;

    const auto row = [&](const QStringList& texts, bool bold, bool heading) {
        FlowBlock block;
        QVector<QStringList> lines(columns);
        int most = 1;
        for (int c = 0; c < columns; ++c) {
            const QString text = texts.value(c);
            lines[c] = heading ? wrapped(text, widths[c] - 2 * cellPad, shrink, true) : QStringList{text};
            most = std::max(most, static_cast<int>(lines[c].size()));
        }
        block.height = most * lineH + cellPad;
        for (int c = 0; c < columns; ++c) {
            PageItem item;
            item.rect = QRectF(left[c] + cellPad, 0.0, widths[c] - 2 * cellPad, block.height);
            item.text = lines[c].join(QLatin1Char('\n'));
            item.pointSize = size;
            item.bold = bold || heading;
            item.right = !heading && c > 0;
            item.centred = heading;
            if (!item.text.isEmpty())
                block.items.append(item);
        }
        if (heading)
            block.items.append(rule(0.0, 0.0, left[columns], 0.0));
        block.items.append(rule(0.0, block.height, left[columns], block.height));
        for (int c = 0; c <= columns; ++c)
            block.items.append(rule(left[c], 0.0, left[c], block.height));
        return block;
    };

    FlowBlock heading = row(t.heading, true, true);
    heading.spaceBefore = spaceBefore;
    heading.keepWithNext = true; // never alone at a page's foot
    m_blocks.append(heading);
    const int headingIndex = static_cast<int>(m_blocks.size()) - 1;
    m_blocks.reserve(m_blocks.size() + t.rows.size());
    for (int r = 0; r < t.rows.size(); ++r) {
        const bool last = r == t.rows.size() - 1;
        FlowBlock block = row(t.rows[r], t.lastRowBold && last, false);
        block.height = rowHeight;
        block.heading = t.repeatHeading ? headingIndex : -1;
        // The totals row never begins a page alone.
        block.keepWithNext = t.lastRowBold && r == t.rows.size() - 2;
        m_blocks.append(std::move(block));
    }
    return headingIndex;
}

int FlowWriter::picture(int picture, double aspect, double maxHeight, double spaceBefore)
{
    FlowBlock block;
    block.spaceBefore = spaceBefore;
    const double height = std::min(m_width * aspect, maxHeight);
    const double width = aspect > 0.0 ? height / aspect : m_width;
    PageItem item;
    item.kind = PageItem::Picture;
    item.picture = picture;
    item.rect = QRectF((m_width - width) / 2.0, 0.0, width, height);
    block.items.append(item);
    block.height = height;
    m_blocks.append(block);
    return static_cast<int>(m_blocks.size()) - 1;
}

FlowPages paginate(const QVector<FlowBlock>& blocks, const QSizeF& area, double footer, double footerSize)
{
    FlowPages out;
    out.area = area;
    const double body = area.height() - footer;

    QVector<PageItem> page;
    QVector<int> placedAt; // the first item of each block placed on the page
    int first = 0;         // the page's first block
    double bottom = 0.0;
    const auto place = [&](const FlowBlock& b, double top) {
        for (PageItem item : b.items) {
            item.rect.translate(0.0, top);
            page.append(item);
        }
        bottom = top + b.height;
    };
    const auto newPage = [&](int next) {
        joinRules(page);
        out.pages.append(page);
        page.clear();
        placedAt.clear();
        first = next;
        bottom = 0.0;
        const int heading = next < blocks.size() ? blocks[next].heading : -1;
        if (heading >= 0 && heading != next)
            place(blocks[heading], 0.0);
    };

    int i = 0;
    while (i < blocks.size()) {
        const FlowBlock& b = blocks[i];
        const bool empty = placedAt.isEmpty();
        const double top = empty ? bottom : bottom + b.spaceBefore;
        if (!empty && top + b.height > body) {
            // The blocks that go with this one leave with it, as long as
            // something stays behind.
            int from = i;
            while (from - 1 > first && blocks[from - 1].keepWithNext)
                --from;
            if (from - 1 == first && blocks[first].keepWithNext)
                from = i;
            if (from < i)
                page.resize(placedAt[from - first]);
            newPage(from);
            i = from;
            continue;
        }
        placedAt.append(static_cast<int>(page.size()));
        place(b, top);
        ++i;
    }
    if (!page.isEmpty() || out.pages.isEmpty()) {
        joinRules(page);
        out.pages.append(page);
    }

    const int count = static_cast<int>(out.pages.size());
    for (int p = 0; p < count; ++p) {
        PageItem number;
        number.rect = QRectF(0.0, area.height() - footer, area.width(), footer);
        number.text = QString::number(p + 1) + QStringLiteral(" / ") + QString::number(count);
        number.pointSize = footerSize;
        number.centred = true;
        out.pages[p].append(number);
    }
    return out;
}

} // namespace zel
