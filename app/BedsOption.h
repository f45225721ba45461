#pragma once
// velk-calc's --beds text: "1-10:PACKING:METHOD,11-20:PACKING:METHOD".

#include <string>
#include <vector>

#include "ColumnProfile.h"

// The text into beds; returns the usage complaint, or "".
std::string ParseBedsOption(const std::string& text, std::vector<ProfileBed>& beds);
