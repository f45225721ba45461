#pragma once
// The comma-separated text both of the program's CSV readers take (the tray
// profile and the load cases): the checks before any work, the split of a
// line into fields, and the writing of numbers that read back exactly.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Throws EConvertError "SOURCE:LINE: WHAT" ("SOURCE: WHAT" for line 0).
[[noreturn]] void CsvFail(const std::string& source, int line, const std::string& what);

// ASCII letters in lower case; the other bytes (UTF-8 included) as they are.
std::string AsciiLower(std::string s);

// Before any work, so that a bad file costs no memory: the size (`sizeText`
// names the cap in the message, e.g. "16 MB"), each line's length and NUL bytes.
void CheckCsvText(std::string_view text, const std::string& source, std::size_t maxBytes,
                  const std::string& sizeText, std::size_t maxLine);

// One line's fields: comma separated, blanks around unquoted fields trimmed,
// "..." quoting with "" for a quote. Fails with the line's number on a
// quote left open, text after a closing quote or more than maxFields fields.
std::vector<std::string> SplitCsvFields(const std::string& line, const std::string& source, int lineNo,
                                        std::size_t maxFields);

// The shortest text that reads back to exactly v.
std::string ExactNumber(double v);
