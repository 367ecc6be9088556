// The two lists of the main window as one document.
#include "lists/ui/listssession.h"
#include "lists/liststore.h"
#include "lists/ui/lineicons.h"
#include "lists/ui/linesmodel.h"
#include "lists/ui/listundo.h"
#include "shell/log.h"
#include "shell/settings.h"
#include "shell/settingsio.h"

#include <QCollator>

namespace zel {

ListsSession::ListsSession(ISettingsStore& store, Log& log, Front front, QObject* parent)
    : QObject(parent)
    , m_store(store)
    , m_log(log)
    , m_front(std::move(front))
    , m_round(new LinesModel(kRoundColumns, this))
    , m_board(new LinesModel(kBoardColumns, this))
{
    setObjectName(QStringLiteral("ListsSession"));
    m_round->setIcon(kIconNormal, lineIcon(false));
    m_round->setIcon(kIconFallback, lineIcon(true));
    m_undo = new ListUndo(m_round, m_board, [this](LinesModel* model) { refresh(model); }, this);
}

LinesModel* ListsSession::inFront() const
{
    const std::optional<ListKind> front = m_front();
    return front ? model(*front) : nullptr;
}

CalcReportInput ListsSession::reportInput(ListKind kind) const
{
    const LinesModel* lines = model(kind);
    CalcReportInput in;
    in.boards = kind == ListKind::Board;
    in.methodName = L(36 + static_cast<int>(Settings.Method));
    in.heading = in.boards ? L(102) : L(75);
    for (int c = 0; c < lines->columnCount(); ++c)
        in.columnCaptions << lines->header(c);
    for (const ListLine& line : lines->lines())
        in.lines << QStringList(line.cells.cbegin(), line.cells.cend());
    return in;
}

ListContext ListsSession::context() const
{
    ListContext c;
    c.method = Settings.Method;
    c.taper = Settings.DownGradeWood;
    c.language = Settings.Language;
    c.species = Settings.TypeWood;
    c.moisture = Settings.WetWood;
    return c;
}

void ListsSession::refresh(LinesModel* model)
{
    const bool boards = model == m_board;
    const ListTotals t = boards ? ReFreshBoardLines(model->lines(), context())
                                : ReFreshRoundLines(model->lines(), context());
    settleLines(model, t.changed);
    if (t.ok())
        m_volume = t.volume;
    emit listsChanged();
    emit recomputed(model, t);
}

void ListsSession::refreshRound()
{
    refresh(m_round);
}

void ListsSession::refreshBoards()
{
    refresh(m_board);
}

void ListsSession::refreshFront()
{
    if (LinesModel* model = inFront())
        refresh(model);
}

bool ListsSession::mergeRound(std::int64_t d, double l, std::int64_t count)
{
    if (!scanRoundLines(m_round->lines(), d, l, count))
        return false;
    refreshRound();
    return true;
}

bool ListsSession::mergeBoard(std::int64_t x, std::int64_t y, double len, std::int64_t count)
{
    m_log.write(QStringLiteral("ScanBoard"));
    if (!scanBoardLines(m_board->lines(), x, y, len, count))
        return false;
    refreshBoards();
    return true;
}

void ListsSession::setSorted(bool on)
{
    m_sorted = on;
    if (!on)
        return;
    // Taking a sort back leaves the lists in the order given, and so turns
    // sorting off; making it again turns it on.
    const auto mode = [this](bool undone) {
        m_sorted = !undone;
        emit sortTurned(m_sorted);
    };
    for (LinesModel* model : {m_round, m_board})
        m_undo->record(model, kTxtStepSort, [this, model] { settleLines(model, {}); }, mode);
}

void ListsSession::settleLines(LinesModel* model, const std::vector<int>& changed)
{
    // Rows named before the sort: the views are told of a moved line by the
    // sort itself.
    model->linesChanged(changed);
    if (m_sorted)
        model->sortByFirstColumn(QCollator(), changed);
    else
        model->forgetOrder();
}

QStringList ListsSession::roundTexts() const
{
    return lineTexts(m_round->lines());
}

QStringList ListsSession::boardTexts() const
{
    return lineTexts(m_board->lines());
}

void ListsSession::loadStored(ListKind kind)
{
    const bool boards = kind == ListKind::Board;
    const QString& valueName = boards ? kBoardListValue : kRoundListValue;
    QStringList texts;
    try {
        texts = loadListTexts(m_store, valueName, boards ? boardTexts() : roundTexts());
    } catch (const UnreadListError& e) {
        m_log.write(QStringLiteral("Kept ") + valueName + QStringLiteral(" as ") + e.keptAs);
        throw;
    }
    LinesModel* m = model(kind);
    m->setLines(linesFromTexts(texts, boards ? kBoardColumns : kRoundColumns));
    refresh(m);
}

bool ListsSession::saveStored() const
{
    return saveListTexts(m_store, roundTexts(), boardTexts());
}

void ListsSession::openSaved(const QStringList& texts, bool boards)
{
    LinesModel* m = boards ? m_board : m_round;
    m_undo->record(m, kTxtStepOpen, [&] {
        m->setLines(linesFromTexts(texts, boards ? kBoardColumns : kRoundColumns));
        emit frontWanted(boards ? ListKind::Board : ListKind::Round);
    });
}

} // namespace zel
