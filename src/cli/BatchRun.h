#pragma once

#include <ostream>

#include "cli/CliOptions.h"

namespace uvlamp::cli {

// Runs one command of the batch front end with the core operations the window's handlers use,
// in the window's order: settings, log, loading, the operator's unticking, then the command.
// Returns the exit status: 0 done; 1 nothing could be computed or written; 2 a usage error or a
// named file that could not be read (the rest is done first where it can be).
int RunBatch(const TCliOptions& options, std::ostream& out, std::ostream& err);

// Reads the command line and runs it.
int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace uvlamp::cli
