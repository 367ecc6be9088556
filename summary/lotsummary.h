// A lot of round logs or boards summed up for buying and selling: volume
// and cost by diameter class (by section for boards), the round list's
// total by each of the four methods and by the trade rules of its buyers,
// and the stacked volume.
#pragma once

#include "lists/calclists.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <cstdint>
#include <optional>

namespace zel {

// Small (under the first bound), thin, medium and thick (from the last bound on).
constexpr int kDiameterClasses = 4;
using ClassBounds = std::array<int, kDiameterClasses - 1>;

// A diameter's class: the first whose upper bound is above it.
int diameterClass(int d, const ClassBounds& bounds);

// The largest price per m3 a field takes: costs of any list stay exact to
// the cent in a double.
constexpr double kMaxPrice = 999999999.99;

// What the user sets; kept between runs.
struct SummaryParams {
    std::array<double, kDiameterClasses> classPrices{};
    QMap<QString, double> sectionPrices; // by section text, "15×5"
    QString currency;
    ClassBounds bounds{6, 14, 26};
    double stackFactor = 0.70;
};

// Typed or stored values; nullopt for one that is refused. A price is a
// number of at most kMaxPrice, with a decimal comma or point and blanks
// anywhere; empty means 0. Bounds are whole centimetres that rise. The
// stacking factor lies above 0 and at most 1.
std::optional<double> readPrice(const QString& text);
std::optional<ClassBounds> readBounds(const QStringList& texts);
std::optional<double> readStackFactor(const QString& text);

// Money: two decimals, a decimal comma and thousands grouped as the lists
// group them ("16 482,00"), never in exponent form.
QString FormatMoney(double value);
// A board section as the summary names it: "15×5".
QString sectionText(int width, int height);

// The stored texts of the four values, and back: a value that does not read
// keeps its default and its name goes into `fellBack`.
QString pricesText(const SummaryParams& p);
QString boundsText(const ClassBounds& b);
QString stackFactorText(double factor);
SummaryParams paramsFromStored(const QMap<QString, QString>& texts, QStringList& fellBack);

// One row of the class (section) table.
struct SummaryRow {
    int cls = -1;      // diameter class; -1 for a board section
    QString section;   // boards: "15×5"
    std::int64_t count = 0;
    double volume = 0.0;
    double price = 0.0;
    double cost = 0.0; // to the cent
};

// The round list's total by one method, lines it has no value for taken by
// the fallback formula as the list does.
struct MethodTotal {
    CalcMethod method = CalcMethod::Gost2708;
    double volume = 0.0;
    std::int64_t logsOutside = 0;
    int linesOutside = 0;
};

// The round list's total by a trade rule, in units of its last decimal
// (tradeRuleDecimals): the sum of its lines as they are shown.
struct RuleTotal {
    TradeRule rule = TradeRule::Jas;
    std::int64_t units = 0;
    std::int64_t logsAtZero = 0; // logs of lines the rule gives 0: too small for it
    double value() const;        // m3 or board feet
};

// One bar of the chart: a diameter (a section for boards).
struct ChartBar {
    QString label;
    int cls = -1;
    double volume = 0.0;
    std::int64_t count = 0;
};

struct LotSummary {
    bool boards = false;
    CalcMethod method = CalcMethod::Gost2708; // in force
    QVector<SummaryRow> rows; // four classes always; sections by width, then height
    std::int64_t count = 0;
    double volume = 0.0;
    double cost = 0.0;        // the sum of the rows' costs, as shown
    double stacked = 0.0;     // m3 of stacked wood
    std::array<MethodTotal, 4> methods{}; // round lists only
    std::array<RuleTotal, kTradeRules> rules{}; // round lists only
    QVector<ChartBar> bars;   // by rising diameter (section)
    int unreadLines = 0;      // lines whose cells do not parse: left out

    // Percent of the total volume; 0 for an empty lot.
    double share(const SummaryRow& row) const;
    // A method's total against the one in force, in m3 and in percent.
    double difference(int method) const;
    double differencePercent(int method) const;
    // The same for a rule in m3 (JAS, Hoppus).
    double ruleDifference(int rule) const;
    double ruleDifferencePercent(int rule) const;

private:
    double differenceOf(double volume) const;
    double percentOf(double difference) const;
};

// The lines as the lists hold them, read as the lists read them: what the
// last recomputation kept of a line whose texts are unchanged, else its texts.
LotSummary summarizeRound(const Lines& lines, const ListContext& ctx, const SummaryParams& p);
LotSummary summarizeBoards(const Lines& lines, const SummaryParams& p);

} // namespace zel
