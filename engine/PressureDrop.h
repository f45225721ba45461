#pragma once
// Dry and irrigated pressure drop per metre of packing and the liquid holdup
// of a corrugated-sheet channel model.

struct PressureDropResult {
    double dPdry; // Pa per m of packing
    double dPwet; // Pa per m of packing
    double hL;    // m3 liquid per m3 packing
    // dPwet is not a pressure drop but the head of the flooded bed that
    // replaced it: beyond the model, never to be shown or used as one.
    bool capped = false;
};

// S side (m), eps void fraction, theta inclination (rad) of the packing;
// sigma (N/m), viscosities (Pa s), densities (kg/m3), loads uVs and uLs (m/s)
// and r = uVs / flood velocity. Plain IEEE arithmetic: r >= 1 or uLs = 0
// raise floating-point flags for the caller to check.
PressureDropResult PressureDropAndHoldup(double S, double eps, double theta, double sigma, double muV,
                                         double muL, double rhoV, double rhoL, double uVs, double uLs,
                                         double r);

// The fraction of the packing surface the liquid wets (the holdup model's
// factor): from the liquid's Weber, Froude and Reynolds numbers, S, eps, the
// contact angle and theta; SI values. The mass transfer takes its effective
// area from the same factor, so both rest on one wetting.
double WettedFractionFactor(double S, double eps, double theta, double sigma, double muL, double rhoL,
                            double uLs);

// The dry pressure drop alone (Pa per m), the same arithmetic as above; it
// stays defined at and beyond flooding, where the holdup model is not.
double DryPressureDrop(double S, double eps, double theta, double muV, double rhoV, double uVs);

// The holdup at the model's own flood point: where the irrigated pressure
// drop HoldupCorrection(C3 hL)^5 * dPdry reaches the liquid head g rhoL (the
// point from which the head replaces it), C3 = 71.35 S + 0.614; never above
// the pole C3 hL = 1 of the correction.
double HoldupFloodLimit(double S, double dPdry, double rhoL);

// Factor by which the holdup raises the dry pressure drop (to the fifth power)
// for X = C3 * hL. Continues 1 / (1 - X) beyond X = 0.5 without its pole.
double HoldupCorrection(double X);
