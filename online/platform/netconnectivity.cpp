// The connectivity test from the platform's network state.
#include "online/platform/netconnectivity.h"

#include <QNetworkInformation>
#include <QNetworkInterface>

namespace zel {

NetConnectivity::NetConnectivity() = default;

bool NetConnectivity::isOnline()
{
    // The platform's backend is loaded when first asked, not while the
    // program's window is still to come up.
    std::call_once(m_loaded, [this] {
        m_backend = QNetworkInformation::instance()
                 || QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    });
    if (m_backend) {
        if (const QNetworkInformation* info = QNetworkInformation::instance()) {
            switch (info->reachability()) {
            case QNetworkInformation::Reachability::Disconnected:
                return false;
            case QNetworkInformation::Reachability::Local:
            case QNetworkInformation::Reachability::Site:
            case QNetworkInformation::Reachability::Online:
                return true;
            case QNetworkInformation::Reachability::Unknown:
                break;
            }
        }
    }
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& i : interfaces) {
        const auto flags = i.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning)
            || flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        if (!i.addressEntries().isEmpty())
            return true;
    }
    return false;
}

} // namespace zel
