// The lot summary's arithmetic against values worked by hand, its money
// texts, its refusals and its stored values.
#include "../fakes/listlines.h"
#include "../fakes/memorystore.h"
#include "shell/settingsio.h"
#include "summary/acceptdoc.h"
#include "summary/lotsummary.h"
#include "summary/summarydoc.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cmath>

using namespace zel;

namespace {

// The summaries are checked in English.
ListContext gost()
{
    return pineGost(UiLanguage::English);
}

// 20 cm × 4,0 m × 3 (medium), 30 × 6,0 × 2 (thick), 4 × 3,0 × 10 (small),
// and 20 × 12,0 × 1, beyond the GOST table's 9,5 m (medium, by the formula).
Lines sampleRound()
{
    return {round(u"20 sm."_qs, u"4,00 m."_qs, u"3 pcs."_qs), round(u"30"_qs, u"6"_qs, u"2"_qs),
            round(u"4"_qs, u"3"_qs, u"10"_qs), round(u"20"_qs, u"12"_qs, u"1"_qs)};
}

const QString nb(QChar(0x00A0));

// Texts 0.5 points wide a character to the point of type, lines 1.2 of the type high.
class CharMeasure : public TextMeasure {
public:
    double width(const QString& text, double pointSize, bool) const override { return 0.5 * pointSize * text.size(); }
    double lineHeight(double pointSize) const override { return 1.2 * pointSize; }
};

// A list number in units of its last decimal: "1 234,5600" -> 12345600.
long long units(QString text)
{
    return text.remove(nb).remove(u',').toLongLong();
}

} // namespace

class TestLotSummary : public QObject {
    Q_OBJECT
private slots:
    void classesByBounds_data();
    void classesByBounds();
    void roundLotByHand();
    void fourMethodsSideBySide();
    void tradeRules();
    void totalsAreSumsOfTheShownLines();
    void boardsBySection();
    void emptyAndUnreadLines();
    void acceptanceDocumentOnPages_data();
    void acceptanceDocumentOnPages();
    void moneyTexts_data();
    void moneyTexts();
    void refusedInput_data();
    void refusedInput();
    void storedValuesRoundTripAndFallBack();
};

void TestLotSummary::classesByBounds_data()
{
    QTest::addColumn<int>("d");
    QTest::addColumn<int>("standard");
    QTest::addColumn<int>("custom"); // bounds 10, 20, 30
    QTest::newRow("5") << 5 << 0 << 0;
    QTest::newRow("6") << 6 << 1 << 0;
    QTest::newRow("13") << 13 << 1 << 1;
    QTest::newRow("14") << 14 << 2 << 1;
    QTest::newRow("25") << 25 << 2 << 2;
    QTest::newRow("26") << 26 << 3 << 2;
    QTest::newRow("30") << 30 << 3 << 3;
}

void TestLotSummary::classesByBounds()
{
    QFETCH(int, d);
    QFETCH(int, standard);
    QFETCH(int, custom);
    QCOMPARE(diameterClass(d, ClassBounds{6, 14, 26}), standard);
    QCOMPARE(diameterClass(d, ClassBounds{10, 20, 30}), custom);
}

void TestLotSummary::roundLotByHand()
{
    SummaryParams p;
    p.classPrices = {50.0, 0.0, 1000.0, 1500.0};
    p.currency = u"UAH"_qs;
    const LotSummary s = summarizeRound(sampleRound(), gost(), p);

    // One line alone: 3 × 0,147 = 0,441 m3, medium.
    const LotSummary one = summarizeRound({round(u"20"_qs, u"4"_qs, u"3"_qs)}, gost(), p);
    QCOMPARE(one.rows[2].count, 3);
    QVERIFY(qFuzzyCompare(one.rows[2].volume, 0.441));
    QCOMPARE(one.rows[2].cost, 441.0);

    // Medium: 0,441 + π · 0,13² · 12 = 0,637115 (the formula with 1,0 cm per
    // metre), which the list shows as 0,6371: the sums are of the lines as shown.
    QCOMPARE(s.rows.size(), 4);
    QCOMPARE(s.rows[0].count, 10);
    QVERIFY(qAbs(s.rows[0].volume - 0.065) < 1e-12);
    QCOMPARE(s.rows[1].count, 0);
    QCOMPARE(s.rows[2].count, 4);
    QVERIFY(qAbs(s.rows[2].volume - 1.0781) < 1e-12);
    QVERIFY(qAbs(s.rows[3].volume - 1.04) < 1e-12);
    QVERIFY(qAbs(s.volume - 2.1831) < 1e-12);
    QCOMPARE(s.count, 16);
    // Costs to the cent, of the volumes as printed: 3,25 + 0 + 1078,10 + 1560,00.
    QCOMPARE(s.rows[2].cost, 1078.10);
    QCOMPARE(s.cost, 3.25 + 1078.10 + 1560.0);
    QVERIFY(qAbs(s.share(s.rows[2]) - 49.3839) < 1e-3);
    QVERIFY(qAbs(s.stacked - 2.1831 / 0.70) < 1e-9);

    const TextTable t = classTable(s, p, UiLanguage::English);
    QCOMPARE(t.rows.size(), 5);
    QCOMPARE(t.rows[2], QStringList({u"Medium, 14–25 cm"_qs, u"4"_qs, u"1,0781"_qs, u"49,38"_qs,
                                     u"1"_qs + nb + u"000,00"_qs, u"1"_qs + nb + u"078,10 UAH"_qs}));
    QCOMPARE(t.rows[0][0], u"Small, < 6 cm"_qs);
    QCOMPARE(t.rows[3][0], u"Thick, ≥ 26 cm"_qs);
    QCOMPARE(t.rows[4], QStringList({u"Total"_qs, u"16"_qs, u"2,1831"_qs, u"100,00"_qs, QString(),
                                     u"2"_qs + nb + u"641,35 UAH"_qs}));
    QCOMPARE(stackedText(s, UiLanguage::English), u"3,1187 stacked m3"_qs);

    // The chart: one bar per diameter, rising, coloured by class.
    QCOMPARE(s.bars.size(), 3);
    QCOMPARE(s.bars[1].label, u"20"_qs);
    QCOMPARE(s.bars[1].cls, 2);
    QCOMPARE(s.bars[1].count, 4);
    QVERIFY(qAbs(s.bars[1].volume - 1.0781) < 1e-12);

    // Bounds moved: 20 cm is thin below 26.
    p.bounds = {10, 26, 40};
    const LotSummary moved = summarizeRound(sampleRound(), gost(), p);
    QCOMPARE(moved.rows[1].count, 4);
    QCOMPARE(moved.rows[2].count, 2);
    QCOMPARE(className(1, p.bounds, UiLanguage::English), u"Thin, 10–25 cm"_qs);
}

// A clerk checks the summary against the list with a calculator: every
// total is the sum of the figures above it, and every cost the printed volume
// times its price, also where the list writes a line in the exponent form.
void TestLotSummary::totalsAreSumsOfTheShownLines()
{
    QRandomGenerator rng(2112);
    for (int lot = 0; lot < 40; ++lot) {
        Lines lines;
        for (int i = 0, n = rng.bounded(1, 40); i < n; ++i) {
            const int count = lot % 4 == 0 ? rng.bounded(1, 10001) : rng.bounded(1, 60);
            lines << newRoundLine(QString::number(rng.bounded(3, 121)), rng.bounded(10, 151) / 10.0,
                                  QString::number(count));
        }
        ListContext ctx = gost();
        ctx.method = static_cast<CalcMethod>(lot % 4);
        ReFreshRoundLines(lines, ctx);
        SummaryParams p;
        const long long priceCents[] = {1000, 33333, 123456, 777};
        for (int c = 0; c < kDiameterClasses; ++c)
            p.classPrices[c] = priceCents[c] / 100.0;
        const LotSummary s = summarizeRound(lines, ctx, p);
        const TextTable t = classTable(s, p, UiLanguage::English);
        // The lines' volumes as the list shows them, added with pencil and paper.
        long long shown = 0;
        for (const ListLine& line : lines) {
            const QString number = line.cells[3].section(u' ', 0, 0).remove(nb).replace(u',', u'.');
            shown += std::llround(number.toDouble() * 10000.0);
        }
        const auto units = [](QString text) {
            return text.remove(nb).remove(u',').toLongLong();
        };
        long long classes = 0;
        for (int r = 0; r < kDiameterClasses; ++r) {
            classes += units(t.rows[r][kColVolume]);
            // Half a cent up.
            QCOMPARE(units(t.rows[r][kColCost]), (units(t.rows[r][kColVolume]) * priceCents[r] + 5000) / 10000);
        }
        QCOMPARE(units(t.rows[4][kColVolume]), shown);
        QCOMPARE(classes, shown);
        const TextTable m = methodTable(s, UiLanguage::English);
        QCOMPARE(units(m.rows[lot % 4][kColMethodVolume]), shown);
        for (const QStringList& row : t.rows + m.rows)
            QVERIFY2(!row.join(u' ').contains(u'E'), qPrintable(row.join(u' ')));
    }
}

void TestLotSummary::fourMethodsSideBySide()
{
    const LotSummary s = summarizeRound(sampleRound(), gost(), SummaryParams{});
    // Cylinders: 3·π·0,1²·4 = 0,37699; 2·π·0,15²·6 = 0,84823; 10·π·0,02²·3 = 0,03770; π·0,1²·12 = 0,37699,
    // summed as the list shows them.
    const double cylinders = 0.3770 + 0.8482 + 0.0377 + 0.3770;
    QVERIFY(qAbs(summarizeRound({round(u"20"_qs, u"4"_qs, u"3"_qs)}, gost(), {}).methods[3].volume - 0.3770)
            < 1e-12);
    QVERIFY(qAbs(s.methods[3].volume - cylinders) < 1e-12);
    QVERIFY(qAbs(s.difference(3) - (cylinders - 2.1831)) < 1e-12);
    QVERIFY(qAbs(s.differencePercent(3) - (cylinders / 2.1831 - 1) * 100) < 1e-9);
    QCOMPARE(s.difference(0), 0.0);
    // GOST ends at 9,5 m: the 12 m line is out, one line of one log.
    QCOMPARE(s.methods[0].linesOutside, 1);
    QCOMPARE(s.methods[0].logsOutside, 1);
    // ISO starts at 4 cm and goes to 15 m; the formula and the cylinder take everything.
    QCOMPARE(s.methods[1].logsOutside, 0);
    QCOMPARE(s.methods[2].logsOutside, 0);
    QCOMPARE(s.methods[3].logsOutside, 0);
    // Formula with the taper in force (1,0 cm): 20 × 4 × 3 has Dm 22 cm, 0,15205 each.
    const LotSummary f = summarizeRound({round(u"20"_qs, u"4"_qs, u"3"_qs)}, gost(), {});
    QVERIFY(qAbs(f.methods[2].volume - 0.4562) < 1e-12); // 3 × 0,1520531 as shown
    QVERIFY(qAbs(f.methods[1].volume - 3 * 0.152) < 1e-9);

    // Another method in force: the rows follow it and the differences are against it.
    ListContext cyl = gost();
    cyl.method = CalcMethod::Cylindered;
    const LotSummary c = summarizeRound(sampleRound(), cyl, {});
    QVERIFY(qAbs(c.volume - cylinders) < 1e-12);
    QCOMPARE(c.difference(3), 0.0);
    const TextTable t = methodTable(c, UiLanguage::English);
    QCOMPARE(t.rows[3][0], u"Machine rounded (in force)"_qs);
    QCOMPARE(t.rows[0][0], u"GOST 2708-75"_qs);
    QCOMPARE(t.rows[0][kColOutside], u"1"_qs);
    QCOMPARE(t.rows[0][kColDiffM3], u"0,5432"_qs);
}

// The sample by each rule, line by line: JAS 3 x 0,160 + 2 x 0,577 + 10 x 0,005
// + 0,691; Hoppus 0,2961 + 0,6662 + 0,0296 + 0,2961; Doyle (8, 12, 2 and 8 inches
// by 13, 19, 9 and 39 feet) 3 x 13 + 2 x 76 + 0 + 39; International 3 x 30 +
// 2 x 120 + 0 + 140. The 4 cm logs are 2 inches: nothing for either board rule.
void TestLotSummary::tradeRules()
{
    const LotSummary s = summarizeRound(sampleRound(), gost(), SummaryParams{});
    const TextTable t = ruleTable(s, UiLanguage::English);
    QCOMPARE(t.rows.size(), kTradeRules);
    QCOMPARE(t.rows[0], QStringList({u"JAS"_qs, u"2,375"_qs, u"m3."_qs, u"0,1919"_qs, u"8,79"_qs, u"0"_qs}));
    QCOMPARE(t.rows[1], QStringList({u"Hoppus"_qs, u"1,2880"_qs, u"Hoppus m3"_qs, u"-0,8951"_qs, u"-41,00"_qs, u"0"_qs}));
    QCOMPARE(t.rows[2], QStringList({u"Doyle"_qs, u"230"_qs, u"bd ft"_qs, QString(), QString(), u"10"_qs}));
    QCOMPARE(t.rows[3], QStringList({u"International 1/4-inch"_qs, u"470"_qs, u"bd ft"_qs, QString(), QString(), u"10"_qs}));
}

void TestLotSummary::boardsBySection()
{
    SummaryParams p;
    p.sectionPrices.insert(u"15×5"_qs, 2000.0);
    const LotSummary s = summarizeBoards({board(u"15"_qs, u"5"_qs, u"6"_qs, u"10"_qs),
                                          board(u"10 sm."_qs, u"2 sm."_qs, u"4,00 m."_qs, u"5 pcs."_qs),
                                          board(u"15"_qs, u"5"_qs, u"3"_qs, u"2"_qs)},
                                         p);
    QVERIFY(s.boards);
    QCOMPARE(s.rows.size(), 2);
    QCOMPARE(s.rows[0].section, u"10×2"_qs);
    QVERIFY(qAbs(s.rows[0].volume - 0.04) < 1e-12);
    QCOMPARE(s.rows[0].cost, 0.0);
    QCOMPARE(s.rows[1].section, u"15×5"_qs);
    QCOMPARE(s.rows[1].count, 12);
    QVERIFY(qAbs(s.rows[1].volume - 0.495) < 1e-12);
    QCOMPARE(s.rows[1].cost, 990.0);
    QCOMPARE(s.bars.size(), 2);
    QCOMPARE(s.bars[1].label, u"15×5"_qs);
    QCOMPARE(classTable(s, p, UiLanguage::English).header[0], u"Section, cm"_qs);
}

void TestLotSummary::emptyAndUnreadLines()
{
    const LotSummary e = summarizeRound({}, gost(), SummaryParams{});
    QCOMPARE(e.rows.size(), 4);
    QCOMPARE(e.volume, 0.0);
    QCOMPARE(e.cost, 0.0);
    QCOMPARE(e.stacked, 0.0);
    QVERIFY(e.bars.isEmpty());
    QCOMPARE(e.differencePercent(3), 0.0);
    const TextTable t = classTable(e, SummaryParams{}, UiLanguage::English);
    QCOMPARE(t.rows.last(), QStringList({u"Total"_qs, u"0"_qs, u"0,0000"_qs, u"0,00"_qs, QString(), u"0,00"_qs}));
    QVERIFY(summarizeBoards({}, SummaryParams{}).rows.isEmpty());

    // A line that does not read is left out and counted, the others stay.
    const LotSummary u = summarizeRound({round(u"abc"_qs, u"4"_qs, u"3"_qs), round(u"20"_qs, u"4"_qs, u"3"_qs)},
                                        gost(), SummaryParams{});
    QCOMPARE(u.unreadLines, 1);
    QCOMPARE(u.count, 3);
    const QStringList told = settingsLines(u, SummaryParams{}, SummarySettings{gost(), u"today"_qs},
                                           UiLanguage::English);
    QCOMPARE(told.last(), u"Unreadable lines left out: 1"_qs);
    QVERIFY(!settingsLines(e, SummaryParams{}, SummarySettings{gost(), u"today"_qs}, UiLanguage::English)
                 .last().startsWith(u"Unreadable"_qs));
}

void TestLotSummary::moneyTexts_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("grouped") << 16482.0 << u"16 482,00"_qs;
    QTest::newRow("zero") << 0.0 << u"0,00"_qs;
    QTest::newRow("cents") << 0.07 << u"0,07"_qs;
    QTest::newRow("rounded") << 1234567.891 << u"1 234 567,89"_qs;
    // Held as 1.00499999...: the half is the written number's, as for volumes.
    QTest::newRow("half of a cent") << 1.005 << u"1,01"_qs;
    QTest::newRow("negative half") << -2.675 << u"-2,68"_qs;
    QTest::newRow("no exponent") << 1e12 << u"1 000 000 000 000,00"_qs;
}

void TestLotSummary::moneyTexts()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(FormatMoney(value), QString(text).replace(QLatin1Char(' '), nb));
}

void TestLotSummary::refusedInput_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("price");
    QTest::addColumn<bool>("factor");
    QTest::newRow("comma") << u"0,70"_qs << true << true;
    QTest::newRow("point") << u".5"_qs << true << true;
    QTest::newRow("grouped") << u"1 200,50"_qs << true << false;
    QTest::newRow("one") << u"1"_qs << true << true;
    QTest::newRow("zero") << u"0"_qs << true << false;
    QTest::newRow("empty") << u""_qs << true << false;
    QTest::newRow("negative") << u"-5"_qs << false << false;
    QTest::newRow("word") << u"abc"_qs << false << false;
    QTest::newRow("two commas") << u"1,2,3"_qs << false << false;
    QTest::newRow("exponent") << u"1e5"_qs << false << false;
    QTest::newRow("too large") << u"1000000000"_qs << false << false;
}

void TestLotSummary::refusedInput()
{
    QFETCH(QString, text);
    QFETCH(bool, price);
    QFETCH(bool, factor);
    QCOMPARE(readPrice(text).has_value(), price);
    QCOMPARE(readStackFactor(text).has_value(), factor);
    if (text.isEmpty())
        QCOMPARE(*readPrice(text), 0.0);
    if (text == u"1 200,50"_qs)
        QCOMPARE(*readPrice(text), 1200.5);

    QVERIFY(readBounds({u"6"_qs, u"14"_qs, u"26"_qs}));
    QVERIFY(!readBounds({u"6"_qs, u"6"_qs, u"26"_qs}));
    QVERIFY(!readBounds({u"14"_qs, u"6"_qs, u"26"_qs}));
    QVERIFY(!readBounds({u"-1"_qs, u"6"_qs, u"26"_qs}));
    QVERIFY(!readBounds({u"6,5"_qs, u"14"_qs, u"26"_qs}));
    QVERIFY(!readBounds({u"6"_qs, u"14"_qs}));
}

void TestLotSummary::storedValuesRoundTripAndFallBack()
{
    SummaryParams p;
    p.classPrices = {0.0, 10.5, 1000.0, 1500.0};
    p.sectionPrices.insert(u"15×5"_qs, 2000.0);
    p.currency = u"€"_qs;
    p.bounds = {8, 16, 30};
    p.stackFactor = 0.65;

    MemoryStore store;
    writeTextValue(store, kPricesValue, pricesText(p));
    writeTextValue(store, kCurrencyValue, p.currency);
    writeTextValue(store, kClassBoundsValue, boundsText(p.bounds));
    writeTextValue(store, kStackFactorValue, stackFactorText(p.stackFactor));
    QCOMPARE(store.values[kPricesValue].toString(),
             u"\"0,00\",\"10,50\",\"1000,00\",\"1500,00\",\"15×5=2000,00\""_qs);
    QCOMPARE(store.values[kClassBoundsValue].toString(), u"8,16,30"_qs);
    QCOMPARE(store.values[kStackFactorValue].toString(), u"0,65"_qs);

    QStringList unread, fellBack;
    const SummaryParams back = paramsFromStored(readSummaryValues(store, unread), fellBack);
    QVERIFY(unread.isEmpty());
    QVERIFY(fellBack.isEmpty());
    QCOMPARE(back.classPrices, p.classPrices);
    QCOMPARE(back.sectionPrices, p.sectionPrices);
    QCOMPARE(back.currency, p.currency);
    QCOMPARE(back.bounds, p.bounds);
    QCOMPARE(back.stackFactor, 0.65);

    // Values that do not read: their defaults, and their names told.
    store.values[kPricesValue] = u"1,2"_qs;
    store.values[kClassBoundsValue] = u"26,14,6"_qs;
    store.values[kStackFactorValue] = u"0"_qs;
    store.values[kCurrencyValue] = 7; // no text
    const SummaryParams bad = paramsFromStored(readSummaryValues(store, unread), fellBack);
    QCOMPARE(unread, QStringList{kCurrencyValue});
    QCOMPARE(fellBack, QStringList({kPricesValue, kClassBoundsValue, kStackFactorValue}));
    QCOMPARE(bad.classPrices, (std::array<double, 4>{}));
    QCOMPARE(bad.bounds, (ClassBounds{6, 14, 26}));
    QCOMPARE(bad.stackFactor, 0.70);
    QCOMPARE(bad.currency, QString());

    // A store that cannot be opened: nothing read, all defaults.
    store.openable = false;
    QVERIFY(readSummaryValues(store, unread).isEmpty());
}

void TestLotSummary::acceptanceDocumentOnPages_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("boards");
    QTest::addColumn<bool>("letter");
    // Lists whose last lines, totals and signatures fall at every place of
    // a page's foot, on A4 and on Letter.
    for (int n : {0, 1, 2, 3})
        QTest::addRow("%d round", n) << n << false << false;
    for (int n = 20; n < 110; n += 1)
        QTest::addRow("%d round", n) << n << false << (n % 2 == 1);
    QTest::addRow("500 round") << 500 << false << false;
    QTest::addRow("0 boards") << 0 << true << false;
    QTest::addRow("75 boards") << 75 << true << true;
}

// The document's parts on the pages: every line once and in order under the
// table's heading, the totals the sums of the printed lines, no heading left
// at a page's foot, the totals and the signatures never on a page of their
// own, everything within the printable area, the pages numbered "N / M".
void TestLotSummary::acceptanceDocumentOnPages()
{
    QFETCH(int, lines);
    QFETCH(bool, boards);
    QFETCH(bool, letter);
    const ListContext ctx = gost();
    Lines list;
    for (int i = 0; i < lines; ++i) {
        const QString d = QString::number(4 + i % 40);
        list << (boards ? board(d, u"5"_qs, u"6"_qs, QString::number(1 + i % 9))
                        : round(d, QString::number(3 + i % 10), QString::number(1 + i % 9)));
    }
    boards ? ReFreshBoardLines(list, ctx) : ReFreshRoundLines(list, ctx);
    const SummaryParams params;
    const LotSummary s = boards ? summarizeBoards(list, params) : summarizeRound(list, ctx, params);
    const AcceptanceSource source{s, params, SummarySettings{ctx, u"01.02.2025"_qs},
                                  LotParties{u"17"_qs, u"Oak & Co"_qs, QString(), u"Lviv"_qs}, list, true};
    const QSizeF area = letter ? QSizeF(540, 720) : QSizeF(510.2, 757.4);
    const FlowPages pages = layOutAcceptance(source, area, CharMeasure());

    const TextTable printed = acceptanceLines(list, boards, ctx);
    const int volume = boards ? 5 : 4;
    long long sum = 0, count = 0;
    for (int r = 0; r + 1 < printed.rows.size(); ++r) {
        sum += units(printed.rows[r][volume]);
        count += printed.rows[r][volume - 1].toLongLong();
    }
    QCOMPARE(units(printed.rows.last()[volume]), sum);
    QCOMPARE(printed.rows.last()[volume - 1].toLongLong(), count);
    QCOMPARE(printed.rows.last()[0], u"Total"_qs);

    QStringList numbers; // of the lines, as the table's first column prints them
    int totalsPage = -1, signaturePage = -1, pictures = 0;
    for (int p = 0; p < pages.pages.size(); ++p) {
        const QVector<PageItem>& page = pages.pages[p];
        QCOMPARE(page.last().text, u"%1 / %2"_qs.arg(p + 1).arg(pages.pages.size()));
        const PageItem* lowest = nullptr;
        for (const PageItem& item : page) {
            const QRectF r = item.rect; // a rule's has no height or no width
            QVERIFY2(r.left() > -1e-6 && r.top() > -1e-6 && r.right() < area.width() + 1e-6
                         && r.bottom() < area.height() + 1e-6,
                     qPrintable(item.text));
            pictures += item.kind == PageItem::Picture ? 1 : 0;
            if (item.kind != PageItem::Text || &item == &page.last())
                continue;
            bool number = false;
            item.text.toInt(&number);
            if (number && !item.right && !item.bold)
                numbers << item.text;
            if (item.text == u"Total"_qs)
                totalsPage = p; // the lines' table's is the last
            if (item.text == u"(signature)"_qs)
                signaturePage = p;
            if (!lowest || item.rect.bottom() >= lowest->rect.bottom())
                lowest = &item;
        }
        // A table's heading row is bold and centred; the page's foot is not one.
        QVERIFY2(!(lowest->bold && lowest->centred), qPrintable(u"page %1 ends with "_qs.arg(p + 1) + lowest->text));
    }
    QStringList expected;
    for (int i = 1; i <= lines; ++i)
        expected << QString::number(i);
    QCOMPARE(numbers, expected);
    QCOMPARE(pictures, 1);
    QCOMPARE(signaturePage, pages.pages.size() - 1);
    QCOMPARE(totalsPage, signaturePage);
    // The totals row has the last line above it on its page.
    if (lines > 0) {
        bool lastLineThere = false;
        for (const PageItem& item : pages.pages[totalsPage])
            lastLineThere = lastLineThere || (item.text == QString::number(lines) && !item.right);
        QVERIFY(lastLineThere);
    }
    QVERIFY(lines < 500 || pages.pages.size() > 5);
}

QTEST_GUILESS_MAIN(TestLotSummary)
#include "tst_lotsummary.moc"
