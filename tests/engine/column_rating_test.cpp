// Rating a column profile stage by stage. Expected numbers follow from the
// recalculation test's reference case (Flexipac-1, first method, f = 80,
// A = 0.8; worked out in python from the published formulas) by geometry:
// scaling both flows by k keeps the flow parameter and hence uF, scales the
// theoretical diameter by sqrt(k), and at a fixed diameter D the vapour load
// is V / (rhoV pi D^2 / 4).
#include <gtest/gtest.h>

#include <cmath>

#include "TypicalCase.h"
#include "CaseRun.h"
#include "BackgroundRating.h"
#include "ColumnRating.h"

namespace
{

constexpr double kUf = 1.2210047121001697;
constexpr double kDp = 1.3982892710450237;
constexpr double kUvs = 0.7795344151439773; // at D = 1.4
constexpr double kDpWet = 132.34507458870078;
constexpr double kHetp = 0.1619662712408296;
constexpr double kPi = 3.141592653589793;

ProfileBed Bed(int first, int last, std::optional<double> d = {})
{
    return ProfileBed{first, last, "Flexipac-1", 0, false, d};
}

class ColumnRatingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CurrentPacking = PackingParams{};
        // What the stages lack: the diffusivities and the volatility.
        page.Field("DlfD")->SetText("2e-9");
        page.Field("DvfD")->SetText("1e-5");
        page.Field("alfD")->SetText("2");
    }
    RecordingSink sink;
    ScopedMessageSink scope{&sink};
    CalcPage page{false};
};

} // namespace

TEST_F(ColumnRatingTest, SizingTakesTheLargestStageAndRatesEveryStageAtTheBedDiameter)
{
    ColumnProfile p;
    p.stages = {TypicalStage(1, 1), TypicalStage(2, 0.5), TypicalStage(3, 0.5), TypicalStage(4, 2)};
    p.beds = {Bed(1, 3), Bed(4, 4)};
    std::vector<double> ratedAt;
    const ProfileRating r = RateProfile(page, p, [&](const CalcPage& done, const StageRating&) {
        ratedAt.push_back(const_cast<CalcPage&>(done).Field("dD")->GetValue());
    });
    ASSERT_EQ(r.beds.size(), 2u);
    // Bed 1: stage 1 is the largest (kDp -> 1.4 m); bed 2: kDp*sqrt(2) = 1.977 m -> 2.0 m.
    EXPECT_DOUBLE_EQ(*r.beds[0].diameter, 1.4);
    EXPECT_DOUBLE_EQ(*r.beds[1].diameter, 2.0);
    EXPECT_EQ(ratedAt, (std::vector<double>{1.4, 1.4, 1.4, 2.0}));
    const struct {
        double dp, flood;
    } expected[] = {{kDp, 100 * kUvs / kUf},
                    {kDp / std::sqrt(2.0), 50 * kUvs / kUf},
                    {kDp / std::sqrt(2.0), 50 * kUvs / kUf},
                    {kDp * std::sqrt(2.0), 100 * (6 / (2.5 * kPi)) / kUf}};
    for (std::size_t i = 0; i < 4; ++i) {
        const StageRating& s = r.stages[i];
        ASSERT_TRUE(s.completed) << s.stage << ": " << s.error;
        EXPECT_EQ(s.bed, i < 3 ? 0 : 1);
        EXPECT_NEAR(*s.theoreticalDiameter, expected[i].dp, 1e-9 * expected[i].dp) << s.stage;
        EXPECT_NEAR(*s.floodPercent, expected[i].flood, 1e-7 * expected[i].flood) << s.stage;
        EXPECT_EQ(s.fromPage, (std::vector<std::string>{"DlfD", "DvfD", "meD"}));
    }
    EXPECT_EQ(r.beds[0].limitingStage, 1);
    EXPECT_EQ(r.beds[1].limitingStage, 4);
}

TEST_F(ColumnRatingTest, RatingAGivenDiameterGivesTheBedTotals)
{
    ColumnProfile p;
    p.rating = true;
    p.stages = {TypicalStage(1, 1), TypicalStage(2, 1), TypicalStage(3, 2)};
    p.beds = {Bed(1, 2, 1.4), Bed(3, 3, 1.4)};
    const ProfileRating r = RateProfile(page, p);
    for (int i = 0; i < 2; ++i) {
        EXPECT_NEAR(*r.stages[i].pressureDrop, kDpWet, 1e-7 * kDpWet);
        EXPECT_NEAR(*r.stages[i].HETP, kHetp, 1e-7 * kHetp);
    }
    EXPECT_NEAR(*r.beds[0].height, 2 * kHetp, 1e-7);
    EXPECT_NEAR(*r.beds[0].pressureDrop, 2 * kHetp * kDpWet / 100, 1e-7); // mbar
    // Twice the flows through the same column: twice the vapour load.
    EXPECT_NEAR(*r.stages[2].floodPercent, 200 * kUvs / kUf, 1e-6);
}

TEST_F(ColumnRatingTest, AStageThatLacksDataSaysWhyShowsNoNumberAndTheOthersGoOn)
{
    // The page has a case of its own computed, then loses its liquid
    // density: its old results must not turn up in a stage.
    TypeTypicalCase(page);
    page.NeedsRecalc = true;
    page.LDExit();
    ASSERT_FALSE(page.Field("HETPD")->Text().empty());
    page.Field("DlD")->SetText("");
    ColumnProfile p;
    p.stages = {TypicalStage(1, 1), TypicalStage(2, 1), TypicalStage(3, 1)};
    p.stages[2].rhoL.reset(); // and the stage has none either
    p.beds = {Bed(1, 3)};
    const ProfileRating r = RateProfile(page, p);
    EXPECT_TRUE(r.stages[0].completed);
    EXPECT_FALSE(r.stages[2].completed);
    EXPECT_FALSE(r.stages[2].skipped);
    EXPECT_EQ(r.stages[2].error, std::string(kMissingInputsText) + "DlD");
    for (const auto& v : {r.stages[2].floodPercent, r.stages[2].HETP, r.stages[2].pressureDrop,
                          r.stages[2].theoreticalDiameter, r.stages[2].holdup, r.stages[2].FsFactor})
        EXPECT_FALSE(v) << "a failed stage shows no number";
    EXPECT_DOUBLE_EQ(*r.beds[0].diameter, 1.4);
    EXPECT_EQ(r.beds[0].limitingStage, 1);
    EXPECT_FALSE(r.beds[0].height) << "a bed with a stage missing has no total";
    EXPECT_FALSE(r.beds[0].pressureDrop);
    EXPECT_FALSE(r.beds[0].note.empty());
}

TEST_F(ColumnRatingTest, StagesWithoutFlowOrBedAreSkippedAndTheTotalsCoverThePackedStages)
{
    // A condenser (no vapour) on top, a reboiler (no liquid) at the bottom,
    // a stage above the first bed, a bed that holds only the reboiler.
    ColumnProfile p;
    p.rating = true;
    p.stages = {TypicalStage(1, 1), TypicalStage(2, 1), TypicalStage(3, 1),
                TypicalStage(4, 1), TypicalStage(5, 1), TypicalStage(6, 1)};
    p.stages[1].V = 0;
    p.stages[5].L = 0;
    p.beds = {Bed(2, 5, 1.4), Bed(6, 6, 1.4)};
    const ProfileRating r = RateProfile(page, p);
    const struct {
        bool skipped;
        const char* note;
    } expected[] = {{true, nullptr}, {true, kNoVapourFlowText}, {false, ""}, {false, ""}, {false, ""},
                    {true, kNoLiquidFlowText}};
    for (std::size_t i = 0; i < 6; ++i) {
        const StageRating& s = r.stages[i];
        EXPECT_EQ(s.skipped, expected[i].skipped) << s.stage;
        EXPECT_EQ(s.completed, !expected[i].skipped) << s.stage << ": " << s.error;
        EXPECT_TRUE(s.error.empty()) << s.stage << ": skipped is no error";
        if (expected[i].note && *expected[i].note) {
            EXPECT_EQ(s.note, expected[i].note) << s.stage;
        }
        if (s.skipped) {
            EXPECT_FALSE(s.note.empty()) << s.stage;
        }
    }
    EXPECT_EQ(r.stages[0].bed, -1);
    // Bed 1: the three packed stages 3-5 at the reference case's figures.
    ASSERT_TRUE(r.beds[0].height);
    EXPECT_NEAR(*r.beds[0].height, 3 * kHetp, 1e-7);
    EXPECT_NEAR(*r.beds[0].pressureDrop, 3 * kHetp * kDpWet / 100, 1e-7);
    // Its totals leave out stage 2 (no vapour), and it says so.
    EXPECT_STREQ(r.beds[0].note.c_str(), kSkippedInBedText);
    // Bed 2 holds no packed stage: no totals, and a note saying so.
    EXPECT_FALSE(r.beds[1].height);
    EXPECT_FALSE(r.beds[1].limitingStage);
    EXPECT_FALSE(r.beds[1].note.empty());
}

TEST(ColumnProfileTest, BedsThatDoNotFitTheStagesAreRefused)
{
    ColumnProfile p;
    p.stages = {TypicalStage(1, 1), TypicalStage(2, 1), TypicalStage(3, 1)};
    for (const std::vector<ProfileBed>& beds : {std::vector<ProfileBed>{Bed(1, 2), Bed(2, 3)},
                                                {Bed(3, 1)},
                                                {Bed(1, 4)},
                                                {ProfileBed{1, 3, "", 0, false, {}}}}) {
        p.beds = beds;
        EXPECT_THROW(ValidateProfile(p), EConvertError);
    }
    p.beds = {Bed(1, 3)};
    p.rating = true;
    EXPECT_THROW(ValidateProfile(p), EConvertError) << "rating needs a diameter";
}

// A worker's rating is the same as one in one go, while this thread runs the
// engine on another packing all the time: the packing parameters, hooks and
// message sink a step swaps are the worker's own.
TEST_F(ColumnRatingTest, AWorkerRatesTheSameWhileThisThreadCalculatesAnotherPacking)
{
    ColumnProfile p;
    p.rating = true;
    for (int n = 1; n <= 40; ++n)
        p.stages.push_back(TypicalStage(n, 1));
    p.beds = {Bed(1, 40, 1.4)};
    CalcPage other{false};
    TypeTypicalCase(other);
    SelectPacking(other, "Mellapakr-250Y");
    bool changed = false;
    TEditD::FieldChangeFlag = &changed;
    BackgroundRating worker(std::make_unique<ProfileRater>(page, p));
    int runs = 0;
    while (!worker.Finished() || runs == 0) {
        const CaseRunResult run = RunCase(other);
        ASSERT_TRUE(run.completed) << run.error;
        ++runs;
    }
    const ProfileRating r = worker.Take();
    EXPECT_EQ(worker.Done(), 40);
    TEditD::FieldChangeFlag = nullptr;
    EXPECT_FALSE(changed); // no field of this thread's pages changed outside their runs
    for (const StageRating& s : r.stages) {
        ASSERT_TRUE(s.completed) << s.error;
        EXPECT_NEAR(*s.pressureDrop, kDpWet, 1e-7 * kDpWet);
        EXPECT_NEAR(*s.HETP, kHetp, 1e-7 * kHetp);
    }
    EXPECT_TRUE(sink.messages.empty());

    // Cancelled: the worker stops, and the rating is not handed out as complete.
    BackgroundRating cancelled(std::make_unique<ProfileRater>(page, p));
    cancelled.Cancel();
    EXPECT_TRUE(cancelled.Finished());
    EXPECT_LE(cancelled.Done(), 40);
    EXPECT_THROW(cancelled.Take(), EVelkError);
}
