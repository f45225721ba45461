// Flow parameter and the three flooding correlations. Expected values come
// from tests/engine/data/correlations_reference.py (python3, written from the
// formulas), unless a comment gives a hand computation.
#include <gtest/gtest.h>

#include <cmath>

#include "CorrelationTestSupport.h"
#include "FloodingCorrelations.h"
#include "Messages.h"
#include "PackingCatalogue.h"

namespace
{
const std::vector<std::string>& Constants()
{
    return DefaultHiddenConstants();
}

// Load factor of Mellapak-250X (Cf = 1.25) at phi, as the residual with Cmax 0.
double LoadFactor(double phi, const std::vector<std::string>& constants = Constants())
{
    const double v[] = {phi, 0.0};
    return EqMaxLoadFactor(v, "Mellapak-250X", constants);
}
} // namespace

TEST(FlowParameter, ResidualOfTheFlowRatio)
{
    // L = 5, V = 4, rhoV = 2.5, rhoL = 800
    const double v[] = {5, 4, 2.5, 800, 0};
    ExpectRel(EqFlowParameter(v), 0.06987712429686843);
    const double atRoot[] = {5, 4, 2.5, 800, 0.06987712429686843};
    EXPECT_NEAR(EqFlowParameter(atRoot), 0.0, 1e-16);
}

TEST(MaxLoadFactor, FormulaOutsideAndPolynomialInsideTheOpenInterval)
{
    ExpectRel(LoadFactor(0.05), 0.12009230950797939);
    ExpectRel(LoadFactor(0.3), 0.0880824487145499);
    ExpectRel(LoadFactor(2.0), 0.024230393894811547);
    // The ends of the interval belong to the formula; the polynomial would
    // give 0.10606682562170783 and 0.047932749999999996 there.
    ExpectRel(LoadFactor(0.1), 0.10223460669228149);
    ExpectRel(LoadFactor(1.0), 0.03935121747118484);
    const double v[] = {0.3, 0.0880824487145499};
    EXPECT_NEAR(EqMaxLoadFactor(v, "Mellapak-250X", Constants()), 0.0, 1e-15);
}

TEST(MaxLoadFactor, ReadsTheConstantsAtEveryEvaluation)
{
    // b0 enters the polynomial linearly: raising it from 0.05429633 to 0.06
    // raises Cf * C by 1.25 * 0.00570367 = 0.0071295875 (by hand).
    std::vector<std::string> changed = Constants();
    changed[0] = "b0=0.06";
    EXPECT_NEAR(LoadFactor(0.3, changed) - LoadFactor(0.3), 0.0071295875, 1e-15);
    // ... and not the formula used outside the interval.
    EXPECT_EQ(LoadFactor(2.0, changed), LoadFactor(2.0));

    EXPECT_EQ(ReadHiddenConstant(Constants(), "b2"), -0.01466563);
    EXPECT_THROW(ReadHiddenConstant(Constants(), "b4"), EConvertError);
    EXPECT_THROW(ReadHiddenConstant(Constants(), "b"), EConvertError);
    EXPECT_THROW(ReadHiddenConstant({"b00=1"}, "b0"), EConvertError);
    std::vector<std::string> broken = Constants();
    broken[3] = "b3=-0,00031961";
    EXPECT_THROW(LoadFactor(0.3, broken), EConvertError);
}

TEST(MaxLoadFactor, RefreshesTheCurrentPacking)
{
    CurrentPacking = {};
    LoadFactor(0.3);
    EXPECT_EQ(CurrentPacking.a, 250.0);
    EXPECT_DOUBLE_EQ(CurrentPacking.S, 0.017);
    EXPECT_NEAR(CurrentPacking.uLmin, 5.555555555555e-5, 1e-18);
}

TEST(LoadFactorAndFloodVelocity, AreInverse)
{
    // Cmax = 0.1, rhoL = 800, rhoV = 2.5
    const double forward[] = {0.1, 800, 2.5, 0};
    ExpectRel(EqFloodVelocityFromLoadFactor(forward), 1.786057109949175);
    const double backward[] = {800, 2.5, 1.786057109949175, 0};
    ExpectRel(EqLoadFactorFromFloodVelocity(backward), 0.1);
}

TEST(Billet, ExponentChangesAboveFlowParameterPointFour)
{
    // Mellapakr-250Y (Cf1 2.464, a 250, eps 0.97); muL 3e-4, muV 1e-5, rhoL 800, rhoV 2.5
    auto uF = [](double phi) {
        const double v[] = {3e-4, 1e-5, 800, 2.5, phi, 0};
        return EqFloodVelocityBillet(v, "Mellapakr-250Y");
    };
    ExpectRel(uF(0.2), 1.3906884561715438);
    ExpectRel(uF(0.4), 1.2157101160366717); // n = -0.708 would give 1.3725340585350667
    ExpectRel(uF(0.6), 1.0300315290640893);
    EXPECT_NEAR(CurrentPacking.uLmin, 5.555555555555e-5, 1e-18);
}

TEST(KisterGill, CoefficientSetThresholdsAreInTheUnitOfThePressureDrop)
{
    EXPECT_EQ(KisterGillCoefficientSet(0.3), 0);
    EXPECT_EQ(KisterGillCoefficientSet(0.3001), 1);
    EXPECT_EQ(KisterGillCoefficientSet(0.6), 1);
    EXPECT_EQ(KisterGillCoefficientSet(0.60001), 2);
    EXPECT_EQ(KisterGillCoefficientSet(1.2), 2);
    EXPECT_EQ(KisterGillCoefficientSet(1.20001), 3);
    EXPECT_EQ(KisterGillCoefficientSet(333.0), 3);
    ExpectRel(KisterGillCapacity(0.1, 333.13032376727955), 1.0992994562684022);
}

TEST(KisterGill, FittedAndInterpolatedFloodVelocity)
{
    // muL 3e-4, rhoL 800, rhoV 2.5, phi 0.1
    const double v[] = {3e-4, 800, 2.5, 0.1, 0};
    // Mellapak-350X: F = 20, dPfl = 333.13
    ExpectRel(EqFloodVelocityKisterGill(v, "Mellapak-350X", false), 1.4057825487056073);
    EXPECT_EQ(CurrentPacking.a, 350.0);
    ExpectRel(EqFloodVelocityKisterGill(v, "Mellapak-350X", true), 1.3669216565424462);
    // Sulze-Kock-bx: F = 38 read from "38*Billet法估算"
    ExpectRel(EqFloodVelocityKisterGill(v, "Sulze-Kock-bx", false), 1.0743893268247888);
}

TEST(KisterGill, PackingWithoutFactorShowsMessageAndAborts)
{
    for (bool lagrange : {false, true}) {
        RecordingSink sink;
        ScopedMessageSink scope(&sink);
        const double v[] = {3e-4, 800, 2.5, 0.1, 0};
        EXPECT_THROW(EqFloodVelocityKisterGill(v, "CY-800", lagrange), EAbort);
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0].kind, MsgKind::Warning);
        EXPECT_EQ(sink.messages[0].text, "填料参数不全，无法使用该泛点算法。");
        EXPECT_EQ(CurrentPacking.a, 800.0);
    }
    // The other correlations work for the same packing.
    const double v[] = {3e-4, 1e-5, 800, 2.5, 0.1, 0};
    EXPECT_GT(EqFloodVelocityBillet(v, "CY-800"), 0.0);
}

TEST(Interpolate2D, BlockChoice)
{
    const auto& T = KisterGillChart;
    // Rows start one before the first flow parameter at or above phi.
    EXPECT_EQ(InterpolationBlock(T, 0.1, 333).row, 17);
    EXPECT_EQ(InterpolationBlock(T, 0.15, 333).row, 18);
    EXPECT_EQ(InterpolationBlock(T, 0.001, 333).row, 1);
    EXPECT_EQ(InterpolationBlock(T, 0.002, 333).row, 1);
    EXPECT_EQ(InterpolationBlock(T, 0.0025, 333).row, 1);
    EXPECT_EQ(InterpolationBlock(T, 6.5, 333).row, 31);
    EXPECT_EQ(InterpolationBlock(T, 7.0, 333).row, 31);
    EXPECT_EQ(InterpolationBlock(T, 8.0, 333).row, 31);
    // Columns start at the first curve at or above dP, at most at column 3.
    EXPECT_EQ(InterpolationBlock(T, 0.1, 100).col, 1);
    EXPECT_EQ(InterpolationBlock(T, 0.1, 120).col, 1);
    EXPECT_EQ(InterpolationBlock(T, 0.1, 121).col, 2);
    EXPECT_EQ(InterpolationBlock(T, 0.1, 333).col, 3);
    EXPECT_EQ(InterpolationBlock(T, 0.1, 1500).col, 3);
    EXPECT_EQ(InterpolationBlock(T, 0.1, 2000).col, 3);
}

TEST(Interpolate2D, ValuesInsideAndOutsideTheChart)
{
    const auto& T = KisterGillChart;
    // Lagrange over rows 17-19 and curves 600/1200/1800; the block of
    // curves 300/600/1200 would give 0.2658806.
    ExpectRel(Interpolate2D(T, 0.1, 333), 0.29574911125);
    // Extrapolation below the first row and left of the first curve.
    ExpectRel(Interpolate2D(T, 0.001, 100), 0.2001435185185185);
    // Extrapolation beyond the last row and the last curve.
    ExpectRel(Interpolate2D(T, 8.0, 2000), 0.018733333333333352);
}

TEST(Interpolate2D, ReproducesEveryTableNode)
{
    const auto& T = KisterGillChart;
    for (int r = 1; r <= 33; ++r)
        for (int c = 1; c <= 5; ++c)
            EXPECT_DOUBLE_EQ(Interpolate2D(T, T[r][0], T[0][c]), T[r][c]) << "row " << r << " col " << c;
}

TEST(FloodingErrors, RaiseFloatingPointFlags)
{
    EXPECT_FALSE(RaisesFloatError([] {
        const double v[] = {5, 4, 2.5, 800, 0};
        return EqFlowParameter(v);
    }));
    EXPECT_TRUE(RaisesFloatError([] {
        const double v[] = {5, 0, 2.5, 800, 0}; // V = 0
        return EqFlowParameter(v);
    }));
    EXPECT_FALSE(RaisesFloatError([] { return LoadFactor(0.05) + LoadFactor(0.5); }));
    EXPECT_TRUE(RaisesFloatError([] { return LoadFactor(0.0); }));
    EXPECT_TRUE(RaisesFloatError([] { return LoadFactor(-0.2); }));
    EXPECT_TRUE(RaisesFloatError([] {
        const double v[] = {0.1, 2.0, 2.5, 0}; // rhoL < rhoV
        return EqFloodVelocityFromLoadFactor(v);
    }));
    EXPECT_TRUE(RaisesFloatError([] {
        const double v[] = {2.5, 2.5, 1.0, 0}; // rhoL = rhoV
        return EqLoadFactorFromFloodVelocity(v);
    }));
    EXPECT_TRUE(RaisesFloatError([] {
        const double v[] = {1e6, 1e-5, 1000, 2.5, 0.1, 0}; // holdup at flooding above eps
        return EqFloodVelocityBillet(v, "Mellapakr-250Y");
    }));
    EXPECT_TRUE(RaisesFloatError([] {
        const double v[] = {3e-4, 1e-5, 800, 2.5, 0.0, 0}; // phi = 0
        return EqFloodVelocityBillet(v, "Mellapakr-250Y");
    }));
    for (bool lagrange : {false, true}) {
        EXPECT_FALSE(RaisesFloatError([=] {
            const double v[] = {3e-4, 800, 2.5, 0.1, 0};
            return EqFloodVelocityKisterGill(v, "Mellapak-350X", lagrange);
        }));
        // The fitted capacity fails for phi <= 0 even when the chart is used.
        for (double phi : {0.0, -0.1}) {
            EXPECT_TRUE(RaisesFloatError([=] {
                const double v[] = {3e-4, 800, 2.5, phi, 0};
                return EqFloodVelocityKisterGill(v, "Mellapak-350X", lagrange);
            }));
        }
        EXPECT_TRUE(RaisesFloatError([=] {
            const double v[] = {3e-4, 2.0, 2.5, 0.1, 0}; // rhoL < rhoV
            return EqFloodVelocityKisterGill(v, "Mellapak-350X", lagrange);
        }));
    }
}
