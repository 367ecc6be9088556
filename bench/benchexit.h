// For the start-up benchmarks: a program that ends, without tearing anything
// down, the moment its window is first exposed on the screen, so that the
// time from its start to its end is the time to its window. Where the
// benchmark gives a descriptor (ZELMORA_BENCH_SHOWN_FD), the moment itself is
// written there first, as nanoseconds of the monotonic clock: the kernel's
// release of the process after it is no part of the start.
#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

namespace zel {

class EndWhenExposed : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            bool given = false;
            const int fd = qEnvironmentVariableIntValue("ZELMORA_BENCH_SHOWN_FD", &given);
            if (given) {
                timespec now{};
                clock_gettime(CLOCK_MONOTONIC, &now);
                char text[32];
                const int n = std::snprintf(text, sizeof text, "%lld\n",
                                            static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                if (write(fd, text, static_cast<size_t>(n)) != n)
                    std::_Exit(1);
            }
            std::_Exit(0);
        }
        return false;
    }
};

// `window` must have been shown.
inline void endWhenExposed(QWidget& window)
{
    window.windowHandle()->installEventFilter(new EndWhenExposed(&window));
}

} // namespace zel
