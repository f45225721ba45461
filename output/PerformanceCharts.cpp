#include "PerformanceCharts.h"
#include "PressureDropDisplay.h"

#include "ChartFileExport.h"
#include "chartgraph.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace {

constexpr TColor kBackground = ChartRGB(255, 255, 255);
constexpr TColor kForeground = ChartRGB(0, 0, 128);
constexpr TColor kAxisColour = ChartRGB(0, 0, 255);
constexpr TColor kRed = ChartRGB(255, 0, 0);
constexpr TColor kDryColour = ChartRGB(96, 96, 96);
constexpr TColor kReferenceColour = ChartRGB(200, 0, 120);
// Half the height of a flood tick on the logarithmic pressure axis, as a ratio.
constexpr double kFloodTickRatio = 1.35;
constexpr TColor kPalette[] = {ChartRGB(0, 110, 0),   ChartRGB(0, 90, 200), ChartRGB(150, 0, 150),
                               ChartRGB(200, 110, 0), ChartRGB(0, 140, 140), ChartRGB(120, 70, 20),
                               ChartRGB(90, 90, 220), ChartRGB(60, 60, 60)};
// Narrowest zoom window, as a fraction of an axis.
constexpr float kMinZoomFraction = 0.01f;
// The logarithmic pressure axis spans at most this many decades below its top.
constexpr int kMaxDecades = 5;

QString Tr(const char* text)
{
    return QCoreApplication::translate("Velk", text);
}

QString Number(double v)
{
    return FormatGeneral(v, 3, 0);
}

struct TRange {
    double min = 0, max = 0;
    void add(double v)
    {
        if (!std::isfinite(v))
            return;
        if (min == 0 && max == 0) {
            min = max = v;
        } else {
            min = std::min(min, v);
            max = std::max(max, v);
        }
    }
};

void StartChart(TChartSurface* surface)
{
    InitChart(surface, kBackground, kForeground, 1.0f);
    DefineGraph(0, 100, 0, 100, 80, 30, 50, 60, false);
    SetGridPatterns(4, -1);
}

void Polyline(const std::vector<CurvePoint>& points)
{
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i == 0)
            MoveToPoint(points[i].x, points[i].y);
        else
            LineToPoint(points[i].x, points[i].y);
    }
}

// The operating point with its percentage of flood, kept inside the plot.
void OperatingMarker(double x, double y, double floodPercent)
{
    if (!std::isfinite(x) || !std::isfinite(y))
        return;
    SetPenColor(kRed);
    SetPenWidth(1);
    SetDash(0, 0, 0);
    MoveToPoint(x, y);
    AddMarker(kMarkCircle, 9, kFillPen);
    const QString text = Tr(QT_TRANSLATE_NOOP("Velk", "操作点")) + QStringLiteral(" (") + QString::number(floodPercent, 'f', 0) +
                         Tr(QT_TRANSLATE_NOOP("Velk", "% 泛点")) + QStringLiteral(")");
    DrawTextAt(kRed, QStringLiteral("  ") + text, 1, x, y, -1, kTextKeepInside);
}

QString LoadText(double load)
{
    return QStringLiteral("uL=") + Number(load) + QLatin1Char(' ') +
           WithFigureUnit(QStringLiteral("m³/(m²·h)"), FigureKind::LiquidLoad, QStringLiteral("m³/(m²·h)"));
}

// The F-factor axis reaches the flood points, which lie past the curves' ends.
double MaxF(const PerformanceCurves& c)
{
    double f = 0;
    for (const CurvePoint& p : c.dry)
        f = std::max(f, p.x);
    for (const PressureDropCurve& curve : c.pressureDrop) {
        for (const CurvePoint& p : curve.points)
            f = std::max(f, p.x);
        if (curve.hasFlood && !curve.points.empty())
            f = std::max(f, curve.floodF);
    }
    return f;
}

void DrawPressureDropCurves(const PerformanceCurves& c, std::vector<TChartLegendEntry>& legend)
{
    SetPenWidth(1);
    SetDash(4, 50, 0);
    SetPenColor(kDryColour);
    Polyline(c.dry);
    legend.push_back({kDryColour, 1, true, 0, Tr(QT_TRANSLATE_NOOP("Velk", "干填料"))});
    SetDash(0, 0, 0);
    int colour = 0;
    for (const PressureDropCurve& curve : c.pressureDrop) {
        if (curve.liquidLoad == 0 || curve.points.empty())
            continue;
        const TColor pen = curve.current ? kRed : kPalette[colour++ % std::size(kPalette)];
        SetPenColor(pen);
        SetPenWidth(curve.current ? 2 : 1);
        Polyline(curve.points);
        legend.push_back({pen, curve.current ? 2 : 1, false, 0,
                          curve.current ? LoadText(curve.liquidLoad) + Tr(QT_TRANSLATE_NOOP("Velk", "（当前）")) : LoadText(curve.liquidLoad)});
    }
    // Flood is known by its F-factor only: a vertical tick at the end of
    // each curve, across its last point, and no pressure drop is made up
    // for it (the model stops before flood).
    SetPenWidth(2);
    SetPenColor(kRed);
    bool anyFlood = false;
    for (const PressureDropCurve& curve : c.pressureDrop) {
        if (!curve.hasFlood || curve.points.empty())
            continue;
        const double y = curve.points.back().y;
        MoveToPoint(curve.floodF, y / kFloodTickRatio);
        LineToPoint(curve.floodF, y * kFloodTickRatio);
        anyFlood = true;
    }
    SetPenWidth(1);
    if (anyFlood)
        legend.push_back({kRed, 2, false, 0, Tr(QT_TRANSLATE_NOOP("Velk", "泛点F因子"))});
    if (c.floodReferenceDp && anyFlood) {
        // The generalised correlation's flood pressure drop, a reference.
        SetPenColor(kReferenceColour);
        SetDash(6, 60, 0);
        MoveToPoint(0, *c.floodReferenceDp);
        LineToPoint(MaxF(c), *c.floodReferenceDp);
        SetDash(0, 0, 0);
        legend.push_back({kReferenceColour, 1, true, 0,
                          Tr(QT_TRANSLATE_NOOP("Velk", "泛点压降参考值(Kister-Gill)")) + QStringLiteral(" ") +
                              Number(*c.floodReferenceDp)});
    }
}

// The curves in the chosen display units (the F-factor and the holdup keep theirs).
PerformanceCurves ShownCurves(const PerformanceCurves& given)
{
    PerformanceCurves c = given;
    const auto dp = [](double v) { return ShownFigure(FigureKind::PressureDropPerLength, v); };
    const auto load = [](double v) { return ShownFigure(FigureKind::LiquidLoad, v); };
    const auto length = [](double v) { return ShownFigure(FigureKind::Length, v); };
    for (CurvePoint& p : c.dry)
        p.y = dp(p.y);
    for (PressureDropCurve& curve : c.pressureDrop) {
        curve.liquidLoad = load(curve.liquidLoad);
        for (CurvePoint& p : curve.points)
            p.y = dp(p.y);
    }
    if (c.floodReferenceDp) c.floodReferenceDp = dp(*c.floodReferenceDp);
    for (CurvePoint& p : c.holdup)
        p.x = load(p.x);
    for (CurvePoint& p : c.hetp)
        p.y = length(p.y);
    for (CurvePoint& p : c.hetpRbf)
        p.y = length(p.y);
    c.operating.dp = dp(c.operating.dp);
    c.operating.uL = load(c.operating.uL);
    c.operating.HETP = length(c.operating.HETP);
    return c;
}

QString DrawPressureDropChart(const PerformanceCurves& c)
{
    TRange f, dp;
    for (const CurvePoint& p : c.dry) {
        f.add(p.x);
        dp.add(p.y);
    }
    for (const PressureDropCurve& curve : c.pressureDrop)
        for (const CurvePoint& p : curve.points) {
            f.add(p.x);
            dp.add(p.y);
        }
    f.add(MaxF(c));
    if (c.floodReferenceDp && dp.max > 0)
        dp.add(*c.floodReferenceDp);
    if (!(f.max > 0) || !(dp.max > 0))
        return Tr(QT_TRANSLATE_NOOP("Velk", "没有可绘制的压降曲线。"));
    const TLogRange range = SanitisedLogRange(dp.min, dp.max, kMaxDecades);
    const float fMax = static_cast<float>(f.max);
    DrawXAxis(kAxisColour, Tr(QT_TRANSLATE_NOOP("Velk", "F因子 (Pa^0.5)")), 0, 0.0f, fMax, 0.0f, kMinZoomFraction * fMax, true, false, true, 2);
    DrawYAxis(kAxisColour, WithFigureUnit(Tr(QT_TRANSLATE_NOOP("Velk", "压降 (mbar/m)")), FigureKind::PressureDropPerLength, QStringLiteral("mbar/m")), 5, static_cast<float>(range.min), static_cast<float>(range.max), 0.0f, 0.0f,
              true, true, false, 0);
    std::vector<TChartLegendEntry> legend;
    DrawPressureDropCurves(c, legend);
    OperatingMarker(c.operating.F, c.operating.dp, c.operating.floodPercent);
    legend.push_back({kRed, 1, false, kMarkCircle, Tr(QT_TRANSLATE_NOOP("Velk", "操作点"))});
    FlushChart();
    DrawLegend(legend, kLegendBottomRight);
    return QString();
}

// A single curve on linear axes from zero, with the operating point; a
// second model's curve beside it (HETP), named in a legend, when given.
struct SecondCurve {
    const std::vector<CurvePoint>* points = nullptr;
    QString firstName, name;
};

QString DrawSingleCurveChart(const std::vector<CurvePoint>& points, const QString& xCaption,
                             const QString& yCaption, double opX, double opY, double floodPercent,
                             const QString& empty, const SecondCurve& second = {})
{
    const bool two = second.points && !second.points->empty() && !points.empty();
    TRange x, y;
    for (const CurvePoint& p : points) {
        x.add(p.x);
        y.add(p.y);
    }
    if (two)
        for (const CurvePoint& p : *second.points) {
            x.add(p.x);
            y.add(p.y);
        }
    x.add(opX);
    y.add(opY);
    if (points.empty() || !(x.max > 0) || !(y.max > 0))
        return empty;
    const float xMax = static_cast<float>(x.max * 1.05);
    const float yMax = static_cast<float>(y.max * 1.1);
    DrawXAxis(kAxisColour, xCaption, 0, 0.0f, xMax, 0.0f, kMinZoomFraction * xMax, true, false, true, 2);
    DrawYAxis(kAxisColour, yCaption, 5, 0.0f, yMax, 0.0f, kMinZoomFraction * yMax, true, false, true, 2);
    SetPenColor(kPalette[1]);
    SetPenWidth(2);
    Polyline(points);
    if (two) {
        SetPenColor(kPalette[2]);
        Polyline(*second.points);
    }
    OperatingMarker(opX, opY, floodPercent);
    FlushChart();
    if (two)
        DrawLegend({{kPalette[1], 2, false, 0, second.firstName}, {kPalette[2], 2, false, 0, second.name}},
                   kLegendTopRight);
    return QString();
}

bool HaveGuiApplication()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace

QString PerformanceChartStem(TPerformanceChart chart)
{
    switch (chart) {
    case TPerformanceChart::PressureDrop:
        return QStringLiteral("pressure-drop");
    case TPerformanceChart::Holdup:
        return QStringLiteral("holdup");
    case TPerformanceChart::Hetp:
        break;
    }
    return QStringLiteral("hetp");
}

QString PerformanceChartName(TPerformanceChart chart)
{
    switch (chart) {
    case TPerformanceChart::PressureDrop:
        return Tr(QT_TRANSLATE_NOOP("Velk", "压降曲线"));
    case TPerformanceChart::Holdup:
        return Tr(QT_TRANSLATE_NOOP("Velk", "持液量曲线"));
    case TPerformanceChart::Hetp:
        break;
    }
    return Tr(QT_TRANSLATE_NOOP("Velk", "等板高度曲线"));
}

QString DrawPerformanceChart(TChartSurface* surface, TPerformanceChart chart, const PerformanceCurves& curves,
                             const QString& title)
{
    if (!surface)
        return Tr(QT_TRANSLATE_NOOP("Velk", "没有绘图表面。"));
    if (!HaveGuiApplication())
        return Tr(QT_TRANSLATE_NOOP("Velk", "绘图需要图形应用程序环境（可用 offscreen 平台）。"));
    StartChart(surface);
    const QString heading = title.isEmpty() ? PerformanceChartName(chart)
                                            : PerformanceChartName(chart) + QStringLiteral(" — ") + title;
    DrawTitle(kForeground, heading);
    const PerformanceCurves shown = ShownCurves(curves);
    const OperatingPoint& op = shown.operating;
    switch (chart) {
    case TPerformanceChart::PressureDrop:
        return DrawPressureDropChart(shown);
    case TPerformanceChart::Holdup:
        return DrawSingleCurveChart(shown.holdup, WithFigureUnit(Tr(QT_TRANSLATE_NOOP("Velk", "液相负荷 (m³/(m²·h))")), FigureKind::LiquidLoad, QStringLiteral("m³/(m²·h)")), Tr(QT_TRANSLATE_NOOP("Velk", "持液量 (m³/m³)")), op.uL, op.hL,
                                    op.floodPercent, Tr(QT_TRANSLATE_NOOP("Velk", "没有可绘制的持液量曲线。")));
    case TPerformanceChart::Hetp:
        break;
    }
    return DrawSingleCurveChart(
        shown.hetp, Tr(QT_TRANSLATE_NOOP("Velk", "F因子 (Pa^0.5)")),
        WithFigureUnit(Tr(QT_TRANSLATE_NOOP("Velk", "HETP (m)")), FigureKind::Length, QStringLiteral("m")),
        op.F, op.HETP, op.floodPercent, Tr(QT_TRANSLATE_NOOP("Velk", "没有传质数据，不能绘制等板高度曲线。")),
        {&shown.hetpRbf, Tr(QT_TRANSLATE_NOOP("Velk", "本页模型")),
         Tr(QT_TRANSLATE_NOOP("Velk", "Rocha-Bravo-Fair模型"))});
}

QString DrawWholePerformanceChart(TChartSurface* surface, TPerformanceChart chart, const PerformanceCurves& curves,
                                  const QString& title)
{
    const TChartZoom kept = ChartZoom(1);
    ChartResetZoom(1);
    const QString error = DrawPerformanceChart(surface, chart, curves, title);
    ChartSetZoom(1, kept);
    return error;
}

bool SavePerformanceChart(const QString& file, QSize size, TPerformanceChart chart, const PerformanceCurves& curves,
                          const QString& title, QString* error)
{
    return SaveChartFile(file, size, PerformanceChartName(chart), [&](TChartSurface* surface) {
        return DrawWholePerformanceChart(surface, chart, curves, title);
    }, error);
}

bool ParseLiquidLoads(const QString& text, std::vector<double>& loads)
{
    std::vector<double> parsed;
    const QStringList parts = QString(text).replace(QChar(0xFF0C), QLatin1Char(',')).split(QLatin1Char(','));
    for (const QString& part : parts) {
        const QString t = part.trimmed();
        if (t.isEmpty())
            continue;
        bool ok = false;
        const double v = t.toDouble(&ok);
        if (!ok || !std::isfinite(v) || v < 0 || v > 1e6)
            return false;
        parsed.push_back(v);
    }
    if (parsed.empty() || parsed.size() > 20)
        return false;
    loads = parsed;
    return true;
}

QString LiquidLoadsText(const std::vector<double>& loads)
{
    QStringList parts;
    for (double v : loads)
        parts << QString::number(v, 'g', 6);
    return parts.join(QStringLiteral(", "));
}
