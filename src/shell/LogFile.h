#pragma once

#include <functional>
#include <string>

namespace uvlamp {

// The operator's running journal: an append-only text file. Every line is appended at once and
// the file is closed again, so each line is on disk when WriteLine returns and other programs
// may read or move the file between lines. Lines that cannot be written are lost silently; the
// log never reports an error to its callers.
class TLogFile {
  public:
    // Gives the current local date and time as a day count; replaceable for tests.
    using TClock = std::function<double()>;

    // Appends the ON banner: two empty lines and "Logging turned ON on <date> at <time>".
    explicit TLogFile(std::string fileName, TClock clock = {});
    // Appends the OFF banner "Logging turned OFF on <date> at <time>".
    ~TLogFile();
    TLogFile(const TLogFile&) = delete;
    TLogFile& operator=(const TLogFile&) = delete;

    const std::string& FileName() const { return FileName_; }

    // Appends text and one line end. The text carries no line end of its own; leading line
    // breaks and tabs are written as they are.
    void WriteLine(const std::string& text) const;

    // The current "<date> at <time>" as LogStamp writes it, for the banners and the program's
    // start and end lines ("Program started on " + Stamp()).
    std::string Stamp() const;

  private:
    std::string FileName_;
    TClock clock_;
};

// The date and time of a day count as the log writes them: "Dec 08, 2025 at 14:05".
std::string LogStamp(double dayCount);

}  // namespace uvlamp
