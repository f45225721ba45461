#include "DesignBasis.h"

#include <algorithm>
#include <cmath>

#include "BaseLib.h"
#include "FloatGuard.h"
#include "FloodingCorrelations.h"
#include "Messages.h"
#include "PackingCatalogue.h"
#include "PressureDrop.h"
#include "TrNoop.h"

const char* const kSkippedMethodText = QT_TRANSLATE_NOOP("Velk", "填料参数不全，未参与最保守泛点：");
const char* const kLimitUnreachedText =
    QT_TRANSLATE_NOOP("Velk", "在系统极限负荷以内湿塔压降达不到压降限值，无法按压降确定塔径。");

const char* DesignBasisName(DesignBasis b)
{
    switch (b) {
    case DesignBasis::PressureDrop: return "pressure-drop";
    case DesignBasis::Both: return "both";
    default: return "flood";
    }
}

namespace
{

// Beyond the limit at design velocity up: the irrigated drop above it, or a
// point where the model no longer gives a drop (the flooded bed's head, a
// holdup at the void fraction). All three only grow with up, so the search
// brackets one change.
bool OverLimit(const PressureDropPoint& p, double limit, double up)
{
    const PackingParams& k = CurrentPacking;
    const double uLs = up * p.L * p.rhoV / (p.V * p.rhoL);
    FloatGuard guard;
    const PressureDropResult r =
        PressureDropAndHoldup(k.S, k.eps, k.theta, p.sigma, p.muV, p.muL, p.rhoV, p.rhoL, up, uLs, up / p.uF);
    guard.Checked(r.dPwet);
    guard.Checked(r.hL);
    return r.capped || r.dPwet > limit || r.hL >= k.eps;
}

} // namespace

std::optional<double> PressureDropLimitedVelocity(const PressureDropPoint& p, double limit)
{
    // Below the foaming-limited capacity A uF, and below flooding itself
    // where the holdup model ends; the last step short of it keeps r < 1.
    double hi = std::min(p.foaming, 1.0) * p.uF * (1.0 - 1e-9);
    if (!(hi > 0) || !(limit > 0)) throw EVelkError(kNoRootText);
    if (!OverLimit(p, limit, hi)) return std::nullopt;
    // The drop falls to zero with the load: some small load meets any
    // positive limit.
    double lo = hi;
    for (int i = 0; i < 40 && OverLimit(p, limit, lo); ++i)
        lo *= 1e-3;
    if (OverLimit(p, limit, lo)) throw EVelkError(kNoRootText);
    // Bisection keeps lo within the limit and hi beyond it.
    while (hi - lo > kDesignSearchTolerance * hi) {
        const double mid = 0.5 * (lo + hi);
        (OverLimit(p, limit, mid) ? hi : lo) = mid;
    }
    return lo;
}

FloodVelocities AllFloodVelocities(const std::string& packing, const std::vector<std::string>& hiddenConstants,
                                   bool lagrange, double phi, double muL, double muV, double rhoL, double rhoV)
{
    // Each correlation is explicit: its residual at a result of zero is its
    // own value. A constant the catalogue lacks leaves the correlation out.
    FloodVelocities out;
    if (!LookUpPacking(packing, ColCf).empty()) {
        const double lf[2] = {phi, 0.0};
        const double cmax = CheckedResult([&] { return EqMaxLoadFactor(lf, packing, hiddenConstants); });
        const double fv[4] = {cmax, rhoL, rhoV, 0.0};
        out.method[0] = CheckedResult([&] { return EqFloodVelocityFromLoadFactor(fv); });
    }
    if (!LookUpPacking(packing, ColCf1).empty()) {
        const double v[6] = {muL, muV, rhoL, rhoV, phi, 0.0};
        out.method[1] = CheckedResult([&] { return EqFloodVelocityBillet(v, packing); });
    }
    if (!LookUpPacking(packing, ColF).empty()) {
        const double v[5] = {muL, rhoL, rhoV, phi, 0.0};
        out.method[2] = CheckedResult([&] { return EqFloodVelocityKisterGill(v, packing, lagrange); });
    }
    return out;
}
