#include "ColumnSizing.h"

#include <cmath>
#include <numbers>

#include "TextToFloat.h"

double EqOperatingVelocity(const double* v, const std::string& fpercentText, const std::string& foamingText)
{
    const double uF = v[0], up = v[1];
    const double f = TextToFloat(fpercentText);
    const double A = TextToFloat(foamingText);
    return uF * f * A / 100.0 - up;
}

double EqTheoreticalDiameter(const double* v)
{
    const double V = v[0], up = v[1], rhoV = v[2], dp = v[3];
    return std::sqrt(4.0 * V / (std::numbers::pi * up * rhoV)) - dp;
}

double EqLiquidLoad(const double* v)
{
    const double L = v[0], V = v[1], rhoV = v[2], rhoL = v[3], dp = v[4], d = v[5], up = v[6], uLs = v[7];
    const double ratio = dp / d;
    return ratio * ratio * (L / V) * (rhoV / rhoL) * up - uLs;
}

double EqVapourLoad(const double* v)
{
    const double dp = v[0], d = v[1], up = v[2], uVs = v[3];
    const double ratio = dp / d;
    return ratio * ratio * up - uVs;
}

double RoundColumnDiameter(double dp)
{
    // The diameter in mm is a double on purpose: 0.044 m must become exactly
    // 44 mm, which it does not in extended precision.
    const double x = dp * 1000.0;
    if (std::isnan(x)) return x;
    long double r;
    if (x < 100.0) {
        // Nearest 10 mm of the diameter plus 1 mm; an exact half goes up
        // (44 mm gives 50 mm). The product is formed in extended precision
        // so that only true halves count as halves.
        const long double y = (static_cast<long double>(x) + 1.0L) * 0.1L;
        const long double whole = std::floor(y);
        r = 10.0L * (y - whole >= 0.5L ? whole + 1.0L : whole);
    } else if (x < 1000.0) {
        const long long q = static_cast<long long>(std::nearbyint(x)) / 100;
        const double rem = x - 100.0 * static_cast<double>(q);
        if (rem > 50.0)
            r = 100.0L * static_cast<long double>(q + 1);
        else if (rem > 24.0)
            r = 100.0L * static_cast<long double>(q) + 50.0L;
        else
            r = 100.0L * static_cast<long double>(q);
    } else {
        // Nearest 100 mm of the diameter plus 10 mm; an exact half goes down
        // (1140 mm gives 1100 mm).
        const long double y = (static_cast<long double>(x) + 10.0L) * 0.01L;
        const long double whole = std::floor(y);
        r = 100.0L * (y - whole > 0.5L ? whole + 1.0L : whole);
    }
    return static_cast<double>(r) / 1000.0;
}
