// Open is all or nothing, and nothing a project holds is lost: a file that
// fails to load (a bad value in the page or the profile, a cut compressed
// file, more stages than the cap) leaves the open project, its profile and
// its other records as they were, and the next Save writes them all; the
// tools that read and write projects keep the records they do not read.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <filesystem>
#include <sstream>

#include "Messages.h"
#include "PackingCatalogue.h"
#include "ProfileRecords.h"
#include "ProjectCommands.h"
#include "SaveFormData.h"
#include "SaveFormDataFile.h"
#include "SaveFormDataTool.h"
#include "VelkCalc.h"
#include "project_test_support.h"

using namespace projecttest;

namespace
{

// Records no part of the program reads: a later version's, with GBK text
// ("中文" is D6 D0 CE C4), and one the file cuts short.
const std::string kForeign = "FutureGauge\r\nString\r\nNote\r\n\xD6\xD0\xCE\xC4\r\n\r\n";
// The last record may lack its spare line, as a text's last line may lack its line end.
const std::string kNoSpareLine = "FutureGauge\r\nOrd\r\nLevel\r\n3\r\n";

ColumnProfile TenStageProfile()
{
    ColumnProfile p;
    p.source = "CSV T-100";
    for (int n = 1; n <= 10; ++n) {
        ProfileStage s;
        s.number = n;
        s.V = 3.0 + n / 7.0;
        s.rhoV = 2.5;
        s.muV = 1e-5;
        s.L = 2.5;
        s.rhoL = 800;
        s.muL = 0.0003;
        s.sigma = 0.02;
        p.stages.push_back(s);
    }
    p.beds = {{1, 10, "Mellapak-250Y", 1, false, std::nullopt}};
    return p;
}

std::size_t Count(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (auto p = text.find(what); p != std::string::npos; p = text.find(what, p + 1))
        ++n;
    return n;
}

std::string PlainOf(const std::string& path)
{
    return ProjectPlainText(ReadBytes(path));
}

class OpenKeepsProject : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CurrentPacking = PackingParams{};
        // The window's use of the hooks: the profile is read into a new
        // object and put in place only once the whole file has been read.
        ctx.ExtraRecords = [this] { return ProfileRecordsText(held); };
        ctx.ReadExtra = [this](const std::string& plain, std::size_t* line) -> std::function<void()> {
            ColumnProfile read = ProfileFromFormRecords(plain, line);
            return [this, read] { held = read; };
        };
        ctx.ExtraOwns = IsProfileRecordControl;
        ctx.AskSaveFileName = [this](const std::string&, const std::string&) { return dir / "saved.vel"; };
        ctx.AddRecentFile = [this](const std::string& path) { recent.push_back(path); };
    }
    // A computed project with the ten-stage profile and the foreign records.
    std::string Project(const std::string& name, const std::string& extra)
    {
        CalcPage other(false);
        for (auto [f, v] : {std::pair{"LD", "2.5"},
                            {"VD", "3.0"},
                            {"DlD", "800"},
                            {"DvD", "2.5"},
                            {"MlD", "0.0003"},
                            {"MvD", "0.00001"},
                            {"SLD", "0.02"}})
            other.Field(f)->SetText(v);
        other.TextBox("ProjectD")->SetText(name);
        const std::string path = dir / name;
        WriteFormRecords(other, path, ProjectForm::Compressed, extra);
        page.InstallHooks();
        page.Modified = page.NeedsRecalc = false;
        return path;
    }
    std::string Message() const { return sink.messages.empty() ? std::string() : sink.messages.back().text; }

    RecordingSink sink;
    ScopedMessageSink scope{&sink};
    TempDir dir;
    CalcPage page;
    ProjectContext ctx{page};
    ColumnProfile held;
    std::vector<std::string> recent;
};

} // namespace

TEST_F(OpenKeepsProject, AFailedOpenChangesNothingAndTheNextSaveWritesEverything)
{
    const std::string profileRecords = ProfileRecordsText(TenStageProfile());
    const std::string good = Project("good.vel", profileRecords + kForeign);
    ASSERT_TRUE(OpenProjectCommand(ctx, good)) << Message();
    ASSERT_EQ(held.stages.size(), 10u);
    const std::size_t records = Count(profileRecords, "ColumnProfile\r\n");
    ASSERT_EQ(records, 12u); // source, rating and ten stages

    // The bad files, each with what the message must say.
    std::string stageAbc = profileRecords;
    stageAbc.replace(stageAbc.find("1;3.1428"), 8, "1;abc");
    ColumnProfile reversed = TenStageProfile();
    reversed.beds = {{8, 1, "Mellapak-250Y", 1, false, std::nullopt}};
    ColumnProfile tooMany = TenStageProfile();
    for (int n = 11; n <= static_cast<int>(kMaxProfileStages) + 1; ++n) {
        tooMany.stages.push_back(tooMany.stages.back());
        tooMany.stages.back().number = n;
    }
    tooMany.beds = {{1, static_cast<int>(kMaxProfileStages) + 1, "Mellapak-250Y", 1, false, std::nullopt}};
    const std::string example = ReadBytes(VELK_SOURCE_DIR "/examples/atmospheric.vel");
    WriteBytes(dir / "cut.vel", example.substr(0, 300)); // head -c 300
    const std::string plain = ReadBytes(VELK_SOURCE_DIR "/examples/atmospheric-plain.vel");
    WriteBytes(dir / "cut-plain.vel", plain.substr(0, 3000)); // head -c 3000: line 484 is "fpe"
    const std::string banner = kFormRecordBanner;
    WriteBytes(dir / "bom-not-utf8.vel",
               "\xEF\xBB\xBF" + banner + "\r\n\r\n\r\nProjectD\r\nString\r\nText\r\n\xD6\xD0\r\n\r\n");
    // A value's lone LF became a line end: "b" stands on the spare line 8.
    WriteBytes(dir / "lf-shifted.vel",
               banner + "\n\n\nProjectD\nString\nText\na\nb\n\nLD\nString\nText\n5\n\n");
    // CR LF among LF line ends: a CR at the end of a value, or a line end?
    WriteBytes(dir / "lf-crlf.vel", banner + "\n\n\nProjectD\nString\nText\r\nx\n\n");
    WriteBytes(dir / "bom-surrogate.vel", "\xEF\xBB\xBF" + banner + "\n\xED\xA0\x80\n");
    const struct {
        std::string path, says;
    } bad[] = {
        {Project("abc.vel", stageAbc), "已损坏，第 "},
        {Project("reversed.vel", ProfileRecordsText(reversed)), "已损坏："},
        {Project("many.vel", ProfileRecordsText(tooMany)), "多于 10000 块"},
        {dir / "cut.vel", "已损坏，从第 "},
        {dir / "cut-plain.vel", "不完整：从第 484 行起的记录“fpe”缺少行"},
        {dir / "bom-not-utf8.vel", "第 7 行不是有效的 UTF-8"},
        {dir / "lf-shifted.vel", "换行符已被转换，从第 8 行起"},
        {dir / "lf-crlf.vel", "换行符已被转换，从第 6 行起"},
        {dir / "bom-surrogate.vel", "第 2 行不是有效的 UTF-8"},
    };
    for (const auto& b : bad) {
        SCOPED_TRACE(b.path);
        sink.messages.clear();
        const auto before = Snapshot(page);
        const std::string caption = ctx.Caption;
        EXPECT_FALSE(OpenProjectCommand(ctx, b.path));
        EXPECT_NE(Message().find(b.path), std::string::npos) << Message();
        EXPECT_NE(Message().find(b.says), std::string::npos) << Message();
        EXPECT_EQ(Snapshot(page), before);
        EXPECT_EQ(ProfileRecordsText(held), profileRecords);
        EXPECT_EQ(ctx.CurrentFileName, good);
        EXPECT_EQ(ctx.Caption, caption);
        EXPECT_FALSE(page.Modified);
        EXPECT_EQ(recent, std::vector<std::string>{good});
    }

    // The next Save writes the profile and the foreign records as they were.
    ASSERT_TRUE(SaveProjectCommand(ctx, false));
    const std::string saved = PlainOf(good);
    EXPECT_EQ(Count(saved, "ColumnProfile\r\n"), records);
    EXPECT_NE(saved.find(profileRecords + kForeign), std::string::npos);
}

TEST_F(OpenKeepsProject, ACutCompressedFileIsDamagedAtTheLineItEndsBefore)
{
    // The first 300 bytes of a compressed file hold part of the stream: the
    // lines it delivers whole come first, so the damage is past line 3.
    const std::string example = ReadBytes(VELK_SOURCE_DIR "/examples/atmospheric.vel");
    for (std::size_t cut : {6u, 40u, 300u, 1000u}) {
        SCOPED_TRACE(cut);
        try {
            CheckedProjectPlainText(example.substr(0, cut));
            ADD_FAILURE() << "not refused";
        } catch (const EProjectDamaged& e) {
            EXPECT_GE(e.Line, 1u);
            const std::string whole = ProjectPlainText(example);
            // No more whole lines than the complete text has.
            EXPECT_LE(e.Line, Count(whole, "\r\n") + 1);
        }
    }
    // Binary bytes are no project, whichever layout they would be read as.
    for (const auto& [bytes, line] :
         {std::pair<std::string, std::size_t>{std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), 2},
          {std::string(kFormRecordBanner) + "\r\n\r\n\r\nLD\r\nString\r\nText\r\n" +
               std::string("2\0"
                           "5",
                           3),
           7}}) {
        try {
            CheckedProjectPlainText(bytes);
            ADD_FAILURE() << "not refused";
        } catch (const EProjectDamaged& e) {
            EXPECT_EQ(e.Line, line);
        }
    }
    // The whole file and its plain form read as before.
    EXPECT_EQ(CheckedProjectPlainText(example), ProjectPlainText(example));
    const std::string plain = ReadBytes(VELK_SOURCE_DIR "/examples/atmospheric-plain.vel");
    EXPECT_EQ(CheckedProjectPlainText(plain), plain);
    const std::string legacy = ReadBytes(VELK_SOURCE_DIR "/examples/atmospheric-legacy.vel");
    EXPECT_EQ(CheckedProjectPlainText(legacy), legacy);
}

TEST(ProfileRecordCaps, TheCapsHoldExactlyAndBedsCountToo)
{
    CalcPage page(false);
    const std::string header = FormRecordsText(page);
    auto stages = [](std::size_t n) {
        std::string out;
        for (std::size_t i = 1; i <= n; ++i)
            out += "ColumnProfile\r\nString\r\nStage\r\n" + std::to_string(i) +
                   ";3;2.5;1e-5;2.5;800;3e-4;;;;\r\n\r\n";
        return out;
    };
    const std::string atCap = stages(kMaxProfileStages);
    EXPECT_EQ(ProfileFromFormRecords(header + atCap).stages.size(), kMaxProfileStages);
    EXPECT_THROW(ProfileFromFormRecords(header + stages(kMaxProfileStages + 1)), EProjectTooLarge);
    std::string beds;
    for (std::size_t i = 0; i <= kMaxProfileBeds; ++i)
        beds += "ColumnProfileBed\r\nString\r\nBed\r\n1;1;1;0;;Mellapak-250Y\r\n\r\n";
    try {
        ProfileFromFormRecords(header + stages(1) + beds);
        ADD_FAILURE() << "not refused";
    } catch (const EProjectTooLarge& e) {
        EXPECT_EQ(e.What, EProjectTooLarge::Part::Beds);
        EXPECT_EQ(e.Cap, kMaxProfileBeds);
    }
}

TEST(ProfileRecordCaps, AProjectOfMoreRecordsThanTheCapIsRefusedBeforeItIsRead)
{
    // Counted in line ends: the header's three, five for each record; the
    // start of one more is one too many.
    const std::string header = std::string(kFormRecordBanner) + "\r\n\r\n\r\n";
    std::string records;
    for (std::size_t i = 0; i < kMaxProjectRecords; ++i)
        records += "X\r\nString\r\nA\r\nB\r\n\r\n";
    EXPECT_NO_THROW(CheckProjectRecordCount(header + records));
    try {
        CheckProjectRecordCount(header + records + "X\r\n");
        ADD_FAILURE() << "not refused";
    } catch (const EProjectTooLarge& e) {
        EXPECT_EQ(e.What, EProjectTooLarge::Part::Records);
        EXPECT_EQ(e.Cap, kMaxProjectRecords);
    }
}

TEST(KeptRecords, EveryToolWritesTheRecordsItDoesNotReadByteForByte)
{
    TempDir dir;
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    CalcPage source(false);
    source.Field("LD")->SetText("2.5");
    const std::string kept = ProfileRecordsText(TenStageProfile()) + kForeign;
    const std::string in = dir / "in.vel";
    WriteFormRecords(source, in, ProjectForm::Compressed, kept + kNoSpareLine);
    // That record is written whole, with its spare line.
    const std::string keptWhole = kept + kNoSpareLine + "\r\n";

    CalcPage page(false);
    std::string read;
    LoadProject(page, in, nullptr, &read);
    EXPECT_EQ(read, keptWhole);

    const struct {
        std::vector<std::string> args;
    } runs[] = {{{in, dir / "c.vel"}},
                {{in, dir / "p.vel", "--form", "plain"}},
                {{in, dir / "b.vel", "ProjectD=甲醇回收", "CommentD=一\n二"}}};
    for (const auto& r : runs) {
        SCOPED_TRACE(r.args[1]);
        std::ostringstream err;
        ASSERT_EQ(RunVelkProject(r.args, err), 0) << err.str();
        const std::string plain = PlainOf(r.args[1]);
        ASSERT_GE(plain.size(), keptWhole.size());
        EXPECT_EQ(plain.substr(plain.size() - keptWhole.size()), keptWhole);
    }
    // The legacy layout cannot hold them: nothing is written.
    std::ostringstream err;
    EXPECT_EQ(RunVelkProject({in, dir / "l.vel", "--form", "legacy"}, err), 1);
    EXPECT_NE(err.str().find("legacy layout cannot hold"), std::string::npos) << err.str();
    EXPECT_FALSE(std::filesystem::exists(dir / "l.vel"));

    // velk-calc --project P --save Q.
    std::ostringstream out, calcErr;
    RunVelkCalc({"--project", in, "--save", dir / "q.vel"}, out, calcErr);
    const std::string saved = PlainOf(dir / "q.vel");
    ASSERT_GE(saved.size(), keptWhole.size()) << calcErr.str();
    EXPECT_EQ(saved.substr(saved.size() - keptWhole.size()), keptWhole);
}
