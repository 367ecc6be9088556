// Undo and redo of the lists: a stack for each list, one step for each
// command that changed it (a line added or merged, a cell edited, a line
// deleted, the list cleared or sorted, an import, a paste, a calculation
// opened over it).
#pragma once

#include "lists/linesdiff.h"

#include <QObject>
#include <QUndoStack>

#include <functional>

namespace zel {

class LinesModel;

// Texts of the undo items and the steps they name.
enum ListUndoText {
    kTxtUndoStep = 280, // "Undo %1"
    kTxtRedoStep = 281,
    kTxtUndo = 282,     // nothing to undo
    kTxtRedo = 283,
    kTxtStepAdd = 284,
    kTxtStepEdit = 285,
    kTxtStepDelete = 286,
    kTxtStepClear = 287,
    kTxtStepSort = 288,
    kTxtStepImport = 289,
    kTxtStepPaste = 290,
    kTxtStepOpen = 291,
};

class ListUndo : public QObject {
    Q_OBJECT
public:
    // `refresh` recomputes a list after its lines were put back.
    using Refresh = std::function<void(LinesModel*)>;
    // Called with true when a step is taken back, false when made again.
    using Mode = std::function<void(bool undone)>;

    ListUndo(LinesModel* round, LinesModel* board, Refresh refresh, QObject* parent = nullptr);

    // Runs `change` and keeps what it did to `model`'s lines as one step,
    // named by language entry `name`; a change that changed nothing makes no
    // step. A change made while another is recorded is part of that one.
    void record(LinesModel* model, int name, const std::function<void()>& change, Mode mode = {});

    // The entry naming the step an undo (a redo) would take, -1 for none.
    int undoName(LinesModel* model) const;
    int redoName(LinesModel* model) const;
    void undo(LinesModel* model);
    void redo(LinesModel* model);

    // At least this many steps are kept for each list.
    static constexpr int kSteps = 100;

signals:
    // A step was made, taken back or made again.
    void changed();

private:
    QUndoStack* stackOf(LinesModel* model) const;
    // False, and the stack emptied, when the list is no longer the one the
    // step left (it was changed past the stack).
    bool fits(LinesModel* model, int index, bool undoing) const;

    LinesModel* m_round;
    LinesModel* m_board;
    QUndoStack* m_roundStack;
    QUndoStack* m_boardStack;
    Refresh m_refresh;
    bool m_recording = false;
};

} // namespace zel
