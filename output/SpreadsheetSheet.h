#pragma once
// A worksheet of the spreadsheet component and a one-cell Range (see
// SpreadsheetApplication.h for the members).

#include <memory>
#include <string>

#include "AutoObject.h"

class SpreadsheetApplication;
class SpreadsheetWorkbook;

class SpreadsheetSheet : public AutoDispatch
{
public:
    SpreadsheetSheet(std::shared_ptr<SpreadsheetWorkbook> book, int index0,
                     std::weak_ptr<SpreadsheetApplication> app);
    std::string ClassName() const override { return "Worksheet"; }

    void SetCell(int row, int col, const AutoVariant& value);
    AutoVariant CellValue(int row, int col);
    std::string CellText(int row, int col);
    // Range.AddComment and Range.Font.Strikethrough of a cell.
    void NoteCell(int row, int col, const std::string& text);
    void StrikeCell(int row, int col, bool strike);
    bool CellStruck(int row, int col);

private:
    void PrintOut(const AutoArgs& args);

    std::shared_ptr<SpreadsheetWorkbook> book_;
    int index_;
    std::weak_ptr<SpreadsheetApplication> app_;
};

class SpreadsheetRange : public AutoDispatch
{
public:
    SpreadsheetRange(std::shared_ptr<SpreadsheetSheet> sheet, int row, int col);
    std::string ClassName() const override { return "Range"; }

private:
    std::shared_ptr<SpreadsheetSheet> sheet_;
    int row_, col_;
};

// The font of a one-cell Range: only Strikethrough.
class SpreadsheetFont : public AutoDispatch
{
public:
    SpreadsheetFont(std::shared_ptr<SpreadsheetSheet> sheet, int row, int col);
    std::string ClassName() const override { return "Font"; }

private:
    std::shared_ptr<SpreadsheetSheet> sheet_;
    int row_, col_;
};
