#include "summary/ui/lazycharts.h"

#include <QWidget>

namespace zel {

LazyCharts::LazyCharts(EmbeddedModule& module)
    : m_charts(module, kSummaryChartsOpen)
{
}

QWidget* LazyCharts::makeView(QWidget* parent)
{
    if (ISummaryCharts* c = m_charts.get())
        return c->makeView(parent);
    auto* empty = new QWidget(parent);
    empty->setObjectName(QStringLiteral("Chart"));
    empty->setToolTip(m_charts.error());
    return empty;
}

void LazyCharts::fill(QWidget* view, const LotSummary& s, const SummaryParams& p, UiLanguage language)
{
    if (ISummaryCharts* c = m_charts.get())
        c->fill(view, s, p, language);
}

QImage LazyCharts::image(const LotSummary& s, const SummaryParams& p, UiLanguage language, const QSize& size,
                         double pixelRatio)
{
    ISummaryCharts* c = m_charts.get();
    return c ? c->image(s, p, language, size, pixelRatio) : QImage();
}

} // namespace zel
