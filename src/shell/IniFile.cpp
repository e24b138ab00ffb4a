#include "shell/IniFile.h"

#include <cstdio>

#include "shell/FileIo.h"
#include "shell/Format.h"

namespace uvlamp {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// What one line of the file is. A file saved by an editor may start with a UTF-8 byte order
// mark; it stays in the text but must not hide the first section header.
struct TLineInfo {
    enum class Kind { Other, Section, Key } What = Kind::Other;
    std::string_view Name;   // section or key name, trimmed
    std::string_view Value;  // key value, trimmed
};

TLineInfo Classify(std::string_view line, bool first) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (first && line.substr(0, kBom.size()) == kBom) {
        line.remove_prefix(kBom.size());
    }
    const std::string_view t = Trim(line);
    TLineInfo info;
    if (t.empty() || t.front() == ';' || t.front() == '#') {
        return info;
    }
    if (t.front() == '[') {
        const std::size_t close = t.find(']');
        if (close != std::string_view::npos) {
            info.What = TLineInfo::Kind::Section;
            info.Name = Trim(t.substr(1, close - 1));
        }
        return info;
    }
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) {
        return info;
    }
    const std::string_view key = Trim(t.substr(0, eq));
    if (key.empty()) {
        return info;
    }
    info.What = TLineInfo::Kind::Key;
    info.Name = key;
    info.Value = Trim(t.substr(eq + 1));
    return info;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char l = LowerAscii(c);
    if (l >= 'a' && l <= 'f') {
        return l - 'a' + 10;
    }
    return -1;
}

// A line break inside a value would split it into lines of its own and corrupt the file's
// structure; such a value is stored up to its first line break.
std::string_view OneLine(std::string_view value) {
    return value.substr(0, value.find_first_of("\r\n"));
}

// The index key of a key in a section: both in lower case, joined by a character neither holds.
std::string IndexKey(std::string_view section, std::string_view key) {
    std::string joined;
    joined.reserve(section.size() + key.size() + 1);
    for (const char c : section) {
        joined += LowerAscii(c);
    }
    joined += '\n';
    for (const char c : key) {
        joined += LowerAscii(c);
    }
    return joined;
}

}  // namespace

std::optional<std::int32_t> ParseIniInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        i += 1;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) {
        return std::nullopt;
    }
    // The magnitude may reach 2^31 only for a negative number.
    const std::int64_t limit = negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = HexDigit(text[i]);
        if (digit < 0 || digit >= base) {
            return std::nullopt;
        }
        magnitude = magnitude * base + digit;
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

TIniFile TIniFile::FromText(std::string_view text) {
    TIniFile ini;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            ini.lines_.emplace_back(text.substr(start));
            break;
        }
        ini.lines_.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') {
            ++start;
        }
    }
    return ini;
}

std::optional<TIniFile> TIniFile::Load(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, ec))) {
        return TIniFile{};
    }
    std::string buffer;
    std::string whyNot;
    const auto bytes = ReadFileBytes(path, buffer, kMaxFileBytes, "a settings file", whyNot);
    if (!bytes) {
        return std::nullopt;
    }
    return FromText(*bytes);
}

std::optional<std::size_t> TIniFile::FindKey(std::string_view section, std::string_view key) const {
    if (!indexed_) {
        // The first key of a name in any block of a section of that name; keys before the first
        // section header belong to none.
        index_.clear();
        std::optional<std::string_view> current;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            const TLineInfo info = Classify(lines_[i], i == 0);
            if (info.What == TLineInfo::Kind::Section) {
                current = info.Name;
            } else if (current && info.What == TLineInfo::Kind::Key) {
                index_.try_emplace(IndexKey(*current, info.Name), i);
            }
        }
        indexed_ = true;
    }
    const auto found = index_.find(IndexKey(section, key));
    if (found == index_.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::optional<std::string> TIniFile::ReadValue(std::string_view section,
                                               std::string_view key) const {
    const auto line = FindKey(section, key);
    if (!line) {
        return std::nullopt;
    }
    const std::string_view value = Classify(lines_[*line], *line == 0).Value;
    return std::string(value.substr(0, kMaxValueLength));
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 const std::string& defaultValue) const {
    return ReadValue(section, key).value_or(defaultValue);
}

std::int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key,
                                   std::int32_t defaultValue) const {
    const auto value = ReadValue(section, key);
    if (!value) {
        return defaultValue;
    }
    return ParseIniInteger(*value).value_or(defaultValue);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    value = OneLine(value);
    if (const auto line = FindKey(section, key)) {
        // Keep the key as the file spells it; only the value changes.
        const std::string name(Classify(lines_[*line], *line == 0).Name);
        lines_[*line] = name + "=" + std::string(value);
        return;
    }
    const std::string newLine = std::string(key) + "=" + std::string(value);
    // The key goes after the last key line of the section's first block, so that comments and
    // blank lines that close the section stay below it.
    std::optional<std::size_t> insertAfter;
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const TLineInfo info = Classify(lines_[i], i == 0);
        if (info.What == TLineInfo::Kind::Section) {
            if (insertAfter) {
                break;
            }
            inSection = EqualNoCase(info.Name, section);
            if (inSection) {
                insertAfter = i;
            }
        } else if (inSection && info.What == TLineInfo::Kind::Key) {
            insertAfter = i;
        }
    }
    indexed_ = false;  // the lines after the new one move
    if (insertAfter) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*insertAfter + 1), newLine);
        return;
    }
    std::string header = "[";
    header += section;
    header += ']';
    lines_.push_back(std::move(header));
    lines_.push_back(newLine);
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(value));
    WriteString(section, key, buffer);
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

std::string TIniFile::Text() const {
    std::string text;
    for (const auto& line : lines_) {
        text += line;
        text += '\n';
    }
    return text;
}

bool TIniFile::Save(const std::filesystem::path& path) const {
    // A settings file in a folder that is not writable is still rewritten when the file itself is.
    return ReplaceFileText(path, Text(), /*inPlaceFallback=*/true);
}

}  // namespace uvlamp
