// The built-in packing catalogue, its lookup into the current packing and the
// strict conversion of its cells.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "Messages.h"
#include "PackingCatalogue.h"
#include "TextToFloat.h"

TEST(PackingCatalogue, RowsHeadingsAndKeys)
{
    const auto& rows = PackingCatalogue();
    ASSERT_EQ(rows.size(), 27u);
    std::set<std::string> names;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i][ColNumber], std::to_string(i + 1));
        names.insert(rows[i][ColType]);
    }
    EXPECT_EQ(names.size(), rows.size());
    EXPECT_EQ(rows[8][ColType], "Sulze-Kock-bx");
    EXPECT_EQ(rows[10][ColType], "Mellapakr-250Y");
    EXPECT_EQ(rows[17][ColType], "BX(丝网)");
    EXPECT_EQ(rows[22][ColRemark], "*-");
    EXPECT_EQ(rows[23][ColRemark], "");
    EXPECT_STREQ(CatalogueHeadings()[1], "填料类型PT");
    EXPECT_STREQ(CatalogueHeadings()[12], "备注");
}

TEST(PackingCatalogue, NumericPrefix)
{
    EXPECT_EQ(NumericPrefix("38*Billet法估算"), "38");
    EXPECT_EQ(NumericPrefix("21.3*Uf=2.9(化学工程手册3)估算"), "21.3");
    EXPECT_EQ(NumericPrefix("*-"), "");
    EXPECT_EQ(NumericPrefix("  \t "), "");
    EXPECT_EQ(NumericPrefix("  24.99  "), "24.99");
    // Taken by character class, not by number syntax.
    EXPECT_EQ(NumericPrefix("-1.5E+3-2 kg"), "-1.5E+3-2");
}

TEST(PackingCatalogue, LookUpStoresSiGeometryAndReturnsTheConstant)
{
    CurrentPacking = {};
    EXPECT_EQ(LookUpPacking("Mellapak-350X", ColF), "20");
    EXPECT_DOUBLE_EQ(CurrentPacking.a, 350.0);
    EXPECT_DOUBLE_EQ(CurrentPacking.eps, 0.95);
    EXPECT_DOUBLE_EQ(CurrentPacking.h, 0.008);
    EXPECT_DOUBLE_EQ(CurrentPacking.B2, 0.016);
    EXPECT_DOUBLE_EQ(CurrentPacking.S, 0.0113);
    EXPECT_DOUBLE_EQ(CurrentPacking.theta, M_PI / 4);
    EXPECT_DOUBLE_EQ(CurrentPacking.dh, 0.012);
    EXPECT_EQ(CurrentPacking.uLmin, 0.0); // only SetMinLiquidLoad writes it

    EXPECT_EQ(LookUpPacking("Sulze-Kock-bx", ColF), "38");
    EXPECT_EQ(CurrentPacking.theta, 1.0471975511965976);
    EXPECT_EQ(LookUpPacking("BX(丝网)", ColF), "21.3");
    EXPECT_EQ(LookUpPacking("Flexipac-1", ColCf), "0.7");
    EXPECT_EQ(LookUpPacking("GemPack-4A", ColCf1), "2.099");
    EXPECT_EQ(LookUpPacking("500Y", ColF), "34.14"); // a row with a remark
    EXPECT_DOUBLE_EQ(CurrentPacking.B2, 0.0102);
    EXPECT_EQ(LookUpPacking("CY-800", ColF), "");

    // Every row's cells convert; only CY-800 lacks the packing factor.
    for (const CatalogueRow& row : PackingCatalogue()) {
        EXPECT_GT(TextToFloat(LookUpPacking(row[ColType], ColCf)), 0.0);
        EXPECT_GT(TextToFloat(LookUpPacking(row[ColType], ColCf1)), 0.0);
        const std::string f = LookUpPacking(row[ColType], ColF);
        EXPECT_EQ(f.empty(), row[ColType] == "CY-800");
        EXPECT_TRUE(CurrentPacking.eps > 0.8 && CurrentPacking.eps < 1.0) << row[ColType];
        EXPECT_TRUE(CurrentPacking.S > 0.004 && CurrentPacking.S < 0.072) << row[ColType];
    }
}

TEST(PackingCatalogue, UnknownTypeIsAnErrorAndKeepsTheCurrentPacking)
{
    LookUpPacking("Mellapak-125Y", ColF);
    const double a = CurrentPacking.a, S = CurrentPacking.S;
    // Keys are compared exactly: case, blanks and the catalogue's spellings count.
    for (const char* type : {"mellapak-125Y", "Mellapak-250Y", "Mellapak-125Y ", ""}) {
        try {
            LookUpPacking(type, ColF);
            ADD_FAILURE() << "no error for '" << type << "'";
        } catch (const EConvertError&) {
            ADD_FAILURE() << "a missing packing is not a conversion error";
        } catch (const EVelkError& e) {
            EXPECT_NE(std::string(e.what()).find(type), std::string::npos);
        }
    }
    EXPECT_THROW(LookUpPacking("Mellapak-125Y", 13), EVelkError);
    EXPECT_EQ(CurrentPacking.a, a);
    EXPECT_EQ(CurrentPacking.S, S);
}

TEST(PackingCatalogue, MinimumLiquidLoad)
{
    LookUpPacking("Mellapakr-250Y", ColF);
    SetMinLiquidLoad();
    EXPECT_NEAR(CurrentPacking.uLmin, 5.555555555555e-5, 1e-18);
    LookUpPacking("CY-800", ColF);
    SetMinLiquidLoad();
    EXPECT_NEAR(CurrentPacking.uLmin, 1.7777777777776e-4, 1e-17); // 2.222222222222e-7 * 800 by hand
}

TEST(TextToFloat, AcceptsPlainDecimalNumbersOnly)
{
    EXPECT_EQ(TextToFloat(" 0.8 "), 0.8);
    EXPECT_EQ(TextToFloat("+.5"), 0.5);
    EXPECT_EQ(TextToFloat("-2.5E+1"), -25.0);
    EXPECT_EQ(TextToFloat("1e-999"), 0.0); // underflow is not an error
    for (const char* bad : {"", "1,5", "0.8x", ".", "e3", "1e+", "inf", "nan", "0x10", "1e999", "1 2"}) {
        try {
            TextToFloat(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(bad) + "' is not a valid floating point value");
        }
    }
}

TEST(PackingCatalogueNames, AreUniqueSoTheRowFoundLastIsTheFirstMatch)
{
    std::set<std::string> names;
    for (const CatalogueRow& row : PackingCatalogue())
        EXPECT_TRUE(names.insert(row[ColType]).second) << row[ColType];
}
