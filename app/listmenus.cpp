#include "app/listmenus.h"
#include "app/mainwindowui.h"
#include "lists/listentry.h"
#include "lists/ui/linesmodel.h"
#include "lists/ui/listssession.h"
#include "lists/ui/listundo.h"
#include "shell/settings.h"
#include "shell/log.h"
#include "shell/ui/dialogs.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>
#include <QTreeView>

namespace zel {

ListMenus::ListMenus(MainWindowUi& ui, ListsSession& lists, QWidget* window)
    : QObject(window)
    , m_ui(ui)
    , m_lists(lists)
    , m_window(window)
{
    connect(ui.m_undoAction, &QAction::triggered, this, &ListMenus::undo);
    connect(ui.m_redoAction, &QAction::triggered, this, &ListMenus::redo);
    connect(&lists.undo(), &ListUndo::changed, this, &ListMenus::relabelUndo);
    connect(ui.N1, &QAction::triggered, this, &ListMenus::clearList);
    connect(ui.N3, &QAction::triggered, this, &ListMenus::deleteLine);
    const QAction* columnEntries[2][4] = {{ui.N8, ui.N9, ui.N10, ui.res1}, {ui.N4, ui.N5, ui.N6, ui.res2}};
    for (const auto& entries : columnEntries)
        for (int column = 0; column < 4; ++column)
            connect(entries[column], &QAction::triggered, this, [this, column] { editCell(column); });
    connect(ui.PopupMenu1, &QMenu::aboutToShow, this, &ListMenus::listMenuOpening);
    connect(ui.PopupMenu2, &QMenu::aboutToShow, this, &ListMenus::editMenuOpening);
    for (QTreeView* view : {ui.ListView1, ui.ListView2}) {
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& pos) {
            m_ui.PopupMenu1->popup(view->viewport()->mapToGlobal(pos));
        });
        // The Delete key deletes the selected line, as the menu's Delete does.
        auto* deleteKey = new QShortcut(QKeySequence::Delete, view, nullptr, nullptr, Qt::WidgetShortcut);
        connect(deleteKey, &QShortcut::activated, this, [this] {
            if (selectedRow() >= 0)
                deleteLine();
        });
        view->viewport()->installEventFilter(this);
    }
}

bool ListMenus::eventFilter(QObject* watched, QEvent* event)
{
    for (QTreeView* view : {m_ui.ListView1, m_ui.ListView2}) {
        if (event->type() == QEvent::MouseButtonDblClick && watched == view->viewport()) {
            // The view's own handling selects the line under the pointer first.
            const QModelIndex at = view->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            if (at.isValid())
                view->setCurrentIndex(at);
            openEditMenu();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool ListMenus::boardsInFront() const
{
    return m_lists.inFront() == m_lists.boardModel();
}

QTreeView* ListMenus::activeView() const
{
    return boardsInFront() ? m_ui.ListView2 : m_ui.ListView1;
}

LinesModel* ListMenus::activeModel() const
{
    return boardsInFront() ? m_lists.boardModel() : m_lists.roundModel();
}

int ListMenus::selectedRow() const
{
    const QModelIndexList rows = activeView()->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListMenus::log(const char* label)
{
    m_lists.log().write(QLatin1String(label));
}

void ListMenus::editCell(int column)
{
    log("right click menu edit");
    LinesModel* model = activeModel();
    m_lists.undo().record(model, kTxtStepEdit, [&] {
        const int row = selectedRow();
        if (row >= 0 && column < model->columnCount()) {
            const QString prompt = QStringLiteral("\" ") + model->header(column) + QStringLiteral(" \"");
            const QString typed = Dialogs::input(m_window, L(51), prompt, model->lines()[row].cells[column]);
            // A text that is no number of the column would stop every recomputation.
            if (cellReads(typed, column, model == m_lists.boardModel())) {
                model->lines()[row].cells[column] = typed;
                model->linesChanged({row});
            } else {
                Dialogs::message(m_window, L(260));
            }
        }
        m_lists.refreshFront();
    });
}

void ListMenus::deleteLine()
{
    log("Delete");
    m_lists.undo().record(activeModel(), kTxtStepDelete, [this] {
        const int row = selectedRow();
        if (row >= 0)
            activeModel()->removeLine(row);
        m_lists.refreshFront();
    });
}

void ListMenus::clearList()
{
    log("Clear list");
    m_lists.undo().record(activeModel(), kTxtStepClear, [this] {
        activeModel()->clearLines();
        m_lists.refreshFront();
    });
}

void ListMenus::undo()
{
    log("Undo");
    if (LinesModel* model = m_lists.inFront())
        m_lists.undo().undo(model);
}

void ListMenus::redo()
{
    log("Redo");
    if (LinesModel* model = m_lists.inFront())
        m_lists.undo().redo(model);
}

void ListMenus::relabelUndo()
{
    LinesModel* model = m_lists.inFront();
    const int undo = model ? m_lists.undo().undoName(model) : -1;
    const int redo = model ? m_lists.undo().redoName(model) : -1;
    m_ui.m_undoAction->setText(undo >= 0 ? L(kTxtUndoStep).arg(L(undo)) : L(kTxtUndo));
    m_ui.m_redoAction->setText(redo >= 0 ? L(kTxtRedoStep).arg(L(redo)) : L(kTxtRedo));
    m_ui.m_undoAction->setEnabled(undo >= 0);
    m_ui.m_redoAction->setEnabled(redo >= 0);
}

void ListMenus::listMenuOpening()
{
    log("right clik menu 1");
    QAction* const columns[4] = {m_ui.N8, m_ui.N9, m_ui.N10, m_ui.res1};
    MainWindowUi::setColumnCaptions(columns, boardsInFront());
    const bool any = activeModel()->size() > 0;
    for (QAction* a : {m_ui.N1, m_ui.N7, m_ui.N3, m_ui.N17, m_ui.N12})
        a->setEnabled(any);
    m_ui.N14->setEnabled(true);
    relabelUndo();
}

void ListMenus::editMenuOpening()
{
    log("right clik menu 2");
    QAction* const columns[4] = {m_ui.N4, m_ui.N5, m_ui.N6, m_ui.res2};
    MainWindowUi::setColumnCaptions(columns, boardsInFront());
}

void ListMenus::openEditMenu()
{
    log("Edit menu");
    if (selectedRow() >= 0)
        m_ui.PopupMenu2->popup(QCursor::pos() - QPoint(50, 50));
}

} // namespace zel
