// The main window's list exchange: export, import, copy and paste of the
// list in front. The reading and writing are the lists' own (listparser.h,
// listwriter.h, listsheet.h); this asks, tells and hands the result over.
#pragma once

#include "lists/listentry.h"
#include "lists/listparser.h"

#include <QObject>

class QAction;
class QWidget;
class QMenu;
class QTreeView;

namespace zel {

class LinesModel;
class ListsSession;
struct AppServices;

class ListExchange : public QObject {
    Q_OBJECT
public:
    // Ctrl+C and Ctrl+V work in the two list views.
    // Dialogs come over `window`.
    ListExchange(ListsSession& lists, const AppServices& services, QWidget* window, QTreeView* roundView,
                 QTreeView* boardView);

    // The export and import items, put into `menu` before `before`.
    void addMenuItems(QMenu* menu, QAction* before);
    // Their captions in the current language.
    void relabel();

    // Ctrl+E: the list in front into a CSV file or a workbook.
    void exportList();
    // Ctrl+I: a file's rows added to the list in front, after one question.
    void importList();
    // Ctrl+C: the selected line, or every line, as tab-separated text.
    void copyLines();
    // Ctrl+V: tab-separated rows added to the list in front.
    void pasteLines();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ListKind kind() const;
    LinesModel* model() const;
    QTreeView* view() const;
    // Tells what kept the text from being read, or asks or tells what will
    // be added, and adds it; logs the rows skipped. A paste (`fromFile`
    // false) asks only when a row would be skipped.
    void addRows(const ParsedList& parsed, bool fromFile);

    ListsSession& m_lists;
    const AppServices& m_services;
    QWidget* m_window;
    QTreeView* m_roundView;
    QTreeView* m_boardView;
    QAction* m_export = nullptr;
    QAction* m_import = nullptr;
};

} // namespace zel
