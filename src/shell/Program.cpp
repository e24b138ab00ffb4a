#include "shell/Program.h"

#include <cmath>

#include "shell/DayCount.h"

namespace uvlamp {

TProgram::~TProgram() {
    // Lamps before files, as the scans in a lamp may name their file.
    CurrentResponse.reset();
    FileReference.reset();
    LampList.clear();
    OpenedFiles.clear();
}

void TProgram::StartLog(const std::string& path) {
    CurrentLog.reset();
    ProgramSettings.LogFileName = path;
    CurrentLog = std::make_unique<TLogFile>(path, Clock);
}

void TProgram::StopLog() {
    ProgramSettings.LogFileName.clear();
    CurrentLog.reset();
}

void TProgram::ClearLoaded() {
    CurrentResponse.reset();
    FileReference.reset();
    LampList.clear();
    OpenedFiles.clear();
}

double TProgram::Now() const {
    return Clock ? Clock() : NowDayCount();
}

double TProgram::Today() const {
    return std::floor(Now());
}

}  // namespace uvlamp
