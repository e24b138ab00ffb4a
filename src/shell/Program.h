#pragma once

#include <memory>
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
    // Destroys the lamps and the files loaded.
    void ClearLoaded();

    TSettings ProgramSettings;
    // Declared before the data so that it is destroyed after it: the OFF banner is the last line.
    std::unique_ptr<TLogFile> CurrentLog;
    TLampList LampList;
    TFileList OpenedFiles;
};

}  // namespace uvlamp
