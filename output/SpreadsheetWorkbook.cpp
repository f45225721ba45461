#include "SpreadsheetWorkbook.h"

#include <QDir>
#include <QFileInfo>

#include "SheetMessage.h"
#include "SpreadsheetApplication.h"
#include "SpreadsheetSheet.h"

SpreadsheetWorkbook::SpreadsheetWorkbook(std::weak_ptr<SpreadsheetApplication> app,
                                         std::unique_ptr<XlsxDocument> doc, std::string fullName,
                                         std::string name)
    : app_(std::move(app)), doc_(std::move(doc)), fullName_(std::move(fullName)), name_(std::move(name))
{
    if (name_.empty()) name_ = QFileInfo(QString::fromStdString(fullName_)).fileName().toStdString();
    Init();
}

XlsxDocument& SpreadsheetWorkbook::Document()
{
    if (!doc_)
        throw EAutoError("Workbook",
                         SheetMessage(QT_TRANSLATE_NOOP("Velk", "工作簿“%1”已关闭，不能再使用。"), {name_}));
    return *doc_;
}

int SpreadsheetWorkbook::SheetIndexOf(const AutoVariant& key)
{
    XlsxDocument& doc = Document();
    if (key.IsText()) {
        const QString name = QString::fromStdString(key.ToString());
        for (int i = 0; i < doc.SheetCount(); ++i)
            if (QString::fromStdString(doc.SheetName(i)).compare(name, Qt::CaseInsensitive) == 0) return i;
        throw EAutoError("Workbook",
                         SheetMessage(QT_TRANSLATE_NOOP("Velk", "下标越界：工作簿中没有名为“%1”的工作表。"),
                                      {key.ToString()}));
    }
    const int index = key.ToInt();
    if (index < 1 || index > doc.SheetCount())
        throw EAutoError(
            "Workbook",
            SheetMessage(QT_TRANSLATE_NOOP("Velk", "下标越界：工作簿只有 %1 个工作表，没有第 %2 个。"),
                         {std::to_string(doc.SheetCount()), std::to_string(index)}));
    return index - 1;
}

AutoObjectPtr SpreadsheetWorkbook::SheetObject(int index0)
{
    Document();
    auto self = std::static_pointer_cast<SpreadsheetWorkbook>(shared_from_this());
    return std::make_shared<SpreadsheetSheet>(self, index0, app_);
}

void SpreadsheetWorkbook::SaveAs(const std::string& path)
{
    if (path.empty())
        throw EAutoError("Workbook", SheetMessage(QT_TRANSLATE_NOOP("Velk", "SaveAs 需要文件名。")));
    const QString abs = QFileInfo(QString::fromStdString(path)).absoluteFilePath();
    Document().SaveAs(abs.toStdString());
    fullName_ = abs.toStdString();
    name_ = QFileInfo(abs).fileName().toStdString();
    saved_ = true;
}

void SpreadsheetWorkbook::Close()
{
    if (!doc_) return;
    doc_.reset();
    if (auto app = app_.lock()) app->Forget(this);
}

void SpreadsheetWorkbook::Init()
{
    AddProperty("Application", [this](AutoArgs&) {
        auto app = app_.lock();
        return app ? AutoVariant(AutoObjectPtr(app)) : AutoVariant();
    });
    AddProperty("ActiveSheet",
                [this](AutoArgs&) { return AutoVariant(SheetObject(Document().ActiveSheet())); });
    auto sheets = [this](AutoArgs& a) {
        if (Given(a, 0)) return AutoVariant(SheetObject(SheetIndexOf(a[0])));
        Document();
        return AutoVariant(AutoObjectPtr(std::make_shared<SpreadsheetSheets>(
            std::static_pointer_cast<SpreadsheetWorkbook>(shared_from_this()))));
    };
    AddProperty("Sheets", sheets, {}, 0, 1);
    AddProperty("Worksheets", sheets, {}, 0, 1);
    AddMethod(
        "SaveAs",
        [this](AutoArgs& a) {
            // Further arguments (file format, passwords, ...) are accepted and
            // left at their defaults: the format follows the file name.
            SaveAs(Required(a, 0, "SaveAs").ToString());
            return AutoVariant();
        },
        1, 12);
    AddMethod("Save", [this](AutoArgs&) {
        if (fullName_.empty())
            throw EAutoError(
                "Workbook",
                SheetMessage(QT_TRANSLATE_NOOP("Velk", "工作簿“%1”还没有文件名，请用 SaveAs 保存。"),
                             {name_}));
        SaveAs(fullName_);
        return AutoVariant();
    });
    AddMethod(
        "Close",
        [this](AutoArgs& a) {
            Document();
            // Close(True, name) saves first; without arguments the changes
            // are discarded (this component never asks).
            if (Given(a, 0) && a[0].ToBool()) {
                if (Given(a, 1))
                    SaveAs(a[1].ToString());
                else if (!fullName_.empty())
                    SaveAs(fullName_);
                else
                    throw EAutoError(
                        "Workbook",
                        SheetMessage(QT_TRANSLATE_NOOP("Velk", "工作簿“%1”还没有文件名，无法在关闭时保存。"),
                                     {name_}));
            }
            Close();
            return AutoVariant();
        },
        0, 3);
    AddProperty("Name", [this](AutoArgs&) { return AutoVariant(name_); });
    AddProperty("FullName", [this](AutoArgs&) { return AutoVariant(fullName_.empty() ? name_ : fullName_); });
    AddProperty("Path", [this](AutoArgs&) {
        return AutoVariant(
            fullName_.empty()
                ? std::string()
                : QDir::toNativeSeparators(QFileInfo(QString::fromStdString(fullName_)).absolutePath())
                      .toStdString());
    });
    AddProperty(
        "Saved", [this](AutoArgs&) { return AutoVariant(saved_); },
        [this](AutoArgs&, const AutoVariant& v) { saved_ = v.ToBool(); });
}

SpreadsheetWorkbooks::SpreadsheetWorkbooks(std::weak_ptr<SpreadsheetApplication> app) : app_(std::move(app))
{
    AddMethod(
        "Add",
        [this](AutoArgs& a) {
            return AutoVariant(
                AutoObjectPtr(App()->AddWorkbook(Given(a, 0) ? a[0].ToString() : std::string())));
        },
        0, 1);
    AddMethod(
        "Open",
        [this](AutoArgs& a) {
            return AutoVariant(AutoObjectPtr(App()->OpenWorkbook(Required(a, 0, "Open").ToString())));
        },
        1, 15);
    AddProperty("Count",
                [this](AutoArgs&) { return AutoVariant(static_cast<int>(App()->OpenWorkbooks().size())); });
    AddProperty(
        "Item",
        [this](AutoArgs& a) {
            const auto& books = App()->OpenWorkbooks();
            const AutoVariant& key = Required(a, 0, "Item");
            if (key.IsText()) {
                for (const auto& b : books)
                    if (QString::fromStdString(b->Name()).compare(QString::fromStdString(key.ToString()),
                                                                  Qt::CaseInsensitive) == 0)
                        return AutoVariant(AutoObjectPtr(b));
                throw EAutoError("Workbooks",
                                 SheetMessage(QT_TRANSLATE_NOOP("Velk", "下标越界：没有名为“%1”的工作簿。"),
                                              {key.ToString()}));
            }
            const int i = key.ToInt();
            if (i < 1 || i > static_cast<int>(books.size()))
                throw EAutoError("Workbooks",
                                 SheetMessage(QT_TRANSLATE_NOOP("Velk", "下标越界：没有第 %1 个工作簿。"),
                                              {std::to_string(i)}));
            return AutoVariant(AutoObjectPtr(books[static_cast<std::size_t>(i - 1)]));
        },
        {}, 1, 1);
}

std::shared_ptr<SpreadsheetApplication> SpreadsheetWorkbooks::App() const
{
    auto app = app_.lock();
    if (!app)
        throw EAutoError("Workbooks", SheetMessage(QT_TRANSLATE_NOOP("Velk", "电子表格程序已经退出。")));
    return app;
}

SpreadsheetSheets::SpreadsheetSheets(std::shared_ptr<SpreadsheetWorkbook> book) : book_(std::move(book))
{
    AddProperty("Count", [this](AutoArgs&) { return AutoVariant(book_->Document().SheetCount()); });
    AddProperty(
        "Item", [this](AutoArgs& a) { return book_->Get("Sheets", {Required(a, 0, "Item")}); }, {}, 1, 1);
    // Add([Before], [After], [Count], [Type]): the new sheet goes last and
    // becomes the active one, as with After set to the last sheet.
    AddMethod(
        "Add",
        [this](AutoArgs&) {
            XlsxDocument& doc = book_->Document();
            const int index = doc.AddSheet();
            doc.SetActiveSheet(index);
            return book_->Get("Sheets", {AutoVariant(index + 1)});
        },
        0, 4);
}
