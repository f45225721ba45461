// The legacy layout: a complete file of the older layout (written by the
// python fixture script from the documented control order), files cut
// short, the per-control error scope and the comment's line count.
#include <gtest/gtest.h>

#include <chrono>

#include "Messages.h"
#include "ProjectCommands.h"
#include "SaveFormData.h"
#include "project_test_support.h"

using namespace projecttest;

namespace
{

std::vector<std::string> FixtureLines()
{
    const std::string bytes = ReadBytes(DataFile("legacy-full.vel"));
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const auto end = bytes.find("\r\n", pos);
        lines.push_back(bytes.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

std::string Join(const std::vector<std::string>& lines, std::size_t count)
{
    std::string out;
    for (std::size_t i = 0; i < count && i < lines.size(); ++i)
        out += lines[i] + "\r\n";
    return out;
}

// Index of the comment's count line: 202 lines besides the comment's own,
// the count and, after the comment, seven for HTD (5) and HTU (2).
constexpr std::size_t kCommentCountLine = 202 - 7 - 1;

class LegacyLayoutTest : public ::testing::Test
{
protected:
    RecordingSink sink;
    ScopedMessageSink scope{&sink};
    TempDir dir;
};

TEST_F(LegacyLayoutTest, CompleteFileSetsEveryKindOfControl)
{
    CalcPage page(false);
    ReadLegacyLayout(page, DataFile("legacy-full.vel"));

    TEditD* fp = page.Field("FpD");
    EXPECT_EQ(fp->Text(), "0.0465847495312456");
    EXPECT_TRUE(fp->ReadOnly());
    EXPECT_EQ(fp->Color(), RGBColor(255, 0, 0));
    EXPECT_EQ(page.Field("UfD")->Color(), RGBColor(128, 128, 128));
    EXPECT_EQ(page.Field("UfD")->Text(), "4000");
    EXPECT_EQ(page.Unit("UfU")->GetUnit(), "m/h");
    EXPECT_NEAR(page.Field("UfD")->GetValue(), 1.1111108, 1e-15);
    EXPECT_EQ(page.Unit("dpU")->GetUnit(), "cm");
    EXPECT_NEAR(page.Field("dpD")->GetValue(), 1.4, 1e-15);
    // Inputs in other units: the text stays as written, the SI value follows.
    EXPECT_EQ(page.Field("LD")->Text(), "9000");
    EXPECT_FALSE(page.Field("LD")->ReadOnly());
    EXPECT_EQ(page.Field("LD")->Color(), clWindow);
    EXPECT_NEAR(page.Field("LD")->GetValue(), 2.499999999993, 1e-12);
    EXPECT_EQ(page.Field("DlD")->Text(), "0.8");
    EXPECT_EQ(page.Unit("DlU")->GetUnit(), "t/m3");
    EXPECT_NEAR(page.Field("DlD")->GetValue(), 800.0, 1e-12);
    EXPECT_NEAR(page.Field("MlD")->GetValue(), 0.0003, 1e-18);
    EXPECT_EQ(page.Unit("VU")->GetUnit(), "t/h");
    EXPECT_NEAR(page.Field("VD")->GetValue(), 2.9999999999999916, 1e-14);
    // The fields in between, whose units were the first ones.
    EXPECT_EQ(page.Field("DvD")->Text(), "");
    EXPECT_EQ(page.Field("CgmaxD")->Exchange(), 1.0);
    // Lists, texts and the comment.
    EXPECT_EQ(page.Combo("AfD")->Text(), "0.6");
    EXPECT_EQ(page.Combo("fpercentD")->Text(), "70");
    EXPECT_EQ(page.Combo("PTD")->ItemIndex(), 5);
    EXPECT_EQ(page.Combo("UfMD")->ItemIndex(), 1);
    EXPECT_EQ(page.TextBox("ProjectD")->Text(), "乙烯装置");
    EXPECT_EQ(page.TextBox("DevicenameD")->Text(), "脱甲烷塔");
    EXPECT_EQ(page.TextBox("DeviceNoD")->Text(), "T-101");
    EXPECT_EQ(page.TextBox("ProjPD")->Text(), "详细设计");
    EXPECT_EQ(page.TextBox("Edit1")->Text(), "备用一");
    EXPECT_EQ(page.TextBox("Edit4")->Text(), "末");
    EXPECT_EQ(page.TextBox("CommentD")->Text(), "第一行\r\n\r\nthird line");
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(LegacyLayoutTest, FileCutAfterTwentyOneLinesEmptiesEverythingAfterTheThirdField)
{
    const auto lines = FixtureLines();
    WriteBytes(dir / "cut.vel", Join(lines, 21));

    CalcPage page(false);
    FillDistinctState(page);
    CalcPage reference(false);
    FillDistinctState(reference);
    ReadLegacyLayout(page, dir / "cut.vel");

    // FpD, CgmaxD, UfD and their selectors as in the complete file.
    EXPECT_EQ(page.Field("FpD")->Text(), "0.0465847495312456");
    EXPECT_EQ(page.Field("FpD")->Color(), 255);
    EXPECT_EQ(page.Unit("FpU")->ItemIndex(), 0);
    EXPECT_EQ(page.Field("CgmaxD")->Text(), "");
    EXPECT_EQ(page.Field("CgmaxD")->Exchange(), 1.0);
    EXPECT_EQ(page.Field("UfD")->Text(), "4000");
    EXPECT_EQ(page.Unit("UfU")->GetUnit(), "m/h");
    // Every later value field, text box and the comment is emptied; what
    // comes after the text line of a field is not touched.
    bool later = false;
    for (TControl* c : page.Controls()) {
        if (c->Name() == "UpD") later = true;
        if (!later) continue;
        if (auto* f = dynamic_cast<TEditD*>(c)) {
            EXPECT_EQ(f->Text(), "") << f->Name();
            EXPECT_EQ(f->Exchange(), reference.Field(f->Name())->Exchange()) << f->Name();
            EXPECT_EQ(f->ReadOnly(), reference.Field(f->Name())->ReadOnly()) << f->Name();
        } else if (auto* t = dynamic_cast<TTextModel*>(c)) {
            EXPECT_EQ(t->Text(), "") << t->Name();
        } else if (auto* u = dynamic_cast<TComboBoxU*>(c)) {
            EXPECT_EQ(u->ItemIndex(), reference.Unit(u->Name())->ItemIndex()) << u->Name();
        } else if (auto* combo = dynamic_cast<TComboModel*>(c)) {
            EXPECT_EQ(combo->Text(), reference.Combo(combo->Name())->Text()) << combo->Name();
        }
    }
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(LegacyLayoutTest, ConversionErrorEndsOnlyItsControlAndTheNextReadsOn)
{
    // FpD takes "1.5" and fails on "abc"; FpU fails on "1" (its list has one
    // unit); CgmaxD reads on from "255": text, factor 1.5 (converting 255 to
    // 170), not read-only, window colour, and its text again "42".
    const std::string text = "1.5\r\nabc\r\n1\r\n255\r\n1.5\r\n0\r\n-16777211\r\n42\r\n";
    CalcPage page(false);
    ApplyLegacyLayout(page, text);
    EXPECT_EQ(page.Field("FpD")->Text(), "1.5");
    EXPECT_EQ(page.Field("FpD")->Exchange(), 1.0);
    EXPECT_EQ(page.Unit("FpU")->ItemIndex(), 0);
    EXPECT_EQ(page.Field("CgmaxD")->Text(), "42");
    EXPECT_EQ(page.Field("CgmaxD")->Exchange(), 1.5);
    EXPECT_FALSE(page.Field("CgmaxD")->ReadOnly());
    EXPECT_EQ(page.Field("CgmaxD")->Color(), clWindow);
    EXPECT_TRUE(page.Field("UfD")->ReadOnly()); // past the end: text emptied, the rest kept
    EXPECT_EQ(page.Field("UfD")->Text(), "");
}

TEST_F(LegacyLayoutTest, CommentCountIsReadWithinTheFile)
{
    auto lines = FixtureLines();
    ASSERT_EQ(lines[kCommentCountLine], "3");

    // More lines announced than the file holds: the lines that are there.
    std::vector<std::string> shortComment(lines.begin(), lines.begin() + kCommentCountLine);
    shortComment.insert(shortComment.end(), {"5", "a", "b"});
    CalcPage page(false);
    ApplyLegacyLayout(page, Join(shortComment, shortComment.size()));
    EXPECT_EQ(page.TextBox("CommentD")->Text(), "a\r\nb");
    EXPECT_EQ(page.Field("HTD")->Text(), "");

    // A count of two billion ends with the file, at once.
    shortComment[kCommentCountLine] = "2000000000";
    const auto start = std::chrono::steady_clock::now();
    ApplyLegacyLayout(page, Join(shortComment, shortComment.size()));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(page.TextBox("CommentD")->Text(), "a\r\nb");

    // A negative count adds no line; the next line belongs to HTD.
    shortComment[kCommentCountLine] = "-3";
    ApplyLegacyLayout(page, Join(shortComment, shortComment.size()));
    EXPECT_EQ(page.TextBox("CommentD")->Text(), "");
    EXPECT_EQ(page.Field("HTD")->Text(), "a");

    // A count that is no number leaves the comment emptied.
    page.TextBox("CommentD")->SetText("old");
    shortComment[kCommentCountLine] = "three";
    ApplyLegacyLayout(page, Join(shortComment, shortComment.size()));
    EXPECT_EQ(page.TextBox("CommentD")->Text(), "");
}

TEST_F(LegacyLayoutTest, WriterAndReaderAgreeOnEverythingTheLayoutHolds)
{
    CalcPage original(false);
    FillDistinctState(original);
    // Not held by this layout: typed text of the flooding fraction, the check box.
    original.Combo("fpercentD")->SetItemIndex(3);
    original.Check("CBLagrange")->SetChecked(false);
    WriteLegacyLayout(original, dir / "legacy.vel");

    const std::string bytes = ReadBytes(dir / "legacy.vel");
    std::size_t lines = 0;
    for (std::size_t p = bytes.find("\r\n"); p != std::string::npos; p = bytes.find("\r\n", p + 2))
        ++lines;
    EXPECT_EQ(lines, 202u + 4u); // the comment has four lines

    CalcPage back(false);
    LoadProject(back, dir / "legacy.vel"); // no banner: the legacy reader
    EXPECT_EQ(Snapshot(back), Snapshot(original));
}

TEST_F(LegacyLayoutTest, WrongCaseBannerFileIsReadAsLegacyLayout)
{
    std::string banner = kFormRecordBanner;
    banner[0] = 'c';
    WriteBytes(dir / "case.vel", banner + "\r\nsecond\r\nthird\r\n");
    CalcPage page(false);
    EXPECT_FALSE(ReadFormRecords(page, dir / "case.vel"));
    LoadProject(page, dir / "case.vel");
    // The banner became FpD's text; "second" is no factor, so FpD stopped
    // there and FpU failed on "third".
    EXPECT_EQ(page.Field("FpD")->Text(), banner);
    EXPECT_EQ(page.Unit("FpU")->ItemIndex(), 0);
    EXPECT_EQ(page.Field("CgmaxD")->Text(), "");
}

} // namespace
