// Where the program's own files are.
#include "shell/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zel {
namespace {

QString withSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

QString ChangeFileExt(const QString& path, const QString& extension)
{
    const QFileInfo info(path);
    return withSlash(info.path()) + info.completeBaseName() + extension;
}

QString filesFolderFor(const QString& programFile, const std::function<bool(const QString& folder)>& writable,
                       const QProcessEnvironment& environment)
{
    const QString own = QFileInfo(programFile).path();
    if (writable(own))
        return withSlash(own);
    // The XDG rule: a relative value is not a place and counts as unset.
    QString data = environment.value(QStringLiteral("XDG_DATA_HOME"));
    if (!QDir::isAbsolutePath(data)) {
        QString home = environment.value(QStringLiteral("HOME"));
        if (!QDir::isAbsolutePath(home))
            home = QDir::homePath();
        data = withSlash(home) + QStringLiteral(".local/share");
    }
    return withSlash(data) + QStringLiteral("zelmora/");
}

QString keptFile(const QString& programFile, const QString& name)
{
    const QString beside = withSlash(QFileInfo(programFile).path());
    const QString folder = filesFolderFor(
        programFile, [](const QString& f) { return QFileInfo(f).isWritable(); },
        QProcessEnvironment::systemEnvironment());
    const QString path = folder + name;
    if (folder != beside) {
        if (!QFileInfo::exists(folder) && QDir().mkpath(folder))
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // The copy takes the original's permissions; one the user may not
        // write, as in a folder closed as a whole, could never be saved.
        if (!QFileInfo::exists(path) && QFileInfo::exists(beside + name) && QFile::copy(beside + name, path))
            QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);
    }
    return path;
}

} // namespace zel
