// Idle time: the X server's, where it has the screen-saver extension;
// otherwise the time since the last input event to this program.
#pragma once

#include "online/idleclock.h"

#include <QElapsedTimer>
#include <QObject>

namespace zel {

class SystemIdleClock : public QObject, public IIdleClock {
public:
    // Watches this program's input events from now on; opens its own
    // connection to the display named by DISPLAY, when there is one.
    SystemIdleClock();
    ~SystemIdleClock() override;
    qint64 idleMilliseconds() override;
    // Whether the X server answers (false on Qt's offscreen platform without
    // a display, or without the extension).
    bool usesDisplay() const { return m_display != nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QElapsedTimer m_sinceInput;
    void* m_display = nullptr;
};

// The X server's idle time in milliseconds, or -1 when it cannot tell.
qint64 displayIdleMilliseconds(void* display);
// An X connection with the screen-saver extension, or null.
void* openIdleDisplay();
void closeIdleDisplay(void* display);

} // namespace zel
