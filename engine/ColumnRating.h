#pragma once
// Rating a column profile stage by stage: each stage is the calculation
// page's own recalculation, run on a copy of the page with the stage's
// values written into the input fields and the bed's packing and method
// selected. In sizing mode every stage of a bed is first sized, the bed's
// diameter is the largest theoretical diameter rounded, and every stage is
// then rated at that diameter; in rating mode at the bed's given diameter.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CaseRun.h"
#include "ColumnProfile.h"
#include "OperatingCheck.h"

struct StageRating {
    int stage = 0;                             // stage number
    int bed = -1;                              // index of its bed, -1 when it lies in none
    bool completed = false;                    // rated: the recalculation ended without an error, inputs complete
    std::string error;                         // why a rated stage failed or is incomplete ("" otherwise)
    // Not a packed stage (no vapour or no liquid flow: a condenser, a
    // reboiler, a pump-around) or in no bed: not rated, and no error.
    bool skipped = false;
    std::string note;                          // why it was skipped
    std::vector<std::string> fromPage;         // fields whose value came from the page, not the stage
    std::optional<double> theoreticalDiameter; // m
    std::optional<double> floodPercent;        // actual percentage of flood at the bed's diameter
    std::optional<double> FsFactor;            // Pa^0.5
    std::optional<double> pressureDrop;        // irrigated, Pa/m
    std::optional<double> holdup;              // m3/m3
    std::optional<double> HETP;                // m
    std::vector<OperatingWarning> warnings;
};

struct BedRating {
    int first = 0, last = 0;
    std::string packing;
    int method = 0;
    std::optional<double> diameter;     // m: rounded largest theoretical diameter, or the given one
    std::optional<int> limitingStage;   // stage number of the highest percentage of flood
    // Only when every rated stage of the bed completed with an HETP and a
    // pressure drop; otherwise `note` says why there are none.
    std::optional<double> height;       // m: one HETP per stage, summed
    std::optional<double> pressureDrop; // mbar over that height
    std::string note;
    std::vector<OperatingWarning> warnings; // the design limits on the bed's totals

};

struct ProfileRating {
    std::vector<StageRating> stages; // in the profile's order
    std::vector<BedRating> beds;
};

// Called after each rated stage's last run with the page in its final state
// (skipped stages are not run).
using StageObserver = std::function<void(const CalcPage& page, const StageRating& stage)>;

// The beds a rating uses: the profile's, or, when it has none, one bed over
// all stages with the page's packing and method.
std::vector<ProfileBed> EffectiveBeds(const ColumnProfile& profile, const CalcPage& page);

// Engine texts of a stage's note or error, to be shown after the stage's number.
extern const char* const kNoVapourFlowText;
extern const char* const kNoLiquidFlowText;
extern const char* const kCondenserStageText;
// A bed's note when its totals leave out a stage it holds that was skipped.
extern const char* const kSkippedInBedText;
extern const char* const kReboilerStageText;

// Rates every stage. `page` supplies what the stages lack, the foaming
// factor and the flood percentage; it is only read. Throws EConvertError
// when the profile does not validate.
ProfileRating RateProfile(const CalcPage& page, const ColumnProfile& profile,
                          const StageObserver& observe = {});

// The same rating in steps of one stage run, for a caller that shows
// progress and takes Cancel between steps (the window rates a large profile
// on a worker thread). The page is copied at the start, on the page's
// thread; the steps may then run on one other thread, since the engine's
// state (packing parameters, hooks, message sink) is the thread's own and
// every step runs in its own engine scope.
class ProfileRater
{
public:
    // Throws EConvertError when the profile does not validate.
    ProfileRater(const CalcPage& page, const ColumnProfile& profile, StageObserver observe = {});
    ~ProfileRater();
    ProfileRater(const ProfileRater&) = delete;
    ProfileRater& operator=(const ProfileRater&) = delete;

    // Runs the next stage; false when the rating is complete.
    bool Step();
    // Stage runs done and to do in all (one per packed stage rated at a given
    // diameter, two when sized).
    int Done() const { return done_; }
    int Total() const { return total_; }
    // The rating, complete once Step has returned false.
    ProfileRating Take() { return std::move(out_); }

private:
    enum class Phase { Start, Sizing, Rating };
    bool InBed(std::size_t stage) const;
    void Run(std::size_t stage, std::optional<double> diameter);

    ColumnProfile profile_;
    std::vector<ProfileBed> beds_;
    StageObserver observe_;
    std::unique_ptr<CalcPage> base_, work_;
    ProfileRating out_;
    BedRating current_;
    std::size_t bed_ = 0, next_ = 0;
    Phase phase_ = Phase::Start;
    double largest_ = 0;
    int done_ = 0, total_ = 0;
};

// Writes the values a stage gives into a page the way the import dialogs
// write theirs (SI through SetValue); returns the fields left to the page.
std::vector<std::string> ApplyProfileValues(CalcPage& page, const ProfileStage& stage);

// Writes a stage into a page the way the import dialogs write their values
// (SI through SetValue), selects the bed's packing and method and, with a
// diameter, rates that diameter. Returns the fields left to the page.
std::vector<std::string> ApplyStage(CalcPage& page, const ProfileStage& stage, const ProfileBed& bed,
                                    std::optional<double> diameter);
