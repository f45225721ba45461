// Plain projects that an editor or a tool converted (LF line ends, UTF-8
// after a byte order mark) read as the original; a plain project cut short,
// or one whose conversion cannot be undone exactly, is refused with the
// cause and its line, and no tool writes anything from it.
#include <gtest/gtest.h>

#include <sstream>

#include "Messages.h"
#include "ProjectCommands.h"
#include "SaveFormData.h"
#include "SaveFormDataAnsi.h"
#include "SaveFormDataTool.h"
#include "VelkCalc.h"
#include "project_test_support.h"

using namespace projecttest;

namespace
{
const std::string kBom = "\xEF\xBB\xBF";
const std::string kExample = VELK_SOURCE_DIR "/examples/atmospheric-plain.vel";

std::string WithLf(const std::string& crlf)
{
    std::string out;
    for (std::size_t i = 0; i < crlf.size(); ++i)
        if (!(crlf[i] == '\r' && i + 1 < crlf.size() && crlf[i + 1] == '\n')) out += crlf[i];
    return out;
}
} // namespace

TEST(ConvertedProjects, LfEndsAndAByteOrderMarkReadAsTheOriginalAndVelkProjectKeepsThem)
{
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    TempDir dir;
    const std::string original = ReadBytes(kExample), utf8 = AnsiToUtf8(original);
    ASSERT_NE(utf8, original) << "the example must hold texts beyond ASCII";
    CalcPage expected(false);
    std::string expectedKept;
    LoadProject(expected, kExample, nullptr, &expectedKept);
    for (const std::string& bytes :
         {WithLf(original), kBom + utf8, kBom + WithLf(utf8), CompressProjectText(WithLf(original))}) {
        // velk-project IN = OUT used to empty LD, VD and DlD here.
        WriteBytes(dir / "x.vel", bytes);
        std::ostringstream err;
        ASSERT_EQ(RunVelkProject({dir / "x.vel", dir / "x.vel"}, err), 0) << err.str();
        CalcPage page(false);
        std::string kept;
        LoadProject(page, dir / "x.vel", nullptr, &kept);
        EXPECT_EQ(Snapshot(page), Snapshot(expected));
        EXPECT_EQ(kept, expectedKept);
    }
    // Texts whose first line is no banner read as they always did.
    const std::string banner = kFormRecordBanner;
    for (const std::string& same :
         {kBom + "1\n2\n", banner + "\r", banner + "x\n", banner + "\r\nEdit1\nx\n"})
        EXPECT_EQ(StoredFormOfPlainText(same), same);
}

TEST(ConvertedProjects, APlainFileCutShortIsRefusedNamingItsLastRecordAndNothingIsWritten)
{
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    TempDir dir;
    const std::string original = ReadBytes(kExample);
    // VD's first record (Exchange 0.000277777777777) starts on line 444, at byte 2766.
    const std::size_t vd = 2766, value = vd + 21;
    ASSERT_EQ(original.substr(vd, 42), "VD\r\nFloat\r\nExchange\r\n0.000277777777777\r\n\r\n");
    const struct {
        std::size_t cut;
        const char* control;
    } cuts[] = {{vd + 1, "V"}, {vd + 4, "VD"},    {vd + 11, "VD"},
                {value, "VD"}, {value + 5, "VD"}, {value + 18, "VD"}};
    for (const auto& c : cuts) {
        SCOPED_TRACE(c.cut);
        WriteBytes(dir / "t.vel", original.substr(0, c.cut));
        CalcPage page(false);
        page.Field("LD")->SetText("open project");
        const auto before = Snapshot(page);
        EXPECT_THROW(LoadProject(page, dir / "t.vel"), EProjectDamaged);
        EXPECT_EQ(Snapshot(page), before);
        WriteBytes(dir / "out.vel", "kept");
        std::ostringstream err, out;
        EXPECT_EQ(RunVelkProject({dir / "t.vel", dir / "out.vel"}, err), 1);
        // The record's control as far as the file holds it, and its first line.
        EXPECT_NE(
            err.str().find("t.vel: the record \"" + std::string(c.control) + "\" from line 444 is cut short"),
            std::string::npos)
            << err.str();
        EXPECT_EQ(RunVelkCalc({"--project", dir / "t.vel", "--save", dir / "out.vel"}, out, err), 2);
        EXPECT_EQ(ReadBytes(dir / "out.vel"), "kept");
    }
    // Only the spare line missing, as a text's last line may lack its line end: read.
    CalcPage page(false);
    EXPECT_TRUE(ApplyFormRecords(page, original.substr(0, value + 19)));
    EXPECT_EQ(page.Field("VD")->Exchange(), 0.000277777777777);
}
