#include "PerformanceCurves.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "CalcPage.h"
#include "EfficiencyModels.h"
#include "FloatGuard.h"
#include "FloodingCorrelations.h"
#include "MassTransfer.h"
#include "Messages.h"
#include "NumberText.h"
#include "OperatingCheck.h"
#include "PackingCatalogue.h"
#include "PressureDrop.h"
#include "TrNoop.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kHour = 3600.0; // m/s to m3/(m2 h)
constexpr double kMbar = 100.0;  // Pa to mbar
// Points per curve. The F-factors crowd towards the flood point, where the
// pressure drop turns steeply upwards.
constexpr int kCurvePoints = 48;
// The bracket in which the flood vapour load is looked for, m/s.
constexpr double kLowestVapourLoad = 1e-3;
constexpr double kHighestVapourLoad = 100.0;

const char* const kNoMethodText = QT_TRANSLATE_NOOP("Velk", "没有选择泛点算法。");

// Puts the thread's packing parameters back and records the messages
// the equations show, so that a chart leaves the live page as it was.
class CurveScope {
public:
    CurveScope() : packing_(CurrentPacking), scope_(&sink) {}
    ~CurveScope() { CurrentPacking = packing_; }
    CurveScope(const CurveScope&) = delete;
    CurveScope& operator=(const CurveScope&) = delete;
    RecordingSink sink;

private:
    PackingParams packing_;
    ScopedMessageSink scope_;
};

// SI value of a field, NaN when its text is empty or not a number.
double SiValue(const CalcPage& page, const char* name)
{
    const TEditD* f = page.Field(name);
    double v = 0;
    if (!f || !ParseNumber(Trim(f->Text()), v))
        return kNaN;
    return v * f->Exchange();
}

double FlowParameterOf(const PerformanceCase& c, double uLs, double uVs)
{
    // Mass fluxes stand for the mass flows: the ratio is the same.
    const double v[5] = {uLs * c.rhoL, uVs * c.rhoV, c.rhoV, c.rhoL, 0.0};
    return EqFlowParameter(v);
}

struct Hydraulics {
    bool valid = false; // below flood and within the model's range
    double dPdry = 0, dPwet = 0, hL = 0;
};

Hydraulics HydraulicsAt(const PerformanceCase& c, double uLs, double uVs)
{
    Hydraulics h;
    const double r = uVs / FloodVelocityAt(c, uLs, uVs);
    if (!(r < 1))
        return h;
    const PackingParams& p = CurrentPacking; // as the flooding equation looked it up
    FloatGuard guard;
    const PressureDropResult res =
        PressureDropAndHoldup(p.S, p.eps, p.theta, c.sigma, c.muV, c.muL, c.rhoV, c.rhoL, uVs, uLs, r);
    h.dPdry = guard.Checked(res.dPdry);
    h.dPwet = guard.Checked(res.dPwet);
    h.hL = guard.Checked(res.hL);
    // Where the head of the flooded bed replaced the pressure drop there is
    // no pressure drop to draw.
    h.valid = !res.capped && !ModelRangeExceeded(h.dPdry, h.dPwet, h.hL, p.eps);
    return h;
}

double HetpOf(const PerformanceCase& c, double uLs, double uVs)
{
    const double area = std::numbers::pi * c.d * c.d / 4;
    MassTransferInputs in{};
    in.L = uLs * c.rhoL * area;
    in.V = uVs * c.rhoV * area;
    in.d = c.d;
    in.rhoL = c.rhoL;
    in.muL = c.muL;
    in.rhoV = c.rhoV;
    in.muV = c.muV;
    in.uVs = uVs;
    in.DL = c.DL;
    in.DV = c.DV;
    FloatGuard guard;
    if (c.slope > 0) {
        const double v[4] = {c.slope, in.V, in.L, 0.0};
        in.lambda = EqStrippingFactor(v);
    } else {
        in.lambda = c.lambda;
    }
    return guard.Checked(MassTransferHeightsFrom(in, CurrentPacking).HETP);
}

// The Rocha-Bravo-Fair HETP at a point, on the holdup the pressure-drop model
// gives there; NaN where that holdup is beyond the model.
double RbfHetpOf(const PerformanceCase& c, double uLs, double uVs)
{
    const Hydraulics h = HydraulicsAt(c, uLs, uVs); // looks the packing up
    const PackingParams& p = CurrentPacking;
    if (!h.valid || h.hL >= HoldupFloodLimit(p.S, h.dPdry, c.rhoL)) return kNaN;
    double lambda = c.lambda;
    FloatGuard guard;
    if (c.slope > 0) {
        const double v[4] = {c.slope, uVs * c.rhoV, uLs * c.rhoL, 0.0}; // mass fluxes: the same ratio
        lambda = EqStrippingFactor(v);
    }
    const RbfInputs in{uLs, uVs, c.rhoL, c.rhoV, c.muL, c.muV, c.sigma, c.DL, c.DV, lambda, h.hL};
    return guard.Checked(RbfHeights(in, p, SurfaceEnhancementFactor(c.packing)).HETP);
}

// F-factors from near zero to just below the flood point, with `extra`
// (the case's own F-factor) among them when it lies in that range.
std::vector<double> FloodGrid(double floodF, double extra)
{
    std::vector<double> grid;
    grid.reserve(kCurvePoints + 1);
    for (int k = 1; k < kCurvePoints; ++k) {
        const double u = 1.0 - static_cast<double>(k) / kCurvePoints;
        grid.push_back(floodF * (1.0 - u * u));
    }
    if (extra > 0 && extra < floodF)
        grid.insert(std::upper_bound(grid.begin(), grid.end(), extra), extra);
    return grid;
}

// Keeps the first error text; a curve stops where its model stops.
void NoteError(PerformanceCurves& out, const std::string& text)
{
    if (out.error.empty())
        out.error = text;
}

PressureDropCurve IrrigatedCurve(const PerformanceCase& c, double load, PerformanceCurves& out)
{
    PressureDropCurve curve;
    curve.liquidLoad = load;
    curve.current = load == c.uLs * kHour;
    const double uLs = load / kHour;
    const double sqrtRhoV = std::sqrt(c.rhoV);
    const double floodU = FloodVapourLoad(c, uLs);
    if (!std::isfinite(floodU))
        return curve;
    curve.hasFlood = true;
    curve.floodF = floodU * sqrtRhoV;
    const double currentF = curve.current ? c.uVs * sqrtRhoV : 0;
    try {
        double lastHoldup = 0;
        for (double F : FloodGrid(curve.floodF, currentF)) {
            const Hydraulics h = HydraulicsAt(c, uLs, F / sqrtRhoV);
            // Past its range, or where the head of the flooded bed replaces
            // the pressure drop (it falls while the holdup still rises), the
            // model says nothing more up to flood.
            const bool headTookOver =
                !curve.points.empty() && h.dPwet / kMbar < curve.points.back().y && h.hL > lastHoldup;
            if (!h.valid || headTookOver)
                break;
            curve.points.push_back({F, h.dPwet / kMbar});
            lastHoldup = h.hL;
        }
    } catch (const EAbort&) {
        // Its message is recorded by the scope.
    } catch (const std::exception& e) {
        NoteError(out, e.what());
    }
    if (curve.points.empty())
        curve.hasFlood = false;
    return curve;
}

void DryLine(const PerformanceCase& c, double maxF, PerformanceCurves& out)
{
    const double sqrtRhoV = std::sqrt(c.rhoV);
    try {
        for (int k = 1; k <= kCurvePoints; ++k) {
            const double F = maxF * k / kCurvePoints;
            const double uVs = F / sqrtRhoV;
            FloodVelocityAt(c, c.uLs, uVs); // looks the packing up
            const PackingParams& p = CurrentPacking;
            FloatGuard guard;
            // The dry pressure drop depends neither on the liquid load nor on
            // the approach to flooding; any valid pair serves.
            const PressureDropResult res = PressureDropAndHoldup(p.S, p.eps, p.theta, c.sigma, c.muV, c.muL,
                                                                 c.rhoV, c.rhoL, uVs, c.uLs, 0.0);
            out.dry.push_back({F, guard.Checked(res.dPdry) / kMbar});
        }
    } catch (const EAbort&) {
    } catch (const std::exception& e) {
        NoteError(out, e.what());
    }
}

void HoldupCurve(const PerformanceCase& c, double maxLoad, PerformanceCurves& out)
{
    std::vector<double> loads;
    const double first = maxLoad / 200;
    for (int k = 0; k < kCurvePoints; ++k)
        loads.push_back(first * std::pow(200.0, static_cast<double>(k) / (kCurvePoints - 1)));
    const double current = c.uLs * kHour;
    loads.insert(std::upper_bound(loads.begin(), loads.end(), current), current);
    try {
        for (double load : loads) {
            const Hydraulics h = HydraulicsAt(c, load / kHour, c.uVs);
            if (!h.valid)
                break;
            out.holdup.push_back({load, h.hL});
        }
    } catch (const EAbort&) {
    } catch (const std::exception& e) {
        NoteError(out, e.what());
    }
}

// The second model's curve ends where its holdup leaves the model; its
// failure is no error of the chart, whose own curve stands.
void RbfHetpCurve(const PerformanceCase& c, double floodF, PerformanceCurves& out)
{
    const double sqrtRhoV = std::sqrt(c.rhoV);
    try {
        for (double F : FloodGrid(floodF, c.uVs * sqrtRhoV)) {
            const double hetp = RbfHetpOf(c, c.uLs, F / sqrtRhoV);
            if (!std::isfinite(hetp)) break;
            out.hetpRbf.push_back({F, hetp});
        }
    } catch (const std::exception&) {
    }
}

void HetpCurve(const PerformanceCase& c, double floodF, PerformanceCurves& out)
{
    if (!c.massTransfer || !(floodF > 0))
        return;
    const double sqrtRhoV = std::sqrt(c.rhoV);
    try {
        for (double F : FloodGrid(floodF, c.uVs * sqrtRhoV)) {
            FloodVelocityAt(c, c.uLs, F / sqrtRhoV); // looks the packing up
            out.hetp.push_back({F, HetpOf(c, c.uLs, F / sqrtRhoV)});
        }
        RbfHetpCurve(c, floodF, out);

    } catch (const EAbort&) {
    } catch (const std::exception& e) {
        NoteError(out, e.what());
    }
}

} // namespace

const std::vector<double>& DefaultCurveLiquidLoads()
{
    static const std::vector<double> loads{0, 5, 10, 20, 40, 80};
    return loads;
}

bool ReadPerformanceCase(const CalcPage& page, PerformanceCase& c, std::string& why)
{
    c = PerformanceCase();
    c.packing = page.Combo("PTD")->Text();
    c.method = page.Combo("UfMD")->ItemIndex();
    c.lagrange = page.Check("CBLagrange")->Checked() && c.method == 2;
    c.constants = page.HiddenConstants;
    struct Need {
        const char* field;
        double* target;
    };
    const Need needed[] = {{"DlD", &c.rhoL}, {"DvD", &c.rhoV}, {"MlD", &c.muL}, {"MvD", &c.muV},
                           {"SLD", &c.sigma}, {"UlsD", &c.uLs}, {"UvsD", &c.uVs}, {"UfD", &c.uF},
                           {"LD", &c.L},      {"VD", &c.V},     {"dD", &c.d}};
    for (const Need& n : needed) {
        *n.target = SiValue(page, n.field);
        if (!std::isfinite(*n.target) || *n.target <= 0) {
            why = QT_TRANSLATE_NOOP("Velk", "计算页的数据不全，无法绘制填料性能曲线。");
            return false;
        }
    }
    if (c.method < 0 || c.method > 2) {
        why = kNoMethodText;
        return false;
    }
    c.DL = SiValue(page, "DlfD");
    c.DV = SiValue(page, "DvfD");
    c.slope = SiValue(page, "meD");
    c.lambda = SiValue(page, "LmdD");
    c.massTransfer = c.DL > 0 && c.DV > 0 && (c.slope > 0 || c.lambda > 0);
    c.dPwet = SiValue(page, "dPwaterD");
    c.hL = SiValue(page, "HTD");
    c.HETP = SiValue(page, "HETPD");
    const auto& percent = page.Operation().figures.floodPercent;
    c.floodPercent = percent ? *percent : 100 * c.uVs / c.uF;
    return true;
}

double FloodVelocityAt(const PerformanceCase& c, double uLs, double uVs)
{
    FloatGuard guard;
    const double phi = FlowParameterOf(c, uLs, uVs);
    double uF = kNaN;
    switch (c.method) {
    case 0: {
        const double v1[2] = {phi, 0.0};
        const double v2[4] = {EqMaxLoadFactor(v1, c.packing, c.constants), c.rhoL, c.rhoV, 0.0};
        uF = EqFloodVelocityFromLoadFactor(v2);
        break;
    }
    case 1: {
        const double v[6] = {c.muL, c.muV, c.rhoL, c.rhoV, phi, 0.0};
        uF = EqFloodVelocityBillet(v, c.packing);
        break;
    }
    case 2: {
        const double v[5] = {c.muL, c.rhoL, c.rhoV, phi, 0.0};
        uF = EqFloodVelocityKisterGill(v, c.packing, c.lagrange);
        break;
    }
    default:
        throw EVelkError(kNoMethodText);
    }
    return guard.Checked(uF);
}

double FloodVapourLoad(const PerformanceCase& c, double uLs)
{
    if (!(uLs > 0))
        return kNaN;
    // uVs - uF changes sign once: the flood velocity grows more slowly than
    // the vapour load as the flow parameter falls. Find the change on a
    // coarse scale, then halve the bracket.
    auto excess = [&](double u) {
        try {
            return u - FloodVelocityAt(c, uLs, u);
        } catch (const EMathError&) {
            return kNaN;
        }
    };
    constexpr int kScan = 40;
    const double ratio = kHighestVapourLoad / kLowestVapourLoad;
    double lo = kNaN, hi = kNaN;
    double previous = kLowestVapourLoad;
    double previousExcess = excess(previous);
    for (int k = 1; k <= kScan && std::isnan(hi); ++k) {
        const double u = kLowestVapourLoad * std::pow(ratio, static_cast<double>(k) / kScan);
        const double e = excess(u);
        if (previousExcess < 0 && e >= 0) {
            lo = previous;
            hi = u;
        }
        previous = u;
        previousExcess = e;
    }
    if (std::isnan(hi))
        return kNaN;
    for (int i = 0; i < 80 && hi - lo > 1e-13 * hi; ++i) {
        const double mid = (lo + hi) / 2;
        const double e = excess(mid);
        if (std::isnan(e))
            return kNaN;
        (e < 0 ? lo : hi) = mid;
    }
    return (lo + hi) / 2;
}

double PressureDropAt(const PerformanceCase& c, double liquidLoad, double F)
{
    CurveScope scope;
    const Hydraulics h = HydraulicsAt(c, liquidLoad / kHour, F / std::sqrt(c.rhoV));
    return h.valid ? h.dPwet / kMbar : kNaN;
}

double HoldupAt(const PerformanceCase& c, double liquidLoad, double F)
{
    CurveScope scope;
    const Hydraulics h = HydraulicsAt(c, liquidLoad / kHour, F / std::sqrt(c.rhoV));
    return h.valid ? h.hL : kNaN;
}

double HetpAt(const PerformanceCase& c, double liquidLoad, double F)
{
    CurveScope scope;
    const double uVs = F / std::sqrt(c.rhoV);
    if (!(uVs < FloodVelocityAt(c, liquidLoad / kHour, uVs)))
        return kNaN;
    return HetpOf(c, liquidLoad / kHour, uVs);
}

PerformanceCurves ComputePerformanceCurves(const PerformanceCase& c, const std::vector<double>& liquidLoads)
{
    CurveScope scope;
    PerformanceCurves out;
    std::vector<double> loads;
    for (double load : liquidLoads)
        if (std::isfinite(load) && load >= 0)
            loads.push_back(load);
    loads.push_back(c.uLs * kHour);
    std::sort(loads.begin(), loads.end());
    loads.erase(std::unique(loads.begin(), loads.end()), loads.end());

    double maxF = 0;
    double currentFloodF = 0;
    for (double load : loads) {
        if (load == 0)
            continue; // the dry line, added below
        out.pressureDrop.push_back(IrrigatedCurve(c, load, out));
        const PressureDropCurve& curve = out.pressureDrop.back();
        maxF = std::max(maxF, curve.floodF);
        if (curve.current)
            currentFloodF = curve.floodF;
    }
    const double sqrtRhoV = std::sqrt(c.rhoV);
    if (!(maxF > 0))
        maxF = 2 * c.uVs * sqrtRhoV;
    DryLine(c, 1.05 * maxF, out);
    if (loads.front() == 0) {
        PressureDropCurve dry;
        dry.points = out.dry;
        out.pressureDrop.insert(out.pressureDrop.begin(), dry);
    }
    HoldupCurve(c, std::max(loads.back(), 2 * c.uLs * kHour), out);
    HetpCurve(c, currentFloodF, out);

    OperatingPoint& op = out.operating;
    op.F = c.uVs * sqrtRhoV;
    op.dp = c.dPwet / kMbar;
    try {
        // Not a pressure drop where the model stops (the head of a flooded
        // bed, beyond its range): then no point, as on the curves.
        if (!HydraulicsAt(c, c.uLs, c.uVs).valid) op.dp = kNaN;
    } catch (const std::exception&) {
        op.dp = kNaN;
    }
    op.uL = c.uLs * kHour;
    op.hL = c.hL;
    op.HETP = c.HETP;
    op.floodPercent = c.floodPercent;
    out.floodReferenceDp = FloodReferencePressureDrop(c.packing);
    if (out.error.empty() && !scope.sink.messages.empty())
        out.error = scope.sink.messages.front().text;
    return out;
}

std::optional<double> FloodReferencePressureDrop(const std::string& packing)
{
    // Kister and Gill (1991): dP_flood = 0.115 Fp^0.7 inches of water per
    // foot with Fp in 1/ft, in SI 40.9 Fp^0.7 Pa/m with Fp in 1/m. The
    // catalogue gives Fp per foot (its heading: Fp1/3.2808).
    constexpr double kFeetPerMetre = 3.2808;
    for (const CatalogueRow& row : PackingCatalogue()) {
        if (row[ColType] != packing) continue;
        double perFoot = 0;
        if (!ParseNumber(NumericPrefix(row[ColF]), perFoot) || !(perFoot > 0)) return std::nullopt;
        return 40.9 * std::pow(perFoot * kFeetPerMetre, 0.7) / kMbar;
    }
    return std::nullopt;
}

bool ComputePageCurves(const CalcPage& page, const std::vector<double>& liquidLoads, PerformanceCurves& curves,
                       std::string& why)
{
    PerformanceCase c;
    if (!ReadPerformanceCase(page, c, why))
        return false;
    curves = ComputePerformanceCurves(c, liquidLoads);
    return true;
}
