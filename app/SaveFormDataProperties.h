#pragma once
// The published properties of the page's controls, found by name without
// regard to case and set through the models' setters with all their
// effects; and the conversions of property values from their texts.

#include <optional>
#include <string>
#include <string_view>

class TControl;

// The kind of property a record's type tag applies to.
enum class PropertyKind { String, Float, Ord, Enum };

// "String", "Float", "Ord", "Enum"; any other tag has no property kind.
std::optional<PropertyKind> PropertyKindOfTag(std::string_view tag);

// Sets the published property `name` of control from text (UTF-8). Returns
// false, changing nothing, when the control publishes no property of that
// name or its kind is not `kind`. Throws EConvertError when the text does
// not convert to a value of the property.
bool SetPublishedProperty(TControl& control, std::string_view name, PropertyKind kind,
                          const std::string& text);

// Conversions shared by both project readers; each throws EConvertError
// with the platform's text.
// A decimal number, point as separator, blanks around it allowed.
double FloatFromText(const std::string& text);
// A decimal whole number within [min, max], blanks around it allowed.
long long OrdFromText(const std::string& text, long long min, long long max);
// A unit factor: a number that is positive, finite and not subnormal (a
// zero or negative factor would turn every later conversion into nonsense).
double FactorFromText(const std::string& text);
// "True" or "False" in any letter case.
bool BooleanFromIdentifier(const std::string& text);

// The shortest text that reads back as exactly the same double.
std::string FloatToText(double value);

class TComboBoxU;
// Selects item `index` of a unit selector, running its conversion. An index
// outside the list throws EConvertError ("List index out of bounds"): a
// selector with nothing selected would leave its field without a unit.
void SelectUnitItem(TComboBoxU& selector, long long index);
