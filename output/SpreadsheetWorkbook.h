#pragma once
// A workbook of the spreadsheet component, its Workbooks and Sheets
// collections (see SpreadsheetApplication.h for the members).

#include <memory>
#include <string>

#include "AutoObject.h"
#include "XlsxDocument.h"

class SpreadsheetApplication;

class SpreadsheetWorkbook : public AutoDispatch
{
public:
    // name: the name shown for a new workbook ("Book1"), or empty to take it
    // from the file path.
    SpreadsheetWorkbook(std::weak_ptr<SpreadsheetApplication> app, std::unique_ptr<XlsxDocument> doc,
                        std::string fullName, std::string name);
    std::string ClassName() const override { return "Workbook"; }

    // The document; EAutoError once the workbook is closed.
    XlsxDocument& Document();
    bool Closed() const { return !doc_; }
    const std::string& Name() const { return name_; }
    void MarkChanged() { saved_ = false; }
    AutoObjectPtr SheetObject(int index0);
    void SaveAs(const std::string& path);
    void Close();

private:
    void Init();
    int SheetIndexOf(const AutoVariant& key);

    std::weak_ptr<SpreadsheetApplication> app_;
    std::unique_ptr<XlsxDocument> doc_;
    std::string fullName_; // empty until saved, for a workbook made from a template
    std::string name_;
    bool saved_ = true;
};

class SpreadsheetWorkbooks : public AutoDispatch
{
public:
    explicit SpreadsheetWorkbooks(std::weak_ptr<SpreadsheetApplication> app);
    std::string ClassName() const override { return "Workbooks"; }

private:
    std::shared_ptr<SpreadsheetApplication> App() const;
    std::weak_ptr<SpreadsheetApplication> app_;
};

class SpreadsheetSheets : public AutoDispatch
{
public:
    explicit SpreadsheetSheets(std::shared_ptr<SpreadsheetWorkbook> book);
    std::string ClassName() const override { return "Sheets"; }

private:
    std::shared_ptr<SpreadsheetWorkbook> book_;
};
