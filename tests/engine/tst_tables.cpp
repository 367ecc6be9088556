// The compiled cubature tables against their CSV sources and the rules the tables keep.
#include "engine/volumetables.h"

#include <QFile>
#include <QtTest>
#include <cmath>
#include <vector>

using namespace zel;

namespace {

struct Csv {
    QStringList header;
    std::vector<int> diameters;
    std::vector<std::vector<double>> cells;
};

Csv readCsv(const QString& name)
{
    Csv csv;
    QFile f(QStringLiteral(ZEL_SOURCE_DIR "/engine/data/") + name);
    if (!f.open(QIODevice::ReadOnly))
        return csv;
    const QList<QByteArray> lines = f.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        const QList<QByteArray> fields = line.trimmed().split(',');
        if (csv.header.isEmpty()) {
            for (const QByteArray& h : fields)
                csv.header << QString::fromLatin1(h);
            continue;
        }
        csv.diameters.push_back(fields[0].toInt());
        std::vector<double> row;
        for (int i = 1; i < fields.size(); ++i)
            row.push_back(fields[i].toDouble());
        csv.cells.push_back(row);
    }
    return csv;
}

double gost(int d, int col) { return GostVolumeTable[(d - kGostMinD) * kGostCols + col]; }
double iso(int d, int col) { return IsoVolumeTable[(d - kIsoMinD) * kIsoCols + col]; }

} // namespace

class TestTables : public QObject {
    Q_OBJECT
private slots:
    void compiledEqualsCsv_data();
    void compiledEqualsCsv();
    void gostGaps();
    void gostOddDiametersAreMeans();
    void isoGaps();
    void isoFollowsCylinderRule();
    void isoTenthsBeyondEightAreInterpolated();
    void rowsNeverDecrease();
};

void TestTables::compiledEqualsCsv_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");
    QTest::addColumn<int>("firstD");
    QTest::addColumn<int>("firstLenDm");
    QTest::addColumn<quintptr>("table");
    QTest::newRow("GOST") << "gost_2708_75.csv" << kGostRows << kGostCols << kGostMinD
                          << kGostMinLenDm << quintptr(GostVolumeTable);
    QTest::newRow("ISO") << "iso_4480_83.csv" << kIsoRows << kIsoCols << kIsoMinD
                         << kIsoMinLenDm << quintptr(IsoVolumeTable);
}

void TestTables::compiledEqualsCsv()
{
    QFETCH(QString, file);
    QFETCH(int, rows);
    QFETCH(int, cols);
    QFETCH(int, firstD);
    QFETCH(int, firstLenDm);
    QFETCH(quintptr, table);
    const double* t = reinterpret_cast<const double*>(table);

    const Csv csv = readCsv(file);
    QCOMPARE(int(csv.cells.size()), rows);
    QCOMPARE(csv.header.size(), cols + 1);
    for (int k = 0; k < cols; ++k)
        QCOMPARE(csv.header[k + 1], QString::number((firstLenDm + k) / 10.0, 'f', 1));
    for (int r = 0; r < rows; ++r) {
        QCOMPARE(csv.diameters[r], firstD + r);
        QCOMPARE(int(csv.cells[r].size()), cols);
        for (int k = 0; k < cols; ++k)
            if (t[r * cols + k] != csv.cells[r][k])
                QFAIL(qPrintable(QStringLiteral("d=%1 column %2: compiled %3, file %4")
                                     .arg(firstD + r).arg(k).arg(t[r * cols + k])
                                     .arg(csv.cells[r][k])));
    }
}

void TestTables::gostGaps()
{
    int gaps = 0;
    for (int d = 3; d <= 120; ++d)
        for (int k = 0; k < kGostCols; ++k) {
            const bool expected = (d == 3 && k < 20) || ((d == 4 || d == 5) && k < 10);
            if (gost(d, k) == 0.0) {
                ++gaps;
                QVERIFY2(expected, qPrintable(QStringLiteral("gap at d=%1 k=%2").arg(d).arg(k)));
            }
        }
    QCOMPARE(gaps, 40);
}

void TestTables::gostOddDiametersAreMeans()
{
    for (int d = 15; d <= 119; d += 2)
        for (int k = 0; k < kGostCols; ++k) {
            const double mean = (gost(d - 1, k) + gost(d + 1, k)) / 2;
            const double cell = gost(d, k);
            if (mean < 10.0) {
                QVERIFY2(std::fabs(cell - mean) < 1e-12,
                         qPrintable(QStringLiteral("d=%1 k=%2").arg(d).arg(k)));
            } else {
                // Rounded to two decimals.
                QVERIFY(std::fabs(cell * 100 - std::round(cell * 100)) < 1e-6);
                QVERIFY(std::fabs(cell - mean) <= 0.005 + 1e-9);
            }
        }
}

void TestTables::isoGaps()
{
    for (int d = 4; d <= 79; ++d)
        for (int k = 0; k < kIsoCols; ++k) {
            const double len = (kIsoMinLenDm + k) / 10.0;
            const bool gap = d >= 45 && len >= 8.0 - 1e-9;
            QCOMPARE(iso(d, k) == 0.0, gap);
        }
}

void TestTables::isoFollowsCylinderRule()
{
    // Up to 8 m every cell is the cylinder rule to 0.001 m3, give or take one
    // rounding edge of the standard's own values.
    const double pi = 3.14159265358979323846;
    for (int d = 4; d <= 79; ++d)
        for (int k = 0; kIsoMinLenDm + k <= 80; ++k) {
            const double len = (kIsoMinLenDm + k) / 10.0;
            if (iso(d, k) == 0.0 && d >= 45 && kIsoMinLenDm + k == 80)
                continue; // the gap
            const double rule = pi / 4 * std::pow((d + 0.5 * len) / 100, 2) * len;
            QVERIFY2(std::fabs(iso(d, k) - rule) < 0.0011,
                     qPrintable(QStringLiteral("d=%1 L=%2: %3 against %4")
                                    .arg(d).arg(len).arg(iso(d, k)).arg(rule)));
        }
    QCOMPARE(iso(20, 40 - kIsoMinLenDm), 0.152);
    // Four columns are the rule itself, to 0.001 m3 (engine/data/README.md).
    for (int dm : {23, 41, 46, 51})
        for (int d = 4; d <= 79; ++d) {
            const double len = dm / 10.0;
            const double rule = std::round(pi / 4 * std::pow((d + 0.5 * len) / 100, 2) * len * 1000) / 1000;
            QCOMPARE(iso(d, dm - kIsoMinLenDm), rule);
        }
}

void TestTables::isoTenthsBeyondEightAreInterpolated()
{
    for (int d = 4; d <= 44; ++d)
        for (int dm = 81; dm < 150; ++dm) {
            if (dm % 5 == 0)
                continue;
            const int lo = dm - dm % 5;
            const double a0 = iso(d, lo - kIsoMinLenDm);
            const double a1 = iso(d, lo + 5 - kIsoMinLenDm);
            const double expected = a0 + (a1 - a0) * (dm % 5) / 5;
            QVERIFY2(std::fabs(iso(d, dm - kIsoMinLenDm) - expected) < 1e-9,
                     qPrintable(QStringLiteral("d=%1 L=%2").arg(d).arg(dm / 10.0)));
        }
}

void TestTables::rowsNeverDecrease()
{
    for (int d = 3; d <= 120; ++d)
        for (int k = 1; k < kGostCols; ++k)
            if (gost(d, k - 1) != 0.0)
                QVERIFY(gost(d, k) >= gost(d, k - 1));
    for (int d = 4; d <= 79; ++d)
        for (int k = 1; k < kIsoCols; ++k)
            if (iso(d, k) != 0.0)
                QVERIFY(iso(d, k) >= iso(d, k - 1));
}

QTEST_APPLESS_MAIN(TestTables)
#include "tst_tables.moc"
