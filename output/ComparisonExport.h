#pragma once
// The packing comparison table written out: as CSV, as an .xlsx workbook
// and as a page of a PDF (or any paged device). All three take their cells
// from ComparisonExportRows, so they agree with each other.

#include <string>
#include <vector>

#include <QString>

#include "PackingComparison.h"

class QPainter;
class QPagedPaintDevice;

// UTF-8 text with a byte-order mark (spreadsheet programs need it to read
// Chinese headings), comma separated, fields quoted where needed, CR LF.
QByteArray ComparisonCsv(const std::vector<ComparisonRow>& rows, bool allMethods);

// Writes the CSV or the workbook, chosen by the extension (.csv or .xlsx).
// Returns false with the reason in error.
bool SaveComparisonTable(const std::string& path, const std::vector<ComparisonRow>& rows, bool allMethods,
                         QString* error);

// Paints the table, with a title line, on the active painter of device from
// its current page on; returns the number of pages used.
int PaintComparisonTable(QPainter& painter, QPagedPaintDevice& device, const std::vector<ComparisonRow>& rows,
                         bool allMethods, const QString& title);
