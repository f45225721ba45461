#include "VelkCalcExtras.h"

// Replaced when the report workbook lands.
bool VelkCalcReport(CalcPage&, const std::string&, const std::string&, std::string& why)
{
    why = "--report is not available in this build";
    return false;
}
