#pragma once

#include <string>

namespace uvlamp {

class TScan;
class TTextReader;

// The parts of a UL or XL record. Each returns false instead of letting an error escape: a record
// that fails is rejected and ends the reading of its file.

// The header: integration time (the one field that must be there), dead time, cycles, point
// count, lamp name (returned in lampName), distance, date, comment line, readings and "pr".
// Resizes the scan to the point count, which must be 1 to 2000.
bool ReadScanHeader(TScan& scan, TTextReader& f, std::string& lampName);
// "DARK" and the points in increasing order, then the conversion to count rates.
bool ReadScanData(TScan& scan, TTextReader& f);
// "DARK" and the points listed from the last to the first, then the conversion.
bool ReadScanDataReversed(TScan& scan, TTextReader& f);
// Raw counts to count rates at 50 cm: dark subtracted, per second, dead-time corrected. False
// when there are no cycles or no integration time, or a rate comes out not finite.
bool ConvertToCountRate(TScan& scan);

}  // namespace uvlamp
