// The main window's list menus: the list menu of a right click, the edit
// menu of a double click, their column entries, the Delete key, and the undo
// and redo of the list in front. Every change is one step of the undo.
#pragma once

#include <QObject>

class QTreeView;

namespace zel {

class LinesModel;
class ListsSession;
class MainWindowUi;

class ListMenus : public QObject {
    Q_OBJECT
public:
    ListMenus(MainWindowUi& ui, ListsSession& lists, QWidget* window);

    // The board list's when it is in front, else the round list's (on the
    // Messages and Log tabs too).
    QTreeView* activeView() const;
    LinesModel* activeModel() const;
    // The selected line of the list in front, -1 when none is.
    int selectedRow() const;

    // One cell of the selected line edited through an input box.
    void editCell(int column);
    void deleteLine();
    void clearList();
    void undo();
    void redo();
    // The undo items name what they would take back or make again, in the
    // language in force; with nothing to do they are off.
    void relabelUndo();
    void listMenuOpening();
    void editMenuOpening();
    // The edit menu beside the pointer, for the selected line.
    void openEditMenu();

protected:
    // A double click on a list opens the edit menu for the line under the pointer.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool boardsInFront() const;
    void log(const char* label);

    MainWindowUi& m_ui;
    ListsSession& m_lists;
    QWidget* m_window;
};

} // namespace zel
