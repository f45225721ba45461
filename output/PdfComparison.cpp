#include "PdfComparison.h"

#include <algorithm>

#include "ComparisonTable.h"

PageTable ComparisonPageTable(const std::vector<ComparisonRow>& rows, bool allMethods, const QString& title)
{
    PageTable t;
    t.title = title;
    const std::vector<ComparisonColumn> columns = ComparisonColumns(allMethods);
    auto indexOf = [&](ComparisonColumn c) {
        return static_cast<int>(std::find(columns.begin(), columns.end(), c) - columns.begin());
    };
    for (ComparisonColumn c : columns) {
        t.headings << HeadingBreakingAtUnit(ComparisonColumnCaption(c));
        t.wrap.push_back(c == ComparisonColumn::Packing || c == ComparisonColumn::Method ||
                         c == ComparisonColumn::Warnings);
    }
    t.keyColumns = indexOf(ComparisonColumn::Method) < static_cast<int>(columns.size()) ? 2 : 1;
    const int errorFrom = indexOf(kFirstResultColumn), errorTo = indexOf(ComparisonColumn::Warnings);
    for (const ComparisonRow& r : rows) {
        PageTableRow row;
        for (ComparisonColumn c : columns)
            row.cells << ComparisonCellText(r, c);
        if (!r.completed && errorTo > errorFrom) {
            row.spanFrom = errorFrom;
            row.spanTo = errorTo;
            row.cells[errorFrom] = ComparisonErrorText(r);
        }
        t.rows.push_back(row);
    }
    return t;
}
