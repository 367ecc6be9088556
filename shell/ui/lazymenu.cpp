#include "shell/ui/lazymenu.h"

#include <QActionEvent>

namespace zel {

LazyMenu::LazyMenu(QWidget* parent)
    : QMenu(parent)
{
    // Connected first: the actions are in before any other handler of the
    // signal, and before the menu lays them out.
    connect(this, &QMenu::aboutToShow, this, &LazyMenu::takeActionsIn);
}

LazyMenu* LazyMenu::addLazyMenu(const QString& title)
{
    auto* menu = new LazyMenu(this);
    menu->setTitle(title);
    addAction(menu->menuAction());
    return menu;
}

void LazyMenu::actionEvent(QActionEvent* event)
{
    // Until then nothing of the menu depends on its actions but the list
    // itself, which QWidget keeps.
    if (m_live)
        QMenu::actionEvent(event);
}

void LazyMenu::takeActionsIn()
{
    if (m_live)
        return;
    m_live = true;
    for (QAction* action : actions()) {
        QActionEvent added(QEvent::ActionAdded, action);
        QMenu::actionEvent(&added);
    }
}

} // namespace zel
