// The part file is reserved by name first, so two writers never share one.
#include "shell/platform/filebeside.h"
#include "engine/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>

namespace zel {
namespace {

// The process's file mode mask. umask() tells it only by setting it, and in
// that moment a file another thread makes (the font cache, the network
// thread) would be made with no mask at all; the kernel shows it here.
mode_t fileModeMask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        // Files of /proc tell no size: read to the end rather than ask atEnd().
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    return static_cast<mode_t>(mask & 0777);
            }
        }
    }
    // Unknown: the file is the owner's alone.
    return 077;
}

} // namespace

void writeBeside(const QString& fileName, const std::function<bool(const QByteArray& partPath)>& write)
{
    const QFileInfo target(fileName);
    QString part;
    {
        QTemporaryFile reserve(target.absoluteDir().filePath(target.fileName() + QStringLiteral(".XXXXXX")));
        if (!reserve.open())
            throw InOutError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, reserve.errorString()));
        reserve.setAutoRemove(false);
        part = reserve.fileName();
    }
    const QByteArray partPath = QFile::encodeName(part);
    // The reserved part file is the owner's alone; the workbook takes the
    // permissions the file it replaces had, or those of any new file.
    const auto keepMode = [&] {
        if (target.exists())
            return QFile::setPermissions(part, QFile::permissions(fileName));
        return ::chmod(partPath.constData(), 0666 & ~fileModeMask()) == 0;
    };
    // The system's reason goes with the name; a writer that failed without
    // one leaves errno as it was set here.
    errno = 0;
    if (!write(partPath) || !keepMode()
        || std::rename(partPath.constData(), QFile::encodeName(fileName).constData()) != 0) {
        const int error = errno;
        QFile::remove(part);
        QString message = QStringLiteral("Cannot save \"%1\"").arg(fileName);
        if (error != 0)
            message += QStringLiteral(". ") + QString::fromLocal8Bit(std::strerror(error));
        throw InOutError(message);
    }
}

} // namespace zel
