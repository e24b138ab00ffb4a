#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "irradiance/Irr.h"
#include "scans/File.h"
#include "scans/Lamp.h"

namespace uvlamp {

class TOperator;
class TProgram;

// More points than any response file needs by far; a typing slip must not run for ever or take
// all the memory.
inline constexpr int kMaxOutputGridPoints = 100000;

// The wavelengths of a saved response, in micrometres: start, start + step, ... (in angstroms,
// summed by repeated addition) while the sum does not exceed end; entry 0 holds the count. Empty
// for a step of 0 or less, a bound that is not finite, or more than kMaxOutputGridPoints points.
std::optional<TGrid> OutputGrid(double start, double step, double end);

// The grid from the three edit texts (angstroms, any decimal number). A text that is not a
// number, or a grid OutputGrid refuses, is told to the operator and gives nothing.
std::optional<TGrid> ReadOutputGrid(std::string_view startText, std::string_view endText,
                                    std::string_view stepText, TOperator& op);

// The names of the files a save writes, from the name chosen in the dialog.
struct TResponseFileNames {
    std::string Response;             // name, or name + "_tc"
    std::string Log;                  // name + ".log", or name + ".log_tc"
    std::string Temperature;          // name + ".tc"; empty without temperature files
    std::string RelativeTemperature;  // name + ".tc.relative"; empty without
};
TResponseFileNames ResponseFileNames(const std::string& chosen, bool temperatureSpread);

// The lamp the log's columns are relative to: the lamp at the index chosen, or, when there is no
// such lamp or it has no response averaged into this one, the first lamp in list order that has.
// Null when no lamp has.
const TLamp* ResponseLogReference(const TLampList& lamps, int index, const TScan& response);

// The texts of the response file (the smoothed response on the grid, "%7.0f %9.3f" per point) and
// of the response log (the files and lamps used, every selected scan, and the table of the
// response, its smoothed curve and each lamp against the reference lamp). Smoothing the response
// at its own wavelengths sets its SplitIndex from them.
struct TResponseTexts {
    std::string Response;
    std::string Log;
};
TResponseTexts WriteResponseAndLog(TScan& response, const TGrid& grid, int referenceIndex,
                                   const TLampList& lamps, const TFileList& files,
                                   const std::string& irrDirectory,
                                   const std::filesystem::path& diagnostics = "out.dat");

struct TResponseSave {
    bool Saved = false;                // every file was written
    std::vector<std::string> Written;  // the files written, in order; none unless Saved
};

// The save button's work after the response has been calculated: asks for the file name (in the
// scan directory), logs the two "saved to" lines and writes the response file, the log and, when
// the temperatures spread, the two temperature files. The files are replaced together: when one
// cannot be written it is told to the operator by name and none of them changes.
// Nothing happens without a response or when the dialog is cancelled.
TResponseSave SaveResponseFiles(TProgram& program, TOperator& op, const TGrid& grid,
                                int referenceIndex);

}  // namespace uvlamp
