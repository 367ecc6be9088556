#include "online/platform/lazynet.h"

namespace zel {

LazyNet::LazyNet(Facility<INetFacilities>& facility)
    : m_facility(facility)
{
}

LazyNet::~LazyNet() = default;

INetFacilities* LazyNet::facilities()
{
    INetFacilities* net = m_facility.get();
    std::lock_guard<std::mutex> lock(m_lock);
    if (net && !m_made) {
        m_made.reset(net);
        // A shut-down that came first holds for the client made now.
        if (m_shutDown)
            net->http().shutDown();
    }
    return net;
}

QString LazyNet::get(const QString& url)
{
    INetFacilities* net = facilities();
    if (!net)
        throw SocketError(0, m_facility.error());
    return net->http().get(url);
}

void LazyNet::shutDown()
{
    // Nothing is opened for it: a client made later starts shut down.
    std::lock_guard<std::mutex> lock(m_lock);
    m_shutDown = true;
    if (m_made)
        m_made->http().shutDown();
}

bool LazyNet::download(const QString& url, const QString& file)
{
    INetFacilities* net = facilities();
    return net && net->downloader().download(url, file);
}

bool LazyNet::isOnline()
{
    INetFacilities* net = facilities();
    return net && net->connectivity().isOnline();
}

Facility<INetFacilities>::Make netFacilitiesWith(const HttpTimeouts& timeouts)
{
    return [timeouts](void* entry) { return reinterpret_cast<NetModuleOpen>(entry)(timeouts); };
}

} // namespace zel
