// The cubature table and the reports: the largest table regenerated through
// its window (offscreen), and a calculation report of 10,000 and of 100,000 lines built and
// written.
#include "windowbench.h"
#include "cubtable/ui/tform3.h"
#include "lists/ui/numberedit.h"
#include "report/reports.h"
#include "shell/settings.h"

#include <QRadioButton>

namespace {

zel::TForm1* g_form = nullptr;
QTemporaryDir* g_dir = nullptr;

void BM_LargestTable(benchmark::State& state)
{
    zel::TForm3 table(g_form, g_form->services());
    table.show();
    table.findChild<QRadioButton*>(QStringLiteral("RadioGroup1_2"))->click(); // formula: every cell computed
    const struct { const char* name; const char* text; } fields[] = {
        {"CurrencyEdit3", "0,5"}, {"CurrencyEdit5", "15,0"}, {"CurrencyEdit1", "0,1"},
        {"CurrencyEdit4", "3"},   {"CurrencyEdit6", "120"},  {"CurrencyEdit2", "1"},
    };
    for (const auto& f : fields)
        table.findChild<zel::NumberEdit*>(QLatin1String(f.name))->setText(QLatin1String(f.text));
    for (auto _ : state) {
        table.Button1Click();
        QCoreApplication::processEvents();
    }
    if (table.table().columns != 147 || table.table().rows != 119)
        state.SkipWithError("not the largest table");
    table.reject();
}
BENCHMARK(BM_LargestTable)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ReportLines(benchmark::State& state)
{
    zel::CalcReportInput in;
    in.methodName = QStringLiteral("ГОСТ 2708-75");
    in.heading = QStringLiteral("Расчет кубатуры круглого пиломатериала по ");
    in.columnCaptions = {QStringLiteral("Диаметр"), QStringLiteral("Длина"),
                         QStringLiteral("Количество"), QStringLiteral("Объём")};
    for (int i = 0; i < state.range(0); ++i)
        in.lines.append({QStringLiteral("%1 см.").arg(3 + i % 118), QStringLiteral("4,00 м."),
                         QStringLiteral("%1 шт.").arg(1 + i % 9), QStringLiteral("0,1470 м3.")});
    in.volume = QStringLiteral("1\u00A0470,0000");
    const QString path = zel::reportFilePath(g_dir->filePath(QStringLiteral("zelmora")));
    for (auto _ : state)
        zel::writeReportFile(path, zel::CalcReportDocument(in));
}
BENCHMARK(BM_ReportLines)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    return zel::runWithMainWindow(
        argc, argv, [](QTemporaryDir& dir) { g_dir = &dir; },
        [](zel::TForm1& form) { g_form = &form; });
}
