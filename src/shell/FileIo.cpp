#include "shell/FileIo.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <system_error>
#include <vector>

#include "shell/Format.h"

namespace uvlamp {

namespace fs = std::filesystem;

namespace {

bool CanWriteExisting(const fs::path& path) {
    std::ofstream probe(path, std::ios::app);
    return probe.is_open();
}

bool WriteText(const fs::path& path, std::string_view text, bool& opened) {
    std::ofstream out(path, std::ios::out | std::ios::trunc);  // text mode: platform line ends
    opened = out.is_open();
    if (!opened) {
        return false;
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    out.close();
    return !out.fail();
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

bool ReplaceFileText(const fs::path& path, std::string_view text, bool inPlaceFallback) {
    std::error_code ec;
    fs::path target = path;
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (ec) {
            return false;
        }
        target = resolved;
    }
    const fs::file_status status = fs::status(target, ec);
    const bool exists = fs::exists(status);
    // A read-only file is one its owner does not want changed; replacing it through the folder
    // would get round that.
    if (exists && (!fs::is_regular_file(status) || !CanWriteExisting(target))) {
        return false;
    }

    std::random_device random;
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
    const fs::path temporary = target.parent_path() / (target.filename().string() + suffix);
    bool opened = false;
    if (!fs::exists(temporary, ec) && WriteText(temporary, text, opened)) {
        if (exists) {
            fs::permissions(temporary, status.permissions(), ec);
        }
        fs::rename(temporary, target, ec);
        if (!ec) {
            return true;
        }
    }
    if (opened) {
        fs::remove(temporary, ec);
    }
    if (inPlaceFallback && !opened && exists) {
        return WriteText(target, text, opened);
    }
    return false;
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
