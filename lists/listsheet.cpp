// The worksheet of a list.
#include "lists/listsheet.h"
#include "lists/listwriter.h"

#include <algorithm>
#include <utility>

namespace zel {
namespace {

constexpr int kHeaderRow = 3;

SheetCell textCell(int row, int column, const QString& text)
{
    SheetCell c;
    c.row = row;
    c.column = column;
    c.text = text;
    return c;
}

// A number text written with a point, as a number with its decimals.
SheetCell numberCell(int row, int column, const QString& text)
{
    SheetCell c;
    c.row = row;
    c.column = column;
    c.text = text;
    c.number = text.toDouble(&c.isNumber);
    if (!c.isNumber)
        return c; // a cell that does not read stays its text
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (text.contains(QLatin1Char('E')))
        c.decimals = -1;
    else
        c.decimals = point < 0 ? 0 : static_cast<int>(text.size() - point - 1);
    return c;
}

QString columnLetter(int column)
{
    return QString(QChar(u'A' + column));
}

} // namespace

ListSheet listSheet(const Lines& lines, ListKind kind, CalcMethod method, UiLanguage language,
                    const QDateTime& when)
{
    ListSheet sheet;
    sheet.name = Lang(kind == ListKind::Round ? 44 : 89, language);
    sheet.cells << textCell(0, 0, Lang(kind == ListKind::Round ? 36 + static_cast<int>(method) : 89, language));
    sheet.cells << textCell(1, 0, Lang(47, language))
                << textCell(1, 1, when.toString(QStringLiteral("dd.MM.yyyy hh:mm")));
    sheet.cells.last().dateTime = when;
    sheet.headerRow = kHeaderRow;
    const QStringList captions = exportCaptions(kind, language);
    for (int c = 0; c < captions.size(); ++c)
        sheet.cells << textCell(kHeaderRow, c, captions[c]);

    // Columns summed in the totals row: count, volume and (boards) area.
    const QVector<int> summed = kind == ListKind::Round ? QVector<int>{3, 4} : QVector<int>{4, 5, 6};
    QVector<double> sums(captions.size(), 0.0);
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList row = exportRow(lines[i], i + 1, kind, QLatin1Char('.'));
        for (int c = 0; c < row.size(); ++c) {
            const SheetCell cell = numberCell(kHeaderRow + 1 + i, c, row[c]);
            sums[c] += cell.number;
            sheet.cells << cell;
        }
    }
    if (!lines.isEmpty()) {
        const int totalsRow = kHeaderRow + 1 + static_cast<int>(lines.size());
        sheet.cells << textCell(totalsRow, 0, Lang(132, language));
        for (int c : summed) {
            SheetCell cell = numberCell(totalsRow, c, QString());
            cell.isNumber = true;
            cell.number = sums[c];
            cell.decimals = c == summed.first() ? 0 : 4; // the count is whole
            // Rows count from 1 in a formula; the data start below the captions.
            cell.formula = QStringLiteral("=SUM(%1%2:%1%3)")
                               .arg(columnLetter(c))
                               .arg(kHeaderRow + 2)
                               .arg(totalsRow);
            sheet.cells << cell;
        }
    }
    sheet.widths.fill(0.0, captions.size());
    for (const SheetCell& cell : std::as_const(sheet.cells)) {
        if (cell.row == 0 || cell.column >= sheet.widths.size())
            continue; // the title may run over the cells beside it
        const double shown = cell.formula.isEmpty() ? cell.text.size() : QString::number(cell.number, 'f', 4).size();
        sheet.widths[cell.column] = std::max(sheet.widths[cell.column], shown + 2.0);
    }
    return sheet;
}

} // namespace zel
