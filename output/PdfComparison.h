#pragma once
// The packing comparison as a table of the printed report: the cells of the
// comparison page (same columns, texts and units), laid out for reading.

#include <QString>

#include <vector>

#include "PackingComparison.h"
#include "PdfTable.h"

// The table: headings broken before their units, the packing, method and
// warning columns wrapping, an error row's text across its result columns.
PageTable ComparisonPageTable(const std::vector<ComparisonRow>& rows, bool allMethods, const QString& title);
