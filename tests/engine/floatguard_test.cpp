// Floating-point checks see only the operations they guard: flags left set by
// other code (a GUI platform does) never fail a result, nested guards neither
// hide nor invent each other's errors, and a NaN or infinity always fails.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <string>

#include "FloatGuard.h"

namespace
{

constexpr int kErrors = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

std::string ErrorOf(double (*operation)())
{
    try {
        CheckedResult(operation);
    } catch (const EMathError& e) {
        return e.what();
    }
    return "";
}

volatile double zero = 0, one = 1, big = 1e308;

} // namespace

TEST(FloatGuard, CheckedResultJudgesOnlyItsOwnOperation)
{
    struct Case {
        double (*operation)();
        const char* error;
    };
    const Case cases[] = {
        {[] { return one / 3; }, ""},
        {[] { return zero / zero; }, kInvalidOpText},
        {[] { return one / zero; }, kZeroDivideText},
        {[] { return big * 10; }, kOverflowText},
        {[] { return std::nan(""); }, kInvalidOpText}, // no flag: a NaN from elsewhere
        {[] { return -HUGE_VAL; }, kOverflowText},
    };
    for (bool leftSet : {false, true})
        for (const Case& c : cases) {
            if (leftSet) std::feraiseexcept(kErrors);
            EXPECT_EQ(ErrorOf(c.operation), c.error) << "flags left set: " << leftSet;
            // What was set before is set again afterwards.
            EXPECT_EQ(std::fetestexcept(kErrors) == kErrors, leftSet);
            std::feclearexcept(FE_ALL_EXCEPT);
        }
}

TEST(FloatGuard, NestedGuardsKeepEachOthersErrors)
{
    std::feclearexcept(FE_ALL_EXCEPT);
    {
        FloatGuard outer;
        volatile double r = big * 10; // the outer guard's overflow
        {
            FloatGuard inner;
            r = one / 3;
            EXPECT_NO_THROW(inner.Check());
        }
        EXPECT_THROW(outer.Check(), EMathError) << r;
    }
    std::feclearexcept(FE_ALL_EXCEPT);
    {
        FloatGuard outer;
        {
            FloatGuard inner;
            volatile double r = zero / zero;
            EXPECT_THROW(inner.Check(), EMathError) << r;
        }
        // Reported and caught inside: not the outer guard's error.
        EXPECT_NO_THROW(outer.Check());
    }
    std::feclearexcept(FE_ALL_EXCEPT);
}
