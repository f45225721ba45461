// Queries of the chart engine's state, for the owners of a surface and for
// checks, and the zoom windows kept per graph slot.

#include "chartgraph.h"

#include "chartcontext.h"

using namespace chart_detail;

TChartSurface* ChartSurface()
{
    return Ctx().surface;
}

void ChartDetachSurface(TChartSurface* surface)
{
    TChartContext& c = Ctx();
    if (surface && c.surface == surface) {
        c.surface = nullptr;
        c.mouseMode = TMouseMode::None;
        c.overlayShown = false;
        c.markers.clear();
        c.hasPendingPixel = false;
    }
}

namespace {
TChartAxisInfo InfoOf(const TAxisState& a)
{
    TChartAxisInfo info;
    info.valid = a.valid;
    info.drawn = a.drawn;
    info.logarithmic = a.logarithmic;
    if (a.direction < 0) {
        info.min = -a.min;
        info.max = -a.max;
    } else {
        info.min = a.min;
        info.max = a.max;
    }
    info.major = a.major;
    info.minor = a.minor;
    info.decimals = a.decimals;
    info.screenStart = a.screenStart;
    info.screenLength = a.screenLength;
    info.minZoomFraction = a.minZoomFraction;
    return info;
}
} // namespace

TChartAxisInfo ChartXAxisInfo()
{
    const TGraphSlot* g = Ctx().slot();
    return g ? InfoOf(g->x) : TChartAxisInfo();
}

TChartAxisInfo ChartYAxisInfo(int axis)
{
    const TGraphSlot* g = Ctx().slot();
    if (!g || axis < 0 || axis >= g->yCount)
        return TChartAxisInfo();
    return InfoOf(g->y[axis]);
}

int ChartCurrentGraph()
{
    return Ctx().currentGraph;
}

int ChartGraphCount()
{
    return Ctx().graphCount;
}

bool ChartGraphValid()
{
    const TGraphSlot* g = Ctx().slot();
    return g && g->valid;
}

bool ChartGraphUnclipped()
{
    const TGraphSlot* g = Ctx().slot();
    return g && g->unclipped;
}

QRect ChartPlotRect()
{
    const TGraphSlot* g = Ctx().slot();
    return g ? g->plotRect() : QRect();
}

QRect ChartOuterRect()
{
    const TGraphSlot* g = Ctx().slot();
    return g ? g->outerRect() : QRect();
}

bool ChartWorldMode()
{
    const TGraphSlot* g = Ctx().slot();
    return g && g->worldMode();
}

int ChartPendingMarkers()
{
    return static_cast<int>(Ctx().markers.size());
}

bool ChartOverlayShown()
{
    return Ctx().overlayShown;
}

bool TChartZoom::isFull() const
{
    if (xFrom > 0 || xTo < 1)
        return false;
    for (int i = 0; i < kMaxYAxes; ++i)
        if (yFrom[i] > 0 || yTo[i] < 1)
            return false;
    return true;
}

TChartZoom ChartZoom(int graph)
{
    if (graph < 1 || graph > kMaxGraphs)
        return TChartZoom();
    return Ctx().zoom[graph - 1];
}

void ChartResetZoom(int graph)
{
    TChartContext& c = Ctx();
    if (graph == 0) {
        for (TChartZoom& z : c.zoom)
            z = TChartZoom();
    } else if (graph >= 1 && graph <= kMaxGraphs) {
        c.zoom[graph - 1] = TChartZoom();
    }
}

void ChartSetZoom(int graph, const TChartZoom& zoom)
{
    if (graph >= 1 && graph <= kMaxGraphs)
        Ctx().zoom[graph - 1] = zoom;
}
