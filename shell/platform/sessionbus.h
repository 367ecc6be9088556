// The session bus where the desktop has none and none can be started.
#pragma once

#include <QByteArray>

namespace zel {

// On X the first window's accessibility bridge waits for the session bus.
// Where the desktop has none (no address, no bus in the runtime folder), the
// bus library forks the program and looks through the whole search path for
// dbus-launch to start one, and the window waits for that too. Where that
// program is not installed the attempt cannot succeed, so the address is set
// to one that fails at once; where it is, nothing changes. The library looks
// for it in `systemFolder` first, then along the search path. Call it before
// any other thread starts: it sets the environment, which programs started
// from this one inherit, to the same effect.
void skipHopelessBusLaunch(const QByteArray& systemFolder = QByteArrayLiteral("/usr/bin"));

} // namespace zel
