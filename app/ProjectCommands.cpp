#include "ProjectCommands.h"

#include <QCoreApplication>

#include "CalcPage.h"
#include "CaseRun.h"
#include "EngineText.h"
#include "Messages.h"
#include "ProfileRecords.h"
#include "SaveFormData.h"
#include "SaveFormDataFile.h"

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

QString Tr(const char* text)
{
    return QCoreApplication::translate("Velk", text);
}

// Why a damaged project file cannot be read, and from which line.
std::string DamagedText(const QString& file, const EProjectDamaged& e)
{
    using Cause = EProjectDamaged::Cause;
    const char* text = QT_TRANSLATE_NOOP("Velk", "项目文件“%1”已损坏，从第 %2 行起无法读取。");
    switch (e.Reason) {
    case Cause::CutShort:
        text = QT_TRANSLATE_NOOP("Velk", "项目文件“%1”不完整：从第 %2 行起的记录“%3”缺少行，未打开。");
        break;
    case Cause::NotUtf8:
        text = QT_TRANSLATE_NOOP("Velk", "项目文件“%1”已损坏：第 %2 行不是有效的 UTF-8 文本。");
        break;
    case Cause::LineEnds:
        text = QT_TRANSLATE_NOOP("Velk", "项目文件“%1”的换行符已被转换，从第 %2 行起无法分清记录，未打开。");
        break;
    case Cause::Data:
        break;
    }
    // In one call: a file name holding "%2" must not take the line's place.
    QString message = Tr(text);
    message = e.Reason == Cause::CutShort
                  ? message.arg(file, QString::number(e.Line), QString::fromStdString(e.Control))
                  : message.arg(file, QString::number(e.Line));
    return message.toStdString();
}

// A project file read whole: its bytes (what the legacy layout reads) and
// its plain text.
struct ProjectFileText {
    std::string bytes, plain;
};

ProjectFileText ReadProjectText(const std::string& path)
{
    ProjectFileText t;
    t.bytes = ReadProjectFileBytes(path);
    t.plain = CheckedProjectPlainText(t.bytes);
    CheckProjectRecordCount(t.plain);
    return t;
}

void ApplyProjectText(CalcPage& page, const ProjectFileText& t, std::size_t* failedLine)
{
    if (!ApplyFormRecords(page, t.plain, failedLine)) ApplyLegacyLayout(page, t.bytes);
}

// Reads the file into a copy of the page, so that a value that does not
// convert is found before the page itself changes; the engine's hooks,
// packing and messages stay as they were.
void TryOnCopy(const CalcPage& page, const ProjectFileText& t, std::size_t* failedLine)
{
    CalcPage copy(false);
    CopyPageState(page, copy);
    RecordingSink quiet;
    EngineStateScope scope(copy, &quiet);
    ApplyProjectText(copy, t, failedLine);
}

// Tells the window at the end of a command, whatever way it ends.
struct FlagsNotice {
    ProjectContext& ctx;
    ~FlagsNotice()
    {
        if (ctx.FlagsChanged) ctx.FlagsChanged();
    }
};

} // namespace

std::string CaptionWithFile(const std::string& caption, const std::string& fileName)
{
    const auto dash = caption.find('-');
    return (dash == std::string::npos ? std::string() : caption.substr(0, dash + 1)) + fileName;
}

void LoadProject(CalcPage& page, const std::string& path, std::size_t* failedLine, std::string* kept)
{
    const ProjectFileText t = ReadProjectText(path);
    ApplyProjectText(page, t, failedLine);
    if (kept) *kept = UnownedRecordsText(page, t.plain);
}

std::string ProjectStateText(const CalcPage& page)
{
    const std::string text = FormRecordsText(page);
    std::size_t from = 0;
    for (int line = 0; line < 3; ++line)
        from = text.find("\r\n", from) + 2; // the writer ends every line so
    return text.substr(from);
}

std::string OpenFailureText(const std::string& path, std::size_t failedLine, const std::exception& e)
{
    const QString file = QString::fromStdString(path);
    if (dynamic_cast<const EInOutError*>(&e)) return e.what(); // names the file already
    if (const auto* large = dynamic_cast<const EProjectTooLarge*>(&e)) {
        const char* text = large->What == EProjectTooLarge::Part::Beds
                               ? QT_TRANSLATE_NOOP("Velk", "项目文件“%1”的填料段多于 %2 段，未打开。")
                           : large->What == EProjectTooLarge::Part::Stages
                               ? QT_TRANSLATE_NOOP("Velk", "项目文件“%1”的塔板多于 %2 块，未打开。")
                           : large->What == EProjectTooLarge::Part::Cases
                               ? QT_TRANSLATE_NOOP("Velk", "项目文件“%1”的工况多于 %2 个，未打开。")
                               : QT_TRANSLATE_NOOP("Velk", "项目文件“%1”的记录多于 %2 条，未打开。");
        return Tr(text).arg(file).arg(large->Cap).toStdString();
    }
    if (const auto* damaged = dynamic_cast<const EProjectDamaged*>(&e)) return DamagedText(file, *damaged);
    if (failedLine > 0)
        return QCoreApplication::translate("Velk", "项目文件“%1”已损坏，第 %2 行无法读取：%3")
            .arg(file)
            .arg(failedLine)
            .arg(EngineText(std::string(e.what())))
            .toStdString();
    return QCoreApplication::translate("Velk", "项目文件“%1”已损坏：%2")
        .arg(file, EngineText(std::string(e.what())))
        .toStdString();
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
    FlagsNotice notice{ctx};
    ctx.CurrentFileName = path;
    SetCaptionFor(ctx);
    ctx.Page.ResetForNew();
    if (ctx.ResetExtra) ctx.ResetExtra();
    ctx.KeptRecords.clear();
    // Nothing of the new project differs from its file yet.
    ctx.Page.Modified = false;
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

    FlagsNotice notice{ctx};
    std::size_t failedLine = 0;
    try {
        // Everything is read first, into new objects and a copy of the page:
        // a file that fails to load changes nothing of the open project.
        const ProjectFileText text = ReadProjectText(path);
        TryOnCopy(ctx.Page, text, &failedLine);
        std::function<void()> commitExtra;
        if (ctx.ReadExtra) commitExtra = ctx.ReadExtra(text.plain, &failedLine);
        std::string kept = UnownedRecordsText(ctx.Page, text.plain, ctx.ExtraOwns);
        // The copy took it, so the page takes it too; should it fail all the
        // same, the page goes back to what it held.
        const std::string before = FormRecordsText(ctx.Page);
        const bool modified = ctx.Page.Modified, needsRecalc = ctx.Page.NeedsRecalc;
        try {
            ApplyProjectText(ctx.Page, text, nullptr);
        } catch (...) {
            RestorePage(ctx.Page, before, modified, needsRecalc);
            throw;
        }
        if (commitExtra) commitExtra();
        ctx.KeptRecords = std::move(kept);
    } catch (const EAbort& e) {
        ReportError(e);
        return false;
    } catch (const std::exception& e) {
        ReportError(EVelkError(OpenFailureText(path, failedLine, e)));
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
    FlagsNotice notice{ctx};
    try {
        WriteFormRecords(ctx.Page, path, ProjectForm::Compressed,
                         (ctx.ExtraRecords ? ctx.ExtraRecords() : std::string()) + ctx.KeptRecords);
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
