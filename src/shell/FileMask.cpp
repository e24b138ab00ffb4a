#include "shell/FileMask.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "shell/Format.h"

namespace uvlamp {

namespace {

// One step of the mask, decided once before matching.
enum class TStep { Literal, One, OneOrNone, Any };

// A "?" may also match nothing when its run of "?" ends the mask or stands just before a ".":
// "ql??????.???" then takes both "ql_L1031.137" and the shorter "QL12524.185".
std::vector<TStep> Steps(std::string_view mask) {
    std::vector<TStep> steps(mask.size(), TStep::Literal);
    bool optional = true;  // whether a "?" at this place may match nothing; seen from the right
    for (std::size_t i = mask.size(); i-- > 0;) {
        const char c = mask[i];
        if (c == '?') {
            steps[i] = optional ? TStep::OneOrNone : TStep::One;
        } else {
            steps[i] = c == '*' ? TStep::Any : TStep::Literal;
            optional = c == '.';
        }
    }
    return steps;
}

// A mask prepared once for matching many names.
class TMatcher {
  public:
    explicit TMatcher(std::string_view mask) : mask_(mask), steps_(Steps(mask)) {}

    bool operator()(std::string_view name) {
        if (Matches(name, mask_.size()))
            return true;
        // "name.*" stands for the name with any extension, and also for the name with none. The
        // steps of the mask without ".*" are those of the whole mask, cut short: a run of "?"
        // that reached the "." now reaches the end.
        const bool endsInAnyExtension = mask_.size() >= 2 && mask_.substr(mask_.size() - 2) == ".*";
        return endsInAnyExtension && name.find('.') == std::string_view::npos &&
               Matches(name, mask_.size() - 2);
    }

  private:
    // A table of which name prefixes the mask's first steps match, one mask character at a time:
    // time in the product of both lengths, whatever the stars, and one row of memory.
    bool Matches(std::string_view name, std::size_t stepCount) {
        row_.assign(name.size() + 1, 0);  // row_[j]: the steps so far match name[0, j)
        row_[0] = 1;
        for (std::size_t i = 0; i < stepCount; ++i) {
            switch (steps_[i]) {
                case TStep::Any:
                    for (std::size_t j = 1; j <= name.size(); ++j)
                        row_[j] = row_[j] || row_[j - 1];
                    break;
                case TStep::OneOrNone:
                    for (std::size_t j = name.size(); j >= 1; --j)
                        row_[j] = row_[j] || row_[j - 1];
                    break;
                case TStep::One:
                    for (std::size_t j = name.size(); j >= 1; --j)
                        row_[j] = row_[j - 1];
                    row_[0] = 0;
                    break;
                case TStep::Literal: {
                    const char c = LowerAscii(mask_[i]);
                    for (std::size_t j = name.size(); j >= 1; --j) {
                        row_[j] = row_[j - 1] && LowerAscii(name[j - 1]) == c;
                    }
                    row_[0] = 0;
                    break;
                }
            }
        }
        return row_[name.size()] != 0;
    }

    std::string_view mask_;
    std::vector<TStep> steps_;
    std::vector<char> row_;
};

}  // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
    return TMatcher(mask)(name);
}

std::string ChangeMaskExtension(std::string_view mask, std::string_view extension) {
    const std::size_t dot = mask.find('.');
    std::string result;
    if (dot != std::string_view::npos)
        result = mask.substr(0, dot + 1);
    result += extension;
    return result;
}

std::vector<std::string> ListMatchingFiles(const std::filesystem::path& directory,
                                           std::string_view mask) {
    namespace fs = std::filesystem;
    // Each name with its lower-case key, so that sorting thousands of names lowers each once.
    std::vector<std::pair<std::string, std::string>> found;
    TMatcher matches(mask);
    std::error_code error;
    fs::directory_iterator it(directory, error);
    if (error)
        return {};
    for (const fs::directory_iterator end; it != end; it.increment(error)) {
        if (error)
            break;
        std::string name = it->path().filename().string();
        if (!matches(name))
            continue;
        // Follows a link, so a link to a file counts as a file; a broken link does not.
        std::error_code typeError;
        if (!it->is_regular_file(typeError) || typeError)
            continue;
        std::string key = name;
        std::transform(key.begin(), key.end(), key.begin(), LowerAscii);
        found.emplace_back(std::move(key), std::move(name));
    }
    // By the lower-case key, the bytes deciding between names that differ only in case.
    std::sort(found.begin(), found.end());
    std::vector<std::string> names;
    names.reserve(found.size());
    for (auto& entry : found)
        names.push_back(std::move(entry.second));
    return names;
}

}  // namespace uvlamp
