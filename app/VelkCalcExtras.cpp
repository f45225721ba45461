#include "VelkCalcExtras.h"

// Filled in as the project files, the diagram and the report land.
bool VelkCalcLoadProject(CalcPage&, const std::string&, std::string& why)
{
    why = "--project is not available in this build";
    return false;
}
bool VelkCalcSaveProject(CalcPage&, const std::string&, std::string& why)
{
    why = "--save is not available in this build";
    return false;
}
bool VelkCalcDiagram(CalcPage&, const std::string&, int, int, std::string& why)
{
    why = "--diagram is not available in this build";
    return false;
}
bool VelkCalcReport(CalcPage&, const std::string&, const std::string&, std::string& why)
{
    why = "--report is not available in this build";
    return false;
}
