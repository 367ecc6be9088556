// The network facilities, taken from the network module at their first use.
#pragma once

#include "online/connectivity.h"
#include "online/httpaccess.h"
#include "online/platform/netmodule.h"
#include "shell/platform/embeddedmodule.h"

#include <memory>
#include <mutex>

namespace zel {

// The client, download and connectivity test of the network facilities,
// which open at the first request from any thread. Without them every
// request is a socket failure and the machine offline, with the reason in
// the message.
class LazyNet : public IHttpClient, public IDownloader, public IConnectivity {
public:
    explicit LazyNet(Facility<INetFacilities>& facility);
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

    Facility<INetFacilities>& m_facility;
    // Orders the making of the facilities with a shut-down from another thread.
    std::mutex m_lock;
    bool m_shutDown = false;
    // The module's facilities are their taker's to delete: their network
    // thread ends with them.
    std::unique_ptr<INetFacilities> m_made;
};

// The network module's facilities, made with `timeouts` at the first use.
Facility<INetFacilities>::Make netFacilitiesWith(const HttpTimeouts& timeouts);

} // namespace zel
