// Full recalculation of a fresh case, per flooding method, and a re-solve
// after one input changes.
#include <benchmark/benchmark.h>

#include "CalcPage.h"
#include "Messages.h"
#include "TypicalCase.h"

namespace
{

void BM_FullRecalculation(benchmark::State& state)
{
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    const int method = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto page = std::make_unique<CalcPage>();
        page->Combo("UfMD")->SetItemIndex(method);
        TypeTypicalCase(*page);
        state.ResumeTiming();
        page->LDExit();
        benchmark::DoNotOptimize(page->Field("HETPD")->Text());
        state.PauseTiming();
        page.reset();
        state.ResumeTiming();
    }
    if (!sink.messages.empty()) state.SkipWithError(sink.messages.front().text.c_str());
}
BENCHMARK(BM_FullRecalculation)->Arg(0)->Arg(1)->Arg(2);

void BM_ResolveAfterOneInput(benchmark::State& state)
{
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    CalcPage page;
    TypeTypicalCase(page);
    page.LDExit();
    bool toggle = false;
    for (auto _ : state) {
        page.Field("LD")->SetText(toggle ? "2.5" : "2.6");
        toggle = !toggle;
        page.LDExit();
        benchmark::DoNotOptimize(page.Field("HETPD")->Text());
    }
    if (!sink.messages.empty()) state.SkipWithError(sink.messages.front().text.c_str());
}
BENCHMARK(BM_ResolveAfterOneInput);

// What the operating check adds to every completed recalculation: the stale
// marks, the figures and the warnings, read from a computed page. Stages and
// an emptied input make every part of it run.
void BM_OperatingCheck(benchmark::State& state)
{
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    CalcPage page;
    TypeTypicalCase(page);
    page.Field("StagesD")->SetText("20");
    page.LDExit();
    if (state.range(0) == 1) {
        page.Field("DlD")->SetText("");
        page.LDExit();
    }
    for (auto _ : state) {
        page.UpdateOperation();
        benchmark::DoNotOptimize(page.Operation().warnings.size());
    }
    if (!sink.messages.empty()) state.SkipWithError(sink.messages.front().text.c_str());
}
BENCHMARK(BM_OperatingCheck)->Arg(0)->Arg(1);

} // namespace
