// The design basis of the calculation page: a pressure-drop limit, both
// limits, and the conservative flood velocity. The limited diameter is
// checked against single rated runs just above and below it and against
// the pressure-drop model transcribed here once more from its formulas;
// the conservative option against the three correlations run one by one.
#include <gtest/gtest.h>

#include <cmath>

#include "CaseRun.h"
#include "PackingCatalogue.h"
#include "TypicalCase.h"

namespace
{

constexpr double kPi = 3.141592653589793;

// The irrigated pressure drop (Pa/m) of the channel model at loads uVs, uLs,
// written from the model's published form (effective surface, film holdup
// with reduced gravity, holdup correction to the fifth power).
double WetDrop(const PackingParams& p, double uVs, double uLs, double uF)
{
    const double g = 9.81, rhoL = 800, rhoV = 2.5, muL = 3e-4, muV = 1e-5, sigma = 0.02;
    const double S = p.S, eps = p.eps, st = std::sin(p.theta);
    const double we = uLs * uLs * rhoL * S / sigma, fr = uLs * uLs / (S * g), re = uLs * rhoL * S / muL;
    const double fse = 29.12 * std::pow(we * fr, 0.15) * std::pow(S, 0.359) /
                       (std::pow(re, 0.2) * std::pow(eps, 0.6) * (1 - 0.93 * 0.9) * std::pow(st, 0.3));
    const double dry = 0.177 * rhoV * uVs * uVs / (S * eps * eps * st * st) + 88.774 * muV * uVs / (S * S * eps * st);
    const double r = uVs / uF, geff = g * (rhoL - rhoV) / rhoL * (1 - r * r);
    const double hL = std::pow(4 * fse / S, 0.66667) * std::pow(3 * muL * uLs / (rhoL * eps * geff * st), 0.33333);
    const double X = (71.35 * S + 0.614) * hL;
    const double R = X <= 0.5 ? 1 / (1 - X) : 4 - 1 / X;
    return std::pow(R, 5) * dry;
}

// The rounding of the theoretical diameter as the page's rules state it (m).
double RoundedByTheRule(double dp)
{
    const double x = dp * 1000;
    if (x < 100) return 10 * std::nearbyint((x + 1) * 0.1) / 1000;
    if (x >= 1000) return 100 * std::nearbyint((x + 10) * 0.01) / 1000;
    const double q = std::floor(std::nearbyint(x) / 100), rem = x - 100 * q;
    return (rem > 50 ? 100 * (q + 1) : rem > 24 ? 100 * q + 50 : 100 * q) / 1000;
}

// Under a pressure-drop basis the diameter goes up to the next step of the
// same grid (10 mm below 100 mm, 50 mm to 1 m, 100 mm above): never below dp.
double RoundedUpOnTheGrid(double dp)
{
    const double mm = dp * 1000, step = mm < 100 ? 10 : mm < 1000 ? 50 : 100;
    return std::ceil(mm / step - 1e-9) * step / 1000;
}

class DesignBasisTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CurrentPacking = PackingParams{};
        TypeTypicalCase(page);
    }
    // The page's case recalculated on a copy after `change`.
    std::unique_ptr<CalcPage> Run(const std::function<void(CalcPage&)>& change, bool expectCompleted = true)
    {
        auto p = std::make_unique<CalcPage>(false);
        CopyPageState(page, *p);
        last = RunCase(*p, change);
        EXPECT_EQ(last.completed, expectCompleted) << last.error;
        return p;
    }
    static std::function<void(CalcPage&)> Basis(int index, const std::string& limit)
    {
        return [=](CalcPage& p) {
            p.Combo("DesignBasisD")->SetItemIndex(index);
            p.Field("DpLimitD")->SetText(limit);
        };
    }
    static std::function<void(CalcPage&)> Rated(double D)
    {
        return [=](CalcPage& p) {
            p.SetRatingMode(true);
            p.Field("dD")->SetValue(D);
        };
    }
    static std::vector<std::string> Texts(const CalcPage& p)
    {
        std::vector<std::string> t;
        for (const TEditD* f : p.ValueFields()) t.push_back(f->Text());
        return t;
    }
    CaseRunResult last; // of the latest Run
    RecordingSink sink;
    ScopedMessageSink scope{&sink};
    CalcPage page{false};
};

} // namespace

TEST_F(DesignBasisTest, PressureDropLimitedDiameterAgainstRatedRunsAboveAndBelow)
{
    // The flood basis gives about 1.3 mbar/m at its 1.4 m and the drop at the
    // foaming-limited capacity is about 2.4 mbar/m: 2 mbar/m lets the vapour
    // run faster (a smaller column), 0.5 mbar/m needs a larger one.
    const struct {
        int basis;
        const char* text;
        double limit; // Pa/m
        bool smaller;
    } table[] = {{1, "2", 200, true}, {2, "0.5", 50, false}, {1, "0.5", 50, false}};
    for (const auto& row : table) {
        const auto p = Run(Basis(row.basis, row.text));
        const double D = p->Field("dpD")->GetValue();
        EXPECT_EQ(p->Design().governs, "pressure-drop") << row.text;
        EXPECT_DOUBLE_EQ(*p->Design().theoreticalDiameter, D);
        EXPECT_NEAR(*p->Design().pressureDropDiameter, D, 1e-9 * D);
        EXPECT_EQ(D < *p->Design().floodDiameter, row.smaller) << row.text;
        EXPECT_DOUBLE_EQ(p->Field("dD")->GetValue(), RoundedUpOnTheGrid(D)) << row.text;
        EXPECT_GE(p->Field("dD")->GetValue(), D) << row.text;
        constexpr double d = 1e-5;
        EXPECT_LE(Run(Rated(D * (1 + d)))->Field("dPwaterD")->GetValue(), row.limit) << row.text;
        EXPECT_GT(Run(Rated(D * (1 - d)))->Field("dPwaterD")->GetValue(), row.limit) << row.text;
        // At D itself the loads are the design velocity's: the transcribed model meets the limit.
        const double uVs = 3.0 / (2.5 * kPi * D * D / 4), uLs = 2.5 / (800 * kPi * D * D / 4);
        LookUpPacking("Flexipac-1", ColArea); // the catalogue's geometry
        EXPECT_NEAR(WetDrop(CurrentPacking, uVs, uLs, p->Field("UfD")->GetValue()), row.limit, 1e-6 * row.limit);
    }
}

TEST_F(DesignBasisTest, BothLimitsTakeTheLargerDiameterAndSayWhichGoverns)
{
    const auto flood = Run({});
    const auto tight = Run(Basis(2, "0.5")), tightOnly = Run(Basis(1, "0.5"));
    EXPECT_EQ(tight->Design().governs, "pressure-drop");
    EXPECT_EQ(Texts(*tight), Texts(*tightOnly));
    EXPECT_GT(tight->Field("dpD")->GetValue(), flood->Field("dpD")->GetValue());
    // A generous limit: the flood basis sizes, to the digit as without a limit.
    const auto loose = Run(Basis(2, "3"));
    EXPECT_EQ(loose->Design().governs, "flood");
    EXPECT_EQ(Texts(*loose), Texts(*flood));
}

TEST_F(DesignBasisTest, WithTheOptionsOffOrWithoutALimitNothingChanges)
{
    const auto plain = Run({});
    // The flood basis keeps the nearest-step rounding.
    EXPECT_DOUBLE_EQ(plain->Field("dD")->GetValue(), RoundedByTheRule(plain->Field("dpD")->GetValue()));
    for (const auto& change : {Basis(0, "2"), Basis(1, ""), Basis(2, "  ")}) {
        const auto p = Run(change);
        EXPECT_EQ(Texts(*p), Texts(*plain));
        EXPECT_EQ(p->Design().governs, "flood");
        EXPECT_FALSE(p->Design().pressureDropDiameter);
        EXPECT_TRUE(last.messages.empty());
    }
}

TEST_F(DesignBasisTest, BadOrUnreachableLimitFailsWithItsMessage)
{
    const struct {
        const char* limit;
        int basis;
        const char* text;
    } table[] = {{"abc", 1, "压降限值须为大于0的数(mbar/m)。"},
                 {"-1", 2, "压降限值须为大于0的数(mbar/m)。"},
                 {"0", 1, "压降限值须为大于0的数(mbar/m)。"},
                 {"1e308", 2, "压降限值须为大于0的数(mbar/m)。"},
                 {"5000", 1, kLimitUnreachedText}};
    for (const auto& row : table) {
        const auto p = Run(Basis(row.basis, row.limit), false);
        bool shown = false;
        for (const auto& m : last.messages) shown = shown || m.text == row.text;
        EXPECT_TRUE(shown) << row.limit;
        EXPECT_TRUE(p->Field("dpD")->Text().empty()) << row.limit;
    }
    // Both bases: an unreachable limit leaves the flood basis to size.
    EXPECT_EQ(Run(Basis(2, "5000"))->Design().governs, "flood");
    // A given column is still rated: the limit is met everywhere below capacity.
    const auto plain = Run(Rated(1.4));
    const auto rated = Run([](CalcPage& p) {
        Basis(1, "5000")(p);
        Rated(1.4)(p);
    });
    EXPECT_EQ(Texts(*rated), Texts(*plain));
    EXPECT_EQ(rated->Design().governs, "flood");
    EXPECT_FALSE(rated->Design().pressureDropDiameter);
}

TEST_F(DesignBasisTest, ConservativeTakesTheLowestOfTheMethodsRunOneByOne)
{
    for (const char* packing : {"Flexipac-1", "Mellapak-250X", "CY-800"}) {
        double lowest = INFINITY, dp = 0;
        int method = -1;
        std::vector<int> skipped;
        for (int m = 0; m < 3; ++m) {
            const bool hasF = std::string(packing) != "CY-800" || m != 2;
            const auto p = Run(
                [&](CalcPage& q) {
                    SelectPacking(q, packing);
                    SelectMethod(q, m, false);
                },
                hasF);
            if (!hasF) {
                skipped.push_back(m);
                continue;
            }
            const double uF = p->Field("UfD")->GetValue();
            if (uF < lowest) {
                lowest = uF;
                method = m;
                dp = p->Field("dpD")->GetValue();
            }
        }
        const auto c = Run([&](CalcPage& q) {
            SelectPacking(q, packing);
            q.Check("CBConservative")->SetChecked(true);
        });
        EXPECT_NEAR(c->Field("UfD")->GetValue(), lowest, 1e-9 * lowest) << packing;
        EXPECT_NEAR(c->Field("dpD")->GetValue(), dp, 1e-8 * dp) << packing;
        EXPECT_EQ(c->Design().floodMethod, method) << packing;
        EXPECT_EQ(c->Design().skippedMethods, skipped) << packing;
        // The load factor follows from the flood velocity: uF / sqrt((rhoL - rhoV) / rhoV).
        EXPECT_NEAR(c->Field("CgmaxD")->GetValue(), lowest / std::sqrt(797.5 / 2.5), 1e-9);
    }
}

// A given diameter smaller than the limited one runs above the limit and
// says so; the sized column (rounded up here) and the flood basis do not.
TEST_F(DesignBasisTest, AColumnAboveThePressureDropLimitIsWarned)
{
    auto warned = [](const CalcPage& p) {
        for (const OperatingWarning& w : p.Operation().warnings)
            if (w.code == "above-pressure-drop-limit") return w.field == "dPwaterD";
        return false;
    };
    const auto sized = Run(Basis(1, "0.5"));
    const double D = sized->Field("dpD")->GetValue();
    ASSERT_GT(sized->Field("dD")->GetValue(), D);
    EXPECT_FALSE(warned(*sized));
    const auto below = Run([&](CalcPage& p) { Basis(1, "0.5")(p); Rated(D * 0.98)(p); });
    EXPECT_GT(below->Field("dPwaterD")->GetValue(), 50.0);
    EXPECT_TRUE(warned(*below));
    const auto above = Run([&](CalcPage& p) { Basis(2, "0.5")(p); Rated(D * 1.02)(p); });
    EXPECT_FALSE(warned(*above));
    // The limit typed but the flood basis chosen: no limit to be above.
    const auto flood = Run([&](CalcPage& p) { Basis(0, "0.5")(p); Rated(D * 0.98)(p); });
    EXPECT_FALSE(warned(*flood));
}
