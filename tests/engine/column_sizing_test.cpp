// Design velocity, diameters and loads. Expected values come from
// tests/engine/data/correlations_reference.py or from hand computation.
#include <gtest/gtest.h>

#include "ColumnSizing.h"
#include "CorrelationTestSupport.h"
#include "Messages.h"

TEST(OperatingVelocity, FloodFractionAndFoamingFactorFromTheirTexts)
{
    const double v[] = {2.0, 0.0};
    ExpectRel(EqOperatingVelocity(v, "80", "0.8"), 1.28); // 0.64 uF
    ExpectRel(EqOperatingVelocity(v, " 72 ", "1.0"), 1.44);
    const double atRoot[] = {2.0, 1.28};
    EXPECT_NEAR(EqOperatingVelocity(atRoot, "80", "0.8"), 0.0, 1e-15);
    try {
        EqOperatingVelocity(v, "8O", "0.8");
        ADD_FAILURE() << "a flood fraction that is not a number was accepted";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'8O' is not a valid floating point value");
    }
    EXPECT_THROW(EqOperatingVelocity(v, "80", ""), EConvertError);
}

TEST(Diameter, TheoreticalDiameterFromTheVapourFlow)
{
    // V = 4, up = 1.28, rhoV = 2.5
    const double v[] = {4, 1.28, 2.5, 0};
    ExpectRel(EqTheoreticalDiameter(v), 1.2615662610100802);
}

TEST(Loads, CarriedFromTheTheoreticalToTheActualDiameter)
{
    // L 5, V 4, rhoV 2.5, rhoL 800, dp 1.2616, d 1.3, up 1.28
    const double liquid[] = {5, 4, 2.5, 800, 1.2616, 1.3, 1.28, 0};
    ExpectRel(EqLiquidLoad(liquid), 0.004708977988165682);
    const double vapour[] = {1.2616, 1.3, 1.28, 0};
    ExpectRel(EqVapourLoad(vapour), 1.2054983649704143);
    // Rounding down raises the loads by (dp/d)^2: (1.2616/1.2)^2 = 1.105301777... by hand.
    const double smaller[] = {1.2616, 1.2, 1.28, 0};
    ExpectRel(EqVapourLoad(smaller), 1.28 * 1.1053017777777778);
    // At d = dp the vapour load is the design velocity itself.
    const double same[] = {1.2616, 1.2616, 1.28, 0};
    EXPECT_DOUBLE_EQ(EqVapourLoad(same), 1.28);
}

TEST(RoundColumnDiameter, Table)
{
    const double table[][2] = {{0.0439, 0.04}, {0.044, 0.05}, {0.0995, 0.1}, {0.824, 0.8}, {0.8249, 0.85},
                               {0.85, 0.85},   {0.851, 0.9},  {0.999, 1.0},  {1.04, 1.0},  {1.0401, 1.1}};
    for (const auto& row : table)
        EXPECT_EQ(RoundColumnDiameter(row[0]), row[1]) << "dp = " << row[0];
}

TEST(RoundColumnDiameter, HalvesGoUpBelowAndDownAboveOneMetre)
{
    // Below 100 mm: (x + 1) / 10 with x + 1 = 5, 15, ..., 95 are halves and go up
    // (to even would give 0, 2, 2, 4, 4, ... for the pairs).
    const double small[][2] = {{0.004, 0.01}, {0.014, 0.02}, {0.024, 0.03}, {0.034, 0.04}, {0.054, 0.06},
                               {0.064, 0.07}, {0.074, 0.08}, {0.084, 0.09}, {0.094, 0.1}};
    for (const auto& row : small)
        EXPECT_EQ(RoundColumnDiameter(row[0]), row[1]) << "dp = " << row[0];
    // From 1 m: (x + 10) / 100 with x + 10 = 1150, 1250, ... are halves and go down.
    const double large[][2] = {{1.14, 1.1}, {1.24, 1.2}, {2.04, 2.0}, {3.14, 3.1}, {10.04, 10.0}};
    for (const auto& row : large)
        EXPECT_EQ(RoundColumnDiameter(row[0]), row[1]) << "dp = " << row[0];
    // Near but not at a half: ordinary nearest rounding.
    EXPECT_EQ(RoundColumnDiameter(0.04399), 0.04);
    EXPECT_EQ(RoundColumnDiameter(0.04401), 0.05);
    EXPECT_EQ(RoundColumnDiameter(1.13999), 1.1);
    EXPECT_EQ(RoundColumnDiameter(1.14001), 1.2);
}

TEST(RoundColumnDiameter, FiftyMillimetreStepsBetweenTenthAndOneMetre)
{
    EXPECT_EQ(RoundColumnDiameter(0.1), 0.1);
    EXPECT_EQ(RoundColumnDiameter(0.124), 0.1);
    EXPECT_EQ(RoundColumnDiameter(0.1241), 0.15);
    EXPECT_EQ(RoundColumnDiameter(0.15), 0.15);
    EXPECT_EQ(RoundColumnDiameter(0.1501), 0.2);
    EXPECT_EQ(RoundColumnDiameter(0.1995), 0.2); // 199.5 mm rounds to 200, remainder -0.5
    EXPECT_EQ(RoundColumnDiameter(0.9996), 1.0);
    // Below 4 mm the diameter rounds to nothing, and the loads then fail.
    EXPECT_EQ(RoundColumnDiameter(0.0035), 0.0);
    EXPECT_TRUE(RaisesFloatError([] {
        const double v[] = {0.0035, RoundColumnDiameter(0.0035), 1.28, 0};
        return EqVapourLoad(v);
    }));
}

TEST(SizingErrors, RaiseFloatingPointFlags)
{
    EXPECT_FALSE(RaisesFloatError([] {
        const double v[] = {4, 1.28, 2.5, 0};
        return EqTheoreticalDiameter(v);
    }));
    EXPECT_TRUE(RaisesFloatError([] {
        const double v[] = {4, 0.0, 2.5, 0}; // up = 0
        return EqTheoreticalDiameter(v);
    }));
    EXPECT_TRUE(RaisesFloatError([] {
        const double v[] = {4, -1.28, 2.5, 0}; // negative design velocity
        return EqTheoreticalDiameter(v);
    }));
    EXPECT_TRUE(RaisesFloatError([] {
        const double v[] = {5, 4, 2.5, 800, 1.2616, 0.0, 1.28, 0}; // d = 0
        return EqLiquidLoad(v);
    }));
    EXPECT_TRUE(RaisesFloatError([] {
        const double v[] = {5, 0, 2.5, 800, 1.2616, 1.3, 1.28, 0}; // V = 0
        return EqLiquidLoad(v);
    }));
    EXPECT_TRUE(RaisesFloatError([] { return RoundColumnDiameter(1e306); })); // overflows in mm
}
