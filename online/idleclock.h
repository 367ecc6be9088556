// How long the user has left the computer alone.
#pragma once

#include <QtGlobal>

namespace zel {

class IIdleClock {
public:
    virtual ~IIdleClock() = default;
    // Milliseconds since the last keyboard or mouse input.
    virtual qint64 idleMilliseconds() = 0;
};

} // namespace zel
