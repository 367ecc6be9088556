// The trade rules against values worked by hand and the published tables,
// at their boundaries.
#include "lists/calclists.h"
#include "lists/numbertext.h"

#include <QtTest>

using namespace zel;

class TestTradeRules : public QObject {
    Q_OBJECT
private slots:
    void lines_data();
    void lines();
    void scalingUnits();
    void hoppusRoundedAsText();
};

void TestTradeRules::lines_data()
{
    QTest::addColumn<int>("rule");
    QTest::addColumn<int>("d");
    QTest::addColumn<double>("l");
    QTest::addColumn<int>("count");
    QTest::addColumn<qint64>("units"); // JAS 0.001 m3, Hoppus 0.0001 m3, board feet
    const int jas = 0, hoppus = 1, doyle = 2, intl = 3;
    // JAS: 13 cm is its own diameter (13^2 * 4 / 10,000 = 0.0676), from 14 cm even ones only.
    QTest::newRow("JAS 13 cm") << jas << 13 << 4.0 << 1 << qint64(68);
    QTest::newRow("JAS 14 cm") << jas << 14 << 4.0 << 1 << qint64(78);
    QTest::newRow("JAS 15 cm as 14") << jas << 15 << 4.0 << 1 << qint64(78);
    QTest::newRow("JAS 25 cm as 24") << jas << 25 << 5.0 << 1 << qint64(288);
    // 5.9 m: 13^2 * 5.9 = 0.09971; 6.0 m: (13 + 1)^2 * 6 = 0.1176.
    QTest::newRow("JAS 5.9 m") << jas << 13 << 5.9 << 1 << qint64(100);
    QTest::newRow("JAS 6.0 m") << jas << 13 << 6.0 << 1 << qint64(118);
    QTest::newRow("JAS 26 cm 13.4 m") << jas << 26 << 13.4 << 1 << qint64(1247);
    QTest::newRow("JAS log rounded, then counted") << jas << 26 << 13.4 << 10 << qint64(12470);
    // 5^2 * 0.6 / 10,000 = 0.0015 exactly, whose double lies below the half.
    QTest::newRow("JAS half up") << jas << 5 << 0.6 << 1 << qint64(2);
    // (pi 40 / 4)^2 * 5 / 10,000 = 0.49348; the line is rounded, not the log.
    QTest::newRow("Hoppus 40 cm 5 m") << hoppus << 40 << 5.0 << 1 << qint64(4935);
    QTest::newRow("Hoppus 20 cm 4 m, 3") << hoppus << 20 << 4.0 << 3 << qint64(2961);
    // Published: 12, 16 and 20 inches by 16 feet.
    QTest::newRow("Doyle 12 x 16") << doyle << 30 << 4.9 << 1 << qint64(64);
    QTest::newRow("Doyle 16 x 16") << doyle << 40 << 4.9 << 1 << qint64(144);
    QTest::newRow("Doyle 20 x 16") << doyle << 51 << 4.9 << 3 << qint64(768);
    // 10 cm is 3.94 inches: 4; 5 cm is 2; 13 cm is 5.12: 5, and 3.1 m is 10 feet: 0.625 -> 1.
    QTest::newRow("Doyle 4 inches") << doyle << 10 << 4.9 << 5 << qint64(0);
    QTest::newRow("Doyle 2 inches") << doyle << 5 << 4.9 << 1 << qint64(0);
    QTest::newRow("Doyle 5 inches") << doyle << 13 << 3.1 << 1 << qint64(1);
    // 14 cm is 5.51 inches: 6; 19 cm is 7.48: 7.
    QTest::newRow("Doyle 14 cm up") << doyle << 14 << 4.9 << 1 << qint64(4);
    QTest::newRow("Doyle 19 cm down") << doyle << 19 << 4.9 << 1 << qint64(9);
    QTest::newRow("International 12 x 16") << intl << 30 << 4.9 << 1 << qint64(95);
    QTest::newRow("International 16 x 16") << intl << 40 << 4.9 << 1 << qint64(180);
    QTest::newRow("International 20 x 16") << intl << 51 << 4.9 << 2 << qint64(580);
    // 12 inches: 4 feet (1.3 m) 20.95; 5 feet (1.6 m) + 1/4 of 25.5 * 0.904762: 26.72;
    // 7 feet (2.2 m) 38.26; 8 feet (2.5 m) 44.03.
    QTest::newRow("International 4 feet") << intl << 30 << 1.3 << 1 << qint64(20);
    QTest::newRow("International 5 feet") << intl << 30 << 1.6 << 1 << qint64(25);
    QTest::newRow("International 7 feet") << intl << 30 << 2.2 << 1 << qint64(40);
    QTest::newRow("International 8 feet") << intl << 30 << 2.5 << 1 << qint64(45);
    // 2 inches: 0.22 * 4 - 0.71 * 2 is below 0.
    QTest::newRow("International too small") << intl << 5 << 2.5 << 4 << qint64(0);
    // A slip of the keyboard: held at the cap, where sums of lines cannot overflow.
    QTest::newRow("JAS at the cap") << jas << 2147483647 << 15.0 << 10000 << qint64(kMaxTradeUnits);
    QTest::newRow("Hoppus at the cap") << hoppus << 2147483647 << 1e6 << 1 << qint64(kMaxTradeUnits);
    QTest::newRow("International at the cap") << intl << 2147483647 << 1e9 << 2147483647 << qint64(kMaxTradeUnits);
}

void TestTradeRules::lines()
{
    QFETCH(int, rule);
    QFETCH(int, d);
    QFETCH(double, l);
    QFETCH(int, count);
    QFETCH(qint64, units);
    QCOMPARE(qint64(tradeLineUnits(static_cast<TradeRule>(rule), d, l, count)), units);
}

void TestTradeRules::scalingUnits()
{
    // A half inch is 1.27 cm: it rounds down; a hair above goes up.
    QCOMPARE(qint64(scalingInches(127)), qint64(0));
    QCOMPARE(qint64(scalingInches(128)), qint64(1));
    QCOMPARE(qint64(scalingInches(381)), qint64(1));
    QCOMPARE(qint64(scalingInches(382)), qint64(2));
    // 3.048 m is 10 feet, not the 9.999... of its double; 4.9 m is 16.08 feet.
    QCOMPARE(qint64(lengthMillimetres(3.048)), qint64(3048));
    QCOMPARE(qint64(scalingFeet(3048)), qint64(10));
    QCOMPARE(qint64(scalingFeet(3047)), qint64(9));
    QCOMPARE(qint64(scalingFeet(lengthMillimetres(4.9))), qint64(16));
}

// A Hoppus line is rounded as its decimal digits are, whatever way it is computed.
void TestTradeRules::hoppusRoundedAsText()
{
    for (int d = 1; d <= 150; ++d) {
        for (int dm = 1; dm <= 150; ++dm) {
            for (int count : {1, 7, 10000}) {
                const double m3 = hoppusLogM3(d, dm * 100) * count;
                QCOMPARE(qint64(tradeLineUnits(TradeRule::Hoppus, d, dm / 10.0, count)), qint64(roundedUnits(m3, 4)));
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestTradeRules)
#include "tst_traderules.moc"
