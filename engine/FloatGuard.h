#pragma once
// Floating-point invalid operations, division by zero and overflow are errors
// in this program; underflow is not. The calculation runs plain IEEE
// arithmetic and checks the sticky exception flags afterwards, so a NaN or an
// infinity never travels on into a field.

#include <cfenv>
#include <cmath>

#include "Messages.h"

inline constexpr const char* kInvalidOpText = "Invalid floating point operation";
inline constexpr const char* kZeroDivideText = "Floating point division by zero";
inline constexpr const char* kOverflowText = "Floating point overflow";

// Throws EMathError when one of the error flags is raised.
inline void CheckFloatFlags()
{
    const int raised = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
    if (raised & FE_INVALID)
        throw EMathError(kInvalidOpText);
    if (raised & FE_DIVBYZERO)
        throw EMathError(kZeroDivideText);
    if (raised & FE_OVERFLOW)
        throw EMathError(kOverflowText);
}

// Clears the flags on entry; check() throws if an error flag was raised since.
class FloatGuard {
public:
    FloatGuard() { std::feclearexcept(FE_ALL_EXCEPT); }
    void check() const { CheckFloatFlags(); }
};

// A result that is NaN or infinite is an error even when no flag says so
// (for instance a NaN read from elsewhere).
inline double CheckedResult(double x)
{
    CheckFloatFlags();
    if (std::isnan(x))
        throw EMathError(kInvalidOpText);
    if (std::isinf(x))
        throw EMathError(kOverflowText);
    return x;
}
