#pragma once
// The unit lists of the value fields. The factors are the decimal texts as
// they stand (1 m/h counts as 0.0002777777 m/s, not 1/3600): stored project
// files and printed results depend on these exact texts.

#include <string>
#include <vector>

struct UnitItem {
    const char* name;
    const char* factor;
};

struct UnitList {
    const char* id;
    int width; // the unit name is padded with blanks to this many characters
    std::vector<UnitItem> items;
};

// The list a field uses, by the field's component name; nullptr if none.
const UnitList* UnitListForField(const std::string& fieldName);

// The selector's item strings for a field: name, blanks, "|", factor text.
std::vector<std::string> UnitItemsForField(const std::string& fieldName);

// Pads name to width characters (a multi-byte character counts as one).
std::string PadUnitName(const std::string& name, int width);
