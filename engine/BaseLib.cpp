#include "BaseLib.h"

#include <algorithm>
#include <cmath>

#include "EditD.h"
#include "FloatGuard.h"
#include "Messages.h"

namespace {

// Runs under FindRoot's guard, which tests the flags after every step, so a
// finite residual needs no flag test of its own (the test at every
// evaluation was a fifth of a recalculation). A residual that is not finite
// ends the search at once, with the error its flags name.
double Evaluate(const FloatGuard& guard, const Equation& equation, const double* values)
{
    const double x = equation(values);
    return std::isfinite(x) ? x : guard.Checked(x);
}

// Evaluates the residual at x - 2h, x - h, x, x + h, x + 2h (in this order,
// h = 1e-6) and returns the five-point derivative; f0 receives the residual
// at x. Element k is left at x + 2h, as the iteration leaves it.
double FivePointDerivative(const FloatGuard& guard, ValueArray& work, int k, const Equation& equation, double x,
                           double& f0)
{
    const double h = 1e-6;
    work[k] = x - 2 * h;
    const double fm2 = Evaluate(guard, equation, work.data());
    work[k] = x - h;
    const double fm1 = Evaluate(guard, equation, work.data());
    work[k] = x;
    f0 = Evaluate(guard, equation, work.data());
    work[k] = x + h;
    const double f1 = Evaluate(guard, equation, work.data());
    work[k] = x + 2 * h;
    const double f2 = Evaluate(guard, equation, work.data());
    return (fm2 - 8 * fm1 + 8 * f1 - f2) / (12 * h);
}

// The iteration stops on small steps, which also happens where no root
// exists: on a jump of the residual, on a flat residual, or when a reset of
// the damping hands back the start value. A value is accepted as a root when
// its residual is at rounding level, or when one local Newton step from it
// is small and at least halves the residual, which only a smooth residual
// close to its zero does.
void CheckIsRoot(const FloatGuard& guard, ValueArray& work, int k, const Equation& equation, double x)
{
    double f0;
    double d = FivePointDerivative(guard, work, k, equation, x, f0);
    if (f0 == 0)
        return;
    if (!(std::fabs(d) > 1e-50)) {
        // Flat at the scale of h: far from zero the residual's change over
        // 1e-6 can drown in rounding. A wider probe tells a flat residual
        // (no root) from a slope too gentle for the fine one.
        const double delta = 1e-4 * std::max(std::fabs(x), 1e-6);
        work[k] = x + delta;
        const double fp = Evaluate(guard, equation, work.data());
        work[k] = x - delta;
        const double fm = Evaluate(guard, equation, work.data());
        work[k] = x;
        d = (fp - fm) / (2 * delta);
        if (!(std::fabs(d) > 1e-50))
            throw EVelkError(kNoRootText);
    }
    const double step = f0 / d;
    const double size = std::max(std::fabs(x), 1e-6);
    if (std::fabs(step) <= 1e-12 * size)
        return;
    if (!(std::fabs(step) <= 1e-2 * size))
        throw EVelkError(kNoRootText);
    work[k] = x - step;
    const double fn = Evaluate(guard, equation, work.data());
    work[k] = x;
    if (!(std::fabs(fn) <= 0.5 * std::fabs(f0)))
        throw EVelkError(kNoRootText);
}

} // namespace

double FindRoot(const ValueArray& values, int n, int k, const Equation& equation, double startValue)
{
    ValueArray work = values;
    const double x0 = startValue;
    work[k] = x0;
    double lambda = 1.0;
    int converged = 0;
    int iterations = 0;
    int total = 0;
    // One guard for the whole iteration: any error ends it.
    FloatGuard guard;
    for (;;) {
        const double x = work[k];
        double f0;
        const double d = FivePointDerivative(guard, work, k, equation, x, f0);
        const double s = std::fabs(d) > 1e-50 ? lambda * f0 / d : 0.0;
        work[k] = x - lambda * s;
        guard.Check();
        const double r = std::fabs(x) > 1e-8 ? std::fabs(lambda * s / x) : std::fabs(x);
        if (r < 1e-5)
            ++converged;
        ++iterations;
        if (iterations > 20) {
            iterations = 0;
            lambda = lambda / 2;
            work[k] = x0;
        }
        if (converged >= 2)
            break;
        if (++total > kMaxRootIterations)
            throw EVelkError(kNoRootText);
    }
    const double result = guard.Checked(work[k]);
    (void)n;
    CheckIsRoot(guard, work, k, equation, result);
    guard.Check();
    return result;
}

double FindRoot(const ValueArray& values, int k, const Equation& equation, double startValue)
{
    return FindRoot(values, k + 1, k, equation, startValue);
}

bool ApplyComputedValue(TEditD& field, TColor colour, double tolerance, double x)
{
    CheckedResult([x] { return x; });
    if (!field.IsBlank()) {
        const double cur = field.GetValue();
        const double change = cur != 0 ? std::fabs((x - cur) / cur) : std::fabs(x - cur);
        if (change < tolerance)
            return false;
    }
    field.SetValue(x);
    field.SetColor(colour);
    field.SetReadOnly(true);
    field.SetCursor(TCursor::No);
    return true;
}

bool ClearComputedField(TEditD& field)
{
    if (field.Text().empty() && field.Color() == clWindow)
        return false;
    field.SetText("");
    field.SetColor(clWindow);
    field.SetReadOnly(false);
    field.SetCursor(TCursor::Default);
    return true;
}

bool AllFilled(const std::vector<TEditD*>& fields)
{
    return std::all_of(fields.begin(), fields.end(), [](const TEditD* f) { return !f->Text().empty(); });
}

void SetResultStyle(const std::vector<TControl*>& controls, bool editable)
{
    for (TControl* c : controls) {
        if (auto* e = dynamic_cast<TEditD*>(c)) {
            e->SetReadOnly(!editable);
            e->SetFontColor(editable ? clBlack : clBlue);
            e->SetColor(editable ? clWindow : clBtnFace);
        } else if (c) {
            c->SetEnabled(editable);
        }
    }
}

bool SolveFields(const std::vector<TEditD*>& fields, TColor colour, bool enabledOnly, double tolerance,
                 double startValue, const Equation& equation)
{
    const int n = static_cast<int>(fields.size());
    int blankCount = 0;
    int lastBlank = -1;
    int computed = -1;
    for (int i = 0; i < n; ++i) {
        TEditD* f = fields[i];
        if (f->IsBlank() && (f->Enabled() || !enabledOnly)) {
            ++blankCount;
            lastBlank = i;
        }
        if (f->Color() == colour && f->MyResolved())
            computed = i;
    }
    if (blankCount > 1)
        return false;

    try {
        ValueArray values{};
        auto readValues = [&] {
            for (int i = 0; i < n; ++i)
                if (!fields[i]->IsBlank())
                    values[i] = fields[i]->GetValue();
        };
        readValues();
        if (blankCount == 1) {
            if (computed >= 0)
                return ClearComputedField(*fields[computed]);
            if (fields[lastBlank]->MyResolved()) {
                const double x = FindRoot(values, n, lastBlank, equation, startValue);
                return ApplyComputedValue(*fields[lastBlank], colour, tolerance, x);
            }
        }
        if (computed < 0)
            return false;
        readValues();
        const double x = FindRoot(values, n, computed, equation, values[computed]);
        return ApplyComputedValue(*fields[computed], colour, tolerance, x);
    } catch (...) {
        ShowMessage(MsgKind::Warning, kInputErrorText);
        throw;
    }
}
