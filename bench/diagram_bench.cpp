// A full redraw of the operating performance diagram into an image, at the
// size of a full-HD page, and the same at the default export size.
#include <benchmark/benchmark.h>

#include "BenchApp.h"

#include <QGuiApplication>

#include "PerformanceDiagram.h"
#include "chartgraph.h"

namespace
{

TPerformanceInput TypicalCase()
{
    TPerformanceInput in;
    in.L = 2.5;
    in.V = 3.0;
    in.f = 80;
    in.uL = 0.004;
    in.uLmin = 5.5556e-5;
    return in;
}

void RedrawDiagram(benchmark::State& state)
{
    BenchApp<QGuiApplication>();
    const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    TImageSurface surface(size);
    const TPerformanceInput in = TypicalCase();
    // The first drawing fills the glyph caches, as the first paint of the
    // page does.
    DrawPerformanceDiagram(&surface, in);
    surface.endPaint();
    for (auto _ : state) {
        const QString error = DrawPerformanceDiagram(&surface, in);
        surface.endPaint();
        benchmark::DoNotOptimize(error);
        benchmark::DoNotOptimize(surface.image().constBits());
    }
}
BENCHMARK(RedrawDiagram)->Args({1920, 1080})->Args({1001, 727})->Unit(benchmark::kMillisecond);

// The cross-hair drawn and moved over the drawn picture, as one mouse move.
void MoveCrossHair(benchmark::State& state)
{
    BenchApp<QGuiApplication>();
    TImageSurface surface(QSize(1920, 1080));
    DrawPerformanceDiagram(&surface, TypicalCase());
    surface.endPaint();
    ChartMouseDown(mbLeft, ssLeft, 600, 500);
    int x = 600;
    for (auto _ : state) {
        x = x == 600 ? 700 : 600;
        ChartMouseMove(ssLeft, x, 500);
        surface.endPaint();
    }
    ChartMouseUp(mbLeft, 0, x, 500);
}
BENCHMARK(MoveCrossHair)->Unit(benchmark::kMicrosecond);

} // namespace
