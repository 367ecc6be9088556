// The command line of zelmora-service: serve, post, inbox, logs, stats,
// purge, keygen, publish.
#pragma once

#include "service/ratelimit.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

namespace zel::service {

class ServiceStore;

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

struct ServeOptions {
    QString host;
    int port = 0;
    QString filesDir;
    Limits limits;
    // A second address, on the loopback only, that answers /metrics; no
    // port: none.
    QString metricsHost;
    int metricsPort = -1;
    // Requests that come from this address take the client's address from
    // the last entry of X-Forwarded-For.
    QString trustedProxy;
    // Connections one client address may hold open at once; 0: no limit.
    int connectionsPerAddress = 64;
};

// Answers requests until the process is told to stop; the exit status.
using ServeFunction = std::function<int(ServiceStore&, const ServeOptions&, QTextStream& err)>;

// A user's text as one line of a listing: control characters (ESC, CR, line
// feeds, NUL, ...) and the invisible ones that reorder a line shown as
// escapes ("\x1b", "\r"), so that nobody's text moves the maker's cursor,
// clears the terminal or forges a line of its own.
QString visible(const QString& text);

// Runs one command (`args` without the program name); the exit status.
int runCommand(const QStringList& args, QTextStream& out, QTextStream& err, const ServeFunction& serve);

} // namespace zel::service
