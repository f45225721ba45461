// Axis scaling, tick layout, labels, captions and grid of the chart engine.

#include "chartcontext.h"

#include <QFontMetrics>
#include <QPaintEngine>

#include <algorithm>
#include <cmath>
#include <vector>

namespace chart_detail {

namespace {

// Bound on every tick loop, so that a degenerate range can never hang the
// drawing.
constexpr int kMaxTicks = 20000;

double Fraction(const TAxisState& a, double v)
{
    if (a.logarithmic) {
        if (!(v > 0))
            v = std::min(a.min, a.max) / 2;
        return std::log(v / a.min) / a.lnRatio;
    }
    return (v - a.min) / (a.max - a.min);
}

} // namespace

int MapX(const TGraphSlot& g, double x)
{
    const TAxisState& a = g.x;
    return ClampPixel(a.screenStart + Fraction(a, x * a.direction) * a.screenLength);
}

int MapY(const TGraphSlot& g, int axis, double y)
{
    const TAxisState& a = g.y[std::clamp(axis, 0, kMaxYAxes - 1)];
    return ClampPixel(a.screenStart - Fraction(a, y * a.direction) * a.screenLength);
}

namespace {
double FromFraction(const TAxisState& a, double f)
{
    double v;
    if (a.logarithmic)
        v = a.min * std::exp(f * a.lnRatio);
    else
        v = a.min + f * (a.max - a.min);
    return v * a.direction;
}
} // namespace

double PixelToWorldX(const TGraphSlot& g, int px)
{
    const TAxisState& a = g.x;
    if (a.screenLength <= 0)
        return a.min * a.direction;
    return FromFraction(a, static_cast<double>(px - a.screenStart) / a.screenLength);
}

double PixelToWorldY(const TGraphSlot& g, int axis, int py)
{
    const TAxisState& a = g.y[std::clamp(axis, 0, kMaxYAxes - 1)];
    if (a.screenLength <= 0)
        return a.min * a.direction;
    return FromFraction(a, static_cast<double>(a.screenStart - py) / a.screenLength);
}

double NormaliseStep(double step)
{
    if (!(step > 0) || !std::isfinite(step))
        return 0;
    int exponent = 0;
    double m = step;
    while (m >= 7 && exponent < 400) {
        m /= 10;
        ++exponent;
    }
    while (m < 0.7 && exponent > -400) {
        m *= 10;
        --exponent;
    }
    const double nice = m <= 1.4 ? 1 : (m <= 3.2 ? 2 : 5);
    return nice * std::pow(10.0, exponent);
}

int DecimalsOf(double v)
{
    if (v == 0 || !std::isfinite(v))
        return 99;
    const double l = std::trunc(std::log10(std::fabs(v) * 1.001));
    return std::fabs(v) >= 1 ? static_cast<int>(-l) : static_cast<int>(1 - l);
}

TNiceSteps ComputeNiceSteps(double min, double max, double wantedStep, int length, int labelSpacing,
                            int rangeMode)
{
    TNiceSteps r;
    if (min > max)
        std::swap(min, max);
    r.min = min;
    r.max = max;
    const double span = max - min;
    length = std::max(1, length);
    const int nMax = std::max(1, length / std::max(1, labelSpacing));
    const double wanted = NormaliseStep(wantedStep);

    auto pixelOf = [&](double v) { return ClampPixel((v - min) / span * length); };

    int decimals = 0;
    double major = span;
    double minor = span;
    double f = 1;
    for (int attempt = 0; attempt < 200; ++attempt) {
        double w = span / (nMax + 1e-6) * f;
        int dec = 0;
        for (int i = 0; i < 700 && w >= 5; ++i) {
            w /= 10;
            --dec;
        }
        for (int i = 0; i < 700 && w < 0.5; ++i) {
            w *= 10;
            ++dec;
        }
        const double base = std::pow(10.0, -dec);
        if (w >= 2) {
            major = 5 * base;
            minor = base;
        } else if (w >= 1) {
            major = 2 * base;
            minor = base / 2;
        } else {
            major = base;
            minor = base / 5;
        }
        decimals = dec;
        int count = 0;
        const double first = std::trunc(min / major - 1);
        for (int k = 0; k < kMaxTicks && count <= 1; ++k) {
            const int pos = pixelOf((first + k) * major);
            if (pos > length)
                break;
            if (pos >= 0)
                ++count;
        }
        if (count > 1)
            break;
        f *= 0.8;
    }

    minor = std::max(minor, wanted);
    if (major >= wanted) {
        // A major step of 2.5 minor steps would put minors off the majors.
        if (major > 2.4 * minor && major < 2.6 * minor)
            major *= 2;
    } else {
        major = wanted;
    }

    auto widen = [&](double step) {
        const double lowTick = std::ceil(min / step - 1e-9) * step;
        if (pixelOf(lowTick) != 0) {
            const double m = std::floor(min / step) * step;
            r.min = m == 0 ? 0.0 : m;
        }
        const double highTick = std::floor(max / step + 1e-9) * step;
        if (pixelOf(highTick) != length)
            r.max = std::ceil(max / step) * step;
    };
    if (rangeMode == 2) {
        widen(major);
    } else if (rangeMode == 1) {
        widen(minor);
    }
    r.major = major;
    r.minor = minor;
    r.decimals = std::min(decimals, DecimalsOf(wanted));
    return r;
}

} // namespace chart_detail

using namespace chart_detail;

namespace {

enum class AxisKind { X, Y };

QString UnitPart(const QString& caption)
{
    const int bar = caption.indexOf(QLatin1Char('|'));
    return bar < 0 ? QString() : caption.mid(bar + 1);
}

QString CaptionPart(const QString& caption)
{
    const int bar = caption.indexOf(QLatin1Char('|'));
    return bar < 0 ? caption : caption.left(bar);
}

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

struct TAxisRequest {
    TColor colour;
    QString caption;
    int position;
    double min, max, step, minZoomSpan;
    bool grid, logarithmic, fixedLabels;
    int rangeMode;
};

QString TickLabel(const TAxisState& a, double v, bool fixedLabels, const QString& unit)
{
    const double shown = v * a.direction;
    QString s = fixedLabels ? FormatFixed(shown, std::max(a.decimals, 0)) : FormatGeneral(shown, 7, 0);
    return s + unit;
}

void DrawAxis(AxisKind kind, const TAxisRequest& rq)
{
    TChartContext& c = Ctx();
    TGraphSlot* g = c.slot();
    if (!g || !g->valid)
        return;
    const bool isX = kind == AxisKind::X;
    if (isX && g->yCount > 0)
        return; // a horizontal axis only before the first vertical one
    if (!isX && g->yCount >= kMaxYAxes)
        return;

    TAxisState* axis = nullptr;
    if (isX) {
        axis = &g->x;
    } else {
        axis = &g->y[g->yCount];
    }
    *axis = TAxisState();
    const int slotIndex = c.currentGraph - 1;
    const int yIndex = isX ? -1 : g->yCount;

    const bool positionOk =
        isX ? (rq.position >= 0 && rq.position <= 4) : (rq.position >= 1 && rq.position <= 8);
    if (!positionOk || !std::isfinite(rq.min) || !std::isfinite(rq.max) || rq.min == rq.max)
        return;

    TAxisState& a = *axis;
    a.direction = rq.min <= rq.max ? 1 : -1;
    double fullMin = rq.min * a.direction;
    double fullMax = rq.max * a.direction;
    if (!std::isfinite(fullMax - fullMin))
        return;
    a.logarithmic = rq.logarithmic && fullMin > 0 && fullMax > 0 &&
                    fullMax / fullMin >= ChartSetting(kSetMinLogRatio);
    a.fullMin = fullMin;
    a.fullMax = fullMax;

    bool drawn = true;
    TColor colour = rq.colour;
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

    // Visible range from the slot's zoom window.
    const TChartZoom& z = c.zoom[slotIndex];
    const double zFrom = isX ? z.xFrom : z.yFrom[yIndex];
    const double zTo = isX ? z.xTo : z.yTo[yIndex];
    double vmin, vmax;
    if (a.logarithmic) {
        const double ln = std::log(fullMax / fullMin);
        vmin = fullMin * std::exp(ln * zFrom);
        vmax = fullMin * std::exp(ln * zTo);
    } else {
        vmin = fullMin + (fullMax - fullMin) * zFrom;
        vmax = fullMin + (fullMax - fullMin) * zTo;
    }
    if (!isX) {
        vmin = static_cast<float>(vmin);
        vmax = static_cast<float>(vmax);
    }
    if (!(vmax > vmin))
        return;

    const double ticSize = ChartSetting(isX ? kSetMajorTicSizeX : kSetMajorTicSizeY);
    const double minorTicSize = ChartSetting(isX ? kSetMinorTicSizeX : kSetMinorTicSizeY);
    const int majorTick = RoundHalfEven(ticSize * c.textWidth + 0.5);
    const int minorTick = RoundHalfEven(minorTicSize * majorTick);
    const QString unit = UnitPart(rq.caption);
    const int spacing =
        isX ? TextWidth(unit) + RoundHalfEven(c.textWidth * ChartSetting(rq.fixedLabels ? kSetLabelDistXFloat
                                                                                        : kSetLabelDistXExp))
            : RoundHalfEven(ChartSetting(kSetLabelDistY) * c.textHeight);
    const int length = isX ? g->right - g->left : g->bottom - g->top;

    if (a.logarithmic) {
        a.min = vmin;
        a.max = vmax;
        a.major = 10;
        a.minor = 1;
        a.decimals = 0;
    } else {
        const TNiceSteps s = ComputeNiceSteps(vmin, vmax, rq.step, length, spacing, rq.rangeMode);
        a.min = s.min;
        a.max = s.max;
        a.major = s.major;
        a.minor = s.minor;
        a.decimals = s.decimals;
        if (!isX) {
            a.min = static_cast<float>(a.min);
            a.max = static_cast<float>(a.max);
        }
        if (!(a.max > a.min))
            return;
    }
    a.lnRatio = a.logarithmic ? std::log(a.max / a.min) : 0;
    a.screenStart = isX ? g->left : g->bottom;
    a.screenLength = length;
    const double fullSpan = a.logarithmic ? std::log(fullMax / fullMin) : fullMax - fullMin;
    const double depth = std::max(1.0, ChartSetting(kSetMaxZoomDepth));
    const double span = rq.minZoomSpan > 0 ? rq.minZoomSpan : 0;
    const double frac = std::max(a.logarithmic ? 0.0 : span / fullSpan, 1.0 / depth);
    if (isX) {
        a.minZoomFraction = frac;
    } else {
        if (!g->yZoomFractionSet) {
            g->yZoomFractionSet = true;
            g->yMinZoomFraction = frac;
        }
        a.minZoomFraction = g->yMinZoomFraction;
    }
    a.valid = true;
    if (!isX) {
        g->currentY = g->yCount;
        ++g->yCount;
    }

    if (!drawn)
        return;
    QPainter* p = Canvas();
    if (!p)
        return;

    // ---- drawing ----
    const int s = c.scale;
    p->setClipping(false);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setRenderHint(QPainter::Antialiasing, false);
    p->setBrush(Qt::NoBrush);
    const QColor qc = ToQColor(a.colour);
    const QPen axisPen(qc, s, Qt::SolidLine, Qt::SquareCap);
    p->setPen(axisPen);
    p->setFont(c.font);

    // Geometry by position. X: the axis on the bottom (0..2) or top (3, 4)
    // edge; `out` is the outward direction, ticks go out for 0, 1, 3.
    const bool bottom = !isX || rq.position <= 2;
    const int axisCoord = isX ? (bottom ? g->bottom : g->top) : g->left;
    const int out = isX ? (bottom ? 1 : -1) : -1;
    const bool ticksOutside = isX ? (rq.position == 0 || rq.position == 1 || rq.position == 3) : true;
    const int tickDir = ticksOutside ? out : -out;

    if (isX)
        p->drawLine(g->left, axisCoord, g->right, axisCoord);
    else
        p->drawLine(axisCoord, g->bottom, axisCoord, g->top);

    auto pixelOf = [&](double v) {
        return isX ? ClampPixel(a.screenStart + Fraction(a, v) * a.screenLength)
                   : ClampPixel(a.screenStart - Fraction(a, v) * a.screenLength);
    };
    auto inside = [&](int px) {
        return isX ? (px >= g->left && px <= g->right) : (px >= g->top && px <= g->bottom);
    };
    const int firstEdge = isX ? g->left : g->bottom;

    std::vector<QRect> dots;
    dots.reserve(1024);
    const QPen dotPen(qc, s, Qt::SolidLine, Qt::SquareCap);
    auto gridAt = [&](int px, int pattern) {
        if (px == firstEdge)
            return;
        p->setPen(dotPen);
        if (isX) {
            const int len = g->bottom - g->top;
            if (bottom)
                GridLine(p, QPoint(px, g->bottom), QPoint(0, -1), len, pattern, s, dots);
            else
                GridLine(p, QPoint(px, g->top), QPoint(0, 1), len, pattern, s, dots);
        } else {
            GridLine(p, QPoint(g->left, px), QPoint(1, 0), g->right - g->left, pattern, s, dots);
        }
        p->setPen(axisPen);
    };
    auto tickAt = [&](int px, int len) {
        if (len <= 0)
            return;
        if (isX)
            p->drawLine(px, axisCoord, px, axisCoord + tickDir * len);
        else
            p->drawLine(axisCoord, px, axisCoord + tickDir * len, px);
    };

    struct TLabel {
        int pixel;
        QString text;
    };
    std::vector<TLabel> labels;

    if (a.logarithmic) {
        const int firstDecade = static_cast<int>(std::floor(std::log10(a.min)));
        const int lastDecade = static_cast<int>(std::ceil(std::log10(a.max)));
        for (int d = firstDecade; d <= lastDecade && d - firstDecade < kMaxTicks; ++d) {
            const double decade = std::pow(10.0, d);
            for (int m = 1; m <= 9; ++m) {
                const double v = decade * m;
                if (v < a.min * (1 - 1e-12) || v > a.max * (1 + 1e-12))
                    continue;
                const int px = pixelOf(v);
                if (!inside(px))
                    continue;
                if (m == 1) {
                    tickAt(px, majorTick);
                    if (rq.grid)
                        gridAt(px, g->gridMajor);
                    labels.push_back({px, TickLabel(a, v, false, unit)});
                } else {
                    tickAt(px, minorTick);
                    if (rq.grid)
                        gridAt(px, g->gridMinor);
                }
            }
        }
    } else {
        const float majorF = static_cast<float>(a.major);
        int nMinor = RoundHalfEven(a.major / a.minor) - 1;
        nMinor = std::clamp(nMinor, 0, 1000);
        float v = static_cast<float>(std::trunc(a.min / a.major - 1) * a.major);
        for (int k = 0; k < kMaxTicks; ++k) {
            const int px = pixelOf(v);
            if (isX ? px > g->right : px < g->top)
                break;
            if (inside(px)) {
                tickAt(px, majorTick);
                if (rq.grid)
                    gridAt(px, g->gridMajor);
                labels.push_back({px, TickLabel(a, v, rq.fixedLabels, unit)});
            }
            for (int i = 1; i <= nMinor; ++i) {
                const int mpx = pixelOf(static_cast<double>(v) + i * a.minor);
                if (!inside(mpx))
                    continue;
                tickAt(mpx, minorTick);
                if (rq.grid)
                    gridAt(mpx, g->gridMinor);
            }
            const float next = v + majorF;
            if (!(next > v))
                break;
            v = next;
        }
        if (!isX && !rq.grid && a.min <= 0 && a.max >= 0) {
            const int px = pixelOf(0);
            if (inside(px))
                gridAt(px, g->gridMajor);
        }
    }

    // Labels and caption.
    p->setPen(qc);
    const int h = c.textHeight;
    int widest = 0;
    const int labelOffset = s + (ticksOutside ? majorTick : 0) - 1;
    for (const TLabel& l : labels) {
        const int w = TextWidth(l.text);
        widest = std::max(widest, w);
        if (isX) {
            const int top = bottom ? axisCoord + labelOffset : axisCoord - labelOffset - h;
            TextOut(p, l.pixel - w / 2, top, l.text);
        } else {
            const int right = axisCoord - (2 * s + majorTick);
            TextOut(p, right - w, l.pixel - h / 2, l.text);
        }
    }
    const QString caption = CaptionPart(rq.caption);
    if (!caption.isEmpty()) {
        const int w = TextWidth(caption);
        if (isX) {
            const int centre = (g->left + g->right) / 2;
            const int gap = majorTick + (labels.empty() ? 0 : h) + 4 * s;
            const int top = bottom ? axisCoord + gap : axisCoord - gap - h;
            TextOut(p, centre - w / 2, top, caption);
        } else {
            // Turned to read upwards; its lower edge faces the axis.
            const int lowerEdge = axisCoord - majorTick - widest - 8 * s;
            const int centre = (g->top + g->bottom) / 2;
            p->save();
            p->translate(lowerEdge, centre);
            p->rotate(-90);
            p->drawText(QPoint(-w / 2, -c.textDescent), caption);
            p->restore();
        }
    }
    p->setPen(axisPen);
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
