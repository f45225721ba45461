#pragma once
// TMyXls: the spreadsheet wrapper the report and print commands use. It
// attaches to a running "Excel.Application" (or starts one) through the
// automation layer and, by mode, makes a workbook from a template (0), opens
// an existing workbook (1) or only asks the version (2).
//
// A TMyXls lives for one command. If the spreadsheet program cannot be
// reached, the constructor shows "Excel异常!" and throws EAbort. Every other
// failure is the spreadsheet's EAutoError; the workbook is closed (without
// saving) whenever the object goes, also when its constructor fails after
// the workbook was made.

#include <string>

#include "AutoVariant.h"
#include "TrNoop.h"

class TMyXls
{
public:
    TMyXls(const std::string& templateName, int mode, const std::string& fileName);
    virtual ~TMyXls();
    TMyXls(const TMyXls&) = delete;
    TMyXls& operator=(const TMyXls&) = delete;

    // Saves the workbook under FileName, replacing a file there, alerts off.
    virtual void SaveWorkbook();
    // Prints the sheet with the spreadsheet's defaults, alerts off.
    virtual void PrintSheet();
    // Selects sheet number index (from 1) and makes it the Sheet.
    virtual void SelectSheet(int index);

    AutoVariant Application;
    AutoVariant Workbook; // empty in version-probe mode
    AutoVariant Sheet;
    int Version = 0; // only set in version-probe mode
    std::string DocumentExtension;
    std::string TemplateExtension;
    std::string TemplateName;
    std::string FileName;

    static constexpr int ModeNewReport = 0;
    static constexpr int ModeOpenFile = 1;
    static constexpr int ModeVersionProbe = 2;

private:
    void Release() noexcept;
};

// Unit state, set by the start-up probe: ".xlsx"/".xltx" for version 12 and
// later, ".xls"/".xlt" before; empty until the probe ran or when it failed.
extern std::string XlsDocumentExtension;
extern std::string XlsTemplateExtension;
extern int XlsVersion;

// Unit initialisation: registers this program's spreadsheet component and
// runs the version probe once. A probe that cannot reach a spreadsheet
// program has shown "Excel异常!" and leaves the extensions empty; any other
// error goes to the default error report.
void MyXlsInitialization();
// Unit finalisation: clears the two extensions.
void MyXlsFinalization();

inline constexpr const char* kExcelErrorText = QT_TRANSLATE_NOOP("Velk", "Excel异常!");
