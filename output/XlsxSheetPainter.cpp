#include "XlsxSheetPainter.h"

#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cmath>
#include <vector>

#include "AutoError.h"
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

} // namespace

int XlsxSheetPainter::Paint(QPainter& painter, QPagedPaintDevice& device) const
{
    const XlsxRange used = doc_.UsedRange(sheet_);
    if (used.Empty()) return 0;
    const double dpi = device.logicalDpiY() > 0 ? device.logicalDpiY() : 72;
    const QRectF page = device.pageLayout().paintRectPixels(device.logicalDpiX()).toRectF();
    const double pageW = page.width(), pageH = page.height();

    std::vector<double> colX(static_cast<std::size_t>(used.lastCol - used.firstCol + 2), 0);
    for (int c = used.firstCol; c <= used.lastCol; ++c)
        colX[static_cast<std::size_t>(c - used.firstCol + 1)] =
            colX[static_cast<std::size_t>(c - used.firstCol)] +
            ColumnPoints(doc_.ColumnWidth(sheet_, c)) * dpi / 72;
    const double tableW = colX.back();
    double fit = tableW > pageW && tableW > 0 ? pageW / tableW : 1.0;
    // A sheet set up to fit one page is scaled down to the page height too.
    if (doc_.FitsToOnePage(sheet_)) {
        double tableH = 0;
        for (int r = used.firstRow; r <= used.lastRow; ++r)
            tableH += doc_.RowHeight(sheet_, r) * dpi / 72;
        // (a hair less, so that rounding never pushes the last row over)
        if (tableH * fit > pageH && tableH > 0) fit = pageH / tableH * 0.999;
    }
    for (double& x : colX)
        x *= fit;

    const std::vector<XlsxRange> merges = doc_.MergedRanges(sheet_);
    auto mergeAt = [&](int r, int c) -> const XlsxRange* {
        for (const XlsxRange& m : merges)
            if (m.Contains(r, c)) return &m;
        return nullptr;
    };
    auto rowHeight = [&](int r) { return doc_.RowHeight(sheet_, r) * dpi / 72 * fit; };
    auto colLeft = [&](int c) { return colX[static_cast<std::size_t>(c - used.firstCol)]; };

    int pages = 1;
    double y = 0;
    const QPen gridPen(Qt::black, std::max(1.0, dpi / 150));
    for (int r = used.firstRow; r <= used.lastRow; ++r) {
        const double h = rowHeight(r);
        if (h <= 0) continue;
        if (y > 0 && y + h > pageH) {
            device.newPage();
            ++pages;
            y = 0;
        }
        for (int c = used.firstCol; c <= used.lastCol; ++c) {
            const double w = colLeft(c + 1) - colLeft(c);
            if (w <= 0) continue;
            const XlsxCellStyle st = doc_.CellStyle(sheet_, r, c);
            const QRectF cell(colLeft(c), y, w, h);
            // A merged area shows its outline only, not the lines between
            // the cells it joins.
            const XlsxRange* merge = mergeAt(r, c);
            const bool top = !merge || r == merge->firstRow, bottom = !merge || r == merge->lastRow;
            const bool left = !merge || c == merge->firstCol, right = !merge || c == merge->lastCol;
            painter.setPen(gridPen);
            if (st.borderTop && top) painter.drawLine(cell.topLeft(), cell.topRight());
            if (st.borderBottom && bottom) painter.drawLine(cell.bottomLeft(), cell.bottomRight());
            if (st.borderLeft && left) painter.drawLine(cell.topLeft(), cell.bottomLeft());
            if (st.borderRight && right) painter.drawLine(cell.topRight(), cell.bottomRight());
            if (merge && (merge->firstRow != r || merge->firstCol != c))
                continue; // painted with the merge's first cell
            const std::string text = doc_.CellText(sheet_, r, c);
            if (text.empty()) continue;
            QRectF box = cell;
            if (merge) {
                double mh = 0;
                for (int mr = merge->firstRow; mr <= merge->lastRow; ++mr)
                    mh += rowHeight(mr);
                box = QRectF(colLeft(merge->firstCol), y,
                             colLeft(std::min(merge->lastCol, used.lastCol) + 1) - colLeft(merge->firstCol),
                             mh);
            }
            const bool number = doc_.CellIsNumber(sheet_, r, c);
            XlsxCellStyle::Align align = st.align;
            if (align == XlsxCellStyle::Align::General)
                align = number ? XlsxCellStyle::Align::Right : XlsxCellStyle::Align::Left;
            if (!merge && !st.wrap && align == XlsxCellStyle::Align::Left) {
                // Text runs on over empty neighbours, as on screen.
                int last = c;
                while (last < used.lastCol && doc_.CellText(sheet_, r, last + 1).empty() &&
                       !mergeAt(r, last + 1))
                    ++last;
                box.setRight(colLeft(last + 1));
            }
            QFont font(kFontFamily);
            font.setPixelSize(std::max(1, static_cast<int>(std::lround(st.fontPoints * dpi / 72 * fit))));
            font.setBold(st.bold);
            font.setItalic(st.italic);
            painter.setFont(font);
            painter.setPen(Qt::black);
            const double pad = 2 * dpi / 96 * fit;
            int flags = Qt::AlignVCenter | (st.wrap ? Qt::TextWordWrap : 0);
            flags |= align == XlsxCellStyle::Align::Center  ? Qt::AlignHCenter
                     : align == XlsxCellStyle::Align::Right ? Qt::AlignRight
                                                            : Qt::AlignLeft;
            painter.save();
            painter.setClipRect(box);
            painter.drawText(box.adjusted(pad, 0, -pad, 0), flags, QString::fromStdString(text));
            painter.restore();
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
