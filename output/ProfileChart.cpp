#include "ProfileChart.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "PressureDropDisplay.h"
#include "chartgraph.h"

namespace
{

constexpr TColor kBackground = ChartRGB(255, 255, 255);
constexpr TColor kForeground = ChartRGB(0, 0, 0);
constexpr TColor kAxis = ChartRGB(0, 0, 128);
constexpr TColor kLimit = ChartRGB(255, 0, 0);
// Beds in turn; more beds than colours repeat them.
constexpr TColor kBedColours[] = {ChartRGB(0, 0, 255),   ChartRGB(0, 128, 0),   ChartRGB(192, 96, 0),
                                  ChartRGB(128, 0, 128), ChartRGB(0, 128, 128), ChartRGB(96, 96, 96)};

using Member = std::optional<double> ProfileChartPoint::*;

struct Range {
    double lo = 0, hi = 0;
    bool any = false;
    void Add(double v)
    {
        lo = any ? std::min(lo, v) : v;
        hi = any ? std::max(hi, v) : v;
        any = true;
    }
};

void DrawCurves(const std::vector<ProfileChartCurve>& curves, Member member)
{
    for (std::size_t c = 0; c < curves.size(); ++c) {
        SetPenColor(kBedColours[c % std::size(kBedColours)]);
        SetDash(0, 0, 0);
        bool drawing = false;
        for (const ProfileChartPoint& p : curves[c].points) {
            const std::optional<double>& y = p.*member;
            if (!y) {
                drawing = false; // a stage without a value breaks the curve
                continue;
            }
            if (drawing)
                LineToPoint(p.stage, *y);
            else
                MoveToPoint(p.stage, *y);
            AddMarker(kMarkCircle, 5, kFillPen);
            drawing = true;
        }
    }
}

// Room under a plot for its tick labels and its axis caption: three lines of
// the chart's font, so that the caption of the lower chart is not cut off.
int BottomMargin()
{
    QFont font(QStringLiteral("宋体"));
    font.setPointSize(9);
    return std::max(40, static_cast<int>(std::ceil(QFontMetricsF(font).height() * 3)));
}

void DrawChart(const std::vector<ProfileChartCurve>& curves, Member member, const QString& caption,
               const Range& stages, int top, int bottom, bool floodLine)
{
    Range values;
    for (const ProfileChartCurve& c : curves)
        for (const ProfileChartPoint& p : c.points)
            if (p.*member) values.Add(*(p.*member));
    if (floodLine) values.Add(100);
    if (!values.any) values.Add(0);
    values.Add(0);
    const double span = values.hi > values.lo ? values.hi - values.lo : 1;
    DefineGraph(0, 100, top, bottom, 70, 60, 30, BottomMargin(), true);
    const double stageSpan = std::max(stages.hi - stages.lo, 1.0);
    DrawXAxis(kAxis, QCoreApplication::translate("Velk", "理论板"), 0, static_cast<float>(stages.lo),
              static_cast<float>(stages.lo + stageSpan), 1.0f, 1.0f, true, false, true, 2);
    DrawYAxis(kAxis, caption, 5, static_cast<float>(values.lo), static_cast<float>(values.hi + 0.1 * span),
              0.0f, 0.0f, true, false, true, 2);
    SetPenWidth(2);
    if (floodLine) {
        SetPenColor(kLimit);
        SetDash(6, 50, 0);
        MoveToPoint(stages.lo, 100);
        LineToPoint(stages.lo + stageSpan, 100);
        DrawTextAt(kLimit, QStringLiteral("100%"), 1, stages.lo + stageSpan, 100, -1, 0);
    }
    DrawCurves(curves, member);
    std::vector<TChartLegendEntry> legend;
    for (std::size_t c = 0; c < curves.size(); ++c)
        legend.push_back({kBedColours[c % std::size(kBedColours)], 2, false, kMarkCircle, curves[c].name});
    if (legend.size() > 1) DrawLegend(legend, kLegendBottomRight);
    FlushChart();
}

} // namespace

QString DrawProfileCharts(TChartSurface* surface, const std::vector<ProfileChartCurve>& given)
{
    // The pressure drops in the chosen display unit.
    std::vector<ProfileChartCurve> curves = given;
    for (ProfileChartCurve& c : curves)
        for (ProfileChartPoint& p : c.points)
            if (p.pressureDrop) p.pressureDrop = ShownPressureDrop(*p.pressureDrop);
    Range stages;
    bool anyValue = false;
    for (const ProfileChartCurve& c : curves)
        for (const ProfileChartPoint& p : c.points) {
            stages.Add(p.stage);
            anyValue = anyValue || p.floodPercent || p.pressureDrop;
        }
    if (!surface || !anyValue) return QCoreApplication::translate("Velk", "没有可绘制的校核结果。");
    InitChart(surface, kBackground, kForeground, 1.0f);
    SetTextFont(QStringLiteral("宋体"), 9, 0, 0, 0);
    DrawChart(curves, &ProfileChartPoint::floodPercent, QCoreApplication::translate("Velk", "泛点率(%)"),
              stages, 0, 50, true);
    DrawChart(curves, &ProfileChartPoint::pressureDrop, QCoreApplication::translate("Velk", "压降(mbar/m)")
                  .replace(QStringLiteral("mbar/m"), PerMetrePressureDropUnit()),
              stages, 50, 100, false);
    return QString();
}
