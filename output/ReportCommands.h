#pragma once
// The report commands of the main window, as functions its slots call:
// saving the calculation report (a workbook made from the report template),
// printing a saved report, and exporting the report as PDF (the report table
// on page 1, the operating diagram on page 2, the packing comparison last). Also the workbook writer used
// by velk-calc --report.
//
// The commands report their own errors through the default error report
// (ReportError), as the window's handlers would, and return what happened so
// that a caller or a test can tell.

#include <functional>
#include <string>

#include "LoadCaseReport.h"
#include "ProfileReport.h"

class CalcPage;
class QWidget;
class TMyXls;

// A file dialog's settings, kept between uses like the window's dialog
// components. filter is "description|patterns" (patterns separated by ';').
struct TFileDialogState {
    std::string title;
    std::string filter;
    std::string defaultExt; // without the dot
    std::string fileName;   // proposed before, chosen after a use
    bool save = false;      // save dialog (overwrite prompt) or open dialog (file must exist)
};

extern TFileDialogState SaveDialogXLS;
extern TFileDialogState OpenDialogXLS;
extern TFileDialogState SaveDialogPDF;

// Runs a dialog; false when the user cancels. The default shows a
// QFileDialog; tests install their own.
using FileDialogRunner = std::function<bool(QWidget* parent, TFileDialogState& dialog)>;
void SetFileDialogRunner(FileDialogRunner runner); // empty: the default

// The report saved last in this run; the print command proposes it.
extern std::string LastReportFileName;

struct ReportContext {
    QWidget* parent = nullptr;
    CalcPage* page = nullptr;
    std::string currentFileName; // the project file, empty for a blank project
    std::string programDir;      // with trailing separator; empty: the executable's folder
    // Caption of a label of the main window by name ("DlL"); empty: the
    // captions the window starts with.
    std::function<std::string(const std::string& labelName)> caption;
    // The column rating, if any: a sheet of its own and pages in the PDF.
    ProfileReport profile;
    // The load cases, if any: a sheet of their own and a page in the PDF.
    LoadCaseReport cases;
};

enum class ReportOutcome { Cancelled, Done, Failed };

// "保存报表": asks for the file, writes the report from the template and saves
// it (also the part written before an error).
ReportOutcome MReport_SaveClick(const ReportContext& ctx);
// "打印报表": asks for a saved report and prints its active sheet.
ReportOutcome MReport_PrintClick(const ReportContext& ctx);
// Exports the report as PDF: the report table, then the operating diagram.
ReportOutcome MReport_PdfClick(const ReportContext& ctx);

// The folder of the running executable, with a trailing separator.
std::string ReportProgramDir();
// The report template in programDir (empty: ReportProgramDir()) with the
// template extension of the version probe.
std::string ReportTemplatePath(const std::string& programDir, const std::string& templateExtension);
// Chooses the template of the interface language: "-en" takes
// VELK2016-07-15-en when it is there, "" the Chinese template.
void SetReportTemplateSuffix(const std::string& suffix);
// The caption a label of the main window starts with ("" if unknown).
std::string ReportLabelCaption(const std::string& labelName);
// "low - high": the minimum load and the flooding load in percent of the
// design load. Throws like the fields it reads (EAbort after a field's
// message, EConvertError for a flooding percentage that is not a number,
// EMathError for a division by zero or overflow).
std::string OperatingRangeText(CalcPage& page);
// The sheet name for a project name: invalid characters replaced, at most 31 characters.
std::string ReportSheetName(const std::string& name);
// Writes every report cell into the sheet of xls, in the order of the
// report's table; stops at the first error.
void WriteReportCells(TMyXls& xls, CalcPage& page, const std::string& currentFileName,
                      const std::function<std::string(const std::string&)>& caption = {},
                      const LoadCaseReport& cases = {});

// Writes the report workbook of the page to path (template from programDir,
// empty: the executable's folder) without dialogs. Returns false with the
// reason in error; the part written before an error is saved.
bool WriteReportWorkbook(const std::string& path, CalcPage& page, const std::string& currentFileName,
                         std::string& error, const std::string& programDir = {});
// Writes the report as a PDF file, as the window's export does: page 1 the
// report table with the operating check, then the operating diagram and the
// performance charts (left out, with a note in error, when the case has
// none), the packing comparison table, the column rating of `profile` and
// the load cases of `cases`.
// Needs a GUI application object.
bool ExportReportPdf(const std::string& pdfPath, CalcPage& page, const std::string& currentFileName,
                     std::string& error, const std::string& programDir = {}, const ProfileReport& profile = {},
                     const LoadCaseReport& cases = {});
