// Weight of a volume by species and moisture.
#include "engine/weight.h"

#include <QtTest>
#include <limits>

using zel::WeightWood;

class TestWeight : public QObject {
    Q_OBJECT
private slots:
    void weights_data();
    void weights();
    void neverWraps();
};

void TestWeight::weights_data()
{
    QTest::addColumn<double>("m3");
    QTest::addColumn<int>("species");
    QTest::addColumn<int>("moisture");
    QTest::addColumn<qulonglong>("kg");

    QTest::newRow("nothing") << 0.0 << 5 << 13 << 0ull;
    QTest::newRow("spruce 10%") << 1.0 << 1 << 0 << 440ull;
    QTest::newRow("ash 120%") << 1.0 << 5 << 13 << 1260ull;
    QTest::newRow("pine 70%, three GOST logs") << 3 * 0.147 << 4 << 8 << 318ull;
    QTest::newRow("tie to even, up") << 0.25 << 0 << 0 << 158ull;
    QTest::newRow("tie to even, down") << 0.75 << 0 << 0 << 472ull;
    QTest::newRow("birch 90%, 110 m3") << 110.0 << 0 << 10 << 110000ull;
    QTest::newRow("larch 60%") << 2.0 << 2 << 7 << 1760ull;
    QTest::newRow("linden 25%") << 1.0 << 3 << 3 << 530ull;
}

void TestWeight::weights()
{
    QFETCH(double, m3);
    QFETCH(int, species);
    QFETCH(int, moisture);
    QFETCH(qulonglong, kg);
    QCOMPARE(qulonglong(WeightWood(m3, species, moisture)), kg);
}

void TestWeight::neverWraps()
{
    // Five lines of 65,535 logs of 120 cm x 9.5 m of ash at 120 %.
    const double volume = 5 * 65535 * 13.67;
    QCOMPARE(qulonglong(WeightWood(volume, 5, 13)), 5643939735ull);
    QVERIFY(WeightWood(volume, 5, 13) > std::numeric_limits<std::uint32_t>::max());
    // Beyond what 64 bits of kilograms hold: the largest value, not garbage.
    QCOMPARE(WeightWood(1e30, 5, 13), std::numeric_limits<std::uint64_t>::max());
    // Changing the moisture changes the weight only.
    QVERIFY(WeightWood(0.441, 4, 8) != WeightWood(0.441, 4, 13));
}

QTEST_APPLESS_MAIN(TestWeight)
#include "tst_weight.moc"
