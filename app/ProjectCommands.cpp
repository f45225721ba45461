#include "ProjectCommands.h"

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
} // namespace

std::string CaptionWithFile(const std::string& caption, const std::string& fileName)
{
    const auto dash = caption.find('-');
    return (dash == std::string::npos ? std::string() : caption.substr(0, dash + 1)) + fileName;
}

void LoadProject(CalcPage& page, const std::string& path)
{
    if (!ReadFormRecords(page, path)) ReadLegacyLayout(page, path);
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

    const std::string previous = ctx.CurrentFileName;
    ctx.CurrentFileName = path;
    try {
        LoadProject(ctx.Page, path);
    } catch (const EInOutError& e) {
        // The file could not be read at all and the page is unchanged, so
        // the page still belongs to the previous file: a later Save must
        // not write it under the name that failed.
        ctx.CurrentFileName = previous;
        ReportError(e);
        return false;
    } catch (const std::exception& e) {
        // A value inside the file did not convert: the records before it
        // are applied, the page now holds (part of) this file.
        ReportError(e);
        return false;
    }
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
        WriteFormRecords(ctx.Page, path);
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
