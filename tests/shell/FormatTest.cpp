#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "shell/Format.h"

namespace uvlamp {
namespace {

TEST(SprintfTest, FormatsLikePrintf) {
    EXPECT_EQ(Sprintf("%7.0f %9.3f", 2900.0, 1.23456), "   2900     1.235");
    EXPECT_EQ(Sprintf("%s-%03d", "ab", 7), "ab-007");
    EXPECT_EQ(Sprintf("%s", ""), "");
}

TEST(SprintfTest, ProducesTextOfAnyLength) {
    const std::string word(5000, 'x');
    const std::string out = Sprintf("<%s|%d>", word.c_str(), 42);
    EXPECT_EQ(out, "<" + word + "|42>");
}

struct TFloatCase {
    const char* Pattern;
    double Value;
    const char* Expected;
};

TEST(FormatFloatTest, DigitPatterns) {
    const TFloatCase cases[] = {
        {"##0.0", -50, "-50.0"},
        {"##0.0", 0, "0.0"},
        {"##0.0", 12.34, "12.3"},
        {"###0", 3249.6, "3250"},
        {"###0", 0, "0"},
        {"#0.000", 0.5, "0.500"},
        {"000", 5, "005"},
        {"000", 1234, "1234"},  // digits beyond the placeholders are kept
        {"##", 123, "123"},
        {"#", 7, "7"},
        {"0", 1e20, "100000000000000000000"},
        // Rounding to the pattern is half away from zero, not to even.
        {"###0", 2.5, "3"},
        {"###0", 3249.5, "3250"},
        {"###0", -3249.5, "-3250"},
        {"#0.000", 0.0005, "0.001"},
        {"#0.000", 0.00049, "0.000"},
        {"###0", 999.5, "1000"},
        // Rounded on 15 significant digits: the binary values lie just below the half.
        {"#0.00", 2.675, "2.68"},
        {"0.00", 1.005, "1.01"},
        // Whatever rounds to zero carries no minus sign.
        {"##0.0", -0.04, "0.0"},
        {"###0", -0.4, "0"},
        // Without a "0" placeholder zero shows nothing.
        {"#", 0, ""},
        {"##", 0, ""},
        {"###", 0.4, ""},
        {"##", -0.2, ""},
        // Optional decimals are dropped from the end, and the point with the last of them.
        {"0.##", 1.5, "1.5"},
        {"0.##", 1, "1"},
        {"0.#0", 1, "1.00"},
        {"#.##", 0.5, ".5"},
        // Thousands separators.
        {"#,##0.000", 1234.5, "1,234.500"},
        {"#,##0", 1234567.8, "1,234,568"},
        {"#,##0", 999.6, "1,000"},
        {"#,##0", 999, "999"},
        {"#,##0", -1234, "-1,234"},
        {"#,##0.0", 0.25, "0.3"},
        // Text around the placeholders is copied.
        {"0.0 nm", 2.25, "2.3 nm"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatFloat(c.Pattern, c.Value), c.Expected)
            << "pattern \"" << c.Pattern << "\" value " << c.Value;
    }
}

TEST(FormatFloatTest, NonFiniteValues) {
    EXPECT_EQ(FormatFloat("##0.0", std::numeric_limits<double>::quiet_NaN()), "NAN");
    EXPECT_EQ(FormatFloat("##0.0", std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(FormatFloat("##0.0", -std::numeric_limits<double>::infinity()), "-INF");
}

TEST(ParseDecimalIntTest, AcceptsSignedWholeNumbers) {
    const struct {
        const char* Text;
        int Expected;
    } cases[] = {
        {"30", 30},
        {"-12", -12},
        {"+7", 7},
        {"0", 0},
        {"-0", 0},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<int>::min()},
    };
    for (const auto& c : cases) {
        const auto v = ParseDecimalInt(c.Text);
        ASSERT_TRUE(v.has_value()) << c.Text;
        EXPECT_EQ(*v, c.Expected) << c.Text;
    }
}

TEST(ParseDecimalIntTest, RejectsEverythingElse) {
    const char* const cases[] = {
        "",    "-",   "+",   " 1",  "1 ",  "1.0",        "1.",          "0x10",
        "1e3", "+-1", "--1", "12a", "\t5", "2147483648", "-2147483649", "99999999999999999999",
    };
    for (const char* text : cases) {
        EXPECT_FALSE(ParseDecimalInt(text).has_value()) << '"' << text << '"';
    }
}

TEST(ParseDecimalFloatTest, ReadsWhatAnOperatorTypesAndNothingElse) {
    const struct {
        const char* Text;
        double Expected;
    } good[] = {
        {"2865", 2865},      {" 3250.5\t", 3250.5}, {"2865\r\n", 2865}, {"-3", -3},
        {"+7", 7},           {".5", 0.5},           {"5.", 5},          {"1e3", 1000},
        {"-1.5E-2", -0.015},
    };
    for (const auto& c : good) {
        const auto v = ParseDecimalFloat(c.Text);
        ASSERT_TRUE(v.has_value()) << c.Text;
        EXPECT_EQ(*v, c.Expected) << c.Text;
    }
    for (const char* text : {"", " ", "-", "+", "abc", "12a", "1,5", "1 2", "inf", "-nan", "0x10",
                             "1e999", "+-1", "e5"}) {
        EXPECT_FALSE(ParseDecimalFloat(text).has_value()) << '"' << text << '"';
    }
}

TEST(ReadableTextTest, ShowsControlCharactersAndCutsLongTextsBetweenCharacters) {
    struct TCase {
        std::string Text;
        std::size_t Max;
        std::string Expected;
    };
    const TCase cases[] = {
        {"L1033", 64, "L1033"},
        {"a\tb\nc\x1b[31m\x7f", 64, "a?b?c?[31m?"},
        {std::string("x\0y", 3), 64, "x?y"},
        {"abcdef", 4, "abcd..."},
        {"abcd", 4, "abcd"},
        // "\xc3\xa9" is one character: a cut after its first byte moves before it.
        {"ab\xc3\xa9", 3, "ab..."},
        {"ab\xc3\xa9z", 4, "ab\xc3\xa9..."},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(ReadableText(c.Text, c.Max), c.Expected) << c.Text;
    }
}

}  // namespace
}  // namespace uvlamp
