// Lists in and out through the real main window on the offscreen platform:
// importing and pasting 100,000 rows, exporting 100,000 lines as CSV and as
// a workbook. Goals: import and paste under 2 s, the CSV export under 1 s.
#include "windowbench.h"
#include "lists/ui/linesmodel.h"
#include "lists/ui/listexchange.h"
#include "shell/ui/dialogs.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTabWidget>

namespace {

zel::TForm1* g_form = nullptr;
zel::ListExchange* g_exchange = nullptr;
QString g_dir;

// Rows of every diameter and length in the entry row's limits: most merge.
QByteArray rows(int n, char separator)
{
    QRandomGenerator rng(1);
    QByteArray out;
    for (int i = 0; i < n; ++i) {
        const int tenths = rng.bounded(10, 151);
        out += QByteArray::number(rng.bounded(3, 121)) + separator + QByteArray::number(tenths / 10) + ','
               + QByteArray::number(tenths % 10) + separator + QByteArray::number(rng.bounded(1, 100)) + '\n';
    }
    return out;
}

void emptyList()
{
    g_form->roundModel()->setLines({});
    g_form->ReFreshList();
    QCoreApplication::processEvents();
}

void BM_Import100000Rows(benchmark::State& state)
{
    const QString file = g_dir + QStringLiteral("/rows.csv");
    QFile f(file);
    f.open(QIODevice::WriteOnly);
    f.write(rows(100000, ';'));
    f.close();
    for (auto _ : state) {
        state.PauseTiming();
        emptyList();
        zel::Dialogs::queueInput(file);
        zel::Dialogs::queueAnswer(zel::Dialogs::Yes);
        state.ResumeTiming();
        g_exchange->importList();
        QCoreApplication::processEvents();
    }
    state.counters["lines"] = g_form->roundModel()->size();
}

void BM_Paste100000Rows(benchmark::State& state)
{
    QGuiApplication::clipboard()->setText(QString::fromLatin1(rows(100000, '\t')));
    for (auto _ : state) {
        state.PauseTiming();
        emptyList();
        state.ResumeTiming();
        g_exchange->pasteLines();
        QCoreApplication::processEvents();
    }
    state.counters["lines"] = g_form->roundModel()->size();
}

// 100,000 board rows that do not merge: as many new lines.
void BM_ImportBoards100000NewLines(benchmark::State& state)
{
    const QString file = g_dir + QStringLiteral("/boards.csv");
    QFile f(file);
    f.open(QIODevice::WriteOnly);
    for (int i = 0; i < 100000; ++i)
        f.write(QByteArray::number(1 + i % 1000) + ';' + QByteArray::number(1 + i / 1000) + ";6,0;3\n");
    f.close();
    auto* tabs = g_form->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    tabs->setCurrentIndex(1);
    for (auto _ : state) {
        state.PauseTiming();
        g_form->boardModel()->setLines({});
        g_form->ReFreshListBoard();
        QCoreApplication::processEvents();
        zel::Dialogs::queueInput(file);
        zel::Dialogs::queueAnswer(zel::Dialogs::Yes);
        state.ResumeTiming();
        g_exchange->importList();
        QCoreApplication::processEvents();
    }
    state.counters["lines"] = g_form->boardModel()->size();
    tabs->setCurrentIndex(0);
}

// 100,000 distinct lines, set straight into the list (the entry limits allow
// fewer distinct ones), and recomputed once.
void fill100000Lines()
{
    zel::Lines lines;
    for (int i = 0; i < 100000; ++i)
        lines.append(zel::newRoundLine(QString::number(3 + i % 500), 1.0 + (i / 500) / 10.0, QString::number(1 + i % 7)));
    g_form->roundModel()->setLines(lines);
    g_form->ReFreshList();
    QCoreApplication::processEvents();
}

void exportBench(benchmark::State& state, const QString& name)
{
    fill100000Lines();
    const QString file = g_dir + QLatin1Char('/') + name;
    for (auto _ : state) {
        zel::Dialogs::queueInput(file);
        g_exchange->exportList();
    }
    state.counters["bytes"] = static_cast<double>(QFile(file).size());
}

void BM_ExportCsv100000Lines(benchmark::State& state)
{
    exportBench(state, QStringLiteral("list.csv"));
}

void BM_ExportWorkbook100000Lines(benchmark::State& state)
{
    exportBench(state, QStringLiteral("list.xlsx"));
}

BENCHMARK(BM_Import100000Rows)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(BM_ImportBoards100000NewLines)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(BM_Paste100000Rows)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(BM_ExportCsv100000Lines)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(BM_ExportWorkbook100000Lines)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(3)->ReportAggregatesOnly();

} // namespace

int main(int argc, char** argv)
{
    zel::Dialogs::setScripted(true);
    return zel::runWithMainWindow(argc, argv, [](QTemporaryDir& dir) { g_dir = dir.path(); },
                                  [](zel::TForm1& form) {
                                      g_form = &form;
                                      g_exchange = form.findChild<zel::ListExchange*>();
                                  });
}
