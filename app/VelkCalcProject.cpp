#include "VelkCalcExtras.h"

// Replaced when the project files land.
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
