// The list as a table of texts, JSON and plain text.
#include "lists/listwriter.h"
#include "lists/numbertext.h"
#include "engine/errors.h"
#include "engine/weight.h"

#include <algorithm>
#include <cmath>

namespace zel {

QChar decimalMarkOf(UiLanguage language)
{
    return language == UiLanguage::English ? QLatin1Char('.') : QLatin1Char(',');
}

QChar separatorOf(UiLanguage language)
{
    return language == UiLanguage::English ? QLatin1Char(',') : QLatin1Char(';');
}

QString cellNumber(const QString& cell, QChar decimalMark)
{
    // The unit follows a plain blank; thousands are grouped with a no-break one.
    const qsizetype blank = cell.indexOf(QLatin1Char(' '));
    QString number = blank < 0 ? cell : cell.left(blank);
    number.remove(kGroupSeparator);
    number.replace(QLatin1Char(','), decimalMark);
    return number;
}

namespace {

QString captioned(int header, const QString& unit, UiLanguage language)
{
    return Lang(header, language) + QStringLiteral(" (") + unit + QLatin1Char(')');
}

QString captioned(int header, int unit, UiLanguage language)
{
    return captioned(header, Lang(unit, language), language);
}

void appendField(QString& out, const QString& field, QChar separator)
{
    const bool quote = field.contains(separator) || field.contains(QLatin1Char('"'))
                       || field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'));
    if (!quote) {
        out += field;
        return;
    }
    out += QLatin1Char('"');
    out += QString(field).replace(QLatin1Char('"'), QStringLiteral("\"\""));
    out += QLatin1Char('"');
}

void appendRow(QString& out, const QStringList& fields, QChar separator)
{
    for (int i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += separator;
        appendField(out, fields[i], separator);
    }
    out += QStringLiteral("\r\n");
}

double lineAreaValue(const ListLine& line)
{
    return readListInteger(line.cells.value(0)) / 100.0 * readListNumber(line.cells.value(2))
           * readListInteger(line.cells.value(3));
}

QString lineArea(const ListLine& line)
{
    double area = 0.0;
    try {
        area = lineAreaValue(line);
    } catch (const ConvertError&) {
        // A line that does not read has no area of its own; the list reports it.
    }
    return FormatNumber(area, 4);
}

// The value a length or volume cell shows, in units of its decimals: the
// number before the unit, whose own digits ("m3") are not read.
long long cellUnits(const QString& cell, int decimals)
{
    bool ok = false;
    const double value = cellNumber(cell, QLatin1Char('.')).toDouble(&ok);
    if (!ok)
        throw ConvertError(cell);
    return roundedUnits(value, decimals);
}

// A cell's number as a JSON decimal, written out in full
// ("1,235E04 м3." -> 12350.0000).
QString jsonNumber(const QString& cell, int decimals)
{
    try {
        return unitsText(cellUnits(cell, decimals), decimals, QLatin1Char('.'), QChar());
    } catch (const ConvertError&) {
        return QStringLiteral("null");
    }
}

QString jsonUnits(long long units, int decimals)
{
    return unitsText(units, decimals, QLatin1Char('.'), QChar());
}

int headerEntry(ListKind kind, int column)
{
    static const int round[] = {3, 4, 5, 6};
    static const int board[] = {43, 42, 4, 5, 6};
    return kind == ListKind::Round ? round[column] : board[column];
}

} // namespace

QStringList exportCaptions(ListKind kind, UiLanguage language, std::optional<TradeRule> rule)
{
    QStringList c{Lang(130, language)};
    if (kind == ListKind::Round) {
        c << captioned(3, kTxtCentimetre, language) << captioned(4, 8, language) << captioned(5, 10, language);
        if (rule)
            c << captioned(6, tradeRuleUnit(*rule, language), language);
        else
            c << captioned(6, 12, language) << Lang(131, language);
    } else {
        c << captioned(43, kTxtCentimetre, language) << captioned(42, kTxtCentimetre, language) << captioned(4, 8, language)
          << captioned(5, 10, language) << captioned(6, 12, language) << captioned(14, 13, language);
    }
    return c;
}

QStringList exportRow(const ListLine& line, int number, ListKind kind, QChar decimalMark,
                      std::optional<TradeRule> rule)
{
    QStringList row{QString::number(number)};
    for (const QString& cell : line.cells)
        row << cellNumber(cell, decimalMark);
    if (kind == ListKind::Round) {
        // A rule has no table to be outside of.
        if (!rule)
            row << (line.icon == kIconFallback ? QStringLiteral("1") : QStringLiteral("0"));
    } else {
        row << cellNumber(lineArea(line), decimalMark);
    }
    return row;
}

QString listTableText(const Lines& lines, ListKind kind, UiLanguage language, QChar separator,
                      int firstNumber, std::optional<TradeRule> rule)
{
    const QChar mark = decimalMarkOf(language);
    QString out;
    out.reserve(64 + lines.size() * 48);
    appendRow(out, exportCaptions(kind, language, rule), separator);
    for (int i = 0; i < lines.size(); ++i)
        appendRow(out, exportRow(lines[i], firstNumber + i, kind, mark, rule), separator);
    return out;
}

QByteArray listCsv(const Lines& lines, ListKind kind, UiLanguage language, std::optional<TradeRule> rule)
{
    return QByteArray("\xEF\xBB\xBF")
           + listTableText(lines, kind, language, separatorOf(language), 1, rule).toUtf8();
}

PrintedTotals printedTotals(const Lines& lines, ListKind kind, const ListContext& ctx, int volumeDecimals)
{
    const bool round = kind == ListKind::Round;
    const int lengthColumn = round ? 1 : 2;
    PrintedTotals t;
    double sizeSum = 0.0;
    for (const ListLine& line : lines) {
        try {
            const int size = readListInteger(line.cells.value(0));
            const long long length = cellUnits(line.cells.value(lengthColumn), 2);
            const int count = readListInteger(line.cells.value(lengthColumn + 1));
            const long long volume = cellUnits(line.cells.value(lengthColumn + 2), volumeDecimals);
            const long long area = round ? 0 : shownUnits(lineAreaValue(line), 4);
            t.volume += volume;
            t.area += area;
            t.runningLength += length * count;
            t.count += count;
            sizeSum += static_cast<double>(size) * count;
            t.fallbacks += round && line.icon == kIconFallback ? 1 : 0;
        } catch (const ConvertError&) {
        }
    }
    t.mean = t.count > 0 ? sizeSum / static_cast<double>(t.count) : 0.0;
    t.weight = WeightWood(static_cast<double>(t.volume) / std::pow(10.0, volumeDecimals), ctx.species, ctx.moisture);
    return t;
}

QString methodWord(CalcMethod method)
{
    switch (method) {
    case CalcMethod::Gost2708:
        return QStringLiteral("gost");
    case CalcMethod::Iso4480:
        return QStringLiteral("iso");
    case CalcMethod::Formula:
        return QStringLiteral("formula");
    case CalcMethod::Cylindered:
        break;
    }
    return QStringLiteral("cylinder");
}

QString tradeRuleWord(TradeRule rule)
{
    static const char* const words[kTradeRules] = {"jas", "hoppus", "doyle", "intl"};
    return QLatin1String(words[static_cast<int>(rule)]);
}

QString tradeRuleName(TradeRule rule, UiLanguage language)
{
    return Lang(kTxtTradeRuleName + static_cast<int>(rule), language);
}

QString tradeRuleUnit(TradeRule rule, UiLanguage language)
{
    if (!tradeRuleInM3(rule))
        return Lang(kTxtBoardFeet, language);
    return Lang(rule == TradeRule::Hoppus ? kTxtHoppusM3 : 12, language);
}

Lines tradeRuleLines(const Lines& lines, TradeRule rule, UiLanguage language)
{
    const QString unit = QLatin1Char(' ') + tradeRuleUnit(rule, language);
    Lines out;
    out.reserve(lines.size());
    for (const ListLine& line : lines) {
        LineValues v;
        if (!roundLineValues(line, v)) {
            out.append(line);
            continue;
        }
        const QString value = unitsText(tradeLineUnits(rule, v.size, v.length, v.count), tradeRuleDecimals(rule));
        out.append(ListLine{{line.cells.value(0), line.cells.value(1), line.cells.value(2), value + unit}});
    }
    return out;
}

QByteArray listJson(const Lines& lines, const PrintedTotals& totals, ListKind kind, CalcMethod method,
                    std::optional<TradeRule> rule)
{
    const int volumeDecimals = rule ? tradeRuleDecimals(*rule) : 4;
    const QChar point = QLatin1Char('.');
    const QStringList keys = kind == ListKind::Round
                                 ? QStringList{QStringLiteral("diameter"), QStringLiteral("length"),
                                               QStringLiteral("count"), QStringLiteral("volume")}
                                 : QStringList{QStringLiteral("width"), QStringLiteral("height"),
                                               QStringLiteral("length"), QStringLiteral("count"),
                                               QStringLiteral("volume")};
    QString out = QStringLiteral("{");
    if (rule) {
        out += QStringLiteral("\"unit\": \"") + (tradeRuleInM3(*rule) ? QStringLiteral("m3") : QStringLiteral("bdft"))
               + QStringLiteral("\", ");
    }
    out += QStringLiteral("\"method\": \"") + (rule ? tradeRuleWord(*rule) : methodWord(method))
           + QStringLiteral("\", \"lines\": [");
    for (int i = 0; i < lines.size(); ++i) {
        out += i == 0 ? QStringLiteral("\n  {") : QStringLiteral(",\n  {");
        for (int k = 0; k < keys.size(); ++k) {
            if (k > 0)
                out += QStringLiteral(", ");
            // Counts and sizes are whole; the length has two decimals, the volume four (a rule's own).
            const bool volume = k == keys.size() - 1;
            const bool length = keys[k] == QStringLiteral("length");
            out += QLatin1Char('"') + keys[k] + QStringLiteral("\": ")
                   + (volume || length ? jsonNumber(lines[i].cells.value(k), volume ? volumeDecimals : 2)
                                       : cellNumber(lines[i].cells.value(k), point));
        }
        if (kind == ListKind::Round && !rule)
            out += lines[i].icon == kIconFallback ? QStringLiteral(", \"outOfTable\": true")
                                                  : QStringLiteral(", \"outOfTable\": false");
        out += QLatin1Char('}');
    }
    out += lines.isEmpty() ? QStringLiteral("]") : QStringLiteral("\n]");
    out += QStringLiteral(", \"totals\": {\"volume\": ") + jsonUnits(totals.volume, volumeDecimals);
    // Weight comes of solid wood, not of board feet.
    if (!rule || tradeRuleInM3(*rule))
        out += QStringLiteral(", \"weight\": ") + QString::number(totals.weight);
    out += QStringLiteral(", \"runningLength\": ") + jsonUnits(totals.runningLength, 2)
           + QStringLiteral(", \"mean\": ") + jsonUnits(roundedUnits(totals.mean, 2), 2);
    if (kind == ListKind::Board)
        out += QStringLiteral(", \"area\": ") + jsonUnits(totals.area, 4);
    out += QStringLiteral("}}\n");
    return out.toUtf8();
}

QString listPlainText(const Lines& lines, const PrintedTotals& totals, ListKind kind, CalcMethod method,
                      UiLanguage language, std::optional<TradeRule> rule)
{
    const int columns = kind == ListKind::Round ? kRoundColumns : kBoardColumns;
    QVector<QStringList> rows;
    QStringList head{Lang(130, language)};
    for (int c = 0; c < columns; ++c)
        head << Lang(headerEntry(kind, c), language);
    if (rule)
        head.last() = captioned(6, tradeRuleUnit(*rule, language), language);
    rows << head;
    for (int i = 0; i < lines.size(); ++i) {
        QStringList row{QString::number(i + 1)};
        for (int c = 0; c < columns; ++c)
            row << lines[i].cells.value(c);
        rows << row;
    }
    QVector<int> widths(columns + 1, 0);
    for (const QStringList& row : rows) {
        for (int c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], static_cast<int>(row[c].size()));
    }
    QString out = (rule ? tradeRuleName(*rule, language)
                        : Lang(kind == ListKind::Round ? 36 + static_cast<int>(method) : 89, language))
                  + QLatin1Char('\n');
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            if (c > 0)
                out += QStringLiteral("  ");
            out += rows[r][c].rightJustified(widths[c]);
        }
        // The list draws a line of the fallback volume red; here it is marked.
        if (r > 0 && lines[r - 1].icon == kIconFallback)
            out += QStringLiteral("  *");
        out += QLatin1Char('\n');
    }
    const auto total = [&](int caption, const QString& value, const QString& unit) {
        out += Lang(caption, language) + QStringLiteral(": ") + value + QLatin1Char(' ') + unit + QLatin1Char('\n');
    };
    const auto L = [language](int entry) { return Lang(entry, language); };
    out += QLatin1Char('\n');
    if (rule)
        total(6, unitsText(totals.volume, tradeRuleDecimals(*rule)), tradeRuleUnit(*rule, language));
    else
        total(6, unitsText(totals.volume, 4), L(12));
    if (!rule || tradeRuleInM3(*rule))
        total(16, QString::number(totals.weight), L(11));
    total(99, unitsText(totals.runningLength, 2), L(9));
    total(kind == ListKind::Round ? 100 : 101, FormatFixed(totals.mean, 2), L(7));
    if (kind == ListKind::Board)
        total(14, unitsText(totals.area, 4), L(13));
    if (totals.fallbacks > 0)
        out += QStringLiteral("* ") + Lang(80, language) + QLatin1Char('\n');
    return out;
}

} // namespace zel
