#pragma once
// The packing selector follows the catalogue when the user's rows change.

#include <string>
#include <vector>

class CalcPage;
class TComboModel;

// The type names of the catalogue in row order (rows without one skipped).
std::vector<std::string> CatalogueTypeNames();

// Gives the selector the catalogue's names (its views are told), keeping the
// selected packing by its name. False when that packing is gone: item 0 is
// selected then.
bool RefreshPackingItems(TComboModel& selector);

// Selects the packing of that name; false (selection unchanged) when the
// selector has no such item.
bool SelectPackingByName(TComboModel& selector, const std::string& name);

// The selector's packing is one of the user's.
bool SelectsUserPacking(const CalcPage& page);
