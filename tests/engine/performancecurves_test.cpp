// Performance curves: every point is what the calculation page gives for the
// same loads, pressure drop rises with vapour and liquid load, and each curve
// ends where its vapour load reaches the flood velocity.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "TypicalCase.h"
#include "CaseRun.h"
#include "PerformanceCurves.h"
#include "PressureDrop.h"

namespace
{

double Si(CalcPage& page, const char* field)
{
    return page.Field(field)->GetValue();
}

class PerformanceCurvesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CurrentPacking = PackingParams{};
        TypeTypicalCase(live);
        live.Combo("PTD")->SetItemIndex(11); // Mellapak-250Y
        live.NeedsRecalc = true;
        live.LDExit();
    }
    // A copy of the live page with other flows and, optionally, another method.
    void RunCopy(CalcPage& copy, const char* L, const char* V, int method = -1)
    {
        CopyPageState(live, copy);
        const CaseRunResult r = RunCase(copy, [&](CalcPage& p) {
            if (method >= 0)
                SelectMethod(p, method, false);
            p.Field("LD")->SetText(L);
            p.Field("VD")->SetText(V);
        });
        ASSERT_TRUE(r.completed) << r.error;
    }
    PerformanceCase CaseOf(const CalcPage& page)
    {
        PerformanceCase c;
        std::string why;
        EXPECT_TRUE(ReadPerformanceCase(page, c, why)) << why;
        return c;
    }
    RecordingSink sink;
    ScopedMessageSink scope{&sink};
    CalcPage live;
};

} // namespace

TEST_F(PerformanceCurvesTest, APointIsThePageResultForTheSameLoads)
{
    const PerformanceCase base = CaseOf(live);
    CalcPage other(false);
    RunCopy(other, "4.0", "2.2");
    const double load = Si(other, "UlsD") * 3600;
    const double F = Si(other, "UvsD") * std::sqrt(Si(other, "DvD"));
    ASSERT_NE(load, base.uLs * 3600);
    EXPECT_NEAR(PressureDropAt(base, load, F) / (Si(other, "dPwaterD") / 100), 1, 1e-6);
    EXPECT_NEAR(HoldupAt(base, load, F) / Si(other, "HTD"), 1, 1e-6);
    EXPECT_NEAR(HetpAt(base, load, F) / Si(other, "HETPD"), 1, 1e-6);

    // The curves themselves pass through the live page's operating point,
    // and the live page and the packing parameters are left as they were.
    const PackingParams before = CurrentPacking;
    const std::string dp = live.Field("dPwaterD")->Text();
    const PerformanceCurves curves = ComputePerformanceCurves(base, DefaultCurveLiquidLoads());
    EXPECT_EQ(live.Field("dPwaterD")->Text(), dp);
    EXPECT_EQ(CurrentPacking.uLmin, before.uLmin);
    EXPECT_EQ(CurrentPacking.S, before.S);
    int found = 0;
    for (const PressureDropCurve& c : curves.pressureDrop)
        for (const CurvePoint& p : c.points)
            if (c.current && p.x == curves.operating.F && ++found) {
                EXPECT_NEAR(p.y / curves.operating.dp, 1, 1e-6);
            }
    for (const CurvePoint& p : curves.holdup)
        if (p.x == curves.operating.uL && ++found) {
            EXPECT_NEAR(p.y / curves.operating.hL, 1, 1e-6);
        }
    for (const CurvePoint& p : curves.hetp)
        if (p.x == curves.operating.F && ++found) {
            EXPECT_NEAR(p.y / curves.operating.HETP, 1, 1e-6);
        }
    EXPECT_EQ(found, 3);
}

TEST_F(PerformanceCurvesTest, PressureDropRisesWithVapourAndLiquidLoad)
{
    // With Billet's correlation the flood velocity rises more slowly than
    // the vapour load (the fits of the other two turn over outside their
    // charts' range of flow parameters).
    CalcPage page(false);
    RunCopy(page, "2.5", "3.0", 1);
    const PerformanceCase c = CaseOf(page);
    const PerformanceCurves curves = ComputePerformanceCurves(c, DefaultCurveLiquidLoads());
    ASSERT_EQ(curves.pressureDrop.size(), 7u);
    for (const PressureDropCurve& curve : curves.pressureDrop) {
        ASSERT_GT(curve.points.size(), 10u) << curve.liquidLoad;
        for (std::size_t i = 1; i < curve.points.size(); ++i)
            EXPECT_GT(curve.points[i].y, curve.points[i - 1].y) << curve.liquidLoad << " at " << curve.points[i].x;
    }
    for (double F : {0.5, 1.0, 1.5})
        for (double load : {5.0, 10.0, 20.0})
            EXPECT_GT(PressureDropAt(c, 2 * load, F), PressureDropAt(c, load, F)) << load << " at " << F;
}

TEST_F(PerformanceCurvesTest, EachCurveEndsAtTheFloodVelocityOfItsLoad)
{
    for (int method : {0, 1, 2}) {
        CalcPage page(false);
        RunCopy(page, "2.5", "3.0", method);
        const PerformanceCase c = CaseOf(page);
        const PerformanceCurves curves = ComputePerformanceCurves(c, DefaultCurveLiquidLoads());
        for (const PressureDropCurve& curve : curves.pressureDrop) {
            if (curve.liquidLoad == 0) {
                EXPECT_FALSE(curve.hasFlood);
                continue;
            }
            ASSERT_TRUE(curve.hasFlood) << method << " " << curve.liquidLoad;
            EXPECT_LT(curve.points.back().x, curve.floodF);
            // Pages with this liquid load are below flood just under this
            // vapour load and flooded just above it (a correlation that
            // switches formulas may jump across it).
            const double uV = curve.floodF / std::sqrt(c.rhoV);
            for (double factor : {1 - 1e-4, 1 + 1e-4}) {
                CalcPage page(false);
                char L[40], V[40];
                std::snprintf(L, sizeof L, "%.15g", curve.liquidLoad / 3600 * c.rhoL);
                std::snprintf(V, sizeof V, "%.15g", factor * uV * c.rhoV);
                RunCopy(page, L, V, method);
                EXPECT_EQ(Si(page, "UfD") > factor * uV, factor < 1) << method << " " << curve.liquidLoad;
            }
        }
    }
}

TEST_F(PerformanceCurvesTest, NoPointIsTheHeadOfAFloodedBedAndFloodHasNoPressureDrop)
{
    // High pressure: there the model's head of the flooded bed replaces the
    // pressure drop well below flood.
    CalcPage page(false);
    CopyPageState(live, page);
    const CaseRunResult run = RunCase(page, [](CalcPage& p) {
        SelectMethod(p, 1, false);
        for (auto [f, t] : {std::pair{"DlD", "500"}, {"DvD", "50"}, {"MlD", "0.0001"}, {"MvD", "1.2e-5"},
                            {"SLD", "0.005"}, {"LD", "9.2"}, {"VD", "9.2"}})
            p.Field(f)->SetText(t);
    });
    ASSERT_TRUE(run.completed) << run.error;
    const PerformanceCase c = CaseOf(page);
    const PerformanceCurves curves = ComputePerformanceCurves(c, DefaultCurveLiquidLoads());
    auto capped = [&](double load, double F) {
        const double uLs = load / 3600, uVs = F / std::sqrt(c.rhoV);
        const double r = uVs / FloodVelocityAt(c, uLs, uVs); // looks the packing up
        const PackingParams& p = CurrentPacking;
        return PressureDropAndHoldup(p.S, p.eps, p.theta, c.sigma, c.muV, c.muL, c.rhoV, c.rhoL, uVs, uLs, r).capped;
    };
    int cut = 0;
    for (const PressureDropCurve& curve : curves.pressureDrop) {
        if (curve.liquidLoad == 0) continue;
        for (const CurvePoint& p : curve.points)
            EXPECT_FALSE(capped(curve.liquidLoad, p.x)) << curve.liquidLoad << " at F = " << p.x;
        if (!curve.hasFlood || curve.points.empty()) continue;
        // Between the curve's end and flood the model gives no pressure drop here.
        const double last = curve.points.back().x;
        for (int k = 1; k < 20; ++k)
            cut += capped(curve.liquidLoad, last + (curve.floodF - last) * k / 20.0);
    }
    EXPECT_GT(cut, 0) << "the case must reach the head of a flooded bed, or it protects nothing";
}
