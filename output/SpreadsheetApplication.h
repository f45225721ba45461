#pragma once
// The spreadsheet component of this program: an automation server with the
// members of the spreadsheet program's object model that the report and the
// print commands use, registered as "Excel.Application".
//
// Object model (every name matched without regard to case):
//   Application  Application, Workbooks, ActiveWorkbook, ActiveSheet,
//                Version ("16.0"), Name, DisplayAlerts (read/write),
//                Visible (read/write), ActivePrinter (read/write; empty
//                means the system's default printer), Quit
//   Workbooks    Add([template]), Open(path), Count, Item(index | name)
//   Workbook     ActiveSheet, Sheets / Worksheets ([index | name]), SaveAs(path),
//                Save, Close([saveChanges], [fileName]), Name, FullName,
//                Path, Saved
//   Sheets       Count, Item(index | name)
//   Worksheet    Name (read/write), Index, Cells(row, col) (read gives a
//                Range, write sets the value), Range("B15"), Select,
//                Activate, PrintOut([from], [to], [copies], [preview],
//                [activePrinter], [printToFile], [collate], [prToFileName])
//   Range        Value / Value2 (read/write), Text, Row, Column
//
// Workbooks are .xlsx files (and .xltx templates). PrintOut prints the
// sheet's used range as a table through Qt Print Support; with
// printToFile and prToFileName it writes a PDF file instead. A failure is an
// EAutoError whose text names the cause (missing file, no printer, a
// sheet name the rules refuse, ...).

#include <memory>
#include <string>
#include <vector>

#include "AutoObject.h"

class SpreadsheetWorkbook;
class SpreadsheetWorkbooks;

class SpreadsheetApplication : public AutoDispatch
{
public:
    static constexpr const char* kProgId = "Excel.Application";
    static constexpr const char* kVersion = "16.0";

    static std::shared_ptr<SpreadsheetApplication> Create();
    std::string ClassName() const override { return "Application"; }

    bool DisplayAlerts() const { return displayAlerts_; }
    const std::string& ActivePrinter() const { return activePrinter_; }
    // The open workbooks, oldest first.
    const std::vector<std::shared_ptr<SpreadsheetWorkbook>>& OpenWorkbooks() const { return workbooks_; }
    std::shared_ptr<SpreadsheetWorkbook> ActiveWorkbook() const;

    // Used by the Workbooks collection and by Workbook.Close.
    std::shared_ptr<SpreadsheetWorkbook> AddWorkbook(const std::string& templatePath);
    std::shared_ptr<SpreadsheetWorkbook> OpenWorkbook(const std::string& path);
    void Forget(const SpreadsheetWorkbook* workbook);

private:
    SpreadsheetApplication();
    void Init();

    std::vector<std::shared_ptr<SpreadsheetWorkbook>> workbooks_;
    std::shared_ptr<SpreadsheetWorkbooks> collection_;
    bool displayAlerts_ = true;
    bool visible_ = false;
    std::string activePrinter_;
    int newBookCounter_ = 0;
};

// Enters the component in the automation class registry under
// "Excel.Application" (once; later calls do nothing).
void RegisterSpreadsheetComponent();
