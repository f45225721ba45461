#pragma once
// The command-line calculator: one case in, one JSON object out.

#include <iosfwd>
#include <string>
#include <vector>

class CalcPage;

// Runs the calculator on the arguments (without the program name). Returns
// the exit status: 0 completed, 1 the recalculation ended with an error,
// 2 usage error.
int RunVelkCalc(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The JSON object describing the page; messages are the texts shown;
// extra (", \"key\": value" pairs) goes before the closing brace.
std::string PageToJson(const CalcPage& page, const std::vector<std::string>& messages, bool completed,
                       const std::string& extra = "");

std::string VelkCalcUsage();

// Sets `page` up as a run with these arguments would before it recalculates
// (the Python module's sweep runs its cases on copies of it); returns the
// usage complaint, or "". Takes the options of one case only.
std::string SetUpVelkCalcPage(const std::vector<std::string>& args, CalcPage& page);
