#include "SpreadsheetApplication.h"

#include <QFileInfo>

#include <algorithm>

#include "AutoRegistry.h"
#include "SpreadsheetWorkbook.h"

std::shared_ptr<SpreadsheetApplication> SpreadsheetApplication::Create()
{
    std::shared_ptr<SpreadsheetApplication> app(new SpreadsheetApplication());
    app->Init();
    return app;
}

SpreadsheetApplication::SpreadsheetApplication() = default;

void SpreadsheetApplication::Init()
{
    std::weak_ptr<SpreadsheetApplication> self =
        std::static_pointer_cast<SpreadsheetApplication>(shared_from_this());
    collection_ = std::make_shared<SpreadsheetWorkbooks>(self);
    AddProperty("Application", [this](AutoArgs&) { return AutoVariant(shared_from_this()); });
    AddProperty("Workbooks", [this](AutoArgs&) { return AutoVariant(AutoObjectPtr(collection_)); });
    AddProperty("ActiveWorkbook", [this](AutoArgs&) {
        auto book = ActiveWorkbook();
        return book ? AutoVariant(AutoObjectPtr(book)) : AutoVariant();
    });
    AddProperty("ActiveSheet", [this](AutoArgs&) {
        auto book = ActiveWorkbook();
        return book ? AutoVariant(book->SheetObject(book->Document().ActiveSheet())) : AutoVariant();
    });
    AddProperty("Version", [](AutoArgs&) { return AutoVariant(kVersion); });
    AddProperty("Name", [](AutoArgs&) { return AutoVariant("Velk Spreadsheet"); });
    AddProperty(
        "DisplayAlerts", [this](AutoArgs&) { return AutoVariant(displayAlerts_); },
        [this](AutoArgs&, const AutoVariant& v) { displayAlerts_ = v.ToBool(); });
    AddProperty(
        "Visible", [this](AutoArgs&) { return AutoVariant(visible_); },
        [this](AutoArgs&, const AutoVariant& v) { visible_ = v.ToBool(); });
    AddProperty(
        "ActivePrinter", [this](AutoArgs&) { return AutoVariant(activePrinter_); },
        [this](AutoArgs&, const AutoVariant& v) { activePrinter_ = v.ToString(); });
    AddMethod("Quit", [this](AutoArgs&) {
        // Closes every workbook without saving; the object ends with its
        // last reference.
        auto books = workbooks_;
        for (auto& b : books)
            b->Close();
        return AutoVariant();
    });
}

std::shared_ptr<SpreadsheetWorkbook> SpreadsheetApplication::ActiveWorkbook() const
{
    return workbooks_.empty() ? nullptr : workbooks_.back();
}

std::shared_ptr<SpreadsheetWorkbook> SpreadsheetApplication::AddWorkbook(const std::string& templatePath)
{
    auto doc = std::make_unique<XlsxDocument>();
    std::string name;
    if (templatePath.empty()) {
        doc->NewBlank();
        name = "Book" + std::to_string(++newBookCounter_);
    } else {
        doc->Load(templatePath);
        // A workbook made from a template is named after it, numbered.
        name = QFileInfo(QString::fromStdString(templatePath)).completeBaseName().toStdString() +
               std::to_string(++newBookCounter_);
    }
    std::weak_ptr<SpreadsheetApplication> self =
        std::static_pointer_cast<SpreadsheetApplication>(shared_from_this());
    auto book = std::make_shared<SpreadsheetWorkbook>(self, std::move(doc), std::string(), name);
    workbooks_.push_back(book);
    return book;
}

std::shared_ptr<SpreadsheetWorkbook> SpreadsheetApplication::OpenWorkbook(const std::string& path)
{
    const QString abs = QFileInfo(QString::fromStdString(path)).absoluteFilePath();
    // Opening a workbook that is already open gives that workbook.
    for (auto& b : workbooks_)
        if (!b->Closed() && b->Get("FullName").ToString() == abs.toStdString()) return b;
    auto doc = std::make_unique<XlsxDocument>();
    doc->Load(path);
    std::weak_ptr<SpreadsheetApplication> self =
        std::static_pointer_cast<SpreadsheetApplication>(shared_from_this());
    auto book = std::make_shared<SpreadsheetWorkbook>(self, std::move(doc), abs.toStdString(), std::string());
    workbooks_.push_back(book);
    return book;
}

void SpreadsheetApplication::Forget(const SpreadsheetWorkbook* workbook)
{
    workbooks_.erase(std::remove_if(workbooks_.begin(), workbooks_.end(),
                                    [workbook](const auto& b) { return b.get() == workbook; }),
                     workbooks_.end());
}

void RegisterSpreadsheetComponent()
{
    auto& registry = AutoRegistry::Instance();
    if (!registry.IsRegistered(SpreadsheetApplication::kProgId))
        registry.RegisterClass(SpreadsheetApplication::kProgId,
                               [] { return AutoObjectPtr(SpreadsheetApplication::Create()); });
}
