// Idle time from this program's own input events, with the X server's where there is one.
#include "online/platform/systemidleclock.h"

#include <QCoreApplication>
#include <QEvent>

namespace zel {

SystemIdleClock::SystemIdleClock()
{
    m_sinceInput.start();
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
    m_displayName = qgetenv("DISPLAY");
}

void* SystemIdleClock::display() const
{
    if (!m_opened) {
        m_opened = true;
        m_display = openIdleDisplay(m_displayName);
    }
    return m_display;
}

SystemIdleClock::~SystemIdleClock()
{
    closeIdleDisplay(m_display);
}

qint64 SystemIdleClock::idleMilliseconds()
{
    if (void* d = display()) {
        const qint64 ms = displayIdleMilliseconds(d);
        if (ms >= 0)
            return ms;
    }
    return m_sinceInput.elapsed();
}

bool SystemIdleClock::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
        m_sinceInput.restart();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zel
