#include "SpreadsheetSheet.h"

#include "SheetMessage.h"
#include "SpreadsheetApplication.h"
#include "SpreadsheetWorkbook.h"
#include "XlsxSheetPainter.h"

SpreadsheetSheet::SpreadsheetSheet(std::shared_ptr<SpreadsheetWorkbook> book, int index0,
                                   std::weak_ptr<SpreadsheetApplication> app)
    : book_(std::move(book)), index_(index0), app_(std::move(app))
{
    AddProperty(
        "Name", [this](AutoArgs&) { return AutoVariant(book_->Document().SheetName(index_)); },
        [this](AutoArgs&, const AutoVariant& v) {
            book_->Document().RenameSheet(index_, v.ToString());
            book_->MarkChanged();
        });
    AddProperty("Index", [this](AutoArgs&) { return AutoVariant(index_ + 1); });
    AddProperty(
        "Cells",
        [this](AutoArgs& a) {
            const int row = Required(a, 0, "Cells").ToInt(), col = Required(a, 1, "Cells").ToInt();
            CellText(row, col); // checks the position and that the workbook is open
            auto self = std::static_pointer_cast<SpreadsheetSheet>(shared_from_this());
            return AutoVariant(AutoObjectPtr(std::make_shared<SpreadsheetRange>(self, row, col)));
        },
        [this](AutoArgs& a, const AutoVariant& v) {
            SetCell(Required(a, 0, "Cells").ToInt(), Required(a, 1, "Cells").ToInt(), v);
        },
        2, 2);
    AddProperty(
        "Range",
        [this](AutoArgs& a) {
            int row = 0, col = 0;
            const std::string ref = Required(a, 0, "Range").ToString();
            if (!XlsxDocument::ParseCellRef(ref, row, col))
                throw EAutoError("Worksheet",
                                 SheetMessage(QT_TRANSLATE_NOOP("Velk", "单元格引用“%1”无效。"), {ref}));
            auto self = std::static_pointer_cast<SpreadsheetSheet>(shared_from_this());
            return AutoVariant(AutoObjectPtr(std::make_shared<SpreadsheetRange>(self, row, col)));
        },
        {}, 1, 1);
    auto select = [this](AutoArgs&) {
        book_->Document().SetActiveSheet(index_);
        return AutoVariant();
    };
    AddMethod("Select", select, 0, 1);
    AddMethod("Activate", select);
    AddMethod(
        "PrintOut",
        [this](AutoArgs& a) {
            PrintOut(a);
            return AutoVariant();
        },
        0, 8);
}

void SpreadsheetSheet::SetCell(int row, int col, const AutoVariant& value)
{
    book_->Document().SetCell(index_, row, col, value.ToString());
    book_->MarkChanged();
}

std::string SpreadsheetSheet::CellText(int row, int col)
{
    XlsxDocument& doc = book_->Document();
    if (row < 1 || row > 1048576 || col < 1 || col > 16384)
        throw EAutoError("Worksheet",
                         SheetMessage(QT_TRANSLATE_NOOP("Velk", "单元格位置无效：第 %1 行，第 %2 列。"),
                                      {std::to_string(row), std::to_string(col)}));
    return doc.CellText(index_, row, col);
}

void SpreadsheetSheet::NoteCell(int row, int col, const std::string& text)
{
    CellText(row, col);
    book_->Document().SetCellNote(index_, row, col, text);
    book_->MarkChanged();
}

void SpreadsheetSheet::StrikeCell(int row, int col, bool strike)
{
    CellText(row, col);
    // Only striking is needed: a report never takes a mark off.
    if (strike) book_->Document().SetCellStrike(index_, row, col);
    book_->MarkChanged();
}

bool SpreadsheetSheet::CellStruck(int row, int col)
{
    CellText(row, col);
    return book_->Document().CellStyle(index_, row, col).strike;
}

AutoVariant SpreadsheetSheet::CellValue(int row, int col)
{
    const std::string text = CellText(row, col);
    if (text.empty()) return {};
    if (book_->Document().CellIsNumber(index_, row, col)) return AutoVariant(AutoVariant(text).ToDouble());
    return AutoVariant(text);
}

void SpreadsheetSheet::PrintOut(const AutoArgs& a)
{
    // PrintOut(From, To, Copies, Preview, ActivePrinter, PrintToFile, Collate,
    // PrToFileName); From, To, Preview and Collate are accepted and ignored.
    XlsxPrintOptions options;
    if (Given(a, 2)) options.copies = a[2].ToInt();
    if (Given(a, 4))
        options.printer = a[4].ToString();
    else if (auto app = app_.lock())
        options.printer = app->ActivePrinter();
    if (Given(a, 5) && a[5].ToBool()) {
        if (!Given(a, 7) || a[7].ToString().empty())
            throw EAutoError("Worksheet", SheetMessage(QT_TRANSLATE_NOOP(
                                              "Velk", "打印到文件需要文件名（PrToFileName）。")));
        options.pdfFile = a[7].ToString();
    }
    PrintXlsxSheet(book_->Document(), index_, options);
}

SpreadsheetRange::SpreadsheetRange(std::shared_ptr<SpreadsheetSheet> sheet, int row, int col)
    : sheet_(std::move(sheet)), row_(row), col_(col)
{
    auto get = [this](AutoArgs&) { return sheet_->CellValue(row_, col_); };
    auto put = [this](AutoArgs&, const AutoVariant& v) { sheet_->SetCell(row_, col_, v); };
    AddProperty("Value", get, put);
    AddProperty("Value2", get, put);
    AddProperty("Text", [this](AutoArgs&) { return AutoVariant(sheet_->CellText(row_, col_)); });
    AddProperty("Row", [this](AutoArgs&) { return AutoVariant(row_); });
    AddMethod(
        "AddComment",
        [this](AutoArgs& a) {
            sheet_->NoteCell(row_, col_, Required(a, 0, "AddComment").ToString());
            return AutoVariant();
        },
        1, 1);
    AddProperty("Font", [this](AutoArgs&) {
        auto self = std::static_pointer_cast<SpreadsheetRange>(shared_from_this());
        return AutoVariant(AutoObjectPtr(std::make_shared<SpreadsheetFont>(self->sheet_, row_, col_)));
    });
    AddProperty("Column", [this](AutoArgs&) { return AutoVariant(col_); });
}

SpreadsheetFont::SpreadsheetFont(std::shared_ptr<SpreadsheetSheet> sheet, int row, int col)
    : sheet_(std::move(sheet)), row_(row), col_(col)
{
    AddProperty(
        "Strikethrough", [this](AutoArgs&) { return AutoVariant(sheet_->CellStruck(row_, col_)); },
        [this](AutoArgs&, const AutoVariant& v) { sheet_->StrikeCell(row_, col_, v.ToBool()); });
}
