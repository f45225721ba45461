#pragma once
// The column profile and its beds in a project file: form records naming
// controls that the calculation page does not own ("ColumnProfile",
// "ColumnProfileBed"), so that a reader that knows no profile skips them.
// A project without a profile carries none.
//
//   ColumnProfile     String  Source  where the stages came from
//   ColumnProfile     Enum    Rating  True: rate the beds' given diameters
//   ColumnProfile     String  Stage   number;V;rhoV;muV;L;rhoL;muL;sigma;DL;DV;m   (SI, empty: not given)
//   ColumnProfileBed  String  Bed     first;last;method;lagrange;diameter;packing

#include <cstddef>
#include <string>
#include <string_view>

#include "ColumnProfile.h"
#include "Messages.h"
#include "SaveFormData.h"

// The most stages a project's profile may hold: the imports' own bound. A
// bed holds at least one stage, so the beds share it. A project beyond
// either is refused while it is read, before it costs the memory.
inline constexpr std::size_t kMaxProfileStages = 10000;
inline constexpr std::size_t kMaxProfileBeds = kMaxProfileStages;

// True for the controls whose records the profile is made of.
bool IsProfileRecordControl(std::string_view name);

// The records of the profile (GBK, CR LF), "" for an empty profile.
std::string ProfileRecordsText(const ColumnProfile& profile);

// The profile held by the records of a project's plain text (empty when it
// holds none, or has no banner). Throws EConvertError for a value that does
// not convert or a profile that does not validate, EProjectTooLarge beyond
// the caps. failedLine, when given, receives the line (from 1) of a value
// that did not convert, or 0 for a profile that does not validate.
ColumnProfile ProfileFromFormRecords(std::string_view plainText, std::size_t* failedLine = nullptr);
// The same from a project file (either container); EInOutError when it cannot be read.
ColumnProfile ReadProfileRecords(const std::string& path);
