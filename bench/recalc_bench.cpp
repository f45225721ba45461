// Full recalculation of a fresh case, per flooding method, and a re-solve
// after one input changes.
#include <benchmark/benchmark.h>

#include "CalcPage.h"
#include "Messages.h"

namespace {

void TypeCase(CalcPage& page)
{
    const char* values[][2] = {{"LD", "2.5"},  {"VD", "3.0"},    {"DlD", "800"},   {"DvD", "2.5"},
                               {"MlD", "0.0003"}, {"MvD", "0.00001"}, {"SLD", "0.02"}, {"DlfD", "2e-9"},
                               {"DvfD", "1e-5"}, {"alfD", "2"}};
    for (auto& v : values)
        page.Field(v[0])->SetText(v[1]);
}

void BM_FullRecalculation(benchmark::State& state)
{
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    const int method = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto page = std::make_unique<CalcPage>();
        page->Combo("UfMD")->SetItemIndex(method);
        TypeCase(*page);
        state.ResumeTiming();
        page->LDExit();
        benchmark::DoNotOptimize(page->Field("HETPD")->Text());
        state.PauseTiming();
        page.reset();
        state.ResumeTiming();
    }
    if (!sink.messages.empty())
        state.SkipWithError(sink.messages.front().text.c_str());
}
BENCHMARK(BM_FullRecalculation)->Arg(0)->Arg(1)->Arg(2);

void BM_ResolveAfterOneInput(benchmark::State& state)
{
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    CalcPage page;
    TypeCase(page);
    page.LDExit();
    bool toggle = false;
    for (auto _ : state) {
        page.Field("LD")->SetText(toggle ? "2.5" : "2.6");
        toggle = !toggle;
        page.LDExit();
        benchmark::DoNotOptimize(page.Field("HETPD")->Text());
    }
    if (!sink.messages.empty())
        state.SkipWithError(sink.messages.front().text.c_str());
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
    TypeCase(page);
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
    if (!sink.messages.empty())
        state.SkipWithError(sink.messages.front().text.c_str());
}
BENCHMARK(BM_OperatingCheck)->Arg(0)->Arg(1);

} // namespace
