#pragma once

#include <functional>
#include <memory>
#include <random>
#include <string>

#include "scans/File.h"
#include "scans/Lamp.h"
#include "shell/LogFile.h"
#include "shell/Settings.h"

namespace uvlamp {

// What the program holds while it runs: the settings, the log, the lamps and files loaded. The
// window and the batch front end each create one; tests create as many as they like.
class TProgram {
  public:
    TProgram() = default;
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;
    ~TProgram();

    // The current log, or null while logging is off.
    TLogFile* Log() const { return CurrentLog.get(); }
    // Starts logging into a file (ending the current log first, with its OFF banner) and
    // remembers the path in the settings.
    void StartLog(const std::string& path);
    // Ends logging (OFF banner) and forgets the path.
    void StopLog();
    // Destroys the lamps and the files loaded, with the response and the "File" reference made
    // from them. The UVRES response stays: it belongs to no file.
    void ClearLoaded();
    // The current local date and time as a day count (Clock when set), and its whole day.
    double Now() const;
    double Today() const;

    // Replaces the system clock, for tests.
    std::function<double()> Clock;
    // The fits' random generator: seeded once with a fixed seed, so the sequence of fits after
    // every start is the same.
    std::mt19937 Random{kRandomSeed};
    static constexpr std::mt19937::result_type kRandomSeed = 5489u;

    TSettings ProgramSettings;
    // Declared before the data so that it is destroyed after it: the OFF banner is the last line.
    std::unique_ptr<TLogFile> CurrentLog;
    TLampList LampList;
    TFileList OpenedFiles;
    // The last response calculated, or null. It names the first lamp and a file of the lists
    // above (not owned), so it goes whenever they do.
    std::unique_ptr<TScan> CurrentResponse;
    // The response file chosen for the response graph's "File" mode, or null.
    std::unique_ptr<TScan> FileReference;
    // The instrument response that turns a lamp's counts into its spectrum, or null.
    std::unique_ptr<TScan> UvresResponse;
};

}  // namespace uvlamp
