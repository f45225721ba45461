#include "VelkCalcCompare.h"

#include <sstream>

#include "CalcPage.h"
#include "CaseRunText.h"
#include "PackingComparison.h"
#include "VelkCalcJson.h"

std::string CompareJson(const CalcPage& page, bool allMethods, bool& allCompleted)
{
    std::ostringstream o;
    o << "{\"compare\": [";
    bool first = true;
    allCompleted = true;
    PackingComparison comparison;
    comparison.Run(page, allMethods, [&](const CalcPage& copy, const ComparisonRow& row) {
        o << (first ? "" : ", ") << "{\"packing\": " << JsonString(row.packing) << ", \"method\": " << row.method
          << ", \"completed\": " << (row.completed ? "true" : "false") << ", \"error\": " << JsonString(CaseText(row.error).toStdString())
          << ", \"fields\": " << FieldsJson(copy) << ", \"operation\": " << OperationJson(copy.Operation())
          << ", \"warnings\": " << WarningsJson(copy.Operation()) << "}";
        first = false;
        allCompleted = allCompleted && row.completed;
    });
    o << "]}\n";
    return o.str();
}
