#pragma once
// Helpers shared by the correlation tests.

#include <gtest/gtest.h>

#include <cmath>

#include "FloatGuard.h"

// actual within a relative distance rel of expected.
inline void ExpectRel(double actual, double expected, double rel = 1e-12)
{
    EXPECT_NEAR(actual, expected, std::fabs(expected) * rel) << "expected " << expected;
}

// True when evaluating f raises invalid operation, division by zero or
// overflow, as the caller's guard would report it.
template <class F> bool RaisesFloatError(F&& f)
{
    FloatGuard guard;
    volatile double sink = f();
    (void)sink;
    try {
        guard.check();
    } catch (const EMathError&) {
        return true;
    }
    return false;
}
