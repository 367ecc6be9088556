// The X server's idle time through the XScreenSaver extension. Its libraries
// are opened at the first question, not loaded with the program; where they
// cannot be, there is no display to ask and the program's own input counts.
#include "online/platform/systemidleclock.h"

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

#include <dlfcn.h>

namespace zel {
namespace {

struct ScreenSaverLibraries {
    decltype(&XOpenDisplay) openDisplay = nullptr;
    decltype(&XCloseDisplay) closeDisplay = nullptr;
    decltype(&XDefaultRootWindow) rootWindow = nullptr;
    decltype(&XFree) free = nullptr;
    decltype(&XScreenSaverQueryExtension) queryExtension = nullptr;
    decltype(&XScreenSaverAllocInfo) allocInfo = nullptr;
    decltype(&XScreenSaverQueryInfo) queryInfo = nullptr;

    bool complete() const
    {
        return openDisplay && closeDisplay && rootWindow && free && queryExtension && allocInfo && queryInfo;
    }
};

template <typename F>
void take(void* library, const char* name, F& f)
{
    f = library ? reinterpret_cast<F>(dlsym(library, name)) : nullptr;
}

// Opened once and kept: the display connections use them until the end.
const ScreenSaverLibraries* libraries()
{
    static const ScreenSaverLibraries* const opened = [] () -> const ScreenSaverLibraries* {
        static ScreenSaverLibraries l;
        void* x11 = dlopen(ZELMORA_X11_SONAME, RTLD_NOW | RTLD_LOCAL);
        void* xss = dlopen(ZELMORA_XSS_SONAME, RTLD_NOW | RTLD_LOCAL);
        take(x11, "XOpenDisplay", l.openDisplay);
        take(x11, "XCloseDisplay", l.closeDisplay);
        take(x11, "XDefaultRootWindow", l.rootWindow);
        take(x11, "XFree", l.free);
        take(xss, "XScreenSaverQueryExtension", l.queryExtension);
        take(xss, "XScreenSaverAllocInfo", l.allocInfo);
        take(xss, "XScreenSaverQueryInfo", l.queryInfo);
        return l.complete() ? &l : nullptr;
    }();
    return opened;
}

} // namespace

void* openIdleDisplay(const QByteArray& name)
{
    const ScreenSaverLibraries* x = name.isEmpty() ? nullptr : libraries();
    if (!x)
        return nullptr;
    Display* display = x->openDisplay(name.constData());
    if (!display)
        return nullptr;
    int event = 0, error = 0;
    if (!x->queryExtension(display, &event, &error)) {
        x->closeDisplay(display);
        return nullptr;
    }
    return display;
}

void closeIdleDisplay(void* display)
{
    // A display was only ever opened through the libraries.
    if (display)
        libraries()->closeDisplay(static_cast<Display*>(display));
}

qint64 displayIdleMilliseconds(void* handle)
{
    const ScreenSaverLibraries* x = libraries();
    auto* display = static_cast<Display*>(handle);
    XScreenSaverInfo* info = x->allocInfo();
    if (!info)
        return -1;
    qint64 idle = -1;
    if (x->queryInfo(display, x->rootWindow(display), info))
        idle = static_cast<qint64>(info->idle);
    x->free(info);
    return idle;
}

} // namespace zel
