#include "support/TestSupport.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
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

namespace {
#ifndef _WIN32
// Small enough that every file the program writes outgrows it.
constexpr rlim_t kFullDiskBytes = 16;
#endif
}  // namespace

TFailingWrites::TFailingWrites(const TTempDir& dir, TWriteTrouble trouble)
    : dir_(dir), trouble_(trouble) {
    if (trouble_ == TWriteTrouble::ReadOnlyFolder) {
        user_ = std::make_unique<TOrdinaryUser>(dir_);
        std::filesystem::permissions(
            dir_.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        return;
    }
#ifndef _WIN32
    // Beyond the limit a write fails with EFBIG instead of the signal that would end the process.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    savedFileSizeLimit_ = limit.rlim_cur;
    limit.rlim_cur = kFullDiskBytes;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        throw std::runtime_error("cannot limit the file size");
    }
#else
    throw std::runtime_error("no full disk can be made here");
#endif
}

TFailingWrites::~TFailingWrites() {
    if (trouble_ == TWriteTrouble::ReadOnlyFolder) {
        std::filesystem::permissions(dir_.Path(), std::filesystem::perms::owner_all);
        return;
    }
#ifndef _WIN32
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(savedFileSizeLimit_);
    setrlimit(RLIMIT_FSIZE, &limit);
#endif
}

std::vector<TWriteTrouble> WriteTroubles() {
#ifndef _WIN32
    return {TWriteTrouble::ReadOnlyFolder, TWriteTrouble::FullDisk};
#else
    return {TWriteTrouble::ReadOnlyFolder};
#endif
}

const char* TroubleName(TWriteTrouble trouble) {
    return trouble == TWriteTrouble::ReadOnlyFolder ? "read-only folder" : "full disk";
}

TFolderSnapshot Snapshot(const std::filesystem::path& folder) {
    TFolderSnapshot snapshot;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string name = std::filesystem::relative(entry.path(), folder).generic_string();
        snapshot[name] = entry.is_regular_file() ? ReadFile(entry.path()) : "<not a file>";
    }
    return snapshot;
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
