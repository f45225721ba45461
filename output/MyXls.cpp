#include "MyXls.h"

#include "AutoObject.h"
#include "AutoRegistry.h"
#include "Messages.h"
#include "SpreadsheetApplication.h"

std::string XlsDocumentExtension;
std::string XlsTemplateExtension;
int XlsVersion = 0;

TMyXls::TMyXls(const std::string& templateName, int mode, const std::string& fileName)
{
    const char* progId = SpreadsheetApplication::kProgId;
    try {
        // A running instance first; its Application property is the
        // application object itself.
        AutoObjectPtr running = AutoRegistry::Instance().FindActiveObject(progId);
        if (running) Application = AutoVariant(running).Get("Application");
    } catch (const std::exception&) {
        Application = AutoVariant();
    }
    if (!Application.IsObject()) {
        try {
            Application = AutoVariant(CreateOleObject(progId));
        } catch (const std::exception&) {
            ShowMessage(MsgKind::Error, kExcelErrorText);
            throw EAbort();
        }
    }
    // Like a constructor that fails in the original, the cleanup of the
    // destructor runs before the error goes on, so no workbook stays open.
    try {
        switch (mode) {
        case ModeNewReport:
            TemplateName = templateName;
            FileName = fileName;
            Workbook = Application.Get("Workbooks").Call("Add", {templateName});
            Sheet = Workbook.Get("ActiveSheet");
            break;
        case ModeOpenFile:
            FileName = fileName;
            Workbook = Application.Get("Workbooks").Call("Open", {fileName});
            Sheet = Workbook.Get("ActiveSheet");
            break;
        case ModeVersionProbe:
            Version = Application.Get("Version").ToInt();
            DocumentExtension = Version > 11 ? ".xlsx" : ".xls";
            TemplateExtension = Version > 11 ? ".xltx" : ".xlt";
            XlsVersion = Version;
            XlsDocumentExtension = DocumentExtension;
            XlsTemplateExtension = TemplateExtension;
            break;
        default:
            throw EAutoError("TMyXls: unknown mode " + std::to_string(mode));
        }
    } catch (...) {
        Release();
        throw;
    }
}

TMyXls::~TMyXls()
{
    Release();
}

void TMyXls::Release() noexcept
{
    try {
        if (Application.IsObject()) Application.Put("Displayalerts", false);
    } catch (const std::exception&) {
    }
    try {
        if (Workbook.IsObject()) Workbook.Call("Close");
    } catch (const std::exception&) {
    }
    Sheet = AutoVariant();
    Workbook = AutoVariant();
    // Releasing the last reference ends an instance this object started; a
    // running instance it attached to stays, held by the running-object table.
    Application = AutoVariant();
}

void TMyXls::SaveWorkbook()
{
    Application.Put("Displayalerts", false);
    Workbook.Call("SaveAs", {FileName});
    Application.Put("Displayalerts", true);
}

void TMyXls::PrintSheet()
{
    Application.Put("Displayalerts", false);
    Sheet.Call("PrintOut", {AutoVariant::Missing()});
    Application.Put("Displayalerts", true);
}

void TMyXls::SelectSheet(int index)
{
    Workbook.Get("Sheets", {index}).Call("Select");
    Sheet = Workbook.Get("ActiveSheet");
}

void MyXlsInitialization()
{
    RegisterSpreadsheetComponent();
    try {
        TMyXls probe("", TMyXls::ModeVersionProbe, "");
    } catch (const EAbort&) {
        // "Excel异常!" was shown; the extensions stay empty.
    } catch (const std::exception& e) {
        ReportError(e);
    }
}

void MyXlsFinalization()
{
    XlsDocumentExtension.clear();
    XlsTemplateExtension.clear();
}
