#include "shell/Program.h"

namespace uvlamp {

TProgram::~TProgram() {
    // Lamps before files, as the scans in a lamp may name their file.
    LampList.clear();
    OpenedFiles.clear();
}

void TProgram::StartLog(const std::string& path) {
    CurrentLog.reset();
    ProgramSettings.LogFileName = path;
    CurrentLog = std::make_unique<TLogFile>(path);
}

void TProgram::StopLog() {
    ProgramSettings.LogFileName.clear();
    CurrentLog.reset();
}

void TProgram::ClearLoaded() {
    LampList.clear();
    OpenedFiles.clear();
}

}  // namespace uvlamp
