// Merging and recomputing the two lists.
#include "lists/calclists.h"
#include "lists/numbertext.h"
#include "engine/convert.h"
#include "engine/errors.h"
#include "engine/weight.h"

#include <QCollator>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numeric>
#include <limits>
#include <cstring>

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

// Both readers first try the text in place: a cell as the lists write it
// reads without copies. Anything else (no digits, a second comma, an
// exponent, too large a number) takes the general way, which also words
// the error.
double readListNumber(const QString& text)
{
    char plain[64];
    int size = 0;
    bool digits = false;
    bool comma = false;
    bool general = false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9') {
            digits = true;
        } else if (u == u',' && !comma) {
            comma = true;
        } else if (u == u',' || u == u'E') {
            general = true;
            break;
        } else {
            continue;
        }
        if (size == static_cast<int>(sizeof plain)) {
            general = true;
            break;
        }
        plain[size++] = u == u',' ? '.' : static_cast<char>(u);
    }
    double value = 0.0;
    if (!general && digits) {
        const auto [end, ec] = std::from_chars(plain, plain + size, value);
        if (ec == std::errc() && end == plain + size)
            return value;
    }
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
    std::int64_t value = 0;
    bool digits = false;
    bool general = false;
    for (const QChar c : cell) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9') {
            digits = true;
            value = value * 10 + (u - u'0');
            if (value > std::numeric_limits<int>::max()) {
                general = true;
                break;
            }
        } else if (u == u',') {
            general = true;
            break;
        }
    }
    if (digits && !general)
        return static_cast<int>(value);
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

namespace {

// roundedUnits(m3, 4), without its reading of the decimal digits where the
// binary value cannot round otherwise: the summary does this for every line.
std::int64_t hoppusUnits(double m3)
{
    const double scaled = m3 * 10000.0;
    if (!(scaled < static_cast<double>(kMaxTradeUnits)))
        return kMaxTradeUnits;
    // Below 1e9 units a double is off by far less than 1e-5 of a unit.
    if (scaled < 1e9 && std::fabs(scaled - std::floor(scaled) - 0.5) > 1e-5)
        return std::llround(scaled);
    return roundedUnits(m3, 4);
}

std::int64_t timesCount(std::int64_t units, std::int64_t count)
{
    return count > 0 && units > kMaxTradeUnits / count ? kMaxTradeUnits : units * count;
}

} // namespace

std::int64_t tradeLineUnits(TradeRule rule, std::int64_t d, double l, std::int64_t count)
{
    const std::int64_t mm = lengthMillimetres(l);
    switch (rule) {
    case TradeRule::Jas:
        return timesCount(jasLogUnits(d, mm), count);
    case TradeRule::Hoppus:
        return hoppusUnits(hoppusLogM3(d, mm) * static_cast<double>(count));
    case TradeRule::Doyle:
        return timesCount(doyleLogFeet(d, mm), count);
    case TradeRule::International:
        break;
    }
    return timesCount(internationalLogFeet(d, mm), count);
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
        : cm(Lang(7, l)), m(Lang(8, l)), pcs(Lang(10, l)), m3(Lang(12, l))
    {
        for (const QString& unit : {cm, m, pcs})
            for (const QChar c : unit)
                plain = plain && !kIntegerChars.contains(c) && c != QLatin1Char('E');
    }
    QString cm, m, pcs, m3;
    // No unit brings a character the readers take: a whole number written
    // with its unit reads back as itself.
    bool plain = true;
};

// A list repeats few diameters, lengths and counts: lines of equal values
// written in one recomputation share one text instead of holding a copy
// each (a season's list would otherwise keep 100,000 copies of "1 шт.").
// A small table by value, the last text of each slot kept.
template <typename Key>
class SharedTexts {
public:
    template <typename Make>
    const QString& get(Key key, Make make)
    {
        const std::uint64_t h = static_cast<std::uint64_t>(key) * 0x9E3779B97F4A7C15ull;
        Slot& s = m_slots[h >> (64 - kBits)];
        if (!s.used || s.key != key) {
            s.key = key;
            s.text = make();
            s.used = true;
        }
        return s.text;
    }

private:
    static constexpr int kBits = 9;
    struct Slot {
        Key key{};
        QString text;
        bool used = false;
    };
    std::array<Slot, 1 << kBits> m_slots;
};

// The texts one recomputation writes.
struct Writer {
    explicit Writer(UiLanguage l) : u(l) {}
    Units u;
    SharedTexts<int> sizes, counts;
    SharedTexts<std::uint64_t> lengths; // by the bits of the value

    QString size(int cm) { return sizes.get(cm, [&] { return withUnit(cm, u.cm); }); }
    QString count(int pcs) { return counts.get(pcs, [&] { return withUnit(pcs, u.pcs); }); }
    QString length(double m)
    {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &m, sizeof bits);
        return lengths.get(bits, [&] { return withUnit(m, 2, u.m); });
    }
    QString volume(double m3) const { return withUnit(m3, 4, u.m3); }
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

bool sameInputs(const LineValues& a, const LineValues& b)
{
    return a.size == b.size && a.height == b.height && a.length == b.length && a.count == b.count;
}

// The texts have not changed since the line's outcome was kept. The storage
// is shared until the line is written to, so this is almost always a pointer
// comparison.
bool textsKept(const ListLine& line)
{
    return line.kept.valid && sameCells(line.cells, line.kept.cells);
}

// One kind of list: how a line's texts are read, its volume computed and its
// texts written, and which settings its texts depend on.
struct RoundKind {
    static constexpr int columns = kRoundColumns;
    static constexpr int lengthColumn = 1;
    static LineValues read(const QVector<QString>& cells)
    {
        LineValues v;
        v.size = readListInteger(cells[0]);
        v.length = readListNumber(cells[1]);
        v.count = readListInteger(cells[2]);
        return v;
    }
    static void compute(LineValues& v, const ListContext& ctx)
    {
        v.volume = roundLineVolume(static_cast<std::uint32_t>(v.size), v.length,
                                   static_cast<std::uint32_t>(v.count), ctx.method, ctx.taper, v.fellBack);
    }
    static void write(ListLine& line, const LineValues& v, Writer& w)
    {
        // Outside the table (or a gap): drawn red.
        line.icon = v.fellBack ? kIconFallback : kIconNormal;
        // A new set of cells: the old ones may still be shared with what was kept.
        line.cells = {w.size(v.size), w.length(v.length), w.count(v.count), w.volume(v.volume)};
    }
    static bool keptFor(const KeptLine& k, const ListContext& ctx)
    {
        return k.language == ctx.language && k.method == ctx.method && k.taper == ctx.taper;
    }
    static void add(const LineValues& v, Sums& sums)
    {
        sums.add(v.size, v.length, v.count);
    }
};

struct BoardKind {
    static constexpr int columns = kBoardColumns;
    static constexpr int lengthColumn = 2;
    static LineValues read(const QVector<QString>& cells)
    {
        LineValues v;
        v.size = readListInteger(cells[0]);
        v.height = readListInteger(cells[1]);
        v.length = readListNumber(cells[2]);
        v.count = readListInteger(cells[3]);
        return v;
    }
    static void compute(LineValues& v, const ListContext&)
    {
        v.volume = boardLineVolume(v.size, v.height, v.length, v.count);
    }
    static void write(ListLine& line, const LineValues& v, Writer& w)
    {
        line.cells = {w.size(v.size), w.size(v.height), w.length(v.length), w.count(v.count),
                      w.volume(v.volume)};
        line.icon = kIconNone;
    }
    static bool keptFor(const KeptLine& k, const ListContext& ctx)
    {
        return k.language == ctx.language;
    }
    static void add(const LineValues& v, Sums& sums)
    {
        sums.area += v.size / 100.0 * v.length * v.count; // face area, m2
        sums.add(v.size, v.length, v.count);
    }
};

void keep(ListLine& line, const ListContext& ctx)
{
    line.kept.cells = line.cells;
    line.kept.valid = true;
    line.kept.method = ctx.method;
    line.kept.taper = ctx.taper;
    line.kept.language = ctx.language;
}

// Parses and computes one line from its texts and writes them anew. Its
// outcome is kept only when the written texts read back as the same inputs:
// then a recomputation from them gives this very line again. Otherwise (a
// length written to fewer decimals than it was typed with, say) the next
// recomputation must start from the written texts, as one from nothing would.
// Returns the values this recomputation counts.
template <typename Kind>
LineValues refreshLine(ListLine& line, const ListContext& ctx, Writer& w)
{
    if (line.cells.size() != Kind::columns)
        line.cells.resize(Kind::columns);
    line.kept.valid = false;
    LineValues v;
    try {
        v = Kind::read(line.cells);
    } catch (const ConvertError&) {
        line.kept.failed = true;
        // Drawn as red as a line outside the table, so the user can find it.
        line.icon = kIconFallback;
        keep(line, ctx);
        throw;
    }
    Kind::compute(v, ctx);
    Kind::write(line, v, w);
    try {
        const bool readsBack = w.u.plain ? readListNumber(line.cells[Kind::lengthColumn]) == v.length
                                       : sameInputs(Kind::read(line.cells), v);
        if (readsBack) {
            line.kept.values = v;
            line.kept.failed = false;
            keep(line, ctx);
        }
    } catch (const ConvertError&) {
    }
    return v;
}

// Why a line does not read: only the first such line's reason is shown, so
// it is not kept with every line but read again when wanted.
template <typename Kind>
QString readError(const ListLine& line)
{
    try {
        Kind::read(line.cells);
    } catch (const ConvertError& e) {
        return e.message();
    }
    return QString();
}

// Walks the lines in list order, bringing each up to date when it is not,
// and sums them. The first line that does not read is recorded; it and every
// other line keep their texts.
template <typename Kind>
ListTotals recompute(Lines& lines, const ListContext& ctx, Sums& sums)
{
    Writer w(ctx.language);
    ListTotals t;
    for (int i = 0; i < lines.size(); ++i) {
        ListLine& line = lines[i];
        LineValues fresh;
        const LineValues* v = nullptr;
        if (textsKept(line) && Kind::keptFor(line.kept, ctx)) {
            if (!line.kept.failed)
                v = &line.kept.values;
        } else {
            t.changed.push_back(i);
            try {
                fresh = refreshLine<Kind>(line, ctx, w);
                v = &fresh;
            } catch (const ConvertError&) {
            }
        }
        if (!v) {
            if (t.ok()) {
                t.failedLine = i;
                t.error = readError<Kind>(line);
            }
            continue;
        }
        t.fallbacks += v->fellBack ? 1 : 0;
        Kind::add(*v, sums);
        t.total += v->volume;
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

// The sizes and length a merge compares, from what was kept while the texts
// are unchanged, else read from them. False when the line does not read.
template <typename Kind>
bool mergeKey(const ListLine& line, LineValues& v)
{
    if (textsKept(line)) {
        v = line.kept.values;
        return !line.kept.failed;
    }
    try {
        QVector<QString> cells = line.cells;
        cells.resize(Kind::columns);
        v = Kind::read(cells);
        return true;
    } catch (const ConvertError&) {
        return false;
    }
}

} // namespace

bool sameCells(const QVector<QString>& a, const QVector<QString>& b)
{
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

bool cellReads(const QString& text, int column, bool boards)
{
    try {
        if (column == (boards ? BoardKind::lengthColumn : RoundKind::lengthColumn))
            readListNumber(text);
        else
            readListInteger(text);
        return true;
    } catch (const ConvertError&) {
        return false;
    }
}

bool UnreadLineNotice::isNew(const Lines& lines, const ListTotals& t)
{
    const QVector<QString>& cells = lines.at(t.failedLine).cells;
    if (cells == m_told)
        return false;
    m_told = cells;
    return true;
}

ListTotals ReFreshRoundLines(Lines& lines, const ListContext& ctx)
{
    Sums sums;
    return recompute<RoundKind>(lines, ctx, sums);
}

ListTotals ReFreshBoardLines(Lines& lines, const ListContext& ctx)
{
    Sums sums;
    ListTotals t = recompute<BoardKind>(lines, ctx, sums);
    t.area = FormatNumber(sums.area, 4);
    return t;
}

bool roundLineValues(const ListLine& line, LineValues& v)
{
    return mergeKey<RoundKind>(line, v);
}

bool boardLineValues(const ListLine& line, LineValues& v)
{
    return mergeKey<BoardKind>(line, v);
}

bool scanRoundLines(Lines& lines, std::int64_t d, double l, std::int64_t count)
{
    for (int i = 0; i < lines.size(); ++i) {
        LineValues v;
        // A line that does not read is no match; the recomputation reports it.
        if (roundLineValues(lines.at(i), v) && v.size == d && v.length == l)
            return addToCount(lines[i], 2, count);
    }
    return false;
}

bool scanBoardLines(Lines& lines, std::int64_t x, std::int64_t y, double len, std::int64_t count)
{
    for (int i = 0; i < lines.size(); ++i) {
        LineValues v;
        if (boardLineValues(lines.at(i), v) && v.size == x && v.height == y && v.length == len)
            return addToCount(lines[i], 3, count);
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
