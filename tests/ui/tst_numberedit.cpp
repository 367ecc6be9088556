// The decimal entry field: typing rules and reading with bounds.
#include "lists/ui/numberedit.h"

#include <QtTest>

using namespace zel;

class TestNumberEdit : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void bothSeparatorsTypeTheDecimalOne();
    void secondDecimalDigitIsRefused();
    void lettersAreRefused();
    void reading_data();
    void reading();
    void withoutRangeCheck();
    void showsTheDisplayFormat();

private:
    static NumberEdit* lengthField();
};

void TestNumberEdit::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Ukrainian, QLocale::Ukraine)); // decimal comma
}

NumberEdit* TestNumberEdit::lengthField()
{
    auto* e = new NumberEdit;
    e->setMinimum(1.0);
    e->setMaximum(15.0);
    e->setDecimals(1);
    e->setDisplayFormat(QStringLiteral(",0.0"));
    e->clear();
    return e;
}

void TestNumberEdit::bothSeparatorsTypeTheDecimalOne()
{
    QScopedPointer<NumberEdit> e(lengthField());
    QTest::keyClicks(e.data(), QStringLiteral("4.5"));
    QCOMPARE(e->text(), QStringLiteral("4,5"));
    QCOMPARE(e->value(), 4.5);
    e->clear();
    QTest::keyClicks(e.data(), QStringLiteral("7,"));
    QTest::keyClicks(e.data(), QStringLiteral(".,2"));
    QCOMPARE(e->text(), QStringLiteral("7,2"));
}

void TestNumberEdit::secondDecimalDigitIsRefused()
{
    QScopedPointer<NumberEdit> e(lengthField());
    QTest::keyClicks(e.data(), QStringLiteral("4,56"));
    QCOMPARE(e->text(), QStringLiteral("4,5"));
    // Digits before the separator are still welcome.
    e->setCursorPosition(0);
    QTest::keyClicks(e.data(), QStringLiteral("1"));
    QCOMPARE(e->text(), QStringLiteral("14,5"));
    // Typing over a selection that holds the decimal digit is fine.
    e->setSelection(3, 1);
    QTest::keyClicks(e.data(), QStringLiteral("9"));
    QCOMPARE(e->text(), QStringLiteral("14,9"));
}

void TestNumberEdit::lettersAreRefused()
{
    QScopedPointer<NumberEdit> e(lengthField());
    QTest::keyClicks(e.data(), QStringLiteral("a1b-"));
    QCOMPARE(e->text(), QStringLiteral("1"));
}

void TestNumberEdit::reading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("inside") << "4,0" << 4.0;
    QTest::newRow("dot") << "4.5" << 4.5;
    QTest::newRow("above") << "20" << 15.0;
    QTest::newRow("below") << "0,5" << 1.0;
    QTest::newRow("not a number") << "abc" << 1.0;
    QTest::newRow("two separators") << "1,2,3" << 1.0;
    QTest::newRow("empty") << "" << 1.0;
    QTest::newRow("bounds") << "15,0" << 15.0;
}

void TestNumberEdit::reading()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QScopedPointer<NumberEdit> e(lengthField());
    e->setText(text);
    QCOMPARE(e->value(), value);
}

void TestNumberEdit::withoutRangeCheck()
{
    QScopedPointer<NumberEdit> e(lengthField());
    e->setCheckRange(false);
    e->setText(QString());
    QCOMPARE(e->value(), 0.0);
    e->setText(QStringLiteral("30"));
    QCOMPARE(e->value(), 30.0);
    e->setText(QStringLiteral("x"));
    QCOMPARE(e->value(), 1.0);
}

void TestNumberEdit::showsTheDisplayFormat()
{
    QScopedPointer<NumberEdit> e(lengthField());
    e->setValue(4.0);
    QCOMPARE(e->text(), QStringLiteral("4,0"));
    e->setDisplayFormat(QStringLiteral("0.00"));
    e->setValue(2.5);
    QCOMPARE(e->text(), QStringLiteral("2,50"));
}

QTEST_MAIN(TestNumberEdit)
#include "tst_numberedit.moc"
