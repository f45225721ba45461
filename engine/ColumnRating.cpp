#include "ColumnRating.h"

#include <algorithm>

#include "ColumnSizing.h"
#include "FloatGuard.h"
#include "NumberText.h"
#include "TrNoop.h"

namespace
{

const char* const kNoBedText = QT_TRANSLATE_NOOP("Velk", "不在任何填料段内");
const char* const kNoRatedStageText = QT_TRANSLATE_NOOP("Velk", "段内没有可校核的填料板");
const char* const kStageFailedText = QT_TRANSLATE_NOOP("Velk", "有板未算完，不计总高和总压降");
const char* const kNoHeightText = QT_TRANSLATE_NOOP("Velk", "有板缺少HETP或压降，不计总高和总压降");

// A field's SI value as velk-calc prints it, or nothing for a text that is
// not a number; reading never shows a message.
std::optional<double> FieldValue(const CalcPage& page, const char* name)
{
    const TEditD* f = page.Field(name);
    long double v;
    if (!f || !ParseNumber(Trim(f->Text()), v)) return std::nullopt;
    return static_cast<double>(v * static_cast<long double>(f->Exchange()));
}

// A stage without vapour or without liquid is no packed stage; what the
// stage lacks comes from the page, as the run would take it.
const char* NotPackedReason(const CalcPage& page, const ProfileStage& s)
{
    const std::optional<double> V = s.V ? s.V : FieldValue(page, "VD");
    const std::optional<double> L = s.L ? s.L : FieldValue(page, "LD");
    if (V && !(*V > 0)) return kNoVapourFlowText;
    if (L && !(*L > 0)) return kNoLiquidFlowText;
    return nullptr;
}

void Collect(const CalcPage& page, const CaseRunResult& run, StageRating& r)
{
    StageRating fresh;
    fresh.stage = r.stage;
    fresh.bed = r.bed;
    fresh.completed = run.completed;
    fresh.error = run.error;
    fresh.fromPage = std::move(r.fromPage);
    r = std::move(fresh);
    // A failed or incomplete stage shows its message and no number.
    if (!run.completed) return;
    r.theoreticalDiameter = FieldValue(page, "dpD");
    r.holdup = FieldValue(page, "HTD");
    r.pressureDrop = FieldValue(page, "dPwaterD");
    r.HETP = FieldValue(page, "HETPD");
    const OperatingCheck& check = page.Operation();
    r.floodPercent = check.figures.floodPercent;
    r.FsFactor = check.figures.FsFactor;
    r.warnings = check.warnings;
}

// Rating a given diameter as velk-calc --rate-diameter sets it up: the
// mode first, then the diameter typed into dD.
void SetRatedDiameter(CalcPage& page, std::optional<double> diameter)
{
    page.SetRatingMode(diameter.has_value());
    if (diameter) page.Field("dD")->SetValue(*diameter);
}

void BedTotals(const std::vector<StageRating>& stages, int index, BedRating& bed)
{
    double height = 0, drop = 0, worst = -1;
    int rated = 0;
    const char* why = nullptr;
    for (const StageRating& s : stages) {
        if (s.bed != index || s.skipped) continue;
        ++rated;
        if (!s.completed) {
            why = kStageFailedText;
            continue;
        }
        if (s.floodPercent && *s.floodPercent > worst) {
            worst = *s.floodPercent;
            bed.limitingStage = s.stage;
        }
        if (s.HETP && s.pressureDrop) {
            height += *s.HETP;
            drop += *s.HETP * *s.pressureDrop;
        } else if (!why) {
            why = kNoHeightText;
        }
    }
    if (rated == 0) why = kNoRatedStageText;
    if (why) {
        bed.note = why;
        return;
    }
    bed.height = height;
    bed.pressureDrop = drop / 100; // Pa to mbar
}

} // namespace

const char* const kNoVapourFlowText = QT_TRANSLATE_NOOP("Velk", "无气相流量");
const char* const kNoLiquidFlowText = QT_TRANSLATE_NOOP("Velk", "无液相流量");

std::vector<ProfileBed> EffectiveBeds(const ColumnProfile& profile, const CalcPage& page)
{
    if (!profile.beds.empty() || profile.stages.empty()) return profile.beds;
    ProfileBed all;
    all.first = profile.stages.front().number;
    all.last = profile.stages.back().number;
    all.packing = page.Combo("PTD")->Text();
    all.method = std::clamp(page.Combo("UfMD")->ItemIndex(), 0, 2);
    all.lagrange = page.Check("CBLagrange")->Checked();
    return {all};
}

std::vector<std::string> ApplyStage(CalcPage& page, const ProfileStage& stage, const ProfileBed& bed,
                                    std::optional<double> diameter)
{
    std::vector<std::string> fromPage;
    for (const ProfileValue& v : kProfileValues) {
        const std::optional<double>& x = stage.*v.member;
        if (!x) {
            fromPage.emplace_back(v.field);
            continue;
        }
        if (v.member == &ProfileStage::slope) {
            // The stage's slope is an input: relative volatility and the
            // stripping factor follow from it.
            for (const char* derived : {"alfD", "LmdD"})
                ClearComputedField(*page.Field(derived));
            ClearComputedField(*page.Field("meD"));
        }
        page.Field(v.field)->SetValue(*x);
    }
    SelectMethod(page, bed.method, bed.lagrange);
    SelectPacking(page, bed.packing);
    // In sizing mode the page's own rating of a given diameter is off.
    if (diameter || page.Check("CBRating")->Checked()) SetRatedDiameter(page, diameter);
    return fromPage;
}

ProfileRating RateProfile(const CalcPage& page, const ColumnProfile& profile, const StageObserver& observe)
{
    ValidateProfile(profile);
    ColumnProfile effective = profile;
    effective.beds = EffectiveBeds(profile, page);

    ProfileRating out;
    CalcPage work(false);
    // Every run starts from the page's state, and RunCase empties the
    // results of the copy: nothing comes from the page's own case or from
    // the stage before.
    auto run = [&](const ProfileStage& s, const ProfileBed& bed, std::optional<double> d, StageRating& r) {
        CopyPageState(page, work);
        const CaseRunResult res = RunCase(work, [&](CalcPage& p) { r.fromPage = ApplyStage(p, s, bed, d); });
        Collect(work, res, r);
    };

    for (const ProfileStage& s : profile.stages) {
        StageRating r;
        r.stage = s.number;
        r.bed = effective.BedOf(s.number);
        const char* skip = r.bed < 0 ? kNoBedText : NotPackedReason(page, s);
        r.skipped = skip != nullptr;
        if (skip) r.note = skip;
        out.stages.push_back(r);
    }
    auto inBed = [&](std::size_t i, std::size_t b) {
        return out.stages[i].bed == static_cast<int>(b) && !out.stages[i].skipped;
    };
    for (std::size_t b = 0; b < effective.beds.size(); ++b) {
        const ProfileBed& bed = effective.beds[b];
        BedRating total{bed.first, bed.last, bed.packing, bed.method, {}, {}, {}, {}, {}};
        if (profile.rating) {
            total.diameter = bed.diameter;
        } else {
            double largest = 0;
            for (std::size_t i = 0; i < profile.stages.size(); ++i)
                if (inBed(i, b)) {
                    run(profile.stages[i], bed, std::nullopt, out.stages[i]);
                    const auto& dp = out.stages[i].theoreticalDiameter;
                    if (out.stages[i].completed && dp && *dp > largest) largest = *dp;
                }
            if (largest > 0) {
                FloatGuard guard;
                total.diameter = CheckedResult(RoundColumnDiameter(largest));
            }
        }
        for (std::size_t i = 0; i < profile.stages.size(); ++i) {
            if (!inBed(i, b)) continue;
            // Without a diameter the sizing run is the stage's last; the
            // observer sees it again.
            if (total.diameter || observe) run(profile.stages[i], bed, total.diameter, out.stages[i]);
            if (observe) observe(work, out.stages[i]);
        }
        BedTotals(out.stages, static_cast<int>(b), total);
        out.beds.push_back(total);
    }
    return out;
}
