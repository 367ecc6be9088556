// Lists in and out: the reader of list texts, adding rows by the entry rules,
// the writer of the export, the JSON and the worksheet.
#include "lists/listentry.h"
#include "lists/listparser.h"
#include "lists/listsheet.h"
#include "lists/listwriter.h"
#include "shell/codepage.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QtTest>

using namespace zel;

namespace {

ListContext context(UiLanguage l, CalcMethod m = CalcMethod::Gost2708)
{
    return ListContext{m, 1, l, 4, 8};
}

// Lines of a list built from rows as the import builds them.
Lines listOf(const ParsedList& parsed, ListKind kind)
{
    Lines lines;
    ListEntries entries(lines, kind);
    for (const ParsedRow& r : parsed.rows)
        entries.add(r.values);
    return lines;
}

QString rowsText(const ParsedList& p)
{
    QStringList out;
    for (const ParsedRow& r : p.rows)
        out << QStringLiteral("%1:%2/%3/%4/%5")
                   .arg(r.row)
                   .arg(r.values.size)
                   .arg(r.values.height)
                   .arg(r.values.length)
                   .arg(r.values.count);
    return out.join(QLatin1Char(' '));
}

QString skippedText(const ParsedList& p, ListKind kind)
{
    return describeSkipped(p.skipped, kind, UiLanguage::English, 100, QStringLiteral(", "));
}

// Rows within and beyond the tables' ranges, some equal to merge.
QString generatedRows(int n, quint32 seed)
{
    QRandomGenerator rng(seed);
    QString text;
    for (int i = 0; i < n; ++i) {
        const int d = rng.bounded(3, 121);
        const int tenths = rng.bounded(10, 151);
        text += QStringLiteral("%1;%2,%3;%4\n").arg(d).arg(tenths / 10).arg(tenths % 10).arg(rng.bounded(1, 40));
    }
    return text;
}

} // namespace

class TestListExchange : public QObject {
    Q_OBJECT
private slots:
    void readsNumbers_data();
    void readsNumbers();
    void readsLayouts_data();
    void readsLayouts();
    void skipsBadRows_data();
    void skipsBadRows();
    void wholeFileFailures_data();
    void wholeFileFailures();
    void garbageIsToldQuickly();
    void questionListsSkippedRows();
    void entriesMergeAsTheEntryRow();
    void csvRoundTripInEachLanguage();
    void csvAsWritten();
    void jsonAsWritten();
    void sheetHoldsNumbersAndSums();
};

void TestListExchange::readsNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mark");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("comma") << "4,5" << "," << true << 4.5;
    QTest::newRow("point") << "4.5" << "." << true << 4.5;
    QTest::newRow("grouped by points") << "1.234,5" << "," << true << 1234.5;
    QTest::newRow("grouped by commas") << "1,234.5" << "." << true << 1234.5;
    QTest::newRow("grouped by no-break blank") << "12\u00A0345" << "," << true << 12345.0;
    QTest::newRow("grouped by apostrophe") << "12'345" << "." << true << 12345.0;
    QTest::newRow("exponent") << "1,235E04" << "," << true << 12350.0;
    QTest::newRow("blanks around") << "  20 " << "," << true << 20.0;
    QTest::newRow("comma read as a group is not") << "4,5" << "." << false << 0.0;
    QTest::newRow("group of two") << "1.23,5" << "," << false << 0.0;
    QTest::newRow("word") << "abc" << "," << false << 0.0;
    QTest::newRow("unit") << "20 cm" << "," << false << 0.0;
    QTest::newRow("empty exponent") << "4E" << "," << false << 0.0;
    QTest::newRow("empty") << "" << "," << false << 0.0;
}

void TestListExchange::readsNumbers()
{
    QFETCH(QString, text);
    QFETCH(QString, mark);
    QFETCH(bool, ok);
    QFETCH(double, value);
    double v = -1.0;
    QCOMPARE(readDecimal(text, mark[0], &v), ok);
    if (ok)
        QCOMPARE(v, value);
}

void TestListExchange::readsLayouts_data()
{
    QTest::addColumn<bool>("boards");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("rows");
    QTest::newRow("by position, count left out")
        << false << QByteArray("20;4,5;3\n24;6\n") << "1:20/0/4.5/3 2:24/0/6/1";
    QTest::newRow("comma separated, decimal point") << false << QByteArray("20,4.5,3\r\n") << "1:20/0/4.5/3";
    QTest::newRow("tab separated") << false << QByteArray("20\t4,5\t3\n") << "1:20/0/4.5/3";
    QTest::newRow("byte-order mark, header in English, columns moved and others ignored")
        << false << QByteArray("\xEF\xBB\xBFNote,Number (pcs.),Length (m.),Diameter (sm.)\nx,2,4.0,30\n")
        << "2:30/0/4/2";
    QTest::newRow("Ukrainian captions")
        << false << QByteArray("Діаметер (см.);Довжина (м.);Кількість (шт.)\n20;4,0;3\n") << "2:20/0/4/3";
    QTest::newRow("Russian captions, no count column")
        << false << QByteArray("Диаметр;Длина\n20;4,0\n") << "2:20/0/4/1";
    QTest::newRow("Windows-1251 captions")
        << false << toWindows1251(QStringLiteral("Диаметр;Длина;Количество\n20;4,0;3\n")) << "2:20/0/4/3";
    QTest::newRow("UTF-16 with its mark") << false
        << QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(u"20\t4.5\t3\r\n"), 20)
        << "1:20/0/4.5/3";
    QTest::newRow("mixed line ends, blank and trailing lines")
        << false << QByteArray("20;4;1\r\n21;4;1\r22;4;1\n\n23;4;1\r\n\r\n\n") << "1:20/0/4/1 2:21/0/4/1 3:22/0/4/1 5:23/0/4/1";
    QTest::newRow("quoted fields, separators and doubled quotes inside")
        << false << QByteArray("\"Diameter\",\"Note\",Length\n\"20\",\"a \"\"big\"\", one\",\"4.0\"\n")
        << "2:20/0/4/1";
    QTest::newRow("quoted field over two lines")
        << false << QByteArray("Diameter;Length;Count;Note\n20;\"4,0\";3;\"note\nmore\"\n21;4;1\n")
        << "2:20/0/4/3 4:21/0/4/1";
    QTest::newRow("thousands in a count") << false << QByteArray("20\t4.0\t1,000\n") << "1:20/0/4/1000";
    QTest::newRow("boards by position") << true << QByteArray("15;5;6,0;10\n") << "1:15/5/6/10";
    QTest::newRow("boards by header, misspelled height")
        << true << QByteArray("Width,Hight,Length,Number\n15,5,6.0,10\n") << "2:15/5/6/10";
    QTest::newRow("whole numbers written with decimals") << false << QByteArray("20,0;4,00;3,0\n") << "1:20/0/4/3";
    // The captions clerks write, with the unit after a comma, a blank or in brackets.
    QTest::newRow("Qty") << false << QByteArray("Diameter,Length,Qty\n20,4.0,7\n") << "2:20/0/4/7";
    QTest::newRow("Russian with units") << false << QByteArray("Диаметр, см;Длина (м);Кол-во\n20;4,0;7\n") << "2:20/0/4/7";
    QTest::newRow("short, units as words") << false << QByteArray("Dia cm\tLen m\tPcs.\n20\t4\t7\n") << "2:20/0/4/7";
    QTest::newRow("signs and Ukrainian") << false << QByteArray("Ø;L;К-сть\n20;4;7\n") << "2:20/0/4/7";
    QTest::newRow("boards, letters") << true << QByteArray("W;H;L [m];Шт\n15;5;6;10\n") << "2:15/5/6/10";
}

void TestListExchange::readsLayouts()
{
    QFETCH(bool, boards);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, rows);
    const ListKind kind = boards ? ListKind::Board : ListKind::Round;
    const ParsedList p = ListParser(kind).parseFile(bytes);
    QCOMPARE(p.failure, ParsedList::None);
    QCOMPARE(skippedText(p, kind), QString());
    QCOMPARE(rowsText(p), rows);
}

void TestListExchange::skipsBadRows_data()
{
    QTest::addColumn<bool>("boards");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("skipped");
    QTest::newRow("diameter and count limits")
        << false << QByteArray("2;4;1\n121;4;1\n20;4;0\n20;4;10001\n3;4;10000\n")
        << "row 1 (diameter 2 out of 3..120), row 2 (diameter 121 out of 3..120), "
           "row 3 (count 0 out of 1..10000), row 4 (count 10001 out of 1..10000)";
    QTest::newRow("length limits and decimals")
        << false << QByteArray("20;0,9;1\n20;15,1;1\n20;4,57;1\n20;15;1\n")
        << "row 1 (length 0,9 out of 1..15), row 2 (length 15,1 out of 1..15), "
           "row 3 (length 4,57 has more than one decimal)";
    QTest::newRow("missing, not a number, not whole")
        << false << QByteArray("Diameter;Length;Count\n;4;1\n20;x;1\n20,5;4;1\n20;4;\n")
        << "row 2 (no diameter), row 3 (length \"x\" is not a number), row 4 (diameter 20,5 is not a whole number), "
           "row 5 (no count)";
    QTest::newRow("board values as the entry row takes them")
        << true << QByteArray("0;0;1;0\n-1;5;4;1\n15;5;4;3000000000\n")
        << "row 2 (width -1 out of 0..2147483647), row 3 (count 3000000000 out of 0..2147483647)";
}

void TestListExchange::skipsBadRows()
{
    QFETCH(bool, boards);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, skipped);
    const ListKind kind = boards ? ListKind::Board : ListKind::Round;
    const ParsedList p = ListParser(kind).parseFile(bytes);
    QCOMPARE(p.failure, ParsedList::None);
    QCOMPARE(skippedText(p, kind), skipped);
}

void TestListExchange::wholeFileFailures_data()
{
    QTest::addColumn<bool>("boards");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << false << QByteArray() << "The file is empty.";
    QTest::newRow("mark and blank lines only") << false << QByteArray("\xEF\xBB\xBF\r\n;;\r\n") << "The file is empty.";
    QTest::newRow("header only") << false << QByteArray("Diameter;Length\n") << "The file is empty.";
    QTest::newRow("a picture") << false << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << "The file is not a text file.";
    QTest::newRow("control characters") << false << QByteArray("\x01\x02\x03\x04;\x05\n") << "The file is not a text file.";
    QTest::newRow("a board file into the round list")
        << false << QByteArray("Width;Hight;Length;Number\n15;5;6;10\n")
        << "The header row has no column for the diameter. "
           "Captions taken for it: Diameter, Діаметер, Диаметр, D, Dia, Diam, Ø, Диам, Діам.";
    QTest::newRow("a round file into the board list")
        << true << QByteArray("Diameter;Length\n20;4\n")
        << "The header row has no column for the width. Captions taken for it: Width, Ширина, W, Шир.";
    QTest::newRow("too large") << false << QByteArray(ListParser::kMaxFileSize + 1, '1') << "The file is too large.";
}

void TestListExchange::wholeFileFailures()
{
    QFETCH(bool, boards);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const ParsedList p = ListParser(boards ? ListKind::Board : ListKind::Round).parseFile(bytes);
    QVERIFY(p.failure != ParsedList::None);
    QVERIFY(p.rows.isEmpty());
    QCOMPARE(describeFailure(p, UiLanguage::English), message);
}

void TestListExchange::garbageIsToldQuickly()
{
    // 10 MB of random bytes, and 10 MB of printable garbage without a NUL.
    QRandomGenerator rng(7);
    QByteArray bytes(10 * 1024 * 1024, '\0');
    rng.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(ListParser(ListKind::Round).parseFile(bytes).failure, ParsedList::NotText);
    for (char& c : bytes)
        c = static_cast<char>(' ' + static_cast<unsigned char>(c) % 95);
    for (int i = 80; i < bytes.size(); i += 81)
        bytes[i] = '\n';
    bytes.prepend("20;4;1\n");
    const ParsedList p = ListParser(ListKind::Round).parseFile(bytes);
    QCOMPARE(p.failure, ParsedList::None);
    QVERIFY(p.skipped.size() > 100000);
    QVERIFY(importQuestion(p, ListKind::Round, UiLanguage::English, RowsAmount()).size() < 1000);
    QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
}

void TestListExchange::questionListsSkippedRows()
{
    const ListParser parser(ListKind::Round);
    const auto question = [&](const QByteArray& text, UiLanguage l) {
        const ParsedList p = parser.parseFile(text);
        return importQuestion(p, ListKind::Round, l, rowsAmount(p, ListKind::Round, context(l)));
    };
    // Two rows of 20 cm x 4 m merge: 5 logs of 0,147 m3 by GOST.
    QCOMPARE(question("Diameter;Length;Qty\n20;4;3\n20;4;2\n130;4;1\n", UiLanguage::English),
             u"2 lines will be added; 1 rows skipped: row 4 (diameter 130 out of 3..120)\n"
             "Logs: 5, volume 0,7350 m3.\n"
             "Columns read: diameter from \"Diameter\", length from \"Length\", count from \"Qty\"."_qs);
    QCOMPARE(question("20;4;3\n", UiLanguage::English),
             u"1 lines will be added.\nLogs: 3, volume 0,4410 m3.\n"
             "No header row: the columns are read in the order diameter, length, count."_qs);
    QCOMPARE(question("1;4;3\n", UiLanguage::Ukrainian),
             u"Немає рядків для додавання; пропущено: 1: рядок 1 (діаметр 1 поза межами 3..120)\n"
             "Рядка заголовків немає, стовпці прочитано по порядку: діаметр, довжина, кількість."_qs);
    // A count in a column the reader does not know: told before anything is added.
    const ParsedList unread = parser.parseFile("No,Diameter,Length,Logs\n1,20,4,7\n");
    QVERIFY(unread.countMayBeUnread());
    QVERIFY(question("No,Diameter,Length,Logs\n1,20,4,7\n", UiLanguage::English)
                .endsWith(u"Logs: 1, volume 0,1470 m3.\nColumns read: diameter from \"Diameter\", length from \"Length\".\n"
                          "Columns not read: \"No\", \"Logs\". No column holds the count, so every row counts as one log."_qs));
    // Without a column the reader could not place, one log a row is the file's own meaning.
    QVERIFY(!parser.parseFile("Diameter,Length\n20,4\n").countMayBeUnread());
    QVERIFY(!parser.parseFile("No,Diameter,Length,Count\n1,20,4,7\n").countMayBeUnread());
    // A dozen bad rows: the question names ten and says there are more.
    const QString q = question(QByteArray("20;4;3\n") + QByteArray("1;4;1\n").repeated(12), UiLanguage::English);
    QVERIFY(q.startsWith(u"1 lines will be added; 12 rows skipped: row 2 (diameter 1 out of 3..120), row 3"_qs));
    QVERIFY(q.contains(u"row 11 (diameter 1 out of 3..120)\u2026\n"_qs));
}

void TestListExchange::entriesMergeAsTheEntryRow()
{
    // The same rows through the entry row's own merge and through ListEntries,
    // on a list that already holds lines (one of them unreadable).
    for (ListKind kind : {ListKind::Round, ListKind::Board}) {
        Lines start;
        if (kind == ListKind::Round)
            start << newRoundLine(u"20"_qs, 4.0, u"2147483000"_qs) << newRoundLine(u"x"_qs, 4.0, u"1"_qs);
        else
            start << newBoardLine(u"15"_qs, u"5"_qs, 4.0, u"2147483000"_qs) << newBoardLine(u"x"_qs, u"5"_qs, 4.0, u"1"_qs);
        Lines byScan = start;
        Lines byEntries = start;
        ListEntries entries(byEntries, kind);
        QRandomGenerator rng(11);
        for (int i = 0; i < 600; ++i) {
            EntryValues v;
            v.size = kind == ListKind::Round ? rng.bounded(18, 24) : rng.bounded(13, 17);
            v.height = rng.bounded(4, 6);
            v.length = rng.bounded(38, 42) / 10.0;
            v.count = rng.bounded(1, 400);
            const bool merged = kind == ListKind::Round ? scanRoundLines(byScan, v.size, v.length, v.count)
                                                        : scanBoardLines(byScan, v.size, v.height, v.length, v.count);
            if (!merged) {
                byScan << (kind == ListKind::Round
                               ? newRoundLine(QString::number(v.size), v.length, QString::number(v.count))
                               : newBoardLine(QString::number(v.size), QString::number(v.height), v.length,
                                              QString::number(v.count)));
            }
            QCOMPARE(entries.add(v), merged);
        }
        QCOMPARE(lineTexts(byEntries), lineTexts(byScan));
        QVERIFY(byScan.size() > 10); // the full line took further lines of its own
    }
}

void TestListExchange::csvRoundTripInEachLanguage()
{
    for (UiLanguage lang : {UiLanguage::Ukrainian, UiLanguage::Russian, UiLanguage::English}) {
        for (ListKind kind : {ListKind::Round, ListKind::Board}) {
            QString input = generatedRows(300, 5);
            if (kind == ListKind::Board)
                input.replace(QLatin1Char(';'), QStringLiteral(";7;"));
            Lines lines = listOf(ListParser(kind).parseText(input), kind);
            const auto refresh = [&](Lines& l) {
                return kind == ListKind::Round ? ReFreshRoundLines(l, context(lang)) : ReFreshBoardLines(l, context(lang));
            };
            const ListTotals before = refresh(lines);
            const ParsedList back = ListParser(kind).parseFile(listCsv(lines, kind, lang));
            QCOMPARE(back.skipped.size(), 0);
            QVERIFY(back.header);
            Lines again = listOf(back, kind);
            const ListTotals after = refresh(again);
            QCOMPARE(lineTexts(again), lineTexts(lines));
            QCOMPARE(after.volume, before.volume);
        }
    }
}

void TestListExchange::csvAsWritten()
{
    Lines round{newRoundLine(u"20"_qs, 4.0, u"3"_qs), newRoundLine(u"20"_qs, 12.0, u"1"_qs)};
    ReFreshRoundLines(round, context(UiLanguage::English));
    QCOMPARE(listCsv(round, ListKind::Round, UiLanguage::English),
             QByteArray("\xEF\xBB\xBFNo,Diameter (cm),Length (m.),Number (pcs.),Volume (m3.),Out of table\r\n"
                        "1,20,4.00,3,0.4410,0\r\n2,20,12.00,1,0.6371,1\r\n"));
    Lines boards{newBoardLine(u"15"_qs, u"5"_qs, 6.0, u"10"_qs), newBoardLine(u"2000"_qs, u"100"_qs, 15.0, u"10"_qs)};
    ReFreshBoardLines(boards, context(UiLanguage::Ukrainian));
    QCOMPARE(listCsv(boards, ListKind::Board, UiLanguage::Ukrainian),
             QByteArray("\xEF\xBB\xBF") + u"№;Ширина (см.);Висота (см.);Довжина (м.);Кількість (шт.);Об`єм (м3.);Площа (м2.)\r\n"
             "1;15;5;6,00;10;0,4500;9,0000\r\n2;2000;100;15,00;10;3000,0000;3000,0000\r\n"_qs.toUtf8());
    // A cell holding the separator or a quotation mark is quoted.
    Lines odd{ListLine{{u"2;\"0\" cm"_qs, u"4"_qs, u"1"_qs, u"0"_qs}, kIconNormal}};
    QCOMPARE(listTableText(odd, ListKind::Round, UiLanguage::Russian, QLatin1Char(';')).split(u"\r\n"_qs).value(1),
             u"1;\"2;\"\"0\"\"\";4;1;0;0"_qs);
}

void TestListExchange::jsonAsWritten()
{
    Lines round{newRoundLine(u"20"_qs, 4.0, u"3"_qs), newRoundLine(u"20"_qs, 12.0, u"1"_qs)};
    ReFreshRoundLines(round, context(UiLanguage::Ukrainian));
    QCOMPARE(listJson(round, printedTotals(round, ListKind::Round, context(UiLanguage::Ukrainian)), ListKind::Round,
                      CalcMethod::Gost2708),
             QByteArray("{\"method\": \"gost\", \"lines\": [\n"
                        "  {\"diameter\": 20, \"length\": 4.00, \"count\": 3, \"volume\": 0.4410, \"outOfTable\": false},\n"
                        "  {\"diameter\": 20, \"length\": 12.00, \"count\": 1, \"volume\": 0.6371, \"outOfTable\": true}\n"
                        "], \"totals\": {\"volume\": 1.0781, \"weight\": 776, \"runningLength\": 24.00, \"mean\": 20.00}}\n"));
    Lines none;
    ReFreshBoardLines(none, context(UiLanguage::English));
    QCOMPARE(listJson(none, printedTotals(none, ListKind::Board, context(UiLanguage::English)), ListKind::Board,
                      CalcMethod::Iso4480),
             QByteArray("{\"method\": \"iso\", \"lines\": [], \"totals\": {\"volume\": 0.0000, \"weight\": 0, "
                        "\"runningLength\": 0.00, \"mean\": 0.00, \"area\": 0.0000}}\n"));
    // Boards of 20 m x 1 m x 15 m: 300 m3 and 300 m2 each; 45 of them show
    // 13 500 as "1,350E04", which JSON takes in full.
    Lines big{newBoardLine(u"2000"_qs, u"100"_qs, 15.0, u"45"_qs), newBoardLine(u"15"_qs, u"5"_qs, 6.0, u"10"_qs)};
    ReFreshBoardLines(big, context(UiLanguage::English));
    const QByteArray json = listJson(big, printedTotals(big, ListKind::Board, context(UiLanguage::English)),
                                     ListKind::Board, CalcMethod::Gost2708);
    QVERIFY2(json.contains("\"count\": 45, \"volume\": 13500.0000}"), json);
    QVERIFY2(json.contains("{\"volume\": 13500.4500, \"weight\": "), json);
    QVERIFY2(json.contains("\"runningLength\": 735.00, \"mean\": 1639.09, \"area\": 13509.0000}}"), json);
}

void TestListExchange::sheetHoldsNumbersAndSums()
{
    Lines boards{newBoardLine(u"15"_qs, u"5"_qs, 6.0, u"10"_qs), newBoardLine(u"20"_qs, u"4"_qs, 4.5, u"3"_qs)};
    ReFreshBoardLines(boards, context(UiLanguage::English));
    const ListSheet s = listSheet(boards, ListKind::Board, CalcMethod::Gost2708, UiLanguage::English,
                                  QDateTime(QDate(2026, 3, 4), QTime(9, 5)));
    QHash<int, SheetCell> cells;
    for (const SheetCell& c : s.cells)
        cells.insert(c.row * 100 + c.column, c);
    const auto at = [&](int row, int column) { return cells.value(row * 100 + column); };
    QCOMPARE(at(1, 1).text, u"04.03.2026 09:05"_qs);
    QCOMPARE(at(3, 6).text, u"Area (m2.)"_qs);
    QVERIFY(at(5, 3).isNumber);
    QCOMPARE(at(5, 3).number, 4.5);
    QCOMPARE(at(5, 3).decimals, 2);
    QCOMPARE(at(6, 0).text, u"Total"_qs);
    QCOMPARE(at(6, 4).formula, u"=SUM(E5:E6)"_qs);
    QCOMPARE(at(6, 4).number, 13.0);
    QCOMPARE(at(6, 5).formula, u"=SUM(F5:F6)"_qs);
    QCOMPARE(at(6, 5).number, 0.45 + 0.108);
    QCOMPARE(s.widths.size(), 7);
    QVERIFY(s.widths[6] >= u"Area (m2.)"_qs.size());
}

QTEST_GUILESS_MAIN(TestListExchange)
#include "tst_listexchange.moc"
