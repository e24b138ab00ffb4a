#pragma once

#include <filesystem>
#include <map>
#include <memory>
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

// How a write into a folder is made to fail for the rest of a scope.
enum class TWriteTrouble {
    // The folder is read-only (and the tests run as an ordinary user, see TOrdinaryUser). Not
    // on Windows, where a folder's read-only flag stops no write.
    ReadOnlyFolder,
    // The disk is full: no file of the process can grow beyond a few bytes (a file size limit,
    // so that every write fails partway like on a full disk). Not on Windows.
    FullDisk,
    // Another program holds every file of the folder open and lets others only read it, as a
    // spreadsheet holds the file it shows: such a file can be neither written nor replaced, but
    // new files can still be made beside it. Windows only.
    LockedFiles,
};
class TFailingWrites {
  public:
    TFailingWrites(const TTempDir& dir, TWriteTrouble trouble);
    ~TFailingWrites();
    TFailingWrites(const TFailingWrites&) = delete;
    TFailingWrites& operator=(const TFailingWrites&) = delete;

  private:
    const TTempDir& dir_;
    TWriteTrouble trouble_;
    std::unique_ptr<TOrdinaryUser> user_;
    unsigned long long savedFileSizeLimit_ = 0;  // the limit a full disk replaced
    std::vector<void*> locks_;                   // the handles that hold the files
};

// Every way of failing that this system can make.
std::vector<TWriteTrouble> WriteTroubles();
const char* TroubleName(TWriteTrouble trouble);
// Whether the trouble also stops a new file from being made (locked files do not).
bool StopsNewFiles(TWriteTrouble trouble);

// Every file under a folder with its bytes: equal snapshots taken before and after a failed write
// show that no file changed and none was added or left behind.
using TFolderSnapshot = std::map<std::string, std::string>;
TFolderSnapshot Snapshot(const std::filesystem::path& folder);

// Writes bytes exactly as given (binary mode), creating parent directories.
void WriteFile(const std::filesystem::path& path, std::string_view bytes);
// Reads a whole file as bytes; empty when it does not exist.
std::string ReadFile(const std::filesystem::path& path);
// Reads a text file the program wrote, with its line ends as the program meant them: the
// system's line end (CR LF on Windows) becomes "\n" again. Empty when the file does not exist.
std::string ReadText(const std::filesystem::path& path);
// The bytes text mode writes for a text: "\n" becomes the system's line end (CR LF on Windows).
std::string NativeText(std::string_view text);
// Copies every regular file of a directory into another.
void CopyFiles(const std::filesystem::path& from, const std::filesystem::path& to);
// The names of the regular files of a directory, sorted.
std::vector<std::string> FileNames(const std::filesystem::path& directory);
// Runs a command line through the system's shell and gives the command's exit status (-1 when it
// did not exit by itself).
int RunCommand(const std::string& commandLine);
// A fixture file of tests/data.
std::filesystem::path DataPath(const std::string& relative);

}  // namespace uvlamp::test
