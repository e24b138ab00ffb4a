#pragma once

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace uvlamp::cli {

enum class TCommand { Lamps, Scans, Response, Transfer };

// Check marks to clear after loading: the scans at these positions (from 1, in the lamp's list
// order) of the lamp of that name.
struct TDeselection {
    std::string Lamp;
    std::vector<int> Positions;
};

// Everything the command line asks for. Texts that the window reads from edit fields stay texts,
// so that they are checked by the same code and told with the same messages.
struct TCliOptions {
    TCommand Command = TCommand::Lamps;
    std::vector<std::string> Files;  // scan files, in loading order

    // Common options; each mirrors a control of the window.
    std::optional<std::string> IrrDirectory;  // default: the current directory
    bool UseBbf = false;
    bool Mkiii = false;
    bool NewT = false;
    std::optional<int> Day;
    std::optional<std::array<double, 2>> TempRange;  // both bounds excluded
    std::optional<int> LimitScans;
    bool FirstScans = false;  // with the limit, keep the first scans rather than the last
    std::vector<TDeselection> Deselect;
    std::string LogFile;       // empty: no log
    std::string SettingsFile;  // empty: no settings file
    bool Yes = false;
    bool Json = false;

    // scans
    std::string Lamp;
    // response and transfer: start, end and step in angstroms, as typed
    std::array<std::string, 3> Grid;
    // response
    std::optional<std::string> LogReference;
    std::string Output;
    // transfer
    std::optional<std::string> Reference;  // "Using lamp"
    std::optional<std::string> Target;     // "For lamp"
    std::string Distance = "50";
};

// The outcome of reading the command line: the options to run, or the exit status when the run
// ends here (0 after --help or --version, 2 after a usage error, which has been written to err).
struct TParsedCommandLine {
    std::optional<TCliOptions> Options;
    int ExitStatus = 0;
};

TParsedCommandLine ParseCommandLine(int argc, const char* const* argv, std::ostream& out,
                                    std::ostream& err);

// The program's name in messages.
inline constexpr const char* kProgramName = "uvlamp-cli";

}  // namespace uvlamp::cli
