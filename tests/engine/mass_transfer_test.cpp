// Equilibrium equations and the heights of transfer units. Expected values
// come from tests/engine/data/correlations_reference.py unless a comment says
// otherwise.
#include <gtest/gtest.h>

#include <cmath>

#include "CorrelationTestSupport.h"
#include "MassTransfer.h"

namespace
{
// Mellapakr-250Y written out by hand, independent of the catalogue.
PackingParams Mellapak250Y()
{
    PackingParams p;
    p.a = 250;
    p.eps = 0.97;
    p.h = 0.0127;
    p.B2 = 0.0254;
    p.S = 0.0178;
    p.theta = 45 * M_PI / 180;
    p.dh = 0.0158;
    return p;
}

MassTransferInputs Inputs(double lambda)
{
    // L, d, rhoL, muL, rhoV, muV, uVs, V, DL, DV, lambda
    return {5, 1.2, 800, 3e-4, 2.5, 1e-5, 1.4, 4, 2e-9, 1e-5, lambda};
}
} // namespace

TEST(Equilibrium, SlopeFromRelativeVolatility)
{
    // By hand: alpha = 2 gives m = 1.8 / 1.9; m = 0.5 gives alpha = 1/9.
    const double a[] = {2.0, 1.8 / 1.9};
    EXPECT_NEAR(EqEquilibriumSlope(a), 0.0, 1e-15);
    const double b[] = {1.0 / 9.0, 0.5};
    EXPECT_NEAR(EqEquilibriumSlope(b), 0.0, 1e-15);
    const double c[] = {2.0, 0.0};
    EXPECT_DOUBLE_EQ(EqEquilibriumSlope(c), 1.8);
}

TEST(Equilibrium, StrippingFactor)
{
    const double v[] = {0.9, 4, 5, 0}; // 0.9 * 4 / 5 = 0.72 by hand
    EXPECT_DOUBLE_EQ(EqStrippingFactor(v), 0.72);
    EXPECT_TRUE(RaisesFloatError([] {
        const double z[] = {0.9, 4, 0, 0}; // L = 0
        return EqStrippingFactor(z);
    }));
}

TEST(MassTransfer, HeightsOfTransferUnits)
{
    const MassTransferResult r = MassTransferHeightsFrom(Inputs(0.8), Mellapak250Y());
    ExpectRel(r.HTUV, 0.25061319522337716);
    ExpectRel(r.HTUL, 0.1399110282025894);
    ExpectRel(r.HTUOV, 0.3625420177854487);
    ExpectRel(r.HETP, 0.40449456674632206);
}

TEST(MassTransfer, DoublingTheDiameter)
{
    MassTransferInputs in = Inputs(0.8);
    in.d = 2.4;
    const MassTransferResult r = MassTransferHeightsFrom(in, Mellapak250Y());
    ExpectRel(r.HTUV, 0.06569734564383868);
    ExpectRel(r.HTUL, 0.05552501122303118);
    ExpectRel(r.HETP, 0.12285988785869059);
}

TEST(MassTransfer, StrippingFactorNearOne)
{
    const PackingParams p = Mellapak250Y();
    const MassTransferResult one = MassTransferHeightsFrom(Inputs(1.0), p);
    ExpectRel(one.HTUOV, 0.3905242234259666);
    EXPECT_EQ(one.HETP, one.HTUOV);
    const MassTransferResult near = MassTransferHeightsFrom(Inputs(1.0 + 5e-9), p);
    EXPECT_EQ(near.HETP, near.HTUOV);
    // 2e-8 away the logarithmic form applies; it is 1e-8 below HTUOV, so the
    // tolerance is far tighter than that difference.
    const MassTransferResult off = MassTransferHeightsFrom(Inputs(1.0 + 2e-8), p);
    ExpectRel(off.HTUOV, 0.39052422622418714, 1e-13);
    ExpectRel(off.HETP, 0.3905242223189449, 1e-13);
    EXPECT_LT(off.HETP, off.HTUOV);
}

TEST(MassTransfer, VapourDiffusionAffectsOnlyTheVapourSide)
{
    const PackingParams p = Mellapak250Y();
    const MassTransferResult base = MassTransferHeightsFrom(Inputs(0.8), p);
    MassTransferInputs in = Inputs(0.8);
    in.DV = 2e-5;
    const MassTransferResult changed = MassTransferHeightsFrom(in, p);
    EXPECT_EQ(changed.HTUL, base.HTUL);
    EXPECT_LT(changed.HTUV, base.HTUV);
    EXPECT_LT(changed.HTUOV, base.HTUOV);
    EXPECT_LT(changed.HETP, base.HETP);
}

TEST(MassTransfer, ErrorsRaiseFloatingPointFlags)
{
    const PackingParams p = Mellapak250Y();
    EXPECT_FALSE(RaisesFloatError([&] { return MassTransferHeightsFrom(Inputs(0.8), p).HETP; }));
    for (double lambda : {0.0, -0.5}) {
        EXPECT_TRUE(RaisesFloatError([&] { return MassTransferHeightsFrom(Inputs(lambda), p).HETP; }))
            << "lambda = " << lambda;
    }
    EXPECT_TRUE(RaisesFloatError([&] {
        MassTransferInputs in = Inputs(0.8);
        in.d = 0.0;
        return MassTransferHeightsFrom(in, p).HTUV;
    }));
    EXPECT_TRUE(RaisesFloatError([] { return MassTransferHeightsFrom(Inputs(0.8), PackingParams{}).HTUV; }));
}
