// The summary's chart, taken from the charts module when first shown.
#pragma once

#include "shell/platform/embeddedmodule.h"
#include "summary/ui/summarycharts.h"

namespace zel {

// A module that cannot be opened leaves the chart's place empty (a plain
// widget) and the printout without a chart.
class LazyCharts : public ISummaryCharts {
public:
    explicit LazyCharts(EmbeddedModule& module);

    QWidget* makeView(QWidget* parent) override;
    void fill(QWidget* view, const LotSummary& s, const SummaryParams& p, UiLanguage language) override;
    QImage image(const LotSummary& s, const SummaryParams& p, UiLanguage language, const QSize& size,
                 double pixelRatio) override;

private:
    ModuleObject<ISummaryCharts> m_charts;
};

} // namespace zel
