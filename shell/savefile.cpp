// Whole-file replacement.
#include "shell/savefile.h"

#include <QSaveFile>

namespace zel {

bool replaceFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    // Unbuffered: QFileDevice's buffer takes a short write to a full disk
    // (EFBIG, ENOSPC) at its final flush as success, and commit() would then
    // put the cut file in the old one's place. Unbuffered writes return what
    // the system wrote, so a short one is seen here.
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    for (qint64 done = 0; ok && done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        ok = n > 0;
        done += n;
    }
    if (ok && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    file.cancelWriting();
    return false;
}

} // namespace zel
