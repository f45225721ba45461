#pragma once
// The load cases in a project file: form records naming a control that the
// calculation page does not own ("LoadCases"), so that a reader that knows
// no cases skips them. A project without cases carries none.
//
//   LoadCases  String  Case  V;rhoV;muV;L;rhoL;muL;sigma;DL;DV;m;name   (SI, empty: from the page)
//
// The name comes last: it may hold the separator.

#include <string>
#include <string_view>
#include <vector>

#include "LoadCaseCsv.h"
#include "LoadCases.h"

// Checks cases from a file, the table or a project by the rules of
// LoadCaseRules.h: at most kMaxLoadCases, each valid (CheckLoadCase), no
// name twice. Throws EConvertError naming the first case at fault.
void ValidateLoadCases(const std::vector<LoadCase>& cases);

// True for the control whose records the cases are made of.
bool IsLoadCaseRecordControl(std::string_view name);

// The records of the cases (GBK, CR LF), "" without cases.
std::string LoadCaseRecordsText(const std::vector<LoadCase>& cases);

// The cases held by the records of a project's plain text (none when it
// holds none, or has no banner). Throws EConvertError for a value that does
// not convert or cases that do not validate, EProjectTooLarge beyond
// kMaxLoadCases. failedLine, when given, receives the line (from 1) of a
// value that did not convert, or 0 for cases that do not validate.
std::vector<LoadCase> LoadCasesFromFormRecords(std::string_view plainText, std::size_t* failedLine = nullptr);
