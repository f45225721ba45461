#include "VelkCalcExtras.h"

// Replaced when the diagram export lands.
bool VelkCalcDiagram(CalcPage&, const std::string&, int, int, std::string& why)
{
    why = "--diagram is not available in this build";
    return false;
}
