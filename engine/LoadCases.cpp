#include "LoadCases.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <memory>

#include "CalcPage.h"
#include "CaseRun.h"
#include "ColumnRating.h"
#include "ColumnSizing.h"
#include "DesignBasis.h"
#include "EfficiencyModels.h"
#include "DesignLimits.h"
#include "FloatGuard.h"
#include "Messages.h"
#include "NumberText.h"
#include "PackingCatalogue.h"
#include "TextToFloat.h"
#include "TrNoop.h"

const char* const kNoNormalCaseText = QT_TRANSLATE_NOOP("Velk", "正常工况未算完，无操作弹性范围");
const char* const kEmptyWindowText = QT_TRANSLATE_NOOP("Velk", "最低负荷不低于最高负荷，无操作弹性范围");

namespace
{

std::optional<double> FieldValue(const CalcPage& page, const char* name)
{
    double v;
    const TEditD* f = page.Field(name);
    if (!f || f->IsBlank() || !f->TryGetValue(v) || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

void Collect(const CalcPage& page, const CaseRunResult& run, CaseResult& r)
{
    r.completed = run.completed;
    r.error = run.error;
    r.figures = {};
    r.pressureDrop = r.holdup = r.HETP = std::nullopt;
    r.warnings.clear();
    if (!run.completed) return;
    // A value beyond the model enters no case figure.
    auto valid = [&](const char* name) {
        return page.IsInvalid(page.Field(name)) ? std::nullopt : FieldValue(page, name);
    };
    r.pressureDrop = valid("dPwaterD");
    r.holdup = valid("HTD");
    // The HETP the engineer chose; the page's own by default.
    r.HETP = DesignHetpChoiceOf(page) == DesignHetpChoice::Specified ? valid("HETPD") : ChosenHetp(page);
    r.figures = page.Operation().figures;
    r.warnings = page.Operation().warnings;
}

// The packing of a page as the process-wide parameters, for the window's
// pressure drops; the caller's are back on leaving.
class PackingScope
{
public:
    explicit PackingScope(const CalcPage& page) : saved_(CurrentPacking)
    {
        LookUpPacking(page.Combo("PTD")->Text(), ColArea);
        SetMinLiquidLoad();
    }
    ~PackingScope() { CurrentPacking = saved_; }
    PackingScope(const PackingScope&) = delete;
    PackingScope& operator=(const PackingScope&) = delete;

private:
    PackingParams saved_;
};

// One case run on `work`, from the state of `base`: sized (no diameter) or
// rated at the given diameter.
void RunOne(const CalcPage& base, CalcPage& work, const LoadCase& c, std::optional<double> diameter,
            CaseResult& r)
{
    CopyPageState(base, work);
    const CaseRunResult run = RunCase(work, [&](CalcPage& p) {
        r.fromPage = ApplyLoadCase(p, c);
        if (diameter) {
            // As velk-calc --rate-diameter sets it up: the mode, then the diameter.
            p.SetRatingMode(true);
            p.Field("dD")->SetValue(*diameter);
        }
    });
    Collect(work, run, r);
    if (run.completed) r.theoreticalDiameter = FieldValue(work, "dpD");
}

} // namespace

std::optional<int> NormalCaseIndex(const std::vector<LoadCase>& cases)
{
    if (cases.empty()) return std::nullopt;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const std::string name = Lower(Trim(cases[i].name));
        if (name == "正常" || name == "normal") return static_cast<int>(i);
    }
    return 0;
}

std::vector<std::string> ApplyLoadCase(CalcPage& page, const LoadCase& c)
{
    return ApplyProfileValues(page, c.values);
}

std::vector<std::string> LoadCaseAsRated(CalcPage& page, const LoadCase& c, std::optional<double> diameter)
{
    std::vector<std::string> fromPage = ApplyLoadCase(page, c);
    if (diameter) {
        page.SetRatingMode(true);
        page.Field("dD")->SetValue(*diameter);
    }
    return fromPage;
}

std::vector<std::string> FieldsLoadingReplaces(const CalcPage& page, const LoadCase& c,
                                               std::optional<double> diameter)
{
    auto copy = std::make_unique<CalcPage>(false);
    CopyPageState(page, *copy);
    {
        // The copy's change hooks, not the live page's, see the writes.
        RecordingSink sink;
        EngineStateScope scope(*copy, &sink);
        LoadCaseAsRated(*copy, c, diameter);
    }
    std::vector<std::string> changed;
    for (const ProfileValue& v : kProfileValues)
        if (copy->Field(v.field)->Text() != page.Field(v.field)->Text()) changed.emplace_back(v.field);
    if (copy->Field("dD")->Text() != page.Field("dD")->Text()) changed.emplace_back("dD");
    if (copy->Check("CBRating")->Checked() != page.Check("CBRating")->Checked())
        changed.emplace_back("CBRating");
    return changed;
}

EnvelopeResult RateLoadCases(const CalcPage& page, const std::vector<LoadCase>& cases,
                             const CaseObserver& observe)
{
    EnvelopeResult out;
    out.normal = NormalCaseIndex(cases);
    auto base = std::make_unique<CalcPage>(false);
    auto work = std::make_unique<CalcPage>(false);
    CopyPageState(page, *base);
    out.cases.resize(cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i)
        out.cases[i].name = cases[i].name;

    const bool rating = page.Check("CBRating")->Checked();
    if (rating) {
        out.diameter = FieldValue(page, "dD");
    } else {
        double largest = 0;
        for (std::size_t i = 0; i < cases.size(); ++i) {
            RunOne(*base, *work, cases[i], std::nullopt, out.cases[i]);
            const auto& dp = out.cases[i].theoreticalDiameter;
            if (out.cases[i].completed && dp && *dp > largest) {
                largest = *dp;
                out.sizing = static_cast<int>(i);
            }
        }
        if (largest > 0) out.diameter = CheckedResult([&] { return DesignDiameter(page, largest); });
    }
    double worst = -INFINITY;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        CaseResult& r = out.cases[i];
        // Without a section diameter the sizing run is the case's last.
        if (rating || out.diameter) {
            const std::optional<double> sized = r.theoreticalDiameter;
            RunOne(*base, *work, cases[i], rating ? std::nullopt : out.diameter, r);
            if (!rating) r.theoreticalDiameter = sized;
        }
        const auto& load = r.figures.systemFloodPercent;
        if (r.completed && load && *load > worst) {
            worst = *load;
            out.governing = static_cast<int>(i);
        }
        if (out.normal && *out.normal == static_cast<int>(i)) {
            if (!r.completed) {
                out.window.note = kNoNormalCaseText;
            } else {
                try {
                    out.window = ComputeOperatingWindow(*work);
                } catch (const std::exception&) {
                    out.window = OperatingWindow{};
                    out.window.note = kOutsideModelText;
                }
            }
        }
        if (observe) observe(*work, r);
    }
    return out;
}

OperatingWindow ComputeOperatingWindow(const CalcPage& rated)
{
    OperatingWindow w;
    w.minFFactor = kMinFFactor;
    const auto uVs = FieldValue(rated, "UvsD"), uLs = FieldValue(rated, "UlsD"),
               uF = FieldValue(rated, "UfD"), rhoV = FieldValue(rated, "DvD"),
               rhoL = FieldValue(rated, "DlD"), muL = FieldValue(rated, "MlD"),
               muV = FieldValue(rated, "MvD"), sigma = FieldValue(rated, "SLD"), V = FieldValue(rated, "VD"),
               L = FieldValue(rated, "LD");
    if (!uVs || !uLs || !uF || !rhoV || !rhoL || !muL || !muV || !sigma || !V || !L || !(*uVs > 0) ||
        !(*uLs > 0) || !(*uF > 0)) {
        w.note = kNoNormalCaseText;
        return w;
    }
    const double f = TextToFloat(rated.Combo("fpercentD")->Text());
    const double A = TextToFloat(rated.Combo("AfD")->Text());
    PackingScope packing(rated);
    FloatGuard guard;
    // At a fixed diameter both loads are proportional to the flows, and the
    // flow parameter, hence uF, stays as it is: the load ends are ratios.
    const double wetting = CurrentPacking.uLmin / *uLs;
    const double fFactor = kMinFFactor / (*uVs * std::sqrt(*rhoV));
    const double flood = f * A / 100.0 * *uF / *uVs;
    w.minFactor = std::max(wetting, fFactor);
    w.minLimit = wetting >= fFactor ? "min-wetting" : "min-f-factor";
    w.maxFactor = flood;
    w.maxLimit = "design-flood";
    if (const auto& limit = rated.Design().limit; limit && rated.Design().basis != DesignBasis::Flood) {
        // The pressure drop is no ratio: the engine's search at the rated
        // diameter, on the same scaled loads (uLs / uVs fixed).
        const PressureDropPoint p{*L, *V, *rhoL, *rhoV, *muL, *muV, *sigma, *uF, A};
        if (const auto u = PressureDropLimitedVelocity(p, *limit); u && *u / *uVs < flood) {
            w.maxFactor = *u / *uVs;
            w.maxLimit = "pressure-drop";
        }
    }
    w.turndown = w.maxFactor / w.minFactor;
    guard.Checked(w.turndown);
    w.minV = w.minFactor * *V;
    w.minL = w.minFactor * *L;
    w.maxV = w.maxFactor * *V;
    w.maxL = w.maxFactor * *L;
    w.valid = true;
    if (!(w.maxFactor > w.minFactor)) w.note = kEmptyWindowText;
    return w;
}
