#include "MassTransfer.h"

#include <cmath>
#include <numbers>

namespace
{
constexpr double g = 9.81;
constexpr double pi = std::numbers::pi;
} // namespace

double EqEquilibriumSlope(const double* v)
{
    const double alpha = v[0], m = v[1];
    return 0.9 * alpha - (0.9 * alpha + 0.1) * m;
}

double EqStrippingFactor(const double* v)
{
    const double m = v[0], V = v[1], L = v[2], lambda = v[3];
    return m * V / L - lambda;
}

MassTransferResult MassTransferHeightsFrom(const MassTransferInputs& in, const PackingParams& p)
{
    // Channel perimeter per unit cross-section and the liquid flow per
    // perimeter of the wetted walls.
    const double P = (4.0 * p.S + p.B2) / (p.B2 * p.h);
    const double Gamma = 4.0 * in.L / (pi * (in.d * in.d) * P);
    const double deq = p.B2 * p.h * (1.0 / (2.0 * p.S + p.B2) + 1.0 / (2.0 * p.S));
    // Film velocity of a falling laminar film.
    const double uLe =
        (3.0 * Gamma / (2.0 * in.rhoL)) * std::pow(in.rhoL * in.rhoL * g / (3.0 * in.muL * Gamma), 0.3333);
    // The liquid fraction X of the channel is taken as 0: the effective vapour
    // velocity is the plain uVs / (eps sin theta). The holdup-corrected form
    // would tie the mass transfer to the pressure-drop model; the simpler
    // form keeps the heights independent of it and is used for every case.
    const double X = 0.0;
    const double uGe = in.uVs / (p.eps * (1.0 - X) * std::sin(p.theta));
    const double ReG = (in.rhoV / in.muV) * p.dh * (uGe + uLe);
    const double F = std::pow(250.0 / p.a, 0.5);
    const double kL = 2.0 * std::sqrt(in.DL * uLe / (pi * p.S)) * F;
    const double ScG = in.muV / (in.rhoV * in.DV);
    const double Sh = 0.0338 * std::pow(ReG, 0.8) * std::pow(ScG, 0.3333);
    const double kG = Sh * in.DV / deq * F;
    const double ae = 0.9 * p.a;

    const double area = pi * (in.d * in.d); // the square first, as written
    MassTransferResult out;
    out.HTUV = (4.0 * in.V / area) / (kG * ae * in.rhoV);
    out.HTUL = (4.0 * in.L / area) / (kL * ae * in.rhoL);
    out.HTUOV = out.HTUV + in.lambda * out.HTUL;
    out.HETP = HetpFromTransferUnits(out.HTUOV, in.lambda);
    return out;
}

double HetpFromTransferUnits(double HTUOV, double lambda)
{
    // ln(lambda) / (lambda - 1) tends to 1 as lambda tends to 1.
    if (std::fabs(lambda - 1.0) < 1e-8) return HTUOV;
    return HTUOV * std::log(lambda) / (lambda - 1.0);
}
