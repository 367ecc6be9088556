// A document of many parts on pages: headings, tables and pictures flowing
// down the page, kept together where a reader needs them together, and the
// pages numbered "N / M". Texts are measured by the caller, in points.
#pragma once

#include "report/printlayout.h"

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVector>

namespace zel {

// One thing drawn on a page, in points from the top left of the printable area.
struct PageItem {
    enum Kind {
        Text,    // one line of text (lines parted by '\n'), its box `rect`
        Line,    // a rule from rect's top left to its bottom right
        Picture, // picture number `picture` filling `rect`
    };
    Kind kind = Text;
    QRectF rect;
    QString text;
    double pointSize = 0.0;
    bool bold = false;
    bool right = false;  // the text set against the right of its box
    bool centred = false;
    int picture = -1;
};

// A piece of the flow that is never broken across pages. Its items are
// placed from its own top.
struct FlowBlock {
    double height = 0.0;
    double spaceBefore = 0.0; // dropped at the top of a page
    bool keepWithNext = false; // goes to the next page with the block after it
    // A row of a table whose heading row repeats at the top of each page it
    // goes on: that heading's block; -1 for none.
    int heading = -1;
    QVector<PageItem> items;
};

// A table as its texts: every column as wide as its widest text and the
// table spread over the width given (in smaller type, down to 7 points,
// where it would be wider), the heading row's texts wrapped at their
// blanks; the first column set to the left, the others to the right.
struct FlowTable {
    QStringList heading;
    QVector<QStringList> rows;
    bool lastRowBold = false;   // a totals row: kept with the row above it
    bool repeatHeading = false; // on every page the table goes on
};

// Blocks of a document in one type size; `measure` gives the widths.
class FlowWriter {
public:
    FlowWriter(double width, double pointSize, const TextMeasure& measure);

    // Lines of text, each wrapped at its blanks within the width, in type
    // `scale` times the writer's; returns the block's index.
    int text(const QStringList& lines, double spaceBefore, double scale = 1.0, bool bold = false,
             bool centred = false);
    // Texts side by side in columns of equal width, each wrapped within its column.
    int columns(const QVector<QStringList>& columns, double spaceBefore);
    // The table's rows, one block each; the index of its heading row's.
    int table(const FlowTable& table, double spaceBefore);
    // A picture as wide as the width and `aspect` of that high; narrower,
    // centred, where that would be higher than `maxHeight`.
    int picture(int picture, double aspect, double maxHeight, double spaceBefore);
    // The block just written goes with the next one.
    void keepWithNext() { m_blocks.last().keepWithNext = true; }
    void append(const FlowBlock& block) { m_blocks.append(block); }

    double width() const { return m_width; }
    double lineHeight(double scale = 1.0) const;
    // `text` broken at its blanks into lines no wider than `width`; a word
    // wider than that stays whole on its own line.
    QStringList wrapped(const QString& text, double width, double scale = 1.0, bool bold = false) const;
    const QVector<FlowBlock>& blocks() const { return m_blocks; }

private:
    double m_width;
    double m_size;
    const TextMeasure& m_measure;
    QVector<FlowBlock> m_blocks;
};

struct FlowPages {
    QSizeF area; // the printable area of each page, points
    QVector<QVector<PageItem>> pages;
};

// The blocks on pages of `area`, the lowest `footer` points of each holding
// its number "N / M" centred at `footerSize` points. A block goes on the
// page where it fits; one that does not begins the next, and takes with it
// the blocks before it that must go with it unless that would leave their
// page empty. A block higher than a page has one of its own.
FlowPages paginate(const QVector<FlowBlock>& blocks, const QSizeF& area, double footer, double footerSize);

} // namespace zel
