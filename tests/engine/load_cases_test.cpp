// Load cases of a section and the operating window. The expected numbers
// are worked out from the geometry of the reference case (Flexipac-1, first
// method, f = 80, A = 0.8; uF from the recalculation test's python
// reference): scaling both flows by k keeps the flow parameter and so uF,
// the theoretical diameter goes with sqrt(k), and at a diameter D the loads
// are 4 V / (pi D^2 rhoV) and 4 L / (pi D^2 rhoL).
#include <gtest/gtest.h>

#include <cmath>

#include "CaseRun.h"
#include "LoadCases.h"
#include "TypicalCase.h"

namespace
{

constexpr double kUf = 1.2210047121001697;
constexpr double kDp = 1.3982892710450237;
constexpr double kPi = 3.141592653589793;
constexpr double kULmin = 2.222222222222e-7 * 560; // Flexipac-1, a = 560 m2/m3

LoadCase Case(const char* name, double k)
{
    LoadCase c;
    c.name = name;
    c.values.V = 3.0 * k;
    c.values.L = 2.5 * k;
    return c;
}

class LoadCasesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CurrentPacking = PackingParams{};
        TypeTypicalCase(page);
    }
    // A single recalculation of the page's case with both flows times k, rated at D.
    std::unique_ptr<CalcPage> RatedRun(double k, double D)
    {
        auto p = std::make_unique<CalcPage>(false);
        CopyPageState(page, *p);
        const CaseRunResult r = RunCase(*p, [&](CalcPage& q) {
            ApplyLoadCase(q, Case("x", k));
            q.SetRatingMode(true);
            q.Field("dD")->SetValue(D);
        });
        EXPECT_TRUE(r.completed) << r.error;
        return p;
    }
    static bool HasWarning(const CalcPage& p, const std::string& code)
    {
        for (const auto& w : p.Operation().warnings)
            if (w.code == code) return true;
        return false;
    }
    RecordingSink sink;
    ScopedMessageSink scope{&sink};
    CalcPage page{false};
};

} // namespace

TEST_F(LoadCasesTest, HandWorkedTableSizedByTheLargestCase)
{
    const std::vector<LoadCase> cases = {Case("最小", 0.5), Case("正常", 1.0), Case("最大", 1.2)};
    std::vector<std::string> observed;
    const EnvelopeResult r = RateLoadCases(page, cases, [&](const CalcPage& p, const CaseResult& c) {
        observed.push_back(c.name);
        EXPECT_DOUBLE_EQ(const_cast<CalcPage&>(p).Field("dD")->GetValue(), 1.5);
    });
    // dp of the largest case kDp sqrt(1.2) = 1.5318 m: 100 N((1531.8 + 10) / 100) = 1500 mm.
    ASSERT_TRUE(r.diameter);
    EXPECT_DOUBLE_EQ(*r.diameter, 1.5);
    EXPECT_EQ(observed, (std::vector<std::string>{"最小", "正常", "最大"}));
    EXPECT_EQ(r.normal, 1);
    EXPECT_EQ(r.governing, 2);
    EXPECT_EQ(r.sizing, 2);
    const double area = kPi * 1.5 * 1.5 / 4;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const CaseResult& c = r.cases[i];
        ASSERT_TRUE(c.completed) << c.name << ": " << c.error;
        const double k = *cases[i].values.V / 3.0;
        const double uVs = 3.0 * k / (2.5 * area), uLs = 2.5 * k / (800 * area);
        EXPECT_NEAR(*c.theoreticalDiameter, kDp * std::sqrt(k), 1e-9);
        EXPECT_NEAR(*c.figures.floodPercent, 100 * uVs / kUf, 1e-7);
        EXPECT_NEAR(*c.figures.systemFloodPercent, 100 * uVs / (0.8 * kUf), 1e-7);
        EXPECT_NEAR(*c.figures.FsFactor, uVs * std::sqrt(2.5), 1e-9);
        EXPECT_NEAR(*c.figures.liquidLoad, uLs * 3600, 1e-9);
        EXPECT_TRUE(c.pressureDrop && c.holdup && c.HETP) << c.name;
        EXPECT_EQ(c.fromPage, (std::vector<std::string>{"DvD", "MvD", "DlD", "MlD", "SLD", "DlfD", "DvfD", "meD"}));
    }
    // Lower flows, lower drop.
    EXPECT_LT(*r.cases[0].pressureDrop, *r.cases[1].pressureDrop);
    EXPECT_LT(*r.cases[1].pressureDrop, *r.cases[2].pressureDrop);
}

TEST_F(LoadCasesTest, RatingModeUsesTheTypedDiameterAndOwnPropertiesOverrideThePage)
{
    page.SetRatingMode(true);
    page.Field("dD")->SetText("2");
    LoadCase heavy = Case("重", 1.0);
    heavy.values.rhoV = 5.0; // twice as dense: half the vapour load, 1/sqrt(2) of the F-factor
    const EnvelopeResult r = RateLoadCases(page, {Case("a", 1.0), heavy});
    ASSERT_TRUE(r.diameter);
    EXPECT_DOUBLE_EQ(*r.diameter, 2.0);
    EXPECT_FALSE(r.sizing);
    const double uVs = 3.0 / (2.5 * kPi);
    EXPECT_NEAR(*r.cases[0].figures.FsFactor, uVs * std::sqrt(2.5), 1e-9);
    EXPECT_NEAR(*r.cases[1].figures.FsFactor, uVs / 2 * std::sqrt(5.0), 1e-9);
    EXPECT_EQ(r.cases[1].fromPage.front(), "MvD");
    // The page itself is untouched.
    EXPECT_EQ(page.Field("DvD")->Text(), "2.5");
    EXPECT_TRUE(page.Field("UvsD")->Text().empty());
}

TEST_F(LoadCasesTest, AFailedCaseIsReportedAndTheOthersStand)
{
    LoadCase bad = Case("坏", 1.0);
    bad.values.rhoV = 900; // denser than the liquid: no flood velocity
    const EnvelopeResult r = RateLoadCases(page, {Case("正常", 1.0), bad});
    EXPECT_TRUE(r.cases[0].completed);
    EXPECT_FALSE(r.cases[1].completed);
    EXPECT_FALSE(r.cases[1].error.empty());
    EXPECT_FALSE(r.cases[1].figures.floodPercent);
    EXPECT_EQ(r.governing, 0);
    EXPECT_DOUBLE_EQ(*r.diameter, 1.4); // kDp = 1.398 m alone
}

TEST(LoadCases, NormalCaseIsNamedOrFirst)
{
    const struct {
        std::vector<const char*> names;
        std::optional<int> normal;
    } table[] = {{{}, std::nullopt},
                 {{"最小", "最大"}, 0},
                 {{"最小", " 正常 ", "最大"}, 1},
                 {{"min", "max", "Normal"}, 2}};
    for (const auto& row : table) {
        std::vector<LoadCase> cases;
        for (const char* n : row.names) cases.push_back(LoadCase{n, {}});
        EXPECT_EQ(NormalCaseIndex(cases), row.normal) << row.names.size();
    }
}

TEST_F(LoadCasesTest, WindowEndsAgainstSingleRunsJustInsideAndOutside)
{
    const EnvelopeResult r = RateLoadCases(page, {Case("最小", 0.5), Case("正常", 1.0), Case("最大", 1.2)});
    const OperatingWindow& w = r.window;
    ASSERT_TRUE(w.valid) << w.note;
    const double D = 1.5, area = kPi * D * D / 4;
    const double uVs = 3.0 / (2.5 * area), uLs = 2.5 / (800 * area);
    // Hand values of the three ratio ends.
    const double wetting = kULmin / uLs, fFactor = 0.5 / (uVs * std::sqrt(2.5));
    const double flood = 0.8 * 0.8 * kUf / uVs;
    EXPECT_NEAR(w.minFactor, std::max(wetting, fFactor), 1e-9);
    EXPECT_EQ(w.minLimit, wetting > fFactor ? "min-wetting" : "min-f-factor");
    EXPECT_NEAR(w.maxFactor, flood, 1e-9);
    EXPECT_EQ(w.maxLimit, "design-flood");
    EXPECT_NEAR(w.turndown, w.maxFactor / w.minFactor, 1e-12);
    EXPECT_NEAR(w.minV / w.minL, 3.0 / 2.5, 1e-12);
    EXPECT_NEAR(w.maxV, 3.0 * w.maxFactor, 1e-12);

    constexpr double d = 1e-5;
    const auto lowIn = RatedRun(w.minFactor * (1 + d), D), lowOut = RatedRun(w.minFactor * (1 - d), D);
    if (w.minLimit == "min-wetting") {
        EXPECT_FALSE(HasWarning(*lowIn, "min-wetting"));
        EXPECT_TRUE(HasWarning(*lowOut, "min-wetting"));
    } else {
        EXPECT_GT(*lowIn->Operation().figures.FsFactor, kMinFFactor);
        EXPECT_LT(*lowOut->Operation().figures.FsFactor, kMinFFactor);
    }
    const auto highIn = RatedRun(w.maxFactor * (1 - d), D), highOut = RatedRun(w.maxFactor * (1 + d), D);
    EXPECT_LT(*highIn->Operation().figures.systemFloodPercent, 80.0);
    EXPECT_GT(*highOut->Operation().figures.systemFloodPercent, 80.0);
}

TEST_F(LoadCasesTest, PressureDropLimitEndsTheWindowWhenItComesFirst)
{
    // The normal case rated at 1.5 m; a limit between its drop and the drop
    // at the design-flood end must end the window.
    page.SetRatingMode(true);
    page.Field("dD")->SetText("1.5");
    const double dpNormal = RatedRun(1.0, 1.5)->Field("dPwaterD")->GetValue();
    const double limit = 1.1 * dpNormal; // Pa/m
    page.Combo("DesignBasisD")->SetItemIndex(2);
    page.Field("DpLimitD")->SetValue(limit / 100);
    const EnvelopeResult r = RateLoadCases(page, {Case("正常", 1.0)});
    const OperatingWindow& w = r.window;
    ASSERT_TRUE(w.valid) << w.note;
    EXPECT_EQ(w.maxLimit, "pressure-drop");
    EXPECT_GT(w.maxFactor, 1.0);
    constexpr double d = 1e-5;
    EXPECT_LE(RatedRun(w.maxFactor * (1 - d), 1.5)->Field("dPwaterD")->GetValue(), limit);
    EXPECT_GT(RatedRun(w.maxFactor * (1 + d), 1.5)->Field("dPwaterD")->GetValue(), limit);
}

TEST_F(LoadCasesTest, WithoutACompletedNormalCaseThereIsNoWindow)
{
    LoadCase bad = Case("正常", 1.0);
    bad.values.rhoV = 900;
    const EnvelopeResult r = RateLoadCases(page, {bad, Case("最大", 1.2)});
    EXPECT_FALSE(r.window.valid);
    EXPECT_EQ(r.window.note, kNoNormalCaseText);
    // The documented minimum stays what it is; no 0 passes for it.
    EXPECT_EQ(r.window.minFFactor, 0.5);
    EXPECT_EQ(r.governing, 1);
}
