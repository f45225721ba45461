// World-to-pixel mapping, tick steps and tick layout of the chart engine's
// axes.

#include "chartaxisdetail.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace chart_detail {

namespace {

// Bound on every tick loop, so that a degenerate range can never hang the
// drawing.
constexpr int kMaxTicks = 20000;
// Minor ticks 2..9 of a logarithmic axis need this much room per decade.
constexpr double kMinPixelsPerDecadeForMinors = 24;

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

int AxisPixel(const TAxisState& a, bool isX, double v)
{
    return isX ? ClampPixel(a.screenStart + Fraction(a, v) * a.screenLength)
               : ClampPixel(a.screenStart - Fraction(a, v) * a.screenLength);
}

bool AxisPixelInside(const TAxisState& a, bool isX, int px)
{
    return isX ? (px >= a.screenStart && px <= a.screenStart + a.screenLength)
               : (px >= a.screenStart - a.screenLength && px <= a.screenStart);
}

namespace {

QString TickLabel(const TAxisState& a, double v, bool fixedLabels, const QString& unit)
{
    const double shown = v * a.direction;
    QString s = fixedLabels ? FormatFixed(shown, std::max(a.decimals, 0)) : FormatGeneral(shown, 7, 0);
    return s + unit;
}

// Decades as major ticks with labels, 2..9 times each decade as minor
// ticks. Where decades crowd, only every n-th decade keeps its label, and
// the minor ticks go when they would merge into a smear.
void LogTicks(const TAxisState& a, bool isX, const QString& unit, std::vector<TAxisTick>& ticks)
{
    const double decades = std::log10(a.max / a.min);
    const double perDecade = decades > 0 ? a.screenLength / decades : a.screenLength;
    const int labelEvery =
        perDecade >= a.labelSpacing ? 1 : static_cast<int>(std::ceil(a.labelSpacing / std::max(perDecade, 1e-9)));
    const bool minors = perDecade >= kMinPixelsPerDecadeForMinors;
    const int firstDecade = static_cast<int>(std::floor(std::log10(a.min)));
    const int lastDecade = static_cast<int>(std::ceil(std::log10(a.max)));
    for (int d = firstDecade; d <= lastDecade && d - firstDecade < kMaxTicks; ++d) {
        const double decade = std::pow(10.0, d);
        for (int m = 1; m <= (minors ? 9 : 1); ++m) {
            const double v = decade * m;
            // The ends are held in single precision.
            if (v < a.min * (1 - 1e-6) || v > a.max * (1 + 1e-6))
                continue;
            const int px = AxisPixel(a, isX, v);
            if (!AxisPixelInside(a, isX, px))
                continue;
            if (m == 1)
                ticks.push_back({px, true, FloorMod(d, labelEvery) == 0 ? TickLabel(a, v, false, unit) : QString()});
            else
                ticks.push_back({px, false, QString()});
        }
    }
}

void LinearTicks(const TAxisState& a, bool isX, bool fixedLabels, const QString& unit,
                 std::vector<TAxisTick>& ticks)
{
    const float majorF = static_cast<float>(a.major);
    int nMinor = RoundHalfEven(a.major / a.minor) - 1;
    nMinor = std::clamp(nMinor, 0, 1000);
    // Majors advance in single precision, as the axis ranges are held.
    float v = static_cast<float>(std::trunc(a.min / a.major - 1) * a.major);
    for (int k = 0; k < kMaxTicks; ++k) {
        const int px = AxisPixel(a, isX, v);
        if (isX ? px > a.screenStart + a.screenLength : px < a.screenStart - a.screenLength)
            break;
        if (AxisPixelInside(a, isX, px))
            ticks.push_back({px, true, TickLabel(a, v, fixedLabels, unit)});
        for (int i = 1; i <= nMinor; ++i) {
            const int mpx = AxisPixel(a, isX, static_cast<double>(v) + i * a.minor);
            if (AxisPixelInside(a, isX, mpx))
                ticks.push_back({mpx, false, QString()});
        }
        const float next = v + majorF;
        if (!(next > v))
            break;
        v = next;
    }
}

} // namespace

std::vector<TAxisTick> LayoutAxisTicks(const TAxisState& a, bool isX, bool fixedLabels, const QString& unit)
{
    std::vector<TAxisTick> ticks;
    if (a.logarithmic && !a.linearTicks)
        LogTicks(a, isX, unit, ticks);
    else
        LinearTicks(a, isX, fixedLabels, unit, ticks);
    return ticks;
}

} // namespace chart_detail
