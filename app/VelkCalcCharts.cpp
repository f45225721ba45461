#include "VelkCalcCharts.h"

#include <QDir>
#include <QTemporaryDir>

#include <sstream>

#include "CalcPage.h"
#include "PerformanceCharts.h"
#include "PerformanceCurves.h"
#include "VelkCalcJson.h"

namespace {

std::string PairJson(double x, double y)
{
    return "[" + JsonNumber(x) + ", " + JsonNumber(y) + "]";
}

std::string PointsJson(const std::vector<CurvePoint>& points)
{
    std::string out = "[";
    for (std::size_t i = 0; i < points.size(); ++i)
        out += (i ? ", " : "") + PairJson(points[i].x, points[i].y);
    return out + "]";
}

} // namespace

namespace {
// Writes the six files into folder; the first failure ends it.
bool WriteCharts(const QDir& folder, const PerformanceCurves& curves, const QString& title, std::string& why)
{
    for (int k = 0; k < kPerformanceChartCount; ++k) {
        const auto chart = static_cast<TPerformanceChart>(k);
        for (const char* suffix : {".svg", ".png"}) {
            const QString file = folder.filePath(PerformanceChartStem(chart) + QLatin1String(suffix));
            QString error;
            if (!SavePerformanceChart(file, kDefaultChartSize, chart, curves, title, &error)) {
                why = error.toStdString();
                return false;
            }
        }
    }
    return true;
}
} // namespace

bool VelkCalcCharts(const CalcPage& page, const std::string& dir, const std::vector<double>& liquidLoads,
                    std::string& why)
{
    PerformanceCurves curves;
    if (!ComputePageCurves(page, liquidLoads, curves, why))
        return false;
    const QString title = QString::fromStdString(page.Combo("PTD")->Text());
    // All the files or none: every chart is drawn once into a private
    // folder first, so that one that cannot be drawn (no mass-transfer data
    // for the HETP chart) stops the command before the folder is touched.
    {
        QTemporaryDir trial;
        if (!trial.isValid()) {
            why = "cannot create a temporary folder";
            return false;
        }
        if (!WriteCharts(QDir(trial.path()), curves, title, why)) return false;
    }
    const QDir folder(QString::fromStdString(dir));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        why = "cannot create the folder " + dir;
        return false;
    }
    return WriteCharts(folder, curves, title, why);
}

std::string PerformanceCurvesJson(const PerformanceCurves& curves)
{
    std::ostringstream o;
    o << "{\"pressureDrop\": [";
    for (std::size_t i = 0; i < curves.pressureDrop.size(); ++i) {
        const PressureDropCurve& c = curves.pressureDrop[i];
        o << (i ? ", " : "") << "{\"liquidLoad\": " << JsonNumber(c.liquidLoad)
          << ", \"points\": " << PointsJson(c.points)
          // Flood by its F-factor only: the model gives no pressure drop there.
          << ", \"flood\": " << (c.hasFlood ? std::string("[").append(JsonNumber(c.floodF)).append(", null]") : std::string("null")) << "}";
    }
    o << "], \"floodPressureDrop\": "
      << (curves.floodReferenceDp ? JsonNumber(*curves.floodReferenceDp) : std::string("null"))
      << ", \"holdup\": " << PointsJson(curves.holdup) << ", \"hetp\": " << PointsJson(curves.hetp) << "}\n";
    return o.str();
}
