// The calculation base: showing a base of 100,000 records, and saving one more.
#include "windowbench.h"
#include "base/platform/sqlitebase.h"
#include "base/ui/tform4.h"

namespace {

constexpr int kRecords = 100000;
zel::TForm1* g_form = nullptr;
QString g_path;

QStringList notes()
{
    QStringList lines;
    for (int i = 0; i < 3; ++i)
        lines << QStringLiteral("%1 см.").arg(20 + i) << QStringLiteral("4,00 м.")
              << QStringLiteral("3 шт.") << QStringLiteral("0,4410 м3.");
    return lines;
}

void BM_Show100000Records(benchmark::State& state)
{
    for (auto _ : state) {
        zel::TForm4 base(g_form, g_form->lists(), g_form->services());
        base.show(); // reads the file into the table view
        QCoreApplication::processEvents();
        if (base.base().size() < kRecords)
            state.SkipWithError("the base was not read");
        base.hide(); // unchanged: nothing written
    }
}
BENCHMARK(BM_Show100000Records)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_SaveOneMore(benchmark::State& state)
{
    zel::SqliteBaseFile file;
    static qint64 no = 2 * kRecords; // across repetitions too: numbers are unique
    for (auto _ : state) {
        zel::BaseRecord r = zel::makeRecord(QDateTime::currentDateTime(), QStringLiteral("ГОСТ 2708-75"),
                                            QStringLiteral("one more"), 1.323, notes());
        r.No = ++no;
        file.save(g_path, {r}, {});
    }
}
BENCHMARK(BM_SaveOneMore)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    return zel::runWithMainWindow(
        argc, argv,
        [](QTemporaryDir& dir) {
            g_path = dir.filePath(QStringLiteral("base.cds"));
            zel::CalcBase base;
            base.reset({}, 1);
            for (int i = 0; i < kRecords; ++i)
                base.add(zel::makeRecord(QDateTime::currentDateTime(), QStringLiteral("ГОСТ 2708-75"),
                                         QStringLiteral("Calculation %1").arg(i), 1.323, notes()));
            zel::SqliteBaseFile().save(g_path, base.added(), {});
        },
        [](zel::TForm1& form) { g_form = &form; });
}
