// Dry and irrigated pressure drop and the liquid holdup. Expected values come
// from python3 (tests/engine/data/correlations_reference.py) unless a comment
// says otherwise.
#include <gtest/gtest.h>

#include <cmath>

#include "CorrelationTestSupport.h"
#include "PressureDrop.h"

namespace
{
// Mellapakr-250Y geometry (S 17.8 mm, eps 0.97, 45 degrees), light hydrocarbon.
struct Case {
    double S = 0.0178, eps = 0.97, theta = M_PI / 4, sigma = 0.02, muV = 1e-5, muL = 3e-4, rhoV = 2.5,
           rhoL = 800, uVs = 1.5, uLs = 0.005, r = 0.6;
    PressureDropResult Run() const
    {
        return PressureDropAndHoldup(S, eps, theta, sigma, muV, muL, rhoV, rhoL, uVs, uLs, r);
    }
};
} // namespace

TEST(PressureDrop, OperatingPointAndContactAngleSwitch)
{
    const PressureDropResult base = Case{}.Run();
    ExpectRel(base.dPdry, 125.02210891613126);
    ExpectRel(base.hL, 0.07060475603206917);
    ExpectRel(base.dPwet, 255.2378798211353);
    Case c;
    c.sigma = 0.055; // cos(gamma) = 0.9 still
    const PressureDropResult at = c.Run();
    ExpectRel(at.hL, 0.06381172246412437);
    ExpectRel(at.dPwet, 237.2052476579113);
    c.sigma = 0.0551; // 5.211 * 10^(-16.835 sigma)
    const PressureDropResult above = c.Run();
    ExpectRel(above.hL, 0.033548444477466716);
    ExpectRel(above.dPwet, 173.28738873851756);
    EXPECT_EQ(above.dPdry, base.dPdry); // surface tension leaves the dry drop alone
}

TEST(PressureDrop, HoldupCorrectionIsContinuousWithoutAPole)
{
    // By hand: 1/(1-X) up to 0.5, 4 - 1/X beyond; value 2 and slope 4 at the joint.
    EXPECT_DOUBLE_EQ(HoldupCorrection(0.25), 4.0 / 3.0);
    EXPECT_DOUBLE_EQ(HoldupCorrection(0.5), 2.0);
    EXPECT_NEAR(HoldupCorrection(std::nextafter(0.5, 1.0)), 2.0, 1e-15);
    EXPECT_DOUBLE_EQ(HoldupCorrection(1.0), 3.0);
    EXPECT_DOUBLE_EQ(HoldupCorrection(10.0), 3.9);
    const double h = 1e-6;
    EXPECT_NEAR((HoldupCorrection(0.5) - HoldupCorrection(0.5 - h)) / h, 4.0, 1e-4);
    EXPECT_NEAR((HoldupCorrection(0.5 + h) - HoldupCorrection(0.5)) / h, 4.0, 1e-4);
}

TEST(PressureDrop, FloodedBedIsCappedAtTheWholeMixtureHead)
{
    // Viscous light liquid near flooding: X = 13.06, R^5 dPdry far above g rhoL;
    // head 9.81 * (0.02 * 60 + 1.5 * 2.5) / 1.52 = 31.947 -> 32 (by hand).
    Case c;
    c.muL = 0.05, c.rhoL = 60, c.uLs = 0.02, c.r = 0.9;
    const PressureDropResult res = c.Run();
    ExpectRel(res.hL, 6.932893987843535);
    EXPECT_EQ(res.dPwet, 32.0);
    // uLs = uVs = 1 and rhoL + rhoV = 65/9.81 resp. 67/9.81 make the head
    // exactly 32.5 resp. 33.5 in double arithmetic: halves go to even.
    c = Case{};
    c.muV = 1e-3, c.muL = 1e-3, c.rhoV = 0.5, c.uVs = 1.0, c.uLs = 1.0, c.r = 0.5;
    c.rhoL = 6.125891946992864;
    EXPECT_EQ(c.Run().dPwet, 32.0);
    c.rhoL = 6.329765545361875;
    EXPECT_EQ(c.Run().dPwet, 34.0);
}

TEST(PressureDrop, ErrorsRaiseFloatingPointFlags)
{
    Case c;
    EXPECT_FALSE(RAISES_FLOAT_ERROR(c.Run().dPdry + c.Run().dPwet + c.Run().hL));
    for (double r : {1.0, 1.2}) { // at or above flooding
        c.r = r;
        EXPECT_TRUE(RAISES_FLOAT_ERROR(c.Run().hL)) << "r = " << r;
    }
    c = Case{};
    c.uLs = 0.0; // no liquid
    EXPECT_TRUE(RAISES_FLOAT_ERROR(c.Run().hL));
    c = Case{};
    c.S = c.eps = c.theta = 0.0; // no packing looked up yet
    EXPECT_TRUE(RAISES_FLOAT_ERROR(c.Run().dPdry));
}
