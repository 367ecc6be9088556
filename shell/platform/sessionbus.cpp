#include "shell/platform/sessionbus.h"

#include <QByteArray>
#include <QList>

#include <sys/stat.h>
#include <unistd.h>

namespace zel {
namespace {

bool exists(const QByteArray& path)
{
    struct stat s {};
    return stat(path.constData(), &s) == 0;
}

// As the bus library would find it: a regular file that may be run, in the
// system's folder, where it looks first, or in a folder of the search path
// (an empty entry is the current folder).
bool findable(const QByteArray& program, const QByteArray& systemFolder)
{
    for (const QByteArray& dir : QByteArray(systemFolder + ':' + qgetenv("PATH")).split(':')) {
        const QByteArray path = (dir.isEmpty() ? QByteArray(".") : dir) + '/' + program;
        struct stat s {};
        if (stat(path.constData(), &s) == 0 && S_ISREG(s.st_mode) && access(path.constData(), X_OK) == 0)
            return true;
    }
    return false;
}

} // namespace

void skipHopelessBusLaunch(const QByteArray& systemFolder)
{
    // Plain system calls: this runs first thing, before Qt's file classes
    // have been used.
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        return;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && exists(runtime + "/bus"))
        return;
    if (findable("dbus-launch", systemFolder))
        return;
    // An address of no known kind: the library answers it with an error
    // straight away.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

} // namespace zel
