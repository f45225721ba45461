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
const std::string kBanner = kFormRecordBanner;

std::string WithLf(const std::string& crlf)
{
    std::string out;
    for (std::size_t i = 0; i < crlf.size(); ++i)
        if (!(crlf[i] == '\r' && i + 1 < crlf.size() && crlf[i + 1] == '\n')) out += crlf[i];
    return out;
}

std::string Example(const std::string& name)
{
    return ReadBytes(VELK_SOURCE_DIR "/examples/" + name);
}

class ConvertedProjects : public ::testing::Test
{
protected:
    RecordingSink sink;
    ScopedMessageSink scope{&sink};
    TempDir dir;
};

} // namespace

TEST_F(ConvertedProjects, LfEndsAndAByteOrderMarkReadAsTheOriginal)
{
    for (const char* name : {"atmospheric-plain.vel", "vacuum-plain.vel", "high-pressure-plain.vel"}) {
        const std::string original = Example(name);
        CalcPage expected(false);
        std::string expectedKept;
        LoadProject(expected, VELK_SOURCE_DIR "/examples/" + std::string(name), nullptr, &expectedKept);
        const std::string utf8 = AnsiToUtf8(original);
        ASSERT_NE(utf8, original) << "the example must hold texts beyond ASCII";
        const struct {
            const char* form;
            std::string bytes;
        } forms[] = {
            {"CR LF", original},
            {"LF", WithLf(original)},
            {"BOM CR LF", kBom + utf8},
            {"BOM LF", kBom + WithLf(utf8)},
            {"LF compressed", CompressProjectText(WithLf(original))},
        };
        for (const auto& f : forms) {
            SCOPED_TRACE(std::string(name) + ", " + f.form);
            WriteBytes(dir / "x.vel", f.bytes);
            CalcPage page(false);
            std::string kept;
            LoadProject(page, dir / "x.vel", nullptr, &kept);
            EXPECT_EQ(Snapshot(page), Snapshot(expected));
            EXPECT_EQ(kept, expectedKept);
        }
    }
    // What the damaging conversion emptied (LD, VD, DlD of the example).
    WriteBytes(dir / "lf.vel", WithLf(Example("atmospheric-plain.vel")));
    std::ostringstream err;
    ASSERT_EQ(RunVelkProject({dir / "lf.vel", dir / "lf.vel"}, err), 0) << err.str();
    CalcPage back(false);
    LoadProject(back, dir / "lf.vel");
    EXPECT_EQ(back.Field("LD")->Text(), "12000");
    EXPECT_EQ(back.Field("VD")->Text(), "14000");
    EXPECT_EQ(back.Field("DlD")->Text(), "870");
}

TEST_F(ConvertedProjects, APlainFileCutShortIsRefusedNamingItsLastRecord)
{
    const std::string original = Example("atmospheric-plain.vel");
    // The record of VD, found by counting the line ends before it.
    const std::size_t vd = original.find("\r\nVD\r\nFloat\r\n") + 2;
    const std::size_t vdLine = 2 + [&] {
        std::size_t n = 0;
        for (std::size_t p = original.find("\r\n"); p < vd - 2; p = original.find("\r\n", p + 2))
            ++n;
        return n;
    }();
    const std::size_t value = original.find("Exchange\r\n", vd) + 10; // VD's value line
    const std::string factor = "0.000277777777777";                   // kg/h in kg/s
    ASSERT_EQ(original.substr(value, factor.size() + 2), factor + "\r\n");
    const struct {
        std::size_t cut;
        std::string control;
    } cuts[] = {
        {vd + 1, "V"},                     // inside the name
        {vd + 4, "VD"},                    // after the name
        {vd + 11, "VD"},                   // after the tag
        {value, "VD"},                     // after the property
        {value + 1, "VD"},                 // inside the value
        {value + factor.size() + 1, "VD"}, // the value's CR without its LF
    };
    for (const auto& c : cuts) {
        for (const bool compressed : {false, true}) {
            SCOPED_TRACE(std::to_string(c.cut) + (compressed ? " compressed" : " plain"));
            const std::string cut = original.substr(0, c.cut);
            WriteBytes(dir / "t.vel", compressed ? CompressProjectText(cut) : cut);
            CalcPage page(false);
            page.Field("LD")->SetText("open project");
            const auto before = Snapshot(page);
            try {
                LoadProject(page, dir / "t.vel");
                ADD_FAILURE() << "not refused";
            } catch (const EProjectDamaged& e) {
                EXPECT_EQ(e.Reason, EProjectDamaged::Cause::CutShort);
                EXPECT_EQ(e.Line, vdLine);
                EXPECT_EQ(e.Control, c.control);
            }
            EXPECT_EQ(Snapshot(page), before);
        }
    }
    // Cut after the value's line end: only the spare line is missing, which
    // the last line of a text may be; the record reads.
    CalcPage page(false);
    EXPECT_TRUE(ApplyFormRecords(page, original.substr(0, value + factor.size() + 2)));
    EXPECT_EQ(page.Field("VD")->Exchange(), 0.000277777777777);
}

TEST_F(ConvertedProjects, AConversionThatCannotBeUndoneExactlyIsRefusedWithItsCause)
{
    using Cause = EProjectDamaged::Cause;
    const std::string head = kBanner + "\n\n\n";
    const struct {
        const char* what;
        std::string text;
        Cause cause;
        std::size_t line;
    } refused[] = {
        {"GBK after a mark", kBom + kBanner + "\r\nfree\r\n\r\nEdit1\r\nString\r\nText\r\n\xD6\xD0\r\n\r\n",
         Cause::NotUtf8, 7},
        {"a surrogate after a mark", kBom + kBanner + "\n\xED\xA0\x80\n", Cause::NotUtf8, 2},
        {"a value's lone LF", head + "Edit1\nString\nText\na\nb\n\n", Cause::LineEnds, 8},
        {"a CR LF among LF ends", head + "Edit1\nString\nText\r\nx\n\n", Cause::LineEnds, 6},
        {"a value's CR at its end", head + "Edit1\nString\nText\nx\r\n\n", Cause::LineEnds, 7},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.what);
        try {
            StoredFormOfPlainText(r.text);
            ADD_FAILURE() << "not refused";
        } catch (const EProjectDamaged& e) {
            EXPECT_EQ(e.Reason, r.cause);
            EXPECT_EQ(e.Line, r.line);
        }
    }
    // Texts whose first line is no banner read as they always did.
    for (const std::string& same :
         {std::string("1\r\n2\r\n"), kBom + "1\n2\n", kBanner + "\r", kBanner + "x\n",
          std::string("cfr file format(compatible form record file),by tovan pardune.\n"),
          kBanner + "\r\nEdit1\nx\n"})
        EXPECT_EQ(StoredFormOfPlainText(same), same);
}

TEST_F(ConvertedProjects, NoToolWritesFromAProjectItCouldNotReadWhole)
{
    const std::string plain = Example("atmospheric-plain.vel");
    const struct {
        const char* name;
        std::string bytes; // empty: no such file
        const char* says;
    } inputs[] = {
        {"missing.vel", "", "No such file"},
        {"cut.vel", plain.substr(0, 3000), "record \"fpe\" from line 484 is cut short"},
        {"nul.vel", plain.substr(0, 100) + std::string(1, '\0') + plain.substr(101), "NUL byte on line 3"},
        {"bom-gbk.vel", kBom + plain, "line 2 is not"},
        {"lf-cut.vel", WithLf(plain).substr(0, 2000), "record \"DlfU\" from line 374 is cut short"},
    };
    for (const auto& in : inputs) {
        SCOPED_TRACE(in.name);
        if (!in.bytes.empty()) WriteBytes(dir / in.name, in.bytes);
        WriteBytes(dir / "out.vel", "the project that was there");
        std::ostringstream err, out, calcErr;
        EXPECT_EQ(RunVelkProject({dir / in.name, dir / "out.vel"}, err), 1);
        EXPECT_NE(err.str().find(in.name), std::string::npos) << err.str();
        EXPECT_NE(err.str().find(in.says), std::string::npos) << err.str();
        EXPECT_EQ(ReadBytes(dir / "out.vel"), "the project that was there");
        EXPECT_EQ(RunVelkCalc({"--project", dir / in.name, "--save", dir / "out.vel"}, out, calcErr), 2);
        EXPECT_EQ(ReadBytes(dir / "out.vel"), "the project that was there");
    }
}
