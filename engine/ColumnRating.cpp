#include "ColumnRating.h"

#include <algorithm>

#include "ColumnSizing.h"
#include "EfficiencyModels.h"
#include "DesignLimits.h"
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
    // As the source marks it, never by the stage's position.
    if (s.type == "condenser") return kCondenserStageText;
    if (s.type == "reboiler") return kReboilerStageText;
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
    // A value beyond the model enters no stage value and no bed total.
    auto valid = [&](const char* name) {
        return page.IsInvalid(page.Field(name)) ? std::nullopt : FieldValue(page, name);
    };
    r.holdup = valid("HTD");
    r.pressureDrop = valid("dPwaterD");
    // The HETP the engineer chose; the page's own by default.
    r.HETP = DesignHetpChoiceOf(page) == DesignHetpChoice::Specified ? valid("HETPD") : ChosenHetp(page);
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
    bool leftOut = false;
    for (const StageRating& s : stages) {
        leftOut = leftOut || (s.bed == index && s.skipped);
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
    if (leftOut) bed.note = kSkippedInBedText;
}

} // namespace

const char* const kNoVapourFlowText = QT_TRANSLATE_NOOP("Velk", "无气相流量");
const char* const kNoLiquidFlowText = QT_TRANSLATE_NOOP("Velk", "无液相流量");
const char* const kSkippedInBedText =
    QT_TRANSLATE_NOOP("Velk", "总高和总压降不含段内跳过的板(无流量、冷凝器或再沸器)");
const char* const kCondenserStageText = QT_TRANSLATE_NOOP("Velk", "冷凝器，不是填料板");
const char* const kReboilerStageText = QT_TRANSLATE_NOOP("Velk", "再沸器，不是填料板");

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

std::vector<std::string> ApplyProfileValues(CalcPage& page, const ProfileStage& stage)
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
    return fromPage;
}

std::vector<std::string> ApplyStage(CalcPage& page, const ProfileStage& stage, const ProfileBed& bed,
                                    std::optional<double> diameter)
{
    std::vector<std::string> fromPage = ApplyProfileValues(page, stage);
    SelectMethod(page, bed.method, bed.lagrange);
    SelectPacking(page, bed.packing);
    // In sizing mode the page's own rating of a given diameter is off.
    if (diameter || page.Check("CBRating")->Checked()) SetRatedDiameter(page, diameter);
    return fromPage;
}

ProfileRater::ProfileRater(const CalcPage& page, const ColumnProfile& profile, StageObserver observe)
    : profile_(profile), observe_(std::move(observe)), base_(std::make_unique<CalcPage>(false)),
      work_(std::make_unique<CalcPage>(false))
{
    ValidateProfile(profile_);
    beds_ = EffectiveBeds(profile_, page);
    // The page as it stands now: what happens to it meanwhile does not reach the rating.
    CopyPageState(page, *base_);
    ColumnProfile effective = profile_;
    effective.beds = beds_;
    for (const ProfileStage& s : profile_.stages) {
        StageRating r;
        r.stage = s.number;
        r.bed = effective.BedOf(s.number);
        const char* skip = r.bed < 0 ? kNoBedText : NotPackedReason(page, s);
        r.skipped = skip != nullptr;
        if (skip) r.note = skip;
        out_.stages.push_back(r);
        if (!skip) total_ += profile_.rating ? 1 : 2;
    }
}

ProfileRater::~ProfileRater() = default;

bool ProfileRater::InBed(std::size_t i) const
{
    return out_.stages[i].bed == static_cast<int>(bed_) && !out_.stages[i].skipped;
}

// Every run starts from the page's state, and RunCase empties the results
// of the copy: nothing comes from the page's own case or from the stage before.
void ProfileRater::Run(std::size_t i, std::optional<double> diameter)
{
    StageRating& r = out_.stages[i];
    CopyPageState(*base_, *work_);
    const CaseRunResult res = RunCase(*work_, [&](CalcPage& p) {
        r.fromPage = ApplyStage(p, profile_.stages[i], beds_[bed_], diameter);
    });
    Collect(*work_, res, r);
    ++done_;
}

bool ProfileRater::Step()
{
    while (bed_ < beds_.size()) {
        const ProfileBed& bed = beds_[bed_];
        if (phase_ == Phase::Start) {
            current_ = BedRating{bed.first, bed.last, bed.packing, bed.method, {}, {}, {}, {}, {}, {}};
            if (profile_.rating) current_.diameter = bed.diameter;
            phase_ = profile_.rating ? Phase::Rating : Phase::Sizing;
            next_ = 0;
            largest_ = 0;
        }
        for (; next_ < profile_.stages.size(); ++next_) {
            if (!InBed(next_)) continue;
            const std::size_t i = next_++;
            if (phase_ == Phase::Sizing) {
                Run(i, std::nullopt);
                const auto& dp = out_.stages[i].theoreticalDiameter;
                if (out_.stages[i].completed && dp && *dp > largest_) largest_ = *dp;
                return true;
            }
            // Without a diameter the sizing run is the stage's last; the
            // observer sees it again.
            if (current_.diameter || observe_) Run(i, current_.diameter);
            else ++done_;
            if (observe_) observe_(*work_, out_.stages[i]);
            return true;
        }
        if (phase_ == Phase::Sizing) {
            if (largest_ > 0) {
                current_.diameter = CheckedResult([&] { return DesignDiameter(*base_, largest_); });
            }
            phase_ = Phase::Rating;
            next_ = 0;
            continue;
        }
        BedTotals(out_.stages, static_cast<int>(bed_), current_);
        if (current_.pressureDrop) {
            OperatingFigures totals;
            totals.bedPressureDrop = current_.pressureDrop;
            AddLimitWarnings(DesignLimitsOf(*base_), totals, 1.0, current_.warnings);
        }
        out_.beds.push_back(current_);
        ++bed_;
        phase_ = Phase::Start;
    }
    return false;
}

ProfileRating RateProfile(const CalcPage& page, const ColumnProfile& profile, const StageObserver& observe)
{
    ProfileRater rater(page, profile, observe);
    while (rater.Step()) {
    }
    return rater.Take();
}
