// Writing a list out: the table of texts of the CSV export, the clipboard and
// the command-line calculator, its JSON and its plain-text forms. Every number
// is the one the list shows, with the same decimals.
#pragma once

#include "lists/listentry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zel {

// The decimal mark of a language's tables: a comma in Ukrainian and Russian,
// a point in English; and the separator that goes with it (";" and ",").
QChar decimalMarkOf(UiLanguage language);
QChar separatorOf(UiLanguage language);

// The number of a canonical cell ("1 234,50 м.") without its unit and
// grouping, with the given decimal mark ("1234.50").
QString cellNumber(const QString& cell, QChar decimalMark);

// The export's columns with their units: No, diameter (cm), length (m),
// count (pcs), volume (m3), out of table; for boards No, width, height,
// length, count, volume, area (m2).
QStringList exportCaptions(ListKind kind, UiLanguage language);

// One line's values under those captions, numbers with `decimalMark`: the
// round list's out-of-table mark is 1 or 0, a board line's area is its face
// area as the list's area total writes it.
QStringList exportRow(const ListLine& line, int number, ListKind kind, QChar decimalMark);

// The header row and a row per line, fields parted by `separator` (quoted
// where they hold it, a quotation mark or a line end), CR LF after each row.
// The lines are numbered from `firstNumber`.
QString listTableText(const Lines& lines, ListKind kind, UiLanguage language, QChar separator,
                      int firstNumber = 1);

// The CSV export: the table text in the language's separator, UTF-8 with a
// byte-order mark.
QByteArray listCsv(const Lines& lines, ListKind kind, UiLanguage language);

// The totals of lines as they are written out: each line's volume (and a
// board line's area) as its text shows it, the sums exact, so that a column
// added up by hand or by a spreadsheet gives the total printed under it.
// Lines that do not read are left out.
struct PrintedTotals {
    long long volume = 0;        // units of 0.0001 m3
    long long runningLength = 0; // units of 0.01 m
    long long area = 0;          // units of 0.0001 m2, boards
    long long count = 0;
    double mean = 0.0;           // diameter or width, cm
    std::uint64_t weight = 0;    // kg, of the printed volume
    int fallbacks = 0;           // round lines outside the chosen table
};
PrintedTotals printedTotals(const Lines& lines, ListKind kind, const ListContext& ctx);

// The name of a method in the command line's words ("gost", "iso", ...).
QString methodWord(CalcMethod method);

// One JSON object: the method, the lines and the totals, numbers as plain
// JSON decimals.
QByteArray listJson(const Lines& lines, const PrintedTotals& totals, ListKind kind, CalcMethod method);

// The list for people: the method, the lines as the list shows them in
// aligned columns, and the totals with their captions and units.
QString listPlainText(const Lines& lines, const PrintedTotals& totals, ListKind kind, CalcMethod method,
                      UiLanguage language);

} // namespace zel
