#include <exception>
#include <iostream>

#include "cli/BatchRun.h"

int main(int argc, char** argv) {
    try {
        return uvlamp::cli::RunCli(argc, argv, std::cout, std::cerr);
    } catch (const std::exception& e) {
        // Nothing in a run should throw; if something does, say what and fail plainly.
        std::cerr << uvlamp::cli::kProgramName << ": " << e.what() << "\n";
        return 2;
    }
}
