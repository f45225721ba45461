#pragma once
// The pieces of velk-calc's JSON that describe one page, shared by every
// command that prints a page (a single run, a comparison entry, a profile
// stage), so that the same page always prints the same bytes.

#include <string>

class CalcPage;
struct OperatingCheck;

// A JSON string of the text; bytes that are not UTF-8 become U+FFFD.
std::string JsonString(const std::string& text);
// null for a value that is not finite.
std::string JsonNumber(double v);

// The value of "fields": every value field with its text, unit, SI value and
// state, "stale" and "invalid" included.
std::string FieldsJson(const CalcPage& page);
// The value of "operation": the operating figures, null where undefined.
std::string OperationJson(const OperatingCheck& check);
// The value of "warnings": [{"code", "field", "text", "severity"}, ...].
std::string WarningsJson(const OperatingCheck& check);
// true when a warning of error severity (flooded, over-capacity) is among them.
bool HasErrorWarning(const OperatingCheck& check);
// The value of "packing": the parameters of the current packing.
std::string PackingJson();
