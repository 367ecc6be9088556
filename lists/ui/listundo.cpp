// The lists' undo stacks.
#include "lists/ui/listundo.h"
#include "lists/ui/linesmodel.h"

namespace zel {
namespace {

// One change of one list: the run of lines it replaced. Steps hold only
// that run, so a hundred of them on a season's list cost little.
class LinesStep : public QUndoCommand {
public:
    LinesStep(LinesModel* model, int name, LinesDiff diff, int sizeBefore, ListUndo::Refresh refresh,
              ListUndo::Mode mode)
        : m_model(model), m_name(name), m_diff(std::move(diff)), m_sizeBefore(sizeBefore),
          m_refresh(std::move(refresh)), m_mode(std::move(mode))
    {
    }

    int name() const { return m_name; }
    int sizeBefore() const { return m_sizeBefore; }
    int sizeAfter() const
    {
        return m_sizeBefore - static_cast<int>(m_diff.removed.size()) + static_cast<int>(m_diff.inserted.size());
    }

    void undo() override { put(static_cast<int>(m_diff.inserted.size()), m_diff.removed, true); }

    void redo() override
    {
        // Pushed after the change was made: the first redo has nothing to do.
        if (m_done) {
            m_done = false;
            return;
        }
        put(static_cast<int>(m_diff.removed.size()), m_diff.inserted, false);
    }

private:
    void put(int count, const Lines& with, bool undone)
    {
        Lines lines = m_model->lines();
        replaceLines(lines, m_diff.start, count, with);
        m_model->setLines(lines);
        if (m_mode)
            m_mode(undone);
        m_refresh(m_model);
    }

    LinesModel* m_model;
    int m_name;
    LinesDiff m_diff;
    int m_sizeBefore;
    ListUndo::Refresh m_refresh;
    ListUndo::Mode m_mode;
    bool m_done = true;
};

const LinesStep* stepAt(const QUndoStack* stack, int index)
{
    return index >= 0 && index < stack->count() ? static_cast<const LinesStep*>(stack->command(index)) : nullptr;
}

} // namespace

ListUndo::ListUndo(LinesModel* round, LinesModel* board, Refresh refresh, QObject* parent)
    : QObject(parent), m_round(round), m_board(board), m_roundStack(new QUndoStack(this)),
      m_boardStack(new QUndoStack(this)), m_refresh(std::move(refresh))
{
    m_roundStack->setUndoLimit(kSteps);
    m_boardStack->setUndoLimit(kSteps);
    connect(m_roundStack, &QUndoStack::indexChanged, this, &ListUndo::changed);
    connect(m_boardStack, &QUndoStack::indexChanged, this, &ListUndo::changed);
}

QUndoStack* ListUndo::stackOf(LinesModel* model) const
{
    return model == m_board ? m_boardStack : model == m_round ? m_roundStack : nullptr;
}

void ListUndo::record(LinesModel* model, int name, const std::function<void()>& change, Mode mode)
{
    QUndoStack* stack = stackOf(model);
    if (m_recording || !stack) {
        change();
        return;
    }
    m_recording = true;
    // The lines share their storage: keeping them costs nothing until the
    // change writes to them.
    const Lines before = model->lines();
    // A change that fails half way (a line that does not read) is still a
    // change of the list, and a step.
    const auto push = [&] {
        m_recording = false;
        LinesDiff diff = diffLines(before, model->lines());
        if (!diff.isEmpty())
            stack->push(new LinesStep(model, name, std::move(diff), static_cast<int>(before.size()), m_refresh,
                                      std::move(mode)));
    };
    try {
        change();
    } catch (...) {
        push();
        throw;
    }
    push();
}

bool ListUndo::fits(LinesModel* model, int index, bool undoing) const
{
    QUndoStack* stack = stackOf(model);
    const LinesStep* step = stepAt(stack, index);
    if (!step)
        return false;
    if ((undoing ? step->sizeAfter() : step->sizeBefore()) == model->size())
        return true;
    stack->clear();
    return false;
}

int ListUndo::undoName(LinesModel* model) const
{
    const QUndoStack* stack = stackOf(model);
    const LinesStep* step = stack ? stepAt(stack, stack->index() - 1) : nullptr;
    return step ? step->name() : -1;
}

int ListUndo::redoName(LinesModel* model) const
{
    const QUndoStack* stack = stackOf(model);
    const LinesStep* step = stack ? stepAt(stack, stack->index()) : nullptr;
    return step ? step->name() : -1;
}

void ListUndo::undo(LinesModel* model)
{
    QUndoStack* stack = stackOf(model);
    if (stack && fits(model, stack->index() - 1, true))
        stack->undo();
}

void ListUndo::redo(LinesModel* model)
{
    QUndoStack* stack = stackOf(model);
    if (stack && fits(model, stack->index(), false))
        stack->redo();
}

} // namespace zel
