// The list as a worksheet: what the workbook export writes, cell by cell.
#pragma once

#include "lists/listentry.h"

#include <QDateTime>
#include <QString>
#include <QVector>

#include <functional>

namespace zel {

struct SheetCell {
    int row = 0; // from 0
    int column = 0;
    QString text;     // a text cell, unless it is a number or a formula
    bool isNumber = false;
    double number = 0.0; // a number, or the cached result of the formula
    int decimals = -1;   // decimals shown; -1 for the general format
    QString formula;     // "=SUM(E5:E9)"
    QDateTime dateTime;  // when valid, a date cell ("dd.mm.yyyy hh:mm"); `text` as shown
};

struct ListSheet {
    QString name;
    QVector<SheetCell> cells;
    QVector<double> widths; // per column, in characters
    // Printed one page wide, this row at the top of every page.
    int headerRow = -1;
};

// The method (the board list's name for boards) and the date (a date cell)
// above the table; the export's captions; a row per line with its numbers as numbers,
// shown with the list's decimals; a totals row summing count, volume and area
// with SUM formulas whose results are written with them.
ListSheet listSheet(const Lines& lines, ListKind kind, CalcMethod method, UiLanguage language,
                    const QDateTime& when);

// Writes the sheet as a workbook to a file; throws InOutError.
using ListWorkbookWriter = std::function<void(const ListSheet& sheet, const QString& fileName)>;

} // namespace zel
