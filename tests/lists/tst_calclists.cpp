// The two lists as data: recomputation, totals, fallback, merging, sorting.
#include "../fakes/listlines.h"
#include "lists/calclists.h"
#include "lists/numbertext.h"
#include "engine/convert.h"
#include "engine/errors.h"

#include <QCollator>
#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>

#include <cstring>

using namespace zel;

namespace {

QStringList firstColumn(const Lines& lines)
{
    QStringList out;
    for (const ListLine& l : lines)
        out << l.cells[0];
    return out;
}

} // namespace

class TestCalcLists : public QObject {
    Q_OBJECT
private slots:
    void roundLineIsWrittenCanonically();
    void englishUnits();
    void fallbackOutsideTheTable();
    void isoGapFallsBack();
    void emptyLists();
    void weightedMeans();
    void countSumDoesNotWrap();
    void lengthReadsOnlyDigitsAndComma();
    void longLengthSurvivesTheExponentForm();
    void exponentOnlyInTheWrittenForm_data();
    void exponentOnlyInTheWrittenForm();
    void badCellKeepsEveryLine();
    void boardExample();
    void mergingRound();
    void mergingBoards();
    void mergeNeverOverflowsACount();
    void mergeSkipsLinesThatDoNotRead();
    void sortingIsTextOrder();
    void readersAgreeWithTheCleanedText();
    void incrementalEqualsFull_data();
    void incrementalEqualsFull();
};

void TestCalcLists::roundLineIsWrittenCanonically()
{
    Lines lines{newRoundLine(QStringLiteral("20"), 4.0, QStringLiteral("3"))};
    const ListTotals t = ReFreshRoundLines(lines, pineGost());
    QVERIFY(t.ok());
    QCOMPARE(lines[0].cells, (QVector<QString>{u"20 см."_qs, u"4,00 м."_qs, u"3 шт."_qs, u"0,4410 м3."_qs}));
    QCOMPARE(lines[0].icon, kIconNormal);
    QCOMPARE(t.volume, u"0,4410"_qs);
    QCOMPARE(t.weight, u"318"_qs);
    QCOMPARE(t.runningLength, u"12,00"_qs);
    QCOMPARE(t.mean, u"20,00"_qs);
    QCOMPARE(t.fallbacks, 0);
    // Recomputing canonical texts changes nothing.
    const Lines before = lines;
    ReFreshRoundLines(lines, pineGost());
    QCOMPARE(lines[0].cells, before[0].cells);
}

void TestCalcLists::englishUnits()
{
    Lines lines{round(u"20 см."_qs, u"4,00 м."_qs, u"3 шт."_qs)};
    ReFreshRoundLines(lines, pineGost(UiLanguage::English));
    QCOMPARE(lines[0].cells, (QVector<QString>{u"20 sm."_qs, u"4,00 m."_qs, u"3 pcs."_qs, u"0,4410 m3."_qs}));
}

void TestCalcLists::fallbackOutsideTheTable()
{
    Lines lines{round(u"20"_qs, u"12"_qs, u"1"_qs), round(u"20"_qs, u"4"_qs, u"1"_qs)};
    ListContext ctx = pineGost();
    ctx.taper = 7; // the fallback uses 1.0 cm per metre whatever the settings say
    const ListTotals t = ReFreshRoundLines(lines, ctx);
    QCOMPARE(lines[0].icon, kIconFallback);
    QCOMPARE(lines[0].cells[3], u"0,6371 м3."_qs);
    QCOMPARE(lines[1].icon, kIconNormal);
    QCOMPARE(t.fallbacks, 1);
    QCOMPARE(t.volume, FormatNumber(0.637114990148 + 0.147, 4)); // counts in the total

    // A count of 0 stays red with a volume of 0.
    Lines zero{round(u"20"_qs, u"4"_qs, u"0"_qs)};
    const ListTotals z = ReFreshRoundLines(zero, ctx);
    QCOMPARE(zero[0].icon, kIconFallback);
    QCOMPARE(zero[0].cells[3], u"0,0000 м3."_qs);
    QCOMPARE(z.fallbacks, 1);
}

void TestCalcLists::isoGapFallsBack()
{
    ListContext ctx = pineGost();
    ctx.method = CalcMethod::Iso4480;
    Lines lines{round(u"50"_qs, u"8"_qs, u"1"_qs), round(u"44"_qs, u"8"_qs, u"1"_qs)};
    ReFreshRoundLines(lines, ctx);
    QCOMPARE(lines[0].icon, kIconFallback);
    QCOMPARE(lines[1].icon, kIconNormal);
    QCOMPARE(lines[1].cells[3], u"1,4480 м3."_qs);
}

void TestCalcLists::emptyLists()
{
    Lines none;
    const ListTotals r = ReFreshRoundLines(none, pineGost());
    QCOMPARE(r.volume, u"0,0000"_qs);
    QCOMPARE(r.weight, u"0"_qs);
    QCOMPARE(r.runningLength, u"0,00"_qs);
    QCOMPARE(r.mean, u"0.00"_qs);
    const ListTotals b = ReFreshBoardLines(none, pineGost());
    QCOMPARE(b.area, u"0,0000"_qs);
    QCOMPARE(b.mean, u"0.00"_qs);
}

void TestCalcLists::weightedMeans()
{
    Lines lines{round(u"20"_qs, u"4"_qs, u"10"_qs), round(u"40"_qs, u"5"_qs, u"30"_qs)};
    const ListTotals t = ReFreshRoundLines(lines, pineGost());
    QCOMPARE(t.mean, u"35,00"_qs);
    QCOMPARE(t.runningLength, u"190,00"_qs);

    Lines boards{board(u"10"_qs, u"5"_qs, u"6"_qs, u"2"_qs), board(u"20"_qs, u"5"_qs, u"6"_qs, u"6"_qs)};
    QCOMPARE(ReFreshBoardLines(boards, pineGost()).mean, u"17,50"_qs);
}

void TestCalcLists::countSumDoesNotWrap()
{
    Lines lines;
    for (int d : {10, 20, 30, 40, 50, 60, 70})
        lines.append(round(QString::number(d), u"4"_qs, u"10000"_qs));
    const ListTotals t = ReFreshRoundLines(lines, pineGost());
    QCOMPARE(t.mean, u"40,00"_qs);
    QCOMPARE(t.runningLength, u"2,800E05"_qs);
}

void TestCalcLists::lengthReadsOnlyDigitsAndComma()
{
    Lines lines{round(u"20"_qs, u"4.5"_qs, u"1"_qs), round(u"20"_qs, u"4,567"_qs, u"1"_qs)};
    ReFreshRoundLines(lines, pineGost());
    QCOMPARE(lines[0].cells[1], u"45,00 м."_qs); // the dot is dropped
    QCOMPARE(lines[0].icon, kIconFallback);
    QCOMPARE(lines[1].cells[1], u"4,57 м."_qs);
}

void TestCalcLists::longLengthSurvivesTheExponentForm()
{
    ListContext ctx = pineGost();
    ctx.method = CalcMethod::Cylindered;
    Lines lines{round(u"20"_qs, u"12345,6"_qs, u"1"_qs)};
    ReFreshRoundLines(lines, ctx);
    QCOMPARE(lines[0].cells[1], u"1,235E04 м."_qs);
    QCOMPARE(lines[0].cells[3], u"387,8000 м3."_qs);
    // Read back as 12,350 m, not as 1.23504 m.
    ReFreshRoundLines(lines, ctx);
    QCOMPARE(lines[0].cells[1], u"1,235E04 м."_qs);
    QCOMPARE(lines[0].cells[3], u"388,0000 м3."_qs);
}

void TestCalcLists::exponentOnlyInTheWrittenForm_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("written form") << u"1,235E04 м."_qs << 12350.0;
    QTest::newRow("signed exponent") << u"2,5E-1"_qs << 0.25;
    QTest::newRow("plus sign") << u"2,5E+1"_qs << 25.0;
    QTest::newRow("no comma") << u"1E3"_qs << 13.0;
    QTest::newRow("no exponent") << u"4,5E"_qs << 4.5;
    QTest::newRow("no mantissa") << u"E5"_qs << 5.0;
    QTest::newRow("no fraction") << u"4,E2"_qs << 4.2;
    QTest::newRow("grouped") << u"1\u00A0470,0000"_qs << 1470.0;
}

void TestCalcLists::exponentOnlyInTheWrittenForm()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(readListNumber(text), value);
}

void TestCalcLists::badCellKeepsEveryLine()
{
    Lines lines{round(u"20"_qs, u"4"_qs, u"3"_qs), round(u"abc"_qs, u"4"_qs, u"1"_qs),
                round(u"30"_qs, u"5"_qs, u"2"_qs)};
    const ListTotals t = ReFreshRoundLines(lines, pineGost());
    QVERIFY(!t.ok());
    QCOMPARE(t.failedLine, 1);
    QCOMPARE(t.error, u"\"\" is not a valid integer value"_qs);
    const QStringList texts = lineTexts(lines);
    QCOMPARE(texts.size(), 12);
    QCOMPARE(texts.mid(4, 4), (QStringList{u"abc"_qs, u"4"_qs, u"1"_qs, u"0"_qs}));
    QCOMPARE(texts[0], u"20 см."_qs);
    QCOMPARE(texts[8], u"30 см."_qs);

    Lines boards{board(u"15"_qs, u"5"_qs, u"6"_qs, u"4,5"_qs)};
    const ListTotals b = ReFreshBoardLines(boards, pineGost());
    QCOMPARE(b.error, u"\"4,5\" is not a valid integer value"_qs);
    QCOMPARE(lineTexts(boards), (QStringList{u"15"_qs, u"5"_qs, u"6"_qs, u"4,5"_qs, u"0"_qs}));
}

void TestCalcLists::boardExample()
{
    Lines lines{newBoardLine(u"15"_qs, u"5"_qs, 6.0, u"10"_qs)};
    const ListTotals t = ReFreshBoardLines(lines, pineGost());
    QCOMPARE(lines[0].cells, (QVector<QString>{u"15 см."_qs, u"5 см."_qs, u"6,00 м."_qs, u"10 шт."_qs, u"0,4500 м3."_qs}));
    QCOMPARE(t.volume, u"0,4500"_qs);
    QCOMPARE(t.area, u"9,0000"_qs);
    QCOMPARE(t.runningLength, u"60,00"_qs);
    QCOMPARE(t.mean, u"15,00"_qs);
    QCOMPARE(t.weight, u"324"_qs);
    QCOMPARE(lines[0].icon, kIconNone);

    // Zero sizes are accepted, in black.
    Lines zero{board(u"0"_qs, u"5"_qs, u"6"_qs, u"1"_qs)};
    ReFreshBoardLines(zero, pineGost());
    QCOMPARE(zero[0].cells[4], u"0,0000 м3."_qs);
    QCOMPARE(zero[0].icon, kIconNone);
}

void TestCalcLists::mergingRound()
{
    Lines lines{newRoundLine(u"20"_qs, 4.0, u"3"_qs), newRoundLine(u"20"_qs, 4.5, u"1"_qs)};
    ReFreshRoundLines(lines, pineGost());
    QVERIFY(scanRoundLines(lines, 20, 4.0, 3));
    QCOMPARE(lines[0].cells[2], u"6"_qs);
    QVERIFY(!scanRoundLines(lines, 20, 4.2, 3));
    QVERIFY(!scanRoundLines(lines, 21, 4.0, 3));
    QCOMPARE(lines.size(), 2);

    // With 300 lines, an equal to line 280 merges there.
    Lines many;
    for (int i = 0; i < 300; ++i)
        many.append(newRoundLine(QString::number(3 + i % 118), 1.0 + (i / 118), u"1"_qs));
    ReFreshRoundLines(many, pineGost());
    const int d = 3 + 280 % 118;
    const double l = 1.0 + 280 / 118;
    QVERIFY(scanRoundLines(many, d, l, 5));
    QCOMPARE(many[280].cells[2], u"6"_qs);
}

void TestCalcLists::mergingBoards()
{
    Lines lines{newBoardLine(u"15"_qs, u"5"_qs, 6.0, u"10"_qs)};
    ReFreshBoardLines(lines, pineGost());
    QVERIFY(scanBoardLines(lines, 15, 5, 6.0, 10));
    QCOMPARE(lines[0].cells[3], u"20"_qs);
    QVERIFY(!scanBoardLines(lines, 15, 6, 6.0, 10));
    QVERIFY(!scanBoardLines(lines, 16, 5, 6.0, 10));
    QVERIFY(!scanBoardLines(lines, 15, 5, 6.1, 10));
}

void TestCalcLists::mergeNeverOverflowsACount()
{
    Lines lines{round(u"20"_qs, u"4"_qs, u"2147483000"_qs)};
    QVERIFY(!scanRoundLines(lines, 20, 4.0, 1000));
    QCOMPARE(lines[0].cells[2], u"2147483000"_qs);
    QVERIFY(scanRoundLines(lines, 20, 4.0, 647));
    QCOMPARE(lines[0].cells[2], u"2147483647"_qs);
    // 70,000 logs in one line are kept and computed in full.
    Lines big{round(u"20"_qs, u"4"_qs, u"65535"_qs)};
    QVERIFY(scanRoundLines(big, 20, 4.0, 10000));
    ReFreshRoundLines(big, pineGost());
    QCOMPARE(big[0].cells[2], u"75535 шт."_qs);

    Lines boards{board(u"15"_qs, u"5"_qs, u"6"_qs, u"2147483647"_qs)};
    QVERIFY(!scanBoardLines(boards, 15, 5, 6.0, 1));
}

void TestCalcLists::mergeSkipsLinesThatDoNotRead()
{
    Lines lines{round(u"x"_qs, u"4"_qs, u"1"_qs), round(u"20"_qs, u"4"_qs, u"1"_qs)};
    QVERIFY(scanRoundLines(lines, 20, 4.0, 1));
    QCOMPARE(lines[1].cells[2], u"2"_qs);
    QCOMPARE(lines[0].cells[0], u"x"_qs);
}

void TestCalcLists::sortingIsTextOrder()
{
    Lines lines{round(u"5"_qs, u"4"_qs, u"1"_qs), round(u"20"_qs, u"4"_qs, u"1"_qs),
                round(u"100"_qs, u"4"_qs, u"1"_qs), round(u"9"_qs, u"4"_qs, u"1"_qs),
                round(u"10"_qs, u"4"_qs, u"1"_qs)};
    ReFreshRoundLines(lines, pineGost());
    sortLines(lines, QCollator(QLocale(QStringLiteral("ru_RU"))));
    QCOMPARE(firstColumn(lines),
             (QStringList{u"10 см."_qs, u"100 см."_qs, u"20 см."_qs, u"5 см."_qs, u"9 см."_qs}));
}

namespace {

// A cell text a user or a file could leave in a list: canonical and raw
// numbers, lengths with more decimals than are written, the exponent form,
// counts near the largest one, and texts that do not read.
QString randomCell(QRandomGenerator& rng, int column, bool boards)
{
    static const QStringList odd{u"abc"_qs, QString(), u"4,5"_qs, u"1,235E04"_qs, u"7 шт."_qs,
                                 u"2147483000"_qs, u"0"_qs, u"4,005"_qs, u"12,5 m."_qs};
    if (rng.bounded(6) == 0)
        return odd[rng.bounded(odd.size())];
    const int lengthColumn = boards ? 2 : 1;
    if (column == lengthColumn)
        return QString::number(1.0 + rng.bounded(141) / 10.0).replace(QLatin1Char('.'), QLatin1Char(','));
    return QString::number(1 + rng.bounded(boards ? 40 : 130));
}

ListTotals refresh(Lines& lines, const ListContext& ctx, bool boards)
{
    return boards ? ReFreshBoardLines(lines, ctx) : ReFreshRoundLines(lines, ctx);
}

// The same lines with nothing kept: a recomputation of them starts from
// their texts alone.
Lines textsOnly(const Lines& lines)
{
    Lines out;
    for (const ListLine& l : lines)
        out.append(ListLine(l.cells, l.icon));
    return out;
}

} // namespace

// The readers take a cell in place when they can; whatever they return or
// throw is what reading the cell cleaned to digits and commas gives.
void TestCalcLists::readersAgreeWithTheCleanedText()
{
    const QString alphabet = u"0123456789,,  -+.aм"_qs;
    QRandomGenerator rng(1603);
    const auto outcome = [](const auto& read) {
        try {
            return QString::number(read(), 'g', 17);
        } catch (const ConvertError& e) {
            return e.message();
        }
    };
    for (int n = 0; n < 20000; ++n) {
        QString text;
        const int size = static_cast<int>(rng.bounded(n % 10 == 0 ? 80 : 12));
        for (int i = 0; i < size; ++i)
            text += alphabet[rng.bounded(alphabet.size())];
        QString copy = text;
        const QString cleaned = CleanStr(copy, kIntegerChars, 1);
        QCOMPARE(outcome([&] { return readListInteger(text); }), outcome([&] { return StrToInt(cleaned); }));
        QCOMPARE(outcome([&] { return readListNumber(text); }),
                 outcome([&] { return StrToFloat(cleaned, QLatin1Char(',')); }));
    }
}

// Long random runs of adds, merges, edits, deletes, sorts and settings
// changes: after each, the list brought up to date line by line is the list
// recomputed from nothing, texts, icons and every total to the bit.
void TestCalcLists::incrementalEqualsFull_data()
{
    QTest::addColumn<bool>("boards");
    QTest::newRow("round") << false;
    QTest::newRow("boards") << true;
}

void TestCalcLists::incrementalEqualsFull()
{
    QFETCH(bool, boards);
    QRandomGenerator rng(boards ? 1602 : 1601);
    const int columns = boards ? kBoardColumns : kRoundColumns;
    ListContext ctx = pineGost();
    Lines lines;
    for (int step = 0; step < 4000; ++step) {
        const int op = static_cast<int>(rng.bounded(100));
        if (op < 45) { // an entry: merged when it can be, else a new line
            const int size = 1 + rng.bounded(boards ? 40 : 130);
            const int height = 1 + rng.bounded(30);
            const double len = 1.0 + rng.bounded(20) / 10.0 + (rng.bounded(8) == 0 ? 0.005 : 0.0);
            const int count = rng.bounded(10) == 0 ? 2147483000 : 1 + rng.bounded(5);
            Lines plain = textsOnly(lines);
            const bool merged = boards ? scanBoardLines(lines, size, height, len, count)
                                       : scanRoundLines(lines, size, len, count);
            const bool mergedPlain = boards ? scanBoardLines(plain, size, height, len, count)
                                            : scanRoundLines(plain, size, len, count);
            QCOMPARE(merged, mergedPlain);
            if (!merged)
                lines.append(boards ? newBoardLine(QString::number(size), QString::number(height), len,
                                                   QString::number(count))
                                    : newRoundLine(QString::number(size), len, QString::number(count)));
        } else if (op < 65 && !lines.isEmpty()) {
            const int column = static_cast<int>(rng.bounded(columns));
            lines[rng.bounded(lines.size())].cells[column] = randomCell(rng, column, boards);
        } else if (op < 75 && !lines.isEmpty()) {
            lines.removeAt(rng.bounded(lines.size()));
        } else if (op < 80) {
            sortLines(lines, QCollator());
        } else if (op < 90) {
            switch (rng.bounded(5)) {
            case 0: ctx.method = static_cast<CalcMethod>(rng.bounded(4)); break;
            case 1: ctx.taper = static_cast<TaperStep>(rng.bounded(8)); break;
            case 2: ctx.language = static_cast<UiLanguage>(rng.bounded(3)); break;
            case 3: ctx.species = static_cast<std::uint8_t>(rng.bounded(8)); break;
            default: ctx.moisture = static_cast<std::uint8_t>(rng.bounded(10)); break;
            }
        } else if (op < 91) {
            lines.clear();
        }
        Lines full = textsOnly(lines);
        const Lines before = lines;
        const ListTotals t = refresh(lines, ctx, boards);
        const ListTotals f = refresh(full, ctx, boards);
        QCOMPARE(lineTexts(lines), lineTexts(full));
        // Only the rows reported as changed are repainted: every other line
        // must be as it was.
        QVERIFY(std::is_sorted(t.changed.begin(), t.changed.end()));
        for (int i = 0; i < lines.size(); ++i) {
            QCOMPARE(lines[i].icon, full[i].icon);
            if (!std::binary_search(t.changed.begin(), t.changed.end(), i)) {
                QCOMPARE(lines[i].cells, before[i].cells);
                QCOMPARE(lines[i].icon, before[i].icon);
            }
        }
        QCOMPARE(std::memcmp(&t.total, &f.total, sizeof t.total), 0);
        QCOMPARE(t.volume, f.volume);
        QCOMPARE(t.weight, f.weight);
        QCOMPARE(t.runningLength, f.runningLength);
        QCOMPARE(t.mean, f.mean);
        QCOMPARE(t.area, f.area);
        QCOMPARE(t.fallbacks, f.fallbacks);
        QCOMPARE(t.failedLine, f.failedLine);
        QCOMPARE(t.error, f.error);
    }
}

QTEST_APPLESS_MAIN(TestCalcLists)
#include "tst_calclists.moc"
