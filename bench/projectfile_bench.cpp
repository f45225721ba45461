// Opening and saving a project: reading a compressed form record file into a
// fresh page (alone, and as the Open command with its recalculation), the
// legacy layout, and a save (compress, write, flush to disk, rename).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

#include "CalcPage.h"
#include "Messages.h"
#include "PackingCatalogue.h"
#include "ProjectCommands.h"
#include "SafeFileReplacer.h"
#include "SaveFormData.h"
#include "SaveFormDataFile.h"
#include "TypicalCase.h"

namespace
{

void TypeCase(CalcPage& page)
{
    TypeTypicalCase(page);
    page.TextBox("ProjectD")->SetText("常减压蒸馏装置");
    page.TextBox("CommentD")->SetText("基准工况\r\n塔顶压力 101.3 kPa");
    page.NeedsRecalc = true;
    page.LDExit();
}

// A folder with a computed project in both layouts, removed at the end.
struct Fixture {
    Fixture()
    {
        char tmpl[] = "/tmp/velk-project-bench-XXXXXX";
        dir = mkdtemp(tmpl);
        CalcPage page;
        TypeCase(page);
        compressed = dir + "/case.vel";
        legacy = dir + "/case-legacy.vel";
        WriteFormRecords(page, compressed);
        WriteLegacyLayout(page, legacy);
    }
    ~Fixture() { (void)std::system(("rm -rf '" + dir + "'").c_str()); }
    std::string dir, compressed, legacy;
};

Fixture& Files()
{
    static Fixture f;
    return f;
}

template <class Body> void WithFreshPages(benchmark::State& state, Body body)
{
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    for (auto _ : state) {
        state.PauseTiming();
        auto page = std::make_unique<CalcPage>();
        state.ResumeTiming();
        body(*page);
        state.PauseTiming();
        page.reset();
        state.ResumeTiming();
    }
    if (!sink.messages.empty()) state.SkipWithError(sink.messages.front().text.c_str());
}

void BM_ReadFormRecords(benchmark::State& state)
{
    const std::string path = Files().compressed;
    WithFreshPages(state, [&](CalcPage& page) {
        if (!ReadFormRecords(page, path)) std::abort();
    });
}
BENCHMARK(BM_ReadFormRecords)->Unit(benchmark::kMicrosecond);

void BM_OpenCommand(benchmark::State& state)
{
    const std::string path = Files().compressed;
    CurrentPacking = PackingParams{};
    WithFreshPages(state, [&](CalcPage& page) {
        ProjectContext ctx(page);
        if (!OpenProjectCommand(ctx, path)) std::abort();
        benchmark::DoNotOptimize(page.Field("HETPD")->Text());
    });
}
BENCHMARK(BM_OpenCommand)->Unit(benchmark::kMicrosecond);

void BM_ReadLegacyLayout(benchmark::State& state)
{
    const std::string path = Files().legacy;
    WithFreshPages(state, [&](CalcPage& page) { ReadLegacyLayout(page, path); });
}
BENCHMARK(BM_ReadLegacyLayout)->Unit(benchmark::kMicrosecond);

void BM_SaveCommand(benchmark::State& state)
{
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    CalcPage page;
    TypeCase(page);
    ProjectContext ctx(page);
    ctx.CurrentFileName = Files().dir + "/saved.vel";
    bool toggle = false;
    for (auto _ : state) {
        // A real edit each time, so every save has something new to write.
        page.TextBox("Edit1")->SetText(toggle ? "a" : "b");
        toggle = !toggle;
        if (!SaveProjectCommand(ctx, false)) std::abort();
    }
    if (!sink.messages.empty()) state.SkipWithError(sink.messages.front().text.c_str());
}
BENCHMARK(BM_SaveCommand)->Unit(benchmark::kMicrosecond);

// The same save without the flush to disk: the program's own share of it.
void BM_SaveWithoutDiskFlush(benchmark::State& state)
{
    CalcPage page;
    TypeCase(page);
    const std::string path = Files().dir + "/unflushed.vel";
    bool toggle = false;
    for (auto _ : state) {
        page.TextBox("Edit1")->SetText(toggle ? "a" : "b");
        toggle = !toggle;
        SafeReplaceFile(path, CompressProjectText(FormRecordsText(page)), false);
    }
}
BENCHMARK(BM_SaveWithoutDiskFlush)->Unit(benchmark::kMicrosecond);

void BM_FormRecordsTextAndCompress(benchmark::State& state)
{
    CalcPage page;
    TypeCase(page);
    for (auto _ : state)
        benchmark::DoNotOptimize(CompressProjectText(FormRecordsText(page)));
}
BENCHMARK(BM_FormRecordsTextAndCompress)->Unit(benchmark::kMicrosecond);

} // namespace
