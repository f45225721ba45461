// The column design of a five-bed column with its internals: 70 stages of
// varying HETP and pressure drop, at most 15 stages a bed (target under 1 ms).
#include <benchmark/benchmark.h>

#include "ColumnDesign.h"

namespace
{

ColumnDesignInput FiveBeds()
{
    ColumnDesignInput in;
    for (int i = 1; i <= 70; ++i)
        in.stages.push_back({i, 0.3 + 0.001 * (i % 7), 1.5 + 0.01 * (i % 5), 60.0 + 0.1 * (i % 11)});
    in.designHETP = 0.3;
    in.hetpMargin = 10;
    in.maxima = {6.0, 15};
    in.diameter = 2.4;
    in.uVs = 1.8;
    in.rhoV = 3.0;
    in.liquidLoad = 25;
    in.area = 250;
    return in;
}

void BM_FiveBedColumnDesign(benchmark::State& state)
{
    const ColumnDesignInput in = FiveBeds();
    for (auto _ : state) {
        ColumnDesign d = DesignColumn(in);
        if (d.beds.size() != 5) state.SkipWithError("not five beds");
        benchmark::DoNotOptimize(d);
    }
}
BENCHMARK(BM_FiveBedColumnDesign)->Unit(benchmark::kMicrosecond);

} // namespace
