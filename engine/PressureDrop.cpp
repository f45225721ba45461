#include "PressureDrop.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double g = 9.81;
}

double HoldupCorrection(double X)
{
    // 4 - 1/X has value 2 and slope 4 at X = 0.5, like 1 / (1 - X).
    return X <= 0.5 ? 1.0 / (1.0 - X) : 4.0 - 1.0 / X;
}

double HoldupFloodLimit(double S, double dPdry, double rhoL)
{
    const double C3 = 71.35 * S + 0.614;
    const double pole = 1.0 / C3;
    if (!(dPdry > 0) || !(rhoL > 0)) return pole;
    // Invert HoldupCorrection for the factor that gives the liquid head.
    const double R = std::pow(g * rhoL / dPdry, 0.2);
    double X;
    if (R <= 2.0)
        X = 1.0 - 1.0 / R;
    else if (R < 4.0)
        X = 1.0 / (4.0 - R);
    else
        return pole; // the continuation never reaches the head
    return std::min(X / C3, pole);
}

double WettedFractionFactor(double S, double eps, double theta, double sigma, double muL, double rhoL,
                            double uLs)
{
    const double WeL = uLs * uLs * rhoL * S / sigma;
    const double FrL = uLs * uLs / (S * g);
    const double ReL = uLs * rhoL * S / muL;
    // Contact angle: constant for low surface tension, falling off above.
    const double cosGamma = sigma <= 0.055 ? 0.9 : 5.211 * std::pow(10.0, -16.835 * sigma);
    const double sinT = std::sin(theta);
    return 29.12 * std::pow(WeL * FrL, 0.15) * std::pow(S, 0.359) /
           (std::pow(ReL, 0.2) * std::pow(eps, 0.6) * (1.0 - 0.93 * cosGamma) * std::pow(sinT, 0.3));
}

double DryPressureDrop(double S, double eps, double theta, double muV, double rhoV, double uVs)
{
    const double sinT = std::sin(theta);
    // Squares are formed first, as the formulas write them, so the last
    // digit matches a direct transcription.
    return 0.177 * rhoV * (uVs * uVs) / (S * (eps * eps) * (sinT * sinT)) +
           88.774 * muV * uVs / ((S * S) * eps * sinT);
}

PressureDropResult PressureDropAndHoldup(double S, double eps, double theta, double sigma, double muV,
                                         double muL, double rhoV, double rhoL, double uVs, double uLs,
                                         double r)
{
    const double C3 = 71.35 * S + 0.614;
    const double sinT = std::sin(theta);
    const double FSE = WettedFractionFactor(S, eps, theta, sigma, muL, rhoL, uLs);

    PressureDropResult out;
    out.dPdry = DryPressureDrop(S, eps, theta, muV, rhoV, uVs);

    // Gravity reduced by buoyancy and by the approach to flooding.
    const double geff = g * (rhoL - rhoV) / rhoL * (1.0 - r * r);
    out.hL =
        std::pow(4.0 * FSE / S, 0.66667) * std::pow(3.0 * muL * uLs / (rhoL * eps * geff * sinT), 0.33333);

    const double R = HoldupCorrection(C3 * out.hL);
    out.dPwet = std::pow(R, 5.0) * out.dPdry;
    // Beyond the static head of the liquid the bed is flooded: report the
    // head of the two-phase mixture instead, in whole pascals per metre.
    if (out.dPwet > g * rhoL) {
        out.dPwet = std::nearbyint(g * (uLs * rhoL + uVs * rhoV) / (uLs + uVs));
        out.capped = true;
    }
    return out;
}
