// zelmora-service: the maker's service for the Zelmora program, and its
// administration.
#include "service/admin.h"
#include "service/httpfront.h"
#include "service/requests.h"
#include "service/servicestore.h"

#include <QCoreApplication>

#include <csignal>
#include <pthread.h>

using namespace zel::service;

namespace {

sigset_t stopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    return set;
}

// Answers until SIGTERM or SIGINT, then ends within 10 s, finishing the
// answers under way.
int serve(ServiceStore& store, const ServeOptions& options, QTextStream& err)
{
    RequestHandler handler(store, options.filesDir, options.limits);
    HttpFront front(handler, store, options);
    QString error;
    if (!front.start(&error)) {
        err << "zelmora-service: " << error << Qt::endl;
        return kExitFailure;
    }
    err << "zelmora-service: listening on " << options.host << ':' << front.port() << Qt::endl;
    if (options.metricsPort >= 0)
        err << "zelmora-service: metrics on " << options.metricsHost << ':' << front.metricsPort() << Qt::endl;
    const sigset_t stop = stopSignals();
    int signal = 0;
    sigwait(&stop, &signal);
    front.stop();
    return kExitOk;
}

} // namespace

int main(int argc, char* argv[])
{
    // Blocked in every thread; serve() takes them with sigwait.
    const sigset_t stop = stopSignals();
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = runCommand(args, out, err, serve);
    out.flush();
    err.flush();
    return status;
}
