// zelmora-calc, the program itself: values worked by hand, its formats,
// standard input and its exit statuses.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>

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

// The trade rules once more, the long way: a line's value in units of the
// last decimal the program prints (JAS 0.001 m3, Hoppus 0.0001, board feet).
qint64 ruleUnits(const QString& rule, qint64 d, double l, qint64 n)
{
    const qint64 mm = qRound64(l * 1000.0);
    const qint64 inches = (d * 100 + 126) / 254; // 2.54 cm each, a half down
    const qint64 feet = mm * 10 / 3048;          // 0.3048 m each, down
    if (rule == u"jas"_qs) {
        const qint64 D = d < 14 ? d : d / 2 * 2;
        if (mm < 6000)
            return (D * D * mm + 5000) / 10000 * n;
        const qint64 twice = 2 * D + mm / 1000 - 4;
        return (twice * twice * mm + 20000) / 40000 * n;
    }
    if (rule == u"hoppus"_qs)
        return qRound64(std::pow(M_PI * d / 4.0, 2) * l / 10000.0 * n * 10000.0);
    if (rule == u"doyle"_qs) {
        const qint64 slab = std::max<qint64>(0, inches - 4);
        return (slab * slab * feet + 8) / 16 * n;
    }
    double bf = 0.0;
    for (qint64 top = 0; top < feet; top += 4) {
        const double di = inches + 0.5 * (top / 4);
        bf += std::min<qint64>(4, feet - top) / 4.0 * 0.904762 * (0.22 * di * di - 0.71 * di);
    }
    return qRound64(std::floor(std::max(0.0, bf) / 5.0 + 0.5)) * 5 * n;
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
    void tradeRulesOnRandomLines();
    void tradeRuleTableAndCsv();
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

void TestCalcProgram::tradeRulesOnRandomLines()
{
    QRandomGenerator rng(27);
    QByteArray input;
    for (int i = 0; i < 300; ++i)
        input += QByteArray::number(rng.bounded(3, 121)) + ';' + QByteArray::number(rng.bounded(10, 151) / 10.0) + ';'
                 + QByteArray::number(rng.bounded(1, 200)) + '\n';
    const std::pair<QString, int> rules[] = {{u"jas"_qs, 3}, {u"hoppus"_qs, 4}, {u"doyle"_qs, 0}, {u"intl"_qs, 0}};
    for (const auto& [rule, decimals] : rules) {
        const Run r = calc({u"--method"_qs, rule, u"--format=json"_qs}, input);
        QCOMPARE(r.status, 0);
        const QJsonObject json = QJsonDocument::fromJson(r.out.toUtf8()).object();
        QCOMPARE(json.value(u"unit"_qs).toString(), decimals > 0 ? u"m3"_qs : u"bdft"_qs);
        QCOMPARE(json.value(u"method"_qs).toString(), rule);
        const double scale = std::pow(10.0, decimals);
        qint64 total = 0;
        for (const QJsonValue& v : json.value(u"lines"_qs).toArray()) {
            const QJsonObject line = v.toObject();
            const qint64 expected = ruleUnits(rule, line.value(u"diameter"_qs).toInt(),
                                              line.value(u"length"_qs).toDouble(), line.value(u"count"_qs).toInt());
            QCOMPARE(qRound64(line.value(u"volume"_qs).toDouble() * scale), expected);
            total += expected;
        }
        const QJsonObject totals = json.value(u"totals"_qs).toObject();
        QCOMPARE(qRound64(totals.value(u"volume"_qs).toDouble() * scale), total);
        QCOMPARE(totals.contains(u"weight"_qs), decimals > 0);
    }
}

void TestCalcProgram::tradeRuleTableAndCsv()
{
    // Published: 12 inches by 16 feet, 64 board feet by Doyle.
    const Run table = calc({u"--method=doyle"_qs}, QByteArray("30;4,9;2\n"));
    QCOMPARE(table.out, u"Doyle\n"
                        "No  Diameter   Length  Number  Volume (bd ft)\n"
                        " 1    30 sm.  4,90 m.  2 pcs.       128 bd ft\n"
                        "\n"
                        "Volume: 128 bd ft\n"
                        "The total length: 9,80 m.\n"
                        "The average diameter: 30,00 sm.\n"_qs);
    const Run csv = calc({u"--method=jas"_qs, u"--format=csv"_qs}, QByteArray("26;13,4\n"));
    QCOMPARE(csv.out, u"No,Diameter (cm),Length (m.),Number (pcs.),Volume (m3.)\r\n1,26,13.40,1,1.247\r\n"_qs);
}

QTEST_GUILESS_MAIN(TestCalcProgram)
#include "tst_calcprogram.moc"
