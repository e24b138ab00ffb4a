#pragma once

#include <array>
#include <filesystem>

#include "scans/Scan.h"

namespace uvlamp {

// The variable of every polynomial over wavelength: x = (w - 0.328) / 0.08, w in micrometres.
double NormalisedWavelength(double w);

// True when the scan's file is of instrument "042" (the last three characters of its name, as
// exact text): that instrument is smoothed with three ranges and higher degrees.
bool IsInstrument042(const TScan& scan);

// What one range of a logarithmic fit used: the coefficients it was fitted with (0 when the range
// was not fitted at all) and the points that entered it (those with counts above 0; a point at
// exactly 3280 Å counts here, though the fit itself skips it), with their lowest and highest
// wavelength.
struct TLogFitRange {
    int Coefficients = 0;
    int Points = 0;
    double Lowest = 0;  // micrometres; meaningful when Points > 0
    double Highest = 0;
};

// The ranges of a logarithmic fit: [0] the first range (block 0 of Coef), [1] the second
// (block 1), [2] the third (block 4, instrument "042" only). A range that was not fitted has no
// points and its block holds zeros.
struct TLogFit {
    std::array<TLogFitRange, 3> Ranges;
};

// Fits ln(Counts) against the normalised wavelength: the first range (points 1 to SplitIndex - 1)
// with a coefficients into Coef block 0, the second (SplitIndex to NPoints) with b coefficients
// into block 1; block 4 is cleared. Points whose counts are 0 or less have no logarithm and are
// left out. The ranges are clipped to the scan's points, whatever SplitIndex holds. Throws
// std::invalid_argument for a coefficient count outside 1..9 (a block holds c1..c9).
TLogFit FitLogSegments(TScan& s, int a, int b);

// The same for instrument "042", with three ranges: the first as above (a coefficients, block 0);
// the second from SplitIndex up to the last point at or below 0.35 micrometres (b coefficients,
// block 1); the third from the last point of the second range (or of the first, when the second
// took none) to NPoints (c coefficients, block 4). Every point that enters a fit is written to
// the diagnostics file as "wavelength x y", the ranges separated by two empty lines; a
// diagnostics file that cannot be written is skipped silently, the fit goes on.
TLogFit FitLogSegments3(TScan& s, int a, int b, int c,
                        const std::filesystem::path& diagnostics = "out.dat");

// Replaces the scratch scan s by its logarithmic fit evaluated at the wavelengths of g: s ends
// with exactly g's points, g's wavelengths and the fitted counts. g's SplitIndex is set to the
// split chosen on its wavelengths: after the last grid point at or below 0.3255 micrometres
// (0.3505 when s's first range ends at or above 0.33; 0.325 for instrument "042"), so that point
// already belongs to the second range. A grid point in a range whose fit had no points takes the
// polynomial of the range nearest in wavelength that had points; with no points anywhere the
// counts are 0. s's lamp keeps its point count.
void SmoothOnGrid(TScan& s, TScan& g, const std::filesystem::path& diagnostics = "out.dat");

// Replaces s's Counts by s / r point by point; with perDegree by (s / r - 1) / dT, dT being the
// temperature difference of the two scans (0.001 when they are equal). Where r has no point or a
// value of 0 the result is NaN: no value.
void RatioToScan(TScan& s, const TScan& r, bool perDegree);

}  // namespace uvlamp
