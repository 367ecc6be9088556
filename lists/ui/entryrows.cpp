#include "lists/ui/entryrows.h"
#include "engine/convert.h"
#include "lists/listentry.h"
#include "lists/ui/linesmodel.h"
#include "lists/ui/listssession.h"
#include "lists/ui/listundo.h"
#include "lists/ui/numberedit.h"
#include "shell/settings.h"
#include "shell/ui/dialogs.h"

#include <QLineEdit>

#include <tuple>
#include <utility>

namespace zel {
namespace {

// A number field's whole text as a signed 32-bit integer, or the conversion error.
int readInteger(const QLineEdit* edit)
{
    return StrToInt(edit->text());
}

} // namespace

EntryRows::EntryRows(ListsSession& lists, QWidget* window, RoundFields round, BoardFields board)
    : m_lists(lists)
    , m_window(window)
    , m_round(round)
    , m_board(board)
{
}

void EntryRows::addRound()
{
    m_lists.undo().record(m_lists.roundModel(), kTxtStepAdd, [this] { addRoundEntry(); });
}

void EntryRows::addBoard()
{
    m_lists.undo().record(m_lists.boardModel(), kTxtStepAdd, [this] { addBoardEntry(); });
}

void EntryRows::addRoundEntry()
{
    QLineEdit* diameter = m_round.diameter;
    if (diameter->text().isEmpty()) {
        diameter->setText(QString::number(random(10, 59)));
        diameter->selectAll();
    }
    if (m_round.count->text().isEmpty())
        m_round.count->setText(QStringLiteral("1"));
    const int d = readInteger(diameter);
    const int count = readInteger(m_round.count);
    const double len = m_round.length->value();
    for (const auto& [field, value] : {std::pair{EntryField::Diameter, d}, std::pair{EntryField::Count, count}}) {
        if (!entryFits(ListKind::Round, field, value)) {
            Dialogs::message(m_window, entryLimitMessage(ListKind::Round, field, Settings.Language));
            diameter->selectAll();
            return;
        }
    }
    if (!m_lists.mergeRound(d, len, count)) {
        m_lists.roundModel()->append(newRoundLine(diameter->text(), len, m_round.count->text()));
        m_lists.refreshRound();
    }
    // The next diameter typed replaces this one, from whichever field Enter
    // was pressed in.
    diameter->setFocus();
    diameter->selectAll();
}

void EntryRows::addBoardEntry()
{
    for (const auto& [field, low, high] : {std::tuple{m_board.width, 10, 19}, std::tuple{m_board.height, 5, 9}}) {
        if (field->text().isEmpty()) {
            field->setText(QString::number(random(low, high)));
            field->selectAll();
        }
    }
    const int x = readInteger(m_board.width);
    const int y = readInteger(m_board.height);
    const int count = readInteger(m_board.count);
    const double len = m_board.length->value();
    if (!m_lists.mergeBoard(x, y, len, count)) {
        m_lists.boardModel()->append(
            newBoardLine(m_board.width->text(), m_board.height->text(), len, m_board.count->text()));
        m_lists.refreshBoards();
    }
    m_board.width->setFocus();
    m_board.width->selectAll();
}

int EntryRows::random(int low, int high)
{
    return static_cast<int>(m_random.bounded(low, high + 1));
}

} // namespace zel
