// The list as a table of texts, JSON and plain text.
#include "lists/listwriter.h"
#include "lists/numbertext.h"
#include "engine/errors.h"

#include <algorithm>

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

QString captioned(int header, int unit, UiLanguage language)
{
    return Lang(header, language) + QStringLiteral(" (") + Lang(unit, language) + QLatin1Char(')');
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

QString lineArea(const ListLine& line)
{
    double area = 0.0;
    try {
        area = readListInteger(line.cells.value(0)) / 100.0 * readListNumber(line.cells.value(2))
               * readListInteger(line.cells.value(3));
    } catch (const ConvertError&) {
        // A line that does not read has no area of its own; the list reports it.
    }
    return FormatNumber(area, 4);
}

int headerEntry(ListKind kind, int column)
{
    static const int round[] = {3, 4, 5, 6};
    static const int board[] = {43, 42, 4, 5, 6};
    return kind == ListKind::Round ? round[column] : board[column];
}

} // namespace

QStringList exportCaptions(ListKind kind, UiLanguage language)
{
    QStringList c{Lang(130, language)};
    if (kind == ListKind::Round) {
        c << captioned(3, 7, language) << captioned(4, 8, language) << captioned(5, 10, language)
          << captioned(6, 12, language) << Lang(131, language);
    } else {
        c << captioned(43, 7, language) << captioned(42, 7, language) << captioned(4, 8, language)
          << captioned(5, 10, language) << captioned(6, 12, language) << captioned(14, 13, language);
    }
    return c;
}

QStringList exportRow(const ListLine& line, int number, ListKind kind, QChar decimalMark)
{
    QStringList row{QString::number(number)};
    for (const QString& cell : line.cells)
        row << cellNumber(cell, decimalMark);
    if (kind == ListKind::Round)
        row << (line.icon == kIconFallback ? QStringLiteral("1") : QStringLiteral("0"));
    else
        row << cellNumber(lineArea(line), decimalMark);
    return row;
}

QString listTableText(const Lines& lines, ListKind kind, UiLanguage language, QChar separator,
                      int firstNumber)
{
    const QChar mark = decimalMarkOf(language);
    QString out;
    out.reserve(64 + lines.size() * 48);
    appendRow(out, exportCaptions(kind, language), separator);
    for (int i = 0; i < lines.size(); ++i)
        appendRow(out, exportRow(lines[i], firstNumber + i, kind, mark), separator);
    return out;
}

QByteArray listCsv(const Lines& lines, ListKind kind, UiLanguage language)
{
    return QByteArray("\xEF\xBB\xBF") + listTableText(lines, kind, language, separatorOf(language)).toUtf8();
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

QByteArray listJson(const Lines& lines, const ListTotals& totals, ListKind kind, CalcMethod method)
{
    const QChar point = QLatin1Char('.');
    const QStringList keys = kind == ListKind::Round
                                 ? QStringList{QStringLiteral("diameter"), QStringLiteral("length"),
                                               QStringLiteral("count"), QStringLiteral("volume")}
                                 : QStringList{QStringLiteral("width"), QStringLiteral("height"),
                                               QStringLiteral("length"), QStringLiteral("count"),
                                               QStringLiteral("volume")};
    QString out = QStringLiteral("{\"method\": \"") + methodWord(method) + QStringLiteral("\", \"lines\": [");
    for (int i = 0; i < lines.size(); ++i) {
        out += i == 0 ? QStringLiteral("\n  {") : QStringLiteral(",\n  {");
        for (int k = 0; k < keys.size(); ++k) {
            if (k > 0)
                out += QStringLiteral(", ");
            out += QLatin1Char('"') + keys[k] + QStringLiteral("\": ") + cellNumber(lines[i].cells.value(k), point);
        }
        if (kind == ListKind::Round)
            out += lines[i].icon == kIconFallback ? QStringLiteral(", \"outOfTable\": true")
                                                  : QStringLiteral(", \"outOfTable\": false");
        out += QLatin1Char('}');
    }
    out += lines.isEmpty() ? QStringLiteral("]") : QStringLiteral("\n]");
    out += QStringLiteral(", \"totals\": {\"volume\": ") + cellNumber(totals.volume, point)
           + QStringLiteral(", \"weight\": ") + totals.weight + QStringLiteral(", \"runningLength\": ")
           + cellNumber(totals.runningLength, point) + QStringLiteral(", \"mean\": ") + cellNumber(totals.mean, point);
    if (kind == ListKind::Board)
        out += QStringLiteral(", \"area\": ") + cellNumber(totals.area, point);
    out += QStringLiteral("}}\n");
    return out.toUtf8();
}

QString listPlainText(const Lines& lines, const ListTotals& totals, ListKind kind, CalcMethod method,
                      UiLanguage language)
{
    const int columns = kind == ListKind::Round ? kRoundColumns : kBoardColumns;
    QVector<QStringList> rows;
    QStringList head{Lang(130, language)};
    for (int c = 0; c < columns; ++c)
        head << Lang(headerEntry(kind, c), language);
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
    QString out = Lang(kind == ListKind::Round ? 36 + static_cast<int>(method) : 89, language) + QLatin1Char('\n');
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
    const auto total = [&](int caption, const QString& value, int unit) {
        out += Lang(caption, language) + QStringLiteral(": ") + value + QLatin1Char(' ') + Lang(unit, language)
               + QLatin1Char('\n');
    };
    out += QLatin1Char('\n');
    total(6, totals.volume, 12);
    total(16, totals.weight, 11);
    total(99, totals.runningLength, 9);
    total(kind == ListKind::Round ? 100 : 101, totals.mean, 7);
    if (kind == ListKind::Board)
        total(14, totals.area, 13);
    if (totals.fallbacks > 0)
        out += QStringLiteral("* ") + Lang(80, language) + QLatin1Char('\n');
    return out;
}

} // namespace zel
