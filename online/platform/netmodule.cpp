// The network module's entry (built as a shared object of its own).
#include "online/platform/netconnectivity.h"
#include "online/platform/netmodule.h"
#include "online/platform/qthttpclient.h"

namespace zel {
namespace {

class NetFacilities : public INetFacilities {
public:
    explicit NetFacilities(const HttpTimeouts& timeouts)
        : m_http(timeouts)
    {
    }
    IHttpClient& http() override { return m_http; }
    IDownloader& downloader() override { return m_http; }
    IConnectivity& connectivity() override { return m_connectivity; }

private:
    QtHttpClient m_http;
    NetConnectivity m_connectivity;
};

} // namespace
} // namespace zel

extern "C" __attribute__((visibility("default"))) zel::INetFacilities*
zelmora_net_open(const zel::HttpTimeouts& timeouts)
{
    return new zel::NetFacilities(timeouts);
}
