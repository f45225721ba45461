#include "OperatingCheck.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "CalcPage.h"
#include "EfficiencyModels.h"
#include "DesignLimits.h"
#include "NumberText.h"
#include "PackingCatalogue.h"
#include "PressureDrop.h"
#include "TextToFloat.h"
#include "TrNoop.h"

namespace
{

struct Caption {
    const char* field;
    const char* caption;
    const char* staleText;
};
// Captions as the window shows them, and the stale text naming each.
const Caption kCaptions[] = {
    {"FpD", "流动参数",
     QT_TRANSLATE_NOOP("Velk", "“流动参数”已过时：它依赖的输入已清空或改变，未重新计算。")},
    {"CgmaxD", "最大负荷因子",
     QT_TRANSLATE_NOOP("Velk", "“最大负荷因子”已过时：它依赖的输入已清空或改变，未重新计算。")},
    {"UfD", "泛点气速",
     QT_TRANSLATE_NOOP("Velk", "“泛点气速”已过时：它依赖的输入已清空或改变，未重新计算。")},
    {"UpD", "空速", QT_TRANSLATE_NOOP("Velk", "“空速”已过时：它依赖的输入已清空或改变，未重新计算。")},
    {"dpD", "理论塔径",
     QT_TRANSLATE_NOOP("Velk", "“理论塔径”已过时：它依赖的输入已清空或改变，未重新计算。")},
    {"dD", "实际塔径", QT_TRANSLATE_NOOP("Velk", "“实际塔径”已过时：它依赖的输入已清空或改变，未重新计算。")},
    {"UlsD", "液相负荷",
     QT_TRANSLATE_NOOP("Velk", "“液相负荷”已过时：它依赖的输入已清空或改变，未重新计算。")},
    {"UvsD", "气相负荷",
     QT_TRANSLATE_NOOP("Velk", "“气相负荷”已过时：它依赖的输入已清空或改变，未重新计算。")},
    {"HTD", "持液量", QT_TRANSLATE_NOOP("Velk", "“持液量”已过时：它依赖的输入已清空或改变，未重新计算。")},
    {"dPdryD", "干塔压降(每米)",
     QT_TRANSLATE_NOOP("Velk", "“干塔压降(每米)”已过时：它依赖的输入已清空或改变，未重新计算。")},
    {"dPwaterD", "湿塔压降(每米)",
     QT_TRANSLATE_NOOP("Velk", "“湿塔压降(每米)”已过时：它依赖的输入已清空或改变，未重新计算。")},
    {"HTUVD", "HTUV", QT_TRANSLATE_NOOP("Velk", "“HTUV”已过时：它依赖的输入已清空或改变，未重新计算。")},
    {"HTULD", "HTUL", QT_TRANSLATE_NOOP("Velk", "“HTUL”已过时：它依赖的输入已清空或改变，未重新计算。")},
    {"HTUOVD", "HTUOV", QT_TRANSLATE_NOOP("Velk", "“HTUOV”已过时：它依赖的输入已清空或改变，未重新计算。")},
    {"HETPD", "HETP(等板高度)",
     QT_TRANSLATE_NOOP("Velk", "“HETP(等板高度)”已过时：它依赖的输入已清空或改变，未重新计算。")},
    {"meD", "平衡线斜率",
     QT_TRANSLATE_NOOP("Velk", "“平衡线斜率”已过时：它依赖的输入已清空或改变，未重新计算。")},
    {"alfD", "相对挥发度",
     QT_TRANSLATE_NOOP("Velk", "“相对挥发度”已过时：它依赖的输入已清空或改变，未重新计算。")},
    {"LmdD", "参数λ", QT_TRANSLATE_NOOP("Velk", "“参数λ”已过时：它依赖的输入已清空或改变，未重新计算。")},
};

const char* const kFloodedText =
    QT_TRANSLATE_NOOP("Velk", "“气相负荷”达到或超过“泛点气速”，塔已液泛：湿塔压降和持液量不予计算。");
const char* const kNearFloodText = QT_TRANSLATE_NOOP("Velk", "“气相负荷”超过“泛点气速”的90%，接近液泛。");
const char* const kNearSystemText =
    QT_TRANSLATE_NOOP("Velk", "“气相负荷”超过系统极限负荷(液体发泡系数×泛点气速)的90%，接近液泛。");
const char* const kOverCapacityText = QT_TRANSLATE_NOOP(
    "Velk", "“气相负荷”达到或超过系统极限负荷(液体发泡系数×泛点气速)：发泡的塔在液泛之前已超负荷。");
const char* const kRoundingText =
    QT_TRANSLATE_NOOP("Velk", "“实际塔径”使实际泛点率比设计值(泛点预设×液体发泡系数)高出5个百分点以上。");
const char* const kAboveDesignText = QT_TRANSLATE_NOOP(
    "Velk", "给定塔径下实际泛点率比设计值(泛点预设×液体发泡系数)高出5个百分点以上：塔在设计基准以上运行。");
const char* const kAboveLimitText =
    QT_TRANSLATE_NOOP("Velk", "“湿塔压降(每米)”超过压降限值：塔在设计基准以上运行。");
const char* const kWetBelowDryText =
    QT_TRANSLATE_NOOP("Velk", "“湿塔压降(每米)”低于“干塔压降(每米)”，已超出压降模型的适用范围。");
const char* const kCappedText =
    QT_TRANSLATE_NOOP("Velk", "“湿塔压降(每米)”是液泛床层的液柱压头而不是压降，已超出压降模型的适用范围。");
const char* const kHoldupText =
    QT_TRANSLATE_NOOP("Velk", "“持液量”达到或超过填料空隙率，已超出持液量模型的适用范围。");
const char* const kHoldupLimitText = QT_TRANSLATE_NOOP(
    "Velk",
    "“持液量”达到或超过压降模型自身液泛点(湿塔压降达到液柱压头)的持液量，已超出持液量模型的适用范围。");
const char* const kTransferAtFloodText =
    QT_TRANSLATE_NOOP("Velk", "塔已液泛：传质单元高度和“HETP(等板高度)”超出传质模型的适用范围。");
const char* const kMinWettingText =
    QT_TRANSLATE_NOOP("Velk", "“液相负荷”低于填料的最小液体负荷，填料润湿不足，传质结果偏乐观。");
const char* const kFlowParameterText =
    QT_TRANSLATE_NOOP("Velk", "“流动参数”超出所选泛点算法的适用范围，泛点气速为外推值。");
const char* const kNegativeVolatilityText =
    QT_TRANSLATE_NOOP("Velk", "“相对挥发度”无意义：由0.9α=(0.9α+0.1)m得α=m/"
                              "(9(1−m))，“平衡线斜率”m≥1时α为负或无定义。HETP只用λ=mV/L，不受影响。");

// The flow-parameter span where each correlation's curve is backed by data
// (index: flooding method); the reasons are in docs/operating-check.md.
constexpr FlowParameterRange kMethodRanges[3] = {{0.01, 2.0}, {0.002, 2.0}, {0.002, 2.0}};
// The result fields built on the mass-transfer model.
const char* const kTransferFields[] = {"HTUVD", "HTULD", "HTUOVD", "HETPD"};

// A field's SI value; nullopt when it is blank, not a number or marked stale.
std::optional<double> Value(const CalcPage& page, const char* name, const std::vector<const TEditD*>& stale)
{
    const TEditD* f = page.Field(name);
    double v;
    if (!f || std::find(stale.begin(), stale.end(), f) != stale.end() || !f->TryGetValue(v))
        return std::nullopt;
    return v;
}

std::optional<double> ComboNumber(const CalcPage& page, const char* name)
{
    double v;
    if (!ParseNumber(TrimView(page.Combo(name)->Text()), v) || !std::isfinite(v)) return std::nullopt;
    return v;
}

// The figure f() computes, or nullopt when it is not finite.
template <class F> std::optional<double> Figure(F f)
{
    const double v = f();
    return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

void Add(OperatingCheck& check, const char* code, const char* field, const char* text, WarningSeverity s)
{
    check.warnings.push_back({code, field, text, s});
}

void AddFlowWarnings(const CalcPage& page, const OperatingFigures& fig, OperatingCheck& check)
{
    if (!fig.floodPercent) return;
    // The system limit A * uF is uF itself for a non-foaming system (A = 1).
    const double system = fig.systemFloodPercent ? *fig.systemFloodPercent : *fig.floodPercent;
    const bool foaming = fig.systemFloodPercent && *fig.systemFloodPercent != *fig.floodPercent;
    if (*fig.floodPercent >= 100.0)
        Add(check, "flooded", "UvsD", kFloodedText, WarningSeverity::Error);
    else if (system >= 100.0)
        Add(check, "over-capacity", "UvsD", kOverCapacityText, WarningSeverity::Error);
    else if (system >= kNearFloodPercent)
        Add(check, "near-flood", "UvsD", foaming ? kNearSystemText : kNearFloodText,
            WarningSeverity::Warning);
    if (fig.designFloodPercent && *fig.floodPercent - *fig.designFloodPercent >= kRoundingExcessPoints) {
        // A rated diameter is not rounded: there the load is above the design basis.
        if (page.Check("CBRating")->Checked())
            Add(check, "above-design", "dD", kAboveDesignText, WarningSeverity::Warning);
        else
            Add(check, "near-flood", "dD", kRoundingText, WarningSeverity::Warning);
    }
}

// Under a pressure-drop basis the theoretical diameter meets the limit; a
// diameter rounded down or a given one may not, and the page must say so as
// it does for the flood basis (above-design). The slack covers the search's
// tolerance, not a real excess.
void AddPressureDropLimit(const CalcPage& page, const OperatingFigures& fig, OperatingCheck& check)
{
    const DesignOutcome& d = page.Design();
    if (d.basis == DesignBasis::Flood || !d.limit || !fig.pressureDropMbarPerM) return;
    if (*fig.pressureDropMbarPerM * 100.0 > *d.limit * (1.0 + 1e-6))
        Add(check, "above-pressure-drop-limit", "dPwaterD", kAboveLimitText, WarningSeverity::Warning);
}

// Marks the results beyond the model and raises model-range for them.
void AddModelRange(const CalcPage& page, const OperatingFigures& fig, const ModelState& model,
                   std::optional<double> dPdry, std::optional<double> dPwet, std::optional<double> hL,
                   std::optional<double> rhoL, OperatingCheck& check)
{
    const PackingParams& p = CurrentPacking;
    if (dPwet && model.pressureDropCapped) {
        Add(check, "model-range", "dPwaterD", kCappedText, WarningSeverity::Warning);
        check.invalid.push_back("dPwaterD");
    } else if (dPdry && dPwet && *dPwet < *dPdry) {
        Add(check, "model-range", "dPwaterD", kWetBelowDryText, WarningSeverity::Warning);
        check.invalid.push_back("dPwaterD");
    }
    if (hL && p.eps > 0 && *hL >= p.eps) {
        Add(check, "model-range", "HTD", kHoldupText, WarningSeverity::Warning);
        check.invalid.push_back("HTD");
    } else if (hL && p.S > 0 && dPdry && rhoL && *hL >= HoldupFloodLimit(p.S, *dPdry, *rhoL)) {
        Add(check, "model-range", "HTD", kHoldupLimitText, WarningSeverity::Warning);
        check.invalid.push_back("HTD");
    }
    if (fig.floodPercent && *fig.floodPercent >= 100.0) {
        bool any = false;
        for (const char* name : kTransferFields)
            if (!page.Field(name)->IsBlank()) {
                check.invalid.push_back(name);
                any = true;
            }
        if (any) Add(check, "model-range", "HETPD", kTransferAtFloodText, WarningSeverity::Warning);
    }
}

void AddFlowParameterRange(const CalcPage& page, std::optional<double> phi, OperatingCheck& check)
{
    const int method = page.Combo("UfMD")->ItemIndex();
    if (phi && method >= 0 && method <= 2) {
        const FlowParameterRange range = FlowParameterRangeOf(method);
        if (*phi < range.low || *phi > range.high)
            Add(check, "flow-parameter-range", "FpD", kFlowParameterText, WarningSeverity::Warning);
    }
}

// The derived volatility has no meaning for a slope of 1 or more (or a
// volatility typed at or below zero); the hydraulics and HETP stand.
void AddVolatility(std::optional<double> m, std::optional<double> alpha, OperatingCheck& check)
{
    if ((m && *m >= 1.0) || (alpha && *alpha <= 0))
        Add(check, "negative-volatility", "alfD", kNegativeVolatilityText, WarningSeverity::Info);
}

// (d/dp)^2 when the page rounded its theoretical diameter up (the factor by
// which that lowered the loads), else 1. A rated diameter was not rounded.
double RoundedUpRatio(const CalcPage& page, const std::vector<const TEditD*>& stale)
{
    const auto dp = Value(page, "dpD", stale), d = Value(page, "dD", stale);
    if (page.Check("CBRating")->Checked() || !dp || !d || !(*dp > 0) || !(*d > *dp)) return 1.0;
    const double r = *d / *dp;
    return std::isfinite(r * r) ? r * r : 1.0;
}

} // namespace

bool ModelRangeExceeded(double dPdry, double dPwet, double holdup, double voidFraction)
{
    return dPwet < dPdry || holdup >= voidFraction;
}

const char* SeverityName(WarningSeverity s)
{
    switch (s) {
    case WarningSeverity::Error:
        return "error";
    case WarningSeverity::Warning:
        return "warning";
    default:
        return "note";
    }
}

bool OperatingCheck::IsInvalid(const std::string& field) const
{
    return std::find(invalid.begin(), invalid.end(), field) != invalid.end();
}

FlowParameterRange FlowParameterRangeOf(int method)
{
    return kMethodRanges[method >= 0 && method <= 2 ? method : 0];
}

const char* FieldCaption(const std::string& name)
{
    for (const Caption& c : kCaptions)
        if (name == c.field) return c.caption;
    return "";
}

void EvaluateOperatingCheck(const CalcPage& page, const std::vector<const TEditD*>& stale,
                            OperatingCheck& check, const ModelState& model)
{
    check.warnings.clear();
    check.invalid.clear();
    OperatingFigures& fig = check.figures;
    fig = OperatingFigures{};
    auto value = [&](const char* name) { return Value(page, name, stale); };
    const auto uVs = value("UvsD"), uF = value("UfD"), uLs = value("UlsD"), rhoL = value("DlD"),
               rhoV = value("DvD"), dPdry = value("dPdryD"), dPwet = value("dPwaterD"), hL = value("HTD"),
               hetp = value("HETPD"), phi = value("FpD"), alpha = value("alfD"), m = value("meD"),
               n = value("StagesD");
    const auto f = ComboNumber(page, "fpercentD"), A = ComboNumber(page, "AfD");
    const PackingParams& p = CurrentPacking;

    if (uVs && uF && *uF > 0) fig.floodPercent = Figure([&] { return 100.0 * *uVs / *uF; });
    if (fig.floodPercent && A && *A > 0)
        fig.systemFloodPercent = Figure([&] { return *fig.floodPercent / *A; });
    if (f && A) fig.designFloodPercent = Figure([&] { return *f * *A; });
    if (uVs && rhoV && *rhoV >= 0) fig.FsFactor = Figure([&] { return *uVs * std::sqrt(*rhoV); });
    if (uVs && rhoV && rhoL && *rhoL > *rhoV && *rhoV >= 0)
        fig.capacityFactor = Figure([&] { return *uVs * std::sqrt(*rhoV / (*rhoL - *rhoV)); });
    if (uLs) fig.liquidLoad = Figure([&] { return *uLs * 3600.0; });
    if (uLs && p.uLmin > 0) fig.wettingRatio = Figure([&] { return *uLs / p.uLmin; });

    AddFlowWarnings(page, fig, check);
    AddModelRange(page, fig, model, dPdry, dPwet, hL, rhoL, check);
    // Nothing is built on a result beyond the model.
    if (dPwet && !check.IsInvalid("dPwaterD"))
        fig.pressureDropMbarPerM = Figure([&] { return *dPwet / 100.0; });
    AddPressureDropLimit(page, fig, check);
    // A number of stages is a positive whole number.
    if (n && *n >= 1 && *n <= 1e6 && std::nearbyint(*n) == *n) fig.stages = static_cast<int>(*n);
    // The HETP the engineer chose; the page's own by default, as before the choice.
    std::optional<double> design;
    if (DesignHetpChoiceOf(page) != DesignHetpChoice::Specified)
        design = ChosenHetp(page, &check.invalid);
    else if (hetp && !check.IsInvalid("HETPD"))
        design = hetp;
    if (fig.stages && design) fig.bedHeight = Figure([&] { return *fig.stages * *design; });
    if (fig.bedHeight && fig.pressureDropMbarPerM)
        fig.bedPressureDrop = Figure([&] { return *fig.pressureDropMbarPerM * *fig.bedHeight; });

    if (uLs && *uLs < p.uLmin) Add(check, "min-wetting", "UlsD", kMinWettingText, WarningSeverity::Warning);
    AddFlowParameterRange(page, phi, check);
    AddVolatility(m, alpha, check);
    AddLimitWarnings(DesignLimitsOf(page), fig, RoundedUpRatio(page, stale), check.warnings);
    for (const TEditD* s : stale)
        for (const Caption& c : kCaptions)
            if (s->Name() == c.field) Add(check, "stale", c.field, c.staleText, WarningSeverity::Warning);
}

void EvaluateInputWarnings(const CalcPage& page, OperatingCheck& check, bool loadsCurrent)
{
    check = OperatingCheck{};
    const std::vector<const TEditD*> none;
    // The liquid load is the current one only when every equation group
    // settled before the failure (it came later, in the pressure drop or
    // the heights); otherwise it may be a value of the case before.
    if (const auto uLs = Value(page, "UlsD", none); loadsCurrent && uLs && *uLs < CurrentPacking.uLmin)
        Add(check, "min-wetting", "UlsD", kMinWettingText, WarningSeverity::Warning);
    AddFlowParameterRange(page, Value(page, "FpD", none), check);
    AddVolatility(Value(page, "meD", none), Value(page, "alfD", none), check);
}

bool DiagramAtDesignPercent(const CalcPage& page)
{
    return !page.Check("CBRating")->Checked() && page.Combo("DesignBasisD")->ItemIndex() <= 0 &&
           !page.Check("CBConservative")->Checked();
}

double DiagramLoadPercent(const CalcPage& page)
{
    if (DiagramAtDesignPercent(page)) return TextToFloat(page.Combo("fpercentD")->Text());
    const auto& actual = page.Operation().figures.floodPercent;
    return actual ? *actual : std::nan("");
}
