// The restart after an update: the new program starts once this one has
// ended its message loop and given up the single-instance claim.
#pragma once

#include "online/restart.h"

namespace zel {

class ISingleInstance;

class DeferredRestart : public IRestart {
public:
    // Remembers the program and ends the message loop.
    void restartAfterExit(const QString& program) override;
    // After the message loop: releases the claim and starts the program.
    // True when one was started.
    bool runIfRequested(ISingleInstance& instance);

private:
    QString m_program;
};

} // namespace zel
