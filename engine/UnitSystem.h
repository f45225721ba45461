#pragma once
// The two unit systems of the calculation page's selectors. SI is the first
// item of every list (the units of a new page); US is the customary choice
// of US datasheets: lb/h, lb/ft3, cP, dyn/cm, ft2/h, ft/s, the liquid load
// in gpm/ft2, ft and inH2O/ft. Lists without a US unit (holdup,
// dimensionless) keep their first item in both systems.

#include <string>

class CalcPage;

enum class UnitSystem { SI, US };

// The index of the system's item in the field's unit list; -1 when the
// field has no list.
int UnitIndexInSystem(const std::string& fieldName, UnitSystem system);

// Selects the system's unit in every unit selector of the page, converting
// the texts as a user's selection does.
void ApplyUnitSystem(CalcPage& page, UnitSystem system);

// "si" / "us"; anything else gives false.
const char* UnitSystemName(UnitSystem system);
bool UnitSystemFromName(const std::string& name, UnitSystem& system);
