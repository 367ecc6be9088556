// The round-timber list through the real main window on the offscreen
// platform: adding the 10,000th line, and recomputing 10,000 lines.
#include "windowbench.h"
#include "lists/ui/linesmodel.h"
#include "lists/ui/numberedit.h"
#include "shell/settings.h"

#include <QLineEdit>


namespace {

zel::TForm1* g_form = nullptr;

// 9,999 lines of distinct diameter and length, so that a new one cannot merge.
void fillDistinct(zel::TForm1& form, int n)
{
    form.roundModel()->setLines(zel::distinctRoundLines(n));
    form.ReFreshList();
    QCoreApplication::processEvents();
}

void BM_AddThe10000thLine(benchmark::State& state)
{
    fillDistinct(*g_form, 9999);
    auto* d = g_form->findChild<QLineEdit*>(QStringLiteral("Edit1"));
    auto* len = g_form->findChild<zel::NumberEdit*>(QStringLiteral("CurrencyEdit1"));
    auto* count = g_form->findChild<QLineEdit*>(QStringLiteral("Edit3"));
    for (auto _ : state) {
        // The 9,999 lines stop at 9.4 m: a line at 9.5 m is always new.
        d->setText(QStringLiteral("120"));
        len->setText(QStringLiteral("9,5"));
        count->setText(QStringLiteral("2"));
        QMetaObject::invokeMethod(g_form, "Button1Click");
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (g_form->roundModel()->size() != 10000)
            state.SkipWithError("the line merged instead of being added");
        g_form->roundModel()->removeLine(9999);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddThe10000thLine)->Unit(benchmark::kMillisecond)->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_Recompute10000Lines(benchmark::State& state)
{
    fillDistinct(*g_form, 10000);
    for (auto _ : state) {
        g_form->ReFreshList();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_Recompute10000Lines)->Unit(benchmark::kMillisecond)->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    zel::Settings.TypeWood = 4;
    zel::Settings.WetWood = 8;
    zel::Settings.DownGradeWood = 1;
    return zel::runWithMainWindow(argc, argv, {}, [](zel::TForm1& form) {
        form.show();
        g_form = &form;
    });
}
