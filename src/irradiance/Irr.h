#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "irradiance/Bbf.h"
#include "scans/PointArray.h"

namespace uvlamp {

// A wavelength grid in micrometres: entry 0 holds the number N of points, entries 1..N the
// wavelengths.
using TGrid = std::vector<double>;

inline int GridPoints(const TGrid& grid) {
    return grid.empty() ? 0 : static_cast<int>(grid[0]);
}

// What writing an IRR file came to.
enum class TIrrWrite {
    Written,
    NotFitted,    // the table has no fitted curve to write: nothing is written or reported
    BadDistance,  // the distance is not a positive number: nothing is written
    NotFinite,    // an irradiance on the grid is not a finite number: reported, nothing written
    Declined,     // the file exists and the operator chose not to replace it
    Failed,       // the file could not be written (reported to the operator and logged)
};

// A lamp's certified irradiance table (an IRR file) and the black body fitted to it. The table
// is never interpolated: the lamp's irradiance is always the fitted curve (Bbf.IrradianceAt).
class TIrr {
  public:
    // A table for the IRR file at fileName (empty for a table made by a transfer), with no points
    // and a fresh black-body description dated today (a day count).
    explicit TIrr(std::string fileName, double today);

    // Reads the file named by FileName. When it is missing: the message box "IRR file not
    // found." with the path as caption, the log line "\t\tIRR file <path> not found.", false,
    // and the table as it was. A file that is there but cannot be read (too large, a folder) or
    // has no distance after its header is refused the same way, saying what is wrong.
    bool Read(const TReport& report);
    // The same from the file's text.
    bool ReadText(std::string_view text);

    // Writes the fitted curve on the grid, converted to the distance x (cm), to FileName: the
    // header "lamp" + Name, the distance, one line per grid wavelength. Asks "File already
    // exists. Continue?" before replacing a file. Nothing is written when no fit was made, x
    // is not a positive distance, or a value would not be a finite number (a file that could not
    // be read back).
    TIrrWrite Write(const TGrid& grid, double x, const TReport& report) const;
    // The text Write puts in the file.
    std::string WriteText(const TGrid& grid, double x) const;
    // The irradiance written for the wavelength w (micrometres) at the distance x (cm): the
    // fitted curve, converted from the fit's distance.
    double WrittenIrradiance(double w, double x) const;
    // Makes the table the pairs given (wavelengths in micrometres), in their order.
    void SetPoints(const std::vector<double>& wavelengths, const std::vector<double>& irradiances);

    int NPoints = 0;
    std::string Name;        // the file's header line upper-cased, or the lamp's name
    std::string FileName;    // empty for a table made without a path
    TPointArray Wavelength;  // micrometres
    TPointArray Irradiance;  // the file's own unit
    double Distance = 0;     // cm
    TBbf Bbf;
};

}  // namespace uvlamp
