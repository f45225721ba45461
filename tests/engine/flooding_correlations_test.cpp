// Flow parameter and the three flooding correlations. Expected values come
// from python3 (tests/engine/data/correlations_reference.py, written from the
// formulas) unless a comment gives a hand computation.
#include <gtest/gtest.h>

#include "CorrelationTestSupport.h"
#include "FloodingCorrelations.h"
#include "Messages.h"
#include "PackingCatalogue.h"

namespace
{
// Load factor of Mellapak-250X (Cf = 1.25) at phi: the residual with Cmax 0.
double LoadFactor(double phi, const std::vector<std::string>& constants = DefaultHiddenConstants())
{
    return EqMaxLoadFactor(V(phi, 0).data(), "Mellapak-250X", constants);
}
// muL 3e-4, muV 1e-5, rhoL 800, rhoV 2.5
double Billet(double phi, const char* packing = "Mellapakr-250Y")
{
    return EqFloodVelocityBillet(V(3e-4, 1e-5, 800, 2.5, phi, 0).data(), packing);
}
double KisterGill(double phi, const char* packing, bool lagrange, double rhoL = 800)
{
    return EqFloodVelocityKisterGill(V(3e-4, rhoL, 2.5, phi, 0).data(), packing, lagrange);
}
} // namespace

TEST(FlowParameter, ResidualOfTheFlowRatio)
{
    ExpectRel(EqFlowParameter(V(5, 4, 2.5, 800, 0).data()), 0.06987712429686843);
    EXPECT_NEAR(EqFlowParameter(V(5, 4, 2.5, 800, 0.06987712429686843).data()), 0.0, 1e-16);
}

TEST(MaxLoadFactor, FormulaOutsideAndPolynomialInsideTheOpenInterval)
{
    ExpectRel(LoadFactor(0.05), 0.12009230950797939);
    ExpectRel(LoadFactor(0.3), 0.0880824487145499);
    ExpectRel(LoadFactor(2.0), 0.024230393894811547);
    // The ends belong to the formula; the polynomial would give
    // 0.10606682562170783 and 0.047932749999999996 there.
    ExpectRel(LoadFactor(0.1), 0.10223460669228149);
    ExpectRel(LoadFactor(1.0), 0.03935121747118484);
    // Every evaluation refreshes the packing and the minimum liquid load.
    CurrentPacking = {};
    LoadFactor(0.3);
    EXPECT_DOUBLE_EQ(CurrentPacking.S, 0.017);
    EXPECT_NEAR(CurrentPacking.uLmin, 5.555555555555e-5, 1e-18);
}

TEST(MaxLoadFactor, ReadsTheHiddenConstantsAtEveryEvaluation)
{
    // b0 enters the polynomial linearly: 0.05429633 -> 0.06 adds
    // 1.25 * 0.00570367 = 0.0071295875 (by hand), and nothing to the formula.
    std::vector<std::string> changed = DefaultHiddenConstants();
    changed[0] = "b0=0.06";
    EXPECT_NEAR(LoadFactor(0.3, changed) - LoadFactor(0.3), 0.0071295875, 1e-15);
    EXPECT_EQ(LoadFactor(2.0, changed), LoadFactor(2.0));

    EXPECT_EQ(ReadHiddenConstant(DefaultHiddenConstants(), "b2"), -0.01466563);
    EXPECT_THROW(ReadHiddenConstant(DefaultHiddenConstants(), "b"), EConvertError);
    EXPECT_THROW(ReadHiddenConstant({"b00=1"}, "b0"), EConvertError);
    changed[3] = "b3=-0,00031961";
    EXPECT_THROW(LoadFactor(0.3, changed), EConvertError);
}

TEST(LoadFactorAndFloodVelocity, AreInverse)
{
    ExpectRel(EqFloodVelocityFromLoadFactor(V(0.1, 800, 2.5, 0).data()), 1.786057109949175);
    ExpectRel(EqLoadFactorFromFloodVelocity(V(800, 2.5, 1.786057109949175, 0).data()), 0.1);
}

TEST(Billet, ExponentChangesAboveFlowParameterPointFour)
{
    // Mellapakr-250Y: Cf1 2.464, a 250, eps 0.97
    ExpectRel(Billet(0.2), 1.3906884561715438);
    ExpectRel(Billet(0.4), 1.2157101160366717); // n = -0.708 would give 1.3725340585350667
    ExpectRel(Billet(0.6), 1.0300315290640893);
}

TEST(KisterGill, FittedAndInterpolatedFloodVelocity)
{
    EXPECT_EQ(KisterGillCoefficientSet(0.3), 0);
    EXPECT_EQ(KisterGillCoefficientSet(0.3001), 1);
    EXPECT_EQ(KisterGillCoefficientSet(0.60001), 2);
    EXPECT_EQ(KisterGillCoefficientSet(1.2), 2);
    EXPECT_EQ(KisterGillCoefficientSet(1.20001), 3);
    ExpectRel(KisterGillCapacity(0.1, 333.13032376727955), 1.0992994562684022);
    // Mellapak-350X: F = 20, dPfl = 333.13; Sulze-Kock-bx: F = 38 from "38*Billet法估算"
    ExpectRel(KisterGill(0.1, "Mellapak-350X", false), 1.4057825487056073);
    ExpectRel(KisterGill(0.1, "Mellapak-350X", true), 1.3669216565424462);
    ExpectRel(KisterGill(0.1, "Sulze-Kock-bx", false), 1.0743893268247888);
}

TEST(KisterGill, PackingWithoutFactorShowsMessageAndAborts)
{
    for (bool lagrange : {false, true}) {
        RecordingSink sink;
        ScopedMessageSink scope(&sink);
        EXPECT_THROW(KisterGill(0.1, "CY-800", lagrange), EAbort);
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0].kind, MsgKind::Warning);
        EXPECT_EQ(sink.messages[0].text, "填料参数不全，无法使用该泛点算法。");
        EXPECT_EQ(CurrentPacking.a, 800.0);
    }
    EXPECT_GT(Billet(0.1, "CY-800"), 0.0); // the other correlations still work
}

TEST(Interpolate2D, BlockChoice)
{
    const auto& T = KisterGillChart;
    // Rows start one before the first flow parameter at or above phi.
    const double rows[][2] = {{0.1, 17},   {0.15, 18}, {0.001, 1}, {0.002, 1},
                              {0.0025, 1}, {7.0, 31},  {8.0, 31}};
    for (const auto& r : rows)
        EXPECT_EQ(InterpolationBlock(T, r[0], 333).row, r[1]) << "phi " << r[0];
    // Columns start at the first curve at or above dP, at most at column 3.
    const double cols[][2] = {{100, 1}, {120, 1}, {121, 2}, {333, 3}, {1500, 3}, {2000, 3}};
    for (const auto& c : cols)
        EXPECT_EQ(InterpolationBlock(T, 0.1, c[0]).col, c[1]) << "dP " << c[0];
}

TEST(Interpolate2D, ValuesAndTableNodes)
{
    const auto& T = KisterGillChart;
    // Rows 17-19, curves 600/1200/1800 (curves 300/600/1200 would give 0.2658806).
    ExpectRel(Interpolate2D(T, 0.1, 333), 0.29574911125);
    ExpectRel(Interpolate2D(T, 0.001, 100), 0.2001435185185185);  // below and left of the chart
    ExpectRel(Interpolate2D(T, 8.0, 2000), 0.018733333333333352); // beyond and right of it
    for (int r = 1; r <= 33; ++r)
        for (int c = 1; c <= 5; ++c)
            EXPECT_DOUBLE_EQ(Interpolate2D(T, T[r][0], T[0][c]), T[r][c]) << "row " << r << " col " << c;
}

TEST(FloodingErrors, RaiseFloatingPointFlags)
{
    EXPECT_FALSE(RAISES_FLOAT_ERROR(EqFlowParameter(V(5, 4, 2.5, 800, 0).data())));
    EXPECT_TRUE(RAISES_FLOAT_ERROR(EqFlowParameter(V(5, 0, 2.5, 800, 0).data()))); // V = 0
    EXPECT_FALSE(RAISES_FLOAT_ERROR(LoadFactor(0.05) + LoadFactor(0.5) + Billet(0.5)));
    EXPECT_TRUE(RAISES_FLOAT_ERROR(LoadFactor(0.0)));
    EXPECT_TRUE(RAISES_FLOAT_ERROR(LoadFactor(-0.2)));
    EXPECT_TRUE(RAISES_FLOAT_ERROR(EqFloodVelocityFromLoadFactor(V(0.1, 2.0, 2.5, 0).data()))); // rhoL < rhoV
    EXPECT_TRUE(RAISES_FLOAT_ERROR(EqLoadFactorFromFloodVelocity(V(2.5, 2.5, 1.0, 0).data()))); // rhoL = rhoV
    // Holdup at flooding above eps (negative base of the power 1.5).
    EXPECT_TRUE(
        RAISES_FLOAT_ERROR(EqFloodVelocityBillet(V(1e6, 1e-5, 1000, 2.5, 0.1, 0).data(), "Mellapakr-250Y")));
    EXPECT_TRUE(RAISES_FLOAT_ERROR(Billet(0.0)));
    for (bool lagrange : {false, true}) {
        EXPECT_FALSE(RAISES_FLOAT_ERROR(KisterGill(0.1, "Mellapak-350X", lagrange)));
        // The fitted capacity fails for phi <= 0 even when the chart is used.
        EXPECT_TRUE(RAISES_FLOAT_ERROR(KisterGill(0.0, "Mellapak-350X", lagrange)));
        EXPECT_TRUE(RAISES_FLOAT_ERROR(KisterGill(-0.1, "Mellapak-350X", lagrange)));
        EXPECT_TRUE(RAISES_FLOAT_ERROR(KisterGill(0.1, "Mellapak-350X", lagrange, 2.0)));
    }
}
