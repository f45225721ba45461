#include "ComparisonExport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include "SafeFileReplacer.h"

#include <algorithm>

#include "ComparisonTable.h"
#include "Messages.h"
#include "XlsxDocument.h"

namespace
{

QString CsvField(const QString& s)
{
    if (!s.contains(QLatin1Char(',')) && !s.contains(QLatin1Char('"')) && !s.contains(QLatin1Char('\n')) &&
        !s.contains(QLatin1Char('\r')))
        return s;
    QString q = s;
    q.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

// The table in the first sheet of a new workbook, from the given row on.
void FillSheet(XlsxDocument& doc, const std::vector<QStringList>& table, int firstRow)
{
    for (std::size_t r = 0; r < table.size(); ++r)
        for (int c = 0; c < table[r].size(); ++c)
            doc.SetCell(0, firstRow + static_cast<int>(r), c + 1, table[r][c].toStdString());
}

} // namespace

QByteArray ComparisonCsv(const std::vector<ComparisonRow>& rows, bool allMethods)
{
    QByteArray out("\xEF\xBB\xBF");
    for (const QStringList& line : ComparisonExportRows(rows, allMethods)) {
        QStringList fields;
        for (const QString& f : line)
            fields << CsvField(f);
        out += fields.join(QLatin1Char(',')).toUtf8() + "\r\n";
    }
    return out;
}

bool SaveComparisonTable(const std::string& path, const std::vector<ComparisonRow>& rows, bool allMethods,
                         QString* error)
{
    const QString file = QString::fromStdString(path);
    const QString suffix = QFileInfo(file).suffix().toLower();
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (suffix == QLatin1String("csv")) {
        QString why;
        if (!SafeReplaceFile(file, ComparisonCsv(rows, allMethods), &why))
            return fail(QCoreApplication::translate("Velk", "无法写入文件：%1").arg(file) + QStringLiteral(" (") + why +
                        QLatin1Char(')'));
        return true;
    }
    if (suffix != QLatin1String("xlsx"))
        return fail(QCoreApplication::translate("Velk", "不支持的文件类型（只能保存为 CSV 或 XLSX）：%1").arg(file));
    try {
        XlsxDocument doc;
        doc.NewBlank();
        doc.RenameSheet(0, QCoreApplication::translate("Velk", "填料比较").toStdString());
        FillSheet(doc, ComparisonExportRows(rows, allMethods), 1);
        doc.SaveAs(path);
        return true;
    } catch (const std::exception& e) {
        return fail(QString::fromStdString(e.what()));
    }
}

namespace
{

// A heading "name(unit)" on two lines, so that the columns stay narrow.
QStringList HeadingLines(const QString& caption)
{
    const int open = caption.indexOf(QLatin1Char('('));
    if (open <= 0) return {caption, QString()};
    return {caption.left(open), caption.mid(open)};
}

struct TableLayout {
    std::vector<double> widths;
    double rowHeight = 0;
};

TableLayout MeasureTable(const QFontMetricsF& fm, const std::vector<ComparisonColumn>& columns,
                         const std::vector<ComparisonRow>& rows)
{
    TableLayout t;
    const double pad = fm.horizontalAdvance(QStringLiteral("0")) * 1.2;
    for (ComparisonColumn c : columns) {
        double w = 0;
        for (const QString& line : HeadingLines(ComparisonColumnCaption(c)))
            w = std::max(w, fm.horizontalAdvance(line));
        for (const ComparisonRow& r : rows)
            if (r.completed || c < kFirstResultColumn) w = std::max(w, fm.horizontalAdvance(ComparisonCellText(r, c)));
        t.widths.push_back(w + pad);
    }
    t.rowHeight = fm.height() * 1.35;
    return t;
}

} // namespace

int PaintComparisonTable(QPainter& painter, QPagedPaintDevice& device, const std::vector<ComparisonRow>& rows,
                         bool allMethods, const QString& title)
{
    const QRectF area(QPointF(0, 0), device.pageLayout().paintRectPixels(painter.device()->logicalDpiX()).size());
    const auto columns = ComparisonColumns(allMethods);
    QFont font;
    font.setPointSizeF(8);
    painter.setFont(font);
    TableLayout t = MeasureTable(QFontMetricsF(font, painter.device()), columns, rows);
    double total = 0;
    for (double w : t.widths)
        total += w;
    if (total > area.width()) {
        // Narrower type rather than cut texts.
        font.setPointSizeF(8 * area.width() / total);
        painter.setFont(font);
        t = MeasureTable(QFontMetricsF(font, painter.device()), columns, rows);
    }
    const double h = t.rowHeight;
    const int errorFrom = static_cast<int>(std::find(columns.begin(), columns.end(), kFirstResultColumn) - columns.begin());
    const int errorTo = static_cast<int>(std::find(columns.begin(), columns.end(), ComparisonColumn::Warnings) - columns.begin());
    int pages = 1;
    double y = 0;
    auto cell = [&](double x, double w, double top, double height, const QString& text, bool right) {
        painter.drawRect(QRectF(x, top, w, height));
        painter.drawText(QRectF(x + w * 0.04, top, w * 0.92, height),
                         (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, text);
    };
    auto heading = [&] {
        double x = 0;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            cell(x, t.widths[i], y, 2 * h, HeadingLines(ComparisonColumnCaption(columns[i])).join(QLatin1Char('\n')), false);
            x += t.widths[i];
        }
        y += 2 * h;
    };
    QFont bold = font;
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(QRectF(0, 0, area.width(), 2 * h), Qt::AlignLeft | Qt::AlignVCenter, title);
    painter.setFont(font);
    y = 2 * h;
    heading();
    for (const ComparisonRow& r : rows) {
        if (y + h > area.height()) {
            device.newPage();
            ++pages;
            y = 0;
            heading();
        }
        double x = 0;
        for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
            const ComparisonColumn c = columns[static_cast<std::size_t>(i)];
            if (!r.completed && i == errorFrom && errorTo > errorFrom) {
                double w = 0;
                for (int k = errorFrom; k < errorTo; ++k)
                    w += t.widths[static_cast<std::size_t>(k)];
                cell(x, w, y, h, ComparisonErrorText(r), false);
                x += w;
                i = errorTo - 1;
                continue;
            }
            const bool text = c == ComparisonColumn::Packing || c == ComparisonColumn::Method || c == ComparisonColumn::Warnings;
            cell(x, t.widths[static_cast<std::size_t>(i)], y, h, ComparisonCellText(r, c), !text);
            x += t.widths[static_cast<std::size_t>(i)];
        }
        y += h;
    }
    return pages;
}
