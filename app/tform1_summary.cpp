// The main window's way into the lot summary.
#include "app/tform1.h"
#include "shell/settingsio.h"
#include "summary/lotsummary.h"
#include "summary/ui/lotsummarywindow.h"

namespace zel {

// Made at the first call and kept: it remembers its list and follows it.
void TForm1::LotSummaryClick()
{
    Log(QStringLiteral("Lot summary"));
    if (!m_summary)
        m_summary = new LotSummaryWindow(*m_lists, m_services, summaryParams(), this);
    m_summary->openSummary();
}

// A value that does not read falls back to its default and is logged; it
// never stops the start, and nothing is written back until the user changes it.
void TForm1::readSummaryParams()
{
    QStringList unread, fellBack;
    m_summaryParams = std::make_shared<SummaryParams>(
        paramsFromStored(readSummaryValues(m_services.store, unread), fellBack));
    for (const QString& name : unread + fellBack)
        Log(QStringLiteral("Summary value unread ") + name);
}

const SummaryParams& TForm1::summaryParams()
{
    if (!m_summaryParams)
        readSummaryParams();
    return *m_summaryParams;
}

} // namespace zel
