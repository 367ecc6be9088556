// Whether the machine has a network connection, as the system sees it.
#pragma once

namespace zel {

class IConnectivity {
public:
    virtual ~IConnectivity() = default;
    // Asks the platform's network state only; never contacts the service.
    virtual bool isOnline() = 0;
};

} // namespace zel
