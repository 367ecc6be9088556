// Where top-level windows open.
#include "shell/ui/placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace zel {

void centreOnScreen(QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize frame = window->frameGeometry().size();
    // move() places the frame of a top-level window.
    window->move(area.left() + (area.width() - frame.width()) / 2,
                 area.top() + (area.height() - frame.height()) / 2);
}

} // namespace zel
