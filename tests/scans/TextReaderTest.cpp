#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "scans/TextReader.h"

namespace uvlamp {
namespace {

TEST(TextReader, ReadTextLineAcceptsEveryLineEnd) {
    for (const char* text : {"abc\ndef", "abc\r\ndef", "abc\rdef"}) {
        TTextReader f(text);
        EXPECT_EQ(f.ReadTextLine(), "abc") << text;
        EXPECT_EQ(f.ReadTextLine(), "def") << text;
        EXPECT_TRUE(f.AtEnd());
    }
}

TEST(TextReader, ReadTextLineKeepsEmptyLinesAndLongLines) {
    TTextReader f("a\n\nb\r\n\r\nc");
    EXPECT_EQ(f.ReadTextLine(), "a");
    EXPECT_EQ(f.ReadTextLine(), "");
    EXPECT_EQ(f.ReadTextLine(), "b");
    EXPECT_EQ(f.ReadTextLine(), "");
    EXPECT_EQ(f.ReadTextLine(), "c");

    const std::string longLine(5000, 'x');
    const std::string text = longLine + "\n";
    TTextReader g(text);
    EXPECT_EQ(g.ReadTextLine(), longLine);
}

TEST(TextReader, ReadDoubleTakesDecimalNumbersOnly) {
    struct Case {
        const char* text;
        bool ok;
        double value;
        std::size_t position;  // where reading stopped
    };
    for (const Case& c :
         {Case{" 2900 ", true, 2900, 5}, Case{"2.9e3", true, 2900, 5}, Case{"+5", true, 5, 2},
          Case{"-.5", true, -0.5, 3}, Case{"1.x", true, 1, 2}, Case{"7e", true, 7, 1},
          Case{"0x10", true, 0, 1}, Case{"inf", false, 0, 0}, Case{"nan", false, 0, 0},
          Case{"-", false, 0, 0}, Case{" .", false, 0, 1}, Case{"", false, 0, 0},
          Case{"1e999", false, 0, 5}}) {
        TTextReader f(c.text);
        double v = 0;
        EXPECT_EQ(f.ReadDouble(v), c.ok) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
        EXPECT_EQ(f.Position(), c.position) << c.text;
    }
}

TEST(TextReader, ReadDoubleGivesTheCorrectlyRoundedValueOfEveryForm) {
    // The reader converts short numbers itself; they must come out exactly as a full parse
    // gives them, last bit included.
    std::mt19937_64 random(12345);
    std::vector<std::string> tokens = {"0.1",
                                       "-0",
                                       "2900",
                                       "0.29",
                                       "123456789012345678",
                                       "9007199254740993",
                                       "1e22",
                                       "1e23",
                                       "4.9e-324",
                                       "1.7976931348623157e308",
                                       "0.000000000000000000001",
                                       "12345678901234567890123",
                                       "2.9e-08",
                                       ".5e+3"};
    for (int k = 0; k < 20000; ++k) {
        std::string t = (random() % 4 == 0) ? "-" : "";
        const int intDigits = static_cast<int>(random() % 12);
        for (int d = 0; d < intDigits; ++d) {
            t += static_cast<char>('0' + random() % 10);
        }
        if (random() % 2 == 0 || intDigits == 0) {
            t += '.';
            const int fracDigits = 1 + static_cast<int>(random() % 18);
            for (int d = 0; d < fracDigits; ++d) {
                t += static_cast<char>('0' + random() % 10);
            }
        }
        if (random() % 3 == 0) {
            t += "e" + std::to_string(static_cast<int>(random() % 60) - 30);
        }
        tokens.push_back(t);
    }
    for (const std::string& t : tokens) {
        TTextReader f(t);
        double v = 0;
        ASSERT_TRUE(f.ReadDouble(v)) << t;
        double expected = 0;
        std::from_chars(t.data() + (t[0] == '+' ? 1 : 0), t.data() + t.size(), expected);
        EXPECT_EQ(std::memcmp(&v, &expected, sizeof v), 0) << t << " read as " << v;
        EXPECT_TRUE(f.AtEnd()) << t;
    }
}

TEST(TextReader, ReadIntStopsAtTheFirstCharacterThatIsNotADigit) {
    TTextReader f("\r\n 12.5 -7 +3 99999999999 x");
    int v = 0;
    ASSERT_TRUE(f.ReadInt(v));
    EXPECT_EQ(v, 12);
    EXPECT_FALSE(f.ReadInt(v));  // ".5"
    double d = 0;
    ASSERT_TRUE(f.ReadDouble(d));
    ASSERT_TRUE(f.ReadInt(v));
    EXPECT_EQ(v, -7);
    ASSERT_TRUE(f.ReadInt(v));
    EXPECT_EQ(v, 3);
    EXPECT_FALSE(f.ReadInt(v));  // does not fit
    EXPECT_EQ(v, 3);
    EXPECT_FALSE(f.ReadInt(v));  // "x"
    std::string w;
    ASSERT_TRUE(f.ReadWord(w));
    EXPECT_EQ(w, "x");
    EXPECT_FALSE(f.ReadWord(w));
}

TEST(TextReader, ReadWordWithAWidthSplitsAField) {
    TTextReader f("12320 123 20");
    std::string day;
    std::string year;
    ASSERT_TRUE(f.ReadWord(day, 3) && f.ReadWord(year, 2));
    EXPECT_EQ(day + "/" + year, "123/20");
    ASSERT_TRUE(f.ReadWord(day, 3) && f.ReadWord(year, 2));
    EXPECT_EQ(day + "/" + year, "123/20");
}

TEST(TextReader, MatchLiteralConsumesTheMatchingPrefixOnly) {
    TTextReader f("\n  Integration  time is 0.5");
    EXPECT_TRUE(f.MatchLiteral(" Integration time is"));
    double v = 0;
    ASSERT_TRUE(f.ReadDouble(v));
    EXPECT_EQ(v, 0.5);

    TTextReader g("dx 5");
    EXPECT_FALSE(g.MatchLiteral(" dt"));
    EXPECT_EQ(g.Position(), 1u);  // the "d" matched and is gone; "x" waits
    TTextReader h("integration time is 1");
    EXPECT_FALSE(h.MatchLiteral(" Integration time is"));  // letter case counts
}

}  // namespace
}  // namespace uvlamp
