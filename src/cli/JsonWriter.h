#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace uvlamp::cli {

// A small writer of indented JSON. Keys and values are added in order; commas and indentation
// follow from the nesting. Numbers that are not finite are written as null.
class TJsonWriter {
  public:
    TJsonWriter& BeginObject();
    TJsonWriter& EndObject();
    TJsonWriter& BeginArray();
    TJsonWriter& EndArray();
    // The key of the next value inside an object.
    TJsonWriter& Key(std::string_view key);
    TJsonWriter& String(std::string_view value);
    TJsonWriter& Number(double value);
    TJsonWriter& Integer(long long value);
    TJsonWriter& Bool(bool value);

    const std::string& Text() const { return text_; }

  private:
    void BeforeValue();
    void Open(char bracket);
    void Close(char bracket);

    std::string text_;
    // Per open bracket: whether it holds a value yet.
    std::vector<bool> hasValue_;
    bool afterKey_ = false;
};

// The JSON string literal of a text (quotes included); bytes that are not valid UTF-8 are written
// as U+FFFD, so the output always parses.
std::string JsonQuote(std::string_view text);

}  // namespace uvlamp::cli
