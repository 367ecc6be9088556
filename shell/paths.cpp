// Files beside the program.
#include "shell/paths.h"

#include <QFileInfo>

namespace zel {

QString ChangeFileExt(const QString& path, const QString& extension)
{
    const QFileInfo info(path);
    QString dir = info.path();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir + info.completeBaseName() + extension;
}

QString fileBeside(const QString& programFile, const QString& name)
{
    QString dir = QFileInfo(programFile).path();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir + name;
}

} // namespace zel
