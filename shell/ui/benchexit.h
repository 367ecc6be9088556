// For the start-up benchmarks: a program that ends, without tearing anything
// down, the moment its window is first exposed on the screen, so that the
// time from its start to its end is the time to its window.
#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <QWindow>

#include <cstdlib>

namespace zel {

class EndWhenExposed : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed())
            std::_Exit(0);
        return false;
    }
};

// `window` must have been shown.
inline void endWhenExposed(QWidget& window)
{
    window.windowHandle()->installEventFilter(new EndWhenExposed(&window));
}

} // namespace zel
