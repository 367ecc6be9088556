// Files beside the program.
#pragma once

#include <QString>

namespace zel {

// The path with its extension replaced ("/opt/z/calc.exe", ".log" ->
// "/opt/z/calc.log"); a name without extension gets one.
QString ChangeFileExt(const QString& path, const QString& extension);

// A file of the given name in the program's folder.
QString fileBeside(const QString& programFile, const QString& name);

} // namespace zel
