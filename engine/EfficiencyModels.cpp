#include "EfficiencyModels.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "CalcPage.h"
#include "FloatGuard.h"
#include "MassTransfer.h"
#include "PressureDrop.h"
#include "TrNoop.h"

const char* const kAreaAboveGeometricText = QT_TRANSLATE_NOOP(
    "Velk", "Rocha-Bravo-Fair模型的有效传质面积大于填料比表面积(ae/a>1)，该等板高度仅供参考。");

namespace
{
constexpr double pi = std::numbers::pi;

const char* const kMissingInputText = QT_TRANSLATE_NOOP("Velk", "缺少传质计算所需的数据。");
const char* const kAtFloodText = QT_TRANSLATE_NOOP("Velk", "气速已达到或超过泛点，传质模型不适用。");
const char* const kHoldupRangeText = QT_TRANSLATE_NOOP("Velk", "持液量超出模型范围，传质模型不适用。");
const char* const kNotCurrentText = QT_TRANSLATE_NOOP("Velk", "计算未完成或结果已过时，传质模型未计算。");

// Surface-enhancement factors published for the sheet textures; rows of
// other makes take the common value (an assumption, see docs/efficiency.md).
constexpr double kFseGemPack = 0.344;
constexpr double kFseDefault = 0.35;
// Rocha, Bravo and Fair: the fraction of the film surface renewed (C_E).
constexpr double kSurfaceRenewal = 0.9;

// A field's SI value when it holds a current number.
std::optional<double> Current(const CalcPage& page, const char* name)
{
    const TEditD* f = page.Field(name);
    double v;
    if (!f || page.IsStale(f) || !f->TryGetValue(v)) return std::nullopt;
    return v;
}

bool AtOrBeyondFlood(const CalcPage& page)
{
    const auto uVs = Current(page, "UvsD"), uF = Current(page, "UfD");
    return uVs && uF && *uF > 0 && *uVs >= *uF;
}

void Fail(EfficiencyModelResult& r, const char* why)
{
    r.completed = false;
    r.error = why;
}

// The beyond-the-model marks to judge by: the page's, or those of an
// operating check being made.
using InvalidMarks = const std::vector<std::string>*;
bool Invalid(const CalcPage& page, InvalidMarks marks, const char* name)
{
    if (!marks) return page.IsInvalid(page.Field(name));
    return std::find(marks->begin(), marks->end(), name) != marks->end();
}

EfficiencyModelResult SpecifiedModel(const CalcPage& page, InvalidMarks marks)
{
    EfficiencyModelResult r;
    r.model = EfficiencyModel::Specified;
    const char* names[] = {"HTUVD", "HTULD", "HTUOVD", "HETPD"};
    double* targets[] = {&r.heights.HTUV, &r.heights.HTUL, &r.heights.HTUOV, &r.heights.HETP};
    if (AtOrBeyondFlood(page) || Invalid(page, marks, "HETPD")) {
        Fail(r, kAtFloodText);
        return r;
    }
    for (int i = 0; i < 4; ++i) {
        const auto v = Current(page, names[i]);
        if (!v) {
            Fail(r, kMissingInputText);
            return r;
        }
        *targets[i] = *v;
    }
    r.completed = true;
    return r;
}

EfficiencyModelResult RbfModel(const CalcPage& page, InvalidMarks marks)
{
    EfficiencyModelResult r;
    r.model = EfficiencyModel::RochaBravoFair;
    r.hasArea = true;
    if (AtOrBeyondFlood(page)) {
        Fail(r, kAtFloodText);
        return r;
    }
    const char* names[] = {"UlsD", "UvsD", "DlD", "DvD", "MlD", "MvD", "SLD", "DlfD", "DvfD", "LmdD", "HTD"};
    double values[11];
    for (int i = 0; i < 11; ++i) {
        const auto v = Current(page, names[i]);
        if (!v) {
            Fail(r, kMissingInputText);
            return r;
        }
        values[i] = *v;
    }
    if (Invalid(page, marks, "HTD")) {
        Fail(r, kHoldupRangeText);
        return r;
    }
    const RbfInputs in{values[0], values[1], values[2], values[3], values[4], values[5],
                       values[6], values[7], values[8], values[9], values[10]};
    // The page's own packing: a rated copy is read after its run has given
    // the thread's packing back to the caller.
    const std::string type = page.Combo("PTD")->Text();
    const PackingParams saved = CurrentPacking;
    PackingParams p;
    try {
        LookUpPacking(type, ColArea);
        p = CurrentPacking;
        CurrentPacking = saved;
    } catch (const std::exception&) {
        CurrentPacking = saved;
        Fail(r, kMissingInputText);
        return r;
    }
    try {
        FloatGuard guard;
        r.heights = RbfHeights(in, p, SurfaceEnhancementFactor(type));
        for (double x :
             {r.heights.HTUV, r.heights.HTUL, r.heights.HTUOV, r.heights.HETP, r.heights.effectiveArea})
            guard.Checked(x);
        // Heights of zero or below come from inputs outside any physical case.
        if (!(r.heights.HETP > 0) || !(in.hL > 0 && in.hL < 1)) throw EMathError(kInvalidOpText);
    } catch (const EMathError& e) {
        r.heights = ModelHeights{};
        r.error = e.what();
        return r;
    }
    r.completed = true;
    r.areaAboveGeometric = r.heights.effectiveArea > p.a;
    return r;
}

} // namespace

const char* EfficiencyModelName(EfficiencyModel m)
{
    return m == EfficiencyModel::Specified ? "specified" : "rbf";
}

const char* DesignHetpChoiceName(DesignHetpChoice c)
{
    switch (c) {
    case DesignHetpChoice::RochaBravoFair:
        return "rbf";
    case DesignHetpChoice::Largest:
        return "max";
    default:
        return "specified";
    }
}

bool DesignHetpChoiceFromName(const std::string& name, DesignHetpChoice& out)
{
    for (DesignHetpChoice c :
         {DesignHetpChoice::Specified, DesignHetpChoice::RochaBravoFair, DesignHetpChoice::Largest})
        if (name == DesignHetpChoiceName(c)) {
            out = c;
            return true;
        }
    return false;
}

double SurfaceEnhancementFactor(const std::string& packingType)
{
    return packingType.rfind("GemPack", 0) == 0 ? kFseGemPack : kFseDefault;
}

ModelHeights RbfHeights(const RbfInputs& in, const PackingParams& p, double surfaceEnhancement)
{
    const double sinT = std::sin(p.theta);
    const double Ft = WettedFractionFactor(p.S, p.eps, p.theta, in.sigma, in.muL, in.rhoL, in.uLs);
    ModelHeights out;
    out.effectiveArea = surfaceEnhancement * Ft * p.a;
    // Effective velocities in the channels: the liquid in its film, the gas
    // in the room the film leaves.
    const double uLe = in.uLs / (p.eps * in.hL * sinT);
    const double uGe = in.uVs / (p.eps * (1.0 - in.hL) * sinT);
    const double ReG = (uGe + uLe) * in.rhoV * p.S / in.muV;
    const double ScG = in.muV / (in.rhoV * in.DV);
    const double kG = 0.054 * std::pow(ReG, 0.8) * std::pow(ScG, 0.33) * in.DV / p.S;
    const double kL = 2.0 * std::sqrt(in.DL * kSurfaceRenewal * uLe / (pi * p.S));
    out.HTUV = in.uVs / (kG * out.effectiveArea);
    out.HTUL = in.uLs / (kL * out.effectiveArea);
    out.HTUOV = out.HTUV + in.lambda * out.HTUL;
    out.HETP = HetpFromTransferUnits(out.HTUOV, in.lambda);
    return out;
}

EfficiencyResult EvaluateEfficiency(const CalcPage& page, DesignHetpChoice choice,
                                    const std::vector<std::string>* invalid)
{
    std::vector<EfficiencyModelResult> models;
    if (!page.LastFailure().empty()) {
        for (EfficiencyModel m : {EfficiencyModel::Specified, EfficiencyModel::RochaBravoFair}) {
            EfficiencyModelResult r;
            r.model = m;
            r.hasArea = m != EfficiencyModel::Specified;
            Fail(r, kNotCurrentText);
            models.push_back(r);
        }
    } else {
        models.push_back(SpecifiedModel(page, invalid));
        models.push_back(RbfModel(page, invalid));
    }
    return SummariseEfficiency(std::move(models), choice);
}

EfficiencyResult SummariseEfficiency(std::vector<EfficiencyModelResult> models, DesignHetpChoice choice)
{
    EfficiencyResult res;
    res.models = std::move(models);
    res.design = choice;
    double low = 0, high = 0;
    int completed = 0;
    for (const EfficiencyModelResult& r : res.models) {
        if (!r.completed) continue;
        low = completed ? std::min(low, r.heights.HETP) : r.heights.HETP;
        high = completed ? std::max(high, r.heights.HETP) : r.heights.HETP;
        ++completed;
    }
    // One model alone has no spread to show.
    if (completed >= 2) res.spread = high / low;
    if (choice == DesignHetpChoice::Largest) {
        if (completed) res.designHetp = high;
        return res;
    }
    const EfficiencyModel wanted =
        choice == DesignHetpChoice::Specified ? EfficiencyModel::Specified : EfficiencyModel::RochaBravoFair;
    for (const EfficiencyModelResult& r : res.models)
        if (r.model == wanted && r.completed) res.designHetp = r.heights.HETP;
    return res;
}

std::optional<double> DesignHetp(const EfficiencyResult& result)
{
    return result.designHetp;
}

DesignHetpChoice DesignHetpChoiceOf(const CalcPage& page)
{
    const TComboModel* c = page.Combo("DesignHetpD");
    const int i = c ? c->ItemIndex() : 0;
    return i == 1   ? DesignHetpChoice::RochaBravoFair
           : i == 2 ? DesignHetpChoice::Largest
                    : DesignHetpChoice::Specified;
}

void SetDesignHetpChoice(CalcPage& page, DesignHetpChoice choice)
{
    page.Combo("DesignHetpD")->SetItemIndex(static_cast<int>(choice));
}

std::optional<double> ChosenHetp(const CalcPage& page, const std::vector<std::string>* invalid)
{
    const DesignHetpChoice choice = DesignHetpChoiceOf(page);
    if (choice == DesignHetpChoice::Specified) {
        // The page's own field exactly as before the choice existed.
        const auto hetp = Current(page, "HETPD");
        return hetp && !Invalid(page, invalid, "HETPD") ? hetp : std::nullopt;
    }
    return DesignHetp(EvaluateEfficiency(page, choice, invalid));
}
