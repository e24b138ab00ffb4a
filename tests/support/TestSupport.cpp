#include "support/TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/wait.h>
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
    namespace fs = std::filesystem;
    // Tests leave read-only files and folders behind, and Windows deletes no read-only file.
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        std::error_code ignored;
        if (!it->is_symlink(ignored)) {  // never what a link leads to, outside the folder
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::remove_all(path_, ec);
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
    switch (trouble_) {
        case TWriteTrouble::ReadOnlyFolder:
#ifdef _WIN32
            throw std::runtime_error("a read-only folder stops no write here");
#endif
            user_ = std::make_unique<TOrdinaryUser>(dir_);
            std::filesystem::permissions(dir_.Path(), std::filesystem::perms::owner_read |
                                                          std::filesystem::perms::owner_exec);
            return;
        case TWriteTrouble::FullDisk: {
#ifndef _WIN32
            // Beyond the limit a write fails with EFBIG instead of the signal that would end
            // the process.
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            savedFileSizeLimit_ = limit.rlim_cur;
            limit.rlim_cur = kFullDiskBytes;
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
                throw std::runtime_error("cannot limit the file size");
            }
            return;
#else
            throw std::runtime_error("no full disk can be made here");
#endif
        }
        case TWriteTrouble::LockedFiles: {
#ifdef _WIN32
            for (const auto& entry : std::filesystem::directory_iterator(dir_.Path())) {
                // Others may still read the file, as a spreadsheet lets them.
                HANDLE lock = CreateFileW(entry.path().c_str(), GENERIC_READ, FILE_SHARE_READ,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
                if (lock == INVALID_HANDLE_VALUE) {
                    throw std::runtime_error("cannot lock " + entry.path().string());
                }
                locks_.push_back(lock);
            }
            return;
#else
            throw std::runtime_error("files are not locked against writing here");
#endif
        }
    }
}

TFailingWrites::~TFailingWrites() {
    switch (trouble_) {
        case TWriteTrouble::ReadOnlyFolder:
            std::filesystem::permissions(dir_.Path(), std::filesystem::perms::owner_all);
            return;
        case TWriteTrouble::FullDisk: {
#ifndef _WIN32
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = static_cast<rlim_t>(savedFileSizeLimit_);
            setrlimit(RLIMIT_FSIZE, &limit);
#endif
            return;
        }
        case TWriteTrouble::LockedFiles:
#ifdef _WIN32
            for (void* lock : locks_) {
                CloseHandle(lock);
            }
#endif
            return;
    }
}

std::vector<TWriteTrouble> WriteTroubles() {
#ifndef _WIN32
    return {TWriteTrouble::ReadOnlyFolder, TWriteTrouble::FullDisk};
#else
    return {TWriteTrouble::LockedFiles};
#endif
}

const char* TroubleName(TWriteTrouble trouble) {
    switch (trouble) {
        case TWriteTrouble::ReadOnlyFolder:
            return "read-only folder";
        case TWriteTrouble::FullDisk:
            return "full disk";
        case TWriteTrouble::LockedFiles:
            return "locked files";
    }
    return "?";
}

bool StopsNewFiles(TWriteTrouble trouble) {
    return trouble != TWriteTrouble::LockedFiles;
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

std::string ReadText(const std::filesystem::path& path) {
    std::string text = ReadFile(path);
#ifdef _WIN32
    // Not a text-mode stream: that would also end the text at a Ctrl-Z.
    std::string::size_type to = 0;
    for (std::string::size_type from = 0; from < text.size(); ++from) {
        if (!(text[from] == '\r' && from + 1 < text.size() && text[from + 1] == '\n')) {
            text[to++] = text[from];
        }
    }
    text.resize(to);
#endif
    return text;
}

std::string NativeText(std::string_view text) {
#ifdef _WIN32
    std::string out;
    for (const char c : text) {
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    return out;
#else
    return std::string(text);
#endif
}

int RunCommand(const std::string& commandLine) {
#ifdef _WIN32
    // cmd.exe takes the first and the last quote of its command line away when there are more
    // than two: one more pair keeps the quoted program and file names whole.
    return std::system(("\"" + commandLine + "\"").c_str());
#else
    const int status = std::system(commandLine.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
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
