// Keeps a second copy of the program out.
#pragma once

namespace zel {

class ISingleInstance {
public:
    virtual ~ISingleInstance() = default;
    // True when no other running copy holds the claim; it is then ours until
    // release() or the end of the process (a crashed holder does not count).
    virtual bool tryAcquire() = 0;
    virtual void release() = 0;
};

} // namespace zel
