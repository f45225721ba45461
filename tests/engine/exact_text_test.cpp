// Texts read from files: UTF-8 is told apart from every other byte sequence,
// and the shortest text of any double reads back to that very double through
// every reader of numbers in files.
#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <random>

#include "CsvText.h"
#include "LoadCaseCsv.h"
#include "NumberText.h"
#include "TextToFloat.h"
#include "Utf8Text.h"

TEST(Utf8Text, FindsTheFirstByteThatStartsNoCharacter)
{
    const struct {
        std::string text;
        std::optional<std::size_t> bad;
    } table[] = {
        {"", std::nullopt},
        {"plain ASCII", std::nullopt},
        {"\xC3\xA9\xE5\xA1\x94\xF0\x9F\x98\x80\xEF\xBF\xBD", std::nullopt}, // é 塔 😀 U+FFFD
        {"\xF4\x8F\xBF\xBF", std::nullopt},                                 // U+10FFFF, the last
        {"normal\xFF", 6},
        {"ab\xC0\x80", 2},       // overlong NUL
        {"\xE0\x80\xAF", 0},     // overlong "/"
        {"\xED\xA0\x80", 0},     // a surrogate
        {"\xF4\x90\x80\x80", 0}, // beyond U+10FFFF
        {"x\xE5\xA1", 1},        // cut short at the end
        {"\xE5\xA1x", 0},        // cut short by an ASCII byte
        {"\x80", 0},             // a continuation byte alone
        {"\xF5\x80\x80\x80", 0},
    };
    for (const auto& row : table) {
        EXPECT_EQ(FirstInvalidUtf8(row.text), row.bad) << row.text;
        // Valid text stays as it is; each bad byte becomes one U+FFFD.
        const std::string fixed = ValidUtf8(row.text);
        EXPECT_FALSE(FirstInvalidUtf8(fixed)) << row.text;
        if (!row.bad) EXPECT_EQ(fixed, row.text);
        if (row.bad) EXPECT_EQ(fixed.substr(*row.bad, 3), "\xEF\xBF\xBD") << row.text;
    }
}

TEST(ExactNumbers, ShortestTextOfRandomDoublesReadsBackToTheSameDouble)
{
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> unit(0.5, 2.0);
    std::uniform_int_distribution<int> exponent(-30, 30);
    int checked = 0;
    for (int i = 0; i < 200000; ++i) {
        double d;
        if (i % 2) { // any bit pattern: every exponent, subnormals included
            const std::uint64_t bits = random();
            std::memcpy(&d, &bits, sizeof d);
            if (!std::isfinite(d)) continue;
        } else { // the magnitudes of process data
            d = unit(random) * std::pow(10.0, exponent(random));
        }
        char buf[64];
        const std::string text(buf, std::to_chars(buf, buf + sizeof buf, d).ptr);
        double back = 0;
        ASSERT_TRUE(ParseNumber(text, back)) << text;
        ASSERT_EQ(back, d) << text;
        ASSERT_EQ(std::signbit(back), std::signbit(d)) << text;
        ASSERT_EQ(TextToFloat(text), d) << text;
        ++checked;
    }
    EXPECT_GT(checked, 190000);
    // Seen read as a neighbour before (the case reader and velk-simdb).
    const std::vector<LoadCase> cases =
        ParseLoadCasesCsv("name,vapour_mass_flow,liquid_mass_flow\nA,28.00721298699799,1\n", "n.csv");
    EXPECT_EQ(*cases[0].values.V, 28.00721298699799);
    EXPECT_EQ(ExactNumber(*cases[0].values.V), "28.00721298699799");
}
