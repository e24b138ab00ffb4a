#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace uvlamp::test {

// A fresh directory under the system's temporary directory, removed with everything in it when
// the object goes out of scope.
class TTempDir {
  public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// Runs the rest of a scope as an ordinary user when the tests run as the superuser (as CI does),
// so that checks of read-only files and directories mean something there too: permission bits do
// not stop the superuser. The directory given is handed to that user first. Does nothing for an
// ordinary user and on Windows.
class TOrdinaryUser {
  public:
    explicit TOrdinaryUser(const TTempDir& dir);
    ~TOrdinaryUser();
    TOrdinaryUser(const TOrdinaryUser&) = delete;
    TOrdinaryUser& operator=(const TOrdinaryUser&) = delete;

  private:
    bool switched_ = false;
};

// Writes bytes exactly as given (binary mode), creating parent directories.
void WriteFile(const std::filesystem::path& path, std::string_view bytes);
// Reads a whole file as bytes; empty when it does not exist.
std::string ReadFile(const std::filesystem::path& path);
// Copies every regular file of a directory into another.
void CopyFiles(const std::filesystem::path& from, const std::filesystem::path& to);
// The names of the regular files of a directory, sorted.
std::vector<std::string> FileNames(const std::filesystem::path& directory);
// A fixture file of tests/data.
std::filesystem::path DataPath(const std::string& relative);

}  // namespace uvlamp::test
