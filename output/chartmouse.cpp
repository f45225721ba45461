// Mouse cross-hair, rubber band, zoom and read-out of the chart engine.

#include "chartcontext.h"

#include <QPaintEngine>

#include <algorithm>
#include <cmath>

using namespace chart_detail;

namespace {

QPoint ClampTo(const QRect& r, QPoint p)
{
    if (r.isEmpty())
        return p;
    return QPoint(std::clamp(p.x(), r.left(), r.right()), std::clamp(p.y(), r.top(), r.bottom()));
}

int GraphAt(QPoint p)
{
    TChartContext& c = Ctx();
    for (int i = c.graphCount; i >= 1; --i) {
        const TGraphSlot& g = c.graphs[i - 1];
        if (g.valid && g.outerRect().contains(p))
            return i;
    }
    return 0;
}

// Draws the overlay (cross-hair or rubber band) in exclusive-or; a second
// call with the same state erases exactly what the first one drew. False
// when the surface cannot combine pixels that way (a vector file).
bool XorOverlay()
{
    TChartContext& c = Ctx();
    if (c.mouseMode == TMouseMode::None || c.mouseGraph < 1)
        return false;
    QPainter* p = Canvas();
    if (!p || !p->paintEngine() || !p->paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
        return false;
    const TGraphSlot& g = c.graphs[c.mouseGraph - 1];
    TColor xorColour = c.background ^ c.contrast;
    if (c.contrast == c.background)
        xorColour = 0xFFFFFF;
    p->setClipping(false);
    p->setRenderHint(QPainter::Antialiasing, false);
    p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p->setPen(QPen(ToQColor(xorColour), 1));
    p->setBrush(Qt::NoBrush);
    if (c.mouseMode == TMouseMode::CrossHair) {
        const QPoint at = c.mouseLast;
        p->drawLine(at.x(), g.top, at.x(), g.bottom);
        p->drawLine(g.left, at.y(), g.right, at.y());
    } else {
        const QRect box = QRect(c.mouseStart, c.mouseLast).normalized();
        p->drawRect(box.x(), box.y(), box.width() - 1, box.height() - 1);
    }
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    return true;
}

void EraseOverlay()
{
    TChartContext& c = Ctx();
    if (c.overlayShown)
        XorOverlay();
    c.overlayShown = false;
}

void ShowOverlay()
{
    TChartContext& c = Ctx();
    c.overlayShown = XorOverlay();
}

// Reads the world position of pixel p in graph gi; false when the graph has
// no scaled axes yet.
bool ComputeReadout(TChartReadout& r, int gi, QPoint p)
{
    TChartContext& c = Ctx();
    const TGraphSlot& g = c.graphs[gi - 1];
    if (!g.x.valid || g.yCount == 0)
        return false;
    p = ClampTo(c.drawingArea(), p);
    r.graph = gi;
    r.mouseX = p.x();
    r.mouseY = p.y();
    r.worldX = PixelToWorldX(g, p.x());
    for (int i = 0; i < kMaxYAxes; ++i)
        r.worldY[i] = (i < g.yCount && g.y[i].valid) ? static_cast<float>(PixelToWorldY(g, i, p.y())) : 0.0f;
    return true;
}

// The point the current mode works with: a cross-hair stays inside the plot
// (the cursor is confined there), a zoom box inside the drawing area.
QPoint ModePoint(QPoint p)
{
    TChartContext& c = Ctx();
    const TGraphSlot& g = c.graphs[c.mouseGraph - 1];
    return c.mouseMode == TMouseMode::CrossHair ? ClampTo(g.plotRect(), p) : ClampTo(c.drawingArea(), p);
}

// New zoom window [from, to] of one axis from two pixels; false when the box
// leaves the full range.
bool ZoomWindow(const TAxisState& a, double w0, double w1, double& from, double& to)
{
    if (!a.valid)
        return false;
    double v0 = w0 * a.direction;
    double v1 = w1 * a.direction;
    double f0, f1;
    if (a.logarithmic) {
        if (!(v0 > 0) || !(v1 > 0))
            return false;
        const double ln = std::log(a.fullMax / a.fullMin);
        f0 = std::log(v0 / a.fullMin) / ln;
        f1 = std::log(v1 / a.fullMin) / ln;
    } else {
        f0 = (v0 - a.fullMin) / (a.fullMax - a.fullMin);
        f1 = (v1 - a.fullMin) / (a.fullMax - a.fullMin);
    }
    if (!std::isfinite(f0) || !std::isfinite(f1))
        return false;
    if (f0 > f1)
        std::swap(f0, f1);
    constexpr double kSlack = 1e-9;
    if (f0 < -kSlack || f1 > 1 + kSlack)
        return false;
    f0 = std::clamp(f0, 0.0, 1.0);
    f1 = std::clamp(f1, 0.0, 1.0);
    const double minFraction = a.minZoomFraction;
    if (f1 - f0 < minFraction) {
        // Widened about its centre, but never beyond the full range: a
        // narrowest span wider than the whole axis means no zoom at all.
        if (minFraction >= 1) {
            f0 = 0;
            f1 = 1;
        } else {
            const double centre = (f0 + f1) / 2;
            f0 = centre - minFraction / 2;
            f1 = f0 + minFraction;
            if (f0 < 0) {
                f0 = 0;
                f1 = minFraction;
            } else if (f1 > 1) {
                f1 = 1;
                f0 = 1 - minFraction;
            }
        }
    }
    from = f0;
    to = f1;
    return true;
}

void ApplyZoom(int gi, QPoint a, QPoint b)
{
    TChartContext& c = Ctx();
    const TGraphSlot& g = c.graphs[gi - 1];
    TChartZoom& z = c.zoom[gi - 1];
    if (std::abs(a.x() - b.x()) <= 1 && std::abs(a.y() - b.y()) <= 1) {
        z = TChartZoom();
        return;
    }
    double from, to;
    if (g.x.valid && ZoomWindow(g.x, PixelToWorldX(g, a.x()), PixelToWorldX(g, b.x()), from, to)) {
        z.xFrom = from;
        z.xTo = to;
    }
    for (int i = 0; i < g.yCount; ++i) {
        if (g.y[i].valid &&
            ZoomWindow(g.y[i], PixelToWorldY(g, i, a.y()), PixelToWorldY(g, i, b.y()), from, to)) {
            z.yFrom[i] = from;
            z.yTo[i] = to;
        }
    }
}

} // namespace

TChartReadout& ChartReadout()
{
    return Ctx().readouts[kReadoutCurrent];
}

const TChartReadout& ChartReadoutRecord(int which)
{
    return Ctx().readouts[std::clamp(which, 0, 3)];
}

void ChartMouseDown(int button, unsigned shift, int x, int y)
{
    TChartContext& c = Ctx();
    if (!c.surface || button != mbLeft)
        return;
    const QPoint at(x, y);
    const int gi = GraphAt(at);
    if (gi == 0)
        return;
    const TGraphSlot& g = c.graphs[gi - 1];
    // A press whose release never arrived leaves its overlay; wipe it first.
    EraseOverlay();
    if (c.mouseMode == TMouseMode::CrossHair)
        c.surface->setCursorHidden(false);
    c.mouseMode = TMouseMode::None;

    if (shift & ssCtrl) {
        c.mouseMode = TMouseMode::ZoomBox;
    } else if (g.plotRect().contains(at)) {
        c.mouseMode = TMouseMode::CrossHair;
        c.surface->setCursorHidden(true);
        c.surface->confineCursor(g.plotRect());
    } else {
        return;
    }
    c.mouseGraph = gi;
    c.mouseStart = ModePoint(at);
    c.mouseLast = c.mouseStart;
    ShowOverlay();
    if (ComputeReadout(c.readouts[kReadoutCurrent], gi, c.mouseLast))
        c.readouts[kReadoutPress] = c.readouts[kReadoutCurrent];
    c.surface->overlayChanged();
}

void ChartMouseMove(unsigned shift, int x, int y)
{
    TChartContext& c = Ctx();
    if (!c.surface || c.mouseMode == TMouseMode::None || !(shift & ssLeft))
        return;
    EraseOverlay();
    c.mouseLast = ModePoint(QPoint(x, y));
    ShowOverlay();
    ComputeReadout(c.readouts[kReadoutCurrent], c.mouseGraph, c.mouseLast);
    c.surface->overlayChanged();
}

void ChartMouseUp(int button, unsigned shift, int x, int y)
{
    TChartContext& c = Ctx();
    if (!c.surface)
        return;
    if (button == mbLeft && c.mouseMode != TMouseMode::None) {
        const TMouseMode mode = c.mouseMode;
        const int gi = c.mouseGraph;
        const QPoint at = ModePoint(QPoint(x, y));
        EraseOverlay();
        ComputeReadout(c.readouts[kReadoutRelease], gi, at);
        c.mouseMode = TMouseMode::None;
        bool zoomed = false;
        if (mode == TMouseMode::CrossHair) {
            c.surface->setCursorHidden(false);
        } else if (shift & ssCtrl) {
            ApplyZoom(gi, c.mouseStart, at);
            zoomed = true;
        }
        c.surface->overlayChanged();
        c.surface->confineCursor(QRect());
        if (zoomed && ChartSetting(kSetDisableZoomAutoRedraw) == 0)
            c.surface->refresh();
        return;
    }
    c.surface->confineCursor(QRect());
}
