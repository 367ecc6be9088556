// The main window's way into the lot summary.
#include "shell/ui/tform1.h"
#include "summary/ui/lotsummarywindow.h"

namespace zel {

// Made at the first call and kept: it remembers its list and follows it.
void TForm1::LotSummaryClick()
{
    Log(QStringLiteral("Lot summary"));
    if (!m_summary)
        m_summary = new LotSummaryWindow(*this);
    m_summary->openSummary();
}

} // namespace zel
