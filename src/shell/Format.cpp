#include "shell/Format.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace uvlamp {

std::string Sprintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    char small[256];
    const int needed = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::string out;
    if (needed < 0) {
        va_end(again);
        return out;
    }
    if (static_cast<std::size_t>(needed) < sizeof small) {
        out.assign(small, static_cast<std::size_t>(needed));
    } else {
        out.resize(static_cast<std::size_t>(needed));
        std::vsnprintf(out.data(), out.size() + 1, format, again);
    }
    va_end(again);
    return out;
}

namespace {

// What a digit pattern asks for.
struct TDigitPattern {
    std::string Prefix;  // literal text in front of the number
    std::string Suffix;  // literal text after it
    int MinIntegerDigits = 0;
    int MinDecimals = 0;
    int MaxDecimals = 0;
    bool Thousands = false;
};

bool IsPatternChar(char c) {
    return c == '0' || c == '#' || c == '.' || c == ',';
}

TDigitPattern ParsePattern(std::string_view pattern) {
    TDigitPattern p;
    std::size_t first = 0;
    while (first < pattern.size() && !IsPatternChar(pattern[first])) {
        ++first;
    }
    std::size_t last = pattern.size();
    while (last > first && !IsPatternChar(pattern[last - 1])) {
        --last;
    }
    p.Prefix = std::string(pattern.substr(0, first));
    p.Suffix = std::string(pattern.substr(last));

    // Integer placeholders are zero-padded from the first "0" on; fraction placeholders up to
    // the last "0". Anything else inside the number part is ignored.
    bool inFraction = false;
    int integerPlaces = 0;
    int firstZeroAt = -1;  // index among the integer placeholders
    for (std::size_t i = first; i < last; ++i) {
        const char c = pattern[i];
        if (c == '.') {
            inFraction = true;
        } else if (c == ',') {
            if (!inFraction) {
                p.Thousands = true;
            }
        } else if (c == '0' || c == '#') {
            if (inFraction) {
                ++p.MaxDecimals;
                if (c == '0') {
                    p.MinDecimals = p.MaxDecimals;
                }
            } else {
                if (c == '0' && firstZeroAt < 0) {
                    firstZeroAt = integerPlaces;
                }
                ++integerPlaces;
            }
        }
    }
    p.MinIntegerDigits = firstZeroAt < 0 ? 0 : integerPlaces - firstZeroAt;
    return p;
}

// The magnitude of a finite value rounded half away from zero to `decimals` places, working on
// its 15 significant decimal digits: digits without leading zeros (empty for zero) and the
// number of them that stand before the decimal point (may be zero or negative, or exceed the
// digit count, meaning zeros are implied).
struct TRoundedDigits {
    std::string Digits;
    int IntegerCount = 0;
};

TRoundedDigits RoundToDecimals(double magnitude, int decimals) {
    TRoundedDigits r;
    if (magnitude == 0.0) {
        return r;
    }
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", magnitude);  // "d.dddddddddddddde+XX"
    std::string digits;
    digits += buf[0];
    digits.append(buf + 2, 14);
    const int exponent = std::atoi(buf + 17);
    int integerCount = exponent + 1;

    const int keep = integerCount + decimals;
    if (keep < 0) {
        return r;
    }
    if (keep < static_cast<int>(digits.size())) {
        const bool up = digits[static_cast<std::size_t>(keep)] >= '5';
        digits.resize(static_cast<std::size_t>(keep));
        if (up) {
            int i = keep - 1;
            while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
                digits[static_cast<std::size_t>(i)] = '0';
                --i;
            }
            if (i >= 0) {
                ++digits[static_cast<std::size_t>(i)];
            } else {
                digits.insert(digits.begin(), '1');
                ++integerCount;
            }
        }
    }
    const std::size_t nonZero = digits.find_last_not_of('0');
    if (nonZero == std::string::npos) {
        return r;
    }
    digits.resize(nonZero + 1);
    r.Digits = digits;
    r.IntegerCount = integerCount;
    return r;
}

std::string WithThousands(const std::string& integerDigits) {
    std::string out;
    const std::size_t n = integerDigits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) {
            out += ',';
        }
        out += integerDigits[i];
    }
    return out;
}

}  // namespace

std::string FormatFloat(std::string_view pattern, double value) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : "INF";
    }
    const TDigitPattern p = ParsePattern(pattern);
    const TRoundedDigits r = RoundToDecimals(std::fabs(value), p.MaxDecimals);

    const int digitCount = static_cast<int>(r.Digits.size());
    std::string integerPart;
    std::string fraction;
    if (r.IntegerCount > 0) {
        integerPart =
            r.Digits.substr(0, static_cast<std::size_t>(std::min(r.IntegerCount, digitCount)));
        integerPart.append(static_cast<std::size_t>(std::max(0, r.IntegerCount - digitCount)), '0');
        if (r.IntegerCount < digitCount) {
            fraction = r.Digits.substr(static_cast<std::size_t>(r.IntegerCount));
        }
    } else if (!r.Digits.empty()) {
        fraction = std::string(static_cast<std::size_t>(-r.IntegerCount), '0') + r.Digits;
    }
    if (static_cast<int>(integerPart.size()) < p.MinIntegerDigits) {
        integerPart.insert(0, static_cast<std::size_t>(p.MinIntegerDigits) - integerPart.size(),
                           '0');
    }
    if (static_cast<int>(fraction.size()) < p.MinDecimals) {
        fraction.append(static_cast<std::size_t>(p.MinDecimals) - fraction.size(), '0');
    }

    std::string number = p.Thousands ? WithThousands(integerPart) : integerPart;
    if (!fraction.empty()) {
        number += '.';
        number += fraction;
    }
    const bool negative = value < 0 && !r.Digits.empty();
    return p.Prefix + (negative ? "-" : "") + number + p.Suffix;
}

std::optional<int> ParseDecimalInt(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    // Accumulate the magnitude; one more than INT_MAX is allowed for INT_MIN.
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view TrimSpace(std::string_view text) {
    const auto space = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    };
    while (!text.empty() && space(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && space(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<double> ParseDecimalFloat(std::string_view text) {
    text = TrimSpace(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);  // from_chars takes no plus sign
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    // Only digits may start the number (after a minus sign), so "inf" and "nan" are refused.
    const std::string_view digits = !text.empty() && text.front() == '-' ? text.substr(1) : text;
    if (digits.empty() ||
        !((digits.front() >= '0' && digits.front() <= '9') || digits.front() == '.')) {
        return std::nullopt;
    }
    double value = 0;
    const auto result =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string ReadableText(std::string_view text, std::size_t maxLength) {
    std::size_t length = text.size();
    const bool cut = length > maxLength;
    if (cut) {
        length = maxLength;
        // Not inside a character of several bytes: back to the start of the one cut.
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
            --length;
        }
    }
    std::string readable(text.substr(0, length));
    for (char& c : readable) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            c = '?';
        }
    }
    if (cut) {
        readable += "...";
    }
    return readable;
}

}  // namespace uvlamp
