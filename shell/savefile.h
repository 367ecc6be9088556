// Replacing a file whole, so that a failed write leaves the old one.
#pragma once

#include <QByteArray>
#include <QString>

namespace zel {

// Writes `bytes` to a new file beside `path` and puts it in its place only
// when every byte got there. False (the old file untouched, `error` saying
// why) when the file cannot be made or the disk runs full.
bool replaceFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace zel
