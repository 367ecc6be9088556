// Calls per second of Calculate for each method, over a spread of sizes.
#include "engine/volume.h"
#include "engine/weight.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

struct Log3 { std::uint32_t d; double l; std::uint32_t c; };

std::vector<Log3> inputs()
{
    std::vector<Log3> v;
    for (std::uint32_t d = 3; d <= 120; d += 7)
        for (int dm = 10; dm <= 95; dm += 3)
            v.push_back({d, dm / 10.0, d % 5 + 1});
    return v;
}

void BM_Calculate(benchmark::State& state)
{
    const auto method = static_cast<zel::CalcMethod>(state.range(0));
    const std::vector<Log3> in = inputs();
    size_t i = 0;
    for (auto _ : state) {
        const Log3& x = in[i];
        benchmark::DoNotOptimize(zel::Calculate(x.d, x.l, x.c, method, 1));
        if (++i == in.size())
            i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Calculate)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->ArgName("method");

void BM_WeightWood(benchmark::State& state)
{
    double v = 0.441;
    for (auto _ : state) {
        benchmark::DoNotOptimize(zel::WeightWood(v, 4, 8));
        v += 1e-9;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WeightWood);

} // namespace

BENCHMARK_MAIN();
