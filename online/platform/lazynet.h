// The network facilities, taken from the network module at their first use.
#pragma once

#include "online/connectivity.h"
#include "online/httpaccess.h"
#include "online/platform/qthttpclient.h"

#include <memory>
#include <mutex>

namespace zel {

class EmbeddedModule;
class INetFacilities;

// Stands for the module's client, download and connectivity test until one
// of them is first used. A module that cannot be opened makes every request
// a socket failure and the machine offline, with the reason in the message.
class LazyNet : public IHttpClient, public IDownloader, public IConnectivity {
public:
    LazyNet(EmbeddedModule& module, HttpTimeouts timeouts);
    ~LazyNet() override;
    LazyNet(const LazyNet&) = delete;
    LazyNet& operator=(const LazyNet&) = delete;

    QString get(const QString& url) override;
    void shutDown() override;
    bool download(const QString& url, const QString& file) override;
    bool isOnline() override;

private:
    // Null when the module could not be opened.
    INetFacilities* facilities();

    EmbeddedModule& m_module;
    HttpTimeouts m_timeouts;
    std::once_flag m_opened;
    QString m_failure;
    // Orders the making of the facilities with a shut-down from another thread.
    std::mutex m_lock;
    std::unique_ptr<INetFacilities> m_facilities;
    bool m_shutDown = false;
};

} // namespace zel
