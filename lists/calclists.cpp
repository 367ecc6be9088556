// Merging and recomputing the two lists.
#include "lists/calclists.h"
#include "lists/numbertext.h"
#include "engine/convert.h"
#include "engine/errors.h"
#include "engine/weight.h"

#include <QCollator>

#include <algorithm>
#include <numeric>
#include <limits>

namespace zel {

const QString kIntegerChars = QStringLiteral("0123456789,");

namespace {

bool isDigits(QStringView t)
{
    return !t.isEmpty() && std::all_of(t.begin(), t.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

// The exponent form the lists write ("1,235E04"): digits, a comma, digits,
// "E" and an optionally signed integer.
bool isExponentForm(QStringView t)
{
    const qsizetype comma = t.indexOf(QLatin1Char(','));
    const qsizetype e = t.indexOf(QLatin1Char('E'));
    if (comma < 0 || e < comma)
        return false;
    QStringView exponent = t.mid(e + 1);
    if (exponent.startsWith(QLatin1Char('+')) || exponent.startsWith(QLatin1Char('-')))
        exponent = exponent.mid(1);
    return isDigits(t.first(comma)) && isDigits(t.mid(comma + 1, e - comma - 1)) && isDigits(exponent);
}

} // namespace

double readListNumber(const QString& text)
{
    QString copy = text;
    // "E" counts only in the form the lists write it: "1E3" is 13, not 1000,
    // and "4,5E" is 4,5.
    if (text.contains(QLatin1Char('E'))) {
        static const QString exponentChars = QStringLiteral("0123456789,E+-");
        const QString t = CleanStr(copy, exponentChars, 1);
        if (isExponentForm(t))
            return StrToFloat(t, QLatin1Char(','));
        copy = text;
    }
    return StrToFloat(CleanStr(copy, kIntegerChars, 1), QLatin1Char(','));
}

int readListInteger(const QString& cell)
{
    QString copy = cell;
    return StrToInt(CleanStr(copy, kIntegerChars, 1));
}

double roundLineVolume(std::uint32_t d, double l, std::uint32_t count, CalcMethod method,
                       TaperStep taper, bool& fellBack)
{
    const double v = Calculate(d, l, count, method, taper);
    fellBack = v == 0.0;
    return fellBack ? Calculate(d, l, count, CalcMethod::Formula, 1) : v;
}

double boardLineVolume(int x, int y, double len, int count)
{
    return x / 100.0 * (y / 100.0) * len * count;
}

namespace {

QString withUnit(int number, const QString& unit)
{
    QString text = QString::number(number);
    text.reserve(text.size() + 1 + unit.size());
    text += QLatin1Char(' ');
    text += unit;
    return text;
}

QString withUnit(double number, int decimals, const QString& unit)
{
    QString text;
    text.reserve(16 + unit.size());
    appendNumber(text, number, decimals);
    text += QLatin1Char(' ');
    text += unit;
    return text;
}

struct Units {
    explicit Units(UiLanguage l)
        : cm(Lang(7, l)), m(Lang(8, l)), pcs(Lang(10, l)), m3(Lang(12, l)) {}
    QString cm, m, pcs, m3;
};

// The sums both lists keep besides the volume.
struct Sums {
    double runningLength = 0.0;
    double productSum = 0.0; // diameter (width) times count
    std::int64_t countSum = 0;
    double area = 0.0;       // boards only

    void add(int size, double length, int count)
    {
        runningLength += count * length;
        countSum += count;
        productSum += static_cast<double>(size) * count;
    }
};

void appendCells(QStringList& memo, const ListLine& line)
{
    for (const QString& c : line.cells)
        memo.append(c);
}

// Walks the lines: `perLine` parses and rewrites one line and adds it to the
// sums; a line it cannot read keeps its texts and the first such failure is
// recorded. Every line, read or not, goes into the line texts.
template <typename PerLine>
ListTotals recompute(Lines& lines, int columns, const ListContext& ctx, Sums& sums, PerLine perLine)
{
    ListTotals t;
    t.memo.reserve(lines.size() * columns);
    for (int i = 0; i < lines.size(); ++i) {
        ListLine& line = lines[i];
        line.cells.resize(columns);
        try {
            perLine(line, t);
        } catch (const ConvertError& e) {
            if (t.ok()) {
                t.failedLine = i;
                t.error = e.message();
            }
        }
        appendCells(t.memo, line);
    }
    t.volume = FormatNumber(t.total, 4);
    t.weight = QString::number(WeightWood(t.total, ctx.species, ctx.moisture));
    t.runningLength = FormatNumber(sums.runningLength, 2);
    t.mean = sums.countSum == 0 && sums.productSum == 0.0
                 ? QStringLiteral("0.00")
                 : FormatNumber(sums.productSum / sums.countSum, 2);
    return t;
}

bool fitsCount(std::int64_t sum)
{
    return sum <= std::numeric_limits<int>::max();
}

} // namespace

ListTotals ReFreshRoundLines(Lines& lines, const ListContext& ctx)
{
    const Units u(ctx.language);
    Sums sums;
    return recompute(lines, kRoundColumns, ctx, sums, [&](ListLine& line, ListTotals& t) {
        const int d = readListInteger(line.cells[0]);
        const double l = readListNumber(line.cells[1]);
        const int c = readListInteger(line.cells[2]);
        const auto ud = static_cast<std::uint32_t>(d);
        const auto uc = static_cast<std::uint32_t>(c);
        bool fellBack = false;
        const double v = roundLineVolume(ud, l, uc, ctx.method, ctx.taper, fellBack);
        // Outside the table (or a gap): drawn red.
        line.icon = fellBack ? kIconFallback : kIconNormal;
        t.fallbacks += fellBack ? 1 : 0;
        line.cells[0] = withUnit(d, u.cm);
        line.cells[1] = withUnit(l, 2, u.m);
        line.cells[2] = withUnit(c, u.pcs);
        line.cells[3] = withUnit(v, 4, u.m3);
        sums.add(d, l, c);
        t.total += v;
    });
}

ListTotals ReFreshBoardLines(Lines& lines, const ListContext& ctx)
{
    const Units u(ctx.language);
    Sums sums;
    ListTotals t = recompute(lines, kBoardColumns, ctx, sums, [&](ListLine& line, ListTotals& t) {
        const int x = readListInteger(line.cells[0]);
        const int y = readListInteger(line.cells[1]);
        const double len = readListNumber(line.cells[2]);
        const int c = readListInteger(line.cells[3]);
        const double v = boardLineVolume(x, y, len, c);
        line.cells[0] = withUnit(x, u.cm);
        line.cells[1] = withUnit(y, u.cm);
        line.cells[2] = withUnit(len, 2, u.m);
        line.cells[3] = withUnit(c, u.pcs);
        line.cells[4] = withUnit(v, 4, u.m3);
        line.icon = kIconNone;
        sums.area += x / 100.0 * len * c; // face area, m2
        sums.add(x, len, c);
        t.total += v;
    });
    t.area = FormatNumber(sums.area, 4);
    return t;
}

bool scanRoundLines(Lines& lines, std::int64_t d, double l, std::int64_t count)
{
    for (ListLine& line : lines) {
        try {
            if (readListInteger(line.cells.value(0)) != d || readListNumber(line.cells.value(1)) != l)
                continue;
            return addToCount(line, 2, count);
        } catch (const ConvertError&) {
            // A line that does not read is no match; the recomputation reports it.
        }
    }
    return false;
}

bool scanBoardLines(Lines& lines, std::int64_t x, std::int64_t y, double len, std::int64_t count)
{
    for (ListLine& line : lines) {
        try {
            if (readListInteger(line.cells.value(0)) != x || readListInteger(line.cells.value(1)) != y
                || readListNumber(line.cells.value(2)) != len)
                continue;
            return addToCount(line, 3, count);
        } catch (const ConvertError&) {
        }
    }
    return false;
}

bool addToCount(ListLine& line, int column, std::int64_t count)
{
    const std::int64_t sum = readListInteger(line.cells.value(column)) + count;
    if (!fitsCount(sum))
        return false;
    line.cells[column] = QString::number(sum);
    return true;
}

ListLine newRoundLine(const QString& d, double l, const QString& count)
{
    return ListLine{{d, ShortestNumber(l), count, QStringLiteral("0")}, kIconNormal};
}

ListLine newBoardLine(const QString& x, const QString& y, double len, const QString& count)
{
    return ListLine{{x, y, ShortestNumber(len), count, QStringLiteral("0")}, kIconNone};
}

QStringList lineTexts(const Lines& lines)
{
    QStringList texts;
    for (const ListLine& line : lines)
        appendCells(texts, line);
    return texts;
}

std::vector<int> firstColumnOrder(const Lines& lines, const QCollator& collator)
{
    std::vector<int> order(lines.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return collator.compare(lines[a].cells.value(0), lines[b].cells.value(0)) < 0;
    });
    return order;
}

void sortLines(Lines& lines, const QCollator& collator)
{
    Lines sorted;
    sorted.reserve(lines.size());
    for (int i : firstColumnOrder(lines, collator))
        sorted.append(lines[i]);
    lines = sorted;
}

} // namespace zel
