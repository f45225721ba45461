// Form record files: round trips of the whole page through both forms,
// reading files written by another program (the python fixtures), the
// record rules (case, skipping, conversions, effects of the setters) and
// the text encoding.
#include <gtest/gtest.h>

#include <zlib.h>

#include "Messages.h"
#include "SaveFormData.h"
#include "SaveFormDataAnsi.h"
#include "project_test_support.h"

using namespace projecttest;

namespace
{

const std::string kBanner = kFormRecordBanner;

std::string Record(const std::string& name, const std::string& tag, const std::string& prop,
                   const std::string& value)
{
    return name + "\r\n" + tag + "\r\n" + prop + "\r\n" + value + "\r\n\r\n";
}
std::string Header()
{
    return kBanner + "\r\nfree\r\nfree\r\n";
}

class FormRecordsTest : public ::testing::Test
{
protected:
    RecordingSink sink;
    ScopedMessageSink scope{&sink};
    TempDir dir;
};

// ------------------------------------------------------------- round trips

TEST_F(FormRecordsTest, BothFormsRestoreEveryStoredPropertyOfAFullyChangedPage)
{
    CalcPage original(false);
    FillDistinctState(original);
    const auto expected = Snapshot(original);
    ASSERT_NE(expected, Snapshot(CalcPage(false))) << "the filled state must differ from a fresh page";

    for (ProjectForm form : {ProjectForm::Compressed, ProjectForm::Plain}) {
        const std::string path = dir / (form == ProjectForm::Compressed ? "c.vel" : "p.vel");
        WriteFormRecords(original, path, form);
        CalcPage restored(false);
        ASSERT_TRUE(ReadFormRecords(restored, path));
        const auto got = Snapshot(restored);
        ASSERT_EQ(got.size(), expected.size());
        for (std::size_t i = 0; i < got.size(); ++i)
            EXPECT_EQ(got[i], expected[i]) << (form == ProjectForm::Compressed ? "compressed" : "plain");
    }
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(FormRecordsTest, AddedControlsAreStoredOnlyWhenSetAndOlderFilesClearThem)
{
    CalcPage plain(false);
    FillDistinctState(plain);
    const std::string before = FormRecordsText(plain);
    for (const TControl* c : plain.Controls())
        if (plain.IsAddition(c)) EXPECT_EQ(before.find(c->Name()), std::string::npos) << c->Name();

    CalcPage rated(false);
    FillDistinctState(rated);
    rated.SetRatingMode(true);
    rated.Field("dD")->SetText("1.2");
    rated.Field("StagesD")->SetText("12");
    CalcPage restored(false);
    ASSERT_TRUE(ApplyFormRecords(restored, FormRecordsText(rated)));
    EXPECT_EQ(Snapshot(restored), Snapshot(rated));
    // The legacy layout has no place for them: its text is the same without.
    CalcPage legacyPlain(false);
    FillDistinctState(legacyPlain);
    legacyPlain.Field("dD")->SetText("1.2");
    legacyPlain.Field("dD")->SetReadOnly(false);
    legacyPlain.Field("dD")->SetColor(clWindow);
    EXPECT_EQ(LegacyLayoutText(rated), LegacyLayoutText(legacyPlain));

    // A file written before them opens to the state it was saved in.
    ASSERT_TRUE(ApplyFormRecords(restored, before));
    EXPECT_EQ(Snapshot(restored), Snapshot(plain));
    restored.SetRatingMode(true);
    restored.Field("StagesD")->SetText("3");
    ApplyLegacyLayout(restored, LegacyLayoutText(plain));
    EXPECT_FALSE(restored.Check("CBRating")->Checked());
    EXPECT_EQ(restored.Field("StagesD")->Text(), "");
}

TEST_F(FormRecordsTest, SavedFilesHaveTheDocumentedContainers)
{
    CalcPage page(false);
    page.TextBox("ProjectD")->SetText("常减压");
    page.TextBox("CommentD")->SetText("a\r\nb");
    WriteFormRecords(page, dir / "c.vel", ProjectForm::Compressed);
    WriteFormRecords(page, dir / "p.vel", ProjectForm::Plain);
    const std::string compressed = ReadBytes(dir / "c.vel");
    const std::string plain = ReadBytes(dir / "p.vel");

    // Compressed: little-endian length of the plain text, then a zlib stream
    // that zlib itself inflates to that text.
    ASSERT_GT(compressed.size(), 6u);
    const auto* b = reinterpret_cast<const unsigned char*>(compressed.data());
    const uLong length = b[0] | (b[1] << 8) | (b[2] << 16) | (uLong(b[3]) << 24);
    std::string inflated(length, '\0');
    uLongf got = length;
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(inflated.data()), &got, b + 4, compressed.size() - 4),
              Z_OK);
    ASSERT_EQ(got, length);
    // Same records; only the saving time on the third line may differ.
    auto withoutTime = [](const std::string& s) {
        const auto l2 = s.find("\r\n", s.find("\r\n") + 2);
        return s.substr(0, l2) + s.substr(s.find("\r\n", l2 + 2));
    };
    EXPECT_EQ(withoutTime(inflated), withoutTime(plain));

    // Plain: the banner line, GBK texts, "▲" as A1 F8, CR LF everywhere.
    EXPECT_EQ(plain.rfind(kBanner + "\r\n", 0), 0u);
    EXPECT_NE(plain.find("ProjectD\r\nString\r\nText\r\n\xB3\xA3\xBC\xF5\xD1\xB9\r\n"), std::string::npos);
    EXPECT_NE(plain.find("CommentD\r\nRich\r\n"), std::string::npos);
    EXPECT_NE(plain.find("a\xA1\xF8"
                         "b\r\n"),
              std::string::npos);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        if (plain[i] == '\n') {
            ASSERT_TRUE(i > 0 && plain[i - 1] == '\r') << "bare LF at " << i;
        }
    }
}

TEST_F(FormRecordsTest, FieldRestoredInMetresPerHourKeepsItsSiValue)
{
    // Factor, flags and text of the field, then its selector's item 2 (m/h).
    const std::string text = Header() + Record("UfD", "Float", "Exchange", "0.0002777777") +
                             Record("UfD", "Enum", "ReadOnly", "False") +
                             Record("UfD", "Ord", "Color", "-16777211") +
                             Record("UfD", "String", "Text", "3600") + Record("UfU", "Ord", "ItemIndex", "2");
    CalcPage page(false);
    ASSERT_TRUE(ApplyFormRecords(page, text));
    TEditD* uf = page.Field("UfD");
    EXPECT_EQ(uf->Text(), "3600");
    EXPECT_EQ(uf->FloatStr(), "3600");
    EXPECT_EQ(page.Unit("UfU")->GetUnit(), "m/h");
    EXPECT_FALSE(uf->ReadOnly());
    EXPECT_EQ(uf->Color(), clWindow);
    EXPECT_NEAR(uf->GetValue(), 0.99999972, 1e-15); // 3600 × 0.0002777777
}

// ------------------------------------------------- files of another writer

TEST_F(FormRecordsTest, CompressedAndPlainFixtureOpenToTheSameState)
{
    CalcPage fromPlain(false), fromCompressed(false);
    ASSERT_TRUE(ReadFormRecords(fromPlain, DataFile("form-plain.vel")));
    ASSERT_TRUE(ReadFormRecords(fromCompressed, DataFile("form-compressed.vel")));
    EXPECT_EQ(Snapshot(fromPlain), Snapshot(fromCompressed));

    CalcPage& p = fromPlain;
    EXPECT_EQ(p.Field("LD")->Text(), "9000");
    EXPECT_EQ(p.Unit("LU")->GetUnit(), "kg/h");
    EXPECT_NEAR(p.Field("LD")->GetValue(), 2.499999999993, 1e-12); // 9000 × 0.000277777777777
    EXPECT_NEAR(p.Field("UfD")->GetValue(), 0.99999972, 1e-15);
    // Names, properties and identifiers in other letter cases still apply.
    EXPECT_EQ(p.Field("dpD")->Text(), "140");
    EXPECT_EQ(p.Unit("dpU")->GetUnit(), "cm");
    EXPECT_TRUE(p.Field("dpD")->ReadOnly());
    EXPECT_EQ(p.Field("dpD")->Color(), 65535);
    EXPECT_NEAR(p.Field("dpD")->GetValue(), 1.4, 1e-15);
    EXPECT_EQ(p.TextBox("ProjectD")->Text(), "常减压装置");
    EXPECT_EQ(p.TextBox("DevicenameD")->Text(), "减压塔");
    EXPECT_EQ(p.TextBox("CommentD")->Text(), "第一行\r\n第二行");
    EXPECT_EQ(p.Combo("AfD")->Text(), "0.5");
    EXPECT_EQ(p.Combo("fpercentD")->Text(), "75");
    EXPECT_EQ(p.Combo("PTD")->ItemIndex(), 4);
    EXPECT_EQ(p.Combo("UfMD")->ItemIndex(), 2);
    EXPECT_TRUE(p.Check("CBLagrange")->Checked());
    // The skipped records changed nothing; the record after them applied.
    EXPECT_EQ(p.Field("DlD")->Text(), "812.5");
}

TEST_F(FormRecordsTest, BannerDifferingOnlyInCaseIsNoFormRecordFile)
{
    std::string lower = kBanner;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string body = Record("LD", "String", "Text", "5");
    WriteBytes(dir / "lower.vel", lower + "\r\nx\r\ny\r\n" + body);
    WriteBytes(dir / "nobanner.vel", body);
    WriteBytes(dir / "trailing.vel", kBanner + " \r\nx\r\ny\r\n" + body);

    for (const char* name : {"lower.vel", "nobanner.vel", "trailing.vel"}) {
        CalcPage page(false);
        page.Field("LD")->SetText("7");
        const auto before = Snapshot(page);
        EXPECT_FALSE(ReadFormRecords(page, dir / name)) << name;
        EXPECT_EQ(Snapshot(page), before) << name;
    }
}

// ------------------------------------------------------------ record rules

TEST_F(FormRecordsTest, UnknownControlsTagsPropertiesAndKindsAreSkipped)
{
    const std::string text = Header() + Record("NoSuchD", "String", "Text", "x") + // no control
                             Record("LD", "Text", "Text", "x") +                   // no such tag
                             Record("LD", "string", "Text", "x") +                 // tags are exact
                             Record("LD", "String", "Caption", "x") +              // no property
                             Record("LD", "Float", "Text", "1") +                  // Text is a string
                             Record("LD", "Ord", "ReadOnly", "1") +                // an Enum
                             Record("LD", "String", "Exchange", "2") +             // a Float
                             Record("CommentD", "String", "Text", "x") +           // lines, not text
                             Record("LD", "CheckListBox", "",
                                    "a\xA1\xF8"
                                    "1\xA1\xF8") + // no check list
                             Record("LD", "String", "Text", "42");
    CalcPage page(false);
    ASSERT_TRUE(ApplyFormRecords(page, text));
    EXPECT_EQ(page.Field("LD")->Text(), "42");
    EXPECT_FALSE(page.Field("LD")->ReadOnly());
    EXPECT_EQ(page.Field("LD")->Exchange(), 1.0);
    EXPECT_EQ(page.TextBox("CommentD")->Text(), "");
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(FormRecordsTest, MemoAndRichTurnTheMarkIntoLineBreaks)
{
    const std::string text = Header() + Record("CommentD", "Rich", "ignored", "one\xA1\xF8two") +
                             Record("ProjectD", "Memo", "", "\xA1\xF8\xA1\xF8") +
                             Record("fpercentD", "Memo", "", "66") + Record("LU", "Memo", "", "no such unit");
    CalcPage page(false);
    ASSERT_TRUE(ApplyFormRecords(page, text));
    EXPECT_EQ(page.TextBox("CommentD")->Text(), "one\r\ntwo");
    EXPECT_EQ(page.TextBox("ProjectD")->Text(), "\r\n\r\n");
    EXPECT_EQ(page.Combo("fpercentD")->Text(), "66");
    EXPECT_EQ(page.Unit("LU")->ItemIndex(), 0);
}

TEST_F(FormRecordsTest, ValueThatDoesNotConvertEndsTheReadingAfterTheRecordsBeforeIt)
{
    struct Case {
        const char* tag;
        const char* prop;
        const char* value;
        const char* message;
    } cases[] = {
        {"Float", "Exchange", "1,5", "'1,5' is not a valid floating point value"},
        {"Float", "Exchange", "1e999", "'1e999' is not a valid floating point value"},
        {"Float", "Exchange", "0", "'0' is not a valid unit factor"},
        {"Float", "Exchange", "-1", "'-1' is not a valid unit factor"},
        {"Ord", "Color", "12abc", "'12abc' is not a valid integer value"},
        {"Ord", "Color", "0x10", "'0x10' is not a valid integer value"},
        {"Enum", "ReadOnly", "Yes", "Invalid property element: Yes"},
    };
    for (const Case& c : cases) {
        const std::string text = Header() + Record("LD", "String", "Text", "before") +
                                 Record("LD", c.tag, c.prop, c.value) +
                                 Record("VD", "String", "Text", "after");
        CalcPage page(false);
        try {
            ApplyFormRecords(page, text);
            ADD_FAILURE() << c.value << " was accepted";
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_EQ(page.Field("LD")->Text(), "before") << c.value;
        EXPECT_EQ(page.Field("VD")->Text(), "") << c.value;
        EXPECT_EQ(page.Field("LD")->Exchange(), 1.0) << c.value;
    }
}

TEST_F(FormRecordsTest, UnitIndexOutsideTheListIsAnErrorWhileListsSelectNothing)
{
    CalcPage page(false);
    // Four metric and three US items: 7 is the first index outside.
    EXPECT_THROW(ApplyFormRecords(page, Header() + Record("LU", "Ord", "ItemIndex", "7")), EConvertError);
    EXPECT_THROW(ApplyFormRecords(page, Header() + Record("LU", "Ord", "ItemIndex", "-1")), EConvertError);
    EXPECT_EQ(page.Unit("LU")->ItemIndex(), 0);
    EXPECT_EQ(page.Unit("LU")->GetUnit(), "kg/s");
    ASSERT_TRUE(ApplyFormRecords(page, Header() + Record("LU", "Ord", "ItemIndex", "3")));
    EXPECT_EQ(page.Unit("LU")->GetUnit(), "t/h");

    ASSERT_TRUE(ApplyFormRecords(page, Header() + Record("AfD", "Ord", "ItemIndex", "99")));
    EXPECT_EQ(page.Combo("AfD")->ItemIndex(), -1);
}

TEST_F(FormRecordsTest, AListThePageAddedTakesOnlyTheIndexOfOneOfItsItems)
{
    // DesignBasisD has three items (the window's own lists, AfD above, select nothing instead).
    CalcPage page(false);
    std::size_t line = 0;
    for (const char* index : {"3", "-1", "99"})
        EXPECT_THROW(
            ApplyFormRecords(page, Header() + Record("DesignBasisD", "Ord", "ItemIndex", index), &line),
            EConvertError);
    EXPECT_EQ(line, 7u);
    ASSERT_TRUE(ApplyFormRecords(page, Header() + Record("designbasisd", "Ord", "ItemIndex", "2")));
    EXPECT_EQ(page.Combo("DesignBasisD")->ItemIndex(), 2);
}

TEST_F(FormRecordsTest, RecordsCutShortAreRefusedBeforeAnythingIsRead)
{
    CalcPage page(false);
    page.Field("LD")->SetText("5");
    page.Field("VD")->SetText("6");
    const auto before = Snapshot(page);
    // The last record has its name, tag and property, but no value line.
    EXPECT_THROW(
        ApplyFormRecords(page, Header() + Record("VD", "String", "Text", "7") + "LD\r\nString\r\nText"),
        EProjectDamaged);
    EXPECT_EQ(Snapshot(page), before);
    // A header alone, or less, applies nothing and is still the format.
    CalcPage other(false);
    const auto fresh = Snapshot(other);
    EXPECT_TRUE(ApplyFormRecords(other, kBanner));
    EXPECT_TRUE(ApplyFormRecords(other, kBanner + "\r\n"));
    EXPECT_EQ(Snapshot(other), fresh);
    // An Ord value missing at the end is a record cut short too.
    EXPECT_THROW(ApplyFormRecords(other, Header() + "LU\r\nOrd\r\nItemIndex\r\n"), EProjectDamaged);
}

TEST_F(FormRecordsTest, SettingThroughTheSettersRunsTheirEffects)
{
    CalcPage page; // with the change hooks
    page.Field("LD")->SetText("1");
    page.NeedsRecalc = page.Modified = false;

    // A new factor converts the present text (1 kg/s in kg/h).
    ASSERT_TRUE(ApplyFormRecords(page, Header() + Record("LD", "Float", "Exchange", "0.000277777777777")));
    EXPECT_EQ(page.Field("LD")->Text(), "3600.00000001008"); // python: 1 / 0.000277777777777
    EXPECT_NEAR(page.Field("LD")->GetValue(), 1.0, 1e-14);
    EXPECT_TRUE(page.NeedsRecalc);
    EXPECT_TRUE(page.Modified); // LD's change handler

    // A plain list runs no change handler (which would recalculate at once).
    page.NeedsRecalc = page.Modified = false;
    ASSERT_TRUE(ApplyFormRecords(page, Header() + Record("PTD", "Ord", "ItemIndex", "3") +
                                           Record("CBLagrange", "Enum", "Checked", "true")));
    EXPECT_EQ(page.Combo("PTD")->ItemIndex(), 3);
    EXPECT_TRUE(page.Check("CBLagrange")->Checked());
    EXPECT_FALSE(page.NeedsRecalc);
    EXPECT_FALSE(page.Modified);

    // A unit selector runs its conversion and marks the project modified.
    ASSERT_TRUE(ApplyFormRecords(page, Header() + Record("LU", "Ord", "ItemIndex", "0")));
    EXPECT_EQ(page.Field("LD")->Exchange(), 1.0);
    EXPECT_NEAR(page.Field("LD")->GetValue(), 1.0, 1e-14);
    EXPECT_TRUE(page.Modified);

    // Text boxes set Modified through their change handler.
    page.NeedsRecalc = page.Modified = false;
    ASSERT_TRUE(ApplyFormRecords(page, Header() + Record("Edit3", "String", "Text", "x")));
    EXPECT_TRUE(page.Modified);
}

TEST_F(FormRecordsTest, LineBreaksInsideRecordsFollowTheCrLfRule)
{
    // A lone CR or LF belongs to its line; only CR LF ends one.
    const std::string text = Header() + Record("ProjectD", "String", "Text", "a\rb\nc") +
                             Record("Edit1", "String", "Text", "end\r");
    CalcPage page(false);
    ASSERT_TRUE(ApplyFormRecords(page, text));
    EXPECT_EQ(page.TextBox("ProjectD")->Text(), "a\rb\nc");
    EXPECT_EQ(page.TextBox("Edit1")->Text(), "end\r");

    // And the writer keeps such texts intact, sending a CR LF as Memo.
    CalcPage source(false);
    source.TextBox("ProjectD")->SetText("x\ry\n");
    source.TextBox("Edit2")->SetText("two\r\nlines");
    source.Field("LD")->SetText("\r\n");
    CalcPage back(false);
    ASSERT_TRUE(ApplyFormRecords(back, FormRecordsText(source)));
    EXPECT_EQ(Snapshot(back), Snapshot(source));
}

// ----------------------------------------------------------------- encoding

TEST_F(FormRecordsTest, TextsOutsideGbkSurviveOurOwnRoundTrip)
{
    CalcPage page(false);
    page.TextBox("Edit1")->SetText("€ 😀 ㈠ é");
    page.TextBox("CommentD")->SetText("ü\r\n𠀀");
    CalcPage back(false);
    ASSERT_TRUE(ApplyFormRecords(back, FormRecordsText(page)));
    EXPECT_EQ(back.TextBox("Edit1")->Text(), "€ 😀 ㈠ é");
    EXPECT_EQ(back.TextBox("CommentD")->Text(), "ü\r\n𠀀");
}

TEST(AnsiText, ConvertsGbkBothWaysAndReplacesBadBytes)
{
    // Bytes from python's gbk codec.
    EXPECT_EQ(Utf8ToAnsi("常减压"), "\xB3\xA3\xBC\xF5\xD1\xB9");
    EXPECT_EQ(AnsiToUtf8("\xB3\xA3\xBC\xF5\xD1\xB9"), "常减压");
    EXPECT_EQ(Utf8ToAnsi("▲"), "\xA1\xF8");
    EXPECT_EQ(Utf8ToAnsi("plain ascii"), "plain ascii");
    // A lone lead byte, a byte no character starts with, a cut sequence.
    EXPECT_EQ(AnsiToUtf8("a\xFF"
                         "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(AnsiToUtf8("x\xB3"), "x\xEF\xBF\xBD");
    // Not UTF-8 on the way out: replaced, never dropped silently into garbage.
    EXPECT_EQ(Utf8ToAnsi("a\xC0z"), "a?z");
}

// -------------------------------------------------------------- check lists

TEST(CheckListValue, SetsTextsAndChecksOnlyFlagOne)
{
    std::vector<CheckListEntry> items(3, CheckListEntry{"old", true});
    ApplyCheckListValue(items, "甲▲1▲乙▲x▲");
    EXPECT_EQ(items[0].Text, "甲");
    EXPECT_TRUE(items[0].Checked);
    EXPECT_EQ(items[1].Text, "乙");
    EXPECT_FALSE(items[1].Checked);
    EXPECT_EQ(items[2].Text, "old"); // no entry for it
    EXPECT_TRUE(items[2].Checked);

    // Odd values: an empty text, a flag that is the mark itself, a last flag
    // without its closing mark, a multi-byte flag, no mark at all.
    auto e = ParseCheckListValue("▲1▲b▲▲▲c▲1");
    ASSERT_EQ(e.size(), 3u);
    EXPECT_TRUE(e[0].Text.empty() && e[0].Checked);
    EXPECT_TRUE(e[1].Text == "b" && !e[1].Checked);
    EXPECT_TRUE(e[2].Text == "c" && e[2].Checked);
    auto wide = ParseCheckListValue("d▲是▲e▲1▲");
    ASSERT_EQ(wide.size(), 2u);
    EXPECT_TRUE(!wide[0].Checked && wide[1].Text == "e" && wide[1].Checked);
    EXPECT_TRUE(ParseCheckListValue("text without a mark").empty());
}

TEST(CheckListValue, LongListsArriveWholeAndAnEntryBeyondTheItemsIsAnError)
{
    // Far more than 4096 characters: every entry still arrives.
    std::string value;
    std::vector<CheckListEntry> items(400);
    for (int i = 0; i < 400; ++i)
        value += "item number " + std::to_string(i) + " of a long list▲" + (i % 3 == 0 ? "1" : "0") + "▲";
    ASSERT_GT(value.size(), 3u * 4096);
    ApplyCheckListValue(items, value);
    EXPECT_EQ(items[399].Text, "item number 399 of a long list");
    EXPECT_TRUE(items[399].Checked);
    EXPECT_FALSE(items[398].Checked);

    items.resize(1);
    try {
        ApplyCheckListValue(items, "a▲1▲b▲1▲");
        ADD_FAILURE() << "second entry accepted";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (1)");
    }
    EXPECT_EQ(items[0].Text, "a");
}

} // namespace
