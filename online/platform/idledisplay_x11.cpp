// The X server's idle time through the XScreenSaver extension.
#include "online/platform/systemidleclock.h"

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

#include <cstdlib>

namespace zel {

void* openIdleDisplay(const QByteArray& name)
{
    if (name.isEmpty())
        return nullptr;
    Display* display = XOpenDisplay(name.constData());
    if (!display)
        return nullptr;
    int event = 0, error = 0;
    if (!XScreenSaverQueryExtension(display, &event, &error)) {
        XCloseDisplay(display);
        return nullptr;
    }
    return display;
}

void closeIdleDisplay(void* display)
{
    if (display)
        XCloseDisplay(static_cast<Display*>(display));
}

qint64 displayIdleMilliseconds(void* handle)
{
    auto* display = static_cast<Display*>(handle);
    XScreenSaverInfo* info = XScreenSaverAllocInfo();
    if (!info)
        return -1;
    qint64 idle = -1;
    if (XScreenSaverQueryInfo(display, DefaultRootWindow(display), info))
        idle = static_cast<qint64>(info->idle);
    XFree(info);
    return idle;
}

} // namespace zel
