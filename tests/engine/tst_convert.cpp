// Text to number conversions and the wording of their errors.
#include "engine/convert.h"
#include "engine/errors.h"

#include <QtTest>

using namespace zel;

class TestConvert : public QObject {
    Q_OBJECT
private slots:
    void integers_data();
    void integers();
    void badIntegers_data();
    void badIntegers();
    void floats_data();
    void floats();
    void badFloats_data();
    void badFloats();
};

void TestConvert::integers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "20" << 20;
    QTest::newRow("leading zeros") << "007" << 7;
    QTest::newRow("leading blanks") << "  12" << 12;
    QTest::newRow("sign") << "-5" << -5;
    QTest::newRow("plus") << "+5" << 5;
    QTest::newRow("largest") << "2147483647" << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << int(-2147483648LL);
}

void TestConvert::integers()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(StrToInt(text), value);
}

void TestConvert::badIntegers_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("letters") << "abc";
    QTest::newRow("empty") << "";
    QTest::newRow("sign only") << "-";
    QTest::newRow("decimal comma") << "4,5";
    QTest::newRow("trailing blank") << "12 ";
    QTest::newRow("one past the largest") << "2147483648";
    QTest::newRow("eleven digits") << "99999999999";
    QTest::newRow("many digits") << "123456789012345678901234567890";
}

void TestConvert::badIntegers()
{
    QFETCH(QString, text);
    try {
        StrToInt(text);
        QFAIL("no error");
    } catch (const ConvertError& e) {
        QCOMPARE(e.message(), QStringLiteral("\"%1\" is not a valid integer value").arg(text));
    }
}

void TestConvert::floats_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("comma") << "4,5" << 4.5;
    QTest::newRow("whole") << "12" << 12.0;
    QTest::newRow("trailing comma") << "4," << 4.0;
    QTest::newRow("leading comma") << ",5" << 0.5;
    QTest::newRow("exponent") << "1,235E04" << 12350.0;
    QTest::newRow("blanks") << " 4,57 " << 4.57;
    QTest::newRow("dots are not separators here") << "45" << 45.0;
}

void TestConvert::floats()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(StrToFloat(text, QLatin1Char(',')), value);
}

void TestConvert::badFloats_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("comma only") << ",";
    QTest::newRow("two commas") << "4,5,6";
    QTest::newRow("dot") << "4.5";
    QTest::newRow("letters") << "abc";
    QTest::newRow("bare exponent") << "4E";
    QTest::newRow("too large") << "1E999";
}

void TestConvert::badFloats()
{
    QFETCH(QString, text);
    try {
        StrToFloat(text, QLatin1Char(','));
        QFAIL("no error");
    } catch (const ConvertError& e) {
        QCOMPARE(e.message(),
                 QStringLiteral("\"%1\" is not a valid floating point value").arg(text));
    }
}

QTEST_APPLESS_MAIN(TestConvert)
#include "tst_convert.moc"
