#include "VelkCalcExtras.h"

#include "ReportCommands.h"

bool VelkCalcReport(CalcPage& page, const std::string& path, const std::string& projectPath, std::string& why)
{
    return WriteReportWorkbook(path, page, projectPath, why);
}
