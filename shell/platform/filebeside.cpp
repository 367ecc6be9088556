// The part file is reserved by name first, so two writers never share one.
#include "shell/platform/filebeside.h"
#include "engine/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

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
    if (!write(partPath) || std::rename(partPath.constData(), QFile::encodeName(fileName).constData()) != 0) {
        QFile::remove(part);
        throw InOutError(QStringLiteral("Cannot save \"%1\"").arg(fileName));
    }
}

} // namespace zel
