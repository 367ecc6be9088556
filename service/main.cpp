// zelmora-service: the maker's service for the Zelmora program, and its
// administration.
#include "service/admin.h"
#include "service/requests.h"
#include "service/servicestore.h"

#include <QCoreApplication>

#include <httplib.h>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <thread>

using namespace zel::service;

namespace {

// Enough workers that a few stalled or idle keep-alive connections never
// hold up the rest; each of them is let go after the time-outs below. A
// connection waiting for its next request holds a worker too: the program
// polls every 30 s, so it is given up after a second.
constexpr size_t kWorkers = 128;
constexpr time_t kTimeoutSeconds = 5;
constexpr time_t kKeepAliveSeconds = 1;
// The program sends everything in the address; a body is never needed.
constexpr size_t kMaxBody = 64 * 1024;

int serve(ServiceStore& store, const ServeOptions& options, QTextStream& err)
{
    RequestHandler handler(store, options.filesDir, options.limits);
    httplib::Server server;
    server.new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
    server.set_read_timeout(kTimeoutSeconds, 0);
    server.set_write_timeout(kTimeoutSeconds, 0);
    server.set_keep_alive_timeout(kKeepAliveSeconds);
    server.set_keep_alive_max_count(1000);
    server.set_payload_max_length(kMaxBody);
    // Headers and body leave in separate writes: without TCP_NODELAY (which
    // accepted sockets inherit from this one) each answer would wait for the
    // client's delayed acknowledgement, some 40 ms.
    server.set_socket_options([](socket_t sock) {
        const int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    });
    const auto answer = [&handler](const httplib::Request& req, httplib::Response& res) {
        const ServiceAnswer a = handler.answer({QByteArray::fromStdString(req.method),
                                                QByteArray::fromStdString(req.target),
                                                QString::fromStdString(req.remote_addr)});
        res.status = a.status;
        if (a.delivered) {
            // The releaser learns whether the whole body went out (never for a HEAD).
            res.set_content_provider(size_t(a.body.size()), a.contentType.constData(),
                                     [body = a.body](size_t offset, size_t length, httplib::DataSink& sink) {
                                         return sink.write(body.constData() + offset, length);
                                     },
                                     [delivered = a.delivered](bool success) {
                                         if (success)
                                             delivered();
                                     });
            return;
        }
        if (!a.file) {
            res.set_content(a.body.constData(), size_t(a.body.size()), a.contentType.constData());
            return;
        }
        // A program file is streamed, not held in memory once per download.
        res.set_content_provider(size_t(a.file->size()), a.contentType.constData(),
                                 [file = a.file](size_t offset, size_t length, httplib::DataSink& sink) {
                                     if (!file->seek(qint64(offset)))
                                         return false;
                                     const QByteArray chunk = file->read(qint64(std::min<size_t>(length, 65536)));
                                     return !chunk.isEmpty() && sink.write(chunk.constData(), size_t(chunk.size()));
                                 });
    };
    server.Get(".*", answer);
    // A GET is served without reading a body; one that announces a body
    // larger than any request of the program is refused all the same.
    server.set_pre_routing_handler([](const httplib::Request& req, httplib::Response& res) {
        const std::string length = req.get_header_value("Content-Length");
        if (!length.empty() && (length.size() > 18 || std::strtoull(length.c_str(), nullptr, 10) > kMaxBody)) {
            res.status = 413;
            res.set_content("Payload Too Large", "text/html");
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr ep) {
        QByteArray why = "unknown";
        try {
            std::rethrow_exception(ep);
        } catch (const std::exception& e) {
            why = e.what();
        } catch (...) {
        }
        std::fprintf(stderr, "zelmora-service: request failed: %s\n", why.constData());
        res.status = 500;
        res.set_content("Internal Server Error", "text/html");
    });

    int port = options.port;
    const std::string host = options.host.toStdString();
    const bool bound = port == 0 ? (port = server.bind_to_any_port(host)) > 0 : server.bind_to_port(host, port);
    if (!bound) {
        err << "zelmora-service: cannot listen on " << options.host << ':' << options.port << '\n';
        return kExitFailure;
    }
    err << "zelmora-service: listening on " << options.host << ':' << port << Qt::endl;

    // SIGTERM and SIGINT end the service after the requests in progress.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    std::thread stopper([&server, stopSignals] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        if (signal != SIGUSR1)
            server.stop();
    });
    const bool ok = server.listen_after_bind();
    // Wake the waiting thread when the server ended on its own.
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    return ok ? kExitOk : kExitFailure;
}

} // namespace

int main(int argc, char* argv[])
{
    // Blocked in every thread; the stop thread takes them with sigwait.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
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
