#pragma once
// The parts of the command-line calculator that reach beyond the engine:
// project files, the diagram and the report. Each returns false with a reason.

#include <string>

class CalcPage;

// kept receives the records the page does not read (a column profile, a
// later version's records); the save writes them back byte for byte.
bool VelkCalcLoadProject(CalcPage& page, const std::string& path, std::string& kept, std::string& why);
bool VelkCalcSaveProject(CalcPage& page, const std::string& path, const std::string& kept, std::string& why);
bool VelkCalcDiagram(CalcPage& page, const std::string& path, int width, int height, std::string& why);
bool VelkCalcReport(CalcPage& page, const std::string& path, const std::string& projectPath, std::string& why);
