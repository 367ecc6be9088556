#include "online/ui/logtab.h"
#include "online/ui/memolines.h"
#include "shell/log.h"

#include <QPlainTextEdit>

namespace zel {

LogTab::LogTab(zel::Log& log, QPlainTextEdit* memo, QObject* parent)
    : QObject(parent)
    , m_log(log)
    , m_memo(memo)
{
    // Entries may come from a worker thread; they are shown on the UI thread.
    connect(&m_log, &zel::Log::appended, this, &LogTab::appended);
}

void LogTab::showNew()
{
    const QStringList fresh = m_log.entries(m_shown);
    m_shown += fresh.size();
    for (const QString& e : fresh)
        m_memo->appendPlainText(e);
}

bool LogTab::save()
{
    showNew();
    const QString text = m_memo->toPlainText();
    return saveLogLines(m_log.filePath(), text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n')));
}

QStringList LogTab::lines()
{
    showNew();
    return displayedLines(m_memo);
}

void LogTab::appended()
{
    if (m_memo->isVisible())
        showNew();
}

} // namespace zel
