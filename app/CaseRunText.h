#pragma once
// The texts of a case in a table of cases (a profile stage, a comparison
// row), in the interface language at the moment they are shown.

#include <QString>
#include <string>

struct StageRating;

// An engine text of a case (an error, a note), translated; an incomplete
// case's list of missing fields keeps the field names.
QString CaseText(const std::string& text);
// The same as UTF-8, for the report's rows.
std::string CaseTextUtf8(const std::string& text);
// "stage N: cause" for a stage's error, or its note when it was skipped;
// "" when it has neither.
QString StageMessage(const StageRating& stage);
