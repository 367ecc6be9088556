// The lot summary's arithmetic and its stored texts.
#include "summary/lotsummary.h"
#include "engine/errors.h"
#include "lists/numbertext.h"
#include "online/commatext.h"
#include "shell/settingsio.h"

#include <QRegularExpression>

#include <cmath>
#include <map>
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
    const long long cents = roundedUnits(value, 2);
    const QString digits = QString::number(cents < 0 ? -cents : cents).rightJustified(3, QLatin1Char('0'));
    const int intLen = digits.size() - 2;
    QString out;
    out.reserve(digits.size() + digits.size() / 3 + 2);
    if (cents < 0)
        out += QLatin1Char('-');
    for (int i = 0; i < intLen; ++i) {
        if (i > 0 && (intLen - i) % 3 == 0)
            out += kGroupSeparator;
        out += digits[i];
    }
    out += QLatin1Char(',');
    out += QStringView(digits).right(2);
    return out;
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

double LotSummary::difference(int method) const
{
    return methods[method].volume - methods[static_cast<int>(this->method)].volume;
}

double LotSummary::differencePercent(int method) const
{
    const double base = methods[static_cast<int>(this->method)].volume;
    return base > 0.0 ? difference(method) / base * 100.0 : 0.0;
}

namespace {

void finish(LotSummary& s, const SummaryParams& p)
{
    for (SummaryRow& row : s.rows) {
        row.cost = toCents(row.volume * row.price);
        s.cost += row.cost;
        s.count += row.count;
        s.volume += row.volume;
    }
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
    const int inForce = static_cast<int>(ctx.method);
    std::map<int, ChartBar> byDiameter;
    for (const ListLine& line : lines) {
        int d = 0;
        int c = 0;
        double l = 0.0;
        try {
            d = readListInteger(line.cells.value(0));
            l = readListNumber(line.cells.value(1));
            c = readListInteger(line.cells.value(2));
        } catch (const ConvertError&) {
            ++s.unreadLines;
            continue;
        }
        const auto ud = static_cast<std::uint32_t>(d);
        const auto uc = static_cast<std::uint32_t>(c);
        double volume = 0.0;
        for (int m = 0; m < 4; ++m) {
            // The taper in force serves the formula; the tables ignore it.
            bool fellBack = false;
            const double v = roundLineVolume(ud, l, uc, static_cast<CalcMethod>(m), ctx.taper, fellBack);
            MethodTotal& t = s.methods[m];
            t.volume += v;
            if (fellBack) {
                ++t.linesOutside;
                t.logsOutside += c;
            }
            if (m == inForce)
                volume = v;
        }
        const int cls = diameterClass(d, p.bounds);
        s.rows[cls].count += c;
        s.rows[cls].volume += volume;
        ChartBar& bar = byDiameter[d];
        bar.cls = cls;
        bar.volume += volume;
        bar.count += c;
    }
    s.bars.reserve(static_cast<int>(byDiameter.size()));
    for (auto& [d, bar] : byDiameter) {
        bar.label = QString::number(d);
        s.bars.append(bar);
    }
    finish(s, p);
    return s;
}

LotSummary summarizeBoards(const Lines& lines, const SummaryParams& p)
{
    LotSummary s;
    s.boards = true;
    std::map<std::pair<int, int>, SummaryRow> bySection;
    for (const ListLine& line : lines) {
        int x = 0, y = 0, c = 0;
        double len = 0.0;
        try {
            x = readListInteger(line.cells.value(0));
            y = readListInteger(line.cells.value(1));
            len = readListNumber(line.cells.value(2));
            c = readListInteger(line.cells.value(3));
        } catch (const ConvertError&) {
            ++s.unreadLines;
            continue;
        }
        SummaryRow& row = bySection[{x, y}];
        row.count += c;
        row.volume += boardLineVolume(x, y, len, c);
    }
    for (auto& [key, row] : bySection) {
        row.section = sectionText(key.first, key.second);
        row.price = p.sectionPrices.value(row.section, 0.0);
        s.rows.append(row);
    }
    finish(s, p);
    for (const SummaryRow& row : s.rows)
        s.bars.append(ChartBar{row.section, -1, row.volume, row.count});
    return s;
}

} // namespace zel
