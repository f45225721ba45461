#include "PerformanceCommand.h"

#include "CalcPage.h"
#include "DiagramInput.h"
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
    CompleteDiagramInput(in, page, cases);
    return in;
}
