// The lists' core: recomputing and merging a 10,000-line list, without windows.
#include "lists/calclists.h"

#include <benchmark/benchmark.h>

namespace {

zel::Lines makeRound(int n)
{
    zel::Lines lines;
    lines.reserve(n);
    for (int i = 0; i < n; ++i)
        lines.append(zel::newRoundLine(QString::number(3 + i % 118), 1.0 + (i / 118) % 85 / 10.0,
                                       QString::number(1 + i % 50)));
    return lines;
}

zel::ListContext context()
{
    zel::ListContext c;
    c.taper = 1;
    c.species = 4;
    c.moisture = 8;
    return c;
}

void BM_RecomputeRound10k(benchmark::State& state)
{
    zel::Lines lines = makeRound(10000);
    zel::ReFreshRoundLines(lines, context());
    for (auto _ : state)
        benchmark::DoNotOptimize(zel::ReFreshRoundLines(lines, context()));
}
BENCHMARK(BM_RecomputeRound10k)->Unit(benchmark::kMillisecond);

void BM_ScanRound10kNoMatch(benchmark::State& state)
{
    zel::Lines lines = makeRound(10000);
    zel::ReFreshRoundLines(lines, context());
    for (auto _ : state)
        benchmark::DoNotOptimize(zel::scanRoundLines(lines, 121, 4.0, 1));
}
BENCHMARK(BM_ScanRound10kNoMatch)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
