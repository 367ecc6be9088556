// Writing a file beside its target and renaming it over it, so that a failed
// write leaves the target as it was and no half-written file.
#pragma once

#include <QString>

#include <functional>

namespace zel {

// `write` gets the path of a fresh file in the target's folder (its local
// 8-bit form) and returns whether it wrote it. Throws InOutError when the
// file cannot be made, written or renamed.
void writeBeside(const QString& fileName, const std::function<bool(const QByteArray& partPath)>& write);

} // namespace zel
