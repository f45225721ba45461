// What the efficiency models add on top of a recalculation: every model,
// the spread and the design HETP of a computed case.
#include <benchmark/benchmark.h>

#include "CalcPage.h"
#include "EfficiencyModels.h"
#include "Messages.h"
#include "TypicalCase.h"

namespace
{

void BM_EfficiencyOfAComputedCase(benchmark::State& state)
{
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    CalcPage page;
    TypeTypicalCase(page);
    page.LDExit();
    for (auto _ : state) {
        const EfficiencyResult r = EvaluateEfficiency(page, DesignHetpChoice::Largest);
        benchmark::DoNotOptimize(DesignHetp(r));
    }
    const EfficiencyResult r = EvaluateEfficiency(page, DesignHetpChoice::Largest);
    if (!sink.messages.empty() || !DesignHetp(r) || !r.models[1].completed)
        state.SkipWithError("the case did not compute every model");
}
BENCHMARK(BM_EfficiencyOfAComputedCase);

} // namespace
