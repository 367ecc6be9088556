// A report as it prints: its heading and its table laid out on pages, the
// same pages for the printer and for the preview. Texts are measured by the
// caller, in points.
#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVector>

namespace zel {

// What a report's HTML holds: the heading lines above its one table, and the
// table's cells (spans given at a spanning cell's first row and column).
struct ReportSource {
    struct Cell {
        QString text;
        int row = 0;
        int column = 0;
        int rowSpan = 1;
        int columnSpan = 1;
        bool bold = false;
    };
    QStringList heading;
    double headingScale = 1.0; // of the heading's type to the table's
    int rows = 0;
    int columns = 0;
    QVector<Cell> cells;
    double widthFraction = 0.0;      // of the page the table asks for; 0: as its texts need
    QVector<double> columnFractions; // of the table each column asks for; 0: none
};

// One text placed on a page, in points from the top left of the printable area.
struct PrintedText {
    QRectF rect;
    QString text;
    double pointSize = 0.0;
    bool bold = false;
    int row = -1;    // table cells: their row and column in the table;
    int column = -1; // heading lines: -1
};

struct ReportPages {
    bool turned = false;    // laid out on the paper turned a quarter
    QSizeF area;            // the printable area of each page, points
    double pointSize = 0.0; // the table's type
    double padding = 0.0;   // between a cell's frame and its text, points
    QVector<QVector<PrintedText>> pages;
};

// Widths and heights of texts, in points.
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    virtual double width(const QString& text, double pointSize, bool bold) const = 0;
    // The height of a line of bold text.
    virtual double lineHeight(double pointSize) const = 0;
};

// Lays the report out on pages whose printable area is `area` (the margins
// the same all round, so that turned it is `area` transposed): the table's
// type is 10 points, smaller down to 8 points where that lets the table fit
// the page's width, the page as given first, then turned; a table that fits
// neither way is cut into blocks of columns, each beginning on a new page.
// No text is broken: each cell is one line as wide as its text. Every page
// begins with the table's first row, every block with its first column.
ReportPages layOutReport(const ReportSource& source, const QSizeF& area, const TextMeasure& measure);

} // namespace zel
