// Number texts and unit conversion of the value fields.
#include <gtest/gtest.h>

#include "ComboBoxU.h"
#include "EditD.h"
#include "Messages.h"
#include "NumberText.h"
#include "UnitLists.h"

TEST(NumberText, DisplayStringFollowsTheSevenDigitRules)
{
    EXPECT_EQ(DisplayText(0.1L), "0.1");
    EXPECT_EQ(DisplayText(1234567.8L), "1234568");
    EXPECT_EQ(DisplayText(12345678.0L), "1.234568E0007");
    EXPECT_EQ(DisplayText(0.000001L), "1E-0006");
    EXPECT_EQ(DisplayText(0.0L), "0");
    EXPECT_EQ(DisplayText(-2.5L), "-2.5");
    EXPECT_EQ(DisplayText(0.00001L), "0.00001");
    EXPECT_EQ(DisplayText(0.0000099999999L), "0.00001"); // rounds up into fixed notation
    EXPECT_EQ(DisplayText(9999999.6L), "1E0007");        // eight integer digits after rounding
    EXPECT_EQ(DisplayText(3600.00100800028L), "3600.001");
    EXPECT_EQ(DisplayText(1e20L), "1E0020");
}

TEST(NumberText, FullPrecisionTextHasFifteenDigitsAndShortExponent)
{
    EXPECT_EQ(FullPrecisionText(0.000001L), "1E-6");
    EXPECT_EQ(FullPrecisionText(1.0L / 3.0L), "0.333333333333333");
    EXPECT_EQ(FullPrecisionText(123456789012345678.0L), "1.23456789012346E17");
    EXPECT_EQ(FullPrecisionText(720.0L), "720");
}

TEST(NumberText, ParsingAcceptsOnlyAWholeNumber)
{
    long double v;
    EXPECT_TRUE(ParseNumber("  12.5", v));
    EXPECT_EQ(v, 12.5L);
    EXPECT_TRUE(ParseNumber("-1e3", v));
    EXPECT_EQ(v, -1000.0L);
    EXPECT_TRUE(ParseNumber("+.5", v));
    EXPECT_EQ(v, 0.5L);
    EXPECT_TRUE(ParseNumber("5.", v));
    EXPECT_FALSE(ParseNumber("", v));
    EXPECT_FALSE(ParseNumber(" ", v));
    EXPECT_FALSE(ParseNumber("12abc", v));
    EXPECT_FALSE(ParseNumber("12 ", v));
    EXPECT_FALSE(ParseNumber("1e", v));
    EXPECT_FALSE(ParseNumber("1,5", v));
    EXPECT_FALSE(ParseNumber(".", v));
    EXPECT_FALSE(ParseNumber("nan", v));
    EXPECT_FALSE(ParseNumber("inf", v));
    double d;
    EXPECT_FALSE(ParseNumber("1e400", d)); // beyond a double
}

TEST(UnitLists, ItemsArePaddedAndCarryTheirFactorTexts)
{
    auto items = UnitItemsForField("UfD");
    ASSERT_EQ(items.size(), 8u); // five metric items, then ft/s, ft/min, gpm/ft2
    EXPECT_EQ(items[2], "m/h                   |0.0002777777");
    EXPECT_EQ(UnitItemsForField("LD")[0], "kg/s                  |1.000000000000000");
    auto mv = UnitItemsForField("MvD");
    EXPECT_EQ(mv[1].find('|'), 26u);
    EXPECT_EQ(UnitItemsForField("MlD")[1].find('|'), 25u);
    EXPECT_TRUE(UnitItemsForField("ProjectD").empty());
    EXPECT_DOUBLE_EQ(TComboBoxU::ItemFactor(items[2]), 0.0002777777);
    EXPECT_EQ(TComboBoxU::ItemUnit(items[2]), "m/h");
    EXPECT_EQ(TComboBoxU::ItemUnit("  plain "), "plain");
}

class FieldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TEditD::FieldChangeFlag = &fieldFlag;
        TComboBoxU::UnitChangeFlag = &unitFlag;
    }
    void TearDown() override
    {
        TEditD::FieldChangeFlag = nullptr;
        TComboBoxU::UnitChangeFlag = nullptr;
    }
    bool fieldFlag = false;
    bool unitFlag = false;
    RecordingSink sink;
    ScopedMessageSink scope{&sink};
};

TEST_F(FieldTest, ChangingUnitKeepsTheSiValue)
{
    TEditD f("UfD");
    TComboBoxU u("UfU", UnitItemsForField("UfD"), &f);
    u.SetItemIndex(0);
    f.SetText("1");
    u.SetItemIndex(2); // m/h
    EXPECT_EQ(f.Text(), "3600.00100800028");
    EXPECT_EQ(f.FloatStr(), "3600.001");
    EXPECT_EQ(u.GetUnit(), "m/h");
    EXPECT_NEAR(f.GetValue(), 1.0, 1e-15);
    u.SetItemIndex(0);
    EXPECT_NEAR(f.GetValue(), 1.0, 1e-15);
    EXPECT_NEAR(std::stod(f.Text()), 1.0, 1e-14);
}

TEST_F(FieldTest, TypedTextIsReadWithTheDecimalFactor)
{
    TEditD f("UfD");
    TComboBoxU u("UfU", UnitItemsForField("UfD"), &f);
    u.SetItemIndex(2);
    f.SetText("3600");
    EXPECT_DOUBLE_EQ(f.GetValue(), 0.99999972);

    TEditD l("LD");
    TComboBoxU lu("LU", UnitItemsForField("LD"), &l);
    lu.SetItemIndex(1); // kg/h
    l.SetText("720");
    EXPECT_DOUBLE_EQ(l.GetValue(), 0.19999999999944);
    l.SetValue(0.2);
    EXPECT_EQ(l.Text(), "720.000000002016");
    EXPECT_EQ(l.FloatStr(), "720");
}

TEST_F(FieldTest, ShownStringAndMustInputMarker)
{
    TEditD f("LD");
    f.SetMyResolved(false);
    EXPECT_EQ(f.ShownString(), "[Must input]");
    f.SetText(" ");
    EXPECT_EQ(f.ShownString(), "[Must input]");
    f.SetReadOnly(true);
    EXPECT_EQ(f.ShownString(), "");
    f.SetReadOnly(false);
    f.SetMyResolved(true);
    EXPECT_EQ(f.ShownString(), "");
    f.SetText("12abc");
    EXPECT_EQ(f.ShownString(), "12abc");
    EXPECT_FALSE(f.Ctl3D() == false);
}

TEST_F(FieldTest, BadTextShowsTheFieldMessageAndAbortsSilently)
{
    TEditD f("LD");
    bool focused = false;
    f.OnFocusRequest = [&](TEditD*) { focused = true; };
    f.SetText("12abc");
    EXPECT_THROW(f.GetValue(), EAbort);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "LD是错误数据");
    EXPECT_TRUE(focused);
    EXPECT_EQ(f.Text(), " ");
    EXPECT_THROW(f.GetValue(), EAbort);
    EXPECT_EQ(sink.messages[1].text, "警告:“LD”是空白,请补充.");
    f.SetMyLabel("液相质量流量");
    f.SetText("");
    EXPECT_THROW(f.GetValue(), EAbort);
    EXPECT_EQ(sink.messages[2].text, "警告:“液相质量流量”是空白,请补充.");
}

TEST_F(FieldTest, HooksFollowEveryChange)
{
    TEditD f("LD");
    TComboBoxU u("LU", UnitItemsForField("LD"), &f);
    u.Loading = true;
    u.SetItemIndex(1);
    EXPECT_FALSE(unitFlag) << "loading a layout sets no flag";
    EXPECT_EQ(f.Exchange(), 1.0);
    u.Loaded();
    EXPECT_EQ(u.ItemIndex(), 0);
    EXPECT_TRUE(unitFlag);
    EXPECT_FALSE(fieldFlag) << "the first unit over an empty text changes no text";

    unitFlag = false;
    f.SetText("5");
    EXPECT_TRUE(fieldFlag);
    fieldFlag = false;
    f.SetText("5");
    EXPECT_FALSE(fieldFlag) << "writing the same text is no change";
    u.SetItemIndex(0);
    EXPECT_TRUE(unitFlag);
    EXPECT_FALSE(fieldFlag) << "the same factor converts nothing";
    EXPECT_EQ(f.Text(), "5");
    u.SetItemIndex(3);
    EXPECT_TRUE(fieldFlag);

    // A text that is not a number keeps its text but takes the new factor.
    f.SetText("abc");
    u.SetItemIndex(1);
    EXPECT_EQ(f.Text(), "abc");
    EXPECT_DOUBLE_EQ(f.Exchange(), 0.000277777777777);
}
