// What the user hears of a carried module that cannot be opened.
#pragma once

#include "shell/facility.h"

#include <QStringList>

#include <atomic>
#include <mutex>

namespace zel {

class Log;

// Every module's reason goes to the log; the user is told once a run, in
// plain words, whichever module failed first and from whichever thread.
class ModuleTroubleNotice {
public:
    // Reasons that came before the log was given are written then.
    void setLog(Log* log);
    // The handler for the facilities; it outlives none of them.
    ModuleTrouble handler();

private:
    void report(const CarriedCode& module, const QString& reason);

    std::mutex m_lock;
    Log* m_log = nullptr;
    QStringList m_pending;
    std::atomic<bool> m_told{false};
};

} // namespace zel
