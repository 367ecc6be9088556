// The command line of zelmora-service.
#include "service/admin.h"
#include "online/commatext.h"
#include "service/servicestore.h"
#include "service/signing.h"

#include <QDateTime>
#include <QMap>

#include <arpa/inet.h>

#include <memory>
#include <optional>

namespace zel::service {
namespace {

const char* const kUsage =
    "Usage: zelmora-service COMMAND [ARGUMENTS] (--db FILE | --pg CONNINFO)\n"
    "\n"
    "Commands:\n"
    "  serve --listen ADDR:PORT --files DIR   answer the program's requests (port 0: any free\n"
    "                                         port, named on standard error); DIR holds\n"
    "                                         updates.ini and the update files (/updates/)\n"
    "    [--metrics-listen 127.0.0.1:PORT]    answer /metrics there (a loopback address only)\n"
    "    [--trusted-proxy ADDR]               take the client's address from X-Forwarded-For\n"
    "                                         on connections from ADDR\n"
    "    [--connections-per-address N]        open connections one address may hold\n"
    "                                         (default 64; 0: no limit)\n"
    "  post ID TEXT                           queue a message for one user ID\n"
    "  post --all TEXT                        queue a message for every issued ID\n"
    "  inbox                                  replies and feedback, newest first\n"
    "  logs                                   uploaded logs, newest first\n"
    "  stats                                  IDs issued, update checks, downloads\n"
    "  keygen SECRETFILE                      write a new signing key (mode 0600) and\n"
    "                                         print its public key (base64)\n"
    "  publish FILE --version N --key SECRETFILE --files DIR --base-url URL\n"
    "                                         copy, sign and announce an update\n"
    "\n"
    "Storage: --db FILE is a SQLite file (created when missing); --pg CONNINFO a\n"
    "PostgreSQL connection string such as \"host=/run/postgresql dbname=zelmora\".\n"
    "Lines of a message TEXT are separated by line breaks.\n"
    "Exit status: 0 success, 1 failure, 2 usage error.\n";

// Options that take a value, and those that do not.
const QStringList kValued = {QStringLiteral("--db"), QStringLiteral("--pg"), QStringLiteral("--listen"),
                             QStringLiteral("--files"), QStringLiteral("--version"), QStringLiteral("--key"),
                             QStringLiteral("--base-url"), QStringLiteral("--metrics-listen"),
                             QStringLiteral("--trusted-proxy"), QStringLiteral("--connections-per-address")};
const QStringList kFlags = {QStringLiteral("--all"), QStringLiteral("--help"), QStringLiteral("-h")};

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

// The items of a comma text, one indented line each.
void printItems(QTextStream& out, const QString& commaText)
{
    for (const QString& line : SetCommaText(commaText))
        out << "  " << line << '\n';
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

} // namespace

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
                         p.options.value(QStringLiteral("--base-url"))};
        if (!arity(1) || r.secretFile.isEmpty() || r.filesDir.isEmpty() || r.baseUrl.isEmpty())
            return usage(err, QStringLiteral("publish takes FILE --version N --key SECRETFILE --files DIR --base-url URL"));
        bool number = false;
        r.version.toLongLong(&number);
        if (!number || r.version.trimmed() != r.version)
            return usage(err, QStringLiteral("--version takes a whole number"));
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
                                                QStringLiteral("stats")};
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

    try {
        ServiceStore store(where);
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
            for (const Feedback& f : store.inbox()) {
                out << localTime(f.received) << "  ID " << f.id << "  from " << f.remote << '\n'
                    << "  Theme: " << f.theme << '\n' << "  E-mail: " << f.email << '\n';
                printItems(out, f.message);
                out << '\n';
            }
            return kExitOk;
        }
        if (p.command == QLatin1String("logs")) {
            for (const UploadedLog& l : store.logs()) {
                out << localTime(l.received) << "  from " << l.remote << '\n';
                printItems(out, l.text);
                out << '\n';
            }
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
