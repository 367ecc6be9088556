// The entry rows under the two lists: what is typed there goes into its list
// as a new line, or into the line of the same sizes, as one step of the undo.
#pragma once

#include <QRandomGenerator>

class QLineEdit;
class QWidget;

namespace zel {

class ListsSession;
class NumberEdit;

class EntryRows {
public:
    struct RoundFields {
        QLineEdit* diameter;
        NumberEdit* length;
        QLineEdit* count;
    };
    struct BoardFields {
        QLineEdit* width;
        QLineEdit* height;
        NumberEdit* length;
        QLineEdit* count;
    };

    // `window` owns the boxes that tell of an entry out of bounds.
    EntryRows(ListsSession& lists, QWidget* window, RoundFields round, BoardFields board);

    void addRound();
    void addBoard();

private:
    void addRoundEntry();
    void addBoardEntry();
    // A default of an empty entry field, whole and in [low, high].
    int random(int low, int high);

    ListsSession& m_lists;
    QWidget* m_window;
    RoundFields m_round;
    BoardFields m_board;
    // Seeded once: a generator seeded from the clock at every draw gives the
    // width and the height of one click the same seed, so the height would
    // follow from the width.
    QRandomGenerator m_random{QRandomGenerator::global()->generate()};
};

} // namespace zel
