// What the efficiency models add on top of a recalculation: every model,
// the spread and the design HETP of a computed case.
#include <benchmark/benchmark.h>

#include "CalcPage.h"
#include "EfficiencyModels.h"
#include "Messages.h"

namespace
{

void TypeCase(CalcPage& page)
{
    const char* values[][2] = {{"LD", "2.5"},     {"VD", "3.0"},      {"DlD", "800"},  {"DvD", "2.5"},
                               {"MlD", "0.0003"}, {"MvD", "0.00001"}, {"SLD", "0.02"}, {"DlfD", "2e-9"},
                               {"DvfD", "1e-5"},  {"alfD", "2"}};
    for (auto& v : values)
        page.Field(v[0])->SetText(v[1]);
}

void BM_EfficiencyOfAComputedCase(benchmark::State& state)
{
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    CalcPage page;
    TypeCase(page);
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
