#include "shell/DayCount.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "shell/Errors.h"
#include "shell/Format.h"

namespace uvlamp {

namespace {

using namespace std::chrono;

constexpr sys_days kDayZero = sys_days{year{1899} / December / 30};
constexpr long long kMsPerDay = 86400000LL;

// Day counts of 1 January of the year 1 and of 31 December 9999.
constexpr double kFirstDay = -693593.0;
constexpr double kLastDay = 2958465.0;

const char* const kMonthNames[12] = {"January",   "February", "March",    "April",
                                     "May",       "June",     "July",     "August",
                                     "September", "October",  "November", "December"};

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A field of one or two digits at the start of `text`, its value in [0, maxValue].
std::optional<int> TimeField(std::string_view text, int maxValue) {
    if (text.empty() || text.size() > 2) {
        return std::nullopt;
    }
    int v = 0;
    for (char c : text) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
        v = v * 10 + (c - '0');
    }
    if (v > maxValue) {
        return std::nullopt;
    }
    return v;
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) {
        return false;
    }
    const year_month_day ymd{std::chrono::year{year},
                             std::chrono::month{static_cast<unsigned>(month)},
                             std::chrono::day{static_cast<unsigned>(day)}};
    return ymd.ok();
}

double EncodeDate(int year, int month, int day) {
    if (!IsValidDate(year, month, day)) {
        throw TConversionError(Sprintf("%02d.%02d.%04d is not a valid date", day, month, year));
    }
    const sys_days date{std::chrono::year{year} / static_cast<unsigned>(month) /
                        static_cast<unsigned>(day)};
    return static_cast<double>((date - kDayZero).count());
}

TDateTimeParts DecodeDateTime(double dayCount) {
    if (!std::isfinite(dayCount) || dayCount <= kFirstDay - 1.0 || dayCount >= kLastDay + 1.0) {
        throw TConversionError(Sprintf("%.15g is not a valid day count", dayCount));
    }
    const double whole = std::trunc(dayCount);
    long long dayNumber = static_cast<long long>(whole);
    long long ms = std::llround(std::fabs(dayCount - whole) * static_cast<double>(kMsPerDay));
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        ++dayNumber;
    }
    if (static_cast<double>(dayNumber) > kLastDay) {
        throw TConversionError(Sprintf("%.15g is not a valid day count", dayCount));
    }

    const year_month_day ymd{kDayZero + days{dayNumber}};
    TDateTimeParts parts;
    parts.Year = static_cast<int>(ymd.year());
    parts.Month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    parts.Day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    parts.Hour = static_cast<int>(ms / 3600000);
    parts.Minute = static_cast<int>(ms / 60000 % 60);
    parts.Second = static_cast<int>(ms / 1000 % 60);
    parts.Millisecond = static_cast<int>(ms % 1000);
    return parts;
}

std::string FormatDateTime(std::string_view pattern, double dayCount) {
    const TDateTimeParts t = DecodeDateTime(dayCount);
    std::string out;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = Lower(pattern[i]);
        std::size_t run = 1;
        while (i + run < pattern.size() && Lower(pattern[i + run]) == c) {
            ++run;
        }
        // Two-digit fields take the zero-padded form for any run longer than one letter.
        const auto field = [&](int value) { out += Sprintf(run == 1 ? "%d" : "%02d", value); };
        switch (c) {
            case 'y':
                out += run <= 2 ? Sprintf("%02d", t.Year % 100) : Sprintf("%04d", t.Year);
                break;
            case 'm':
                if (run >= 4) {
                    out += kMonthNames[t.Month - 1];
                } else if (run == 3) {
                    out += std::string(kMonthNames[t.Month - 1], 3);
                } else {
                    field(t.Month);
                }
                break;
            case 'd':
                field(t.Day);
                break;
            case 'h':
                field(t.Hour);
                break;
            case 'n':
                field(t.Minute);
                break;
            case 's':
                field(t.Second);
                break;
            default:
                out.append(pattern.substr(i, run));
                break;
        }
        i += run;
    }
    return out;
}

std::optional<double> ParseTimeOfDay(std::string_view word) {
    std::string_view fields[3];
    std::size_t count = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t colon = word.find(':', start);
        if (count == 3) {
            return std::nullopt;
        }
        fields[count++] = word.substr(
            start, colon == std::string_view::npos ? word.size() - start : colon - start);
        if (colon == std::string_view::npos) {
            break;
        }
        start = colon + 1;
    }
    if (count < 2) {
        return std::nullopt;
    }
    const auto h = TimeField(fields[0], 23);
    const auto m = TimeField(fields[1], 59);
    const auto s = count == 3 ? TimeField(fields[2], 59) : std::optional<int>(0);
    if (!h || !m || !s) {
        return std::nullopt;
    }
    return (*h * 3600 + *m * 60 + *s) / 86400.0;
}

double NowDayCount() {
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    long long ms = duration_cast<milliseconds>(now - system_clock::from_time_t(t)).count();
    if (ms < 0 || ms > 999) {
        ms = 0;  // to_time_t may round rather than truncate
    }
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    const int second = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second stays in its minute
    const double msOfDay =
        static_cast<double>((local.tm_hour * 3600LL + local.tm_min * 60LL + second) * 1000LL + ms);
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           msOfDay / static_cast<double>(kMsPerDay);
}

}  // namespace uvlamp
