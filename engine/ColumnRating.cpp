#include "ColumnRating.h"

#include <algorithm>

#include "ColumnSizing.h"
#include "FloatGuard.h"
#include "NumberText.h"
#include "TrNoop.h"

namespace
{

const char* const kNoBedText = QT_TRANSLATE_NOOP("Velk", "不在任何填料段内");
const char* const kMissingText = QT_TRANSLATE_NOOP("Velk", "数据不全：");

// A field's SI value as velk-calc prints it, or nothing for a text that is
// not a number; reading never shows a message.
std::optional<double> FieldValue(const CalcPage& page, const char* name)
{
    const TEditD* f = page.Field(name);
    long double v;
    if (!f || !ParseNumber(Trim(f->Text()), v)) return std::nullopt;
    return static_cast<double>(v * static_cast<long double>(f->Exchange()));
}

void Collect(const CalcPage& page, const CaseRunResult& run, StageRating& r)
{
    r.completed = run.completed;
    r.error = run.error;
    r.theoreticalDiameter = FieldValue(page, "dpD");
    // A value beyond the model enters no stage value and no bed total.
    auto valid = [&](const char* name) {
        return page.IsInvalid(page.Field(name)) ? std::nullopt : FieldValue(page, name);
    };
    r.holdup = valid("HTD");
    r.pressureDrop = valid("dPwaterD");
    r.HETP = valid("HETPD");
    const OperatingCheck& check = page.Operation();
    r.floodPercent = check.figures.floodPercent;
    r.FsFactor = check.figures.FsFactor;
    r.warnings = check.warnings;
    if (!run.completed) return;
    std::string missing;
    for (int i = 0; i < kProfileRequiredValues; ++i)
        if (page.Field(kProfileValues[i].field)->IsBlank())
            missing += (missing.empty() ? "" : ", ") + std::string(kProfileValues[i].field);
    if (!missing.empty()) r.error = kMissingText + missing;
}

// Rating a given diameter as velk-calc --rate-diameter sets it up: the
// mode first, then the diameter typed into dD.
void SetRatedDiameter(CalcPage& page, std::optional<double> diameter)
{
    page.SetRatingMode(diameter.has_value());
    if (diameter) page.Field("dD")->SetValue(*diameter);
}

void BedTotals(const std::vector<StageRating>& stages, BedRating& bed)
{
    double height = 0, drop = 0, worst = -1;
    bool complete = true;
    for (const StageRating& s : stages) {
        if (s.stage < bed.first || s.stage > bed.last) continue;
        if (s.completed && s.floodPercent && *s.floodPercent > worst) {
            worst = *s.floodPercent;
            bed.limitingStage = s.stage;
        }
        if (s.HETP && s.pressureDrop) {
            height += *s.HETP;
            drop += *s.HETP * *s.pressureDrop;
        } else {
            complete = false;
        }
    }
    if (!complete) return;
    bed.height = height;
    bed.pressureDrop = drop / 100; // Pa to mbar
}

} // namespace

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
    auto run = [&](const ProfileStage& s, const ProfileBed& bed, std::optional<double> d, StageRating& r) {
        CopyPageState(page, work);
        const CaseRunResult res = RunCase(work, [&](CalcPage& p) { r.fromPage = ApplyStage(p, s, bed, d); });
        Collect(work, res, r);
    };

    for (const ProfileStage& s : profile.stages) {
        StageRating r;
        r.stage = s.number;
        r.bed = effective.BedOf(s.number);
        if (r.bed < 0) r.error = kNoBedText;
        out.stages.push_back(r);
    }
    for (std::size_t b = 0; b < effective.beds.size(); ++b) {
        const ProfileBed& bed = effective.beds[b];
        BedRating total{bed.first, bed.last, bed.packing, bed.method, {}, {}, {}, {}};
        if (profile.rating) {
            total.diameter = bed.diameter;
        } else {
            double largest = 0;
            for (std::size_t i = 0; i < profile.stages.size(); ++i)
                if (out.stages[i].bed == static_cast<int>(b)) {
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
            if (out.stages[i].bed != static_cast<int>(b)) continue;
            // Without a diameter the sizing run is the stage's last; the
            // observer sees it again.
            if (total.diameter || observe) run(profile.stages[i], bed, total.diameter, out.stages[i]);
            if (observe) observe(work, out.stages[i]);
        }
        BedTotals(out.stages, total);
        out.beds.push_back(total);
    }
    return out;
}
