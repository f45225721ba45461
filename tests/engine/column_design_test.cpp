// The column design: bed split, internals and totals against hand
// calculation. Internal drops are K rhoV (uVs / phi)^2 / 2 with the
// documented defaults (trough 0.5/1.0, hold-down 0.9/0.5, support 0.9/1.0,
// collector 0.2/1.5); at uVs = 2 m/s, rhoV = 1.2 kg/m3 they are 9.6, 1.481481,
// 2.962963 and 90 Pa.
#include <gtest/gtest.h>

#include "CaseRun.h"
#include "ColumnDesign.h"
#include "Messages.h"
#include "TypicalCase.h"

namespace
{

ColumnDesignInput Uniform(int n, double hetp, double maxHeight, int maxStages, double margin = 0)
{
    ColumnDesignInput in;
    for (int i = 1; i <= n; ++i)
        in.stages.push_back({i, hetp, 2.0, 70.0});
    in.designHETP = hetp;
    in.hetpMargin = margin;
    in.maxima = {maxHeight, maxStages};
    in.diameter = 2.0;
    in.uVs = 2.0;
    in.rhoV = 1.2;
    in.liquidLoad = 20;
    in.area = 250;
    return in;
}

std::vector<int> Counts(const ColumnDesign& d)
{
    std::vector<int> c;
    for (const DesignedBed& b : d.beds)
        c.push_back(b.stages);
    return c;
}

} // namespace

TEST(ColumnDesign, FewestEqualBedsWithinBothMaxima)
{
    const struct {
        int n;
        double hetp, maxHeight;
        int maxStages;
        double margin;
        std::vector<int> beds;
        bool tooHigh;
    } table[] = {
        {22, 0.5, 100, 10, 0, {8, 7, 7}, false}, // stages govern
        {20, 0.5, 100, 10, 0, {10, 10}, false},  // exactly at the stage maximum
        {12, 0.5, 6.0, 100, 0, {12}, false},     // exactly at the maximum height
        {13, 0.5, 6.0, 100, 0, {7, 6}, false},   // one stage over it
        {12, 0.4, 6.0, 100, 25, {12}, false},    // 12 x 0.4 x 1.25 = 6.0 with the margin
        {13, 0.4, 6.0, 100, 25, {7, 6}, false},  // 6.5 m: two beds
        {3, 7.0, 6.0, 100, 0, {1, 1, 1}, true},  // one stage is higher than a bed may be
        {1, 0.5, 6.0, 1, 0, {1}, false},
    };
    for (const auto& row : table) {
        const ColumnDesign d =
            DesignColumn(Uniform(row.n, row.hetp, row.maxHeight, row.maxStages, row.margin));
        EXPECT_EQ(Counts(d), row.beds) << row.n << " stages, hetp " << row.hetp;
        EXPECT_EQ(!d.notes.empty(), row.tooHigh) << row.n;
        for (const DesignedBed& b : d.beds)
            EXPECT_NEAR(b.packedHeight, b.stages * row.hetp * (1 + row.margin / 100), 1e-12);
    }
    EXPECT_EQ(EqualSplit(22, 3), (std::vector<int>{8, 7, 7}));
    EXPECT_EQ(EqualSplit(23, 3), (std::vector<int>{8, 8, 7}));
    EXPECT_TRUE(EqualSplit(0, 3).empty());
}

TEST(ColumnDesign, TotalsOfBedsAndInternals)
{
    // 13 stages of 0.5 m at 2 mbar/m, at most 6 m: beds of 3.5 and 3.0 m
    // (7 and 6 mbar); 2 m diameter and 20 m3/(m2 h) take a trough distributor.
    const ColumnDesign d = DesignColumn(Uniform(13, 0.5, 6.0, 100));
    ASSERT_EQ(d.beds.size(), 2u);
    EXPECT_NEAR(d.beds[0].pressureDrop, 7.0, 1e-12);
    EXPECT_NEAR(d.beds[1].pressureDrop, 6.0, 1e-12);
    EXPECT_EQ(d.beds[1].limitingStage, 8);
    const struct {
        const char* type;
        int bed;
        double mbar, height;
    } internals[] = {{"distributor", 1, 0.096, 0.6},     {"hold-down", 1, 0.0148148148, 0.1},
                     {"support", 1, 0.0296296296, 0.15}, {"collector", 1, 0.9, 1.0},
                     {"distributor", 2, 0.096, 0.6},     {"hold-down", 2, 0.0148148148, 0.1},
                     {"support", 2, 0.0296296296, 0.15}};
    ASSERT_EQ(d.internals.size(), std::size(internals));
    for (std::size_t i = 0; i < d.internals.size(); ++i) {
        EXPECT_EQ(d.internals[i].type, internals[i].type) << i;
        EXPECT_EQ(d.internals[i].bed, internals[i].bed) << i;
        EXPECT_NEAR(d.internals[i].pressureDrop, internals[i].mbar, 1e-9) << i;
        EXPECT_DOUBLE_EQ(d.internals[i].height, internals[i].height) << i;
    }
    EXPECT_EQ(d.internals[0].kind, "trough");
    EXPECT_NEAR(d.totalPressureDrop, 14.1808888889, 1e-9);
    // 1 top + 2 sump + 6.5 packed + 2 x 0.6 manways + 2 x 0.85 bed internals + 1 collector.
    EXPECT_NEAR(d.height, 13.4, 1e-12);
}

TEST(ColumnDesign, AProfileBedTakesEachStagesHetpAndItsWorstStage)
{
    ColumnDesignInput in = Uniform(4, 0.5, 100, 100);
    in.stages[2].hetp = 0.7;
    in.stages[2].pressureDrop = 3.0;
    in.stages[3].floodPercent = 81;
    const ColumnDesign d = DesignColumn(in);
    ASSERT_EQ(d.beds.size(), 1u);
    EXPECT_NEAR(d.beds[0].packedHeight, 2.2, 1e-12);
    EXPECT_NEAR(d.beds[0].pressureDrop, 3 * 0.5 * 2.0 + 0.7 * 3.0, 1e-12);
    EXPECT_EQ(d.beds[0].limitingStage, 4);
    EXPECT_THROW(DesignColumn(Uniform(0, 0.5, 6, 10)), EVelkError);
    EXPECT_THROW(DesignColumn(Uniform(3, -0.5, 6, 10)), EVelkError);
}

TEST(ColumnDesign, DistributorAndBedDefaultsFollowLoadDiameterAndFamily)
{
    EXPECT_EQ(SuggestedDistributor(100, 2.0), DistributorType::Pipe);
    EXPECT_EQ(SuggestedDistributor(20, 1.0), DistributorType::Pan);
    EXPECT_EQ(SuggestedDistributor(20, 1.2), DistributorType::Trough);
    EXPECT_EQ(DefaultBedMaxima(125).stages, 15);
    EXPECT_DOUBLE_EQ(DefaultBedMaxima(250).height, 6.0);
    EXPECT_DOUBLE_EQ(DefaultBedMaxima(500).height, 4.0);
}

TEST(ColumnDesign, ThePageGivesOneSectionTimesItsStages)
{
    CurrentPacking = PackingParams{};
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    CalcPage page(false);
    TypeTypicalCase(page);
    std::string why;
    ASSERT_TRUE(RunCase(page, {}).completed);
    EXPECT_FALSE(ColumnInputOfPage(page, why)); // no stages typed
    EXPECT_FALSE(why.empty());
    page.Field("StagesD")->SetText("22");
    page.Field(kBedMaxStagesField)->SetText("10");
    page.Field(kHetpMarginField)->SetText("10");
    ASSERT_TRUE(RunCase(page, {}).completed);
    const auto in = ColumnInputOfPage(page, why);
    ASSERT_TRUE(in);
    // The column-rating test's hand figures at D = 1.4 m.
    EXPECT_NEAR(in->designHETP, 0.1619662712408296, 1e-9);
    EXPECT_NEAR(in->stages[0].pressureDrop, 1.3234507458870078, 1e-9);
    const ColumnDesign d = DesignColumn(*in);
    EXPECT_EQ(Counts(d), (std::vector<int>{8, 7, 7}));
    EXPECT_NEAR(d.beds[0].packedHeight, 8 * 0.1619662712408296 * 1.1, 1e-9);
}
