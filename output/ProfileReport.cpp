#include "ProfileReport.h"

#include <QCoreApplication>
#include <QPdfWriter>
#include <cstdio>

#include "MyXls.h"
#include "ProfileChart.h"
#include "XlsxDocument.h"
#include "XlsxSheetPainter.h"

namespace
{

std::string Tr(const char* text)
{
    return QCoreApplication::translate("Velk", text).toStdString();
}

std::string Number(const std::optional<double>& v)
{
    if (!v) return {};
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", *v);
    return buf;
}

void Row(const AutoVariant& sheet, int row, const std::vector<std::string>& cells)
{
    for (std::size_t c = 0; c < cells.size(); ++c)
        if (!cells[c].empty()) sheet.Put("Cells", {row, static_cast<int>(c) + 1}, cells[c]);
}

} // namespace

void WriteProfileSheet(TMyXls& xls, const ProfileReport& report)
{
    if (!report.Present()) return;
    const ColumnProfile& p = *report.profile;
    const ProfileRating& r = *report.rating;
    const AutoVariant sheet = xls.Workbook.Get("Worksheets").Call("Add");
    sheet.Put("Name", Tr(kProfileSheetName));
    int row = 1;
    Row(sheet, row++, {Tr(QT_TRANSLATE_NOOP("Velk", "塔段校核")), p.source});
    Row(sheet, row++,
        {p.rating ? Tr(QT_TRANSLATE_NOOP("Velk", "按给定塔径校核"))
                  : Tr(QT_TRANSLATE_NOOP("Velk", "按最大理论塔径圆整"))});
    ++row;
    Row(sheet, row++,
        {Tr(QT_TRANSLATE_NOOP("Velk", "填料段")), Tr(QT_TRANSLATE_NOOP("Velk", "起始板")),
         Tr(QT_TRANSLATE_NOOP("Velk", "终止板")), Tr(QT_TRANSLATE_NOOP("Velk", "填料")),
         Tr(QT_TRANSLATE_NOOP("Velk", "算法")), Tr(QT_TRANSLATE_NOOP("Velk", "塔径(m)")),
         Tr(QT_TRANSLATE_NOOP("Velk", "控制板")), Tr(QT_TRANSLATE_NOOP("Velk", "填料高度(m)")),
         Tr(QT_TRANSLATE_NOOP("Velk", "压降(mbar)"))});
    for (std::size_t i = 0; i < r.beds.size(); ++i) {
        const BedRating& b = r.beds[i];
        const std::string method =
            b.method >= 0 && static_cast<std::size_t>(b.method) < report.methodNames.size()
                ? report.methodNames[static_cast<std::size_t>(b.method)]
                : std::to_string(b.method);
        Row(sheet, row++,
            {std::to_string(i + 1), std::to_string(b.first), std::to_string(b.last), b.packing, method,
             Number(b.diameter), b.limitingStage ? std::to_string(*b.limitingStage) : std::string(),
             b.note.empty() ? Number(b.height) : Tr(b.note.c_str()), Number(b.pressureDrop)});
    }
    ++row;
    std::vector<std::string> heading{Tr(QT_TRANSLATE_NOOP("Velk", "板")),
                                     Tr(QT_TRANSLATE_NOOP("Velk", "段"))};
    for (const ProfileValue& v : kProfileValues)
        heading.push_back(Tr(v.caption));
    for (const char* h : {QT_TRANSLATE_NOOP("Velk", "理论塔径(m)"), QT_TRANSLATE_NOOP("Velk", "泛点率(%)"),
                          QT_TRANSLATE_NOOP("Velk", "F因子"), QT_TRANSLATE_NOOP("Velk", "压降(Pa/m)"),
                          QT_TRANSLATE_NOOP("Velk", "持液量"), QT_TRANSLATE_NOOP("Velk", "HETP(m)"),
                          QT_TRANSLATE_NOOP("Velk", "说明")})
        heading.push_back(Tr(h));
    Row(sheet, row++, heading);
    for (std::size_t i = 0; i < p.stages.size() && i < r.stages.size(); ++i) {
        const ProfileStage& s = p.stages[i];
        const StageRating& sr = r.stages[i];
        std::vector<std::string> cells{std::to_string(s.number),
                                       sr.bed >= 0 ? std::to_string(sr.bed + 1) : ""};
        for (const ProfileValue& v : kProfileValues)
            cells.push_back(s.*v.member ? Number(s.*v.member) : Tr(QT_TRANSLATE_NOOP("Velk", "(计算页)")));
        for (const auto& x :
             {sr.theoreticalDiameter, sr.floodPercent, sr.FsFactor, sr.pressureDrop, sr.holdup, sr.HETP})
            cells.push_back(Number(x));
        const std::string& why = sr.skipped ? sr.note : sr.error;
        std::string note = why.empty() ? std::string() : Tr(why.c_str());
        for (const OperatingWarning& w : sr.warnings)
            note += (note.empty() ? "" : "; ") + Tr(w.text.c_str());
        if (r.beds.size() > static_cast<std::size_t>(std::max(sr.bed, 0)) && sr.bed >= 0 &&
            r.beds[static_cast<std::size_t>(sr.bed)].limitingStage == s.number)
            note = Tr(QT_TRANSLATE_NOOP("Velk", "控制板")) + (note.empty() ? "" : "; " + note);
        cells.push_back(note);
        Row(sheet, row++, cells);
    }
    xls.Workbook.Get("Worksheets", {1}).Call("Activate");
}

void PaintProfilePages(QPainter& painter, QPdfWriter& writer, const XlsxDocument& doc,
                       const ProfileReport& report)
{
    int sheet = -1;
    for (int i = 0; i < doc.SheetCount(); ++i)
        if (doc.SheetName(i) == Tr(kProfileSheetName)) sheet = i;
    if (sheet < 0 || !report.Present()) return;
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.newPage();
    XlsxSheetPainter(doc, sheet).Paint(painter, writer);

    const std::vector<ProfileChartCurve> curves = ProfileChartCurves(*report.rating);
    writer.newPage();
    const QRect area = writer.pageLayout().paintRectPixels(writer.resolution());
    // Laid out in screen pixels, scaled to the page; texts in points of the page.
    const int scale = std::max(1, writer.resolution() / 96);
    TPainterSurface surface(&painter, area.size(), scale, writer.resolution());
    DrawProfileCharts(&surface, curves);
}

std::vector<ProfileChartCurve> ProfileChartCurves(const ProfileRating& rating)
{
    std::vector<ProfileChartCurve> curves(rating.beds.size());
    for (std::size_t b = 0; b < curves.size(); ++b)
        curves[b].name = QCoreApplication::translate("Velk", "第%1段").arg(b + 1);
    for (const StageRating& s : rating.stages) {
        if (s.bed < 0 || static_cast<std::size_t>(s.bed) >= curves.size()) continue;
        ProfileChartPoint p;
        p.stage = s.stage;
        if (s.completed) {
            p.floodPercent = s.floodPercent;
            if (s.pressureDrop) p.pressureDrop = *s.pressureDrop / 100; // Pa/m to mbar/m
        }
        curves[static_cast<std::size_t>(s.bed)].points.push_back(p);
    }
    return curves;
}
