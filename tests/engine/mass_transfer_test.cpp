// Equilibrium equations and the heights of transfer units. Expected values
// come from python3 (tests/engine/data/correlations_reference.py) unless a
// comment says otherwise.
#include <gtest/gtest.h>

#include <cmath>

#include "CorrelationTestSupport.h"
#include "MassTransfer.h"

namespace
{
// Mellapakr-250Y written out by hand, independent of the catalogue.
const PackingParams kPacking{250, 0.97, 0.0127, 0.0254, 0.0178, 45 * M_PI / 180, 0.0158, 0};

MassTransferResult Heights(double lambda, double d = 1.2, double DV = 1e-5)
{
    // L, d, rhoL, muL, rhoV, muV, uVs, V, DL, DV, lambda
    return MassTransferHeightsFrom({5, d, 800, 3e-4, 2.5, 1e-5, 1.4, 4, 2e-9, DV, lambda}, kPacking);
}
} // namespace

TEST(Equilibrium, SlopeAndStrippingFactor)
{
    // By hand: alpha = 2 gives m = 1.8 / 1.9; m = 0.5 gives alpha = 1/9; 0.9 * 4 / 5 = 0.72.
    EXPECT_NEAR(EqEquilibriumSlope(V(2.0, 1.8 / 1.9).data()), 0.0, 1e-15);
    EXPECT_NEAR(EqEquilibriumSlope(V(1.0 / 9.0, 0.5).data()), 0.0, 1e-15);
    EXPECT_DOUBLE_EQ(EqEquilibriumSlope(V(2.0, 0).data()), 1.8);
    EXPECT_DOUBLE_EQ(EqStrippingFactor(V(0.9, 4, 5, 0).data()), 0.72);
    EXPECT_TRUE(RAISES_FLOAT_ERROR(EqStrippingFactor(V(0.9, 4, 0, 0).data()))); // L = 0
}

TEST(MassTransfer, HeightsOfTransferUnits)
{
    const MassTransferResult r = Heights(0.8);
    ExpectRel(r.HTUV, 0.25061319522337716);
    ExpectRel(r.HTUL, 0.1399110282025894);
    ExpectRel(r.HTUOV, 0.3625420177854487);
    ExpectRel(r.HETP, 0.40449456674632206);
    const MassTransferResult wide = Heights(0.8, 2.4); // doubled diameter
    ExpectRel(wide.HTUV, 0.06569734564383868);
    ExpectRel(wide.HTUL, 0.05552501122303118);
    ExpectRel(wide.HETP, 0.12285988785869059);
    // The vapour diffusion coefficient acts on the vapour side only.
    const MassTransferResult faster = Heights(0.8, 1.2, 2e-5);
    EXPECT_EQ(faster.HTUL, r.HTUL);
    EXPECT_LT(faster.HTUV, r.HTUV);
    EXPECT_LT(faster.HETP, r.HETP);
}

TEST(MassTransfer, StrippingFactorNearOne)
{
    const MassTransferResult one = Heights(1.0);
    ExpectRel(one.HTUOV, 0.3905242234259666);
    EXPECT_EQ(one.HETP, one.HTUOV);
    const MassTransferResult near = Heights(1.0 + 5e-9);
    EXPECT_EQ(near.HETP, near.HTUOV);
    // 2e-8 away the logarithmic form applies: 1e-8 below HTUOV, far more than the tolerance.
    const MassTransferResult off = Heights(1.0 + 2e-8);
    ExpectRel(off.HTUOV, 0.39052422622418714, 1e-13);
    ExpectRel(off.HETP, 0.3905242223189449, 1e-13);
}

TEST(MassTransfer, ErrorsRaiseFloatingPointFlags)
{
    EXPECT_FALSE(RAISES_FLOAT_ERROR(Heights(0.8).HETP));
    EXPECT_TRUE(RAISES_FLOAT_ERROR(Heights(0.0).HETP));
    EXPECT_TRUE(RAISES_FLOAT_ERROR(Heights(-0.5).HETP));
    EXPECT_TRUE(RAISES_FLOAT_ERROR(Heights(0.8, 0.0).HTUV)); // d = 0
    EXPECT_TRUE(RAISES_FLOAT_ERROR(
        MassTransferHeightsFrom({5, 1.2, 800, 3e-4, 2.5, 1e-5, 1.4, 4, 2e-9, 1e-5, 0.8}, PackingParams{})
            .HTUV));
}
