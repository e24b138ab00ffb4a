#include "CliTestSupport.h"

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

}  // namespace uvlamp::test
