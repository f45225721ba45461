#include "ProjectCommands.h"

#include <QCoreApplication>

#include "CalcPage.h"
#include "Messages.h"
#include "SaveFormData.h"

namespace
{
void SetCaptionFor(ProjectContext& ctx)
{
    ctx.Caption = CaptionWithFile(ctx.Caption, ctx.CurrentFileName);
    if (ctx.CaptionChanged) ctx.CaptionChanged(ctx.Caption);
}
// Puts the page back as the text of its form records held it; a page that
// cannot be put back becomes a blank project.
void RestorePage(CalcPage& page, const std::string& records, bool modified, bool needsRecalc)
{
    try {
        ApplyFormRecords(page, records);
    } catch (const std::exception&) {
        page.ResetForNew();
    }
    page.Modified = modified;
    page.NeedsRecalc = needsRecalc;
}

std::string LineText(const std::string& path, std::size_t line)
{
    return QCoreApplication::translate("Velk", "文件“%1”第 %2 行")
        .arg(QString::fromStdString(path))
        .arg(line)
        .toStdString();
}

} // namespace

std::string CaptionWithFile(const std::string& caption, const std::string& fileName)
{
    const auto dash = caption.find('-');
    return (dash == std::string::npos ? std::string() : caption.substr(0, dash + 1)) + fileName;
}

void LoadProject(CalcPage& page, const std::string& path, std::size_t* failedLine)
{
    if (!ReadFormRecords(page, path, failedLine)) ReadLegacyLayout(page, path);
}

bool QuerySaveProject(ProjectContext& ctx)
{
    if (!ctx.Page.Modified) return true;
    // Without a way to ask, unsaved work is kept: the command does not go on.
    const SaveChangesAnswer answer = ctx.AskSaveChanges ? ctx.AskSaveChanges() : SaveChangesAnswer::Cancel;
    switch (answer) {
    case SaveChangesAnswer::Yes:
        return SaveProjectCommand(ctx, false);
    case SaveChangesAnswer::No:
        return true;
    case SaveChangesAnswer::Cancel:
        break;
    }
    return false;
}

bool NewProjectCommand(ProjectContext& ctx)
{
    if (!QuerySaveProject(ctx) || !ctx.AskSaveFileName) return false;
    const std::string path = ctx.AskSaveFileName(kNewDialogTitle, std::string());
    if (path.empty()) return false;
    ctx.CurrentFileName = path;
    SetCaptionFor(ctx);
    ctx.Page.ResetForNew();
    if (ctx.ResetExtra) ctx.ResetExtra();
    return true;
}

bool OpenProjectCommand(ProjectContext& ctx, const std::string& recentPath)
{
    if (!QuerySaveProject(ctx)) return false;

    std::string path;
    if (!ctx.StartupFileName.empty()) {
        path.swap(ctx.StartupFileName);
        // Too short to name a "*.vel" file: the argument is ignored.
        if (path.size() < 4) return false;
    } else if (!recentPath.empty()) {
        path = recentPath;
    } else {
        if (!ctx.AskOpenFileName) return false;
        path = ctx.AskOpenFileName();
        if (path.empty()) return false;
    }

    // A file that fails to load part-way must not leave a half-loaded page
    // under its name, which a later Save would write over the damaged file:
    // the page goes back to what it held before the Open.
    const std::string previous = ctx.CurrentFileName;
    const std::string before = FormRecordsText(ctx.Page);
    const bool modified = ctx.Page.Modified, needsRecalc = ctx.Page.NeedsRecalc;
    std::size_t failedLine = 0;
    try {
        LoadProject(ctx.Page, path, &failedLine);
        if (ctx.LoadExtra) ctx.LoadExtra(path);
    } catch (const std::exception& e) {
        if (!dynamic_cast<const EInOutError*>(&e)) RestorePage(ctx.Page, before, modified, needsRecalc);
        ReportError(EVelkError(failedLine == 0 ? std::string(e.what())
                                               : e.what() + std::string("\n") + LineText(path, failedLine)));
        return false;
    }
    ctx.CurrentFileName = path;
    SetCaptionFor(ctx);
    if (ctx.AddRecentFile) ctx.AddRecentFile(ctx.CurrentFileName);

    try {
        ctx.Page.UfMDChange();
        ctx.Page.LDExit();
    } catch (const std::exception& e) {
        // The error ends the command before the flags are cleared: the
        // next exit of a field recalculates, and closing asks to save.
        ReportError(e);
        return true;
    }
    ctx.Page.Modified = false;
    ctx.Page.NeedsRecalc = false;
    return true;
}

bool SaveProjectCommand(ProjectContext& ctx, bool saveAs)
{
    std::string path = ctx.CurrentFileName;
    if (saveAs || path.empty()) {
        if (!ctx.AskSaveFileName) return false;
        path = ctx.AskSaveFileName(saveAs ? kSaveAsDialogTitle : kSaveDialogTitle, ctx.CurrentFileName);
        if (path.empty()) return false;
    }
    try {
        WriteFormRecords(ctx.Page, path, ProjectForm::Compressed, ctx.ExtraRecords ? ctx.ExtraRecords() : std::string());
    } catch (const std::exception& e) {
        ReportError(e);
        return false;
    }
    ctx.CurrentFileName = path;
    ctx.Page.Modified = false;
    SetCaptionFor(ctx);
    if (ctx.AddRecentFile) ctx.AddRecentFile(path);
    return true;
}
