#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace uvlamp {

// printf into a std::string (the C formats of our files and lists: "%7.0f %9.3f" and so on).
std::string Sprintf(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Formats a number with a digit pattern such as "###0", "##0.0", "#0.000", "000", "##", "#" or
// "#,##0.000": "0" is a digit always shown (zero-padded), "#" a digit shown only when significant,
// "." the decimal point, "," anywhere before the point asks for thousands separators. Integer
// digits beyond the placeholders are always shown ("000" gives "1234" for 1234); the point is
// left out when no decimals remain; text before or after the placeholders is copied. The value
// is rounded half away from zero on its 15 significant decimal digits; a value that rounds to
// zero has no minus sign, and a pattern without any "0" shows nothing for zero.
std::string FormatFloat(std::string_view pattern, double value);

// An optionally signed whole decimal number ("-12", "+7", "30"), nothing else: no blanks, no
// decimal point, no hexadecimal. Empty when the text is not such a number or does not fit an int.
std::optional<int> ParseDecimalInt(std::string_view text);

// The text without the white space around it (blank, tab, line feed, vertical tab, form feed,
// carriage return, as the C library's formatted input knows it).
std::string_view TrimSpace(std::string_view text);

// A decimal number as an operator types it into an edit field: blanks around it, an optional sign,
// digits with an optional point and fraction, an optional exponent ("2865", " 2865.5", "-3",
// "1e3", ".5"). The point is always ".", whatever the locale. Empty for anything else, including
// infinities, NaNs, hexadecimal numbers and numbers out of the range of a double.
std::optional<double> ParseDecimalFloat(std::string_view text);

// A text from a file as it can be shown in a list, a message or a log line: control characters
// (which would break the line or show as nothing) become "?", and a text of more than maxLength
// bytes is cut there (not inside a UTF-8 character) and ends in "...".
std::string ReadableText(std::string_view text, std::size_t maxLength);

// Letter case of A to Z only: names in station files and settings are ASCII, and no locale may
// change what matches.
inline char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
bool EqualNoCase(std::string_view a, std::string_view b);

}  // namespace uvlamp
