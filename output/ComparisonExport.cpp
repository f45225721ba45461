#include "ComparisonExport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>

#include "ComparisonTable.h"
#include "Messages.h"
#include "XlsxDocument.h"
#include "XlsxSheetPainter.h"

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
        QSaveFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(ComparisonCsv(rows, allMethods)) < 0 || !out.commit())
            return fail(QCoreApplication::translate("Velk", "无法写入文件：%1").arg(file) + QStringLiteral(" (") +
                        out.errorString() + QLatin1Char(')'));
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

int PaintComparisonTable(QPainter& painter, QPagedPaintDevice& device, const std::vector<ComparisonRow>& rows,
                         bool allMethods, const QString& title)
{
    XlsxDocument doc;
    doc.NewBlank();
    doc.SetCell(0, 1, 1, title.toStdString());
    // On paper the rounded texts of the page read better than full digits.
    std::vector<QStringList> table = ComparisonExportRows({}, allMethods);
    table.front().removeLast(); // no error column: an error row shows its text in place
    const auto columns = ComparisonColumns(allMethods);
    for (const ComparisonRow& r : rows) {
        QStringList line;
        for (ComparisonColumn c : columns)
            line << ComparisonCellText(r, c);
        table.push_back(line);
    }
    FillSheet(doc, table, 3);
    return XlsxSheetPainter(doc, 0).Paint(painter, device);
}
