// Options, reading, computing and printing of the command-line calculator.
#include "lists/calcprogram.h"
#include "lists/listparser.h"
#include "lists/listwriter.h"

#include <QFile>
#include <QIODevice>

#include <cmath>

namespace zel {
namespace {

// Moisture percents in the order of their settings index.
const int kMoistures[] = {10, 15, 20, 25, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};

struct Options {
    ListKind kind = ListKind::Round;
    // The settings' start values: GOST 2708-75, 1.0 cm of taper, Scots pine, 70 %.
    ListContext ctx{CalcMethod::Gost2708, 1, UiLanguage::English, 4, 8};
    // A trade rule's value in place of the method's volume.
    std::optional<TradeRule> rule;
    QString format = QStringLiteral("table");
    QString file = QStringLiteral("-");
    bool help = false;
};

bool setMethod(Options& o, const QString& v)
{
    for (CalcMethod m : {CalcMethod::Gost2708, CalcMethod::Iso4480, CalcMethod::Formula, CalcMethod::Cylindered}) {
        if (v == methodWord(m)) {
            o.ctx.method = m;
            o.rule.reset();
            return true;
        }
    }
    for (int r = 0; r < kTradeRules; ++r) {
        if (v == tradeRuleWord(static_cast<TradeRule>(r))) {
            o.rule = static_cast<TradeRule>(r);
            return true;
        }
    }
    return false;
}

bool setTaper(Options& o, const QString& v)
{
    double cm = 0.0;
    if (!readDecimal(v, QLatin1Char('.'), &cm) && !readDecimal(v, QLatin1Char(','), &cm))
        return false;
    const double steps = cm * 2.0;
    if (steps != std::round(steps) || steps < 1.0 || steps > 8.0)
        return false;
    o.ctx.taper = static_cast<TaperStep>(steps - 1.0);
    return true;
}

bool setSpecies(Options& o, const QString& v)
{
    bool ok = false;
    const int n = v.toInt(&ok);
    if (!ok || n < 0 || n > 5)
        return false;
    o.ctx.species = static_cast<std::uint8_t>(n);
    return true;
}

bool setMoisture(Options& o, const QString& v)
{
    bool ok = false;
    const int percent = QString(v).remove(QLatin1Char('%')).toInt(&ok);
    for (int i = 0; ok && i < static_cast<int>(std::size(kMoistures)); ++i) {
        if (kMoistures[i] == percent) {
            o.ctx.moisture = static_cast<std::uint8_t>(i);
            return true;
        }
    }
    return false;
}

bool setLanguage(Options& o, const QString& v)
{
    const QStringList words{QStringLiteral("uk"), QStringLiteral("ru"), QStringLiteral("en")};
    const qsizetype i = words.indexOf(v);
    if (i < 0)
        return false;
    o.ctx.language = static_cast<UiLanguage>(i);
    return true;
}

bool setFormat(Options& o, const QString& v)
{
    if (v != QStringLiteral("table") && v != QStringLiteral("csv") && v != QStringLiteral("json"))
        return false;
    o.format = v;
    return true;
}

// The first argument that is wrong, or the empty text.
QString parseOptions(const QStringList& args, Options& o)
{
    using Setter = bool (*)(Options&, const QString&);
    const std::pair<const char*, Setter> valued[] = {
        {"--method", setMethod},     {"--taper", setTaper},       {"--species", setSpecies},
        {"--moisture", setMoisture}, {"--language", setLanguage}, {"--format", setFormat},
    };
    bool fileGiven = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QStringLiteral("--help") || a == QStringLiteral("-h")) {
            o.help = true;
            continue;
        }
        if (a == QStringLiteral("--boards")) {
            o.kind = ListKind::Board;
            continue;
        }
        if (a.startsWith(QStringLiteral("--"))) {
            const qsizetype eq = a.indexOf(QLatin1Char('='));
            const QString name = eq < 0 ? a : a.left(eq);
            Setter set = nullptr;
            for (const auto& [n, s] : valued) {
                if (name == QLatin1String(n))
                    set = s;
            }
            if (!set)
                return a;
            QString value;
            if (eq >= 0)
                value = a.mid(eq + 1);
            else if (i + 1 < args.size())
                value = args[++i];
            else
                return a;
            if (!set(o, value))
                return name + QLatin1Char(' ') + value;
            continue;
        }
        if (fileGiven || (a.startsWith(QLatin1Char('-')) && a != QStringLiteral("-")))
            return a;
        o.file = a;
        fileGiven = true;
    }
    return QString();
}

void write(QIODevice& device, const QString& text)
{
    device.write(text.toUtf8());
}

} // namespace

int runCalc(const QStringList& args, QIODevice& in, QIODevice& out, QIODevice& err)
{
    Options o;
    const QString wrong = parseOptions(args, o);
    const UiLanguage lang = o.ctx.language;
    if (!wrong.isEmpty()) {
        write(err, Lang(160, lang).arg(wrong) + QLatin1Char('\n') + Lang(159, lang));
        return kCalcUsageError;
    }
    if (o.help) {
        write(out, Lang(159, lang) + Lang(kTxtRulesUsage, lang));
        return kCalcAllUsed;
    }

    QByteArray bytes;
    if (o.file == QStringLiteral("-")) {
        bytes = in.readAll();
    } else {
        QFile file(o.file);
        if (!file.open(QIODevice::ReadOnly)) {
            write(err, Lang(156, lang).arg(o.file + QStringLiteral(": ") + file.errorString()) + QLatin1Char('\n'));
            return kCalcUsageError;
        }
        if (file.size() > ListParser::kMaxFileSize) {
            write(err, Lang(154, lang) + QLatin1Char('\n'));
            return kCalcUsageError;
        }
        bytes = file.readAll();
    }
    const ParsedList parsed = ListParser(o.kind).parseFile(bytes);
    if (parsed.failure != ParsedList::None) {
        write(err, describeFailure(parsed, lang) + QLatin1Char('\n'));
        return kCalcUsageError;
    }
    if (!parsed.skipped.isEmpty()) {
        write(err, describeSkipped(parsed.skipped, o.kind, lang, static_cast<int>(parsed.skipped.size()),
                                   QStringLiteral("\n"))
                       + QLatin1Char('\n'));
    }
    const QString unread = describeUnreadCount(parsed, o.kind, lang);
    if (!unread.isEmpty())
        write(err, unread + QLatin1Char('\n'));

    Lines lines;
    ListEntries entries(lines, o.kind);
    for (const ParsedRow& row : parsed.rows)
        entries.add(row.values);
    if (o.kind == ListKind::Round)
        ReFreshRoundLines(lines, o.ctx);
    else
        ReFreshBoardLines(lines, o.ctx);
    // Boards have no rule of their own: a board list is written as it is.
    const std::optional<TradeRule> rule = o.kind == ListKind::Round ? o.rule : std::nullopt;
    if (rule)
        lines = tradeRuleLines(lines, *rule, lang);
    const PrintedTotals totals = printedTotals(lines, o.kind, o.ctx, rule ? tradeRuleDecimals(*rule) : 4);
    if (o.format == QStringLiteral("csv"))
        out.write(listCsv(lines, o.kind, lang, rule));
    else if (o.format == QStringLiteral("json"))
        out.write(listJson(lines, totals, o.kind, o.ctx.method, rule));
    else
        write(out, listPlainText(lines, totals, o.kind, o.ctx.method, lang, rule));
    return parsed.skipped.isEmpty() && unread.isEmpty() ? kCalcAllUsed : kCalcSomeSkipped;
}

} // namespace zel
