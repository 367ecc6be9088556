// Where the program's own files are: beside it in the portable layout, in
// the user's data folder when it is installed where the user cannot write.
#pragma once

#include <QProcessEnvironment>
#include <QString>

#include <functional>

namespace zel {

// The path with its extension replaced ("/opt/z/calc.exe", ".log" ->
// "/opt/z/calc.log"); a name without extension gets one.
QString ChangeFileExt(const QString& path, const QString& extension);

// The folder, ending in '/', that keeps the files the program writes (the
// base, the report, the log): the program's own folder while `writable` says
// the user may write there, else $XDG_DATA_HOME/zelmora of `environment`
// (~/.local/share/zelmora when that is unset or not absolute).
QString filesFolderFor(const QString& programFile, const std::function<bool(const QString& folder)>& writable,
                       const QProcessEnvironment& environment);

// The program's file `name`, where filesFolderFor puts it for this user and
// this process's environment. The data folder is made (the user's alone) the
// first time it is asked for; a file of that name that is still beside the
// program and not yet in the data folder is copied there, so that nothing
// kept by a portable copy is lost once its folder is closed to the user.
QString keptFile(const QString& programFile, const QString& name);

} // namespace zel
