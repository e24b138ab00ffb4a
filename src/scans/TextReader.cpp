#include "scans/TextReader.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace uvlamp {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

void TTextReader::SkipSpace() {
    while (pos_ < text_.size() && IsSpace(text_[pos_])) {
        ++pos_;
    }
}

bool TTextReader::ReadInt(int& value) {
    SkipSpace();
    std::size_t p = pos_;
    bool negative = false;
    if (p < text_.size() && (text_[p] == '+' || text_[p] == '-')) {
        negative = text_[p] == '-';
        ++p;
    }
    if (p >= text_.size() || !IsDigit(text_[p])) {
        return false;
    }
    long long v = 0;
    bool overflow = false;
    while (p < text_.size() && IsDigit(text_[p])) {
        if (!overflow) {
            v = v * 10 + (text_[p] - '0');
            overflow = v > static_cast<long long>(std::numeric_limits<int>::max()) + 1;
        }
        ++p;
    }
    pos_ = p;
    if (negative) {
        v = -v;
    }
    if (overflow || v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min()) {
        return false;
    }
    value = static_cast<int>(v);
    return true;
}

bool TTextReader::ReadDouble(double& value) {
    SkipSpace();
    const std::size_t start = pos_;
    std::size_t p = start;
    bool negative = false;
    if (p < text_.size() && (text_[p] == '+' || text_[p] == '-')) {
        negative = text_[p] == '-';
        ++p;
    }
    // While scanning, gather the digits as an integer mantissa and a power of ten: most numbers of
    // a scan file ("2900", "123456", "2.9e-08") are then converted exactly without a full parse.
    // Numbers of more than 19 significant digits are left to the full parse.
    std::uint64_t mantissa = 0;
    int significant = 0;  // digits in the mantissa, leading zeros not counted
    bool tooLong = false;
    int exponent = 0;
    std::size_t mantissaDigits = 0;
    const auto digit = [&](char c) {
        if (significant == 19) {
            tooLong = true;
            return;
        }
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
        significant += mantissa != 0 ? 1 : 0;
    };
    while (p < text_.size() && IsDigit(text_[p])) {
        digit(text_[p]);
        ++p;
        ++mantissaDigits;
    }
    if (p < text_.size() && text_[p] == '.') {
        std::size_t q = p + 1;
        int fractionDigits = 0;
        while (q < text_.size() && IsDigit(text_[q])) {
            digit(text_[q]);
            ++fractionDigits;
            ++q;
            ++mantissaDigits;
        }
        if (mantissaDigits > 0) {
            p = q;
            exponent -= fractionDigits;
        }
    }
    if (mantissaDigits == 0) {
        return false;
    }
    if (p < text_.size() && (text_[p] == 'e' || text_[p] == 'E')) {
        std::size_t q = p + 1;
        bool negativeExponent = false;
        if (q < text_.size() && (text_[q] == '+' || text_[q] == '-')) {
            negativeExponent = text_[q] == '-';
            ++q;
        }
        if (q < text_.size() && IsDigit(text_[q])) {
            int e = 0;
            while (q < text_.size() && IsDigit(text_[q])) {
                if (e < 100000) {
                    e = e * 10 + (text_[q] - '0');
                }
                ++q;
            }
            exponent += negativeExponent ? -e : e;
            p = q;
        }
    }
    pos_ = p;

    // An integer below 2^53 and a power of ten up to 10^22 are both exact doubles, so one
    // multiplication or division gives the correctly rounded value, as a full parse would.
    constexpr std::uint64_t kExactLimit = std::uint64_t{1} << 53;
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (!tooLong && mantissa <= kExactLimit && exponent >= -22 && exponent <= 22) {
        double v = static_cast<double>(mantissa);
        v = exponent >= 0 ? v * kPowers[exponent] : v / kPowers[-exponent];
        value = negative ? -v : v;
        return true;
    }

    const char* first = text_.data() + start;
    const char* last = text_.data() + p;
    if (*first == '+') {
        ++first;  // from_chars takes no plus sign
    }
    double v = 0;
    const auto result = std::from_chars(first, last, v, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != last) {
        return false;
    }
    value = v;
    return true;
}

bool TTextReader::ReadWord(std::string& word) {
    return ReadWord(word, std::string::npos);
}

bool TTextReader::ReadWord(std::string& word, std::size_t maxWidth) {
    SkipSpace();
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !IsSpace(text_[pos_]) && pos_ - start < maxWidth) {
        ++pos_;
    }
    if (pos_ == start) {
        return false;
    }
    word.assign(text_.substr(start, pos_ - start));
    return true;
}

bool TTextReader::MatchLiteral(std::string_view literal) {
    for (char c : literal) {
        if (IsSpace(c)) {
            SkipSpace();
            continue;
        }
        if (pos_ >= text_.size() || text_[pos_] != c) {
            return false;
        }
        ++pos_;
    }
    return true;
}

std::string TTextReader::ReadTextLine() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != '\r' && text_[pos_] != '\n') {
        ++pos_;
    }
    std::string line(text_.substr(start, pos_ - start));
    if (pos_ < text_.size()) {
        const char end = text_[pos_++];
        if (end == '\r' && pos_ < text_.size() && text_[pos_] == '\n') {
            ++pos_;
        }
    }
    return line;
}

}  // namespace uvlamp
