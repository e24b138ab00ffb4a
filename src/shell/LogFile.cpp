#include "shell/LogFile.h"

#include <filesystem>
#include <fstream>

#include "shell/DayCount.h"

namespace uvlamp {

std::string LogStamp(double dayCount) {
    return FormatDateTime("mmm dd, yyyy", dayCount) + " at " + FormatDateTime("hh:nn", dayCount);
}

TLogFile::TLogFile(std::string fileName, TClock clock)
    : FileName_(std::move(fileName)), clock_(clock ? std::move(clock) : TClock(NowDayCount)) {
    WriteLine("\n\nLogging turned ON on " + Stamp());
}

TLogFile::~TLogFile() {
    WriteLine("Logging turned OFF on " + Stamp());
}

std::string TLogFile::Stamp() const {
    return LogStamp(clock_());
}

void TLogFile::WriteLine(const std::string& text) const {
    // Text mode: "\n" becomes the platform's line end.
    std::ofstream out(std::filesystem::path(FileName_), std::ios::app);
    if (!out) {
        return;
    }
    out << text << '\n';
}

}  // namespace uvlamp
