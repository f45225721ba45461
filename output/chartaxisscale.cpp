// Scaling of an axis: its colour, visible range, tick steps and zoom limit,
// stored in the graph slot before the axis is painted.

#include "chartaxisdetail.h"

#include <algorithm>
#include <cmath>

using namespace chart_detail;

namespace {

// Below this ratio of its ends a logarithmic axis has linear ticks.
constexpr double kLinearTicksBelowRatio = 10;

// The axis state an axis request fills, or nullptr when the graph takes no
// axis of this kind now.
TAxisState* AxisSlot(TGraphSlot* g, bool isX)
{
    if (!g || !g->valid)
        return nullptr;
    if (isX)
        return g->yCount > 0 ? nullptr : &g->x; // a horizontal axis only before the first vertical one
    return g->yCount >= kMaxYAxes ? nullptr : &g->y[g->yCount];
}

// Axis colour: kAxisBackgroundColour draws in the background colour; the
// background colour itself only sets the scale. Returns whether the axis is
// drawn.
bool ResolveAxisColour(TChartContext& c, TAxisState& a, TColor colour)
{
    bool drawn = true;
    if (colour == kAxisBackgroundColour) {
        colour = c.background;
    } else if ((colour & 0xFFFFFF) == c.background) {
        drawn = false;
        colour = c.foreground;
    }
    a.colour = colour & 0xFFFFFF;
    a.drawn = drawn;
    c.penColour = a.colour;
    c.fontColour = a.colour;
    return drawn;
}

// Visible range from the slot's zoom window; false when it is empty.
bool VisibleRange(const TChartContext& c, const TAxisState& a, bool isX, int yIndex, double& vmin, double& vmax)
{
    const TChartZoom& z = c.zoom[c.currentGraph - 1];
    const double zFrom = isX ? z.xFrom : z.yFrom[yIndex];
    const double zTo = isX ? z.xTo : z.yTo[yIndex];
    if (a.logarithmic) {
        const double ln = std::log(a.fullMax / a.fullMin);
        vmin = a.fullMin * std::exp(ln * zFrom);
        vmax = a.fullMin * std::exp(ln * zTo);
    } else {
        vmin = a.fullMin + (a.fullMax - a.fullMin) * zFrom;
        vmax = a.fullMin + (a.fullMax - a.fullMin) * zTo;
    }
    if (!isX) {
        vmin = static_cast<float>(vmin);
        vmax = static_cast<float>(vmax);
    }
    return vmax > vmin;
}

TAxisMetrics AxisMetrics(const TChartContext& c, bool isX, const TAxisRequest& rq)
{
    TAxisMetrics m;
    const double ticSize = ChartSetting(isX ? kSetMajorTicSizeX : kSetMajorTicSizeY);
    const double minorTicSize = ChartSetting(isX ? kSetMinorTicSizeX : kSetMinorTicSizeY);
    m.majorTick = RoundHalfEven(ticSize * c.textWidth + 0.5);
    m.minorTick = RoundHalfEven(minorTicSize * m.majorTick);
    m.labelSpacing =
        isX ? TextWidth(UnitPart(rq.caption)) +
                  RoundHalfEven(c.textWidth * ChartSetting(rq.fixedLabels ? kSetLabelDistXFloat : kSetLabelDistXExp))
            : RoundHalfEven(ChartSetting(kSetLabelDistY) * c.textHeight);
    return m;
}

// Tick steps and the final range; false when the range collapsed.
bool ScaleTicks(TAxisState& a, bool isX, double vmin, double vmax, const TAxisRequest& rq, int length,
                int labelSpacing)
{
    a.labelSpacing = labelSpacing;
    if (a.logarithmic) {
        a.min = vmin;
        a.max = vmax;
        a.major = 10;
        a.minor = 1;
        a.decimals = 0;
        a.linearTicks = vmax / vmin < kLinearTicksBelowRatio;
        if (a.linearTicks) {
            // Decades alone would leave one label or none: linear steps
            // instead, on the logarithmic scale, without widening.
            const TNiceSteps s = ComputeNiceSteps(vmin, vmax, 0, length, labelSpacing, 0);
            a.major = s.major;
            a.minor = s.minor;
            a.decimals = s.decimals;
        }
        return true;
    }
    const TNiceSteps s = ComputeNiceSteps(vmin, vmax, rq.step, length, labelSpacing, rq.rangeMode);
    a.min = s.min;
    a.max = s.max;
    a.major = s.major;
    a.minor = s.minor;
    a.decimals = s.decimals;
    if (!isX) {
        a.min = static_cast<float>(a.min);
        a.max = static_cast<float>(a.max);
    }
    return a.max > a.min;
}

// The narrowest zoom window as a fraction of the full range. The Y axes of
// a graph share the one set by its first Y axis.
void SetMinZoomFraction(TGraphSlot& g, TAxisState& a, bool isX, double minZoomSpan)
{
    const double fullSpan = a.logarithmic ? std::log(a.fullMax / a.fullMin) : a.fullMax - a.fullMin;
    const double depth = std::max(1.0, ChartSetting(kSetMaxZoomDepth));
    const double span = minZoomSpan > 0 ? minZoomSpan : 0;
    const double frac = std::max(a.logarithmic ? 0.0 : span / fullSpan, 1.0 / depth);
    if (isX) {
        a.minZoomFraction = frac;
        return;
    }
    if (!g.yZoomFractionSet) {
        g.yZoomFractionSet = true;
        g.yMinZoomFraction = frac;
    }
    a.minZoomFraction = g.yMinZoomFraction;
}

void DrawAxis(AxisKind kind, const TAxisRequest& rq)
{
    TChartContext& c = Ctx();
    TGraphSlot* g = c.slot();
    const bool isX = kind == AxisKind::X;
    TAxisState* axis = AxisSlot(g, isX);
    if (!axis)
        return;
    *axis = TAxisState();
    const int yIndex = isX ? -1 : g->yCount;

    const bool positionOk =
        isX ? (rq.position >= 0 && rq.position <= 4) : (rq.position >= 1 && rq.position <= 8);
    if (!positionOk || !std::isfinite(rq.min) || !std::isfinite(rq.max) || rq.min == rq.max)
        return;

    TAxisState& a = *axis;
    a.direction = rq.min <= rq.max ? 1 : -1;
    const double fullMin = rq.min * a.direction;
    const double fullMax = rq.max * a.direction;
    if (!std::isfinite(fullMax - fullMin))
        return;
    a.logarithmic = rq.logarithmic && fullMin > 0 && fullMax > 0 &&
                    fullMax / fullMin >= ChartSetting(kSetMinLogRatio);
    a.fullMin = fullMin;
    a.fullMax = fullMax;

    const bool drawn = ResolveAxisColour(c, a, rq.colour);
    double vmin = 0, vmax = 0;
    if (!VisibleRange(c, a, isX, yIndex, vmin, vmax))
        return;
    const TAxisMetrics metrics = AxisMetrics(c, isX, rq);
    const int length = isX ? g->right - g->left : g->bottom - g->top;
    if (!ScaleTicks(a, isX, vmin, vmax, rq, length, metrics.labelSpacing))
        return;
    a.lnRatio = a.logarithmic ? std::log(a.max / a.min) : 0;
    a.screenStart = isX ? g->left : g->bottom;
    a.screenLength = length;
    SetMinZoomFraction(*g, a, isX, rq.minZoomSpan);
    a.valid = true;
    if (!isX) {
        g->currentY = g->yCount;
        ++g->yCount;
    }

    if (!drawn)
        return;
    if (QPainter* p = Canvas())
        PaintAxis(p, *g, a, kind, rq, metrics);
}

} // namespace

void DrawXAxis(TColor colour, const QString& caption, int position, float min, float max, float step,
               float minZoomSpan, bool grid, bool logarithmic, bool fixedLabels, int rangeMode)
{
    DrawAxis(AxisKind::X, {colour, caption, position, min, max, step, minZoomSpan, grid, logarithmic,
                           fixedLabels, rangeMode});
}

void DrawYAxis(TColor colour, const QString& caption, int position, float min, float max, float step,
               float minZoomSpan, bool grid, bool logarithmic, bool fixedLabels, int rangeMode)
{
    DrawAxis(AxisKind::Y, {colour, caption, position, min, max, step, minZoomSpan, grid, logarithmic,
                           fixedLabels, rangeMode});
}
