// The calculation page's guard of the flooding correlations: a correlation
// that gives no positive load factor for the inputs is stopped before any
// field is written.
#include <algorithm>
#include <array>
#include <cfenv>
#include <cmath>

#include "BaseLib.h"
#include "CalcPage.h"
#include "FloatGuard.h"
#include "Messages.h"
#include "TrNoop.h"

#include <string>
#include <vector>

namespace {
// The last inputs found to give a positive correlation value. The value is
// a function of these alone, and a recalculation re-checks the same inputs
// in every pass: the correlation (a catalogue look-up each time) is
// evaluated again only when one of them changed.
struct CheckedCorrelation {
    int method = -1;
    bool lagrange = false;
    std::string packing;
    std::vector<std::string> constants;
    std::array<double, 8> inputs{};
    bool Matches(int m, bool l, const std::string& p, const std::vector<std::string>& c,
                 const ValueArray& v, std::size_t n) const
    {
        return m == method && l == lagrange && p == packing && c == constants &&
               std::equal(v.begin(), v.begin() + static_cast<long>(n), inputs.begin());
    }
};
thread_local CheckedCorrelation lastPositive;

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
    const std::size_t n = group.size() - 1;
    if (n > lastPositive.inputs.size())
        return;
    const int method = Combo("UfMD")->ItemIndex();
    const bool lagrange = Check("CBLagrange")->Checked();
    const std::string& packing = Combo("PTD")->Text();
    if (lastPositive.Matches(method, lagrange, packing, HiddenConstants, values, n))
        return;
    // Each correlation is explicit: its residual at a result of zero is the
    // correlation's own value.
    values[n] = 0.0;
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
    lastPositive = {method, lagrange, packing, HiddenConstants, {}};
    std::copy(values.begin(), values.begin() + static_cast<long>(n), lastPositive.inputs.begin());
}
