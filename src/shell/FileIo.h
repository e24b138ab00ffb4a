#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace uvlamp {

// The separator the platform's paths join with.
#if defined(_WIN32)
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The bytes of a file, read into a buffer that is reused from file to file (it only ever grows),
// or empty with the reason in whyNot ("could not be opened", "is too large for <what> (N bytes)").
// Files larger than maxBytes are refused unread, so no file can exhaust the memory.
std::optional<std::string_view> ReadFileBytes(const std::filesystem::path& path,
                                              std::string& buffer, std::uintmax_t maxBytes,
                                              std::string_view what, std::string& whyNot);

// Whether a path names a regular file that may be written (permission bits alone do not tell:
// read-only media, access control lists). Opening it to try changes nothing in it.
bool IsWritableFile(const std::filesystem::path& path);

// Replaces the contents of a file with text, written in text mode (platform line ends). The text
// goes to a temporary file beside the target, is flushed to the disk and then takes the target's
// place, so a failed or interrupted write never leaves a half-written or emptied file: on failure
// the earlier file is untouched and no temporary file is left. An existing file that is
// read-only, or that is not a regular file, is refused. Through a symbolic link the file linked
// to is replaced.
// With inPlaceFallback, a target in a folder where no temporary file can be made (a writable file
// in a read-only folder) is rewritten in place as the last resort; if that fails midway (a full
// disk), the earlier contents are written back.
bool ReplaceFileText(const std::filesystem::path& path, std::string_view text,
                     bool inPlaceFallback = false);

// Replaces several files as one: every text is first written to a temporary file beside its
// target, and only when all of them are written do they take their targets' places, so files
// that belong together (a response and its log) are never left half old and half new. Empty on
// success; otherwise the path of the first file that could not be written, with no target
// changed and no temporary file left.
using TFileTexts = std::vector<std::pair<std::filesystem::path, std::string>>;
std::optional<std::filesystem::path> ReplaceFilesText(const TFileTexts& files);

// The path of an existing file whose name equals the path's file name without regard to the
// letter case of A to Z, in the same folder: station files arrive from systems whose file names
// ignore case. An exact match wins; of several others the first in name order. When nothing
// matches, the path itself.
std::filesystem::path ResolveNameNoCase(const std::filesystem::path& path);

// A text made safe to become part of a file name: path separators, runs of two or more dots,
// control characters and the characters some file systems forbid (<>:"|?*) become "_". Whatever
// a scan file names its lamps, a name made from it stays inside the folder it is joined to.
std::string SafeFileNamePart(std::string_view text);

}  // namespace uvlamp
