// The lot summary's chart: volume bars (coloured by class for round timber,
// with the count as a line on a second axis), for the window and the
// printout. Qt Charts (with Qt OpenGL behind it) draws it; the program
// carries it as a module of its own, opened when a summary is first shown.
#pragma once

#include "summary/lotsummary.h"

#include <QImage>

class QWidget;

namespace zel {

class ISummaryCharts {
public:
    virtual ~ISummaryCharts() = default;
    // An empty chart view, a child of `parent`, named "Chart".
    virtual QWidget* makeView(QWidget* parent) = 0;
    // Shows the summary in a view that makeView made.
    virtual void fill(QWidget* view, const LotSummary& s, const SummaryParams& p, UiLanguage language) = 0;
    // The chart laid out at `size` and drawn on white at `pixelRatio` image
    // pixels to each of its own, for the printed summary: a page's chart as
    // sharp as its text, its words the size they have on the screen.
    virtual QImage image(const LotSummary& s, const SummaryParams& p, UiLanguage language, const QSize& size,
                         double pixelRatio) = 0;
};

// The charts module's one entry, ISummaryCharts* zelmora_charts_open(): the
// charts, for the rest of the run.
inline constexpr const char kSummaryChartsOpen[] = "zelmora_charts_open";

// Qt Charts' own (zel_charts; the module is made of it).
ISummaryCharts& qtSummaryCharts();

} // namespace zel
