#include "CliTestSupport.h"

#include <algorithm>
#include <sstream>

#include "cli/BatchRun.h"

namespace uvlamp::test {

namespace fs = std::filesystem;

TCliRun RunCliInProcess(const std::vector<std::string>& args) {
    std::vector<const char*> argv{"uvlamp-cli"};
    for (const std::string& a : args) {
        argv.push_back(a.c_str());
    }
    std::ostringstream out;
    std::ostringstream err;
    TCliRun run;
    run.Status = cli::RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
    run.Out = out.str();
    run.Err = err.str();
    return run;
}

TWorkingDirectory::TWorkingDirectory(const fs::path& path) : previous_(fs::current_path()) {
    fs::current_path(path);
}

TWorkingDirectory::~TWorkingDirectory() {
    std::error_code ec;
    fs::current_path(previous_, ec);
}

void CopyFiles(const fs::path& from, const fs::path& to) {
    for (const auto& entry : fs::directory_iterator(from)) {
        if (entry.is_regular_file()) {
            fs::copy_file(entry.path(), to / entry.path().filename(),
                          fs::copy_options::overwrite_existing);
        }
    }
}

std::vector<std::string> FileNames(const fs::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        if (entry.is_regular_file()) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace uvlamp::test
