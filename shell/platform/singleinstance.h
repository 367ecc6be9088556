// The single-instance claim as a lock file in the temporary folder.
#pragma once

#include "shell/singleinstance.h"

#include <QLockFile>
#include <QString>

namespace zel {

class LockFileInstance : public ISingleInstance {
public:
    // "Halvane.lock" in the temporary folder (TMPDIR) unless told otherwise.
    explicit LockFileInstance(const QString& path = QString());
    bool tryAcquire() override;
    void release() override;

private:
    QLockFile m_lock;
};

} // namespace zel
