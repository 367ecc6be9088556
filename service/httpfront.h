// The HTTP front of zelmora-service: GNU libmicrohttpd on epoll with the
// limits a public port needs, the access log and the local metrics address.
#pragma once

#include <QString>

#include <memory>

namespace zel::service {

class RequestHandler;
class ServiceStore;
struct ServeOptions;

// A text for the access log: the path with the query's keys but none of its
// values (they hold the users' texts), control and non-ASCII bytes as \xHH.
QByteArray loggedTarget(const QByteArray& target);

class HttpFront {
public:
    HttpFront(RequestHandler& handler, ServiceStore& store, const ServeOptions& options);
    ~HttpFront();
    HttpFront(const HttpFront&) = delete;
    HttpFront& operator=(const HttpFront&) = delete;

    // Listens on the service's address (and the metrics address, when one is
    // given); false with `error` set when one cannot be bound.
    bool start(QString* error);
    // The ports bound (the metrics port is 0 when there is none).
    int port() const;
    int metricsPort() const;
    // Takes no more connections, closes those waiting for a request, lets
    // the answers under way finish and ends within 10 s in all.
    void stop();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace zel::service
