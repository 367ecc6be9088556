// The lot summary as texts: the tables the window shows and prints, in one
// language.
#pragma once

#include "summary/lotsummary.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace zel {

// Language-table entries of the summary.
enum SummaryText {
    kTxtLotSummary = 170,
    kTxtClass = 171,
    kTxtSection = 172,
    kTxtPieces = 173,
    kTxtVolumeM3 = 174,
    kTxtShare = 175,
    kTxtPricePerM3 = 176,
    kTxtCost = 177,
    kTxtTotal = 178,
    kTxtSmall = 179, // ... thin, medium, thick: 180-182
    kTxtMethod = 183,
    kTxtDifferenceM3 = 184,
    kTxtDifferencePercent = 185,
    kTxtOutside = 186,
    kTxtInForce = 187,
    kTxtStacked = 188,
    kTxtStackFactor = 189,
    kTxtCurrency = 190,
    kTxtBounds = 191,
    kTxtSavePdf = 192,
    kTxtVolumeByDiameter = 193,
    kTxtVolumeBySection = 194,
    kTxtStackedUnit = 195,
    kTxtPdfFilter = 196,
    kTxtPdfFailed = 197,
    kTxtUnreadLines = 198,
    kTxtOtherRules = 199,
    kTxtRule = 200,
    kTxtUnit = 201,
    kTxtLogsAtZero = 202,
};

// Columns of the class (section) table.
enum SummaryColumn { kColName, kColCount, kColVolume, kColShare, kColPrice, kColCost, kSummaryColumns };
// Columns of the methods table.
enum MethodColumn { kColMethod, kColMethodVolume, kColDiffM3, kColDiffPercent, kColOutside, kMethodColumns };
// Columns of the trade rules' table: the differences only for rules in m3.
enum RuleColumn { kColRule, kColRuleTotal, kColRuleUnit, kColRuleDiffM3, kColRuleDiffPercent, kColAtZero, kRuleColumns };

struct TextTable {
    QStringList header;
    QVector<QStringList> rows; // the totals row last, where there is one
};

// "Thin, 6–13 см." with the bounds in force.
QString className(int cls, const ClassBounds& bounds, UiLanguage language);
// The rows, then the totals row (its price cell empty).
TextTable classTable(const LotSummary& s, const SummaryParams& p, UiLanguage language);
TextTable methodTable(const LotSummary& s, UiLanguage language);
TextTable ruleTable(const LotSummary& s, UiLanguage language);
// A cost with the currency after it, when there is one.
QString costText(double cost, const QString& currency);
// "0,6300 скл. м3"
QString stackedText(const LotSummary& s, UiLanguage language);

// The taper per running metre: "1,0 см".
QString taperText(TaperStep taper, UiLanguage language);

// What the lot was measured with: one "caption: value" text each, and the
// number of lines left out because their cells do not read, when there are any.
struct SummarySettings {
    ListContext ctx;
    QString date;
};
QStringList settingsLines(const LotSummary& s, const SummaryParams& p, const SummarySettings& in,
                          UiLanguage language);

} // namespace zel
