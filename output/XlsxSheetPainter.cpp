#include "XlsxSheetPainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "AutoError.h"
#include "PdfFont.h"
#include "SheetMessage.h"

namespace
{

// A spreadsheet's column width is in characters of the default font: about
// 7 pixels each plus 5 pixels of padding at 96 pixels per inch.
double ColumnPoints(double chars)
{
    return chars <= 0 ? 0 : (chars * 7 + 5) * 72.0 / 96.0;
}

const char* const kFontFamily = "Noto Sans CJK SC";

// A cell's text as printed: a note whose lines begin with a footnote mark
// ("†", "‡") puts those marks after the text, so that the page keeps the
// mark the note explains.
std::string PrintedText(const XlsxDocument& doc, int sheet, int r, int c)
{
    std::string text = doc.CellText(sheet, r, c);
    if (text.empty()) return text;
    const QStringList lines = QString::fromStdString(doc.CellNote(sheet, r, c)).split(QLatin1Char('\n'));
    for (const QString& line : lines)
        if (line.startsWith(QChar(0x2020)) || line.startsWith(QChar(0x2021)))
            text += line.left(1).toStdString();
    return text;
}

// The sheet laid out on the page: column edges and the scale that fits the
// table to the page, in device pixels.
struct SheetGeometry {
    const XlsxDocument& doc;
    int sheet;
    XlsxRange used;
    double dpi = 72;
    double pageW = 0, pageH = 0;
    double fit = 1;
    std::vector<double> colX; // left edges, one past the last column
    std::vector<XlsxRange> merges;
    std::vector<double> rowH; // the sheet's heights, grown to the lines of wrapped texts

    double ColLeft(int c) const { return colX[static_cast<std::size_t>(c - used.firstCol)]; }
    double SheetRowHeight(int r) const { return doc.RowHeight(sheet, r) * dpi / 72 * fit; }
    double RowHeight(int r) const
    {
        const std::size_t i = static_cast<std::size_t>(r - used.firstRow);
        return i < rowH.size() ? rowH[i] : SheetRowHeight(r);
    }
    const XlsxRange* MergeAt(int r, int c) const
    {
        for (const XlsxRange& m : merges)
            if (m.Contains(r, c)) return &m;
        return nullptr;
    }
};

SheetGeometry MeasureSheet(const XlsxDocument& doc, int sheet, QPagedPaintDevice& device)
{
    SheetGeometry g{doc, sheet, doc.UsedRange(sheet), 72, 0, 0, 1, {}, {}, {}};
    g.dpi = device.logicalDpiY() > 0 ? device.logicalDpiY() : 72;
    const QRectF page = device.pageLayout().paintRectPixels(device.logicalDpiX()).toRectF();
    g.pageW = page.width();
    g.pageH = page.height();
    const XlsxRange& used = g.used;
    g.colX.assign(static_cast<std::size_t>(used.lastCol - used.firstCol + 2), 0);
    for (int c = used.firstCol; c <= used.lastCol; ++c)
        g.colX[static_cast<std::size_t>(c - used.firstCol + 1)] =
            g.colX[static_cast<std::size_t>(c - used.firstCol)] +
            ColumnPoints(doc.ColumnWidth(sheet, c)) * g.dpi / 72;
    const double tableW = g.colX.back();
    g.fit = tableW > g.pageW && tableW > 0 ? g.pageW / tableW : 1.0;
    // A sheet set up to fit one page is scaled down to the page height too.
    if (doc.FitsToOnePage(sheet)) {
        double tableH = 0;
        for (int r = used.firstRow; r <= used.lastRow; ++r)
            tableH += doc.RowHeight(sheet, r) * g.dpi / 72;
        // (a hair less, so that rounding never pushes the last row over)
        if (tableH * g.fit > g.pageH && tableH > 0) g.fit = g.pageH / tableH * 0.999;
    }
    for (double& x : g.colX)
        x *= g.fit;
    g.merges = doc.MergedRanges(sheet);
    return g;
}

// The cell's borders; a merged area shows its outline only, not the lines
// between the cells it joins.
void PaintBorders(QPainter& painter, const XlsxCellStyle& st, const QRectF& cell, const XlsxRange* merge,
                  int r, int c)
{
    const bool top = !merge || r == merge->firstRow, bottom = !merge || r == merge->lastRow;
    const bool left = !merge || c == merge->firstCol, right = !merge || c == merge->lastCol;
    if (st.borderTop && top) painter.drawLine(cell.topLeft(), cell.topRight());
    if (st.borderBottom && bottom) painter.drawLine(cell.bottomLeft(), cell.bottomRight());
    if (st.borderLeft && left) painter.drawLine(cell.topLeft(), cell.bottomLeft());
    if (st.borderRight && right) painter.drawLine(cell.topRight(), cell.bottomRight());
}

// A cell's text as it goes on the page: the box it may use (the merged
// area, or the cell and the empty neighbours a left-aligned text runs on
// over, as on screen, never past the table's right edge), its font (never
// under the smallest page type) and whether it wraps: a text wider than its
// box takes more lines instead of being cut.
struct CellLayout {
    QRectF box;
    QFont font;
    int flags = 0;
    double pad = 0;
    QString text;
};

CellLayout LayOutCell(const SheetGeometry& g, QPaintDevice* device, const XlsxCellStyle& st, QRectF box,
                      const XlsxRange* merge, int r, int c, const std::string& text)
{
    const XlsxDocument& doc = g.doc;
    CellLayout out;
    if (merge) {
        double mh = 0;
        for (int mr = merge->firstRow; mr <= merge->lastRow; ++mr)
            mh += g.RowHeight(mr);
        box =
            QRectF(g.ColLeft(merge->firstCol), box.top(),
                   g.ColLeft(std::min(merge->lastCol, g.used.lastCol) + 1) - g.ColLeft(merge->firstCol), mh);
    }
    const bool number = doc.CellIsNumber(g.sheet, r, c);
    XlsxCellStyle::Align align = st.align;
    if (align == XlsxCellStyle::Align::General)
        align = number ? XlsxCellStyle::Align::Right : XlsxCellStyle::Align::Left;
    if (!merge && !st.wrap && align == XlsxCellStyle::Align::Left) {
        int last = c;
        while (last < g.used.lastCol && doc.CellText(g.sheet, r, last + 1).empty() && !g.MergeAt(r, last + 1))
            ++last;
        box.setRight(g.ColLeft(last + 1));
    }
    out.box = box;
    out.text = QString::fromStdString(text);
    out.font.setFamilies(PageFontFamilies(QString::fromLatin1(kFontFamily)));
    const double points = std::max(st.fontPoints * g.fit, kMinPagePoints);
    out.font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * g.dpi / 72))));
    out.font.setBold(st.bold);
    out.font.setItalic(st.italic);
    out.font.setStrikeOut(st.strike);
    out.pad = 2 * g.dpi / 96 * g.fit;
    const QFontMetricsF fm(out.font, device);
    const bool tooWide = fm.horizontalAdvance(out.text) > box.width() - 2 * out.pad;
    out.flags = Qt::AlignVCenter | (st.wrap || tooWide ? Qt::TextWordWrap : 0);
    out.flags |= align == XlsxCellStyle::Align::Center  ? Qt::AlignHCenter
                 : align == XlsxCellStyle::Align::Right ? Qt::AlignRight
                                                        : Qt::AlignLeft;
    return out;
}

// The height the cell's text needs in its box.
double TextHeight(const CellLayout& cell, QPaintDevice* device)
{
    const QFontMetricsF fm(cell.font, device);
    const QRectF room(0, 0, std::max(1.0, cell.box.width() - 2 * cell.pad), 1e6);
    return fm.boundingRect(room, cell.flags, cell.text).height() + cell.pad;
}

// Grows each row to the tallest wrapped text of its cells (merged areas
// over more than one row keep their heights).
void FitRowsToTexts(SheetGeometry& g, QPaintDevice* device)
{
    for (int r = g.used.firstRow; r <= g.used.lastRow; ++r) {
        double h = g.SheetRowHeight(r);
        for (int c = g.used.firstCol; c <= g.used.lastCol && h > 0; ++c) {
            const XlsxRange* merge = g.MergeAt(r, c);
            if (merge && (merge->firstRow != r || merge->firstCol != c || merge->lastRow != r)) continue;
            const std::string text = PrintedText(g.doc, g.sheet, r, c);
            if (text.empty() || g.ColLeft(c + 1) <= g.ColLeft(c)) continue;
            const QRectF cell(g.ColLeft(c), 0, g.ColLeft(c + 1) - g.ColLeft(c), h);
            const CellLayout layout =
                LayOutCell(g, device, g.doc.CellStyle(g.sheet, r, c), cell, merge, r, c, text);
            // A text on one line keeps the sheet's row height.
            if (layout.flags & Qt::TextWordWrap) h = std::max(h, TextHeight(layout, device));
        }
        g.rowH.push_back(h);
    }
}

void PaintCellText(QPainter& painter, const CellLayout& cell)
{
    painter.setFont(cell.font);
    painter.setPen(Qt::black);
    painter.save();
    painter.setClipRect(cell.box);
    painter.drawText(cell.box.adjusted(cell.pad, 0, -cell.pad, 0), cell.flags, cell.text);
    painter.restore();
}

} // namespace

int XlsxSheetPainter::Paint(QPainter& painter, QPagedPaintDevice& device) const
{
    if (doc_.UsedRange(sheet_).Empty()) return 0;
    SheetGeometry g = MeasureSheet(doc_, sheet_, device);
    FitRowsToTexts(g, &device);
    // A sheet set up to fit one page stays on it when wrapped texts grew its
    // rows: the table shrinks again (the type not under the smallest size,
    // so a few rounds, each wrapping anew).
    for (int round = 0; round < 4 && doc_.FitsToOnePage(sheet_); ++round) {
        const double total = std::accumulate(g.rowH.begin(), g.rowH.end(), 0.0);
        if (total <= g.pageH) break;
        const double k = g.pageH / total * 0.999;
        for (double& x : g.colX)
            x *= k;
        g.fit *= k;
        g.rowH.clear();
        FitRowsToTexts(g, &device);
    }
    int pages = 1;
    double y = 0;
    const QPen gridPen(Qt::black, std::max(1.0, g.dpi / 150));
    for (int r = g.used.firstRow; r <= g.used.lastRow; ++r) {
        const double h = g.RowHeight(r);
        if (h <= 0) continue;
        if (y > 0 && y + h > g.pageH) {
            device.newPage();
            ++pages;
            y = 0;
        }
        for (int c = g.used.firstCol; c <= g.used.lastCol; ++c) {
            const double w = g.ColLeft(c + 1) - g.ColLeft(c);
            if (w <= 0) continue;
            const XlsxCellStyle st = doc_.CellStyle(sheet_, r, c);
            const QRectF cell(g.ColLeft(c), y, w, h);
            const XlsxRange* merge = g.MergeAt(r, c);
            painter.setPen(gridPen);
            PaintBorders(painter, st, cell, merge, r, c);
            if (merge && (merge->firstRow != r || merge->firstCol != c))
                continue; // painted with the merge's first cell
            const std::string text = PrintedText(doc_, sheet_, r, c);
            if (!text.empty())
                PaintCellText(painter, LayOutCell(g, painter.device(), st, cell, merge, r, c, text));
        }
        y += h;
    }
    return pages;
}

void PrintXlsxSheet(const XlsxDocument& doc, int sheet, const XlsxPrintOptions& options)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw EAutoError("Worksheet",
                         SheetMessage(QT_TRANSLATE_NOOP("Velk", "打印需要图形界面，当前进程不能打印。")));
    if (doc.UsedRange(sheet).Empty())
        throw EAutoError("Worksheet",
                         SheetMessage(QT_TRANSLATE_NOOP("Velk", "工作表“%1”中没有可打印的内容。"),
                                      {doc.SheetName(sheet)}));
    std::unique_ptr<QPrinter> printer;
    if (!options.pdfFile.empty()) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromStdString(options.pdfFile));
    } else {
        const QPrinterInfo info = options.printer.empty()
                                      ? QPrinterInfo::defaultPrinter()
                                      : QPrinterInfo::printerInfo(QString::fromStdString(options.printer));
        if (info.isNull())
            throw EAutoError(
                "Worksheet",
                options.printer.empty()
                    ? SheetMessage(QT_TRANSLATE_NOOP(
                          "Velk", "没有可用的默认打印机，无法打印。请先在系统中添加打印机并设为默认打印机。"))
                    : SheetMessage(QT_TRANSLATE_NOOP("Velk", "找不到打印机“%1”，无法打印。"),
                                   {options.printer}));
        printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    printer->setDocName(QString::fromStdString(doc.SheetName(sheet)));
    printer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                       QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    printer->setCopyCount(std::clamp(options.copies, 1, 999));
    QPainter painter;
    const std::string target =
        options.pdfFile.empty() ? printer->printerName().toStdString() : options.pdfFile;
    if (!painter.begin(printer.get()))
        throw EAutoError("Worksheet",
                         SheetMessage(QT_TRANSLATE_NOOP("Velk", "打印机“%1”无法开始打印。"), {target}));
    XlsxSheetPainter(doc, sheet).Paint(painter, *printer);
    painter.end();
    if (printer->printerState() == QPrinter::Error)
        throw EAutoError("Worksheet",
                         SheetMessage(QT_TRANSLATE_NOOP("Velk", "打印机“%1”打印失败。"), {target}));
}
