#include "PerformanceCommand.h"

#include "CalcPage.h"
#include "PackingCatalogue.h"
#include "TextToFloat.h"

std::optional<TPerformanceInput> PerformanceInputFromPage(CalcPage& page, bool recalculate)
{
    if (recalculate) {
        page.NeedsRecalc = true;
        page.LDExit();
    }
    if (page.Field("dD")->Text().empty() || page.Field("LD")->Text().empty() || page.Field("VD")->Text().empty())
        return std::nullopt;
    TPerformanceInput in;
    in.f = DiagramLoadPercent(page);
    in.rating = page.Check("CBRating")->Checked();
    in.L = page.Field("LD")->GetValue();
    in.V = page.Field("VD")->GetValue();
    in.uL = page.Field("UlsD")->GetValue();
    in.uLmin = CurrentPacking.uLmin;
    return in;
}
