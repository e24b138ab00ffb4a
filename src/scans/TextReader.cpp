#include "scans/TextReader.h"

#include <charconv>
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
    if (p < text_.size() && (text_[p] == '+' || text_[p] == '-')) {
        ++p;
    }
    std::size_t mantissaDigits = 0;
    while (p < text_.size() && IsDigit(text_[p])) {
        ++p;
        ++mantissaDigits;
    }
    if (p < text_.size() && text_[p] == '.') {
        std::size_t q = p + 1;
        while (q < text_.size() && IsDigit(text_[q])) {
            ++q;
            ++mantissaDigits;
        }
        if (mantissaDigits > 0) {
            p = q;
        }
    }
    if (mantissaDigits == 0) {
        return false;
    }
    if (p < text_.size() && (text_[p] == 'e' || text_[p] == 'E')) {
        std::size_t q = p + 1;
        if (q < text_.size() && (text_[q] == '+' || text_[q] == '-')) {
            ++q;
        }
        if (q < text_.size() && IsDigit(text_[q])) {
            while (q < text_.size() && IsDigit(text_[q])) {
                ++q;
            }
            p = q;
        }
    }
    pos_ = p;
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
