#pragma once
// Floating-point invalid operations, division by zero and overflow are errors
// in this program; underflow is not. The calculation runs plain IEEE
// arithmetic and checks the sticky exception flags afterwards, so a NaN or an
// infinity never travels on into a field.
//
// The flags are state of the thread that any code may leave set (a GUI
// platform plugin does), so a check means something only for the operations
// since the flags were cleared. FloatGuard is the one way to check: it clears
// the flags, the guarded operations run, then Check() or Checked() looks.
// Guards nest: a guard hands the flags that were set when it started back
// to the code around it, so an inner guard never hides an outer one's error.

#include <cfenv>
#include <cmath>

#include "Messages.h"

inline constexpr const char* kInvalidOpText = "Invalid floating point operation";
inline constexpr const char* kZeroDivideText = "Floating point division by zero";
inline constexpr const char* kOverflowText = "Floating point overflow";

// The raised flags among `excepts`. On x86-64 the same two reads as the C
// library's fetestexcept (x87 status word and SSE control register), inline:
// the solver tests at every equation evaluation, where the call showed.
inline int RaisedFloatFlags(int excepts)
{
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    unsigned short x87 = 0;
    unsigned int mxcsr = 0;
    __asm__ volatile("fnstsw %0" : "=a"(x87));
    __asm__ volatile("stmxcsr %0" : "=m"(mxcsr));
    return static_cast<int>((x87 | mxcsr) & static_cast<unsigned>(excepts & FE_ALL_EXCEPT));
#else
    return std::fetestexcept(excepts);
#endif
}

class FloatGuard {
public:
    static constexpr int kErrorFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

    // Only the error flags matter, and only when one is set is there anything
    // to save and clear: testing is cheap, saving and restoring the whole
    // floating-point environment is not, and a guard runs at every equation
    // evaluation of the solver.
    FloatGuard()
    {
        savedBits_ = RaisedFloatFlags(kErrorFlags);
        if (savedBits_ != 0) {
            std::fegetexceptflag(&saved_, savedBits_);
            std::feclearexcept(savedBits_);
        }
    }
    // Sets again what was set before; what was raised since stays raised.
    ~FloatGuard()
    {
        if (savedBits_ != 0) std::fesetexceptflag(&saved_, savedBits_);
    }
    FloatGuard(const FloatGuard&) = delete;
    FloatGuard& operator=(const FloatGuard&) = delete;

    // Throws EMathError when an error flag was raised since the guard began.
    // A reported flag is cleared: whoever catches the error has dealt with it.
    void Check() const
    {
        const int raised = RaisedFloatFlags(kErrorFlags);
        if (raised == 0) return;
        std::feclearexcept(kErrorFlags);
        if (raised & FE_INVALID) throw EMathError(kInvalidOpText);
        if (raised & FE_DIVBYZERO) throw EMathError(kZeroDivideText);
        throw EMathError(kOverflowText);
    }
    void check() const { Check(); }

    // Check(), and a result that is NaN or infinite is an error even when no
    // flag says so (a NaN read from elsewhere).
    double Checked(double x) const
    {
        Check();
        if (std::isnan(x)) throw EMathError(kInvalidOpText);
        if (std::isinf(x)) throw EMathError(kOverflowText);
        return x;
    }

private:
    std::fexcept_t saved_{};
    int savedBits_ = 0;
};

// The pattern for one value: clear, compute, check. The operation passed in
// should hold arithmetic only: code that may run an event loop (a reply from
// another process) belongs before it, since whatever runs there may raise flags.
template <class Operation> double CheckedResult(Operation&& operation)
{
    FloatGuard guard;
    const double x = operation();
    return guard.Checked(x);
}
