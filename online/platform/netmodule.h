// What the network module, built into the program's file and opened at the
// first network use, offers: the HTTP client, the download and the
// connectivity test, the ones of Qt Network. Qt Network and what it loads
// (Kerberos, the proxy library) cost the start-up more than any window.
#pragma once

#include "online/connectivity.h"
#include "online/httpaccess.h"
#include "online/platform/qthttpclient.h"

namespace zel {

class INetFacilities {
public:
    virtual ~INetFacilities() = default;
    virtual IHttpClient& http() = 0;
    virtual IDownloader& downloader() = 0;
    virtual IConnectivity& connectivity() = 0;
};

// The module's one entry: makes the facilities (the caller deletes them).
using NetModuleOpen = INetFacilities* (*)(const HttpTimeouts& timeouts);
inline constexpr const char kNetModuleOpen[] = "zelmora_net_open";

} // namespace zel
