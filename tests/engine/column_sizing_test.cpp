// Design velocity, diameters and loads. Expected values come from python3
// (tests/engine/data/correlations_reference.py) or from hand computation.
#include <gtest/gtest.h>

#include "ColumnSizing.h"
#include "CorrelationTestSupport.h"
#include "Messages.h"

TEST(Sizing, VelocityDiameterAndLoads)
{
    ExpectRel(EqOperatingVelocity(V(2.0, 0).data(), "80", "0.8"), 1.28); // 0.64 uF
    ExpectRel(EqOperatingVelocity(V(2.0, 0).data(), " 72 ", "1.0"), 1.44);
    try {
        EqOperatingVelocity(V(2.0, 0).data(), "8O", "0.8");
        ADD_FAILURE() << "a flood fraction that is not a number was accepted";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'8O' is not a valid floating point value");
    }
    EXPECT_THROW(EqOperatingVelocity(V(2.0, 0).data(), "80", ""), EConvertError);

    ExpectRel(EqTheoreticalDiameter(V(4, 1.28, 2.5, 0).data()), 1.2615662610100802);
    ExpectRel(EqLiquidLoad(V(5, 4, 2.5, 800, 1.2616, 1.3, 1.28, 0).data()), 0.004708977988165682);
    ExpectRel(EqVapourLoad(V(1.2616, 1.3, 1.28, 0).data()), 1.2054983649704143);
    // Rounding down raises the load by (dp/d)^2 = (1.2616/1.2)^2 = 1.1053017777... (by hand).
    ExpectRel(EqVapourLoad(V(1.2616, 1.2, 1.28, 0).data()), 1.28 * 1.1053017777777778);
    EXPECT_DOUBLE_EQ(EqVapourLoad(V(1.2616, 1.2616, 1.28, 0).data()), 1.28);
}

TEST(RoundColumnDiameter, TableAndSteps)
{
    const double cases[][2] = {// the reference table
                               {0.0439, 0.04},
                               {0.044, 0.05},
                               {0.0995, 0.1},
                               {0.824, 0.8},
                               {0.8249, 0.85},
                               {0.85, 0.85},
                               {0.851, 0.9},
                               {0.999, 1.0},
                               {1.04, 1.0},
                               {1.0401, 1.1},
                               // 50 mm steps between 0.1 and 1 m; 199.5 mm rounds to 200 with remainder -0.5
                               {0.1, 0.1},
                               {0.124, 0.1},
                               {0.1241, 0.15},
                               {0.1501, 0.2},
                               {0.1995, 0.2},
                               {0.9996, 1.0},
                               // near but not at a half: nearest
                               {0.04399, 0.04},
                               {0.04401, 0.05},
                               {1.13999, 1.1},
                               {1.14001, 1.2},
                               // below 4 mm nothing is left
                               {0.0035, 0.0}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundColumnDiameter(c[0]), c[1]) << "dp = " << c[0];
}

TEST(RoundColumnDiameter, HalvesGoUpBelowAndDownAboveOneMetre)
{
    // Below 100 mm (x + 1) / 10 = 0.5, 1.5, ... 9.5 go up (to even would give
    // 0, 2, 2, 4, 4, ...); from 1 m (x + 10) / 100 = 11.5, 12.5, ... go down.
    const double cases[][2] = {{0.004, 0.01}, {0.014, 0.02}, {0.024, 0.03}, {0.034, 0.04}, {0.054, 0.06},
                               {0.064, 0.07}, {0.074, 0.08}, {0.084, 0.09}, {0.094, 0.1},  {1.14, 1.1},
                               {1.24, 1.2},   {2.04, 2.0},   {3.14, 3.1},   {10.04, 10.0}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundColumnDiameter(c[0]), c[1]) << "dp = " << c[0];
}

TEST(SizingErrors, RaiseFloatingPointFlags)
{
    EXPECT_FALSE(RAISES_FLOAT_ERROR(EqTheoreticalDiameter(V(4, 1.28, 2.5, 0).data())));
    EXPECT_TRUE(RAISES_FLOAT_ERROR(EqTheoreticalDiameter(V(4, 0.0, 2.5, 0).data())));              // up = 0
    EXPECT_TRUE(RAISES_FLOAT_ERROR(EqTheoreticalDiameter(V(4, -1.28, 2.5, 0).data())));            // up < 0
    EXPECT_TRUE(RAISES_FLOAT_ERROR(EqLiquidLoad(V(5, 4, 2.5, 800, 1.2616, 0.0, 1.28, 0).data()))); // d = 0
    EXPECT_TRUE(RAISES_FLOAT_ERROR(EqLiquidLoad(V(5, 0, 2.5, 800, 1.2616, 1.3, 1.28, 0).data()))); // V = 0
    // A diameter below 4 mm rounds to 0 and the load then divides by zero.
    EXPECT_TRUE(RAISES_FLOAT_ERROR(EqVapourLoad(V(0.0035, RoundColumnDiameter(0.0035), 1.28, 0).data())));
    EXPECT_TRUE(RAISES_FLOAT_ERROR(RoundColumnDiameter(1e306))); // overflows in mm
}
