// The whole comparison table recomputed from a computed page: every
// catalogue packing with the page's method, and with all three methods.
#include <benchmark/benchmark.h>

#include "PackingComparison.h"
#include "TypicalCase.h"

namespace
{

void BM_PackingComparison(benchmark::State& state)
{
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    CalcPage live;
    TypeTypicalCase(live);
    live.LDExit();
    PackingComparison comparison;
    const bool allMethods = state.range(0) != 0;
    size_t rows = 0;
    for (auto _ : state) {
        const auto table = comparison.Run(live, allMethods);
        rows = table.size();
        benchmark::DoNotOptimize(table.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
    if (!sink.messages.empty()) state.SkipWithError(sink.messages.front().text.c_str());
}
// 0: the page's method (27 rows); 1: all three methods (81 rows).
BENCHMARK(BM_PackingComparison)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
