// The lot summary's arithmetic and its stored texts.
#include "summary/lotsummary.h"
#include "lists/numbertext.h"
#include "shell/commatext.h"
#include "shell/settingsio.h"

#include <QRegularExpression>

#include <cmath>
#include <map>
#include <vector>
#include <utility>

namespace zel {

int diameterClass(int d, const ClassBounds& bounds)
{
    for (int i = 0; i < static_cast<int>(bounds.size()); ++i)
        if (d < bounds[i])
            return i;
    return kDiameterClasses - 1;
}

namespace {

const QChar kTimes(0x00D7);

// Blanks of any kind, the lists' group separator among them, carry nothing.
QString withoutBlanks(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (!c.isSpace())
            out += c;
    return out;
}

// Digits with at most one decimal comma or point: no sign, no exponent.
std::optional<double> readPlainNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^(\\d+([.,]\\d*)?|[.,]\\d+)$"));
    QString t = withoutBlanks(text);
    if (!number.match(t).hasMatch())
        return std::nullopt;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

double toCents(double value)
{
    return static_cast<double>(roundedUnits(value, 2)) / 100.0;
}

// A price as stored: no grouping, so that nothing but the value is in it.
QString plainMoney(double value)
{
    return QString::number(value, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
}

// "W×H=price" of a stored section price.
bool readSectionPrice(const QString& entry, QMap<QString, double>& prices)
{
    static const QRegularExpression form(QStringLiteral("^(\\d+)\u00D7(\\d+)=(.*)$"));
    const auto m = form.match(entry);
    if (!m.hasMatch())
        return false;
    const auto price = readPrice(m.captured(3));
    if (!price)
        return false;
    prices.insert(sectionText(m.captured(1).toInt(), m.captured(2).toInt()), *price);
    return true;
}

} // namespace

std::optional<double> readPrice(const QString& text)
{
    if (withoutBlanks(text).isEmpty())
        return 0.0;
    const auto v = readPlainNumber(text);
    if (!v || *v > kMaxPrice)
        return std::nullopt;
    return v;
}

std::optional<ClassBounds> readBounds(const QStringList& texts)
{
    static const QRegularExpression whole(QStringLiteral("^\\d{1,4}$"));
    ClassBounds b{};
    if (texts.size() != static_cast<int>(b.size()))
        return std::nullopt;
    for (int i = 0; i < texts.size(); ++i) {
        const QString t = withoutBlanks(texts[i]);
        if (!whole.match(t).hasMatch())
            return std::nullopt;
        b[i] = t.toInt();
        if (i > 0 && b[i] <= b[i - 1])
            return std::nullopt;
    }
    return b;
}

std::optional<double> readStackFactor(const QString& text)
{
    const auto v = readPlainNumber(text);
    if (!v || *v <= 0.0 || *v > 1.0)
        return std::nullopt;
    return v;
}

QString FormatMoney(double value)
{
    return unitsText(roundedUnits(value, 2), 2);
}

QString sectionText(int width, int height)
{
    return QString::number(width) + kTimes + QString::number(height);
}

QString pricesText(const SummaryParams& p)
{
    QStringList items;
    for (double price : p.classPrices)
        items << plainMoney(price);
    for (auto it = p.sectionPrices.cbegin(); it != p.sectionPrices.cend(); ++it)
        items << it.key() + QLatin1Char('=') + plainMoney(it.value());
    return CommaText(items);
}

QString boundsText(const ClassBounds& b)
{
    QStringList items;
    for (int bound : b)
        items << QString::number(bound);
    return CommaText(items);
}

QString stackFactorText(double factor)
{
    return plainMoney(factor);
}

SummaryParams paramsFromStored(const QMap<QString, QString>& texts, QStringList& fellBack)
{
    SummaryParams p;
    if (texts.contains(kPricesValue)) {
        const QStringList items = SetCommaText(texts.value(kPricesValue));
        SummaryParams read;
        bool ok = items.size() >= kDiameterClasses;
        for (int i = 0; ok && i < items.size(); ++i) {
            if (i < kDiameterClasses) {
                const auto price = readPrice(items[i]);
                ok = price.has_value();
                read.classPrices[i] = price.value_or(0.0);
            } else {
                ok = readSectionPrice(items[i], read.sectionPrices);
            }
        }
        if (ok) {
            p.classPrices = read.classPrices;
            p.sectionPrices = read.sectionPrices;
        } else {
            fellBack << kPricesValue;
        }
    }
    if (texts.contains(kCurrencyValue))
        p.currency = texts.value(kCurrencyValue).trimmed();
    if (texts.contains(kClassBoundsValue)) {
        if (const auto b = readBounds(SetCommaText(texts.value(kClassBoundsValue))))
            p.bounds = *b;
        else
            fellBack << kClassBoundsValue;
    }
    if (texts.contains(kStackFactorValue)) {
        if (const auto f = readStackFactor(texts.value(kStackFactorValue)))
            p.stackFactor = *f;
        else
            fellBack << kStackFactorValue;
    }
    return p;
}

double LotSummary::share(const SummaryRow& row) const
{
    return volume > 0.0 ? row.volume / volume * 100.0 : 0.0;
}

double RuleTotal::value() const
{
    return static_cast<double>(units) / std::pow(10.0, tradeRuleDecimals(rule));
}

double LotSummary::differenceOf(double volume) const
{
    return volume - methods[static_cast<int>(method)].volume;
}

double LotSummary::percentOf(double difference) const
{
    const double base = methods[static_cast<int>(method)].volume;
    return base > 0.0 ? difference / base * 100.0 : 0.0;
}

double LotSummary::difference(int method) const
{
    return differenceOf(methods[method].volume);
}

double LotSummary::differencePercent(int method) const
{
    return percentOf(difference(method));
}

double LotSummary::ruleDifference(int rule) const
{
    return differenceOf(rules[rule].value());
}

double LotSummary::ruleDifferencePercent(int rule) const
{
    return percentOf(ruleDifference(rule));
}

namespace {

// A volume as the lists show it, in units of 0.0001 m3: what the summary
// adds up, so that its rows and totals are the sums of the figures a clerk
// reads off the list, to the last digit.
std::int64_t shownVolume(double m3)
{
    return shownUnits(m3, 4);
}

double fromUnits(std::int64_t units)
{
    return static_cast<double>(units) / 10000.0;
}

// The rows' volumes are sums of shown volumes (`units`, one per row); the
// total is their exact sum and each cost is the row's volume as printed
// times its price.
void finish(LotSummary& s, const SummaryParams& p, const std::vector<std::int64_t>& units)
{
    std::int64_t total = 0;
    for (int i = 0; i < s.rows.size(); ++i) {
        SummaryRow& row = s.rows[i];
        row.volume = fromUnits(units[static_cast<size_t>(i)]);
        row.cost = toCents(row.volume * row.price);
        s.cost += row.cost;
        s.count += row.count;
        total += units[static_cast<size_t>(i)];
    }
    s.volume = fromUnits(total);
    s.stacked = s.volume / p.stackFactor;
}

} // namespace

LotSummary summarizeRound(const Lines& lines, const ListContext& ctx, const SummaryParams& p)
{
    LotSummary s;
    s.method = ctx.method;
    s.rows.resize(kDiameterClasses);
    for (int c = 0; c < kDiameterClasses; ++c) {
        s.rows[c].cls = c;
        s.rows[c].price = p.classPrices[c];
    }
    for (int m = 0; m < 4; ++m)
        s.methods[m].method = static_cast<CalcMethod>(m);
    for (int r = 0; r < kTradeRules; ++r)
        s.rules[r].rule = static_cast<TradeRule>(r);
    const int inForce = static_cast<int>(ctx.method);
    std::array<std::int64_t, 4> methodUnits{};
    std::vector<std::int64_t> classUnits(kDiameterClasses, 0);
    std::map<int, std::pair<ChartBar, std::int64_t>> byDiameter;
    for (const ListLine& line : lines) {
        LineValues v;
        if (!roundLineValues(line, v)) {
            ++s.unreadLines;
            continue;
        }
        const int d = v.size;
        const int c = v.count;
        const double l = v.length;
        const auto ud = static_cast<std::uint32_t>(d);
        const auto uc = static_cast<std::uint32_t>(c);
        std::int64_t units = 0;
        for (int m = 0; m < 4; ++m) {
            // The taper in force serves the formula; the tables ignore it.
            bool fellBack = false;
            const std::int64_t v =
                shownVolume(roundLineVolume(ud, l, uc, static_cast<CalcMethod>(m), ctx.taper, fellBack));
            MethodTotal& t = s.methods[m];
            methodUnits[m] += v;
            if (fellBack) {
                ++t.linesOutside;
                t.logsOutside += c;
            }
            if (m == inForce)
                units = v;
        }
        for (RuleTotal& r : s.rules) {
            const std::int64_t value = tradeLineUnits(r.rule, d, l, c);
            r.units += value;
            r.logsAtZero += value == 0 ? c : 0;
        }
        const int cls = diameterClass(d, p.bounds);
        s.rows[cls].count += c;
        classUnits[static_cast<size_t>(cls)] += units;
        auto& [bar, barUnits] = byDiameter[d];
        bar.cls = cls;
        bar.count += c;
        barUnits += units;
    }
    for (int m = 0; m < 4; ++m)
        s.methods[m].volume = fromUnits(methodUnits[m]);
    s.bars.reserve(static_cast<int>(byDiameter.size()));
    for (auto& [d, entry] : byDiameter) {
        entry.first.label = QString::number(d);
        entry.first.volume = fromUnits(entry.second);
        s.bars.append(entry.first);
    }
    finish(s, p, classUnits);
    return s;
}

LotSummary summarizeBoards(const Lines& lines, const SummaryParams& p)
{
    LotSummary s;
    s.boards = true;
    std::map<std::pair<int, int>, std::pair<SummaryRow, std::int64_t>> bySection;
    for (const ListLine& line : lines) {
        LineValues v;
        if (!boardLineValues(line, v)) {
            ++s.unreadLines;
            continue;
        }
        auto& [row, units] = bySection[{v.size, v.height}];
        row.count += v.count;
        units += shownVolume(boardLineVolume(v.size, v.height, v.length, v.count));
    }
    std::vector<std::int64_t> units;
    units.reserve(bySection.size());
    for (auto& [key, entry] : bySection) {
        SummaryRow& row = entry.first;
        row.section = sectionText(key.first, key.second);
        row.price = p.sectionPrices.value(row.section, 0.0);
        s.rows.append(row);
        units.push_back(entry.second);
    }
    finish(s, p, units);
    for (const SummaryRow& row : s.rows)
        s.bars.append(ChartBar{row.section, -1, row.volume, row.count});
    return s;
}

} // namespace zel
