// zelmora-calc, the program itself: values worked by hand, its formats,
// standard input and its exit statuses.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run calc(const QStringList& args, const QByteArray& input = QByteArray())
{
    QProcess p;
    p.start(QStringLiteral(ZELMORA_CALC), args);
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(30000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class TestCalcProgram : public QObject {
    Q_OBJECT
private slots:
    void valuesByHand_data();
    void valuesByHand();
    void tableForPeople();
    void exitStatuses_data();
    void exitStatuses();
    void largeTotalsWrittenInFull();
};

void TestCalcProgram::valuesByHand_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("json");
    // GOST 2708-75: 20 cm, 4.0 m is 0.147 m3 a log; Scots pine at 70 %: 318 kg for 0.441 m3.
    QTest::newRow("GOST, merged") << QStringList{u"--format=json"_qs} << QByteArray("20;4;1\n20;4,0;2\n")
        << u"{\"method\": \"gost\", \"lines\": [\n  {\"diameter\": 20, \"length\": 4.00, \"count\": 3, \"volume\": 0.4410, "
           "\"outOfTable\": false}\n], \"totals\": {\"volume\": 0.4410, \"weight\": 318, \"runningLength\": 12.00, "
           "\"mean\": 20.00}}\n"_qs;
    // Beyond the table: 1.0 cm a metre, mean diameter 26 cm: pi * 0.13^2 * 12 = 0.63711.
    QTest::newRow("GOST, out of the table") << QStringList{u"--format"_qs, u"json"_qs} << QByteArray("20\t12\n")
        << u"{\"method\": \"gost\", \"lines\": [\n  {\"diameter\": 20, \"length\": 12.00, \"count\": 1, \"volume\": 0.6371, "
           "\"outOfTable\": true}\n], \"totals\": {\"volume\": 0.6371, \"weight\": 459, \"runningLength\": 12.00, "
           "\"mean\": 20.00}}\n"_qs;
    // Formula with 2.0 cm a metre: mean 24 cm, pi * 0.12^2 * 4 = 0.180956; birch at 10 %: * 630 = 114.0.
    QTest::newRow("formula, taper, species, moisture")
        << QStringList{u"--method=formula"_qs, u"--taper=2"_qs, u"--species=0"_qs, u"--moisture=10"_qs, u"--format=json"_qs}
        << QByteArray("20,4.0\n")
        << u"{\"method\": \"formula\", \"lines\": [\n  {\"diameter\": 20, \"length\": 4.00, \"count\": 1, \"volume\": 0.1810, "
           "\"outOfTable\": false}\n], \"totals\": {\"volume\": 0.1810, \"weight\": 114, \"runningLength\": 4.00, "
           "\"mean\": 20.00}}\n"_qs;
    // Cylinder: pi * 0.1^2 * 4 = 0.125664 a log, pi * 0.2^2 * 4 = 0.502655; the total is the sum of the
    // lines as shown, 0.1257 + 1.5080 = 1.6337 m3, * 720 = 1176.3; weighted mean (20*1 + 40*3) / 4 = 35.
    QTest::newRow("cylinder, weighted mean") << QStringList{u"--method=cylinder"_qs, u"--format=json"_qs}
        << QByteArray("20;4;1\n40;4;3\n")
        << u"{\"method\": \"cylinder\", \"lines\": [\n  {\"diameter\": 20, \"length\": 4.00, \"count\": 1, \"volume\": 0.1257, "
           "\"outOfTable\": false},\n  {\"diameter\": 40, \"length\": 4.00, \"count\": 3, \"volume\": 1.5080, "
           "\"outOfTable\": false}\n], \"totals\": {\"volume\": 1.6337, \"weight\": 1176, \"runningLength\": 16.00, "
           "\"mean\": 35.00}}\n"_qs;
    // ISO 4480-83: 50 cm at 8.0 m is a gap of the table: the formula, mean 54 cm, pi * 0.27^2 * 8 = 1.832177;
    // 44 cm at 8.0 m is in it: 1.448. 3.280177 m3 * 720 = 2361.7.
    QTest::newRow("ISO gap") << QStringList{u"--method=iso"_qs, u"--format=json"_qs} << QByteArray("50;8\n44;8\n")
        << u"{\"method\": \"iso\", \"lines\": [\n  {\"diameter\": 50, \"length\": 8.00, \"count\": 1, \"volume\": 1.8320, "
           "\"outOfTable\": true},\n  {\"diameter\": 44, \"length\": 8.00, \"count\": 1, \"volume\": 1.4480, "
           "\"outOfTable\": false}\n], \"totals\": {\"volume\": 3.2800, \"weight\": 2362, \"runningLength\": 16.00, "
           "\"mean\": 47.00}}\n"_qs;
    // 15 x 5 cm, 6.0 m, 10 boards: 0.45 m3, face area 9 m2.
    QTest::newRow("boards") << QStringList{u"--boards"_qs, u"--format=json"_qs} << QByteArray("15;5;6;10\n")
        << u"{\"method\": \"gost\", \"lines\": [\n  {\"width\": 15, \"height\": 5, \"length\": 6.00, \"count\": 10, "
           "\"volume\": 0.4500}\n], \"totals\": {\"volume\": 0.4500, \"weight\": 324, \"runningLength\": 60.00, "
           "\"mean\": 15.00, \"area\": 9.0000}}\n"_qs;
}

void TestCalcProgram::valuesByHand()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, input);
    QFETCH(QString, json);
    const Run r = calc(args, input);
    QCOMPARE(r.err, QString());
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, json);
}

void TestCalcProgram::tableForPeople()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"list.csv"_qs);
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("Діаметер;Довжина;Кількість\n20;4;3\n20;12;1\n130;4;1\n");
    f.close();
    const Run r = calc({u"--language"_qs, u"uk"_qs, file});
    QCOMPARE(r.status, 1);
    QCOMPARE(r.err, u"рядок 4 (діаметр 130 поза межами 3..120)\n"_qs);
    QCOMPARE(r.out, u"ГОСТ 2708-75\n"
                    "№  Діаметер   Довжина  Кількість       Об`єм\n"
                    "1    20 см.   4,00 м.      3 шт.  0,4410 м3.\n"
                    "2    20 см.  12,00 м.      1 шт.  0,6371 м3.  *\n"
                    "\n"
                    "Об`єм: 1,0781 м3.\n"
                    "Вага: 776 кг.\n"
                    "Загальна довжина: 24,00 м.п.\n"
                    "Середній діаметр: 20,00 см.\n"
                    "* Деякі значення виходять за межі інтерполяційної таблиці.\n"_qs);
}

void TestCalcProgram::exitStatuses_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("errStart");
    QTest::newRow("help") << QStringList{u"--help"_qs} << QByteArray() << 0 << QString();
    QTest::newRow("every row used, standard input named") << QStringList{u"-"_qs} << QByteArray("20;4\n") << 0 << QString();
    QTest::newRow("a row skipped") << QStringList() << QByteArray("20;4\n20;4;0\n") << 1 << u"row 2 (count 0 out of 1..10000)"_qs;
    QTest::newRow("unknown option") << QStringList{u"--colour"_qs} << QByteArray() << 2 << u"Unknown option or value: --colour\nUsage:"_qs;
    QTest::newRow("bad method") << QStringList{u"--method=huber"_qs} << QByteArray() << 2 << u"Unknown option or value: --method huber"_qs;
    QTest::newRow("taper off its steps") << QStringList{u"--taper"_qs, u"0.7"_qs} << QByteArray() << 2 << u"Unknown option or value: --taper 0.7"_qs;
    QTest::newRow("moisture not in the list") << QStringList{u"--moisture=35"_qs} << QByteArray() << 2 << u"Unknown option or value"_qs;
    QTest::newRow("option without its value") << QStringList{u"--format"_qs} << QByteArray() << 2 << u"Unknown option or value: --format"_qs;
    QTest::newRow("two files") << QStringList{u"a"_qs, u"b"_qs} << QByteArray() << 2 << u"Unknown option or value: b"_qs;
    QTest::newRow("no such file") << QStringList{u"/nonexistent/list.csv"_qs} << QByteArray() << 2 << u"The file could not be read: /nonexistent/list.csv"_qs;
    QTest::newRow("not text") << QStringList() << QByteArray("\x00\x01\x02", 3) << 2 << u"The file is not a text file."_qs;
    QTest::newRow("empty") << QStringList() << QByteArray() << 2 << u"The file is empty."_qs;
    QTest::newRow("a column left unread, no count")
        << QStringList() << QByteArray("Diameter,Length,Logs\n20,4.0,7\n") << 1
        << u"Columns not read: \"Logs\". No column holds the count, so every row counts as one log.\n"_qs;
    QTest::newRow("a board file as round timber") << QStringList() << QByteArray("Width;Hight;Length\n1;2;3\n") << 2
                                                  << u"The header row has no column for the diameter"_qs;
}

void TestCalcProgram::exitStatuses()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, input);
    QFETCH(int, status);
    QFETCH(QString, errStart);
    const Run r = calc(args, input);
    QCOMPARE(r.status, status);
    QVERIFY2(r.err.startsWith(errStart), qPrintable(r.err));
    if (errStart.isEmpty())
        QCOMPARE(r.err, QString());
    if (status == 2)
        QCOMPARE(r.out, QString()); // nothing half computed
    if (args == QStringList{u"--help"_qs})
        QVERIFY(r.out.startsWith(u"Usage: zelmora-calc [--boards]"_qs));
}

// Past 10,000 the lists' own fields take the exponent form; the program's
// totals are the sums of its lines, written out.
void TestCalcProgram::largeTotalsWrittenInFull()
{
    // 801 logs of 15 m: 12,015 m; the line of 800 logs of 120 cm holds
    // 800 times the cylinder of 1.2 m by 15 m, 13 571,6803 m3 ("1,357E04").
    const Run r = calc({u"--method"_qs, u"cylinder"_qs, u"--format"_qs, u"json"_qs},
                       QByteArray("120;15;800\n20;15;1\n"));
    QCOMPARE(r.status, 0);
    QVERIFY2(!r.out.contains(u'E'), qPrintable(r.out));
    QVERIFY2(r.out.contains(u"\"volume\": 13570.0000, \"outOfTable\""_qs), qPrintable(r.out));
    QVERIFY2(r.out.contains(u"\"totals\": {\"volume\": 13570.4712, "_qs), qPrintable(r.out));
    QVERIFY2(r.out.contains(u"\"runningLength\": 12015.00, "_qs), qPrintable(r.out));
    const Run table = calc({u"--method"_qs, u"cylinder"_qs}, QByteArray("120;15;800\n20;15;1\n"));
    QVERIFY2(table.out.contains(u"Volume: 13\u00A0570,4712 m3.\n"_qs), qPrintable(table.out));
    QVERIFY2(table.out.contains(u": 12\u00A0015,00 m.\n"_qs), qPrintable(table.out));
}

QTEST_GUILESS_MAIN(TestCalcProgram)
#include "tst_calcprogram.moc"
