#pragma once

#include <array>
#include <string>
#include <string_view>

#include "scans/Scan.h"

namespace uvlamp {

// True when the response's lamp (the first lamp of the list) has selected scans whose
// temperatures spread over more than 10 degrees: only then are temperature files written.
bool HasTemperatureSpread(const TScan& response);

// Fits the response's temperature coefficient (TCoef, percent per degree) against the normalised
// wavelength: a cubic over the first range into Coef block 2, a straight line over the second
// into block 3.
void FitTemperatureCoefficient(TScan& response);

// The temperature correction of a response, taken from it before a save smooths it: the cubic
// below the switch wavelength, the straight line at and above it. The switch is 0.325 micrometres
// when the second range starts below 0.33, otherwise 0.35. A response with a single range (or
// whose second range gave the line no point) uses the cubic everywhere; one whose first range
// gave the cubic no point uses the line everywhere.
struct TTemperatureFit {
    std::array<double, 5> Cubic{};   // c1..c4 at [1..4]
    std::array<double, 3> Linear{};  // c1, c2 at [1..2]
    double Switch = 0.35;            // micrometres; infinite or minus infinite as said above
};
TTemperatureFit TemperatureFitOf(const TScan& response);

// The relative change of the response per degree at a wavelength in angstroms.
double TemperatureCorrection(const TTemperatureFit& fit, double angstroms);

// The two temperature files of a response file's text, line by line: "%7.0f %9.3f" with the
// wavelength and the correction times the response, and "%7.0f %11.8f" with the wavelength and
// the correction. Lines of the response text that do not hold two numbers end the files.
struct TTemperatureTexts {
    std::string Absolute;  // the ".tc" file
    std::string Relative;  // the ".tc.relative" file
};
TTemperatureTexts TemperatureFileTexts(std::string_view responseText, const TTemperatureFit& fit);

}  // namespace uvlamp
