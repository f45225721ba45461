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

// The excess of the irrigated pressure drop over the limit at design
// velocity up; +infinity where the model no longer gives a drop (the head
// of a flooded bed replaced it, or the holdup reached the void fraction).
// All of it only grows with up, so a bracket holds one change of sign.
double Excess(const PressureDropPoint& p, double limit, double up)
{
    const PackingParams& k = CurrentPacking;
    const double uLs = up * p.L * p.rhoV / (p.V * p.rhoL);
    FloatGuard guard;
    const PressureDropResult r =
        PressureDropAndHoldup(k.S, k.eps, k.theta, p.sigma, p.muV, p.muL, p.rhoV, p.rhoL, up, uLs, up / p.uF);
    guard.Checked(r.dPwet);
    guard.Checked(r.hL);
    return r.capped || r.hL >= k.eps ? INFINITY : r.dPwet - limit;
}

// Illinois (regula falsi that halves the stale end's value) on a bracket
// with excess(lo) <= 0 < excess(hi); a bisection step where the upper end
// has no drop. Returns the lower end: a velocity within the limit.
double Bracketed(const PressureDropPoint& p, double limit, double lo, double glo, double hi, double ghi)
{
    int side = 0;
    for (int i = 0; i < 200 && hi - lo > kDesignSearchTolerance * hi; ++i) {
        double x = std::isfinite(ghi) ? hi - ghi * (hi - lo) / (ghi - glo) : 0.5 * (lo + hi);
        if (!(x > lo && x < hi)) x = 0.5 * (lo + hi);
        const double gx = Excess(p, limit, x);
        if (gx > 0) {
            hi = x;
            ghi = gx;
            if (side == 1) glo *= 0.5;
            side = 1;
        } else {
            lo = x;
            glo = gx;
            if (gx == 0) break;
            if (side == -1 && std::isfinite(ghi)) ghi *= 0.5;
            side = -1;
        }
    }
    return lo;
}

} // namespace

std::optional<double> PressureDropLimitedVelocity(const PressureDropPoint& p, double limit)
{
    // Below the foaming-limited capacity A uF, and below flooding itself
    // where the holdup model ends; the last step short of it keeps r < 1.
    const double hi = std::min(p.foaming, 1.0) * p.uF * (1.0 - 1e-9);
    if (!(hi > 0) || !(limit > 0)) throw EVelkError(kNoRootText);
    const double ghi = Excess(p, limit, hi);
    if (!(ghi > 0)) return std::nullopt;
    // The drop falls to zero with the load: some small load meets any
    // positive limit.
    double top = hi, gtop = ghi, lo = hi * 0.5, glo = Excess(p, limit, lo);
    for (int i = 0; i < 60 && glo > 0; ++i) {
        top = lo;
        gtop = glo;
        lo *= 0.1;
        glo = Excess(p, limit, lo);
    }
    if (glo > 0) throw EVelkError(kNoRootText);
    return Bracketed(p, limit, lo, glo, top, gtop);
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
