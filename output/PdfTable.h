#pragma once
// A table laid out for reading on the pages of a PDF or a printer: columns
// as wide as their contents, long texts wrapped inside their column, type
// never under kMinPagePoints, a landscape page where the table is wide, the
// heading row repeated on every page. A table too wide even for a landscape
// page at the smallest type goes on in column groups, each repeating the key
// columns, rather than shrinking.

#include <QPageLayout>
#include <QStringList>

#include <optional>
#include <vector>

class QPainter;
class QPagedPaintDevice;

struct PageTableRow {
    QStringList cells;
    // Columns [spanFrom, spanTo) joined into one cell that shows
    // cells[spanFrom] (an error text in place of the results); -1: none.
    int spanFrom = -1, spanTo = -1;
};

struct PageTable {
    QString title;          // bold, above the table on its first page; may be empty
    QStringList notes;      // lines under the title
    QStringList headings;   // one per column; "\n" where a heading breaks first
    std::vector<bool> wrap; // per column: a text that may take several lines (else numbers, kept whole)
    std::vector<PageTableRow> rows;
    int keyColumns = 1; // repeated in front of every column group
};

struct PageTableLayout {
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    double points = 8;
    std::vector<double> widths;           // per column, device pixels
    std::vector<std::vector<int>> groups; // the columns of each block, in order
};

// Chooses orientation (unless given), type size and column widths for
// device's page size and resolution.
PageTableLayout LayoutPageTable(const PageTable& table, const QPagedPaintDevice& device,
                                std::optional<QPageLayout::Orientation> orientation = {});

// Where a table goes: on a new page (in the table's own orientation unless
// one is given), or on the current page from y on. After painting, y is
// where the table ended.
struct PageTablePlace {
    bool newPage = true;
    std::optional<QPageLayout::Orientation> orientation;
    double y = 0;
};

// Paints the table; returns the pages begun.
int PaintPageTable(QPainter& painter, QPagedPaintDevice& device, const PageTable& table,
                   PageTablePlace& place);
int PaintPageTable(QPainter& painter, QPagedPaintDevice& device, const PageTable& table);

// "name(unit)" as "name\n(unit)": a heading that breaks before its unit.
QString HeadingBreakingAtUnit(const QString& caption);
