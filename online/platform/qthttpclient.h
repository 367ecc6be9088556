// HTTP access through Qt Network, on a network thread of its own.
#pragma once

#include "online/httpaccess.h"

#include <QString>

#include <memory>
#include <mutex>

class QThread;

namespace zel {

// Time-outs of our own, so that a silent server cannot hold a request forever.
struct HttpTimeouts {
    // No byte moving for this long ends a request (connecting included).
    int idleMs = 15000;
    // A service request ends after this long whatever it is doing.
    int totalMs = 60000;
    // The same two for downloads of the update.
    int downloadIdleMs = 30000;
    int downloadTotalMs = 15 * 60000;
};

// One network thread with two managers: the service client (its headers and
// its cookies for the run) and the download of update files (no cookies of
// the service's). A request made on the UI thread runs a local event loop
// while it waits, so the windows keep painting and their timers keep firing;
// a request made on any other thread simply blocks that thread.
class QtHttpClient : public IHttpClient, public IDownloader {
public:
    explicit QtHttpClient(HttpTimeouts timeouts = HttpTimeouts());
    ~QtHttpClient() override;
    QtHttpClient(const QtHttpClient&) = delete;
    QtHttpClient& operator=(const QtHttpClient&) = delete;

    QString get(const QString& url) override;
    void shutDown() override;
    bool download(const QString& url, const QString& file) override;

    struct Pending;
    struct Waiting;
    class Engine;

private:
    std::shared_ptr<Pending> start(const QString& url, bool service);
    void wait(const std::shared_ptr<Pending>& pending);

    Engine* engine();

    HttpTimeouts m_timeouts;
    std::once_flag m_started;
    QThread* m_thread = nullptr;
    Engine* m_engine = nullptr;
    std::shared_ptr<Waiting> m_waiting;
};

} // namespace zel
