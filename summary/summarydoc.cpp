// Texts of the lot summary.
#include "summary/summarydoc.h"
#include "lists/listwriter.h"
#include "lists/numbertext.h"

namespace zel {
namespace {

// The settings window's moisture steps, in percent.
constexpr int kMoisturePercent[] = {10, 15, 20, 25, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};

QString caption(int entry, UiLanguage l, const QString& value)
{
    return Lang(entry, l) + QStringLiteral(": ") + value;
}

} // namespace

QString className(int cls, const ClassBounds& b, UiLanguage l)
{
    const QString unit = QLatin1Char(' ') + Lang(kTxtCentimetre, l);
    QString range;
    if (cls == 0)
        range = QStringLiteral("< ") + QString::number(b[0]);
    else if (cls == kDiameterClasses - 1)
        range = QStringLiteral("\u2265 ") + QString::number(b[kDiameterClasses - 2]);
    else if (b[cls] - 1 == b[cls - 1])
        range = QString::number(b[cls - 1]);
    else
        range = QString::number(b[cls - 1]) + QChar(0x2013) + QString::number(b[cls] - 1);
    return Lang(kTxtSmall + cls, l) + QStringLiteral(", ") + range + unit;
}

QString costText(double cost, const QString& currency)
{
    return currency.isEmpty() ? FormatMoney(cost) : FormatMoney(cost) + QLatin1Char(' ') + currency;
}

TextTable classTable(const LotSummary& s, const SummaryParams& p, UiLanguage l)
{
    TextTable t;
    t.header = QStringList{Lang(s.boards ? kTxtSection : kTxtClass, l), Lang(kTxtPieces, l),
                           Lang(kTxtVolumeM3, l), Lang(kTxtShare, l), Lang(kTxtPricePerM3, l),
                           Lang(kTxtCost, l)};
    t.rows.reserve(s.rows.size() + 1);
    for (const SummaryRow& row : s.rows) {
        t.rows.append({s.boards ? row.section : className(row.cls, p.bounds, l), QString::number(row.count),
                       FormatFixed(row.volume, 4), FormatFixed(s.share(row), 2), FormatMoney(row.price),
                       costText(row.cost, p.currency)});
    }
    t.rows.append({Lang(kTxtTotal, l), QString::number(s.count), FormatFixed(s.volume, 4),
                   FormatFixed(s.volume > 0.0 ? 100.0 : 0.0, 2), QString(), costText(s.cost, p.currency)});
    return t;
}

TextTable methodTable(const LotSummary& s, UiLanguage l)
{
    TextTable t;
    t.header = QStringList{Lang(kTxtMethod, l), Lang(kTxtVolumeM3, l), Lang(kTxtDifferenceM3, l),
                           Lang(kTxtDifferencePercent, l), Lang(kTxtOutside, l)};
    for (int m = 0; m < static_cast<int>(s.methods.size()); ++m) {
        QString name = Lang(36 + m, l);
        if (m == static_cast<int>(s.method))
            name += QStringLiteral(" (") + Lang(kTxtInForce, l) + QLatin1Char(')');
        t.rows.append({name, FormatFixed(s.methods[m].volume, 4), FormatFixed(s.difference(m), 4),
                       FormatFixed(s.differencePercent(m), 2), QString::number(s.methods[m].logsOutside)});
    }
    return t;
}

TextTable ruleTable(const LotSummary& s, UiLanguage l)
{
    TextTable t;
    t.header = QStringList{Lang(kTxtRule, l),         Lang(kTxtTotal, l),
                           Lang(kTxtUnit, l),         Lang(kTxtDifferenceM3, l),
                           Lang(kTxtDifferencePercent, l), Lang(kTxtLogsAtZero, l)};
    for (int r = 0; r < kTradeRules; ++r) {
        const RuleTotal& total = s.rules[r];
        const bool m3 = tradeRuleInM3(total.rule);
        t.rows.append({tradeRuleName(total.rule, l), unitsText(total.units, tradeRuleDecimals(total.rule)),
                       tradeRuleUnit(total.rule, l), m3 ? FormatFixed(s.ruleDifference(r), 4) : QString(),
                       m3 ? FormatFixed(s.ruleDifferencePercent(r), 2) : QString(),
                       QString::number(total.logsAtZero)});
    }
    return t;
}

QString stackedText(const LotSummary& s, UiLanguage l)
{
    return FormatFixed(s.stacked, 4) + QLatin1Char(' ') + Lang(kTxtStackedUnit, l);
}

QString taperText(TaperStep taper, UiLanguage l)
{
    return FormatNumber(taperPerMetre(taper), 1) + QLatin1Char(' ') + Lang(kTxtCentimetre, l);
}

QStringList settingsLines(const LotSummary& s, const SummaryParams& p, const SummarySettings& in,
                          UiLanguage l)
{
    QStringList lines;
    lines << caption(47, l, in.date);
    lines << Lang(s.boards ? 89 : 44, l);
    if (!s.boards) {
        QString method = Lang(36 + static_cast<int>(in.ctx.method), l);
        if (in.ctx.method == CalcMethod::Formula)
            method += QStringLiteral(", ") + Lang(40, l) + QLatin1Char(' ') + taperText(in.ctx.taper, l);
        lines << caption(kTxtMethod, l, method);
        lines << caption(kTxtBounds, l, boundsText(p.bounds));
    }
    lines << caption(1, l, Lang(30 + in.ctx.species, l));
    lines << caption(28, l, QString::number(kMoisturePercent[in.ctx.moisture % 14]) + QLatin1Char('%'));
    lines << caption(kTxtStackFactor, l, stackFactorText(p.stackFactor));
    if (!p.currency.isEmpty())
        lines << caption(kTxtCurrency, l, p.currency);
    if (s.unreadLines > 0)
        lines << caption(kTxtUnreadLines, l, QString::number(s.unreadLines));
    return lines;
}

} // namespace zel
