#include "shell/FileIo.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>
#include <vector>

#include "shell/Format.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace uvlamp {

namespace fs = std::filesystem;

namespace {

#if defined(_WIN32)
std::FILE* OpenFile(const fs::path& path, const wchar_t* mode) {
    return _wfopen(path.c_str(), mode);
}
#define UVLAMP_MODE(text) L##text
#else
std::FILE* OpenFile(const fs::path& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}
#define UVLAMP_MODE(text) text
#endif

// Hands what the C library holds to the system and asks it to put the file on the disk, so that
// a file that takes another's place is whole even after a power failure.
bool FlushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) {
        return false;
    }
#if defined(_WIN32)
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

bool WriteAll(std::FILE* file, std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

// Writes a new file in text mode (platform line ends). opened tells whether it was created.
bool WriteNewText(const fs::path& path, std::string_view text, bool& opened) {
    std::FILE* file = OpenFile(path, UVLAMP_MODE("w"));
    opened = file != nullptr;
    if (file == nullptr) {
        return false;
    }
    const bool written = WriteAll(file, text) && FlushToDisk(file);
    return std::fclose(file) == 0 && written;
}

// The text as text mode writes it: "\n" is the platform's line end.
std::string PlatformText(std::string_view text) {
#if defined(_WIN32)
    std::string converted;
    converted.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n') {
            converted += '\r';
        }
        converted += c;
    }
    return converted;
#else
    return std::string(text);
#endif
}

// Rewrites an existing file where it is, over its own bytes: that needs no new room on the disk
// up to its old size. When the writing fails midway, the old bytes are written back.
bool RewriteInPlace(const fs::path& path, std::string_view text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    const std::string old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return false;
    }
    in.close();
    const std::string bytes = PlatformText(text);
    std::FILE* file = OpenFile(path, UVLAMP_MODE("r+b"));
    if (file == nullptr) {
        return false;
    }
    bool written = WriteAll(file, bytes) && FlushToDisk(file);
    if (!written) {
        std::clearerr(file);
        if (std::fseek(file, 0, SEEK_SET) == 0) {
            WriteAll(file, old);
            FlushToDisk(file);
        }
    }
    written = std::fclose(file) == 0 && written;
    std::error_code ec;
    const std::size_t size = written ? bytes.size() : old.size();
    if (fs::file_size(path, ec) > size) {
        fs::resize_file(path, size, ec);
        written = written && !ec;
    }
    return written;
}

// A file written beside its target, waiting to take the target's place.
struct TStaged {
    fs::path Target;     // the file to replace (the file linked to, for a symbolic link)
    fs::path Temporary;  // empty when nothing was written
    bool Exists = false;
    fs::perms Permissions = fs::perms::none;
};

// The file a path names (through a symbolic link) and whether it may be replaced: an existing
// file must be a regular file its owner lets us write.
std::optional<TStaged> ResolveTarget(const fs::path& path) {
    std::error_code ec;
    TStaged staged;
    staged.Target = path;
    if (fs::is_symlink(fs::symlink_status(path, ec))) {
        staged.Target = fs::weakly_canonical(path, ec);
        if (ec) {
            return std::nullopt;
        }
    }
    const fs::file_status status = fs::status(staged.Target, ec);
    staged.Exists = fs::exists(status);
    staged.Permissions = status.permissions();
    // A read-only file is one its owner does not want changed; replacing it through the folder
    // would get round that.
    if (staged.Exists && !IsWritableFile(staged.Target)) {
        return std::nullopt;
    }
    return staged;
}

// Writes the text to a new temporary file beside the target. opened tells whether the temporary
// file could be created at all.
bool Stage(TStaged& staged, std::string_view text, bool& opened) {
    opened = false;
    std::random_device random;
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
    const fs::path temporary =
        staged.Target.parent_path() / (staged.Target.filename().string() + suffix);
    std::error_code ec;
    if (fs::exists(temporary, ec)) {
        return false;
    }
    const bool written = WriteNewText(temporary, text, opened);
    if (opened) {
        staged.Temporary = temporary;
    }
    return written;
}

void Discard(TStaged& staged) {
    if (!staged.Temporary.empty()) {
        std::error_code ec;
        fs::remove(staged.Temporary, ec);
        staged.Temporary.clear();
    }
}

bool Commit(TStaged& staged) {
    std::error_code ec;
    if (staged.Exists) {
        fs::permissions(staged.Temporary, staged.Permissions, ec);
    }
    fs::rename(staged.Temporary, staged.Target, ec);
    if (ec) {
        Discard(staged);
        return false;
    }
    staged.Temporary.clear();
    return true;
}

}  // namespace

std::optional<std::string_view> ReadFileBytes(const fs::path& path, std::string& buffer,
                                              std::uintmax_t maxBytes, std::string_view what,
                                              std::string& whyNot) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        whyNot = "is a directory";
        return std::nullopt;
    }
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) {
        whyNot = "could not be opened";
        return std::nullopt;
    }
    if (size > maxBytes) {
        whyNot = "is too large for " + std::string(what) + " (" + std::to_string(size) + " bytes)";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        whyNot = "could not be opened";
        return std::nullopt;
    }
    if (buffer.size() < size) {
        buffer.resize(static_cast<std::size_t>(size));
    }
    in.read(buffer.data(), static_cast<std::streamsize>(size));
    if (in.bad()) {
        whyNot = "could not be read";
        return std::nullopt;
    }
    return std::string_view(buffer.data(), static_cast<std::size_t>(in.gcount()));
}

bool IsWritableFile(const fs::path& path) {
    std::error_code ec;
    // Only a regular file is opened to try: opening a pipe to write would wait for a reader.
    if (!fs::is_regular_file(path, ec)) {
        return false;
    }
#if defined(_WIN32)
    // A file with the read-only attribute may be written by no one on Windows, administrators
    // included; a system that only emulates the attribute may let an open for writing succeed
    // all the same, so the attribute itself is asked.
    if ((fs::status(path, ec).permissions() & fs::perms::owner_write) == fs::perms::none) {
        return false;
    }
#endif
    return std::ofstream(path, std::ios::app).is_open();  // opening to append changes nothing
}

bool ReplaceFileText(const fs::path& path, std::string_view text, bool inPlaceFallback) {
    std::optional<TStaged> staged = ResolveTarget(path);
    if (!staged) {
        return false;
    }
    bool opened = false;
    if (Stage(*staged, text, opened) && Commit(*staged)) {
        return true;
    }
    Discard(*staged);
    if (inPlaceFallback && !opened && staged->Exists) {
        return RewriteInPlace(staged->Target, text);
    }
    return false;
}

std::optional<fs::path> ReplaceFilesText(const TFileTexts& files) {
    std::vector<TStaged> staged;
    staged.reserve(files.size());
    std::optional<fs::path> failed;
    for (const auto& [path, text] : files) {
        std::optional<TStaged> one = ResolveTarget(path);
        bool opened = false;
        if (one) {
            staged.push_back(*one);
        }
        if (!one || !Stage(staged.back(), text, opened)) {
            failed = path;
            break;
        }
    }
    for (std::size_t i = 0; !failed && i < staged.size(); ++i) {
        // Only a target that turned into something else since it was checked can fail here.
        if (!Commit(staged[i])) {
            failed = files[i].first;
        }
    }
    for (auto& one : staged) {
        Discard(one);
    }
    return failed;
}

fs::path ResolveNameNoCase(const fs::path& path) {
    std::error_code ec;
    if (fs::exists(path, ec)) {
        return path;
    }
    const std::string wanted = path.filename().string();
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::vector<fs::path> matches;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (EqualNoCase(name, wanted)) {
            matches.push_back(path.has_parent_path() ? path.parent_path() / name : fs::path(name));
        }
    }
    if (matches.empty()) {
        return path;
    }
    std::sort(matches.begin(), matches.end());
    return matches.front();
}

std::string SafeFileNamePart(std::string_view text) {
    std::string safe(text);
    for (std::size_t i = 0; i < safe.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(safe[i]);
        const bool dotRun = c == '.' && ((i + 1 < text.size() && text[i + 1] == '.') ||
                                         (i > 0 && text[i - 1] == '.'));
        if (c < 0x20 || c == 0x7f || c == '/' || c == '\\' || c == '<' || c == '>' || c == ':' ||
            c == '"' || c == '|' || c == '?' || c == '*' || dotRun) {
            safe[i] = '_';
        }
    }
    return safe;
}

}  // namespace uvlamp
