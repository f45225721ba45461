#include "ReportCharts.h"

#include "DiagramInput.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>
#include <functional>

#include "CalcPage.h"
#include "ColumnDesign.h"
#include "ColumnElevation.h"
#include "FloatGuard.h"
#include "LoadCaseReport.h"
#include "PackingCatalogue.h"
#include "PerformanceCharts.h"
#include "PerformanceDiagram.h"
#include "TextToFloat.h"
#include "XlsxDocument.h"
#include "chartgraph.h"

namespace
{

QString Tr(const char* text)
{
    return QCoreApplication::translate("Velk", text);
}

// The diagram's case as the report reads it: the fields as they stand.
bool DiagramInput(CalcPage& page, TPerformanceInput& in, std::string& why, const LoadCaseReport& cases)
{
    if (page.Field("dD")->Text().empty() || page.Field("LD")->Text().empty() ||
        page.Field("VD")->Text().empty()) {
        why = Tr(QT_TRANSLATE_NOOP("Velk", "塔径或流量为空，没有操作性能图。")).toStdString();
        return false;
    }
    CompleteDiagramInput(in, page, &cases);
    TPerformancePoints points;
    const QString error = ComputePerformancePoints(in, points);
    why = error.toStdString();
    return error.isEmpty();
}

// Every chart of the report as a drawing routine over a surface; the
// reasons for those left out go to `note`.
using TChartPainter = std::function<void(TChartSurface*)>;
std::vector<TChartPainter> ReportCharts(CalcPage& page, std::string& note, const LoadCaseReport& cases)
{
    std::vector<TChartPainter> charts;
    TPerformanceInput in;
    std::string why;
    if (DiagramInput(page, in, why, cases))
        charts.push_back([in](TChartSurface* s) { DrawPerformanceDiagram(s, in); });
    else
        note += why;
    auto curves = std::make_shared<PerformanceCurves>();
    if (ComputePageCurves(page, DefaultCurveLiquidLoads(), *curves, why)) {
        const QString title = QString::fromStdString(page.Combo("PTD")->Text());
        for (int k = 0; k < kPerformanceChartCount; ++k)
            charts.push_back([curves, title, k](TChartSurface* s) {
                DrawWholePerformanceChart(s, static_cast<TPerformanceChart>(k), *curves, title);
            });
    } else {
        note += (note.empty() ? "" : " ") + why;
    }
    // The column's elevation, when a column design was asked for.
    std::string columnWhy;
    if (ColumnDesignSet(page))
        if (auto design = PageColumnDesign(page, columnWhy))
            charts.push_back([d = *design](TChartSurface* s) {
                if (QPainter* p = s->canvas())
                    PaintColumnElevation(*p, QRect(QPoint(0, 0), s->surfaceSize() * s->deviceScale()), d);
            });
    return charts;
}

} // namespace

bool AddReportChartSheet(const std::string& path, CalcPage& page, std::string& why,
                         const LoadCaseReport& cases)
{
    const QString suffix = QFileInfo(QString::fromStdString(path)).suffix().toLower();
    if (suffix != QLatin1String("xlsx") && suffix != QLatin1String("xltx")) return true;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        why = "drawing the charts needs a graphical session";
        return false;
    }
    std::vector<XlsxDocument::Picture> pictures;
    for (const TChartPainter& paint : ReportCharts(page, why, cases)) {
        TImageSurface surface(kDefaultChartSize);
        paint(&surface);
        surface.endPaint();
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        surface.image().save(&buffer, "PNG");
        pictures.push_back({png.toStdString(), kDefaultChartSize.width(), kDefaultChartSize.height()});
    }
    if (pictures.empty()) return false;
    XlsxDocument doc;
    doc.Load(path);
    doc.AddPictureSheet(Tr(QT_TRANSLATE_NOOP("Velk", "性能图")).toStdString(), pictures);
    doc.SaveAs(path);
    return true;
}

void PaintReportChartPages(QPainter& painter, QPdfWriter& writer, CalcPage& page, std::string& note,
                           const LoadCaseReport& cases)
{
    // Fonts in points of the page, pens and margins scaled from the 96 dpi
    // the charts are laid out for.
    const int dpi = writer.resolution();
    const int scale = std::max(1, static_cast<int>(std::lround(dpi / 96.0)));
    for (const TChartPainter& paint : ReportCharts(page, note, cases)) {
        writer.setPageOrientation(QPageLayout::Landscape);
        writer.newPage();
        const QRect area = writer.pageLayout().paintRectPixels(dpi);
        painter.save();
        TPainterSurface surface(&painter, area.size() / scale, scale, dpi);
        paint(&surface);
        ChartDetachSurface(&surface);
        painter.restore();
    }
}
