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

#include <string>
#include <string_view>

#include "ColumnProfile.h"

// The records of the profile (GBK, CR LF), "" for an empty profile.
std::string ProfileRecordsText(const ColumnProfile& profile);

// The profile held by the records of a project's plain text (empty when it
// holds none, or has no banner). Throws EConvertError for a value that does
// not convert or a profile that does not validate.
ColumnProfile ProfileFromFormRecords(std::string_view plainText);
// The same from a project file (either container); EInOutError when it cannot be read.
ColumnProfile ReadProfileRecords(const std::string& path);
