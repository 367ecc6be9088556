// Writing a list out: the table of texts of the CSV export, the clipboard and
// the command-line calculator, its JSON and its plain-text forms. Every number
// is the one the list shows, with the same decimals.
#pragma once

#include "lists/listentry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

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
// With a trade rule, the round list's volume caption names the rule's unit
// and there is no out-of-table column.
QStringList exportCaptions(ListKind kind, UiLanguage language, std::optional<TradeRule> rule = std::nullopt);

// One line's values under those captions, numbers with `decimalMark`: the
// round list's out-of-table mark is 1 or 0, a board line's area is its face
// area as the list's area total writes it.
QStringList exportRow(const ListLine& line, int number, ListKind kind, QChar decimalMark,
                      std::optional<TradeRule> rule = std::nullopt);

// The header row and a row per line, fields parted by `separator` (quoted
// where they hold it, a quotation mark or a line end), CR LF after each row.
// The lines are numbered from `firstNumber`.
QString listTableText(const Lines& lines, ListKind kind, UiLanguage language, QChar separator,
                      int firstNumber = 1, std::optional<TradeRule> rule = std::nullopt);

// The CSV export: the table text in the language's separator, UTF-8 with a
// byte-order mark.
QByteArray listCsv(const Lines& lines, ListKind kind, UiLanguage language,
                   std::optional<TradeRule> rule = std::nullopt);

// The totals of lines as they are written out: each line's volume (and a
// board line's area) as its text shows it, the sums exact, so that a column
// added up by hand or by a spreadsheet gives the total printed under it.
// Lines that do not read are left out. `volumeDecimals` are those of the
// volume cells: 4 for m3 as the lists write it, a trade rule's otherwise.
struct PrintedTotals {
    long long volume = 0;        // units of 0.0001 m3 (of the rule's last decimal)
    long long runningLength = 0; // units of 0.01 m
    long long area = 0;          // units of 0.0001 m2, boards
    long long count = 0;
    double mean = 0.0;           // diameter or width, cm
    std::uint64_t weight = 0;    // kg, of the printed volume
    int fallbacks = 0;           // round lines outside the chosen table
};
PrintedTotals printedTotals(const Lines& lines, ListKind kind, const ListContext& ctx, int volumeDecimals = 4);

// The name of a method in the command line's words ("gost", "iso", ...).
QString methodWord(CalcMethod method);

// Language-table entries of the trade rules: their names (JAS, Hoppus,
// Doyle, International 1/4-inch), the Hoppus m3, the board foot, and the
// command line's words for them.
constexpr int kTxtTradeRuleName = 203; // ... 206
constexpr int kTxtHoppusM3 = 207;
constexpr int kTxtBoardFeet = 208;
constexpr int kTxtRulesUsage = 209;

// A rule in the command line's words ("jas", "hoppus", "doyle", "intl"), in
// the language, and its unit ("m3.", "Hoppus m3", "bd ft").
QString tradeRuleWord(TradeRule rule);
QString tradeRuleName(TradeRule rule, UiLanguage language);
QString tradeRuleUnit(TradeRule rule, UiLanguage language);

// Round lines whose volume cell holds the rule's value with its unit, as the
// command line shows them; no line is marked outside a table. A line that
// does not read is kept as it is.
Lines tradeRuleLines(const Lines& lines, TradeRule rule, UiLanguage language);

// One JSON object: the method, the lines and the totals, numbers as plain
// JSON decimals. With a trade rule (lines of tradeRuleLines) it begins with
// the unit ("m3" or "bdft"); board feet have no weight.
QByteArray listJson(const Lines& lines, const PrintedTotals& totals, ListKind kind, CalcMethod method,
                    std::optional<TradeRule> rule = std::nullopt);

// The list for people: the method, the lines as the list shows them in
// aligned columns, and the totals with their captions and units.
QString listPlainText(const Lines& lines, const PrintedTotals& totals, ListKind kind, CalcMethod method,
                      UiLanguage language, std::optional<TradeRule> rule = std::nullopt);

} // namespace zel
