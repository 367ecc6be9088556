#include "shell/platform/sessionbus.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QString>

namespace zel {

void skipHopelessBusLaunch()
{
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        return;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus")))
        return;
    if (!QStandardPaths::findExecutable(QStringLiteral("dbus-launch")).isEmpty())
        return;
    // An address of no known kind: the library answers it with an error
    // straight away.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

} // namespace zel
