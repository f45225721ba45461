#include "chartgraph.h"

#include "chartcontext.h"

#include <QPolygon>

#include <algorithm>
#include <cmath>

namespace chart_detail {

TChartContext& Ctx()
{
    static TChartContext ctx;
    return ctx;
}

QPainter* Canvas()
{
    TChartContext& c = Ctx();
    return c.surface ? c.surface->canvas() : nullptr;
}

void SetPendingPixel()
{
    TChartContext& c = Ctx();
    if (!c.hasPendingPixel)
        return;
    c.hasPendingPixel = false;
    QPainter* p = Canvas();
    if (!p)
        return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setRenderHint(QPainter::Antialiasing, false);
    p->setClipRect(c.pendingClip);
    p->setPen(QPen(ToQColor(c.pendingColour), 1));
    p->drawPoint(c.pendingPixel);
    p->setClipping(false);
}

} // namespace chart_detail

using namespace chart_detail;

namespace {

constexpr int kMaxPenWidth = 1000;

void DrawMarker(QPainter* p, const TMarkerRecord& m)
{
    const QColor pen = ToQColor(m.colour);
    p->setClipRect(m.clip);
    if (m.size <= 1) {
        p->setPen(QPen(pen, 1));
        p->drawPoint(m.x, m.y);
        return;
    }
    QPen outline(pen, m.penWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    p->setPen(outline);
    switch (m.fill) {
    case kFillBackground:
        p->setBrush(ToQColor(m.background));
        break;
    case kFillPen:
        p->setBrush(pen);
        break;
    case kFillSecond:
        p->setBrush(ToQColor(m.colour2));
        break;
    default:
        p->setBrush(Qt::NoBrush);
        break;
    }
    const int x = m.x;
    const int y = m.y;
    const int h = m.size / 2;
    const int d = h + h / 2;
    // Box from (x - h, y - h) to (x + h + 1, y + h + 1), right and bottom
    // exclusive: 2h + 1 pixels each way, centred on the point.
    const QRect box(x - h, y - h, 2 * h, 2 * h);
    switch (m.shape) {
    case kMarkCircle:
        p->drawEllipse(box);
        break;
    case kMarkSquare:
        p->drawRect(box);
        break;
    case kMarkTriangleUp:
        p->drawPolygon(QPolygon({QPoint(x - h, y + h), QPoint(x + h, y + h), QPoint(x, y - d)}));
        break;
    case kMarkTriangleDown:
        p->drawPolygon(QPolygon({QPoint(x - h, y - h), QPoint(x + h, y - h), QPoint(x, y + d)}));
        break;
    case kMarkTriangleRight:
        p->drawPolygon(QPolygon({QPoint(x - h, y + h), QPoint(x - h, y - h), QPoint(x + d, y)}));
        break;
    case kMarkTriangleLeft:
        p->drawPolygon(QPolygon({QPoint(x + h, y + h), QPoint(x + h, y - h), QPoint(x - d, y)}));
        break;
    case kMarkCross:
        p->drawLine(x - h, y, x + h, y);
        p->drawLine(x, y - h, x, y + h);
        break;
    case kMarkDiagonalCross:
        p->drawLine(x - h, y - h, x + h, y + h);
        p->drawLine(x - h, y + h, x + h, y - h);
        break;
    default:
        break;
    }
}

void DrawMarkers()
{
    TChartContext& c = Ctx();
    if (c.markers.empty())
        return;
    QPainter* p = Canvas();
    if (p) {
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        p->setRenderHint(QPainter::Antialiasing, false);
        for (const TMarkerRecord& m : c.markers)
            DrawMarker(p, m);
        p->setClipping(false);
        p->setBrush(Qt::NoBrush);
    }
    c.markers.clear();
}

// One straight piece of a line, including both end pixels.
void DrawPiece(QPainter* p, QPointF a, QPointF b, bool wide)
{
    if (wide)
        p->drawLine(a, b);
    else
        p->drawLine(QPoint(qRound(a.x()), qRound(a.y())), QPoint(qRound(b.x()), qRound(b.y())));
}

// A dashed segment. The pieces follow the absolute screen coordinate of the
// dominant direction, so that a polyline keeps its rhythm across vertices.
void DrawDashed(QPainter* p, QPoint a, QPoint b, int period, int drawn, float weight, bool wide)
{
    const int dx = b.x() - a.x();
    const int dy = b.y() - a.y();
    const bool vertical = std::abs(dy) > std::abs(dx) * static_cast<double>(weight);
    const int c0 = vertical ? a.y() : a.x();
    const int c1 = vertical ? b.y() : b.x();
    const int lo = std::min(c0, c1);
    const int hi = std::max(c0, c1);
    const int span = c1 - c0;
    // The other coordinate along the segment, at dominant coordinate t.
    auto other = [&](double t) {
        const double o0 = vertical ? a.x() : a.y();
        const double o1 = vertical ? b.x() : b.y();
        if (span == 0)
            return o0;
        return o0 + (o1 - o0) * (t - c0) / span;
    };
    auto point = [&](double t) {
        return vertical ? QPointF(other(t), t) : QPointF(t, other(t));
    };
    for (int base = FloorDiv(lo, period) * period; base <= hi; base += period) {
        const int from = std::max(base, lo);
        const int to = std::min(base + drawn - 1, hi);
        if (from > to)
            continue;
        if (wide) {
            // A flat-capped wide piece covers [from, to + 1) geometrically,
            // which is exactly the pixels from..to.
            DrawPiece(p, point(from), point(to + 1), true);
        } else {
            const QPointF s = point(from);
            const QPointF e = point(to);
            DrawPiece(p, s, e, false);
        }
    }
}

// Cuts the segment a-b to the rectangle (Liang-Barsky). Painters clip
// again exactly; this keeps vector files, whose painters may not clip,
// free of lines outside the plot.
bool ClipSegment(QPointF& a, QPointF& b, const QRectF& r)
{
    double t0 = 0, t1 = 1;
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const QPointF from = a;
    a = QPointF(from.x() + t0 * dx, from.y() + t0 * dy);
    b = QPointF(from.x() + t1 * dx, from.y() + t1 * dy);
    return true;
}

} // namespace

void InitChart(TChartSurface* surface, TColor backgroundColour, TColor foregroundColour, float charSizeFactor)
{
    TChartContext& c = Ctx();
    if (c.surface && c.surface != surface) {
        // A cross-hair left on another surface is wiped by its owner's
        // repaint; the mouse mode belonged to that surface.
        if (c.overlayShown)
            c.surface->refresh();
        if (c.mouseMode != TMouseMode::None) {
            c.surface->setCursorHidden(false);
            c.surface->confineCursor(QRect());
        }
        c.mouseMode = TMouseMode::None;
    }
    // The new drawing covers whatever overlay the surface showed; a running
    // cross-hair is drawn afresh at the next move.
    c.overlayShown = false;
    c.surface = surface;
    c.markers.clear();
    c.avoidedTexts.clear();
    c.hasPendingPixel = false;
    for (TGraphSlot& g : c.graphs)
        g = TGraphSlot();
    c.graphCount = 0;
    c.currentGraph = 0;
    if (!surface)
        return;

    c.scale = std::max(1, surface->deviceScale());
    const QSize size = surface->surfaceSize();
    c.width = std::max(0, size.width()) * c.scale;
    c.height = std::max(0, size.height()) * c.scale;
    c.originX = 0;
    c.originY = 0;
    c.background = backgroundColour & 0xFFFFFF;
    c.foreground = foregroundColour & 0xFFFFFF;
    c.contrast = c.foreground == c.background ? (~c.background & 0xFFFFFF) : c.foreground;
    surface->setCursorHidden(false);

    c.penColour = c.foreground;
    c.penWidth = c.scale;
    c.fontColour = c.foreground;
    c.brushColour = c.background;
    c.secondColour = c.foreground;
    c.dashPeriod = 0;
    c.dashDrawn = 0;
    c.dashWeight = 1.0f;

    if (!std::isfinite(charSizeFactor) || charSizeFactor <= 0)
        charSizeFactor = 1.0f;
    c.charSizeFactor = std::min(charSizeFactor, 100.0f);
    c.fontName = c.savedFontName.isEmpty() ? QStringLiteral("Arial") : c.savedFontName;
    c.fontSize = c.savedFontSize > 0 ? c.savedFontSize : std::max(1, RoundHalfEven(8.0 * c.charSizeFactor));
    c.italic = false;
    c.bold = false;
    c.fontScope = c.savedNoTitleEnlarge ? 3 : 0;

    QPainter* p = Canvas();
    if (p) {
        p->setClipping(false);
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        p->setRenderHint(QPainter::Antialiasing, false);
        p->setRenderHint(QPainter::TextAntialiasing, ChartSetting(kSetAntialiasFont) != 0);
        p->fillRect(c.drawingArea(), ToQColor(c.background));
        p->setPen(QPen(ToQColor(c.foreground), c.scale));
        p->setBrush(Qt::NoBrush);
        if (c.width > 0 && c.height > 0)
            p->drawRect(QRect(c.originX, c.originY, c.width - 1, c.height - 1));
    }
    ApplyFont();
}

void DefineGraph(int xFromPct, int xToPct, int yFromPct, int yToPct, int leftMargin, int rightMargin,
                 int topMargin, int bottomMargin, bool unclippedWhenUnzoomed)
{
    TChartContext& c = Ctx();
    if (!c.surface)
        return;
    if (c.graphCount >= kMaxGraphs) {
        c.currentGraph = 0;
        return;
    }
    FlushChart();
    ++c.graphCount;
    c.currentGraph = c.graphCount;
    TGraphSlot& g = c.graphs[c.currentGraph - 1];
    g = TGraphSlot();
    g.defined = true;

    if (xFromPct > xToPct)
        std::swap(xFromPct, xToPct);
    if (yFromPct > yToPct)
        std::swap(yFromPct, yToPct);
    xFromPct = std::clamp(xFromPct, 0, 100);
    xToPct = std::clamp(xToPct, 0, 100);
    yFromPct = std::clamp(yFromPct, 0, 100);
    yToPct = std::clamp(yToPct, 0, 100);
    g.outerLeft = RoundHalfEven(xFromPct * static_cast<double>(c.width) / 100.0) + c.originX;
    g.outerRight = RoundHalfEven(xToPct * static_cast<double>(c.width) / 100.0) + c.originX;
    g.outerTop = RoundHalfEven(yFromPct * static_cast<double>(c.height) / 100.0) + c.originY;
    g.outerBottom = RoundHalfEven(yToPct * static_cast<double>(c.height) / 100.0) + c.originY;

    auto scaled = [&](int m) {
        return static_cast<int>(std::clamp<long long>(1LL * m * c.scale, -100000, 100000));
    };
    g.left = g.outerLeft + scaled(leftMargin);
    g.right = g.outerRight - scaled(rightMargin);
    g.top = g.outerTop + scaled(topMargin);
    g.bottom = g.outerBottom - scaled(bottomMargin);
    g.valid = (g.right - g.left) >= 1 && (g.bottom - g.top) >= 1;
    g.unclipped = unclippedWhenUnzoomed && c.zoom[c.currentGraph - 1].isFull();
    const int plotHeight = g.bottom - g.top;
    g.aspect = plotHeight < 1 ? 1.0 : static_cast<double>(g.right - g.left) / plotHeight;

    c.penWidth = c.scale;
    c.brushColour = c.background;
    c.dashPeriod = 0;
    c.dashDrawn = 0;
}

void SetGridPatterns(int major, int minor)
{
    if (TGraphSlot* g = Ctx().slot()) {
        g->gridMajor = major;
        g->gridMinor = minor;
    }
}

void SetPenWidth(int n)
{
    TChartContext& c = Ctx();
    if (n > 0)
        c.penWidth = std::min(kMaxPenWidth, n) * c.scale;
}

void SetPenColor(TColor colour)
{
    if (colour >= 0)
        Ctx().penColour = colour & 0xFFFFFF;
}

void SetSecondColor(TColor colour)
{
    if (colour >= 0)
        Ctx().secondColour = colour & 0xFFFFFF;
}

void SetDash(int period, int percentDrawn, float directionWeight)
{
    TChartContext& c = Ctx();
    const long long scaledPeriod = 1LL * std::clamp(period, 0, 10000) * c.scale;
    if (scaledPeriod < 2) {
        c.dashPeriod = 0;
        c.dashDrawn = 0;
    } else {
        c.dashPeriod = static_cast<int>(scaledPeriod);
        if (percentDrawn == 0)
            percentDrawn = 50;
        int drawn = RoundHalfEven(percentDrawn / 100.0 * c.dashPeriod);
        if (drawn <= 0)
            drawn = c.scale;
        if (drawn >= c.dashPeriod)
            drawn = c.dashPeriod - c.scale;
        c.dashDrawn = std::max(1, drawn);
    }
    c.dashWeight = (std::isfinite(directionWeight) && directionWeight > 0) ? directionWeight : 1.0f;
}

void MoveToPoint(double x, double y)
{
    TChartContext& c = Ctx();
    TGraphSlot* g = c.slot();
    if (!g || !g->worldMode() || std::isnan(x) || std::isnan(y))
        return;
    SetPendingPixel();
    c.current = QPoint(MapX(*g, x), MapY(*g, g->currentY, y));
}

void LineToPoint(double x, double y)
{
    TChartContext& c = Ctx();
    TGraphSlot* g = c.slot();
    if (!g || !g->worldMode() || std::isnan(x) || std::isnan(y))
        return;
    const QPoint to(MapX(*g, x), MapY(*g, g->currentY, y));
    const QPoint from = c.current;
    c.current = to;
    QPainter* p = Canvas();
    if (!p)
        return;
    const QRect clip = c.worldClip(*g);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setRenderHint(QPainter::Antialiasing, false);
    p->setClipRect(clip);
    const bool wide = c.penWidth > 1;
    const bool dashed = c.dashPeriod >= 2;
    // One-pixel lines include both end pixels (square cap); wide dash
    // pieces are flat so that a piece covers exactly its drawn length.
    const Qt::PenCapStyle cap = !wide ? Qt::SquareCap : (dashed ? Qt::FlatCap : Qt::RoundCap);
    QPen pen(ToQColor(c.penColour), c.penWidth, Qt::SolidLine, cap, Qt::RoundJoin);
    p->setPen(pen);
    // Cut to the clip widened by the pen, so that rounding the cut ends
    // never shows inside the exact clip.
    const int margin = c.penWidth + 2;
    QPointF ca(from), cb(to);
    if (!ClipSegment(ca, cb, QRectF(clip.adjusted(-margin, -margin, margin, margin)))) {
        p->setClipping(false);
        return;
    }
    const QPoint a(qRound(ca.x()), qRound(ca.y()));
    const QPoint b(qRound(cb.x()), qRound(cb.y()));
    if (dashed) {
        DrawDashed(p, a, b, c.dashPeriod, c.dashDrawn, c.dashWeight, wide);
    } else {
        p->drawLine(a, b);
        if (!wide) {
            c.hasPendingPixel = true;
            c.pendingPixel = to;
            c.pendingColour = c.penColour;
            c.pendingClip = clip;
        }
    }
    p->setClipping(false);
}

void AddMarker(int shape, int size, int fill)
{
    TChartContext& c = Ctx();
    TGraphSlot* g = c.slot();
    if (!g || !g->worldMode() || shape < 1 || shape > 8 || size < 0)
        return;
    const QRect clip = c.worldClip(*g);
    if (!c.drawingArea().contains(c.current) || !clip.contains(c.current))
        return;
    TMarkerRecord m;
    m.x = c.current.x();
    m.y = c.current.y();
    m.shape = shape;
    m.size = size > 0 ? static_cast<int>(std::min<long long>(1LL * size * c.scale, 10000))
                      : c.fontSize * c.scale;
    m.fill = (fill >= 0 && fill <= 3) ? fill : kFillHollow;
    m.penWidth = c.penWidth;
    m.colour = c.penColour;
    m.colour2 = c.secondColour;
    m.background = c.background;
    m.clip = clip;
    c.markers.push_back(m);
}

void FlushChart()
{
    SetPendingPixel();
    DrawMarkers();
}

void ChartForgetFontChoices()
{
    TChartContext& c = Ctx();
    c.savedFontName.clear();
    c.savedFontSize = 0;
    c.savedNoTitleEnlarge = false;
}
