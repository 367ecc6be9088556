// Volume of a line of logs by each method: table cells, ranges, ties, formulas.
#include "engine/volume.h"

#include <QtTest>
#include <cmath>

using zel::CalcMethod;
using zel::Calculate;

Q_DECLARE_METATYPE(CalcMethod)

class TestVolume : public QObject {
    Q_OBJECT
private slots:
    void tableCells_data();
    void tableCells();
    void ranges_data();
    void ranges();
    void columnRounding_data();
    void columnRounding();
    void formulas_data();
    void formulas();
    void countMultiplies();
    void formulasTakeAnySize();
};

// Telling cells of both tables, count 1.
void TestVolume::tableCells_data()
{
    QTest::addColumn<CalcMethod>("method");
    QTest::addColumn<int>("d");
    QTest::addColumn<double>("len");
    QTest::addColumn<double>("m3");

    const double lens[] = {1.0, 2.0, 3.0, 4.0, 6.0, 9.5};
    const struct { int d; double v[6]; } gost[] = {
        {3, {0, 0, 0.0045, 0.0067, 0.012, 0.022}},
        {4, {0, 0.0037, 0.0065, 0.0093, 0.016, 0.033}},
        {10, {0.0082, 0.017, 0.026, 0.037, 0.065, 0.135}},
        {14, {0.016, 0.035, 0.052, 0.073, 0.123, 0.23}},
        {15, {0.0185, 0.0395, 0.0605, 0.084, 0.139, 0.255}},
        {16, {0.021, 0.044, 0.069, 0.095, 0.155, 0.28}},
        {20, {0.033, 0.069, 0.107, 0.147, 0.23, 0.42}},
        {30, {0.077, 0.165, 0.25, 0.33, 0.52, 0.89}},
        {60, {0.31, 0.66, 0.99, 1.33, 2.05, 3.45}},
        {100, {0.85, 1.8, 2.72, 3.67, 5.68, 9.49}},
        {120, {1.22, 2.59, 3.92, 5.29, 8.18, 13.67}},
    };
    for (const auto& row : gost)
        for (int k = 0; k < 6; ++k)
            QTest::addRow("GOST d%d L%.1f", row.d, lens[k])
                << CalcMethod::Gost2708 << row.d << lens[k] << row.v[k];

    const double isoLens[] = {0.5, 1.0, 4.0, 7.9, 8.0, 8.6, 15.0};
    const struct { int d; double v[7]; } iso[] = {
        {4, {0.001, 0.001, 0.011, 0.039, 0.04, 0.0462, 0.156}},
        {20, {0.016, 0.033, 0.152, 0.356, 0.362, 0.3992, 0.891}},
        {30, {0.036, 0.073, 0.322, 0.715, 0.726, 0.7946, 1.657}},
        {44, {0.077, 0.156, 0.665, 1.427, 1.448, 1.5758, 3.125}},
        {45, {0.08, 0.163, 0.694, 1.487, 0, 0, 0}},
        {79, {0.247, 0.496, 2.061, 4.269, 0, 0, 0}},
    };
    for (const auto& row : iso)
        for (int k = 0; k < 7; ++k)
            QTest::addRow("ISO d%d L%.1f", row.d, isoLens[k])
                << CalcMethod::Iso4480 << row.d << isoLens[k] << row.v[k];

    // Interpolated tenths beyond 8 m.
    QTest::newRow("ISO d20 L8.5") << CalcMethod::Iso4480 << 20 << 8.5 << 0.393;
    QTest::newRow("ISO d20 L9.0") << CalcMethod::Iso4480 << 20 << 9.0 << 0.424;
}

void TestVolume::tableCells()
{
    QFETCH(CalcMethod, method);
    QFETCH(int, d);
    QFETCH(double, len);
    QFETCH(double, m3);
    QCOMPARE(Calculate(d, len, 1, method, 1), m3);
}

// The range tests read the length itself, never the rounded column.
void TestVolume::ranges_data()
{
    QTest::addColumn<CalcMethod>("method");
    QTest::addColumn<int>("d");
    QTest::addColumn<double>("len");
    QTest::addColumn<double>("m3");

    QTest::newRow("GOST corner 3/3.0") << CalcMethod::Gost2708 << 3 << 3.0 << 0.0045;
    QTest::newRow("GOST gap 3/2.9") << CalcMethod::Gost2708 << 3 << 2.9 << 0.0;
    QTest::newRow("GOST gap 5/1.9") << CalcMethod::Gost2708 << 5 << 1.9 << 0.0;
    QTest::newRow("GOST corner 120/9.5") << CalcMethod::Gost2708 << 120 << 9.5 << 13.67;
    QTest::newRow("GOST 121") << CalcMethod::Gost2708 << 121 << 4.0 << 0.0;
    QTest::newRow("GOST 2") << CalcMethod::Gost2708 << 2 << 4.0 << 0.0;
    QTest::newRow("GOST 0.99 m") << CalcMethod::Gost2708 << 20 << 0.99 << 0.0;
    QTest::newRow("GOST 9.51 m") << CalcMethod::Gost2708 << 20 << 9.51 << 0.0;
    QTest::newRow("GOST 9.54 m, rounds to 9.5") << CalcMethod::Gost2708 << 20 << 9.54 << 0.0;
    QTest::newRow("GOST 9.46 m reads 9.5") << CalcMethod::Gost2708 << 20 << 9.46 << 0.42;
    QTest::newRow("GOST 12 m") << CalcMethod::Gost2708 << 20 << 12.0 << 0.0;
    QTest::newRow("GOST NaN") << CalcMethod::Gost2708 << 20 << std::nan("") << 0.0;

    QTest::newRow("ISO corner 4/0.5") << CalcMethod::Iso4480 << 4 << 0.5 << 0.001;
    QTest::newRow("ISO 3 cm") << CalcMethod::Iso4480 << 3 << 4.0 << 0.0;
    QTest::newRow("ISO 80 cm") << CalcMethod::Iso4480 << 80 << 4.0 << 0.0;
    QTest::newRow("ISO 79/7.9") << CalcMethod::Iso4480 << 79 << 7.9 << 4.269;
    QTest::newRow("ISO gap 79/8.0") << CalcMethod::Iso4480 << 79 << 8.0 << 0.0;
    QTest::newRow("ISO gap 50/8.0") << CalcMethod::Iso4480 << 50 << 8.0 << 0.0;
    QTest::newRow("ISO 44/15.0") << CalcMethod::Iso4480 << 44 << 15.0 << 3.125;
    QTest::newRow("ISO 15.01 m") << CalcMethod::Iso4480 << 20 << 15.01 << 0.0;
    QTest::newRow("ISO 0.49 m") << CalcMethod::Iso4480 << 20 << 0.49 << 0.0;
    QTest::newRow("ISO 4.04 m reads 4.0") << CalcMethod::Iso4480 << 20 << 4.04 << 0.152;
}

void TestVolume::ranges()
{
    tableCells(); // same columns, same check
}

// Column rounding is to the nearest tenth with ties to even, on the binary value.
void TestVolume::columnRounding_data()
{
    QTest::addColumn<double>("len");
    QTest::addColumn<double>("sameAs");
    QTest::newRow("1.25 -> 1.2 (exact tie, even)") << 1.25 << 1.2;
    QTest::newRow("1.26 -> 1.3") << 1.26 << 1.3;
    QTest::newRow("1.35 -> 1.4 (a hair above the tie)") << 1.35 << 1.4;
    QTest::newRow("1.45 -> 1.4 (10 x 1.45 lands on the tie)") << 1.45 << 1.4;
    QTest::newRow("2.75 -> 2.8 (exact tie, even)") << 2.75 << 2.8;
    QTest::newRow("9.46 -> 9.5") << 9.46 << 9.5;
}

void TestVolume::columnRounding()
{
    QFETCH(double, len);
    QFETCH(double, sameAs);
    // d = 100 cm: neighbouring columns of this row all differ.
    QVERIFY(Calculate(100, sameAs, 1, CalcMethod::Gost2708, 1)
            != Calculate(100, sameAs + 0.1, 1, CalcMethod::Gost2708, 1));
    QCOMPARE(Calculate(100, len, 1, CalcMethod::Gost2708, 1),
             Calculate(100, sameAs, 1, CalcMethod::Gost2708, 1));
}

void TestVolume::formulas_data()
{
    QTest::addColumn<CalcMethod>("method");
    QTest::addColumn<int>("d");
    QTest::addColumn<double>("len");
    QTest::addColumn<int>("taper");
    QTest::addColumn<double>("m3");

    const double pi = 3.14159265358979323846;
    QTest::newRow("formula 20/4.0 taper 1.0") << CalcMethod::Formula << 20 << 4.0 << 1
                                              << pi * 0.11 * 0.11 * 4;
    QTest::newRow("formula 30/5.0 taper 0.5") << CalcMethod::Formula << 30 << 5.0 << 0
                                              << pi * 0.15625 * 0.15625 * 5;
    QTest::newRow("formula 30/5.0 taper 4.0") << CalcMethod::Formula << 30 << 5.0 << 7
                                              << pi * 0.2 * 0.2 * 5;
    QTest::newRow("formula 20/12.0 taper 1.0") << CalcMethod::Formula << 20 << 12.0 << 1
                                               << pi * 0.13 * 0.13 * 12;
    QTest::newRow("cylinder 20/4.0") << CalcMethod::Cylindered << 20 << 4.0 << 1
                                     << pi * 0.1 * 0.1 * 4;
    QTest::newRow("cylinder ignores taper") << CalcMethod::Cylindered << 20 << 4.0 << 7
                                            << pi * 0.1 * 0.1 * 4;
}

void TestVolume::formulas()
{
    QFETCH(CalcMethod, method);
    QFETCH(int, d);
    QFETCH(double, len);
    QFETCH(int, taper);
    QFETCH(double, m3);
    const double v = Calculate(d, len, 1, method, static_cast<zel::TaperStep>(taper));
    QVERIFY2(std::fabs(v - m3) < 1e-12, qPrintable(QString::number(v, 'g', 17)));
}

void TestVolume::countMultiplies()
{
    QCOMPARE(Calculate(20, 4.0, 3, CalcMethod::Gost2708, 1), 3 * 0.147);
    QVERIFY(std::fabs(Calculate(30, 6.0, 10000, CalcMethod::Gost2708, 1) - 5200.0) < 1e-9);
    QCOMPARE(Calculate(20, 4.0, 0, CalcMethod::Gost2708, 1), 0.0);
    QCOMPARE(Calculate(20, 4.0, 0, CalcMethod::Formula, 1), 0.0);
    // 70,000 logs fit: counts are not 16 bits wide.
    QVERIFY(std::fabs(Calculate(20, 4.0, 70000, CalcMethod::Gost2708, 1) - 70000 * 0.147) < 1e-6);
}

void TestVolume::formulasTakeAnySize()
{
    for (CalcMethod m : {CalcMethod::Formula, CalcMethod::Cylindered}) {
        QVERIFY(Calculate(1, 0.1, 1, m, 0) > 0.0);
        QVERIFY(Calculate(500, 30.0, 1, m, 0) > 0.0);
        QCOMPARE(Calculate(0, 4.0, 1, m, 0) > 0.0, m == CalcMethod::Formula);
        QCOMPARE(Calculate(20, 0.0, 1, m, 0), 0.0);
    }
    // A diameter above 65,535 (an edited cell) is computed, not wrapped.
    QVERIFY(Calculate(70000, 1.0, 1, CalcMethod::Cylindered, 0)
            > Calculate(4464, 1.0, 1, CalcMethod::Cylindered, 0) * 100);
}

QTEST_APPLESS_MAIN(TestVolume)
#include "tst_volume.moc"
