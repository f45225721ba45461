// The engineer's design limits and the diameter step. Figures of the typical
// case at D = 1.4 m come from the column-rating test's hand calculation
// (uVs = 0.77953 m/s, uF = 1.22100 m/s, 132.345 Pa/m, HETP 0.16197 m); each
// limit is set a hair either side of its figure and at the 10 % error edge.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "CaseRun.h"
#include "ColumnRating.h"
#include "DesignLimits.h"
#include "NumberText.h"
#include "TypicalCase.h"

namespace
{

constexpr double kPi = 3.141592653589793;
constexpr double kUf = 1.2210047121001697, kUvs = 0.7795344151439773; // at D = 1.4
constexpr double kDpWet = 132.34507458870078, kHetp = 0.1619662712408296;

std::string Code(const CalcPage& p, const std::string& code, WarningSeverity& s)
{
    for (const OperatingWarning& w : p.Operation().warnings)
        if (w.code == code) {
            s = w.severity;
            return w.field;
        }
    return "";
}

class DesignLimitsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CurrentPacking = PackingParams{};
        TypeTypicalCase(page);
        page.Field("StagesD")->SetText("10");
    }
    std::unique_ptr<CalcPage> Run(const std::function<void(CalcPage&)>& change)
    {
        auto p = std::make_unique<CalcPage>(false);
        CopyPageState(page, *p);
        const CaseRunResult r = RunCase(*p, change);
        EXPECT_TRUE(r.completed) << r.error;
        return p;
    }
    RecordingSink sink;
    ScopedMessageSink scope{&sink};
    CalcPage page{false};
};

} // namespace

TEST(DesignLimitRule, StrictlyBeyondWarnsAndMoreThanTenPercentIsAnError)
{
    using S = WarningSeverity;
    EXPECT_FALSE(BeyondMaximum(80, 80));
    EXPECT_EQ(BeyondMaximum(80.000001, 80), S::Warning);
    EXPECT_EQ(BeyondMaximum(88, 80), S::Warning); // exactly 10 % beyond
    EXPECT_EQ(BeyondMaximum(88.0001, 80), S::Error);
    EXPECT_FALSE(BeyondMinimum(1.0, 1.0));
    EXPECT_EQ(BeyondMinimum(0.999999, 1.0), S::Warning);
    EXPECT_EQ(BeyondMinimum(0.9, 1.0), S::Warning);
    EXPECT_EQ(BeyondMinimum(0.8999, 1.0), S::Error);
    EXPECT_FALSE(ParseLimit("0"));
    EXPECT_FALSE(ParseLimit("-3"));
    EXPECT_FALSE(ParseLimit("x"));
    EXPECT_FALSE(ParseLimit("inf"));
    EXPECT_EQ(ParseLimit(" 70 "), 70.0);
}

TEST(DiameterStep, StepsAndRoundingUpNeverGoBelowTheTheoreticalDiameter)
{
    const struct {
        const char* text;
        double metres; // 0: refused
    } steps[] = {{"0.05m", 0.05}, {"0.1 m", 0.1}, {"50mm", 0.05}, {"6in", 0.1524}, {"0.5ft", 0.1524},
                 {"6", 0},        {"0m", 0},      {"-1m", 0},     {"0.5mm", 0},    {"m", 0}};
    for (const auto& s : steps) {
        const auto got = ParseDiameterStep(s.text);
        if (s.metres == 0)
            EXPECT_FALSE(got) << s.text;
        else
            EXPECT_NEAR(got.value_or(-1), s.metres, 1e-15) << s.text;
    }
    // dp, step (0: the default grid), expected diameter.
    const struct {
        double dp, step, d;
    } rounding[] = {{1.7127, 0, 1.8},  {0.824, 0, 0.85}, {0.0439, 0, 0.05},      {1.0, 0, 1.0},
                    {1.0001, 0, 1.1},  {0.1, 0, 0.1},    {1.6, 0.1524, 1.6764},  {1.524, 0.1524, 1.524},
                    {1.39, 0.05, 1.4}, {1.4, 0.05, 1.4}, {1.4000001, 0.05, 1.45}};
    for (const auto& r : rounding)
        EXPECT_DOUBLE_EQ(r.step ? RoundUpToStep(r.dp, r.step) : RoundUpToGrid(r.dp), r.d) << r.dp;
    const struct {
        double metres;
        const char* text;
    } feet[] = {{1.6764, "5 ft 6 in"}, {1.6, "5 ft 3 in"},    {1.8288, "6 ft 0 in"},
                {1.8285, "6 ft 0 in"}, {0.1524, "0 ft 6 in"}, {1.5049, "4 ft 11.2 in"}};
    for (const auto& f : feet) EXPECT_EQ(FeetAndInchesText(f.metres), f.text) << f.metres;
    EXPECT_EQ(FeetAndInchesText(std::nan("")), "");
    for (double dp = 0.02; dp < 12; dp *= 1.013) {
        EXPECT_GE(RoundUpToGrid(dp), dp * (1 - 1e-9));
        EXPECT_GE(RoundUpToStep(dp, 0.1524), dp * (1 - 1e-9));
        EXPECT_LT(RoundUpToStep(dp, 0.1524) - dp, 0.1524);
    }
}

TEST_F(DesignLimitsTest, EachLimitWarnsJustPastItsFigureAndNotBefore)
{
    const double Fs = kUvs * std::sqrt(2.5), flood = 100 * kUvs / (0.8 * kUf);
    const double uLs = 2.5 / (800 * kPi * 1.4 * 1.4 / 4), bedDp = 10 * kHetp * kDpWet / 100;
    LookUpPacking("Flexipac-1", ColArea);
    const double wetting = uLs / (2.222222222222e-7 * CurrentPacking.a);
    using S = WarningSeverity;
    const struct {
        const char* field;
        const char* code;
        double figure;
        bool maximum;
        const char* warnedField;
    } limits[] = {{kLimitFloodField, "limit-flood", flood, true, "UvsD"},
                  {kLimitFsField, "limit-f-factor", Fs, false, "UvsD"},
                  {kLimitBedDpField, "limit-bed-pressure-drop", bedDp, true, "dPwaterD"},
                  {kLimitWettingField, "limit-wetting", wetting, false, "UlsD"}};
    for (const auto& l : limits) {
        // A maximum a hair above the figure holds; a minimum a hair below.
        const double within = l.maximum ? 1 + 1e-6 : 1 - 1e-6, past = l.maximum ? 1 - 1e-6 : 1 + 1e-6;
        const double error = l.maximum ? 1 / 1.11 : 1 / 0.89, edge = l.maximum ? 1 / 1.09 : 1 / 0.91;
        const struct {
            double factor;
            std::optional<S> expected;
        } rows[] = {{within, {}}, {past, S::Warning}, {edge, S::Warning}, {error, S::Error}};
        for (const auto& row : rows) {
            const auto p = Run([&](CalcPage& c) {
                c.SetRatingMode(true);
                c.Field("dD")->SetValue(1.4);
                c.Field(l.field)->SetText(FullPrecisionText(l.figure * row.factor));
            });
            S s = S::Info;
            const std::string field = Code(*p, l.code, s);
            EXPECT_EQ(!field.empty(), row.expected.has_value()) << l.code << " x" << row.factor;
            if (row.expected) {
                EXPECT_EQ(field, l.warnedField) << l.code;
                EXPECT_EQ(s, *row.expected) << l.code << " x" << row.factor;
            }
        }
    }
}

TEST_F(DesignLimitsTest, AMaximumRoundsUpSoTheDiameterNeverBreaksIt)
{
    for (const char* f : {"50", "62", "71", "80", "85"}) {
        // At the theoretical diameter the load is f % of A uF: a maximum of
        // f % is met there, and rounding up only lowers the load.
        const auto p = Run([&](CalcPage& c) {
            c.Combo("fpercentD")->SetText(f);
            c.Field(kLimitFloodField)->SetText(f);
        });
        WarningSeverity s;
        EXPECT_GE(p->Field("dD")->GetValue(), p->Field("dpD")->GetValue()) << f;
        EXPECT_EQ(Code(*p, "limit-flood", s), "") << f;
    }
    // A minimum F-factor the rounded-up diameter breaks: said so, not rounded down.
    const auto p = Run([&](CalcPage& c) {
        c.Field(kDiameterStepField)->SetText("1m");
        c.Field(kLimitFsField)->SetText("1.2");
    });
    EXPECT_DOUBLE_EQ(p->Field("dD")->GetValue(), 2.0);
    WarningSeverity s;
    ASSERT_EQ(Code(*p, "limit-f-factor", s), "UvsD");
    for (const OperatingWarning& w : p->Operation().warnings)
        if (w.code == "limit-f-factor") EXPECT_STREQ(w.text.c_str(), kLimitFsRoundedText);
}

TEST_F(DesignLimitsTest, ProfileStagesAndBedDiametersFollowTheSameRules)
{
    ColumnProfile profile;
    for (int n = 1; n <= 3; ++n)
        profile.stages.push_back(TypicalStage(n, 1.0 + 0.1 * n));
    page.Field(kLimitFsField)->SetText("100");
    page.Field(kDiameterStepField)->SetText("6in");
    page.Field(kLimitBedDpField)->SetText("0.001");
    const ProfileRating r = RateProfile(page, profile);
    // The largest stage (k = 1.3) sizes: dp = 1.39829 sqrt(1.3) = 1.59430 m, up to 11 x 6 in.
    ASSERT_EQ(r.beds.size(), 1u);
    EXPECT_NEAR(*r.beds[0].diameter, 11 * 0.1524, 1e-12);
    // The bed's pressure drop (far above 0.001 mbar) is judged on its totals.
    ASSERT_EQ(r.beds[0].warnings.size(), 1u);
    EXPECT_EQ(r.beds[0].warnings[0].code, "limit-bed-pressure-drop");
    EXPECT_EQ(r.beds[0].warnings[0].severity, WarningSeverity::Error);
    for (const StageRating& s : r.stages) {
        bool warned = false;
        for (const OperatingWarning& w : s.warnings)
            warned |= w.code == "limit-f-factor";
        EXPECT_TRUE(warned) << s.stage;
    }
}
