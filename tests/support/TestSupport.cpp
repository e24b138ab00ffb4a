#include "support/TestSupport.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace uvlamp::test {

TTempDir::TTempDir() {
    std::random_device rd;
    std::mt19937_64 gen(rd());
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = std::filesystem::temp_directory_path() /
                         ("uvlamp-test-" + std::to_string(gen() % 1000000000000ULL));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
}

TTempDir::~TTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

namespace {
#ifndef _WIN32
constexpr uid_t kNobody = 65534;
#endif
}  // namespace

TOrdinaryUser::TOrdinaryUser([[maybe_unused]] const TTempDir& dir) {
#ifndef _WIN32
    if (geteuid() != 0) {
        return;
    }
    if (chown(dir.Path().c_str(), kNobody, kNobody) != 0 || setegid(kNobody) != 0 ||
        seteuid(kNobody) != 0) {
        throw std::runtime_error("cannot switch to an ordinary user");
    }
    switched_ = true;
#endif
}

TOrdinaryUser::~TOrdinaryUser() {
#ifndef _WIN32
    if (switched_) {
        // The real user is still the superuser, so the effective one can be taken back.
        if (seteuid(0) != 0 || setegid(0) != 0) {
            std::abort();
        }
    }
#endif
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path());
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::filesystem::path DataPath(const std::string& relative) {
    return std::filesystem::path(UVLAMP_TEST_DATA) / relative;
}

void CopyFiles(const std::filesystem::path& from, const std::filesystem::path& to) {
    for (const auto& entry : std::filesystem::directory_iterator(from)) {
        if (entry.is_regular_file()) {
            std::filesystem::copy_file(entry.path(), to / entry.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }
}

std::vector<std::string> FileNames(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        if (entry.is_regular_file()) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace uvlamp::test
