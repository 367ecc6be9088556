// The round-timber and board lists as plain data: merging, recomputing,
// sorting. A line's texts are its storage; each line also keeps what the
// last recomputation read from them and made of them, so that a list of a
// season's tally is not parsed again whole at every log typed.
#pragma once

#include "engine/traderules.h"
#include "engine/volume.h"
#include "shell/langtable.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdint>
#include <utility>
#include <vector>

class QCollator;

namespace zel {

// Icon indexes of the main window's image list that mark a round line.
constexpr int kIconNormal = 15;
constexpr int kIconFallback = 4; // volume from the formula: drawn red
constexpr int kIconNone = -1;    // board lines

constexpr int kRoundColumns = 4; // diameter, length, count, volume
constexpr int kBoardColumns = 5; // width, height, length, count, volume

// The characters a cell is read by.
extern const QString kIntegerChars;

// A decimal number as the lists write it (decimal comma, grouped thousands,
// a unit after it): only digits and the comma are read. The exponent form
// (10,000 m and more, "1,235E04") reads back as itself; any other "E" is
// dropped like a letter. Throws ConvertError when what is left is no number.
double readListNumber(const QString& text);
// A whole number as a cell holds it (digits and the comma only are read).
// Throws ConvertError when what is left is no number.
int readListInteger(const QString& text);

// The volume of one round line by `method`; a line the method has no value
// for (outside its table, a gap, a zero) takes the formula with 1.0 cm of
// taper per metre instead, and `fellBack` says so.
double roundLineVolume(std::uint32_t d, double l, std::uint32_t count, CalcMethod method,
                       TaperStep taper, bool& fellBack);
// A round line's value by a trade rule: one log's value times the count, in
// units of the rule's last decimal (tradeRuleDecimals), Hoppus rounded to
// 0.0001 m3 as a line. What is shown for a line, and what totals add up.
std::int64_t tradeLineUnits(TradeRule rule, std::int64_t d, double l, std::int64_t count);
// Width and height in cm, length in m: m3 of the whole line.
double boardLineVolume(int x, int y, double len, int count);

// What was read from a line's texts and computed from them.
struct LineValues {
    int size = 0;        // diameter, or a board's width, cm
    int height = 0;      // boards, cm
    int count = 0;
    bool fellBack = false;
    double length = 0.0; // m
    double volume = 0.0; // m3
};

// A line's outcome kept from the recomputation that made it. It stands for
// as long as the line's texts are the very ones it was made from (the cells
// share their storage with `cells` until the line is written to) and the
// settings the texts depend on are the same.
struct KeptLine {
    QVector<QString> cells;
    LineValues values;
    bool failed = false;  // the line did not read
    bool valid = false;
    CalcMethod method = CalcMethod::Gost2708;
    TaperStep taper = 0;
    UiLanguage language = UiLanguage::Ukrainian;
};

struct ListLine {
    ListLine() = default;
    ListLine(QVector<QString> texts, int iconIndex = kIconNone)
        : cells(std::move(texts)), icon(iconIndex) {}

    QVector<QString> cells;
    int icon = kIconNone;
    KeptLine kept;
};
using Lines = QVector<ListLine>;

// What a recomputation reads of the settings.
struct ListContext {
    CalcMethod method = CalcMethod::Gost2708;
    TaperStep taper = 0;
    UiLanguage language = UiLanguage::Ukrainian;
    std::uint8_t species = 0;
    std::uint8_t moisture = 0;
};

// The outcome of a recomputation: every line's texts for the line-text list,
// and the totals as the fields show them.
struct ListTotals {
    std::vector<int> changed; // the lines whose texts or icon were written anew, ascending
    double total = 0.0;    // m3
    QString volume;        // Edit2
    QString weight;        // Edit4, whole kg
    QString runningLength; // Edit9
    QString mean;          // Edit10: mean diameter or width
    QString area;          // Edit8, boards only
    int fallbacks = 0;     // round lines outside the chosen table

    // A line whose cell did not parse: its index and the conversion error.
    // The totals above are then not valid; every line keeps its texts.
    int failedLine = -1;
    QString error;
    bool ok() const { return failedLine < 0; }
};

// Brings every line up to date in place (canonical texts, icons) and makes
// the totals. Only lines whose texts or settings changed since they were last
// computed are parsed and computed again; the totals are summed over every
// line in list order, so they are exactly those of a recomputation from
// nothing. A line that does not parse keeps its texts; the others are still
// done.
ListTotals ReFreshRoundLines(Lines& lines, const ListContext& ctx);
ListTotals ReFreshBoardLines(Lines& lines, const ListContext& ctx);

// Whether two lines' cells hold the same texts. They share their storage
// until written to, so this is mostly a pointer comparison.
bool sameCells(const QVector<QString>& a, const QVector<QString>& b);

// Whether `text` reads as a number of `column` of a round list (a board list
// with `boards`) when the list is recomputed: the length as a decimal number,
// the other columns as whole numbers.
bool cellReads(const QString& text, int column, bool boards);

// The line that does not read and has been reported already. A list that
// fails at every recomputation is reported once for a line, not at every
// switch to its tab, which would keep the user from ever reaching the line.
class UnreadLineNotice {
public:
    // True when the line `t` failed at is another than the one last told of
    // (its texts differ); it is then the one told of.
    bool isNew(const Lines& lines, const ListTotals& t);

private:
    QVector<QString> m_told;
};

// Adds `count` to the first line of the same diameter (width and height) and
// length. False, and nothing changed, when there is none, or when the sum
// would pass the largest count a cell reads back (2,147,483,647): the caller
// then adds a line of its own, so no log is lost.
bool scanRoundLines(Lines& lines, std::int64_t d, double l, std::int64_t count);
bool scanBoardLines(Lines& lines, std::int64_t x, std::int64_t y, double len, std::int64_t count);

// What a line's texts hold (size, height, length and count of `v`), from
// what the last recomputation kept while the texts are unchanged, else read
// from them: the merges and the lot summary read a line through here. False
// when the line does not read.
bool roundLineValues(const ListLine& line, LineValues& v);
bool boardLineValues(const ListLine& line, LineValues& v);

// Adds `count` to the count in `column` of the line; false, and nothing
// changed, when the sum would pass the largest count a cell reads back.
bool addToCount(ListLine& line, int column, std::int64_t count);

// A new line from the texts of an entry row, the volume still to compute.
ListLine newRoundLine(const QString& d, double l, const QString& count);
ListLine newBoardLine(const QString& x, const QString& y, double len, const QString& count);

// The column texts of every line, in list order: the line-text list.
QStringList lineTexts(const Lines& lines);

// The order of the lines by the text of their first column (locale-aware,
// not numeric), equal texts keeping theirs: entry i is the index of the line
// that goes to place i.
std::vector<int> firstColumnOrder(const Lines& lines, const QCollator& collator);

// The lines put in that order.
void sortLines(Lines& lines, const QCollator& collator);

} // namespace zel
