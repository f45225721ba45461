// Painting of a scaled axis: the axis line, ticks, grid lines, labels and
// caption.

#include "chartaxisdetail.h"

#include <QPaintEngine>

#include <algorithm>
#include <vector>

using namespace chart_detail;

namespace {

// The dot rhythm of a grid pattern as dash lengths (on, off, ...), in
// steps: a step c along the line carries a dot when (pattern AND c) = 0,
// which repeats with the next power of two above the pattern.
QList<qreal> GridDashPattern(int pattern)
{
    int period = 1;
    while (period <= pattern && period < (1 << 16))
        period <<= 1;
    QList<qreal> runs;
    bool on = true;
    int run = 0;
    for (int c = 0; c < period; ++c) {
        const bool dot = (pattern & c) == 0;
        if (dot != on) {
            runs << run;
            run = 0;
            on = dot;
        }
        ++run;
    }
    runs << run;
    if (runs.size() % 2 != 0)
        runs << 0;
    return runs;
}

// Dotted or solid grid line from `from` along `step` (a unit vector in
// pixels) over `length` pixels.
void GridLine(QPainter* p, QPoint from, QPoint step, int length, int pattern, int scale,
              std::vector<QRect>& runs)
{
    if (pattern < 0 || length <= 0)
        return;
    const QPoint to = from + step * length;
    if (pattern == 0) {
        p->drawLine(from, to);
        return;
    }
    if (!p->paintEngine() || p->paintEngine()->type() != QPaintEngine::Raster) {
        // Vector files get one dashed line instead of a path per dot.
        QPen pen = p->pen();
        pen.setDashPattern(GridDashPattern(pattern));
        pen.setCapStyle(Qt::FlatCap);
        p->setPen(pen);
        p->drawLine(QLineF(from, to + step));
        return;
    }
    // Neighbouring dots are filled as one rectangle: far fewer primitives
    // than single points, the same pixels.
    runs.clear();
    const int count = length / scale;
    int c = 0;
    while (c <= count) {
        if ((pattern & c) != 0) {
            ++c;
            continue;
        }
        int last = c;
        while (last + 1 <= count && (pattern & (last + 1)) == 0)
            ++last;
        const QPoint a = from + step * (c * scale);
        const QPoint b = from + step * (last * scale);
        runs.push_back(QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                             QSize(std::abs(b.x() - a.x()) + scale, std::abs(b.y() - a.y()) + scale)));
        c = last + 1;
    }
    const QBrush brush(p->pen().color());
    for (const QRect& r : runs)
        p->fillRect(r, brush);
}

// Where an axis lies and which way its ticks point. X: the axis on the
// bottom (positions 0..2) or top (3, 4) edge, ticks out for 0, 1, 3; Y: the
// left edge, ticks out.
struct TAxisPlace {
    bool isX = true;
    bool bottom = true;
    int axisCoord = 0;
    bool ticksOutside = true;
    int tickDir = 1;
};

TAxisPlace PlaceAxis(const TGraphSlot& g, bool isX, int position)
{
    TAxisPlace pl;
    pl.isX = isX;
    pl.bottom = !isX || position <= 2;
    pl.axisCoord = isX ? (pl.bottom ? g.bottom : g.top) : g.left;
    const int out = isX ? (pl.bottom ? 1 : -1) : -1;
    pl.ticksOutside = isX ? (position == 0 || position == 1 || position == 3) : true;
    pl.tickDir = pl.ticksOutside ? out : -out;
    return pl;
}

// Ticks and grid lines, in the order of the tick layout.
void PaintTicks(QPainter* p, const TGraphSlot& g, const TAxisState& a, const TAxisPlace& pl,
                const TAxisRequest& rq, const TAxisMetrics& m, const std::vector<TAxisTick>& ticks)
{
    const int s = Ctx().scale;
    const QColor qc = ToQColor(a.colour);
    const QPen axisPen(qc, s, Qt::SolidLine, Qt::SquareCap);
    const QPen dotPen(qc, s, Qt::SolidLine, Qt::SquareCap);
    const int firstEdge = pl.isX ? g.left : g.bottom;
    std::vector<QRect> dots;
    dots.reserve(1024);
    auto gridAt = [&](int px, int pattern) {
        if (px == firstEdge)
            return;
        p->setPen(dotPen);
        if (pl.isX) {
            const int len = g.bottom - g.top;
            if (pl.bottom)
                GridLine(p, QPoint(px, g.bottom), QPoint(0, -1), len, pattern, s, dots);
            else
                GridLine(p, QPoint(px, g.top), QPoint(0, 1), len, pattern, s, dots);
        } else {
            GridLine(p, QPoint(g.left, px), QPoint(1, 0), g.right - g.left, pattern, s, dots);
        }
        p->setPen(axisPen);
    };
    auto tickAt = [&](int px, int len) {
        if (len <= 0)
            return;
        if (pl.isX)
            p->drawLine(px, pl.axisCoord, px, pl.axisCoord + pl.tickDir * len);
        else
            p->drawLine(pl.axisCoord, px, pl.axisCoord + pl.tickDir * len, px);
    };
    for (const TAxisTick& t : ticks) {
        tickAt(t.pixel, t.major ? m.majorTick : m.minorTick);
        if (rq.grid)
            gridAt(t.pixel, t.major ? g.gridMajor : g.gridMinor);
    }
    // A vertical axis without grid still marks the value 0.
    if (!pl.isX && !rq.grid && !a.logarithmic && a.min <= 0 && a.max >= 0) {
        const int px = AxisPixel(a, false, 0);
        if (AxisPixelInside(a, false, px))
            gridAt(px, g.gridMajor);
    }
}

// Tick labels and the caption.
void PaintLabels(QPainter* p, const TGraphSlot& g, const TAxisPlace& pl, const TAxisRequest& rq,
                 const TAxisMetrics& m, const std::vector<TAxisTick>& ticks)
{
    const TChartContext& c = Ctx();
    const int s = c.scale;
    const int h = c.textHeight;
    int widest = 0;
    bool anyLabel = false;
    const int labelOffset = s + (pl.ticksOutside ? m.majorTick : 0) - 1;
    for (const TAxisTick& t : ticks) {
        if (!t.major || t.label.isEmpty())
            continue;
        anyLabel = true;
        const int w = TextWidth(t.label);
        widest = std::max(widest, w);
        if (pl.isX) {
            const int top = pl.bottom ? pl.axisCoord + labelOffset : pl.axisCoord - labelOffset - h;
            TextOut(p, t.pixel - w / 2, top, t.label);
        } else {
            const int right = pl.axisCoord - (2 * s + m.majorTick);
            TextOut(p, right - w, t.pixel - h / 2, t.label);
        }
    }
    const QString caption = CaptionPart(rq.caption);
    if (caption.isEmpty())
        return;
    const int w = TextWidth(caption);
    if (pl.isX) {
        const int centre = (g.left + g.right) / 2;
        const int gap = m.majorTick + (anyLabel ? h : 0) + 4 * s;
        const int top = pl.bottom ? pl.axisCoord + gap : pl.axisCoord - gap - h;
        TextOut(p, centre - w / 2, top, caption);
    } else {
        // Turned to read upwards; its lower edge faces the axis.
        const int lowerEdge = pl.axisCoord - m.majorTick - widest - 8 * s;
        const int centre = (g.top + g.bottom) / 2;
        p->save();
        p->translate(lowerEdge, centre);
        p->rotate(-90);
        p->drawText(QPoint(-w / 2, -c.textDescent), caption);
        p->restore();
    }
}

} // namespace

namespace chart_detail {

void PaintAxis(QPainter* p, const TGraphSlot& g, const TAxisState& a, AxisKind kind, const TAxisRequest& rq,
               const TAxisMetrics& m)
{
    const TChartContext& c = Ctx();
    const int s = c.scale;
    const bool isX = kind == AxisKind::X;
    p->setClipping(false);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setRenderHint(QPainter::Antialiasing, false);
    p->setBrush(Qt::NoBrush);
    const QColor qc = ToQColor(a.colour);
    const QPen axisPen(qc, s, Qt::SolidLine, Qt::SquareCap);
    p->setPen(axisPen);
    p->setFont(c.font);

    const TAxisPlace pl = PlaceAxis(g, isX, rq.position);
    if (isX)
        p->drawLine(g.left, pl.axisCoord, g.right, pl.axisCoord);
    else
        p->drawLine(pl.axisCoord, g.bottom, pl.axisCoord, g.top);

    const std::vector<TAxisTick> ticks = LayoutAxisTicks(a, isX, rq.fixedLabels, UnitPart(rq.caption));
    PaintTicks(p, g, a, pl, rq, m, ticks);
    p->setPen(qc);
    PaintLabels(p, g, pl, rq, m, ticks);
    p->setPen(axisPen);
}

} // namespace chart_detail
