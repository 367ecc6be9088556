// The two printed documents line by line, and the report file.
#include "cubtable/cubtable.h"
#include "engine/errors.h"
#include "shell/codepage.h"
#include "report/reports.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace zel;

namespace {

CalcReportInput englishRound()
{
    CalcReportInput in;
    in.methodName = u"GOST 2708-75"_qs;
    in.heading = u"Calculation of cubic meters of round timber in "_qs;
    in.columnCaptions = {u"Diameter"_qs, u"Length"_qs, u"Number"_qs, u"Volume"_qs};
    in.lines = {{u"20 sm."_qs, u"4,00 m."_qs, u"3 pcs."_qs, u"0,4410 m3."_qs},
                {u"30 sm."_qs, u"4,00 m."_qs, u"2 pcs."_qs, u"0,6600 m3."_qs}};
    in.volumeCaption = u"Volume"_qs;
    in.volume = u"1,1010"_qs;
    in.volumeUnit = u"m3."_qs;
    in.weightCaption = u"Weight"_qs;
    in.weight = u"793"_qs;
    in.weightUnit = u"kg."_qs;
    in.areaCaption = u"Area"_qs;
    in.areaUnit = u"m2."_qs;
    return in;
}

CalcReportInput russianBoards(bool areaRow)
{
    CalcReportInput in;
    in.boards = true;
    in.methodName = u"ГОСТ 2708-75"_qs;
    in.heading = u"Расчет кубатуры доски"_qs;
    in.columnCaptions = {u"Ширина"_qs, u"Высота"_qs, u"Длина"_qs, u"Количество"_qs, u"Объём"_qs};
    in.lines = {{u"15 см."_qs, u"5 см."_qs, u"6,00 м."_qs, u"10 шт."_qs, u"0,4500 м3."_qs}};
    in.volumeCaption = u"Объём"_qs;
    in.volume = u"0,4500"_qs;
    in.volumeUnit = u"м3."_qs;
    in.weightCaption = u"Вес"_qs;
    in.weight = u"324"_qs;
    in.weightUnit = u"кг."_qs;
    in.areaCaption = u"Площадь"_qs;
    in.area = u"9,0000"_qs;
    in.areaUnit = u"м2."_qs;
    in.areaRow = areaRow;
    return in;
}

} // namespace

class TestReports : public QObject {
    Q_OBJECT
private slots:
    void roundReportInEnglish();
    void textsAreNeverMarkup();
    void boardReportCollapsedAndExpanded();
    void cellTextsAreEscaped();
    void tableReportOfTheDefaultGostTable();
    void fileIsWindows1251WithCrLf();
    void unwritableFileIsAnError();
};

void TestReports::roundReportInEnglish()
{
    const QStringList expected{
        u"<HTML>"_qs, u"<HEAD>"_qs, u"<TITLE>GOST 2708-75</TITLE>"_qs, u"</HEAD>"_qs,
        u"<BODY BGCOLOR=\"#FFFFEE\">"_qs,
        u"<H3><CENTER>Calculation of cubic meters of round timber in GOST 2708-75 </CENTER></H3>"_qs,
        u"<CENTER> "_qs, u"<table width=\"80%\"  border>"_qs, u"<tr>"_qs,
        u"<th width=10%> \u2116 </th>"_qs,
        u"<th width=22%>Diameter</th>"_qs, u"<th width=22%>Length</th>"_qs,
        u"<th width=22%>Number</th>"_qs, u"<th width=22%>Volume</th>"_qs, u"</tr>"_qs,
        u"<tr align=\"center\">"_qs, u"<td>1</td>"_qs, u"<td>20 sm.</td>"_qs, u"<td>4,00 m.</td>"_qs,
        u"<td>3 pcs.</td>"_qs, u"<td>0,4410 m3.</td>"_qs, u"</tr>"_qs,
        u"<tr align=\"center\">"_qs, u"<td>2</td>"_qs, u"<td>30 sm.</td>"_qs, u"<td>4,00 m.</td>"_qs,
        u"<td>2 pcs.</td>"_qs, u"<td>0,6600 m3.</td>"_qs, u"</tr>"_qs,
        u"<tr align=\"center\">"_qs, u"<td colspan=\"3\" rowspan=\"2\">&nbsp;</td>"_qs,
        u"<td><strong>Volume</strong></td>"_qs, u"<td><strong>1,1010 m3.</strong></td>"_qs, u"</tr>"_qs,
        u"<tr align=\"center\">"_qs, u"<td><strong>Weight</strong></td>"_qs,
        u"<td><strong>793 kg.</strong></td>"_qs, u"</tr>"_qs,
        u"</TABLE>"_qs, u"</CENTER> "_qs, u"</BODY>"_qs, u"</HTML>"_qs,
    };
    QCOMPARE(CalcReportDocument(englishRound()), expected);
}

void TestReports::boardReportCollapsedAndExpanded()
{
    const QStringList collapsed = CalcReportDocument(russianBoards(false));
    QCOMPARE(collapsed[2], u"<TITLE>ГОСТ 2708-75</TITLE>"_qs);
    QCOMPARE(collapsed[5], u"<H3><CENTER>Расчет кубатуры доски </CENTER></H3>"_qs);
    QCOMPARE(collapsed[10], u"<th width=16%>Ширина</th>"_qs);
    QCOMPARE(collapsed[14], u"<th width=16%>Объём</th>"_qs);
    // One line row: number, width, then four sub-items.
    const QStringList row = collapsed.mid(16, 8);
    QCOMPARE(row, (QStringList{u"<tr align=\"center\">"_qs, u"<td>1</td>"_qs, u"<td>15 см.</td>"_qs,
                               u"<td>5 см.</td>"_qs, u"<td>6,00 м.</td>"_qs, u"<td>10 шт.</td>"_qs,
                               u"<td>0,4500 м3.</td>"_qs, u"</tr>"_qs}));
    QVERIFY(collapsed.contains(u"<td colspan=\"4\" rowspan=\"2\">&nbsp;</td>"_qs));
    QVERIFY(!collapsed.contains(u"<td><strong>Площадь</strong></td>"_qs));
    QCOMPARE(collapsed.size(), 37);

    const QStringList expanded = CalcReportDocument(russianBoards(true));
    QVERIFY(expanded.contains(u"<td colspan=\"4\" rowspan=\"3\">&nbsp;</td>"_qs));
    const int area = expanded.indexOf(u"<td><strong>Площадь</strong></td>"_qs);
    QVERIFY(area > 0);
    QCOMPARE(expanded[area + 1], u"<td><strong>9,0000 м2.</strong></td>"_qs);
    QCOMPARE(expanded.size(), collapsed.size() + 4);
}

void TestReports::cellTextsAreEscaped()
{
    // A cell that did not parse keeps its raw text; it must not become markup.
    CalcReportInput in = englishRound();
    in.lines[0] = QStringList{u"<!--"_qs, u"a&b"_qs, u"3 pcs.>"_qs, u"0,4410 m3."_qs};
    in.volume = u"<b>"_qs;
    const QStringList doc = CalcReportDocument(in);
    QCOMPARE(doc.mid(16, 4), (QStringList{u"<td>1</td>"_qs, u"<td>&lt;!--</td>"_qs, u"<td>a&amp;b</td>"_qs,
                                          u"<td>3 pcs.&gt;</td>"_qs}));
    QVERIFY(doc.contains(u"<td><strong>&lt;b&gt; m3.</strong></td>"_qs));
}

void TestReports::tableReportOfTheDefaultGostTable()
{
    const CubTable t = generateTable(*rangesFor(CalcMethod::Gost2708), CalcMethod::Gost2708, 1, true,
                                     QLocale(QLocale::Ukrainian, QLocale::Ukraine));
    QVector<QStringList> cells(t.rows);
    for (int r = 0; r < t.rows; ++r)
        for (int c = 0; c < t.columns; ++c)
            cells[r] << t.cell(c, r);
    const QStringList doc = TableReportDocument(u"Кубатурная таблица"_qs, u"ГОСТ 2708-75"_qs, cells);
    QCOMPARE(doc.mid(0, 8), (QStringList{u"<HTML>"_qs, u"<HEAD>"_qs,
                                         u"<TITLE>Кубатурная таблица</TITLE>"_qs, u"</HEAD>"_qs,
                                         u"<BODY BGCOLOR=\"#FFFFEE\">"_qs,
                                         u"<H2><CENTER>Кубатурная таблица ГОСТ 2708-75</CENTER></H2>"_qs,
                                         u"<CENTER> "_qs, u"<table border>"_qs}));
    QCOMPARE(doc.count(u"<tr align=\"center\">"_qs), 119);
    QCOMPARE(doc.count(u"</tr>"_qs), 119);
    // Every row has 19 cells; the first row starts with the empty corner.
    QCOMPARE(doc[9], u"<td></td>"_qs);
    QCOMPARE(doc[10], u"<td>1,0</td>"_qs);
    QCOMPARE(doc[27], u"<td>9,5</td>"_qs);
    QCOMPARE(doc[28], u"</tr>"_qs);
    QCOMPARE(doc.size(), 8 + 119 * 21 + 4);
    QCOMPARE(doc.mid(doc.size() - 4), (QStringList{u"</TABLE>"_qs, u"</CENTER> "_qs, u"</BODY>"_qs, u"</HTML>"_qs}));
}

// A line kept unread (from a stored list or an edited cell) may hold any
// text; it is shown as it is and cannot open an element of its own.
void TestReports::textsAreNeverMarkup()
{
    CalcReportInput in = englishRound();
    in.lines[0][1] = u"4 <b>m & \"more\""_qs;
    in.methodName = u"</TITLE><script>"_qs;
    const QStringList doc = CalcReportDocument(in);
    QVERIFY(doc.contains(u"<td>4 &lt;b&gt;m &amp; \"more\"</td>"_qs));
    QCOMPARE(doc[2], u"<TITLE>&lt;/TITLE&gt;&lt;script&gt;</TITLE>"_qs);
    const QStringList table = TableReportDocument(u"a<b"_qs, u"c"_qs, {{u"<i>"_qs}});
    QVERIFY(table.contains(u"<td>&lt;i&gt;</td>"_qs));
    QCOMPARE(table[5], u"<H2><CENTER>a&lt;b c</CENTER></H2>"_qs);
}

void TestReports::fileIsWindows1251WithCrLf()
{
    QTemporaryDir dir;
    const QString path = reportFilePath(dir.filePath(u"zelmora"_qs));
    QCOMPARE(path, dir.filePath(u"HTML.html"_qs));
    const QStringList doc = CalcReportDocument(russianBoards(true));
    writeReportFile(path, doc);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.endsWith("</HTML>\r\n"));
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(bytes.count("\r\n"), doc.size());
    QCOMPARE(fromWindows1251(bytes), doc.join(u"\r\n"_qs) + u"\r\n"_qs);
    QVERIFY(bytes.contains("\xB9")); // the numero sign in Windows-1251
}

void TestReports::unwritableFileIsAnError()
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(u"blocker"_qs));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY_THROWS_EXCEPTION(InOutError, writeReportFile(dir.filePath(u"blocker/HTML.html"_qs), {u"x"_qs}));
}

QTEST_APPLESS_MAIN(TestReports)
#include "tst_reports.moc"
