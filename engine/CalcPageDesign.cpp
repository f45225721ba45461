// The calculation page's design basis: the design velocity under a
// pressure-drop limit, the conservative flood velocity, and what governed.
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

#include "CalcPage.h"
#include "ColumnSizing.h"
#include "FloatGuard.h"
#include "Messages.h"
#include "NumberText.h"
#include "TextToFloat.h"
#include "TrNoop.h"

namespace
{
const char* const kBadLimitText = QT_TRANSLATE_NOOP("Velk", "压降限值须为大于0的数(mbar/m)。");
const char* const kNoConservativeText =
    QT_TRANSLATE_NOOP("Velk", "没有可用的泛点算法，或有算法给出的泛点气速小于或等于零，不能取最保守泛点。");

constexpr double kMbarToPa = 100.0;
// Start value of the solver's iteration, as for every hydraulic group of the page.
constexpr double kStartValue = 1.2345;

DesignBasis BasisOf(const CalcPage& page)
{
    const int i = page.Combo("DesignBasisD")->ItemIndex();
    return i == 1 ? DesignBasis::PressureDrop : i == 2 ? DesignBasis::Both : DesignBasis::Flood;
}

// The lowest flood velocity of the correlations the packing allows, and its method.
std::pair<double, int> LowestFlood(const FloodVelocities& all)
{
    double lowest = INFINITY;
    int method = -1;
    for (int m = 0; m < 3; ++m)
        if (all.method[m] && *all.method[m] < lowest) {
            lowest = *all.method[m];
            method = m;
        }
    return {lowest, method};
}

std::optional<double> Value(const CalcPage& page, const char* name)
{
    double v;
    const TEditD* f = page.Field(name);
    if (f->IsBlank() || !f->TryGetValue(v) || !std::isfinite(v)) return std::nullopt;
    return v;
}

double DiameterAt(double V, double up, double rhoV)
{
    return CheckedResult([&] { return std::sqrt(4.0 * V / (std::numbers::pi * up * rhoV)); });
}

// The limit typed into DpLimitD in Pa/m, whatever the basis; nullopt unless a number above 0.
std::optional<double> TypedLimit(const CalcPage& page)
{
    double mbar;
    // Beyond the largest double once in Pa/m is no limit either.
    if (!ParseNumber(TrimView(page.Field("DpLimitD")->Text()), mbar) || !(mbar > 0) ||
        !(mbar <= std::numeric_limits<double>::max() / kMbarToPa))
        return std::nullopt;
    return mbar * kMbarToPa;
}

} // namespace

std::optional<double> CalcPage::DesignLimit() const
{
    if (BasisOf(*this) == DesignBasis::Flood) return std::nullopt;
    return TypedLimit(*this);
}

bool CalcPage::SolveConservativeFlood()
{
    const std::string packing = Combo("PTD")->Text();
    const bool lagrange = Check("CBLagrange")->Checked();
    // MlD, MvD, DlD, DvD, FpD, UfD: every correlation's inputs.
    const Equation lowest = [&](const double* v) {
        const auto [uF, method] = LowestFlood(AllFloodVelocities(packing, HiddenConstants, lagrange, v[4], v[0],
                                                                 v[1], v[2], v[3]));
        if (method < 0 || !(uF > 0)) {
            ShowMessage(MsgKind::Warning, kNoConservativeText);
            throw EAbort();
        }
        return uF - v[5];
    };
    return Solve(groups_.billet, EqColour::FloodVelocity, kStartValue, lowest);
}

bool CalcPage::SolveOperatingVelocity(const std::string& fpercent, const std::string& foaming)
{
    const auto flood = [&](const double* v) { return EqOperatingVelocity(v, fpercent, foaming); };
    const std::optional<double> limit = DesignLimit();
    if (!limit) {
        if (BasisOf(*this) != DesignBasis::Flood && !Field("DpLimitD")->IsBlank()) {
            ShowMessage(MsgKind::Warning, kBadLimitText);
            throw EAbort();
        }
        return Solve(groups_.operatingVelocity, EqColour::OperatingVelocity, kStartValue, flood);
    }
    const bool both = BasisOf(*this) == DesignBasis::Both;
    // The search depends on every input but up: the solver's steps in up
    // reuse it.
    std::array<double, 8> key{};
    std::optional<double> found;
    bool searched = false;
    // UfD, LD, VD, DvD, DlD, MlD, MvD, SLD, UpD
    const Equation design = [&](const double* v) {
        const double atFlood[2] = {v[0], 0.0};
        const double floodUp = flood(atFlood);
        if (!searched || !std::equal(key.begin(), key.end(), v)) {
            const PressureDropPoint p{v[1], v[2], v[4], v[3], v[5], v[6], v[7], v[0], TextToFloat(foaming)};
            found = PressureDropLimitedVelocity(p, *limit);
            std::copy(v, v + 8, key.begin());
            searched = true;
        }
        // A given column is rated whatever its theoretical diameter: a limit it
        // cannot reach leaves that diameter to the flood basis, as with both.
        if (!found && !both && !Check("CBRating")->Checked()) {
            ShowMessage(MsgKind::Warning, kLimitUnreachedText);
            throw EAbort();
        }
        return (found ? (both ? std::min(floodUp, *found) : *found) : floodUp) - v[8];
    };
    return Solve(groups_.designVelocity, EqColour::OperatingVelocity, kStartValue, design);
}

// Figures only: the pass has settled, and a value this cannot form is left out.
void CalcPage::UpdateDesign()
{
    design_ = DesignOutcome{};
    design_.basis = BasisOf(*this);
    design_.conservative = Check("CBConservative")->Checked();
    design_.theoreticalDiameter = Value(*this, "dpD");
    design_.limit = TypedLimit(*this);
    design_.governs = "flood";
    // With both options off nothing more is looked at.
    if (design_.basis == DesignBasis::Flood && !design_.conservative) return;
    const auto V = Value(*this, "VD"), rhoV = Value(*this, "DvD"), rhoL = Value(*this, "DlD"),
               uF = Value(*this, "UfD"), L = Value(*this, "LD"), muL = Value(*this, "MlD"),
               muV = Value(*this, "MvD"), sigma = Value(*this, "SLD"), phi = Value(*this, "FpD");
    try {
        const double f = TextToFloat(Combo("fpercentD")->Text()), A = TextToFloat(Combo("AfD")->Text());
        if (V && rhoV && uF) design_.floodDiameter = DiameterAt(*V, *uF * f * A / 100.0, *rhoV);
        if (design_.basis != DesignBasis::Flood && design_.limit && V && rhoV && rhoL && uF && L && muL && muV &&
            sigma) {
            const PressureDropPoint p{*L, *V, *rhoL, *rhoV, *muL, *muV, *sigma, *uF, A};
            if (const auto u = PressureDropLimitedVelocity(p, *design_.limit))
                design_.pressureDropDiameter = DiameterAt(*V, *u, *rhoV);
        }
        if (design_.conservative && phi && muL && muV && rhoL && rhoV) {
            const FloodVelocities all = AllFloodVelocities(Combo("PTD")->Text(), HiddenConstants,
                                                           Check("CBLagrange")->Checked(), *phi, *muL, *muV,
                                                           *rhoL, *rhoV);
            for (int m = 0; m < 3; ++m)
                if (!all.method[m]) design_.skippedMethods.push_back(m);
            if (const int m = LowestFlood(all).second; m >= 0) design_.floodMethod = m;
        }
    } catch (const std::exception&) {
    }
    const bool dpGoverns = (design_.basis == DesignBasis::PressureDrop &&
                            (design_.pressureDropDiameter || !Check("CBRating")->Checked())) ||
                           (design_.basis == DesignBasis::Both && design_.pressureDropDiameter &&
                            (!design_.floodDiameter || *design_.pressureDropDiameter > *design_.floodDiameter));
    design_.governs = design_.limit && dpGoverns ? "pressure-drop" : "flood";
}
