#pragma once

#include <cmath>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace uvlamp {

class TIrr;
class TLogFile;
class TOperator;

// Where the irradiance files report what happened: the log while it is on, and the operator for
// what they must know (a standard that could not be saved).
struct TReport {
    TOperator& Operator;
    const TLogFile* Log = nullptr;

    void LogLine(const std::string& line) const;
};

// One black-body description of a lamp's irradiance: the Planck model with an amplitude and a
// temperature, holding at a distance, as made on a date.
struct TBbfRecord {
    std::string Remark;      // the rest of a file line after the date
    double Distance = 0;     // cm
    double Temperature = 0;  // kelvin
    double Factor = 0;       // amplitude, in the irradiance unit of the fitted table
    double Rms = 0;          // mean relative deviation of the fit (a fraction)
    double Date = 0;         // day count

    bool operator==(const TBbfRecord&) const = default;
};

// The Planck model in wavelength form, A / ((exp(B / w) - 1) * w^5), w in micrometres and
// B = 14400 / T: what every irradiance of the program is evaluated from and what the fit fits.
inline double PlanckModel(double a, double b, double w) {
    return a / ((std::exp(b / w) - 1.0) * w * w * w * w * w);
}

// The black-body irradiance of a record at the wavelength w (micrometres), with 14400 micrometre
// kelvin for the second radiation constant.
inline double BlackBodyIrradiance(const TBbfRecord& record, double w) {
    return PlanckModel(record.Factor, 14400.0 / record.Temperature, w);
}

// A record fit to serve as a lamp's standard: a finite, non-zero temperature, factor and distance.
bool IsUsableStandard(const TBbfRecord& record);

// One line of a BBF file, and the record it holds, if it holds one. The remark is the rest of
// the line after the date without the two blanks the writer puts there, so a remark survives
// any number of rewrites unchanged. Dates are whole days: a fraction is rounded away on reading.
std::string FormatBbfLine(const TBbfRecord& record);
bool ParseBbfLine(std::string_view line, TBbfRecord& record);

// A lamp's black-body records over time, its BBF file, and the record in use.
class TBbf {
  public:
    // No file, no records; the current record is all zeros, dated today (a day count).
    explicit TBbf(double today);

    // Attaches the BBF file at path: reads its records, sorts them by date (one per date),
    // rewrites the file and makes the latest record current. False, with the file not attached
    // ("File <path> not found." in the log), when it cannot be read or holds no complete record;
    // such a file is not rewritten. Lines that are not records are kept, in their order, after
    // the records.
    bool Load(const std::string& path, const TReport& report);
    // Makes current the latest record dated strictly before t, or the earliest one when none is.
    // Nothing changes without records.
    void SelectForDate(double t);
    // Attaches a BBF file at path holding the current record, together with whatever a failed
    // load found in it, so nothing that file held is lost.
    void CreateFile(const std::string& path, const TReport& report);
    // The irradiance of the current record at the wavelength w (micrometres).
    double IrradianceAt(double w) const { return BlackBodyIrradiance(Current, w); }

    // Fits a black body to the table's points from 0.2895 to 0.4 micrometres and makes it the
    // current record (distance of the table; date and remark kept). With create, a BBF file is
    // made beside the IRR file when none is attached. Without a usable fit nothing changes.
    enum class TFit { Fitted, TooFewPoints, Failed };
    TFit FitFromIrr(const TIrr& table, bool create, const TReport& report, std::mt19937& random);

    // Sorts the records by date; of records with the same date the one read last stays.
    void SortRecords();
    // Writes the records and the kept lines to the file ("Updating <path>." in the log).
    void Rewrite(const TReport& report);

    std::string FileName;  // empty while no file is attached
    std::vector<TBbfRecord> Records;
    TBbfRecord Current;
    // Lines of the file that are not records (headings, comments), kept to be written back.
    std::vector<std::string> OtherLines;

  private:
    // Writes the whole file at once; on failure logs "File <path> could not be saved.", tells
    // the operator and forgets the path.
    bool WriteFile(const TReport& report);
};

}  // namespace uvlamp
