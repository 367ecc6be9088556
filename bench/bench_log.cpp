// Activity-log entries per second, from one thread and from two at once.
#include "shell/log.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

std::unique_ptr<zel::Log> g_log;

void BM_LogAppend(benchmark::State& state)
{
    if (state.thread_index() == 0)
        g_log = std::make_unique<zel::Log>();
    const QString label = QStringLiteral("Check message from Halvane");
    for (auto _ : state)
        g_log->write(label);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LogAppend)->Threads(1)->Threads(2)->UseRealTime();

// 100,000 entries into a fresh log, end to end.
void BM_Log100k(benchmark::State& state)
{
    const QString label = QStringLiteral("Add round");
    for (auto _ : state) {
        zel::Log log;
        for (int i = 0; i < 100000; ++i)
            log.write(label);
        benchmark::DoNotOptimize(log.size());
    }
}
BENCHMARK(BM_Log100k)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
