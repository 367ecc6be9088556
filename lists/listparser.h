// Reading a list from text: CSV or tab-separated, from a file, the clipboard
// or standard input. The one reader of the import, the paste and the
// command-line calculator.
#pragma once

#include "lists/listentry.h"

#include <QByteArray>
#include <QString>
#include <QVector>

namespace zel {

// Why a row was not used; the field's text as the row held it.
struct RowProblem {
    enum Kind { Missing, NotNumber, NotWhole, OutOfRange, Decimals };
    Kind kind = Missing;
    EntryField field = EntryField::Count;
    QString text;
};

struct ParsedRow {
    int row = 0; // line of the text the row starts on, from 1
    EntryValues values;
};

struct SkippedRow {
    int row = 0;
    RowProblem problem;
};

struct ParsedList {
    // What keeps the whole text from being read; no row is then used.
    enum Failure { None, NotText, Empty, TooLarge, NoColumn };
    Failure failure = None;
    EntryField missingColumn = EntryField::Length; // with NoColumn

    QVector<ParsedRow> rows;
    QVector<SkippedRow> skipped;
    QChar separator;
    QChar decimalMark;
    bool header = false;
    // The column each of entryFields() is read from, -1 for a count in none;
    // with a header, its captions, and those of the columns no field is read
    // from.
    QVector<int> columns;
    QStringList captions;
    QStringList unreadColumns;

    // A header that has columns the reader could not place, while no column
    // holds the count: every row then counts as one log (board), which the
    // user must know before anything is added.
    bool countMayBeUnread() const;
};

// The separator (";", "," or tab) and the decimal mark (comma or point) are
// found from the text. A first row with words in it is a header: its captions
// (in any of the three languages or the short forms clerks write, "Qty",
// "Dia", "Кол-во"..., with or without a unit after a comma, a blank or in
// brackets) say which column holds what, and other columns are ignored. Without one the
// columns go by position: diameter, length, count (width, height, length,
// count for boards), a count left out meaning 1. Each row is held to the
// entry row's limits; the first thing wrong with it is its problem.
class ListParser {
public:
    explicit ListParser(ListKind kind) : m_kind(kind) {}

    // Bytes of a file: UTF-8 with or without a byte-order mark, UTF-16 with
    // one, or else Windows-1251.
    ParsedList parseFile(const QByteArray& bytes) const;
    ParsedList parseText(const QString& text) const;

    static constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

private:
    ListKind m_kind;
};

// A number as a spreadsheet may write it: a sign, thousands grouped with
// blanks, apostrophes or the other mark, the decimal mark and an exponent.
// False for anything else.
bool readDecimal(const QString& text, QChar decimalMark, double* value);

// The texts the user reads, in a language.
QString fieldName(EntryField field, UiLanguage language);
QString describeProblem(const RowProblem& problem, ListKind kind, UiLanguage language);
// "row 4 (diameter 130 out of 3..120)", one per skipped row, at most `most`
// of them, joined by `joint`; "…" ends a list that was cut.
QString describeSkipped(const QVector<SkippedRow>& skipped, ListKind kind, UiLanguage language,
                        int most, const QString& joint);
// The captions a header may give a field, as the user reads them.
QStringList acceptedCaptions(EntryField field, UiLanguage language);
// Empty when the text was read.
QString describeFailure(const ParsedList& parsed, UiLanguage language);
// The columns left unread and that each row counts as one; empty unless
// countMayBeUnread().
QString describeUnreadCount(const ParsedList& parsed, ListKind kind, UiLanguage language);

// The pieces and volume the rows make as a list of their own, computed as
// the list computes them.
struct RowsAmount {
    long long pieces = 0;
    long long volume = 0; // units of 0.0001 m3
};
RowsAmount rowsAmount(const ParsedList& parsed, ListKind kind, const ListContext& ctx);

// The question before anything is added, or, with no row to add, the
// message: the rows to add and what they hold, the rows skipped, the column
// each field was read from and, where every row counts as one, the columns
// left unread.
QString importQuestion(const ParsedList& parsed, ListKind kind, UiLanguage language, const RowsAmount& amount);

} // namespace zel
