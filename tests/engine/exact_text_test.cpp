// Texts read from files: UTF-8 told apart from every other byte sequence,
// and the shortest text of any double read back to that very double.
#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <random>

#include "NumberText.h"
#include "TextToFloat.h"
#include "Utf8Text.h"

TEST(Utf8Text, FindsTheFirstByteThatStartsNoCharacterAndReplacesIt)
{
    const struct {
        std::string text;
        std::optional<std::size_t> bad;
    } table[] = {
        {"", {}},
        {"\xC3\xA9\xE5\xA1\x94\xF0\x9F\x98\x80\xEF\xBF\xBD", {}},
        {"\xF4\x8F\xBF\xBF", {}},
        {"normal\xFF", 6},
        {"ab\xC0\x80", 2} /* overlong */,
        {"\xE0\x80\xAF", 0} /* overlong */,
        {"\xED\xA0\x80", 0} /* surrogate */,
        {"\xF4\x90\x80\x80", 0} /* beyond U+10FFFF */,
        {"x\xE5\xA1", 1} /* cut short */,
        {"\xE5\xA1x", 0},
        {"\x80", 0},
    };
    for (const auto& row : table) {
        EXPECT_EQ(FirstInvalidUtf8(row.text), row.bad) << row.text;
        const std::string fixed = ValidUtf8(row.text);
        EXPECT_EQ(fixed, row.bad ? row.text.substr(0, *row.bad) + "\xEF\xBF\xBD" + fixed.substr(*row.bad + 3)
                                 : row.text);
        EXPECT_FALSE(FirstInvalidUtf8(fixed));
    }
}

TEST(ExactNumbers, ShortestTextOfRandomDoublesReadsBackToTheSameDouble)
{
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 200000; ++i) {
        // Any bit pattern (every exponent, subnormals), and process-data magnitudes.
        double d = std::ldexp(1.0 + (random() % 1000000007) / 1e9, static_cast<int>(random() % 80) - 40);
        const std::uint64_t bits = random();
        if (i % 2) std::memcpy(&d, &bits, sizeof d);
        if (!std::isfinite(d)) continue;
        char buf[64];
        const std::string text(buf, std::to_chars(buf, buf + sizeof buf, d).ptr);
        double back = 0;
        ASSERT_TRUE(ParseNumber(text, back)) << text;
        ASSERT_TRUE(back == d && std::signbit(back) == std::signbit(d)) << text;
        ASSERT_EQ(TextToFloat(text), d) << text;
    }
}
