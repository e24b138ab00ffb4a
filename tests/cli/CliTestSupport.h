#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace uvlamp::test {

// What a run of the batch front end gave back.
struct TCliRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

// Runs the batch front end in-process with these arguments (the program name is added).
TCliRun RunCliInProcess(const std::vector<std::string>& args);

// Makes a directory the current one for the lifetime of the scope, as a user's shell would
// before running the front end.
class TWorkingDirectory {
  public:
    explicit TWorkingDirectory(const std::filesystem::path& path);
    ~TWorkingDirectory();
    TWorkingDirectory(const TWorkingDirectory&) = delete;
    TWorkingDirectory& operator=(const TWorkingDirectory&) = delete;

  private:
    std::filesystem::path previous_;
};

}  // namespace uvlamp::test
