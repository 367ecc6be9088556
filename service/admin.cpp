// The command line of zelmora-service.
#include "service/admin.h"
#include "shell/commatext.h"
#include "service/servicestore.h"
#include "service/signing.h"

#include <QDateTime>
#include <QMap>

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <utility>

#include <arpa/inet.h>

namespace zel::service {
namespace {

const char* const kUsage =
    "Usage: zelmora-service COMMAND [ARGUMENTS] (--db FILE | --pg CONNINFO)\n"
    "\n"
    "Commands:\n"
    "  serve --listen ADDR:PORT --files DIR   answer the program's requests (port 0: any free\n"
    "                                         port, named on standard error); DIR holds\n"
    "                                         updates.ini and the update files (/updates/)\n"
    "    [--logs-per-hour N] [--replies-per-hour N] [--ids-per-hour N]\n"
    "                                         allowances per address and per ID (60, 60,\n"
    "                                         30; 0: no limit); past them: 429\n"
    "    [--metrics-listen 127.0.0.1:PORT]    answer /metrics there (a loopback address only)\n"
    "    [--trusted-proxy ADDR]               take the client's address from X-Forwarded-For\n"
    "                                         on connections from ADDR\n"
    "    [--connections-per-address N]        open connections one address may hold\n"
    "                                         (default 64; 0: no limit)\n"
    "  post ID TEXT                           queue a message for one user ID\n"
    "  post --all TEXT                        queue a message for every issued ID\n"
    "  inbox [--limit N] [--since DATE]       replies and feedback, newest first\n"
    "  logs [--limit N] [--since DATE]        uploaded logs, newest first\n"
    "  stats                                  IDs issued, update checks, downloads\n"
    "  purge --older-than DAYS                delete replies, logs and delivered messages\n"
    "                                         older than DAYS days\n"
    "  keygen SECRETFILE                      write a new signing key (mode 0600) and\n"
    "                                         print its public key (base64)\n"
    "  publish FILE --version N --key SECRETFILE --files DIR --base-url URL\n"
    "          [--force] [--no-check]         copy, sign and announce an update; N is\n"
    "                                         higher than the version announced (unless\n"
    "                                         --force); the file is fetched from URL/FILE\n"
    "                                         before it is announced (unless --no-check)\n"
    "\n"
    "Storage: --db FILE is a SQLite file (created when missing); --pg CONNINFO a\n"
    "PostgreSQL connection string such as \"host=/run/postgresql dbname=zelmora\".\n"
    "Lines of a message TEXT are separated by line breaks. DATE is local time,\n"
    "YYYY-MM-DD or YYYY-MM-DDTHH:MM[:SS].\n"
    "Exit status: 0 success, 1 failure, 2 usage error.\n";

// Options that take a value, and those that do not.
const QStringList kValued = {QStringLiteral("--db"), QStringLiteral("--pg"), QStringLiteral("--listen"),
                             QStringLiteral("--files"), QStringLiteral("--version"), QStringLiteral("--key"),
                             QStringLiteral("--base-url"), QStringLiteral("--limit"), QStringLiteral("--since"),
                             QStringLiteral("--older-than"), QStringLiteral("--logs-per-hour"),
                             QStringLiteral("--replies-per-hour"), QStringLiteral("--ids-per-hour"),
                             QStringLiteral("--metrics-listen"), QStringLiteral("--trusted-proxy"),
                             QStringLiteral("--connections-per-address")};
const QStringList kFlags = {QStringLiteral("--all"), QStringLiteral("--help"), QStringLiteral("-h"),
                            QStringLiteral("--force"), QStringLiteral("--no-check")};

struct Parsed {
    QString command;
    QStringList positional;
    QMap<QString, QString> options;
    QStringList flags;
    QString error;
};

Parsed parse(const QStringList& args)
{
    Parsed p;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (kValued.contains(a)) {
            if (i + 1 >= args.size()) {
                p.error = a + QStringLiteral(" needs a value");
                return p;
            }
            p.options.insert(a, args[++i]);
        } else if (kFlags.contains(a)) {
            p.flags << a;
        } else if (a.startsWith(QLatin1String("--")) && a != QLatin1String("--")) {
            p.error = QStringLiteral("unknown option ") + a;
            return p;
        } else if (p.command.isEmpty()) {
            p.command = a;
        } else {
            p.positional << a;
        }
    }
    return p;
}

QString localTime(const QDateTime& at)
{
    return at.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// The items of a comma text, one indented line each. Made visible first,
// so that nothing is cut at a NUL nor split at a bare line end.
void printItems(QTextStream& out, const QString& commaText)
{
    for (const QString& line : SetCommaText(visible(commaText)))
        out << "  " << line << '\n';
}

// A count option: digits only, within [low, high]; nothing otherwise.
std::optional<qint64> countOption(const QString& text, qint64 low, qint64 high)
{
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (!ok || text.isEmpty() || !text.at(0).isDigit() || n < low || n > high)
        return std::nullopt;
    return n;
}

// A local date, or date and time, as --since takes it.
QDateTime localMoment(const QString& text)
{
    const QDate day = QDate::fromString(text, Qt::ISODate);
    if (day.isValid())
        return day.startOfDay();
    QDateTime at = QDateTime::fromString(text, Qt::ISODate);
    if (at.isValid() && at.timeSpec() == Qt::LocalTime)
        return at;
    return QDateTime();
}

// ADDR:PORT into its parts; false when it is not that.
bool hostAndPort(const QString& text, QString* host, int* port)
{
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    bool ok = false;
    *port = colon < 0 ? 0 : text.mid(colon + 1).toInt(&ok);
    *host = text.left(colon);
    if (host->startsWith(QLatin1Char('[')) && host->endsWith(QLatin1Char(']')))
        *host = host->mid(1, host->size() - 2);
    return ok && *port >= 0 && *port <= 65535 && !host->isEmpty();
}

// Whether `host` is a numeric IP address; `loopback` tells whether it is
// one that only this machine reaches (127.0.0.0/8, ::1).
bool isAddress(const QString& host, bool* loopback = nullptr)
{
    const QByteArray h = host.toLatin1();
    in_addr v4{};
    in6_addr v6{};
    bool local = false;
    if (inet_pton(AF_INET, h.constData(), &v4) == 1)
        local = (ntohl(v4.s_addr) >> 24) == 127;
    else if (inet_pton(AF_INET6, h.constData(), &v6) == 1)
        local = IN6_IS_ADDR_LOOPBACK(&v6);
    else
        return false;
    if (loopback != nullptr)
        *loopback = local;
    return true;
}

int usage(QTextStream& err, const QString& why)
{
    err << "zelmora-service: " << why << "\n\n" << kUsage;
    return kExitUsage;
}

// Shown as it is in a listing: neither a control character nor an invisible one.
bool shownAsItIs(QChar c)
{
    if (c.unicode() >= 0x20 && c.unicode() < 0x7f)
        return true;
    const QChar::Category cat = c.category();
    return cat != QChar::Other_Control && cat != QChar::Other_Format && cat != QChar::Separator_Line
        && cat != QChar::Separator_Paragraph;
}

} // namespace

QString visible(const QString& text)
{
    // Logs run to hundreds of megabytes: most of their text goes as it is.
    const auto first = std::find_if_not(text.begin(), text.end(), shownAsItIs);
    if (first == text.end())
        return text;
    QString out(text.begin(), first - text.begin());
    for (auto it = first; it != text.end(); ++it) {
        const QChar c = *it;
        if (shownAsItIs(c))
            out += c;
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (c.unicode() < 0x100)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return out;
}

int runCommand(const QStringList& args, QTextStream& out, QTextStream& err, const ServeFunction& serve)
{
    const Parsed p = parse(args);
    if (p.flags.contains(QStringLiteral("--help")) || p.flags.contains(QStringLiteral("-h"))
        || p.command == QLatin1String("help")) {
        out << kUsage;
        return kExitOk;
    }
    if (!p.error.isEmpty())
        return usage(err, p.error);
    if (p.command.isEmpty())
        return usage(err, QStringLiteral("no command"));
    const auto arity = [&](int n) { return p.positional.size() == n; };

    if (p.command == QLatin1String("keygen")) {
        if (!arity(1))
            return usage(err, QStringLiteral("keygen takes one SECRETFILE"));
        QString error;
        const QString publicKey = generateKey(p.positional[0], &error);
        if (publicKey.isEmpty()) {
            err << "zelmora-service: " << error << '\n';
            return kExitFailure;
        }
        out << publicKey << '\n';
        return kExitOk;
    }
    if (p.command == QLatin1String("publish")) {
        PublishRequest r{arity(1) ? p.positional[0] : QString(), p.options.value(QStringLiteral("--version")),
                         p.options.value(QStringLiteral("--key")), p.options.value(QStringLiteral("--files")),
                         p.options.value(QStringLiteral("--base-url")), p.flags.contains(QStringLiteral("--force")),
                         !p.flags.contains(QStringLiteral("--no-check"))};
        if (!arity(1) || r.secretFile.isEmpty() || r.filesDir.isEmpty() || r.baseUrl.isEmpty())
            return usage(err, QStringLiteral("publish takes FILE --version N --key SECRETFILE --files DIR --base-url URL"));
        // The program reads the version as a signed 32-bit number.
        const std::optional<QString> version = publishableVersion(r.version);
        if (!version)
            return usage(err, QStringLiteral("--version takes digits, 1 to 2147483647"));
        r.version = *version;
        QString error;
        if (!publishUpdate(r, &error)) {
            err << "zelmora-service: " << error << '\n';
            return kExitFailure;
        }
        out << "published version " << r.version << '\n';
        return kExitOk;
    }

    static const QStringList storageCommands = {QStringLiteral("serve"), QStringLiteral("post"),
                                                QStringLiteral("inbox"), QStringLiteral("logs"),
                                                QStringLiteral("stats"), QStringLiteral("purge")};
    if (!storageCommands.contains(p.command))
        return usage(err, QStringLiteral("unknown command ") + p.command);
    const StoreLocation where{p.options.value(QStringLiteral("--db")), p.options.value(QStringLiteral("--pg"))};
    if (where.sqliteFile.isEmpty() == where.pgConninfo.isEmpty())
        return usage(err, QStringLiteral("give either --db FILE or --pg CONNINFO"));

    // Check the arguments before the storage is touched.
    ServeOptions serveOptions;
    std::int32_t postId = 0;
    const bool all = p.flags.contains(QStringLiteral("--all"));
    if (p.command == QLatin1String("serve")) {
        const bool ok = hostAndPort(p.options.value(QStringLiteral("--listen")), &serveOptions.host, &serveOptions.port);
        serveOptions.filesDir = p.options.value(QStringLiteral("--files"));
        if (!arity(0) || !ok || serveOptions.filesDir.isEmpty())
            return usage(err, QStringLiteral("serve takes --listen ADDR:PORT --files DIR"));
        bool loopback = false;
        if (p.options.contains(QStringLiteral("--metrics-listen"))
            && (!hostAndPort(p.options.value(QStringLiteral("--metrics-listen")), &serveOptions.metricsHost,
                             &serveOptions.metricsPort)
                || !isAddress(serveOptions.metricsHost, &loopback) || !loopback))
            return usage(err, QStringLiteral("--metrics-listen takes a loopback ADDR:PORT"));
        serveOptions.trustedProxy = p.options.value(QStringLiteral("--trusted-proxy"));
        if (p.options.contains(QStringLiteral("--trusted-proxy")) && !isAddress(serveOptions.trustedProxy))
            return usage(err, QStringLiteral("--trusted-proxy takes an IP address"));
        bool perAddress = true;
        if (p.options.contains(QStringLiteral("--connections-per-address")))
            serveOptions.connectionsPerAddress =
                p.options.value(QStringLiteral("--connections-per-address")).toInt(&perAddress);
        if (!perAddress || serveOptions.connectionsPerAddress < 0)
            return usage(err, QStringLiteral("--connections-per-address takes a whole number"));
    } else if (p.command == QLatin1String("post")) {
        bool ok = all;
        if (!all && arity(2))
            postId = p.positional[0].toInt(&ok);
        if (!ok || postId < 0 || !arity(all ? 1 : 2) || p.positional.last().isEmpty())
            return usage(err, QStringLiteral("post takes ID TEXT or --all TEXT"));
    } else if (!arity(0) || all) {
        return usage(err, p.command + QStringLiteral(" takes no arguments"));
    }
    const auto option = [&](const char* name) { return p.options.value(QLatin1String(name)); };
    ListingRange range;
    std::optional<qint64> purgeDays;
    if (p.command == QLatin1String("serve")) {
        Limits& l = serveOptions.limits;
        for (auto [name, value] : {std::pair{"--logs-per-hour", &l.logsPerHour},
                                   std::pair{"--replies-per-hour", &l.repliesPerHour},
                                   std::pair{"--ids-per-hour", &l.idsPerHour}}) {
            if (!p.options.contains(QLatin1String(name)))
                continue;
            const std::optional<qint64> n = countOption(option(name), 0, 1000000000);
            if (!n)
                return usage(err, QLatin1String(name) + QStringLiteral(" takes a count, 0 for no limit"));
            *value = int(*n);
        }
    } else if (p.command == QLatin1String("inbox") || p.command == QLatin1String("logs")) {
        if (p.options.contains(QStringLiteral("--limit"))) {
            const std::optional<qint64> n = countOption(option("--limit"), 1, std::numeric_limits<qint64>::max());
            if (!n)
                return usage(err, QStringLiteral("--limit takes a count of 1 or more"));
            range.limit = *n;
        }
        if (p.options.contains(QStringLiteral("--since"))) {
            range.since = localMoment(option("--since"));
            if (!range.since.isValid())
                return usage(err, QStringLiteral("--since takes YYYY-MM-DD or YYYY-MM-DDTHH:MM[:SS]"));
        }
    } else if (p.command == QLatin1String("purge")) {
        purgeDays = countOption(option("--older-than"), 1, 100000);
        if (!purgeDays)
            return usage(err, QStringLiteral("purge takes --older-than DAYS (1 or more)"));
    }

    try {
        ServiceStore store(where, p.command == QLatin1String("serve"));
        const QDateTime now = QDateTime::currentDateTimeUtc();
        if (p.command == QLatin1String("serve"))
            return serve(store, serveOptions, err);
        if (p.command == QLatin1String("post")) {
            if (all) {
                out << "queued for " << store.queueMessageForAll(p.positional.last(), now) << " IDs\n";
                return kExitOk;
            }
            if (!store.idIssued(postId)) {
                err << "zelmora-service: no ID " << postId << " has been issued\n";
                return kExitFailure;
            }
            store.queueMessage(postId, p.positional.last(), now);
            out << "queued for " << postId << '\n';
            return kExitOk;
        }
        if (p.command == QLatin1String("inbox")) {
            store.inbox(range, [&out](const Feedback& f) {
                out << localTime(f.received) << "  ID " << f.id << "  from " << visible(f.remote) << '\n'
                    << "  Theme: " << visible(f.theme) << '\n' << "  E-mail: " << visible(f.email) << '\n';
                printItems(out, f.message);
                out << '\n';
            });
            return kExitOk;
        }
        if (p.command == QLatin1String("logs")) {
            store.logs(range, [&out](const UploadedLog& l) {
                out << localTime(l.received) << "  from " << visible(l.remote) << '\n';
                printItems(out, l.text);
                out << '\n';
            });
            return kExitOk;
        }
        if (purgeDays) {
            const Purged gone = store.purge(now.addDays(-*purgeDays));
            out << "purged " << gone.replies << " replies, " << gone.logs << " logs, " << gone.messages
                << " delivered messages\n";
            return kExitOk;
        }
        const Stats s = store.stats();
        out << "IDs issued: " << s.ids << '\n' << "Update checks: " << s.checks << '\n'
            << "Downloads: " << s.downloads << '\n';
        return kExitOk;
    } catch (const StoreError& e) {
        err << "zelmora-service: storage: " << e.what() << '\n';
        return kExitFailure;
    }
}

} // namespace zel::service
