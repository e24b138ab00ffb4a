#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "irradiance/Irr.h"
#include "scans/Lamp.h"

namespace uvlamp {

class TOperator;
class TProgram;

// What the "Make irradiance file(s)" controls hold.
struct TTransferRequest {
    bool UsingAverage = false;  // "For lamp" (one lamp from the others) rather than "Using lamp"
    int ReferenceIndex = -1;    // the lamp chosen for "Using lamp", -1 for none
    int TargetIndex = -1;       // the lamp chosen for "For lamp", -1 for none
    std::string StartText = "2865";  // grid, in angstroms
    std::string EndText = "3635";
    std::string StepText = "35";
    std::string DistanceText = "50";  // cm
    std::string Folder;               // where the new IRR files go; empty for the current folder
};

// Where a transfer puts its files.
struct TTransferOutput {
    TGrid Grid;
    double Distance = 50;  // cm, the distance the written values hold for
    std::string Folder;
};

struct TTransferResult {
    std::vector<std::string> Written;  // paths of the IRR files written, in order
};

// The grid from the three texts (whole numbers of angstroms): N = (end - start) / step + 1
// points from start in steps of step, truncated toward zero. Empty when a text is not a whole
// number, the step is 0 or N is below 0 or unreasonably large.
std::optional<TGrid> BuildIrrGrid(std::string_view start, std::string_view end,
                                  std::string_view step);
// A distance text: a positive number of centimetres, or empty.
std::optional<double> ParseIrrDistance(std::string_view text);

// "LAMP" + target + "_(" + reference + ").irr", the names made safe for a file name.
std::string TransferFileName(const std::string& target, const std::string& reference);
// "LAMP" + target + "_(avg" + "_" + reference ... + ").irr".
std::string AverageTransferFileName(const std::string& target,
                                    const std::vector<std::string>& references);

// The calculation button: checks the chosen lamp, the grid and the distance (telling the operator
// what is wrong and doing nothing), then transfers in the chosen mode.
TTransferResult CalculateIrradiance(TProgram& program, TOperator& op,
                                    const TTransferRequest& request);

// A new IRR file for every other lamp with selected scans, from the lamp at referenceIndex.
TTransferResult TransferFromLamp(TProgram& program, TOperator& op, int referenceIndex,
                                 const TTransferOutput& output);
// One new IRR file for the lamp at targetIndex, from the average over every other lamp with
// selected scans and an irradiance standard, each used as a reference.
TTransferResult TransferFromAverage(TProgram& program, TOperator& op, int targetIndex,
                                    const TTransferOutput& output);
// The target's new table against one reference (its averaged counts over the reference's, times
// the reference's irradiance), fitted, stored in the target's NewIrr and, with write, written.
// True when a table was made and fitted.
bool TransferToLamp(TProgram& program, TOperator& op, TLamp& target, const TLamp& reference,
                    const TTransferOutput& output, bool write, TTransferResult& result);

}  // namespace uvlamp
