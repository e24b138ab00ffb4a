#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace uvlamp {

// Whether a file name matches a file mask the way file lists match them: "?" stands for one
// character (or none, in a run of "?" that reaches the end of the mask or a "."), "*" for any run
// of characters, and letters match without regard to case, because station files arrive from
// other systems in either case. A mask ending in ".*" also matches names without a dot.
bool MatchesMask(std::string_view name, std::string_view mask);

// The mask up to and including its first "." followed by the extension; the extension alone when
// the mask has no ".". ("ql??????.???", "*") gives "ql??????.*".
std::string ChangeMaskExtension(std::string_view mask, std::string_view extension);

// The bare names of the regular files of a directory that match the mask, sorted by name without
// regard to case (then by bytes). Empty when the directory cannot be read.
std::vector<std::string> ListMatchingFiles(const std::filesystem::path& directory,
                                           std::string_view mask);

}  // namespace uvlamp
