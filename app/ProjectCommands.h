#pragma once
// The File commands New, Open, Save and Save As over the calculation page,
// without any widget: the main window keeps a ProjectContext, supplies the
// dialogs and the recent-files list as callbacks, and its slots call these
// functions. Errors are shown through the default error report (ReportError)
// and never leave these functions.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "TrNoop.h"

class CalcPage;

enum class SaveChangesAnswer { Yes, No, Cancel };

inline constexpr const char* kSaveChangesText = QT_TRANSLATE_NOOP("Velk", "项目没有保存，你需要保存？");
inline constexpr const char* kSaveChangesTitle = QT_TRANSLATE_NOOP("Velk", "注意！");
inline constexpr const char* kNewDialogTitle = QT_TRANSLATE_NOOP("Velk", "新建");
inline constexpr const char* kSaveDialogTitle = QT_TRANSLATE_NOOP("Velk", "保存");
inline constexpr const char* kSaveAsDialogTitle = QT_TRANSLATE_NOOP("Velk", "另存为");

struct ProjectContext {
    explicit ProjectContext(CalcPage& page) : Page(page) {}

    CalcPage& Page;
    // The current project file; empty for a blank project.
    std::string CurrentFileName;
    // The first command-line argument, consumed by the first Open.
    std::string StartupFileName;
    // The window title; New, Open and Save keep the part up to the first "-"
    // and append the file.
    std::string Caption = "波纹规整填料塔流体力学-空白项目";

    // The message box kSaveChangesText / kSaveChangesTitle (warning icon,
    // Yes, No, Cancel).
    std::function<SaveChangesAnswer()> AskSaveChanges;
    // The save dialog (extension "vel", the project filter, asking before it
    // overwrites) with the given title and file name; "" when cancelled.
    std::function<std::string(const std::string& title, const std::string& fileName)> AskSaveFileName;
    // The open dialog; "" when cancelled.
    std::function<std::string()> AskOpenFileName;
    // The recent-files list: put path on top.
    std::function<void(const std::string& path)> AddRecentFile;
    // Tells the window that the caption changed (optional).
    std::function<void(const std::string& caption)> CaptionChanged;
    // What the project holds beyond the page (optional): the records Save
    // appends (GBK, CR LF); ReadExtra reads them from an opened project's
    // plain text into new objects, changing nothing (it throws as the readers
    // do, setting *failedLine to the line of a value that did not convert),
    // and returns what puts them in place once the whole file has been read,
    // which does not fail; ExtraOwns names the controls of those records;
    // ResetExtra forgets them on New.
    std::function<std::string()> ExtraRecords;
    std::function<std::function<void()>(const std::string& plainText, std::size_t* failedLine)> ReadExtra;
    std::function<bool(std::string_view control)> ExtraOwns;
    std::function<void()> ResetExtra;
    // The records of the open project that neither the page nor the extra
    // reads (a later version's, another tool's): Save writes them back as
    // they were read.
    std::string KeptRecords;
    // Runs at the end of New, Open and Save, when the flags may have changed
    // (optional).
    std::function<void()> FlagsChanged;
};

// The caption up to and including its first "-", followed by fileName.
std::string CaptionWithFile(const std::string& caption, const std::string& fileName);

// Reads a project: the form record format, and when the file does not carry
// its banner, the legacy layout. Throws as the readers do, and
// EProjectDamaged, changing nothing, for a file that cannot be read whole (a
// compressed stream cut short or corrupt, a plain text cut short, a
// conversion to LF or UTF-8 that cannot be undone exactly).
// failedLine, when given, receives the line of a value that did not convert;
// kept, when given, the records that name no control of the page.
void LoadProject(CalcPage& page, const std::string& path, std::size_t* failedLine = nullptr,
                 std::string* kept = nullptr);

// What Save would write for the page, without the header lines (they hold
// the time): two equal texts are the same project.
std::string ProjectStateText(const CalcPage& page);

// The interface-language message for a project file that could not be
// opened: the file, why, and the line where its content is damaged.
std::string OpenFailureText(const std::string& path, std::size_t failedLine, const std::exception& e);

// Asks whether to save a modified project. True: go on (saved, or the user
// chose No, or nothing was modified). False: stop, also when the user chose
// Yes but the project could not be saved (cancelled dialog, failed write),
// so that unsaved work is never dropped.
bool QuerySaveProject(ProjectContext& ctx);

// File > New: asks for the new project's file (title "新建"), then clears
// the page; the new project is unmodified. False when nothing changed.
bool NewProjectCommand(ProjectContext& ctx);

// File > Open, the toolbar's Open, a recent-files entry (recentPath) and the
// start-up argument (StartupFileName, taken first when set). Loads the file,
// sets caption and recent files, recalculates and clears both flags. True
// when a file was read. The whole file is read, and tried on a copy of the
// page, before anything changes: a file that fails to load (damaged, beyond
// the caps, unreadable) changes nothing, neither the page nor the extra, the
// caption or the current file, and the message names the file and the line.
bool OpenProjectCommand(ProjectContext& ctx, const std::string& recentPath = {});

// File > Save (saveAs false) and File > Save As (true), also the toolbar
// buttons. Save As, and Save of a project without a file, ask for the name
// first. True when the file was written.
bool SaveProjectCommand(ProjectContext& ctx, bool saveAs);
