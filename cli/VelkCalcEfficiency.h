#pragma once
// velk-calc's --efficiency and --efficiency-model: the heights of every
// mass-transfer model beside the page, their spread and the design HETP.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "EfficiencyModels.h"

class CalcPage;

struct EfficiencyOption {
    bool requested = false;
    std::optional<DesignHetpChoice> choice; // --efficiency-model; else the page's (a project's) choice
};

// True when args[i] is one of the efficiency options; then reads it (and its
// value, advancing i) into opt and returns the usage complaint in why, or "".
bool ParseEfficiencyOption(const std::vector<std::string>& args, std::size_t& i, EfficiencyOption& opt,
                           std::string& why);

// The usage complaint for the options combined with a command that prints
// no single page (--compare, --cases, --profile, --chart-data), or "".
std::string EfficiencyCombinationComplaint(const EfficiencyOption& opt, bool otherCommand);

// Sets the page's design-HETP choice when the option gave one (after a
// project is loaded: the option wins); the packed height follows it.
void ApplyEfficiencyOption(CalcPage& page, const EfficiencyOption& opt);

// ", \"efficiency\": {...}" for the page's last case when requested, else "".
// A note (an effective area beyond the packing's surface) goes to err.
std::string EfficiencyJson(const CalcPage& page, const EfficiencyOption& opt, std::ostream& err);

// The JSON object of a result (the value of "efficiency").
std::string EfficiencyResultJson(const EfficiencyResult& result);
