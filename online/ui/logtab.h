// The Log tab: the activity log's entries as they come, and the log file
// written from what the tab shows.
#pragma once

#include <QObject>
#include <QStringList>

class QPlainTextEdit;

namespace zel {

class Log;

class LogTab : public QObject {
    Q_OBJECT
public:
    LogTab(zel::Log& log, QPlainTextEdit* memo, QObject* parent = nullptr);

    // Entries not yet in the memo appended to it, in their order.
    void showNew();
    // The log is what the tab shows, the user's edits included: the file
    // takes the memo's text, as the upload does, each entry on a line of
    // its own however the memo wraps it. False when it could not be written.
    bool save();
    // Every entry in, the memo's lines as it shows them.
    QStringList lines();

private:
    // A new entry is shown at once only where it can be seen. The tab comes
    // forward through a tab change, which is logged: it takes the entries
    // kept back then, or when its text is read.
    void appended();

    zel::Log& m_log;
    QPlainTextEdit* m_memo;
    qsizetype m_shown = 0;
};

} // namespace zel
