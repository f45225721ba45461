#pragma once
// A project that uses one of the user's packings keeps that packing's row
// in a record of its own, written just before the packing selector's, so
// that it opens and computes the same where the catalogue lacks the row.
// A project with a built-in packing has no such record and stays as it was.

#include <string>
#include <string_view>

class CalcPage;

// The record's control name; readers that do not know it skip it.
inline constexpr const char* kUserPackingRecord = "PTDUserRow";

bool IsUserPackingRecord(std::string_view control);

// The record's value (the row as a CSV line, UTF-8) when the page's packing
// is one of the user's, else "".
std::string UserPackingRecordValue(const CalcPage& page);

// Takes the row of a record's value into the catalogue: added when the
// catalogue lacks it, put in place of a user row of the same name with other
// cells (with a warning: the project computes with its own row). The
// selector gets the new names. Returns the packing's name. Throws
// EConvertError when the row is broken or names a built-in packing.
std::string TakeUserPackingRecord(CalcPage& page, const std::string& value);
