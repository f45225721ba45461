#pragma once
// velk-calc --compare: every catalogue packing (and with allMethods every
// flooding correlation) computed from the page as the options left it,
// printed as {"compare": [...]} in catalogue order. Each entry's "fields"
// (and the operating check's keys) are what a single run with --packing and
// --method prints, written by the same functions.

#include <string>

class CalcPage;

// The JSON text (one line and a newline); allCompleted tells whether every
// entry completed.
std::string CompareJson(const CalcPage& page, bool allMethods, bool& allCompleted);
