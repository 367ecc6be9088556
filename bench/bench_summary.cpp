// The lot summary of a 10,000-line round list through the real windows on
// the offscreen platform: opening it, following a change of the list (chart
// included), and writing its acceptance document as PDF, every line on over
// 200 pages, aimed at 2 s at most; and its update, aimed at 100 ms at most,
// for a list of 100,000 lines and for a line of 10,000 logs coming and going.
#include "windowbench.h"
#include "lists/ui/linesmodel.h"
#include "shell/settings.h"
#include "summary/ui/lotsummarywindow.h"

#include <QFileInfo>
#include <QTemporaryDir>

namespace {

zel::TForm1* g_form = nullptr;

void fill10000(zel::TForm1& form)
{
    form.roundModel()->setLines(zel::distinctRoundLines(10000));
    form.ReFreshList();
    QCoreApplication::processEvents();
}

// The window is made at the first opening and kept; each opening is the
// key's whole work, the summary and the chart computed afresh.
void BM_OpenSummary10000Lines(benchmark::State& state)
{
    fill10000(*g_form);
    for (auto _ : state) {
        g_form->LotSummaryClick();
        QCoreApplication::processEvents();
        state.PauseTiming();
        g_form->summaryWindow()->hide();
        state.ResumeTiming();
    }
    if (g_form->summaryWindow()->summary().count == 0)
        state.SkipWithError("the summary counted no logs");
}
BENCHMARK(BM_OpenSummary10000Lines)->Unit(benchmark::kMillisecond)->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A list change while the summary is open: the list's own recomputation is
// outside the timing; the summary's update that it starts is inside.
void updateSummaryOfLines(benchmark::State& state, int n)
{
    g_form->roundModel()->setLines(zel::distinctRoundLines(n));
    g_form->ReFreshList();
    g_form->LotSummaryClick();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        g_form->ReFreshList();
        state.ResumeTiming();
        QCoreApplication::processEvents();
    }
    if (g_form->summaryWindow()->summary().count == 0)
        state.SkipWithError("the summary counted no logs");
}

void BM_UpdateSummary10000Lines(benchmark::State& state)
{
    updateSummaryOfLines(state, 10000);
}
BENCHMARK(BM_UpdateSummary10000Lines)->Unit(benchmark::kMillisecond)->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_UpdateSummary100000Lines(benchmark::State& state)
{
    updateSummaryOfLines(state, 100000);
}
BENCHMARK(BM_UpdateSummary100000Lines)->Unit(benchmark::kMillisecond)->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The chart's count axis goes from 0..8 to 0..15,000 and back: each step is
// a list of one line, of 3 logs or of 10,000.
void BM_UpdateSummaryLineOf10000Logs(benchmark::State& state)
{
    g_form->LotSummaryClick();
    bool many = false;
    for (auto _ : state) {
        state.PauseTiming();
        many = !many;
        g_form->roundModel()->setLines(
            {zel::newRoundLine(QStringLiteral("20"), 4.0, many ? QStringLiteral("10000") : QStringLiteral("3"))});
        g_form->ReFreshList();
        state.ResumeTiming();
        QCoreApplication::processEvents();
    }
    if (g_form->summaryWindow()->summary().count == 0)
        state.SkipWithError("the summary counted no logs");
}
BENCHMARK(BM_UpdateSummaryLineOf10000Logs)->Unit(benchmark::kMillisecond)->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_WriteSummaryPdf10000Lines(benchmark::State& state)
{
    fill10000(*g_form);
    g_form->LotSummaryClick();
    QCoreApplication::processEvents();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("summary.pdf"));
    for (auto _ : state) {
        if (!g_form->summaryWindow()->writePdf(file))
            state.SkipWithError("the PDF was not written");
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(file).size());
}
BENCHMARK(BM_WriteSummaryPdf10000Lines)->Unit(benchmark::kMillisecond)->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    return zel::runWithShownMainWindow(argc, argv, g_form);
}
