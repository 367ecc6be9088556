// The single-instance claim as a lock file in the temporary folder.
#pragma once

#include "shell/singleinstance.h"

#include <QLockFile>
#include <QString>

#include <memory>

namespace zel {

// One copy per user: the lock is "Halvane-<numeric user id>.lock" in the
// temporary folder (TMPDIR) unless another folder is given. A file of that
// name owned by another user is no claim of ours (and we could not remove
// it from a shared folder): the next free name "Halvane-<uid>-<n>.lock"
// is taken instead, the same one for every copy of this user.
class LockFileInstance : public ISingleInstance {
public:
    explicit LockFileInstance(const QString& folder = QString());
    bool tryAcquire() override;
    void release() override;

    // The lock file this user's copies use, as things stand in the folder.
    QString lockPath() const;

private:
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace zel
