#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace uvlamp {

// An INI file held in memory as its lines, so that writing a key changes only that key's line
// (or adds it to its section, or adds the section at the end) and leaves every other line,
// comment, key and section as it was. Section and key names match regardless of letter case.
class TIniFile {
  public:
    // Values longer than this are cut when read.
    static constexpr std::size_t kMaxValueLength = 2047;

    TIniFile() = default;
    // Parses a text with LF, CR LF or CR line ends.
    static TIniFile FromText(std::string_view text);
    // A settings file holds a few dozen lines; anything near this size is not one.
    static constexpr std::uintmax_t kMaxFileBytes = 1024 * 1024;
    // Reads a file; a missing file gives an empty INI file. Empty when the file exists but cannot
    // be read or is larger than kMaxFileBytes: such a file must not be replaced by what was
    // written into an empty one.
    static std::optional<TIniFile> Load(const std::filesystem::path& path);

    // The value of a key, without the blanks around it, cut to kMaxValueLength characters; empty
    // when the section or the key is missing.
    std::optional<std::string> ReadValue(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string& defaultValue) const;
    // A decimal integer, or hexadecimal with the prefix "$", "0x" or "0X"; a missing key or a value
    // that is not such an integer (or does not fit 32 bits) gives the default.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t defaultValue) const;
    // Read as an integer: any non-zero integer is true.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // A value is one line: it is stored up to its first line break.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    // Written as "1" or "0".
    void WriteBool(std::string_view section, std::string_view key, bool value);

    // The whole file as text, lines ended with "\n".
    std::string Text() const;
    // Writes the file in text mode (so with the platform's line ends) and flushes it. False when
    // the file cannot be written (also when it exists but is read-only); an existing file is then
    // left as it was, unless only an in-place rewrite was possible and that failed midway.
    bool Save(const std::filesystem::path& path) const;

  private:
    // The line of the first key of that name in a section of that name.
    std::optional<std::size_t> FindKey(std::string_view section, std::string_view key) const;

    std::vector<std::string> lines_;
    // Where each key of each section is first found: the settings read two thousand keys, and
    // searching every line for each would make reading a long file take quadratic time. Built
    // when first needed and dropped when a line is added.
    mutable std::unordered_map<std::string, std::size_t> index_;
    mutable bool indexed_ = false;
};

// An integer written as the settings file writes or accepts it: optional blanks, an optional
// sign, then decimal digits, or "$", "0x" or "0X" followed by hexadecimal digits. Empty otherwise
// or when it does not fit 32 bits.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

}  // namespace uvlamp
