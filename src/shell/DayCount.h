#pragma once

#include <optional>
#include <string>
#include <string_view>

// Dates are day counts: days since 30 December 1899 as a double, the fraction being the time of
// day (1 January 1900 is 2.0). These helpers convert between day counts, calendar dates and texts.
namespace uvlamp {

struct TDateTimeParts {
    int Year = 1899;
    int Month = 12;
    int Day = 30;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
};

// True for a real calendar date of the years 1 to 9999.
bool IsValidDate(int year, int month, int day);

// The day count of midnight of a calendar date. Throws TConversionError for a date that does not
// exist (month 13, 30 February, year 0).
double EncodeDate(int year, int month, int day);

// The calendar date and the time of day of a day count. The time of day is rounded to the
// nearest millisecond first (23:59:59.9996 becomes midnight of the next day). For negative day
// counts the date is the truncated day count and the time its absolute fraction. Throws
// TConversionError for a day count that is not finite or lies outside the years 1 to 9999.
TDateTimeParts DecodeDateTime(double dayCount);

// Formats a day count with a date pattern: "yyyy" and "yy" the year (yy always two digits),
// "mmmm" and "mmm" the English month name in full or abbreviated, "mm" and "m" the month number,
// "dd" and "d" the day, "hh" and "h" the hour of the 24-hour clock, "nn" and "n" the minutes,
// "ss" and "s" the seconds; any other character is copied. Letters are matched case-insensitively;
// a single "y" counts as "yy", and a run of one letter longer than these tokens as the longest.
// The time is shown to the second after the rounding of DecodeDateTime, which also decides what
// is thrown.
// Used with "mmm dd, yyyy", "hh:nn", "mmmm d, yyyy hh:nn:ss" and "yy".
std::string FormatDateTime(std::string_view pattern, double dayCount);

// A time of day written "h:m" or "h:m:s" (one or two digits each, hours 0 to 23, minutes and
// seconds 0 to 59) as a fraction of a day; empty for any other word.
std::optional<double> ParseTimeOfDay(std::string_view word);

// The current local date and time as a day count.
double NowDayCount();

}  // namespace uvlamp
