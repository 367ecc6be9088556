#include "shell/ui/firstshow.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace zel {

namespace {

class FirstExpose : public QObject {
public:
    FirstExpose(QWindow* window, std::function<void()> work)
        : QObject(window)
        , m_work(std::move(work))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            // The expose paints the window before the events queued now.
            QTimer::singleShot(0, watched, std::move(m_work));
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_work;
};

} // namespace

void afterFirstShow(QWidget& window, std::function<void()> work)
{
    QWindow* handle = window.windowHandle();
    handle->installEventFilter(new FirstExpose(handle, std::move(work)));
}

} // namespace zel
