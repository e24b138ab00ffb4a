#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace uvlamp {

// White space as the C library's formatted input knows it: blank, tab, line feed, vertical tab,
// form feed, carriage return.
inline bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads the fields of a scan file held in memory, with the rules of the C library's formatted
// input: numbers and words are separated by any white space, line breaks carry no meaning, a
// conversion that fails leaves the position where the bad character stands, and literal key
// words are matched character by character. Line-oriented reading (ReadTextLine) accepts LF,
// CR LF and CR line ends. Nothing here allocates more than the text it returns.
class TTextReader {
  public:
    explicit TTextReader(std::string_view text) : text_(text) {}
    explicit TTextReader(const char* text) : text_(text) {}
    // The reader keeps a view of the text: it must outlive the reader.
    explicit TTextReader(std::string&&) = delete;

    // True when every character has been consumed.
    bool AtEnd() const { return pos_ >= text_.size(); }
    std::size_t Position() const { return pos_; }

    void SkipSpace();

    // Like "%d": skips white space, then an optional sign and decimal digits. False, with only
    // the white space consumed, when no digit follows; false with the digits consumed when the
    // number does not fit an int.
    bool ReadInt(int& value);
    // Like "%lf": skips white space, then a decimal number with optional sign, fraction and
    // exponent. Infinities, NaNs and hexadecimal numbers are not numbers here. False, with only
    // the white space consumed, when no number follows; false with the number consumed when it is
    // out of the range of a double.
    bool ReadDouble(double& value);
    // Like "%s": skips white space and reads the non-blank characters that follow; with a
    // maximum width, at most that many. False at the end of the text.
    bool ReadWord(std::string& word);
    bool ReadWord(std::string& word, std::size_t maxWidth);
    // Like the literal characters of a scanf format: a blank in the literal matches any amount of
    // white space (also none); every other character must match exactly and is consumed. Stops at
    // the first character that does not match, leaving it unread, and returns false.
    bool MatchLiteral(std::string_view literal);

    // The characters up to the end of the current line, without the line end, which is consumed
    // (CR, LF or CR LF). At the end of the text, the remaining characters.
    std::string ReadTextLine();

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace uvlamp
