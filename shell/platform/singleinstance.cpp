// A lock file that a crashed holder cannot keep: QLockFile records the
// holder's process and treats the lock of a dead one as stale.
#include "shell/platform/singleinstance.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace zel {

LockFileInstance::LockFileInstance(const QString& folder)
    : m_folder(folder.isEmpty() ? QDir::tempPath() : folder)
{
}

QString LockFileInstance::lockPath() const
{
    const uid_t uid = ::getuid();
    const QDir dir(m_folder);
    QString path;
    for (int n = 0; n < 100; ++n) {
        const QString suffix = n == 0 ? QString() : QLatin1Char('-') + QString::number(n);
        path = dir.filePath(QStringLiteral("Halvane-%1%2.lock").arg(uid).arg(suffix));
        struct stat st {};
        // lstat: a link another user put there is theirs, whatever it points to.
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || st.st_uid == uid)
            return path;
    }
    return path;
}

bool LockFileInstance::tryAcquire()
{
    m_lock = std::make_unique<QLockFile>(lockPath());
    // Never stale by age: a copy that has run for hours still holds it.
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}

void LockFileInstance::release()
{
    if (m_lock)
        m_lock->unlock();
}

} // namespace zel
