#pragma once

#include <memory>
#include <string>
#include <vector>

#include "scans/Lamp.h"

namespace uvlamp {

class TOperator;
class TProgram;

// A lamp that contributes to the response: it has selected scans and a response.
bool IsContributing(const TLamp& lamp);

// True when a lamp's response can be averaged point by point with the response scan: it has at
// least the response's points, with exactly the same wavelengths.
bool SharesWavelengths(const TScan& lampResponse, const TScan& response);

struct TAverageResult {
    bool Made = false;
    // Contributing lamps left out because their wavelengths differ from those of the first
    // contributing lamp (or they have fewer points), in list order.
    std::vector<const TLamp*> NotAveraged;
    const TLamp* Baseline = nullptr;  // the lamp whose wavelengths the others were matched to
};

// Makes a new response scan from the lamps: the mean of the averaged lamps' responses point by
// point, with the mean temperature slope, value at 25 degrees and temperature coefficient, and
// the two temperature-coefficient fits. The first lamp of the list fixes the point count, the
// owning lamp and the file; the wavelengths and SplitIndex come from the last averaged lamp.
// An empty list or a first lamp without points leaves the reference as it was; no contributing
// lamp empties it.
TAverageResult AverageResponse(const TLampList& lamps, std::unique_ptr<TScan>& response);

// What a response calculation did, for the front ends to show.
struct TResponseCalculation {
    bool Made = false;
    std::vector<std::string> NotAveraged;  // names of the lamps left out of the mean
    std::string Baseline;                  // the lamp whose wavelengths they differ from
};

// The calculation button's work: looks up and applies every lamp's irradiance standard afresh,
// averages into the program's CurrentResponse and logs "\t\tResponse calculated." (after a line
// for each lamp left out of the mean).
TResponseCalculation CalculateResponse(TProgram& program, TOperator& op);

}  // namespace uvlamp
