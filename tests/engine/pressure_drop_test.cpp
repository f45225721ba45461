// Dry and irrigated pressure drop and the liquid holdup. Expected values come
// from tests/engine/data/correlations_reference.py unless a comment says
// otherwise.
#include <gtest/gtest.h>

#include <cmath>

#include "CorrelationTestSupport.h"
#include "PressureDrop.h"

namespace
{
// Mellapakr-250Y geometry (S 17.8 mm, eps 0.97, 45 degrees) with a light
// hydrocarbon system.
struct Case {
    double S = 0.0178, eps = 0.97, theta = M_PI / 4, sigma = 0.02, muV = 1e-5, muL = 3e-4, rhoV = 2.5,
           rhoL = 800, uVs = 1.5, uLs = 0.005, r = 0.6;
    PressureDropResult Run() const
    {
        return PressureDropAndHoldup(S, eps, theta, sigma, muV, muL, rhoV, rhoL, uVs, uLs, r);
    }
};
} // namespace

TEST(PressureDrop, TypicalOperatingPoint)
{
    const PressureDropResult res = Case{}.Run();
    ExpectRel(res.dPdry, 125.02210891613126);
    ExpectRel(res.hL, 0.07060475603206917);
    ExpectRel(res.dPwet, 255.2378798211353);
}

TEST(PressureDrop, ContactAngleSwitchesAboveFiftyFiveMillinewtons)
{
    Case c;
    c.sigma = 0.055; // cos(gamma) = 0.9
    const PressureDropResult at = c.Run();
    ExpectRel(at.hL, 0.06381172246412437);
    ExpectRel(at.dPwet, 237.2052476579113);
    c.sigma = 0.0551; // 5.211 * 10^(-16.835 sigma)
    const PressureDropResult above = c.Run();
    ExpectRel(above.hL, 0.033548444477466716);
    ExpectRel(above.dPwet, 173.28738873851756);
    // Surface tension leaves the dry pressure drop alone.
    EXPECT_EQ(at.dPdry, above.dPdry);
    EXPECT_EQ(at.dPdry, Case{}.Run().dPdry);
}

TEST(PressureDrop, HoldupCorrectionIsContinuousWithoutAPole)
{
    // By hand: 1/(1-X) up to 0.5, 4 - 1/X beyond.
    EXPECT_DOUBLE_EQ(HoldupCorrection(0.0), 1.0);
    EXPECT_DOUBLE_EQ(HoldupCorrection(0.25), 4.0 / 3.0);
    EXPECT_DOUBLE_EQ(HoldupCorrection(0.5), 2.0);
    EXPECT_NEAR(HoldupCorrection(std::nextafter(0.5, 1.0)), 2.0, 1e-15);
    EXPECT_DOUBLE_EQ(HoldupCorrection(0.75), 4.0 - 4.0 / 3.0);
    EXPECT_DOUBLE_EQ(HoldupCorrection(1.0), 3.0);
    EXPECT_DOUBLE_EQ(HoldupCorrection(10.0), 3.9);
    // Slope 4 on both sides of the joint.
    const double h = 1e-6;
    EXPECT_NEAR((HoldupCorrection(0.5) - HoldupCorrection(0.5 - h)) / h, 4.0, 1e-4);
    EXPECT_NEAR((HoldupCorrection(0.5 + h) - HoldupCorrection(0.5)) / h, 4.0, 1e-4);
}

TEST(PressureDrop, FloodedBedIsCappedAtTheMixtureHead)
{
    // Viscous light liquid near flooding: X = 13.06, R^5 dPdry far above g rhoL.
    Case c;
    c.muL = 0.05;
    c.rhoL = 60;
    c.uLs = 0.02;
    c.r = 0.9;
    const PressureDropResult res = c.Run();
    ExpectRel(res.hL, 6.932893987843535);
    // 9.81 * (0.02 * 60 + 1.5 * 2.5) / 1.52 = 31.947 -> 32
    EXPECT_EQ(res.dPwet, 32.0);
    ExpectRel(res.dPdry, 125.02210891613126);
}

TEST(PressureDrop, CapRoundsHalvesToEven)
{
    // uLs = uVs = 1 and rhoL + rhoV = 65/9.81 resp. 67/9.81 (rhoV 0.5) make the
    // mixture head exactly 32.5 resp. 33.5 in double arithmetic.
    Case c;
    c.muV = 1e-3;
    c.muL = 1e-3;
    c.rhoV = 0.5;
    c.uVs = 1.0;
    c.uLs = 1.0;
    c.r = 0.5;
    c.rhoL = 6.125891946992864;
    EXPECT_EQ(c.Run().dPwet, 32.0);
    c.rhoL = 6.329765545361875;
    EXPECT_EQ(c.Run().dPwet, 34.0);
}

TEST(PressureDrop, ErrorsRaiseFloatingPointFlags)
{
    EXPECT_FALSE(RaisesFloatError([] {
        const PressureDropResult res = Case{}.Run();
        return res.dPdry + res.dPwet + res.hL;
    }));
    for (double r : {1.0, 1.2}) { // at or above flooding
        EXPECT_TRUE(RaisesFloatError([=] {
            Case c;
            c.r = r;
            return c.Run().hL;
        })) << "r = "
            << r;
    }
    EXPECT_TRUE(RaisesFloatError([] { // no liquid
        Case c;
        c.uLs = 0.0;
        return c.Run().hL;
    }));
    EXPECT_TRUE(RaisesFloatError([] { // no packing looked up yet
        Case c;
        c.S = 0.0;
        c.eps = 0.0;
        c.theta = 0.0;
        return c.Run().dPdry;
    }));
}
