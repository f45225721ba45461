#pragma once
// Helpers shared by the correlation tests.

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "FloatGuard.h"

// actual within a relative distance rel of expected.
inline void ExpectRel(double actual, double expected, double rel = 1e-12)
{
    EXPECT_NEAR(actual, expected, std::fabs(expected) * rel) << "expected " << expected;
}

// The value array of an equation group, written inline: Eq(V(1, 2, 0).data()).
template <class... T> std::array<double, sizeof...(T)> V(T... x)
{
    return {static_cast<double>(x)...};
}

// True when evaluating expr raises invalid operation, division by zero or
// overflow, as the caller's guard would report it.
#define RAISES_FLOAT_ERROR(expr)                                                                             \
    ([&] {                                                                                                   \
        FloatGuard guard;                                                                                    \
        volatile double result = (expr);                                                                     \
        (void)result;                                                                                        \
        try {                                                                                                \
            guard.check();                                                                                   \
        } catch (const EMathError&) {                                                                        \
            return true;                                                                                     \
        }                                                                                                    \
        return false;                                                                                        \
    }())
