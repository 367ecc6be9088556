#include "online/platform/lazynet.h"
#include "online/platform/netmodule.h"
#include "shell/platform/embeddedmodule.h"

namespace zel {

LazyNet::LazyNet(EmbeddedModule& module, HttpTimeouts timeouts)
    : m_module(module)
    , m_timeouts(timeouts)
{
}

LazyNet::~LazyNet() = default;

INetFacilities* LazyNet::facilities()
{
    std::call_once(m_opened, [this] {
        std::unique_ptr<INetFacilities> made;
        if (auto open = reinterpret_cast<NetModuleOpen>(m_module.symbol(kNetModuleOpen)))
            made.reset(open(m_timeouts));
        else
            m_failure = m_module.error();
        std::lock_guard<std::mutex> lock(m_lock);
        m_facilities = std::move(made);
        // A shut-down that came first holds for the client made now.
        if (m_facilities && m_shutDown)
            m_facilities->http().shutDown();
    });
    return m_facilities.get();
}

QString LazyNet::get(const QString& url)
{
    INetFacilities* net = facilities();
    if (!net)
        throw SocketError(0, m_failure);
    return net->http().get(url);
}

void LazyNet::shutDown()
{
    // Nothing is opened for it: a client made later starts shut down.
    std::lock_guard<std::mutex> lock(m_lock);
    m_shutDown = true;
    if (m_facilities)
        m_facilities->http().shutDown();
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

} // namespace zel
