// Number texts of the lists and CleanStr.
#include "lists/numbertext.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cmath>

using namespace zel;

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    void format_data();
    void format();
    void shortest();
    void shownUnitsAreTheWrittenNumber();
    void cleanStr();
};

void TestNumberText::format_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    const QString g(kGroupSeparator);

    QTest::newRow("2 decimals win") << 4.567 << 2 << "4,57";
    QTest::newRow("significant digits win") << 12.3456 << 4 << "12,3500";
    QTest::newRow("small value") << 0.012345 << 4 << "0,0123";
    QTest::newRow("volume") << 0.441 << 4 << "0,4410";
    QTest::newRow("zero 4") << 0.0 << 4 << "0,0000";
    QTest::newRow("zero 2") << 0.0 << 2 << "0,00";
    QTest::newRow("whole length") << 4.0 << 2 << "4,00";
    QTest::newRow("formula volume") << 0.6371149901 << 4 << "0,6371";
    QTest::newRow("mean") << 35.0 << 2 << "35,00";
    QTest::newRow("grouped") << 1234.56 << 2 << "1" + g + "235,00";
    QTest::newRow("grouped 4") << 5200.0 << 4 << "5" + g + "200,0000";
    QTest::newRow("three digits") << 123.45 << 2 << "123,50";
    QTest::newRow("exponent") << 12345.6 << 2 << "1,235E04";
    QTest::newRow("exponent 4") << 12345.6 << 4 << "1,235E0004";
    QTest::newRow("exponent no decimals") << 123456.0 << 0 << "1,235E5";
    QTest::newRow("large exponent") << 1.5e12 << 2 << "1,500E12";
    QTest::newRow("rounds up into 5 digits") << 9999.5 << 2 << "1,000E04";
    QTest::newRow("rounds up into 2 digits") << 9.9996 << 4 << "10,0000";
    QTest::newRow("stays 4 digits") << 9999.4 << 2 << "9" + g + "999,00";
    QTest::newRow("half away from zero") << 0.125 << 2 << "0,13";
    QTest::newRow("half away, integer") << 2.5 << 0 << "3";
    // Held a hair below or above the half, rounded as written.
    QTest::newRow("decimal half held below") << 0.0185 << 3 << "0,019";
    QTest::newRow("55 logs of 0,0185") << 55 * 0.0185 << 4 << "1,0180";
    QTest::newRow("27 logs of 0,0395") << 27 * 0.0395 << 4 << "1,0670";
    QTest::newRow("17 logs of 0,0605") << 17 * 0.0605 << 4 << "1,0290";
    QTest::newRow("below the half") << 1.01749 << 4 << "1,0170";
    QTest::newRow("tiny shortest") << 1e-300 << 4 << "0,0000";
    QTest::newRow("tiny") << 0.00004 << 4 << "0,0000";
    QTest::newRow("tiny half") << 0.00005 << 4 << "0,0001";
    QTest::newRow("negative") << -4.567 << 2 << "-4,57";
    QTest::newRow("negative rounds to zero") << -0.0001 << 2 << "0,00";
}

void TestNumberText::format()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(FormatNumber(value, decimals), text);
}

// What a person reads off FormatNumber's text, as whole units, for values
// across the plain and the exponent forms; and those units written in full.
void TestNumberText::shownUnitsAreTheWrittenNumber()
{
    QRandomGenerator rng(77);
    for (int i = 0; i < 20000; ++i) {
        const double value = std::ldexp(rng.generateDouble(), rng.bounded(-12, 30)) * (i % 7 == 0 ? -1 : 1);
        for (int decimals : {2, 4}) {
            const QString text = FormatNumber(value, decimals).remove(kGroupSeparator).replace(u',', u'.');
            const long double read = text.toDouble();
            const long long expected = std::llroundl(read * std::pow(10.0L, decimals));
            QCOMPARE(shownUnits(value, decimals), expected);
        }
    }
    const QString g(kGroupSeparator);
    QCOMPARE(unitsText(1234567, 2), u"12"_qs + g + u"345,67"_qs);
    QCOMPARE(unitsText(-5, 4), u"-0,0005"_qs);
    QCOMPARE(unitsText(123456789, 4, u'.', QChar()), u"12345.6789"_qs);
    QCOMPARE(FormatFixed(11900.0, 4), u"11"_qs + g + u"900,0000"_qs);
}

void TestNumberText::shortest()
{
    QCOMPARE(ShortestNumber(4.0), QStringLiteral("4"));
    QCOMPARE(ShortestNumber(4.5), QStringLiteral("4,5"));
    QCOMPARE(ShortestNumber(1.1), QStringLiteral("1,1"));
    QCOMPARE(ShortestNumber(15.0), QStringLiteral("15"));
}

void TestNumberText::cleanStr()
{
    QString in = QStringLiteral("4,57 м.");
    QCOMPARE(CleanStr(in, QStringLiteral("0123456789,"), 1), QStringLiteral("4,57"));
    QVERIFY(in.isEmpty());

    in = QStringLiteral("4.5");
    QCOMPARE(CleanStr(in, QStringLiteral("0123456789,"), 1), QStringLiteral("45"));

    in = QStringLiteral("1") + kGroupSeparator + QStringLiteral("235,00 m.");
    QCOMPARE(CleanStr(in, QStringLiteral("0123456789,"), 1), QStringLiteral("1235,00"));

    in = QStringLiteral("a1b2");
    QCOMPARE(CleanStr(in, QStringLiteral("0123456789"), 2), QStringLiteral("ab"));
    QVERIFY(in.isEmpty());

    in = QStringLiteral("12.5");
    QCOMPARE(CleanStr(in, QStringLiteral("0123456789."), 1), QStringLiteral("12.5"));

    in = QStringLiteral("kept");
    QCOMPARE(CleanStr(in, QStringLiteral("k"), 3), QString());
    QCOMPARE(in, QStringLiteral("kept"));
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
