// The lot's acceptance document: what a clerk hands over with a lot and
// both sides sign. Its header (the lot, the parties, the place, the date and
// the settings in force), the summary's tables, the chart, every line of the
// list with its totals and the signature lines, laid out on pages.
#pragma once

#include "report/pageflow.h"
#include "summary/summarydoc.h"

#include <QLocale>

namespace zel {

// Language-table entries of the document.
enum AcceptanceText {
    kTxtAcceptance = 300, // the document's title
    kTxtLotNumber = 301,
    kTxtSeller = 302,
    kTxtBuyer = 303,
    kTxtPlace = 304,
    kTxtSignature = 305,
    kTxtListLines = 306,
    kTxtOutOfTableMark = 307,
};

// What the user typed about the lot in the summary window.
struct LotParties {
    QString lotNumber;
    QString seller;
    QString buyer;
    QString place;
};

struct AcceptanceSource {
    const LotSummary& summary;
    const SummaryParams& params;
    SummarySettings settings; // its language the document's
    LotParties parties;
    const Lines& lines;       // of the list summed up
    bool chart = false;       // the chart goes in as picture 0
};

// The list's lines as the document prints them: No and the list's columns,
// numbers as the list shows them, for round timber a mark for a line outside
// the table; then the totals row, the sums of the printed lines.
TextTable acceptanceLines(const Lines& lines, bool boards, const ListContext& ctx);

// The document on pages of `area` points. The chart, where there is one,
// is as wide as the text at most.
FlowPages layOutAcceptance(const AcceptanceSource& source, const QSizeF& area, const TextMeasure& measure);

// Whether the paper of the country is US Letter rather than A4.
bool usesLetter(QLocale::Territory territory);

// The chart's height to its width.
constexpr double kChartAspect = 0.55;

} // namespace zel
