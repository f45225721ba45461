// The calculation page's guard of the flooding correlations: a correlation
// that gives no positive load factor for the inputs is stopped before any
// field is written.
#include <cfenv>
#include <cmath>

#include "BaseLib.h"
#include "CalcPage.h"
#include "FloatGuard.h"
#include "Messages.h"
#include "TrNoop.h"

namespace {
const char* const kNoLoadFactorText = QT_TRANSLATE_NOOP(
    "Velk", "所选泛点算法在此流动参数下给出的负荷因子小于或等于零，超出其适用范围，不能计算泛点气速。");
} // namespace

void CalcPage::RequirePositiveCorrelation(const std::vector<TEditD*>& group, TColor colour,
                                          const Equation& eq) const
{
    // Only when the solver is about to compute the group's result: a blank
    // result or one this equation computed, with every input readable.
    TEditD* result = group.back();
    if (!result->IsBlank() && (result->Color() != colour || !result->MyResolved()))
        return;
    ValueArray values{};
    for (std::size_t i = 0; i + 1 < group.size(); ++i)
        if (group[i]->IsBlank() || !group[i]->TryGetValue(values[i]))
            return; // the solver decides, as before
    // Each correlation is explicit: its residual at a result of zero is the
    // correlation's own value.
    values[group.size() - 1] = 0.0;
    double value;
    {
        // A failing evaluation is the solver's to report, with its messages:
        // nothing is shown from here.
        struct Quiet : MessageSink {
            void showMessage(MsgKind, const std::string&, const std::string&) override {}
        } quiet;
        ScopedMessageSink scope(&quiet);
        FloatGuard guard;
        try {
            value = eq(values.data());
        } catch (...) {
            return;
        }
        const bool failed = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW) != 0;
        std::feclearexcept(FE_ALL_EXCEPT);
        if (failed || !std::isfinite(value))
            return;
    }
    if (value <= 0.0) {
        ShowMessage(MsgKind::Warning, kNoLoadFactorText);
        throw EAbort();
    }
}
