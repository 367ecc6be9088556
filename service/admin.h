// The command line of zelmora-service: serve, post, inbox, logs, stats,
// keygen, publish.
#pragma once

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

// Runs one command (`args` without the program name); the exit status.
int runCommand(const QStringList& args, QTextStream& out, QTextStream& err, const ServeFunction& serve);

} // namespace zel::service
