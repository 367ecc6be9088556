// The part file is reserved by name first, so two writers never share one.
#include "shell/platform/filebeside.h"
#include "engine/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

#include <sys/stat.h>

namespace zel {

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
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return ::chmod(partPath.constData(), 0666 & ~mask) == 0;
    };
    if (!write(partPath) || !keepMode() || std::rename(partPath.constData(), QFile::encodeName(fileName).constData()) != 0) {
        QFile::remove(part);
        throw InOutError(QStringLiteral("Cannot save \"%1\"").arg(fileName));
    }
}

} // namespace zel
