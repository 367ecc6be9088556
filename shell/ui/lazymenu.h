// A pop-up menu that takes its actions in when it is first about to show.
#pragma once

#include <QMenu>

namespace zel {

// Qt's menu makes two string-based connections for every action added to it,
// separators included; for the main window's menus that cost the start more
// than anything else in building them, and a menu that has not shown has no
// use for them. Its actions() are the actions added, in their order, from
// the first; the menu takes them in before it shows for the first time.
class LazyMenu : public QMenu {
public:
    explicit LazyMenu(QWidget* parent = nullptr);
    // A submenu of the same kind, added as QMenu::addMenu adds one.
    LazyMenu* addLazyMenu(const QString& title);

protected:
    void actionEvent(QActionEvent* event) override;

private:
    void takeActionsIn();

    bool m_live = false;
};

} // namespace zel
