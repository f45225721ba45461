#pragma once
// The display units of the operating check, the comparison, the charts, the
// column rating and the load cases: the unit system (SI as the pages have
// always shown, or US customary) and, in SI, the pressure-drop unit (mbar/m
// and mbar, the default, or Pa/m and Pa). Only the display follows them; the
// engine and velk-calc's JSON keep their units. The calculation page's
// fields keep their own unit lists (the system choice sets them separately,
// ApplyUnitSystem).
//
// A page keeps its figures in the page units below and calls, per figure:
//   ShownFigure(kind, value)   the number to show,
//   FigureUnit(kind)           its unit ("mbar/m", "inH2O/ft", ...),
//   FigureDecimals(kind, n)    the decimals for n decimals in the page unit,
//   WithFigureUnit(text, kind, pageUnit)  a caption with its unit swapped.
// In SI every figure except the pressure drops is shown as it is, and the
// texts stay exactly as they were.

#include <QString>
#include <functional>
#include <optional>

#include "UnitSystem.h"

enum class PressureDropUnit { Mbar, Pa };

// The kinds of figure that change with the units, by their page unit.
enum class FigureKind {
    PressureDropPerLength, // mbar/m: SI mbar/m or Pa/m, US inH2O/ft
    BedPressureDrop,       // mbar:   SI mbar or Pa,     US inH2O
    Length,                // m (diameter, height, HTU, HETP): US ft
    LiquidLoad,            // m3/(m2 h): US gpm/ft2
    Velocity,              // m/s: US ft/s
    // The inputs, in the US units the calculation page's US system selects.
    MassFlow,       // kg/s: US lb/h
    Density,        // kg/m3: US lb/ft3
    Viscosity,      // Pa.s: US cp
    SurfaceTension, // N/m: US dyn/cm
    Diffusivity,    // m2/s: US ft2/h
};
// The F-factor stays in Pa^0.5 in both systems (docs/units.md says why).

UnitSystem CurrentDisplaySystem();
// Sets the system and tells every subscriber when it changed.
void SetDisplaySystem(UnitSystem system);
// "SI" / "US", as the option file keeps it; anything else gives fallback.
QString DisplaySystemName(UnitSystem system);
UnitSystem DisplaySystemFromName(const QString& name, UnitSystem fallback);

double ShownFigure(FigureKind kind, double pageValue);
std::optional<double> ShownFigure(FigureKind kind, const std::optional<double>& pageValue);
// The shown unit; the liquid load in SI is "m3/(m2·h)".
QString FigureUnit(FigureKind kind);
int FigureDecimals(FigureKind kind, int pageDecimals);
// text with its last pageUnit replaced by FigureUnit(kind) where the shown
// unit differs from the page unit; otherwise text as it is.
QString WithFigureUnit(QString text, FigureKind kind, const QString& pageUnit);

PressureDropUnit CurrentPressureDropUnit();
// Sets the unit and tells every subscriber when it changed.
void SetPressureDropUnit(PressureDropUnit unit);
// Called after every change of the unit or the system; the id unsubscribes.
int SubscribePressureDropUnit(std::function<void()> changed);
void UnsubscribePressureDropUnit(int id);

// "mbar" / "Pa", as the option file keeps it; anything else gives fallback.
QString PressureDropUnitName(PressureDropUnit unit);
PressureDropUnit PressureDropUnitFromName(const QString& name, PressureDropUnit fallback);

// A pressure drop per metre in mbar/m in the shown unit (ShownFigure of
// PressureDropPerLength). In SI the same number serves a bed's drop in mbar.
double ShownPressureDrop(double mbar);
// "mbar/m", "Pa/m" or "inH2O/ft"; "mbar", "Pa" or "inH2O".
QString PerMetrePressureDropUnit();
QString BedPressureDropUnit();
// Decimals for a value shown with mbarDecimals in mbar/m: two fewer in Pa,
// one more in inH2O/ft.
int PressureDropDecimals(int mbarDecimals);

// Subscribed for its lifetime: a page keeps one as its last member.
class PressureDropUnitWatch {
public:
    explicit PressureDropUnitWatch(std::function<void()> changed) : id_(SubscribePressureDropUnit(std::move(changed))) {}
    ~PressureDropUnitWatch() { UnsubscribePressureDropUnit(id_); }
    PressureDropUnitWatch(const PressureDropUnitWatch&) = delete;
    PressureDropUnitWatch& operator=(const PressureDropUnitWatch&) = delete;

private:
    int id_;
};
