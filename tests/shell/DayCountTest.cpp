#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>
#include <string>

#include "shell/DayCount.h"
#include "shell/Errors.h"

namespace uvlamp {
namespace {

double TimeOfDay(int h, int m, double s) {
    return (h * 3600 + m * 60 + s) / 86400.0;
}

TEST(DayCountTest, EncodeDateCountsFromTheDayZero) {
    const struct {
        int Y, M, D;
        double Expected;
    } cases[] = {
        {1899, 12, 30, 0},    {1900, 1, 1, 2},     {1900, 2, 28, 60},
        {1900, 3, 1, 61},  // 1900 is no leap year
        {2000, 2, 29, 36585}, {2020, 1, 1, 43831}, {2025, 12, 8, 45999},
        {1970, 1, 1, 25569},  {1, 1, 1, -693593},  {9999, 12, 31, 2958465},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeDate(c.Y, c.M, c.D), c.Expected) << c.Y << "-" << c.M << "-" << c.D;
    }
}

TEST(DayCountTest, InvalidDates) {
    const struct {
        int Y, M, D;
    } invalid[] = {
        {2021, 2, 30}, {1900, 2, 29}, {2100, 2, 29}, {2020, 13, 1}, {2020, 0, 1}, {2020, 4, 31},
        {2020, 1, 0},  {2020, 1, 32}, {0, 1, 1},     {10000, 1, 1}, {-5, 1, 1},
    };
    for (const auto& c : invalid) {
        EXPECT_FALSE(IsValidDate(c.Y, c.M, c.D)) << c.Y << "-" << c.M << "-" << c.D;
        EXPECT_THROW(EncodeDate(c.Y, c.M, c.D), TConversionError)
            << c.Y << "-" << c.M << "-" << c.D;
    }
    EXPECT_TRUE(IsValidDate(2000, 2, 29));
    EXPECT_TRUE(IsValidDate(2024, 2, 29));
    EXPECT_TRUE(IsValidDate(2021, 12, 31));

    try {
        EncodeDate(2021, 2, 30);
        FAIL() << "no exception";
    } catch (const TConversionError& e) {
        EXPECT_STREQ(e.what(), "30.02.2021 is not a valid date");
    }
}

TEST(DayCountTest, DecodeDateTimeRoundTripsOverTheWholeRange) {
    // A time of day with milliseconds on every 997th day from year 1 to year 9999.
    for (double day = -693593; day <= 2958465; day += 997) {
        const double ms = std::fabs(std::fmod(day * 7919.0, 86400000.0));
        const double count = day + (day < 0 ? -1 : 1) * ms / 86400000.0;
        const TDateTimeParts p = DecodeDateTime(count);
        ASSERT_EQ(EncodeDate(p.Year, p.Month, p.Day), day) << count;
        const double decodedMs =
            ((p.Hour * 60.0 + p.Minute) * 60.0 + p.Second) * 1000.0 + p.Millisecond;
        ASSERT_EQ(decodedMs, ms) << count;
    }
}

TEST(DayCountTest, DecodeDateTimeParts) {
    const TDateTimeParts p = DecodeDateTime(45999 + TimeOfDay(14, 3, 9.123));
    EXPECT_EQ(p.Year, 2025);
    EXPECT_EQ(p.Month, 12);
    EXPECT_EQ(p.Day, 8);
    EXPECT_EQ(p.Hour, 14);
    EXPECT_EQ(p.Minute, 3);
    EXPECT_EQ(p.Second, 9);
    EXPECT_EQ(p.Millisecond, 123);
}

TEST(DayCountTest, DecodeDateTimeRoundsToTheMillisecond) {
    // Just below the half millisecond stays in the day.
    TDateTimeParts p = DecodeDateTime(43831 + TimeOfDay(23, 59, 59.9994));
    EXPECT_EQ(p.Day, 1);
    EXPECT_EQ(p.Hour, 23);
    EXPECT_EQ(p.Second, 59);
    EXPECT_EQ(p.Millisecond, 999);

    // Rounding to 24:00 carries into the next day, across a year's end too.
    p = DecodeDateTime(43830 + TimeOfDay(23, 59, 59.9996));
    EXPECT_EQ(p.Year, 2020);
    EXPECT_EQ(p.Month, 1);
    EXPECT_EQ(p.Day, 1);
    EXPECT_EQ(p.Hour, 0);
    EXPECT_EQ(p.Minute, 0);
    EXPECT_EQ(p.Second, 0);
    EXPECT_EQ(p.Millisecond, 0);
}

TEST(DayCountTest, DecodeNegativeDayCounts) {
    // The date is the truncated count, the time its absolute fraction.
    TDateTimeParts p = DecodeDateTime(-1.75);
    EXPECT_EQ(p.Year, 1899);
    EXPECT_EQ(p.Month, 12);
    EXPECT_EQ(p.Day, 29);
    EXPECT_EQ(p.Hour, 18);

    p = DecodeDateTime(-0.25);
    EXPECT_EQ(p.Day, 30);
    EXPECT_EQ(p.Hour, 6);
}

TEST(DayCountTest, DecodeRejectsDayCountsWithoutADate) {
    const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity(), 2958466.0, -693594.0, 1e300};
    for (double d : bad) {
        EXPECT_THROW(DecodeDateTime(d), TConversionError) << d;
    }
    // The last millisecond of 9999 rounds past the end of the calendar.
    EXPECT_THROW(DecodeDateTime(2958465 + TimeOfDay(23, 59, 59.9999)), TConversionError);
}

TEST(DayCountTest, FormatDateTimePatterns) {
    const double banner = 45999 + TimeOfDay(14, 3, 9);
    const double early = EncodeDate(2005, 3, 4) + TimeOfDay(5, 6, 7);
    const struct {
        const char* Pattern;
        double Day;
        const char* Expected;
    } cases[] = {
        {"mmm dd, yyyy", banner, "Dec 08, 2025"},
        {"hh:nn", banner, "14:03"},
        {"hh:nn", 45999 + TimeOfDay(14, 5, 0), "14:05"},
        {"mmmm d, yyyy hh:nn:ss", banner, "December 8, 2025 14:03:09"},
        {"yy", early, "05"},
        {"y", early, "05"},
        {"yyyy", EncodeDate(999, 1, 1), "0999"},
        {"m/d/yy h:n:s", early, "3/4/05 5:6:7"},
        {"dd.mm.yyyy hh:nn:ss", early, "04.03.2005 05:06:07"},
        {"YYYY-MM-DD", early, "2005-03-04"},
        {"mmmm", early, "March"},
        // Seconds are shown after the millisecond rounding, which may carry into the next year.
        {"hh:nn:ss", 45999 + TimeOfDay(14, 3, 59.9996), "14:04:00"},
        {"mmmm d, yyyy hh:nn:ss", EncodeDate(2025, 12, 31) + TimeOfDay(23, 59, 59.9996),
         "January 1, 2026 00:00:00"},
        {"[hh:nn] ", banner, "[14:03] "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatDateTime(c.Pattern, c.Day), c.Expected) << c.Pattern;
    }
}

TEST(DayCountTest, FormatDateTimeMonthNames) {
    const char* const names[] = {"January",   "February", "March",    "April",
                                 "May",       "June",     "July",     "August",
                                 "September", "October",  "November", "December"};
    for (int m = 1; m <= 12; ++m) {
        const double day = EncodeDate(2023, m, 15);
        const std::string full = names[m - 1];
        EXPECT_EQ(FormatDateTime("mmmm", day), full);
        EXPECT_EQ(FormatDateTime("mmm", day), full.substr(0, 3));
    }
}

TEST(DayCountTest, ParseTimeOfDay) {
    const struct {
        const char* Word;
        double Expected;
    } accepted[] = {
        {"12:00", 0.5},
        {"12:00:00", 0.5},
        {"7:5:3", (7 * 3600 + 5 * 60 + 3) / 86400.0},
        {"07:05", (7 * 3600 + 5 * 60) / 86400.0},
        {"0:0", 0},
        {"23:59:59", 86399 / 86400.0},
    };
    for (const auto& c : accepted) {
        const auto v = ParseTimeOfDay(c.Word);
        ASSERT_TRUE(v.has_value()) << c.Word;
        EXPECT_EQ(*v, c.Expected) << c.Word;
    }

    const char* const rejected[] = {
        "24:00", "12:60", "12:00:60", "12",   "12:00:00:00", "",      "ab:cd", "12:00x",
        "12:",   ":30",   "123:00",   "1:2:", " 1:00",       "-1:00", "+1:00", "12::00",
    };
    for (const char* word : rejected) {
        EXPECT_FALSE(ParseTimeOfDay(word).has_value()) << '"' << word << '"';
    }
}

TEST(DayCountTest, NowIsTheLocalTime) {
    // The local time differs from UTC by at most 14 hours; the day count of the Unix epoch is
    // 25569.
    const double utc = 25569 + static_cast<double>(std::time(nullptr)) / 86400.0;
    const double now = NowDayCount();
    EXPECT_LT(std::fabs(now - utc), 15.0 / 24.0);
}

}  // namespace
}  // namespace uvlamp
