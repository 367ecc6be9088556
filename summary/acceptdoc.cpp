// The lot's acceptance document laid out on pages.
#include "summary/acceptdoc.h"
#include "lists/listwriter.h"
#include "lists/numbertext.h"

#include <algorithm>
#include <iterator>

namespace zel {
namespace {

constexpr double kTextSize = 10.0;   // points
constexpr double kFooter = 20.0;     // the page number's strip, points
constexpr double kFooterSize = 8.0;
constexpr double kTitleScale = 1.4;
constexpr double kGap = 12.0;        // between the document's parts, points
constexpr double kSignatureGap = 30.0;   // room above a signature's rule to sign in
constexpr double kMostChartShare = 0.45; // of a page's height

// A field left empty is a blank to fill in by hand.
const QString kBlank = QStringLiteral("____________________");

QString captioned(int entry, UiLanguage l, const QString& value)
{
    return Lang(entry, l) + QStringLiteral(": ") + (value.trimmed().isEmpty() ? kBlank : value.trimmed());
}

// The number of a list's cell without its unit, grouped as the list shows
// it: the unit follows the one plain blank.
QString cellValue(const QString& cell)
{
    const qsizetype blank = cell.indexOf(QLatin1Char(' '));
    return blank < 0 ? cell : cell.left(blank);
}

// The parties' names above the rule each signs on, and the word under it.
FlowBlock signatures(const LotParties& parties, UiLanguage l, double width, double lineHeight)
{
    FlowBlock block;
    block.spaceBefore = 2 * kGap;
    const double columnWidth = (width - 2 * kGap) / 2.0;
    const double step = lineHeight * 1.2;
    const struct {
        int caption;
        QString name;
    } sides[] = {{kTxtSeller, parties.seller}, {kTxtBuyer, parties.buyer}};
    for (int i = 0; i < 2; ++i) {
        const double left = i * (columnWidth + 2 * kGap);
        PageItem caption;
        caption.rect = QRectF(left, 0.0, columnWidth, step);
        caption.text = Lang(sides[i].caption, l) + QStringLiteral(": ") + sides[i].name.trimmed();
        caption.pointSize = kTextSize;
        caption.bold = true;
        block.items.append(caption);
        PageItem rule;
        rule.kind = PageItem::Line;
        const double y = step + kSignatureGap;
        rule.rect = QRectF(QPointF(left, y), QPointF(left + columnWidth, y));
        block.items.append(rule);
        PageItem under;
        under.rect = QRectF(left, y, columnWidth, step);
        under.text = QLatin1Char('(') + Lang(kTxtSignature, l) + QLatin1Char(')');
        under.pointSize = kFooterSize;
        under.centred = true;
        block.items.append(under);
        block.height = y + step;
    }
    return block;
}

} // namespace

TextTable acceptanceLines(const Lines& lines, bool boards, const ListContext& ctx)
{
    const UiLanguage l = ctx.language;
    const ListKind kind = boards ? ListKind::Board : ListKind::Round;
    const int columns = boards ? kBoardColumns : kRoundColumns;
    TextTable t;
    t.header = exportCaptions(kind, l);
    if (boards)
        t.header.removeLast(); // the area: a total only
    const QString mark = Lang(kTxtOutOfTableMark, l);
    t.rows.reserve(lines.size() + 1);
    for (int i = 0; i < lines.size(); ++i) {
        QStringList row;
        row.reserve(columns + 2);
        row << QString::number(i + 1);
        for (int c = 0; c < columns; ++c)
            row << cellValue(lines[i].cells.value(c));
        if (!boards)
            row << (lines[i].icon == kIconFallback ? mark : QString());
        t.rows.append(row);
    }
    const PrintedTotals totals = printedTotals(lines, kind, ctx);
    QStringList sums(t.header.size());
    sums[0] = Lang(132, l);
    sums[columns - 1] = QString::number(totals.count);
    sums[columns] = unitsText(totals.volume, 4);
    if (!boards && totals.fallbacks > 0)
        sums[columns + 1] = QString::number(totals.fallbacks);
    t.rows.append(sums);
    return t;
}

bool usesLetter(QLocale::Territory territory)
{
    // The countries that print on Letter; the rest of the world on A4.
    static const QLocale::Territory letter[] = {
        QLocale::UnitedStates, QLocale::Canada,     QLocale::Mexico,    QLocale::Philippines,
        QLocale::Chile,        QLocale::Colombia,   QLocale::Venezuela, QLocale::CostaRica,
        QLocale::Guatemala,    QLocale::Panama,     QLocale::PuertoRico, QLocale::ElSalvador,
        QLocale::Nicaragua,    QLocale::Belize,
    };
    return std::find(std::begin(letter), std::end(letter), territory) != std::end(letter);
}

FlowPages layOutAcceptance(const AcceptanceSource& src, const QSizeF& area, const TextMeasure& measure)
{
    const LotSummary& s = src.summary;
    const UiLanguage l = src.settings.ctx.language;
    FlowWriter w(area.width(), kTextSize, measure);

    w.text({Lang(kTxtAcceptance, l)}, 0.0, kTitleScale, true, true);
    const LotParties& who = src.parties;
    QStringList inForce = settingsLines(s, src.params, src.settings, l);
    // The taper, that lines outside a table are computed with, whatever the
    // method (the formula's names it already): after the method's line.
    if (!s.boards && src.settings.ctx.method != CalcMethod::Formula)
        inForce.insert(3, Lang(40, l) + QStringLiteral(": ") + taperText(src.settings.ctx.taper, l));
    w.columns({{captioned(kTxtLotNumber, l, who.lotNumber), captioned(kTxtSeller, l, who.seller),
                captioned(kTxtBuyer, l, who.buyer), captioned(kTxtPlace, l, who.place)},
               inForce},
              kGap);

    const auto table = [&w](const TextTable& t, bool totals, bool repeat, double space) {
        w.table(FlowTable{t.header, t.rows, totals, repeat}, space);
    };
    w.text({Lang(kTxtLotSummary, l)}, kGap, 1.0, true);
    w.keepWithNext();
    table(classTable(s, src.params, l), true, false, 0.0);
    w.text({Lang(kTxtStacked, l) + QStringLiteral(": ") + stackedText(s, l)}, kGap / 2);
    if (!s.boards) {
        table(methodTable(s, l), false, false, kGap);
        w.text({Lang(kTxtOtherRules, l)}, kGap, 1.0, true);
        w.keepWithNext();
        table(ruleTable(s, l), false, false, 0.0);
    }
    if (src.chart)
        w.picture(0, kChartAspect, kMostChartShare * (area.height() - kFooter), kGap);

    w.text({Lang(kTxtListLines, l)}, kGap, 1.0, true);
    w.keepWithNext();
    table(acceptanceLines(src.lines, s.boards, src.settings.ctx), true, true, 0.0);
    w.keepWithNext(); // the totals row, with the totals below it
    const ListKind kind = s.boards ? ListKind::Board : ListKind::Round;
    const PrintedTotals totals = printedTotals(src.lines, kind, src.settings.ctx);
    const auto total = [l](int caption, const QString& value, int unit) {
        return Lang(caption, l) + QStringLiteral(": ") + value + QLatin1Char(' ') + Lang(unit, l);
    };
    QStringList sums{total(16, QString::number(totals.weight), 11),
                     total(99, unitsText(totals.runningLength, 2), 9),
                     total(s.boards ? 101 : 100, FormatFixed(totals.mean, 2), 7)};
    if (s.boards)
        sums << total(14, unitsText(totals.area, 4), 13);
    if (totals.fallbacks > 0)
        sums << Lang(80, l);
    w.text(sums, kGap / 2);
    w.keepWithNext(); // and the signatures under them
    w.append(signatures(who, l, area.width(), w.lineHeight()));

    return paginate(w.blocks(), area, kFooter, kFooterSize);
}

} // namespace zel
