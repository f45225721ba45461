// The three performance charts of the packing: the curves computed from a
// recalculated page and all three charts drawn, each at full-HD size, as
// the page does when the calculation page changes; and the curves alone.
#include <benchmark/benchmark.h>

#include "BenchApp.h"
#include "TypicalCase.h"

#include <QGuiApplication>

#include "CalcPage.h"
#include "Messages.h"
#include "PerformanceCharts.h"
#include "PerformanceCurves.h"

namespace
{

PerformanceCase TypicalCase()
{
    static RecordingSink sink;
    static ScopedMessageSink scope(&sink);
    static CalcPage page(false);
    TypeTypicalCase(page);
    page.NeedsRecalc = true;
    page.LDExit();
    PerformanceCase c;
    std::string why;
    ReadPerformanceCase(page, c, why);
    return c;
}

void ComputeCurves(benchmark::State& state)
{
    const PerformanceCase c = TypicalCase();
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputePerformanceCurves(c, DefaultCurveLiquidLoads()));
}
BENCHMARK(ComputeCurves)->Unit(benchmark::kMillisecond);

void ComputeAndDrawThreeCharts(benchmark::State& state)
{
    BenchApp<QGuiApplication>();
    const PerformanceCase c = TypicalCase();
    const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    TImageSurface surface(size);
    // The first drawing fills the glyph caches, as the first paint does.
    DrawPerformanceChart(&surface, TPerformanceChart::PressureDrop, ComputePerformanceCurves(c, {0, 5}),
                         QString());
    surface.endPaint();
    for (auto _ : state) {
        const PerformanceCurves curves = ComputePerformanceCurves(c, DefaultCurveLiquidLoads());
        for (int k = 0; k < kPerformanceChartCount; ++k) {
            DrawPerformanceChart(&surface, static_cast<TPerformanceChart>(k), curves,
                                 QStringLiteral("Mellapak"));
            surface.endPaint();
        }
        benchmark::DoNotOptimize(surface.image().constBits());
    }
}
BENCHMARK(ComputeAndDrawThreeCharts)->Args({1920, 1080})->Unit(benchmark::kMillisecond);

} // namespace
