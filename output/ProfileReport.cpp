#include "ProfileReport.h"

#include <QCoreApplication>
#include <QPdfWriter>
#include <cstdio>

#include "ComparisonTable.h"
#include "MyXls.h"
#include "PdfTable.h"
#include "PressureDropDisplay.h"
#include "ProfileChart.h"

namespace
{

// The report shows its page units in SI, as it always has (the mbar/Pa
// choice of the screen does not reach it), and the US units in US.
bool UsReport()
{
    return CurrentDisplaySystem() == UnitSystem::US;
}
std::optional<double> Shown(FigureKind kind, const std::optional<double>& v)
{
    return UsReport() ? ShownFigure(kind, v) : v;
}
// How the display units convert each of kProfileValues (the slope stays).
const std::optional<FigureKind> kValueKinds[10] = {
    FigureKind::MassFlow,    FigureKind::Density,   FigureKind::Viscosity,      FigureKind::MassFlow,
    FigureKind::Density,     FigureKind::Viscosity, FigureKind::SurfaceTension, FigureKind::Diffusivity,
    FigureKind::Diffusivity, std::nullopt};
std::string Heading(const char* text, FigureKind kind, const char* pageUnit)
{
    const QString t = QCoreApplication::translate("Velk", text);
    return (UsReport() ? WithFigureUnit(t, kind, QString::fromLatin1(pageUnit)) : t).toStdString();
}

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

// A stage's cells: number, bed, the profile's data, the results, a note
// naming the limiting stage, the error and the warnings.
std::vector<std::string> StageCells(const ProfileReport& report, std::size_t i)
{
    const ProfileStage& s = report.profile->stages[i];
    const StageRating& sr = report.rating->stages[i];
    const auto& beds = report.rating->beds;
    std::vector<std::string> cells{std::to_string(s.number), sr.bed >= 0 ? std::to_string(sr.bed + 1) : ""};
    for (std::size_t k = 0; k < std::size(kProfileValues); ++k) {
        const std::optional<double>& x = s.*kProfileValues[k].member;
        cells.push_back(x ? Number(kValueKinds[k] ? Shown(*kValueKinds[k], x) : x)
                          : Tr(QT_TRANSLATE_NOOP("Velk", "(计算页)")));
    }
    // The stage's pressure drop comes in Pa/m; 100 Pa make a mbar.
    const std::optional<double> dp =
        UsReport() && sr.pressureDrop
            ? std::optional<double>(ShownFigure(FigureKind::PressureDropPerLength, *sr.pressureDrop / 100.0))
            : sr.pressureDrop;
    for (const auto& x : {Shown(FigureKind::Length, sr.theoreticalDiameter), sr.floodPercent, sr.FsFactor, dp,
                          sr.holdup, Shown(FigureKind::Length, sr.HETP)})
        cells.push_back(Number(x));
    const std::string& why = sr.skipped ? sr.note : sr.error;
    std::string note = why.empty() ? std::string() : CaseErrorText(why).toStdString();
    for (const OperatingWarning& w : sr.warnings)
        note += (note.empty() ? "" : "; ") + Tr(w.text.c_str());
    if (beds.size() > static_cast<std::size_t>(std::max(sr.bed, 0)) && sr.bed >= 0 &&
        beds[static_cast<std::size_t>(sr.bed)].limitingStage == s.number)
        note = Tr(QT_TRANSLATE_NOOP("Velk", "控制板")) + (note.empty() ? "" : "; " + note);
    cells.push_back(note);
    return cells;
}

// A table of the page from the sheet's rows (headings first); `wrapping`:
// the text columns that may take several lines.
PageTable PageTableOf(const std::vector<std::vector<std::string>>& rows,
                      const std::vector<std::size_t>& wrapping)
{
    PageTable t;
    for (const std::string& h : rows.at(0))
        t.headings << HeadingBreakingAtUnit(QString::fromStdString(h));
    t.wrap.assign(rows[0].size(), false);
    for (std::size_t c : wrapping)
        if (c < t.wrap.size()) t.wrap[c] = true;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        PageTableRow r;
        for (const std::string& cell : rows[i])
            r.cells << QString::fromStdString(cell);
        t.rows.push_back(r);
    }
    return t;
}

void Row(const AutoVariant& sheet, int row, const std::vector<std::string>& cells)
{
    for (std::size_t c = 0; c < cells.size(); ++c)
        if (!cells[c].empty()) sheet.Put("Cells", {row, static_cast<int>(c) + 1}, cells[c]);
}

} // namespace

ProfileSheetText ProfileSheetRows(const ProfileReport& report)
{
    ProfileSheetText t;
    if (!report.Present()) return t;
    const ColumnProfile& p = *report.profile;
    const ProfileRating& r = *report.rating;
    t.title = {{Tr(QT_TRANSLATE_NOOP("Velk", "塔段校核")), p.source},
               {p.rating ? Tr(QT_TRANSLATE_NOOP("Velk", "按给定塔径校核"))
                         : Tr(QT_TRANSLATE_NOOP("Velk", "按最大理论塔径圆整"))}};
    t.beds.push_back({Tr(QT_TRANSLATE_NOOP("Velk", "填料段")), Tr(QT_TRANSLATE_NOOP("Velk", "起始板")),
                      Tr(QT_TRANSLATE_NOOP("Velk", "终止板")), Tr(QT_TRANSLATE_NOOP("Velk", "填料")),
                      Tr(QT_TRANSLATE_NOOP("Velk", "算法")),
                      Heading(QT_TRANSLATE_NOOP("Velk", "塔径(m)"), FigureKind::Length, "m"),
                      Tr(QT_TRANSLATE_NOOP("Velk", "控制板")),
                      Heading(QT_TRANSLATE_NOOP("Velk", "填料高度(m)"), FigureKind::Length, "m"),
                      Heading(QT_TRANSLATE_NOOP("Velk", "压降(mbar)"), FigureKind::BedPressureDrop, "mbar")});
    for (std::size_t i = 0; i < r.beds.size(); ++i) {
        const BedRating& b = r.beds[i];
        const std::string method =
            b.method >= 0 && static_cast<std::size_t>(b.method) < report.methodNames.size()
                ? Tr(report.methodNames[static_cast<std::size_t>(b.method)].c_str())
                : std::to_string(b.method);
        t.beds.push_back({std::to_string(i + 1), std::to_string(b.first), std::to_string(b.last), b.packing,
                          method, Number(Shown(FigureKind::Length, b.diameter)),
                          b.limitingStage ? std::to_string(*b.limitingStage) : std::string(),
                          b.note.empty() ? Number(Shown(FigureKind::Length, b.height)) : Tr(b.note.c_str()),
                          Number(Shown(FigureKind::BedPressureDrop, b.pressureDrop))});
    }
    std::vector<std::string> heading{Tr(QT_TRANSLATE_NOOP("Velk", "板")),
                                     Tr(QT_TRANSLATE_NOOP("Velk", "段"))};
    // The data as the file gives them, in SI; in US converted, with the unit named.
    for (std::size_t k = 0; k < std::size(kProfileValues); ++k)
        heading.push_back(
            Tr(kProfileValues[k].caption) +
            (UsReport() && kValueKinds[k] ? " (" + FigureUnit(*kValueKinds[k]).toStdString() + ")" : ""));
    heading.push_back(Heading(QT_TRANSLATE_NOOP("Velk", "理论塔径(m)"), FigureKind::Length, "m"));
    for (const char* h : {QT_TRANSLATE_NOOP("Velk", "泛点率(%)"), QT_TRANSLATE_NOOP("Velk", "F因子")})
        heading.push_back(Tr(h));
    heading.push_back(
        Heading(QT_TRANSLATE_NOOP("Velk", "压降(Pa/m)"), FigureKind::PressureDropPerLength, "Pa/m"));
    heading.push_back(Tr(QT_TRANSLATE_NOOP("Velk", "持液量")));
    heading.push_back(Heading(QT_TRANSLATE_NOOP("Velk", "HETP(m)"), FigureKind::Length, "m"));
    heading.push_back(Tr(QT_TRANSLATE_NOOP("Velk", "说明")));
    t.stages.push_back(heading);
    for (std::size_t i = 0; i < p.stages.size() && i < r.stages.size(); ++i)
        t.stages.push_back(StageCells(report, i));
    return t;
}

void WriteProfileSheet(TMyXls& xls, const ProfileReport& report)
{
    if (!report.Present()) return;
    const ProfileSheetText t = ProfileSheetRows(report);
    const AutoVariant sheet = xls.Workbook.Get("Worksheets").Call("Add");
    sheet.Put("Name", Tr(kProfileSheetName));
    int row = 1;
    for (const auto& cells : t.title)
        Row(sheet, row++, cells);
    ++row;
    for (const auto& cells : t.beds)
        Row(sheet, row++, cells);
    ++row;
    for (const auto& cells : t.stages)
        Row(sheet, row++, cells);
    xls.Workbook.Get("Worksheets", {1}).Call("Activate");
}

void PaintProfilePages(QPainter& painter, QPdfWriter& writer, const ProfileReport& report)
{
    if (!report.Present()) return;
    const ProfileSheetText t = ProfileSheetRows(report);
    // Both tables on landscape pages: the stages' table is wide, and the
    // beds' table belongs on the page above it.
    PageTablePlace place;
    place.orientation = QPageLayout::Landscape;
    PageTable beds = PageTableOf(t.beds, {3, 4});
    beds.title = QString::fromStdString(t.title[0][0] + "  " + t.title[0][1]);
    beds.notes = {QString::fromStdString(t.title[1][0])};
    PaintPageTable(painter, writer, beds, place);
    place.newPage = false;
    place.y += writer.resolution() / 6.0;
    PageTable stages = PageTableOf(t.stages, {t.stages[0].size() - 1});
    stages.keyColumns = 2; // stage and bed
    PaintPageTable(painter, writer, stages, place);

    const std::vector<ProfileChartCurve> curves = ProfileChartCurves(*report.rating);
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.newPage();
    const QRect area = writer.pageLayout().paintRectPixels(writer.resolution());
    // Laid out in screen pixels, scaled to the page; texts in points of the page.
    const int scale = std::max(1, writer.resolution() / 96);
    TPainterSurface surface(&painter, area.size() / scale, scale, writer.resolution());
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
