// The File commands over the headless page: Open (start-up argument,
// recent entry, dialog; fallback to the legacy layout; recalculation and
// flags), Save and Save As (dialog titles, flags, caption, recent files,
// failures), New, the question before dropping changes, and the
// command-line calculator's --project and --save.
#include <gtest/gtest.h>

#include <sstream>

#include "Messages.h"
#include "PackingCatalogue.h"
#include "ProjectCommands.h"
#include "SaveFormData.h"
#include "VelkCalc.h"
#include "project_test_support.h"

using namespace projecttest;

namespace
{

const std::string kPrefix = "波纹规整填料塔流体力学-";

// A case that computes (the engine tests' reference case).
void TypeCase(CalcPage& page)
{
    const char* values[][2] = {{"LD", "2.5"},     {"VD", "3.0"},      {"DlD", "800"},  {"DvD", "2.5"},
                               {"MlD", "0.0003"}, {"MvD", "0.00001"}, {"SLD", "0.02"}, {"DlfD", "2e-9"},
                               {"DvfD", "1e-5"},  {"alfD", "2"}};
    for (auto& v : values)
        page.Field(v[0])->SetText(v[1]);
}

class ProjectCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CurrentPacking = PackingParams{};
        ctx.AskSaveChanges = [this] {
            questions++;
            return answer;
        };
        ctx.AskSaveFileName = [this](const std::string& title, const std::string& name) {
            saveDialogs.push_back(title + "|" + name);
            return saveName;
        };
        ctx.AskOpenFileName = [this] {
            openDialogs++;
            return openName;
        };
        ctx.AddRecentFile = [this](const std::string& p) { recent.push_back(p); };
        ctx.CaptionChanged = [this](const std::string& c) { shownCaption = c; };
    }

    // A computed project on disk, written by a page of its own.
    std::string SavedCase(const std::string& name, bool legacy = false)
    {
        CalcPage other(false);
        TypeCase(other);
        other.Combo("UfMD")->SetItemIndex(1);
        other.TextBox("ProjectD")->SetText("甲醇回收");
        const std::string path = dir / name;
        if (legacy)
            WriteLegacyLayout(other, path);
        else
            WriteFormRecords(other, path);
        Settle();
        return path;
    }
    // The change hooks are process-wide and point at `page`: building or
    // editing another page touches its flags, which a window never sees.
    void Settle()
    {
        page.InstallHooks();
        page.Modified = page.NeedsRecalc = false;
    }
    // A field's text in a saved file, read without touching `page`'s flags.
    std::string TextInFile(const std::string& path, const char* field)
    {
        bool* fieldHook = TEditD::FieldChangeFlag;
        bool* unitHook = TComboBoxU::UnitChangeFlag;
        TEditD::FieldChangeFlag = nullptr;
        TComboBoxU::UnitChangeFlag = nullptr;
        std::string text = "(unreadable)";
        {
            CalcPage other(false);
            if (ReadFormRecords(other, path)) text = other.Field(field)->Text();
        }
        TEditD::FieldChangeFlag = fieldHook;
        TComboBoxU::UnitChangeFlag = unitHook;
        return text;
    }
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> t;
        for (auto& m : sink.messages)
            t.push_back(m.text);
        return t;
    }

    RecordingSink sink;
    ScopedMessageSink scope{&sink};
    TempDir dir;
    CalcPage page;
    ProjectContext ctx{page};
    SaveChangesAnswer answer = SaveChangesAnswer::Cancel;
    int questions = 0;
    int openDialogs = 0;
    std::vector<std::string> saveDialogs;
    std::string saveName, openName;
    std::vector<std::string> recent;
    std::string shownCaption;
};

// --------------------------------------------------------------------- Open

TEST_F(ProjectCommandsTest, StartupArgumentOpensRecalculatesAndClearsTheFlags)
{
    const std::string path = SavedCase("case.vel");
    ctx.StartupFileName = path;
    ASSERT_TRUE(OpenProjectCommand(ctx));

    EXPECT_TRUE(ctx.StartupFileName.empty());
    EXPECT_EQ(openDialogs, 0);
    EXPECT_EQ(ctx.CurrentFileName, path);
    EXPECT_EQ(ctx.Caption, kPrefix + path);
    EXPECT_EQ(shownCaption, ctx.Caption);
    EXPECT_EQ(recent, std::vector<std::string>{path});
    EXPECT_FALSE(page.Modified);
    EXPECT_FALSE(page.NeedsRecalc);
    EXPECT_EQ(page.TextBox("ProjectD")->Text(), "甲醇回收");
    EXPECT_EQ(page.Combo("UfMD")->ItemIndex(), 1);
    EXPECT_FALSE(page.Check("CBLagrange")->Enabled()); // set by UfMDChange for method 1
    EXPECT_TRUE(sink.messages.empty()) << Messages().front();
    // Recalculated from the loaded inputs: every field as when the same case
    // is typed in and computed directly.
    CalcPage direct(false);
    TypeCase(direct);
    direct.Combo("UfMD")->SetItemIndex(1);
    direct.NeedsRecalc = true;
    direct.LDExit();
    ASSERT_FALSE(direct.Field("HETPD")->Text().empty());
    for (TEditD* f : direct.ValueFields())
        EXPECT_EQ(page.Field(f->Name())->Text(), f->Text()) << f->Name();
}

TEST_F(ProjectCommandsTest, OpenTakesTheRecentEntryOrAsksAndFallsBackToTheLegacyLayout)
{
    const std::string legacy = SavedCase("old.vel", true);
    ASSERT_TRUE(OpenProjectCommand(ctx, legacy));
    EXPECT_EQ(openDialogs, 0);
    EXPECT_EQ(page.TextBox("ProjectD")->Text(), "甲醇回收");
    EXPECT_FALSE(page.Field("HETPD")->Text().empty());

    const std::string form = SavedCase("new.vel");
    openName = form;
    ASSERT_TRUE(OpenProjectCommand(ctx));
    EXPECT_EQ(openDialogs, 1);
    EXPECT_EQ(recent, (std::vector<std::string>{legacy, form}));
    EXPECT_EQ(ctx.Caption, kPrefix + form);

    openName.clear(); // cancelled dialog: nothing happens
    EXPECT_FALSE(OpenProjectCommand(ctx));
    EXPECT_EQ(ctx.CurrentFileName, form);
}

TEST_F(ProjectCommandsTest, OpenOfAMissingFileReportsTheErrorAndKeepsEverything)
{
    const std::string path = SavedCase("case.vel");
    ASSERT_TRUE(OpenProjectCommand(ctx, path));
    recent.clear();
    const auto before = Snapshot(page);
    const std::string caption = ctx.Caption;

    ASSERT_FALSE(OpenProjectCommand(ctx, dir / "gone.vel"));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].kind, MsgKind::Error);
    EXPECT_EQ(sink.messages[0].text,
              "Cannot open file \"" + (dir / "gone.vel") + "\". No such file or directory");
    EXPECT_EQ(Snapshot(page), before);
    EXPECT_EQ(ctx.Caption, caption);
    EXPECT_TRUE(recent.empty());
    EXPECT_EQ(ctx.CurrentFileName, path); // a later Save still goes to the open project
}

TEST_F(ProjectCommandsTest, DamagedProjectNeverBecomesTheCurrentFileAndThePageGoesBack)
{
    const std::string bad = dir / "bad.vel";
    WriteBytes(bad, std::string(kFormRecordBanner) + "\r\n\r\n\r\nLD\r\nString\r\nText\r\n4\r\n\r\n" +
                        "LD\r\nOrd\r\nColor\r\nred\r\n\r\nVD\r\nString\r\nText\r\n5\r\n\r\n");
    const std::string good = SavedCase("case.vel");
    // From a blank project at start, and from an open project.
    for (const std::string& opened : {std::string(), good}) {
        SCOPED_TRACE(opened);
        if (!opened.empty()) {
            ASSERT_TRUE(OpenProjectCommand(ctx, opened));
        }
        sink.messages.clear();
        recent.clear();
        const auto before = Snapshot(page);
        const std::string caption = ctx.Caption;
        ctx.StartupFileName = bad;
        ASSERT_FALSE(OpenProjectCommand(ctx));
        // The value "red" stands on line 12: banner, two free lines, a
        // record of five lines, then the fourth line of the second.
        EXPECT_EQ(Messages(), std::vector<std::string>{"项目文件“" + bad +
                                                       "”已损坏，第 12 行无法读取：“red”不是有效的整数"});
        EXPECT_EQ(Snapshot(page), before);
        EXPECT_EQ(ctx.CurrentFileName, opened);
        EXPECT_EQ(ctx.Caption, caption);
        EXPECT_FALSE(page.Modified);
        EXPECT_TRUE(recent.empty());
    }
}

TEST_F(ProjectCommandsTest, RecalculationErrorAfterOpenLeavesTheRecalculationPending)
{
    CalcPage other(false);
    TypeCase(other);
    other.Field("DvD")->SetText("abc");
    WriteFormRecords(other, dir / "broken.vel");
    Settle();

    ASSERT_TRUE(OpenProjectCommand(ctx, dir / "broken.vel"));
    EXPECT_FALSE(sink.messages.empty()); // the field's own message
    EXPECT_EQ(ctx.Caption, kPrefix + (dir / "broken.vel"));
    EXPECT_TRUE(page.Modified) << "the error ends Open before the flags are cleared";
    EXPECT_TRUE(page.NeedsRecalc);
}

TEST_F(ProjectCommandsTest, ShortStartupArgumentIsIgnored)
{
    ctx.StartupFileName = "a.v";
    EXPECT_FALSE(OpenProjectCommand(ctx));
    EXPECT_TRUE(ctx.StartupFileName.empty());
    EXPECT_EQ(openDialogs, 0);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_TRUE(ctx.CurrentFileName.empty());
}

// ---------------------------------------------------- questions before Open

TEST_F(ProjectCommandsTest, ModifiedProjectIsNeverDroppedWithoutConsent)
{
    const std::string path = SavedCase("case.vel");
    page.Field("LD")->SetText("9");
    ASSERT_TRUE(page.Modified);

    answer = SaveChangesAnswer::Cancel;
    EXPECT_FALSE(OpenProjectCommand(ctx, path));
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(page.Field("LD")->Text(), "9");

    // Yes, but the save dialog is cancelled: stop, the edit stays.
    answer = SaveChangesAnswer::Yes;
    saveName.clear();
    EXPECT_FALSE(OpenProjectCommand(ctx, path));
    EXPECT_EQ(saveDialogs, std::vector<std::string>{"保存|"});
    EXPECT_EQ(page.Field("LD")->Text(), "9");

    // Yes and a name: saved, then opened.
    saveName = dir / "mine.vel";
    EXPECT_TRUE(OpenProjectCommand(ctx, path));
    EXPECT_EQ(TextInFile(dir / "mine.vel", "LD"), "9");
    EXPECT_EQ(page.Field("LD")->Text(), "2.5");

    // No: opened without saving.
    page.Field("LD")->SetText("10");
    answer = SaveChangesAnswer::No;
    EXPECT_TRUE(OpenProjectCommand(ctx, path));
    EXPECT_EQ(questions, 4);
    EXPECT_EQ(TextInFile(dir / "mine.vel", "LD"), "9");

    // Unmodified: no question at all.
    EXPECT_TRUE(OpenProjectCommand(ctx, path));
    EXPECT_EQ(questions, 4);
}

// --------------------------------------------------------------- Save (As)

TEST_F(ProjectCommandsTest, SaveAsksOnlyWhenNeededAndMarksTheProjectSaved)
{
    TypeCase(page);
    ASSERT_TRUE(page.Modified);

    // No file yet: Save asks, titled "保存".
    saveName = dir / "first.vel";
    ASSERT_TRUE(SaveProjectCommand(ctx, false));
    EXPECT_EQ(saveDialogs, std::vector<std::string>{"保存|"});
    EXPECT_EQ(ctx.CurrentFileName, dir / "first.vel");
    EXPECT_FALSE(page.Modified);
    EXPECT_EQ(ctx.Caption, kPrefix + (dir / "first.vel"));
    EXPECT_EQ(recent, std::vector<std::string>{dir / "first.vel"});

    // With a file: Save writes without asking.
    page.Field("VD")->SetText("3.5");
    ASSERT_TRUE(SaveProjectCommand(ctx, false));
    EXPECT_EQ(saveDialogs.size(), 1u);
    EXPECT_EQ(TextInFile(dir / "first.vel", "VD"), "3.5");

    // Save As asks, titled "另存为", offering the current name.
    saveName = dir / "second.vel";
    ASSERT_TRUE(SaveProjectCommand(ctx, true));
    EXPECT_EQ(saveDialogs.back(), "另存为|" + (dir / "first.vel"));
    EXPECT_EQ(ctx.CurrentFileName, dir / "second.vel");
    EXPECT_EQ(ctx.Caption, kPrefix + (dir / "second.vel"));

    // Cancelled Save As: nothing changes.
    page.Field("VD")->SetText("4");
    saveName.clear();
    EXPECT_FALSE(SaveProjectCommand(ctx, true));
    EXPECT_EQ(ctx.CurrentFileName, dir / "second.vel");
    EXPECT_TRUE(page.Modified);
}

TEST_F(ProjectCommandsTest, FailedSaveShowsTheErrorAndKeepsTheProjectModified)
{
    TypeCase(page);
    saveName = dir / "missing/folder.vel";
    EXPECT_FALSE(SaveProjectCommand(ctx, true));
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"Cannot create file \"" + saveName + "\". No such file or directory"});
    EXPECT_TRUE(page.Modified);
    EXPECT_TRUE(ctx.CurrentFileName.empty());
    EXPECT_EQ(ctx.Caption, "波纹规整填料塔流体力学-空白项目");
    EXPECT_TRUE(recent.empty());

    // And the question before Open then stops instead of dropping the work.
    answer = SaveChangesAnswer::Yes;
    EXPECT_FALSE(QuerySaveProject(ctx));
}

// ---------------------------------------------------------------------- New

TEST_F(ProjectCommandsTest, NewAsksForTheFileThenClearsTheFields)
{
    TypeCase(page);
    page.LDExit();
    page.Modified = false;
    page.Combo("PTD")->SetItemIndex(2);

    saveName.clear();
    EXPECT_FALSE(NewProjectCommand(ctx));
    EXPECT_EQ(page.Field("LD")->Text(), "2.5");

    saveName = dir / "blank.vel";
    ASSERT_TRUE(NewProjectCommand(ctx));
    EXPECT_EQ(saveDialogs.back(), "新建|");
    EXPECT_EQ(ctx.CurrentFileName, saveName);
    EXPECT_EQ(ctx.Caption, kPrefix + saveName);
    EXPECT_EQ(page.Field("LD")->Text(), "");
    EXPECT_EQ(page.Field("HETPD")->Text(), "");
    EXPECT_EQ(page.Combo("PTD")->ItemIndex(), 2);
    EXPECT_FALSE(page.Modified); // the cleared page is the new project's start
}

TEST(CaptionWithFile, KeepsThePartUpToTheFirstDash)
{
    EXPECT_EQ(CaptionWithFile("波纹规整填料塔流体力学-空白项目", "/p/a-b.vel"),
              "波纹规整填料塔流体力学-/p/a-b.vel");
    EXPECT_EQ(CaptionWithFile("A-/old-x.vel", "/new.vel"), "A-/new.vel");
    EXPECT_EQ(CaptionWithFile("no dash", "/n.vel"), "/n.vel");
}

// ------------------------------------------------------- command line tool

TEST_F(ProjectCommandsTest, CalculatorLoadsAndSavesProjects)
{
    const std::string saved = dir / "cli.vel";
    std::ostringstream out1, err1;
    ASSERT_EQ(RunVelkCalc({"LD=2.5", "VD=3.0", "DlD=800", "DvD=2.5", "MlD=0.0003", "MvD=0.00001", "SLD=0.02",
                           "DlfD=2e-9", "DvfD=1e-5", "alfD=2", "--unit", "UfD=2", "--save", saved},
                          out1, err1),
              0)
        << err1.str();
    CalcPage fromFile(false);
    ASSERT_TRUE(ReadFormRecords(fromFile, saved));
    EXPECT_EQ(fromFile.Unit("UfU")->GetUnit(), "m/h");
    EXPECT_FALSE(fromFile.Field("HETPD")->Text().empty());

    // Loading the saved state and recalculating gives the same page.
    std::ostringstream out2, err2;
    ASSERT_EQ(RunVelkCalc({"--project", saved}, out2, err2), 0) << err2.str();
    EXPECT_EQ(out2.str(), out1.str());

    // Options apply after the project: a new flow on the loaded case.
    std::ostringstream out3, err3;
    ASSERT_EQ(RunVelkCalc({"--project", saved, "LD=5"}, out3, err3), 0) << err3.str();
    EXPECT_NE(out3.str(), out1.str());

    // A file that cannot be read is a usage error with the reason.
    std::ostringstream out4, err4;
    EXPECT_EQ(RunVelkCalc({"--project", dir / "none.vel"}, out4, err4), 2);
    EXPECT_NE(err4.str().find("Cannot open file \"" + (dir / "none.vel") + "\""), std::string::npos);
    std::ostringstream out5, err5;
    EXPECT_EQ(RunVelkCalc({"--project", dir.path()}, out5, err5), 2);

    // A save that fails makes the run fail.
    std::ostringstream out6, err6;
    EXPECT_EQ(RunVelkCalc({"--project", saved, "--save", dir / "no/dir.vel"}, out6, err6), 1);
    EXPECT_NE(err6.str().find("Cannot create file"), std::string::npos);
}

} // namespace
