// The user's packings: every fault of a file named by line and column with
// nothing taken, a file written and read back to the same rows, and a user
// row with the numbers of a built-in row looked up as that row.
#include <gtest/gtest.h>

#include <tuple>

#include "PackingCatalogue.h"
#include "UserPackings.h"

namespace
{
const std::string kHead =
    "序号,填料类型PT,比表面α,空隙率e,校正系数Cf,波峰高度h,波距2B,波长S,倾角θ,水力直径dh,"
    "结构参数Cf1,Fp1/3.2808,备注\n";
const std::string kGood = "1,Own-250,250,0.97,1.0,12.7,25.4,17.8,45,15.8,2.464,20,\n";

struct Fault {
    const char* what;
    std::string text;
    int line, column;
    const char* says;
};

const Fault kFaults[] = {
    {"a heading renamed",
     "序号,Name,比表面α,空隙率e,校正系数Cf,波峰高度h,波距2B,波长S,倾角θ,水力直径dh,结构参数Cf1,Fp1/"
     "3.2808,备注\n" +
         kGood,
     1, 2, "heading"},
    {"no heading line at all", "", 0, 0, "no heading"},
    {"a built-in name, in other case",
     kHead + "1,mellapak-250x,250,0.97,1.0,12.7,25.4,17.8,45,15.8,2.464,20,\n", 2, 2, "built-in"},
    {"a name given twice", kHead + kGood + kGood, 3, 2, "twice"},
    {"no name", kHead + "1,,250,0.97,1.0,12.7,25.4,17.8,45,15.8,2.464,20,\n", 2, 2, "no name"},
    {"an area below 10", kHead + "1,A,5,0.97,1.0,12.7,25.4,17.8,45,15.8,2.464,20,\n", 2, 3,
     "at least 10 and at most 2000"},
    {"a void fraction of 1", kHead + "1,A,250,1,1.0,12.7,25.4,17.8,45,15.8,2.464,20,\n", 2, 4, "below 1"},
    {"Cf of 0", kHead + "1,A,250,0.97,0,12.7,25.4,17.8,45,15.8,2.464,20,\n", 2, 5, "above 0"},
    {"a decimal comma unquoted shifts the columns",
     kHead + "1,A,250,0.97,1.0,12,7,25.4,17.8,45,15.8,2.464,20\n", 2, 11, "at most 10"},
    {"a comma for the point", kHead + "1,A,250,0.97,1.0,\"12,7\",25.4,17.8,45,15.8,2.464,20,\n", 2, 6,
     "not a number"},
    {"an inclination of 90", kHead + "1,A,250,0.97,1.0,12.7,25.4,17.8,90,15.8,2.464,20,\n", 2, 9, "below 90"},
    {"Cf1 missing", kHead + "1,A,250,0.97,1.0,12.7,25.4,17.8,45,15.8,*-,20,\n", 2, 11, "empty"},
    {"F beyond 500", kHead + "1,A,250,0.97,1.0,12.7,25.4,17.8,45,15.8,2.464,900*note,\n", 2, 12,
     "at most 500"},
    {"too few columns", kHead + "1,A,250,0.97\n", 2, 5, "ends after 4"},
    {"too many columns", kHead + "1,A,250,0.97,1.0,12.7,25.4,17.8,45,15.8,2.464,20,,x\n", 2, 14,
     "more columns"},
    {"a quote left open", kHead + "1,\"A,250\n", 2, 0, "not closed"},
    {"bytes that are not UTF-8", kHead + "1,A\xFF,250,0.97,1.0,12.7,25.4,17.8,45,15.8,2.464,20,\n", 2, 2,
     "UTF-8"},
    {"a NUL byte", kHead + kGood + std::string("1,B,250,0.97,1.0\0,12.7", 22) + "\n", 3, 5, "NUL"},
};

class UserCatalogueFault : public ::testing::TestWithParam<Fault>
{
};
} // namespace

TEST_P(UserCatalogueFault, IsNamedByLineAndColumnAndNothingIsTaken)
{
    const Fault& f = GetParam();
    const UserCatalogue c = ParseUserCatalogue(f.text);
    EXPECT_TRUE(c.rows.empty());
    ASSERT_FALSE(c.errors.empty());
    const UserCatalogueError& e = c.errors.front();
    EXPECT_EQ(e.line, f.line) << e.what;
    EXPECT_EQ(e.column, f.column) << e.what;
    EXPECT_NE(e.what.find(f.says), std::string::npos) << e.what;
    const std::string text = UserCatalogueErrorsText(c.errors, "p.csv");
    const std::string where = "p.csv" + (f.line ? ":" + std::to_string(f.line) : "") +
                              (f.column ? ":" + std::to_string(f.column) : "") + ": ";
    EXPECT_EQ(text.rfind(where, 0), 0u) << text;
}

INSTANTIATE_TEST_SUITE_P(Files, UserCatalogueFault, ::testing::ValuesIn(kFaults));

TEST(UserCatalogue, EveryFaultOfAFileIsListed)
{
    const UserCatalogue c =
        ParseUserCatalogue(kHead + "1,A,5,1,1.0,12.7,25.4,17.8,45,15.8,2.464,20,\n\n" + kGood +
                           "9,Own-250,250,0.97,1.0,12.7,25.4,17.8,0,15.8,2.464,20,\n");
    ASSERT_EQ(c.errors.size(), 4u);
    const std::pair<int, int> at[] = {{2, 3}, {2, 4}, {5, 2}, {5, 9}}; // the blank line 3 counts
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(std::make_pair(c.errors[i].line, c.errors[i].column), at[i]) << c.errors[i].what;
}

TEST(UserCatalogue, TheListOfFaultsStopsAtItsBoundWhateverALineBrings)
{
    // Each row: area, void fraction, Cf, h, 2B, S, angle, dh, Cf1 and F out of range.
    std::string text = kHead;
    for (int i = 0; i < 30; ++i)
        text += std::to_string(i) + ",P" + std::to_string(i) + ",0,0,0,0,0,0,0,0,0,0,\n";
    const UserCatalogue c = ParseUserCatalogue(text);
    EXPECT_EQ(c.errors.size(), kMaxUserCatalogueErrors);
    EXPECT_TRUE(c.rows.empty());
}

TEST(UserCatalogue, WrittenRowsReadBackAndJoinAfterTheBuiltInOnes)
{
    std::vector<CatalogueRow> rows = {{"", "Own, \"quoted\"", "250", "0.97", "1.0", "12.7", "25.4", "17.8",
                                       "45", "15.8", "2.464", "*-", "a, b"},
                                      {"", "Gauze 500", "500", "0.95", "0.71", "6.3", "10.2", "8.03", "45",
                                       "7.7", "2.464", "34.14*sheet", ""}};
    const UserCatalogue back = ParseUserCatalogue("\xEF\xBB\xBF" + UserCatalogueText(rows));
    ASSERT_TRUE(back.errors.empty()) << UserCatalogueErrorsText(back.errors, "t");
    EXPECT_EQ(back.rows, rows);
    CatalogueRow line;
    ASSERT_TRUE(UserPackingFromLine(UserPackingLine(rows[0]), line));
    EXPECT_EQ(line, rows[0]);

    SetUserPackings(rows);
    ASSERT_EQ(PackingCatalogue().size(), 29u);
    EXPECT_FALSE(IsUserPacking(26));
    EXPECT_TRUE(IsUserPacking(27));
    EXPECT_FALSE(IsUserPacking(29));
    EXPECT_EQ(PackingCatalogue()[28][ColNumber], "29");
    SetUserPackings({});
    EXPECT_EQ(PackingCatalogue().size(), kBuiltInPackings);
}

TEST(UserCatalogue, ARowWithABuiltInRowsNumbersLooksUpAsThatRow)
{
    for (const std::size_t builtIn : {8u, 10u, 23u}) { // a note after F, a plain row, F "*-"
        CatalogueRow row = PackingCatalogue()[builtIn];
        row[ColType] = "Copy of " + row[ColType];
        ASSERT_TRUE(CheckUserPacking(row, {}).empty());
        SetUserPackings({row});
        for (const int column : {ColCf, ColCf1, ColF}) {
            const std::string want = LookUpPacking(PackingCatalogue()[builtIn][ColType], column);
            const PackingParams a = CurrentPacking;
            EXPECT_EQ(LookUpPacking(row[ColType], column), want);
            const PackingParams b = CurrentPacking;
            EXPECT_EQ(std::tie(a.a, a.eps, a.h, a.B2, a.S, a.theta, a.dh),
                      std::tie(b.a, b.eps, b.h, b.B2, b.S, b.theta, b.dh));
        }
    }
    SetUserPackings({});
}
