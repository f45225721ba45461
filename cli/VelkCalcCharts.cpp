#include "VelkCalcCharts.h"

#include <QDir>
#include <QFile>

#include <sstream>

#include "CalcPage.h"
#include "EngineText.h"
#include "PerformanceCharts.h"
#include "PerformanceCurves.h"
#include "SafeFolder.h"
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
// Writes the six files into folder and returns their names; the first
// failure ends it.
bool WriteCharts(const QDir& folder, const PerformanceCurves& curves, const QString& title,
                 std::vector<std::string>& names, std::string& why)
{
    for (int k = 0; k < kPerformanceChartCount; ++k) {
        const auto chart = static_cast<TPerformanceChart>(k);
        for (const char* suffix : {".svg", ".png"}) {
            const QString name = PerformanceChartStem(chart) + QLatin1String(suffix);
            QString error;
            if (!SavePerformanceChart(folder.filePath(name), kDefaultChartSize, chart, curves, title, &error)) {
                why = error.toStdString();
                return false;
            }
            names.push_back(QFile::encodeName(name).toStdString());
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
    // All the files or none: every chart is drawn into a private folder
    // inside the target first and moved into place only when all were
    // drawn (one that cannot be, such as the HETP chart without mass-transfer
    // data, leaves the folder as it was).
    try {
        SafeFolderWriter folder(dir);
        std::vector<std::string> names;
        if (!WriteCharts(QDir(QFile::decodeName(folder.TempFolder().c_str())), curves, title, names, why))
            return false;
        folder.Commit(names);
        return true;
    } catch (const std::exception& e) {
        why = EngineText(std::string(e.what())).toStdString();
        return false;
    }
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
