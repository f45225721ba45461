#pragma once
// Paints the used range of a worksheet as a table on the pages of a printer
// or PDF writer: column widths and row heights from the sheet (scaled down to
// the page width when the table is wider), the cells' borders, bold and
// italic fonts, horizontal alignment and merged areas, text overflowing into
// empty neighbours as a spreadsheet shows it. Rows that do not fit go on to
// the next page, unless the sheet is set up to fit one page: then the whole
// table is scaled down to it.

#include <string>

#include "XlsxDocument.h"

class QPainter;
class QPagedPaintDevice;

class XlsxSheetPainter
{
public:
    XlsxSheetPainter(const XlsxDocument& doc, int sheet) : doc_(doc), sheet_(sheet) {}
    // Paints on the active painter of device, starting on its current page;
    // returns the number of pages used (0 for an empty sheet).
    int Paint(QPainter& painter, QPagedPaintDevice& device) const;

private:
    const XlsxDocument& doc_;
    int sheet_;
};

struct XlsxPrintOptions {
    std::string printer; // empty: the system's default printer
    int copies = 1;
    std::string pdfFile; // not empty: print into this PDF file instead
};

// Prints a sheet. EAutoError when there is no printer (or no such printer),
// no graphical session, nothing to print, or the printer fails.
void PrintXlsxSheet(const XlsxDocument& doc, int sheet, const XlsxPrintOptions& options);
