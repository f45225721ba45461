#include "ComparisonChart.h"
#include "PressureDropDisplay.h"
#include "ComparisonTable.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "ComparisonTable.h"
#include "ChartFileExport.h"
#include "chartgraph.h"

namespace
{

constexpr TColor kBackground = ChartRGB(255, 255, 255);
constexpr TColor kForeground = ChartRGB(0, 0, 128);
constexpr TColor kAxisColour = ChartRGB(0, 0, 255);
constexpr TColor kPointColour = ChartRGB(0, 0, 160);
constexpr TColor kCurrentColour = ChartRGB(255, 0, 0);
const int kMethodShapes[] = {kMarkCircle, kMarkSquare, kMarkTriangleUp};

QString Tr(const char* text) { return QCoreApplication::translate("Velk", text); }

// A range with room around the points, and some width even for one point.
void PaddedRange(double lo, double hi, float& min, float& max)
{
    double span = hi - lo;
    if (!(span > 0)) span = std::max(std::fabs(hi) * 0.2, 1e-3);
    min = static_cast<float>(std::max(0.0, lo - 0.08 * span));
    max = static_cast<float>(hi + 0.08 * span);
}

bool HaveGuiApplication() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

} // namespace

std::vector<ComparisonChartPoint> ComparisonChartPoints(const std::vector<ComparisonRow>& rows,
                                                        ComparisonChartAxis axis, const std::string& currentPacking,
                                                        int currentMethod)
{
    std::vector<ComparisonChartPoint> out;
    const ComparisonColumn xColumn =
        axis == ComparisonChartAxis::PressureDrop ? ComparisonColumn::PressureDrop : ComparisonColumn::TheoreticalDiameter;
    for (const ComparisonRow& r : rows) {
        const auto x = ComparisonCellNumber(r, xColumn);
        const auto y = ComparisonCellNumber(r, ComparisonColumn::HETP);
        if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y)) continue;
        ComparisonChartPoint p;
        p.label = ComparisonPackingName(r);
        p.x = *x;
        p.y = *y;
        p.method = r.method;
        p.current = r.packing == currentPacking && r.method == currentMethod;
        out.push_back(p);
    }
    return out;
}

namespace
{
QString DrawChart(TChartSurface* surface, const std::vector<ComparisonChartPoint>& points, ComparisonChartAxis axis,
                  bool severalMethods);
} // namespace

QString DrawComparisonChart(TChartSurface* surface, const std::vector<ComparisonChartPoint>& points,
                            ComparisonChartAxis axis, bool severalMethods)
{
    // The engine keeps zoom windows per graph number; this chart is always
    // whole, and the diagram page keeps the zoom its user chose.
    const TChartZoom kept = ChartZoom(1);
    ChartResetZoom(1);
    const QString error = DrawChart(surface, points, axis, severalMethods);
    ChartSetZoom(1, kept);
    return error;
}

namespace
{
QString DrawChart(TChartSurface* surface, const std::vector<ComparisonChartPoint>& points, ComparisonChartAxis axis,
                  bool severalMethods)
{
    if (!surface) return QStringLiteral("no surface");
    if (!HaveGuiApplication()) return QStringLiteral("no GUI application");
    InitChart(surface, kBackground, kForeground, 1.0f);
    if (points.empty()) {
        DefineGraph(0, 100, 0, 100, 60, 40, 40, 50, true);
        DrawTextAt(kForeground, Tr(QT_TRANSLATE_NOOP("Velk", "没有可比较的结果。")), 0, surface->surfaceSize().width() / 2,
                   surface->surfaceSize().height() / 2, 0, 0);
        FlushChart();
        return Tr(QT_TRANSLATE_NOOP("Velk", "没有可比较的结果。"));
    }
    double x0 = points[0].x, x1 = x0, y0 = points[0].y, y1 = y0;
    for (const auto& p : points) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    float xmin, xmax, ymin, ymax;
    PaddedRange(x0, x1, xmin, xmax);
    PaddedRange(y0, y1, ymin, ymax);
    const QString xCaption = axis == ComparisonChartAxis::PressureDrop
                                 ? ComparisonColumnCaption(ComparisonColumn::PressureDrop)
                                 : ComparisonColumnCaption(ComparisonColumn::TheoreticalDiameter);
    DefineGraph(0, 100, 0, 100, 70, 30, 40, 50, false);
    DrawXAxis(kAxisColour, xCaption, 0, xmin, xmax, 0, 0, true, false, true, 2);
    DrawYAxis(kAxisColour, WithFigureUnit(QStringLiteral("HETP(m)"), FigureKind::Length, QStringLiteral("m")), 5, ymin, ymax, 0, 0, true, false, true, 2);
    DrawTitle(kCurrentColour, Tr(QT_TRANSLATE_NOOP("Velk", "填料比较")));
    SetTextFont(QStringLiteral("宋体"), 8, 0, 0, 0);
    for (int pass = 0; pass < 2; ++pass) {
        // The current point last, so that nothing covers it.
        for (const auto& p : points) {
            if (p.current != (pass == 1)) continue;
            const TColor colour = p.current ? kCurrentColour : kPointColour;
            SetPenColor(colour);
            SetPenWidth(p.current ? 2 : 1);
            MoveToPoint(p.x, p.y);
            const int shape = severalMethods ? kMethodShapes[std::clamp(p.method, 0, 2)] : kMarkCircle;
            AddMarker(shape, p.current ? 10 : 6, p.current ? kFillPen : kFillBackground);
        }
    }
    // Labels after every marker, the current packing's first: in a crowd a
    // label takes a free side of its point or is left out, never written
    // over another. With three correlations one label per packing is enough.
    for (int pass = 0; pass < 2; ++pass)
        for (const auto& p : points)
            if (p.current == (pass == 0) && (!severalMethods || p.current || p.method == 0))
                DrawTextAt(p.current ? kCurrentColour : kPointColour, p.label, 1, p.x, p.y, 0,
                           kTextAvoidOthers);
    if (severalMethods) {
        std::vector<TChartLegendEntry> key;
        for (int m = 0; m < 3; ++m) {
            TChartLegendEntry e;
            e.colour = kPointColour;
            e.marker = kMethodShapes[m];
            e.text = ComparisonMethodName(m);
            key.push_back(e);
        }
        DrawLegend(key, kLegendTopRight);
    }
    FlushChart();
    return QString();
}
} // namespace

bool SaveComparisonChart(const QString& file, QSize size, const std::vector<ComparisonChartPoint>& points,
                         ComparisonChartAxis axis, bool severalMethods, QString* error)
{
    return SaveChartFile(file, size, Tr(QT_TRANSLATE_NOOP("Velk", "填料比较")), [&](TChartSurface* surface) {
        return DrawComparisonChart(surface, points, axis, severalMethods);
    }, error);
}
