// A settings store file written as a person would edit it by hand.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace zel {

// Writes `content` to `path` whole; false when the file cannot be written.
inline bool writeStoreFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
}

} // namespace zel
