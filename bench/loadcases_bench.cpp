// Ten load cases of a section sized, rated at the section's diameter, with
// the operating window of the normal case (and a pressure-drop limit, so
// that the window's upper end is searched too); and the recalculation of a
// page sized to a pressure-drop limit.
#include <benchmark/benchmark.h>

#include "CaseRun.h"
#include "LoadCases.h"
#include "Messages.h"
#include "TypicalCase.h"

namespace
{

std::vector<LoadCase> TenCases()
{
    std::vector<LoadCase> cases;
    for (int i = 0; i < 10; ++i) {
        LoadCase c;
        c.name = i == 4 ? "正常" : "case " + std::to_string(i);
        const double k = 0.4 + 0.1 * i;
        c.values.V = 3.0 * k;
        c.values.L = 2.5 * k;
        if (i % 3 == 0) c.values.rhoV = 2.5 + 0.1 * i; // some with their own properties
        cases.push_back(c);
    }
    return cases;
}

void BM_TenCasesAndWindow(benchmark::State& state)
{
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    CalcPage page(false);
    TypeTypicalCase(page);
    if (state.range(0)) {
        page.Combo("DesignBasisD")->SetItemIndex(2);
        page.Field("DpLimitD")->SetText("1.2");
    }
    const std::vector<LoadCase> cases = TenCases();
    bool ok = false;
    for (auto _ : state) {
        const EnvelopeResult r = RateLoadCases(page, cases);
        ok = r.window.valid && r.governing;
        benchmark::DoNotOptimize(r.cases.data());
    }
    if (!ok) state.SkipWithError("no window or no governing case");
}
BENCHMARK(BM_TenCasesAndWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The page recalculated from clean results, as a trigger recalculates it,
// with the pressure-drop basis (range 1) or today's flood basis (range 0).
void BM_PressureDropLimitedDiameter(benchmark::State& state)
{
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    CalcPage page(false);
    TypeTypicalCase(page);
    if (state.range(0)) {
        page.Combo("DesignBasisD")->SetItemIndex(1);
        page.Field("DpLimitD")->SetText("2");
    }
    CalcPage work(false);
    bool ok = false;
    for (auto _ : state) {
        CopyPageState(page, work);
        ok = RunCase(work).completed && work.Design().governs == (state.range(0) ? "pressure-drop" : "flood");
    }
    if (!ok) state.SkipWithError("the recalculation failed");
}
BENCHMARK(BM_PressureDropLimitedDiameter)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
