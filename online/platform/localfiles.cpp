// The update's file operations on the local disk.
#include "online/platform/localfiles.h"

#include <QFile>

#include <cstdio>

namespace zel {

bool LocalFiles::exists(const QString& path)
{
    return QFile::exists(path);
}

bool LocalFiles::remove(const QString& path)
{
    return QFile::remove(path);
}

bool LocalFiles::rename(const QString& from, const QString& to)
{
    // QFile::rename copies when a plain rename fails; the swap wants the rename or nothing.
    if (QFile::exists(to))
        return false;
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

bool LocalFiles::makeExecutableLike(const QString& path, const QString& model)
{
    QFile::Permissions permissions = QFile::permissions(model);
    permissions |= QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser
                 | QFile::WriteUser | QFile::ExeUser;
    return QFile::exists(path) && QFile::setPermissions(path, permissions);
}

} // namespace zel
