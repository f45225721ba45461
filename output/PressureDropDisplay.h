#pragma once
// The pressure-drop unit of the operating check, the comparison, the charts
// and the column rating: one choice for all of them, mbar/m and mbar (the
// default) or Pa/m and Pa. Only the display follows it; the engine and
// velk-calc's JSON keep their units. The calculation page's fields keep
// their own unit lists.

#include <QString>
#include <functional>

enum class PressureDropUnit { Mbar, Pa };

PressureDropUnit CurrentPressureDropUnit();
// Sets the unit and tells every subscriber when it changed.
void SetPressureDropUnit(PressureDropUnit unit);
// Called after every change of the unit; the id unsubscribes.
int SubscribePressureDropUnit(std::function<void()> changed);
void UnsubscribePressureDropUnit(int id);

// "mbar" / "Pa", as the option file keeps it; anything else gives fallback.
QString PressureDropUnitName(PressureDropUnit unit);
PressureDropUnit PressureDropUnitFromName(const QString& name, PressureDropUnit fallback);

// A value in mbar (per metre or over a bed) in the chosen unit.
double ShownPressureDrop(double mbar);
// "mbar/m" or "Pa/m"; "mbar" or "Pa".
QString PerMetrePressureDropUnit();
QString BedPressureDropUnit();
// Decimals for a value shown with mbarDecimals in mbar: two fewer in Pa.
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
