// The two lists of the main window as one document: their models, the
// merging of an entry into a line, the recomputation, the sorting, the undo,
// and keeping them in the store. The windows that read or change the lists
// (the list exchange, the lot summary, the calculation base) go through here.
#pragma once

#include "lists/calclists.h"
#include "lists/listentry.h"
#include "report/reports.h"

#include <QObject>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

namespace zel {

class ISettingsStore;
class LinesModel;
class ListUndo;
class Log;

class ListsSession : public QObject {
    Q_OBJECT
public:
    // Which list the window has in front; none on the Messages and Log tabs.
    using Front = std::function<std::optional<ListKind>()>;

    ListsSession(ISettingsStore& store, Log& log, Front front, QObject* parent = nullptr);

    LinesModel* roundModel() const { return m_round; }
    LinesModel* boardModel() const { return m_board; }
    LinesModel* model(ListKind kind) const { return kind == ListKind::Board ? m_board : m_round; }
    // Every command that changes a list is recorded there.
    ListUndo& undo() { return *m_undo; }
    Log& log() { return m_log; }

    // The list in front, null when there is none.
    LinesModel* inFront() const;
    // The list's lines, captions, heading and method as the calculation
    // report prints them (the totals are the window's to add).
    CalcReportInput reportInput(ListKind kind) const;
    bool roundInFront() const { return m_front() == ListKind::Round; }
    bool boardInFront() const { return m_front() == ListKind::Board; }
    // What a recomputation reads of the settings now.
    ListContext context() const;

    // Recomputes every line of a list and its totals.
    void refreshRound();
    void refreshBoards();
    void refresh(LinesModel* model);
    // Recomputes the list in front; with none in front, nothing.
    void refreshFront();

    // Merges an entry into an existing line and recomputes; true when it did.
    bool mergeRound(std::int64_t d, double l, std::int64_t count);
    bool mergeBoard(std::int64_t x, std::int64_t y, double len, std::int64_t count);

    // Both lists kept in the text order of their first column, or as given.
    void setSorted(bool on);
    bool sorted() const { return m_sorted; }

    // The column texts of every line, a line that does not read included:
    // what the lists are saved from.
    QStringList roundTexts() const;
    QStringList boardTexts() const;
    // A stored list in place of the one held, recomputed. A stored value that
    // does not read is kept under another name, logged, and thrown.
    void loadStored(ListKind kind);
    // Both lists into the store; false when the store did not take them.
    bool saveStored() const;
    // A saved calculation over its list (one step of the undo), brought to front.
    void openSaved(const QStringList& texts, bool boards);
    // The total volume of the list recomputed last, as its field shows it.
    const QString& volumeText() const { return m_volume; }
    // The captions changed language: whatever follows the lists relabels.
    void languageSwitched() { emit listsChanged(); }
    // The report of the list in front, in a preview that `owner` holds.
    void requestReport(QWidget* owner) { emit reportWanted(owner); }

signals:
    // A list was recomputed or the language switched.
    void listsChanged();
    // A list was recomputed: the totals to show, or the line it stopped at.
    void recomputed(zel::LinesModel* model, const zel::ListTotals& totals);
    // An undo or redo of a sort turned sorting off or on.
    void sortTurned(bool on);
    // A calculation was opened into a list: that list comes to front.
    void frontWanted(zel::ListKind kind);
    void reportWanted(QWidget* owner);

private:
    // After a list's lines changed: in their sorted place when sorting is
    // on, the views told.
    void settleLines(LinesModel* model, const std::vector<int>& changed);

    ISettingsStore& m_store;
    Log& m_log;
    Front m_front;
    LinesModel* m_round;
    LinesModel* m_board;
    ListUndo* m_undo;
    bool m_sorted = false;
    QString m_volume;
};

} // namespace zel
