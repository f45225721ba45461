#include "DiagramInput.h"

#include <QCoreApplication>
#include <cmath>
#include <memory>

#include "CalcPage.h"
#include "CaseRun.h"
#include "LoadCaseReport.h"
#include "LoadCases.h"
#include "NumberText.h"
#include "OperatingCheck.h"
#include "PackingCatalogue.h"
#include "PressureDropDisplay.h"
#include "TrNoop.h"

namespace
{

QString Tr(const char* text)
{
    return QCoreApplication::translate("Velk", text);
}

QString ShownDiameter(double metres)
{
    const double shown = ShownFigure(FigureKind::Length, metres);
    return QString::fromStdString(DisplayText(shown)) + QLatin1Char(' ') + FigureUnit(FigureKind::Length);
}

// Every flow of the diagram in the display unit (the points are ratios of
// the flows, so they scale with them).
void ShowFlows(TPerformanceInput& in)
{
    if (CurrentDisplaySystem() == UnitSystem::SI) return;
    const double k = ShownFigure(FigureKind::MassFlow, 1.0);
    in.L *= k;
    in.V *= k;
    for (TPerformanceInput::Case& c : in.cases) {
        c.L *= k;
        c.V *= k;
    }
    if (in.window) {
        in.window->Lmin *= k;
        in.window->Vmin *= k;
        in.window->Lmax *= k;
        in.window->Vmax *= k;
    }
    in.flowUnit = FigureUnit(FigureKind::MassFlow);
}

std::optional<double> PageDiameter(const CalcPage& page)
{
    double d;
    const TEditD* f = page.Field("dD");
    if (f->IsBlank() || !f->TryGetValue(d) || !std::isfinite(d)) return std::nullopt;
    return d;
}

} // namespace

std::optional<double> FloodPercentAtDiameter(const CalcPage& page, double diameter)
{
    auto copy = std::make_unique<CalcPage>(false);
    CopyPageState(page, *copy);
    const CaseRunResult run = RunCase(*copy, [&](CalcPage& p) {
        p.SetRatingMode(true);
        p.Field("dD")->SetValue(diameter);
    });
    if (!run.completed) return std::nullopt;
    return copy->Operation().figures.floodPercent;
}

void CompleteDiagramInput(TPerformanceInput& in, CalcPage& page, const LoadCaseReport* cases)
{
    in.L = page.Field("LD")->GetValue();
    in.V = page.Field("VD")->GetValue();
    in.uL = page.Field("UlsD")->GetValue();
    in.uLmin = CurrentPacking.uLmin;
    in.f = DiagramLoadPercent(page);
    in.rating = page.Check("CBRating")->Checked();
    const std::optional<double> shown = PageDiameter(page);
    // Sized to a pressure-drop limit or the conservative flood velocity, the
    // point stands at the actual load of the diameter shown: say which.
    if (!DiagramAtDesignPercent(page) && !in.rating && shown)
        in.caption = Tr(QT_TRANSLATE_NOOP("Velk", "按塔径 %1 绘制")).arg(ShownDiameter(*shown));
    if (cases && cases->Present()) {
        AddLoadCasesToDiagram(in, *cases);
        // The band is rated at the section's diameter: so is the page's point.
        if (const std::optional<double>& section = cases->rating->diameter) {
            std::optional<double> percent;
            if (in.rating && shown && *shown == *section)
                percent = page.Operation().figures.floodPercent;
            else
                percent = FloodPercentAtDiameter(page, *section);
            if (percent && *percent > 0) {
                in.f = *percent;
                in.rating = true;
                in.caption = Tr(QT_TRANSLATE_NOOP("Velk", "按塔段塔径 %1 绘制（工况校核）"))
                                 .arg(ShownDiameter(*section));
            }
        }
    }
    ShowFlows(in);
}
