// Generating the cubature table: ranges, steps, headers, cell texts, warnings.
#include "cubtable/cubtable.h"
#include "engine/volume.h"

#include <QtTest>

using namespace zel;

namespace {

const QLocale kComma(QLocale::Ukrainian, QLocale::Ukraine);

TableRanges gost() { return *rangesFor(CalcMethod::Gost2708); }

} // namespace

Q_DECLARE_METATYPE(zel::TableRanges)

class TestCubTable : public QObject {
    Q_OBJECT
private slots:
    void defaultGostTable();
    void isoRanges();
    void presets();
    void tenthStepEndsAtTheMaximum();
    void diametersAreWholeCentimetres();
    void singleRowAndColumnAtLeast();
    void alignedAndShortCells();
    void cellsUseTheLengthTheHeaderShows();
    void warnings_data();
    void warnings();
    void pointLocale();
    void stepsThatAreNotPositiveStillEnd();
};

void TestCubTable::defaultGostTable()
{
    const CubTable t = generateTable(gost(), CalcMethod::Gost2708, 1, true, kComma);
    QCOMPARE(t.columns, 19);
    QCOMPARE(t.rows, 119);
    QCOMPARE(t.cell(0, 0), QString());
    QCOMPARE(t.cell(1, 0), u"1,0"_qs);
    QCOMPARE(t.cell(18, 0), u"9,5"_qs);
    QCOMPARE(t.cell(0, 1), u"3"_qs);
    QCOMPARE(t.cell(0, 118), u"120"_qs);
    QCOMPARE(t.cell(7, 18), u"0,1470"_qs); // 20 cm at 4,0 m
    QCOMPARE(t.cell(1, 1), u"0,0000"_qs);  // a gap is written like any cell
    QCOMPARE(t.cell(18, 118), u"13,6700"_qs);
}

void TestCubTable::isoRanges()
{
    const CubTable t = generateTable(*rangesFor(CalcMethod::Iso4480), CalcMethod::Iso4480, 1, true, kComma);
    QCOMPARE(t.columns, 31);
    QCOMPARE(t.rows, 77);
    QCOMPARE(t.cell(1, 0), u"0,5"_qs);
    QCOMPARE(t.cell(30, 0), u"15,0"_qs);
    QCOMPARE(t.cell(0, 1), u"4"_qs);
    QCOMPARE(t.cell(0, 76), u"79"_qs);
    QCOMPARE(t.cell(30, 76), u"0,0000"_qs); // 79 cm at 15 m: the gap
}

void TestCubTable::presets()
{
    QVERIFY(!rangesFor(CalcMethod::Cylindered).has_value());
    const TableRanges f = *rangesFor(CalcMethod::Formula);
    QCOMPARE(f.minLength, 1.0);
    QCOMPARE(f.maxDiameter, 120.0);
}

void TestCubTable::tenthStepEndsAtTheMaximum()
{
    TableRanges r = gost();
    r.lengthStep = 0.1;
    const CubTable t = generateTable(r, CalcMethod::Gost2708, 1, true, kComma);
    QCOMPARE(t.columns, 87);
    QCOMPARE(t.cell(86, 0), u"9,5"_qs);
    QCOMPARE(t.cell(2, 0), u"1,1"_qs);

    // The largest table: 0,5..15,0 by 0,1 and 3..120.
    r = TableRanges{0.5, 15.0, 0.1, 3, 120, 1};
    const CubTable big = generateTable(r, CalcMethod::Formula, 1, false, kComma);
    QCOMPARE(big.columns, 147);
    QCOMPARE(big.rows, 119);
    QCOMPARE(big.cell(146, 0), u"15,0"_qs);
}

void TestCubTable::diametersAreWholeCentimetres()
{
    TableRanges r = gost();
    r.diameterStep = 2.5; // read as 2
    r.minDiameter = 3.5;  // read as 4
    const CubTable t = generateTable(r, CalcMethod::Gost2708, 1, true, kComma);
    QCOMPARE(t.cell(0, 1), u"4"_qs);
    QCOMPARE(t.cell(0, 2), u"6"_qs);
    QCOMPARE(t.cell(0, t.rows - 1), u"120"_qs);
    r.minDiameter = 4.5; // halves go to the even neighbour
    QCOMPARE(generateTable(r, CalcMethod::Gost2708, 1, true, kComma).cell(0, 1), u"4"_qs);
}

void TestCubTable::singleRowAndColumnAtLeast()
{
    TableRanges r = gost();
    r.minLength = 9.0;
    r.maxLength = 2.0;
    r.minDiameter = 100;
    r.maxDiameter = 20;
    const CubTable t = generateTable(r, CalcMethod::Gost2708, 1, true, kComma);
    QCOMPARE(t.columns, 2);
    QCOMPARE(t.rows, 2);
    QCOMPARE(t.cell(1, 0), u"9,0"_qs);
    QCOMPARE(t.cell(0, 1), u"100"_qs);
}

void TestCubTable::alignedAndShortCells()
{
    const CubTable aligned = generateTable(gost(), CalcMethod::Gost2708, 1, true, kComma);
    for (int c = 1; c < aligned.columns; ++c)
        for (int r = 1; r < aligned.rows; ++r) {
            const QString& s = aligned.cell(c, r);
            QCOMPARE(s.size() - s.indexOf(QLatin1Char(',')), 5);
        }
    const CubTable plain = generateTable(gost(), CalcMethod::Gost2708, 1, false, kComma);
    QCOMPARE(plain.cell(7, 18), u"0,147"_qs);
    QCOMPARE(plain.cell(1, 1), u"0"_qs);
    QCOMPARE(plain.cell(18, 118), u"13,67"_qs);
    QCOMPARE(plain.cell(5, 1), u"0,0045"_qs); // 3 cm at 3,0 m

    TableRanges r = gost();
    const CubTable formula = generateTable(r, CalcMethod::Formula, 1, false, kComma);
    // 20 cm at 4,0 m with 1 cm taper: 0.152053084433746 to 15 significant digits.
    QCOMPARE(formula.cell(7, 18), u"0,152053084433746"_qs);
    const CubTable taper = generateTable(r, CalcMethod::Formula, 7, false, kComma);
    QVERIFY(taper.cell(7, 18) != formula.cell(7, 18));
}

void TestCubTable::cellsUseTheLengthTheHeaderShows()
{
    // Lengths summed by 0.1 drift off the tenths; the cells do not.
    TableRanges r = gost();
    r.lengthStep = 0.1;
    const CubTable t = generateTable(r, CalcMethod::Cylindered, 1, false, kComma);
    for (int c = 1; c < t.columns; ++c) {
        const double len = (9 + c) / 10.0;
        QCOMPARE(t.cell(c, 18), kComma.toString(Calculate(20, len, 1, CalcMethod::Cylindered, 1), 'g', 15));
    }
}

void TestCubTable::warnings_data()
{
    QTest::addColumn<TableRanges>("ranges");
    QTest::addColumn<QString>("warning");
    TableRanges r = gost();
    QTest::newRow("fine") << r << QString();
    r.maxLength = 15.1;
    QTest::newRow("max length") << r << "The maximum length value: [ 15,0 ]";
    r = gost();
    r.minLength = 0.3;
    QTest::newRow("min length") << r << "The minimum length value: [ 0,0 ]";
    r.minLength = 0.0; // an emptied field
    QTest::newRow("empty min length") << r << "The minimum length value: [ 0,0 ]";
    r = gost();
    r.maxDiameter = 121;
    QTest::newRow("max diameter") << r << "The maximum value of diameter: [ 120 ]";
    r = gost();
    r.minDiameter = 2;
    QTest::newRow("min diameter") << r << "The minimum value of the diameter: [ 3 ]";
    r.maxLength = 20; // the first failure wins
    QTest::newRow("order") << r << "The maximum length value: [ 15,0 ]";
}

void TestCubTable::warnings()
{
    QFETCH(TableRanges, ranges);
    QFETCH(QString, warning);
    QCOMPARE(checkRanges(ranges, UiLanguage::English).value_or(QString()), warning);
}

void TestCubTable::pointLocale()
{
    const CubTable t = generateTable(gost(), CalcMethod::Gost2708, 1, true, QLocale::c());
    QCOMPARE(t.cell(1, 0), u"1.0"_qs);
    QCOMPARE(t.cell(7, 18), u"0.1470"_qs);
    QCOMPARE(t.columns, 19);
}

void TestCubTable::stepsThatAreNotPositiveStillEnd()
{
    TableRanges r = gost();
    r.lengthStep = 0;
    r.diameterStep = 0;
    const CubTable t = generateTable(r, CalcMethod::Gost2708, 1, true, kComma);
    QCOMPARE(t.columns, 87);
    QCOMPARE(t.rows, 119);
}

QTEST_APPLESS_MAIN(TestCubTable)
#include "tst_cubtable.moc"
