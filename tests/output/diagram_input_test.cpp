// The diagram's input follows the page's state: sized to its flooding
// fraction it is the design percentage as always; sized otherwise or rated,
// the point stands at the actual share of flood of the diameter shown and a
// caption says so; with load cases it stands at the section's diameter; in
// US units the flows are in lb/h.
#include <gtest/gtest.h>

#include "DiagramInput.h"
#include "LoadCaseReport.h"
#include "LoadCases.h"
#include "Messages.h"
#include "PressureDropDisplay.h"
#include "TypicalCase.h"

namespace
{

class DiagramInputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TypeTypicalCase(page);
        page.LDExit();
    }
    void TearDown() override { SetDisplaySystem(UnitSystem::SI); }
    TPerformanceInput Complete(const LoadCaseReport* cases = nullptr)
    {
        TPerformanceInput in;
        CompleteDiagramInput(in, page, cases);
        return in;
    }
    RecordingSink sink;
    ScopedMessageSink scope{&sink};
    CalcPage page;
};

} // namespace

TEST_F(DiagramInputTest, TheDesignBasisDecidesWhereThePointStands)
{
    const TPerformanceInput flood = Complete();
    EXPECT_EQ(flood.f, 80.0); // the design percentage, as always
    EXPECT_TRUE(flood.caption.isEmpty());
    EXPECT_EQ(flood.flowUnit, "kg/s");

    page.Check("CBConservative")->SetChecked(true);
    page.NeedsRecalc = true;
    ASSERT_TRUE(page.RecalcReported());
    const TPerformanceInput conservative = Complete();
    ASSERT_TRUE(page.Operation().figures.floodPercent);
    EXPECT_EQ(conservative.f, *page.Operation().figures.floodPercent);
    EXPECT_FALSE(conservative.rating);
    EXPECT_TRUE(conservative.caption.contains(QStringLiteral("按塔径")));
}

TEST_F(DiagramInputTest, WithLoadCasesThePointStandsAtTheSectionsDiameter)
{
    LoadCase big{"大", TypicalStage(1, 1.5)};
    const std::vector<LoadCase> cases{LoadCase{"正常", TypicalStage(1, 1.0)}, big};
    const EnvelopeResult rating = RateLoadCases(page, cases);
    ASSERT_TRUE(rating.diameter);
    const LoadCaseReport report{&cases, &rating, {}};
    const TPerformanceInput in = Complete(&report);
    // The normal case is the page's own: its row's percentage at the section's diameter.
    ASSERT_TRUE(rating.cases[0].figures.floodPercent);
    EXPECT_DOUBLE_EQ(in.f, *rating.cases[0].figures.floodPercent);
    EXPECT_TRUE(in.rating);
    EXPECT_EQ(in.cases.size(), 2u);
    EXPECT_TRUE(in.caption.contains(QStringLiteral("塔段塔径")));

    SetDisplaySystem(UnitSystem::US);
    const TPerformanceInput us = Complete(&report);
    EXPECT_EQ(us.flowUnit, "lb/h");
    EXPECT_NEAR(us.L, 2.5 * 3600 / 0.45359237, 1e-6); // kg/s to lb/h, by definition of the pound
    EXPECT_NEAR(us.cases[1].V / in.cases[1].V, 3600 / 0.45359237, 1e-9);
    EXPECT_DOUBLE_EQ(us.f, in.f);
}
