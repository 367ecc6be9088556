// The connectivity test from the platform's network state.
#pragma once

#include "online/connectivity.h"

#include <mutex>

namespace zel {

// Asks QNetworkInformation where a backend exists; otherwise, or while it
// cannot tell, counts the interfaces that are up, not loopback, and carry an
// address. A network without a route to the service still counts. UI thread only.
class NetConnectivity : public IConnectivity {
public:
    NetConnectivity();
    bool isOnline() override;

private:
    std::once_flag m_loaded;
    bool m_backend = false;
};

} // namespace zel
