// Idle time: the X server's, where it has the screen-saver extension;
// otherwise the time since the last input event to this program.
#pragma once

#include "online/idleclock.h"

#include <QByteArray>
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
    bool usesDisplay() const { return display() != nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The display is opened when the idle time is first asked for, not while
    // the program's window is still to come up.
    void* display() const;

    QElapsedTimer m_sinceInput;
    QByteArray m_displayName;
    mutable bool m_opened = false;
    mutable void* m_display = nullptr;
};

// The X server's idle time in milliseconds, or -1 when it cannot tell.
qint64 displayIdleMilliseconds(void* display);
// An X connection with the screen-saver extension, or null.
void* openIdleDisplay(const QByteArray& name);
void closeIdleDisplay(void* display);

} // namespace zel
