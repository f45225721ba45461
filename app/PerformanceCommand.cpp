#include "PerformanceCommand.h"

#include "CalcPage.h"
#include "DiagramInput.h"
#include "PackingCatalogue.h"
#include "TextToFloat.h"

std::optional<TPerformanceInput> PerformanceInputFromPage(CalcPage& page, bool recalculate,
                                                          const LoadCaseReport* cases)
{
    if (recalculate) {
        page.NeedsRecalc = true;
        page.LDExit();
    }
    if (page.Field("dD")->Text().empty() || page.Field("LD")->Text().empty() ||
        page.Field("VD")->Text().empty())
        return std::nullopt;
    TPerformanceInput in;
    in.L = page.Field("LD")->GetValue();
    in.V = page.Field("VD")->GetValue();
    in.uL = page.Field("UlsD")->GetValue();
    in.uLmin = CurrentPacking.uLmin;
    CompleteDiagramInput(in, page, cases);
    return in;
}
