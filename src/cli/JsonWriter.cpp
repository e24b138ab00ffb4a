#include "cli/JsonWriter.h"

#include <cmath>

#include "shell/Format.h"

namespace uvlamp::cli {

namespace {

// The length of the valid UTF-8 sequence at the start of s, or 0.
std::size_t Utf8Length(std::string_view s) {
    const auto b0 = static_cast<unsigned char>(s[0]);
    std::size_t n = 0;
    unsigned min = 0;
    if (b0 < 0x80) {
        return 1;
    }
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        n = 2;
        min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        n = 3;
        min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        n = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (s.size() < n) {
        return 0;
    }
    unsigned code = b0 & (0xFFu >> (n + 1));
    for (std::size_t i = 1; i < n; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (b & 0x3Fu);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return 0;
    }
    return n;
}

}  // namespace

std::string JsonQuote(std::string_view text) {
    std::string out = "\"";
    while (!text.empty()) {
        const char c = text[0];
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (u < 0x20 || u == 0x7F) {
            out += Sprintf("\\u%04x", u);
        } else {
            const std::size_t n = Utf8Length(text);
            if (n == 0) {
                out += "\\ufffd";
                text.remove_prefix(1);
                continue;
            }
            out.append(text.substr(0, n));
            text.remove_prefix(n);
            continue;
        }
        text.remove_prefix(1);
    }
    out += '"';
    return out;
}

void TJsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!hasValue_.empty()) {
        if (hasValue_.back()) {
            text_ += ',';
        }
        hasValue_.back() = true;
        text_ += '\n';
        text_.append(2 * hasValue_.size(), ' ');
    }
}

void TJsonWriter::Open(char bracket) {
    BeforeValue();
    text_ += bracket;
    hasValue_.push_back(false);
}

void TJsonWriter::Close(char bracket) {
    const bool had = hasValue_.back();
    hasValue_.pop_back();
    if (had) {
        text_ += '\n';
        text_.append(2 * hasValue_.size(), ' ');
    }
    text_ += bracket;
    if (hasValue_.empty()) {
        text_ += '\n';
    }
}

TJsonWriter& TJsonWriter::BeginObject() {
    Open('{');
    return *this;
}

TJsonWriter& TJsonWriter::EndObject() {
    Close('}');
    return *this;
}

TJsonWriter& TJsonWriter::BeginArray() {
    Open('[');
    return *this;
}

TJsonWriter& TJsonWriter::EndArray() {
    Close(']');
    return *this;
}

TJsonWriter& TJsonWriter::Key(std::string_view key) {
    BeforeValue();
    text_ += JsonQuote(key);
    text_ += ": ";
    afterKey_ = true;
    return *this;
}

TJsonWriter& TJsonWriter::String(std::string_view value) {
    BeforeValue();
    text_ += JsonQuote(value);
    return *this;
}

TJsonWriter& TJsonWriter::Number(double value) {
    BeforeValue();
    text_ += std::isfinite(value) ? Sprintf("%.10g", value) : std::string("null");
    return *this;
}

TJsonWriter& TJsonWriter::Integer(long long value) {
    BeforeValue();
    text_ += std::to_string(value);
    return *this;
}

TJsonWriter& TJsonWriter::Bool(bool value) {
    BeforeValue();
    text_ += value ? "true" : "false";
    return *this;
}

}  // namespace uvlamp::cli
