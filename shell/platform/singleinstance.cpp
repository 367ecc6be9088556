// A lock file that a crashed holder cannot keep: QLockFile records the
// holder's process and treats the lock of a dead one as stale.
#include "shell/platform/singleinstance.h"

#include <QDir>

namespace zel {

LockFileInstance::LockFileInstance(const QString& path)
    : m_lock(path.isEmpty() ? QDir::temp().filePath(QStringLiteral("Halvane.lock")) : path)
{
    // Never stale by age: a copy that has run for hours still holds it.
    m_lock.setStaleLockTime(0);
}

bool LockFileInstance::tryAcquire()
{
    return m_lock.tryLock(0);
}

void LockFileInstance::release()
{
    m_lock.unlock();
}

} // namespace zel
