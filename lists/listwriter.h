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

// The name of a method in the command line's words ("gost", "iso", ...).
QString methodWord(CalcMethod method);

// One JSON object: the method, the lines and the totals, numbers as JSON numbers.
QByteArray listJson(const Lines& lines, const ListTotals& totals, ListKind kind, CalcMethod method);

// The list for people: the method, the lines as the list shows them in
// aligned columns, and the totals with their captions and units.
QString listPlainText(const Lines& lines, const ListTotals& totals, ListKind kind, CalcMethod method,
                      UiLanguage language);

} // namespace zel
