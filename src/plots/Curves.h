#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scans/Lamp.h"

// What the graphs show, computed without any drawing: the points of each curve, their colours,
// the axis ranges and the titles. The window only hands these to its charts.
namespace uvlamp {

// A colour as 0xRRGGBB.
using TRgb = std::uint32_t;
inline constexpr TRgb kBlue = 0x0000FF;
inline constexpr TRgb kGreen = 0x008000;
inline constexpr TRgb kYellow = 0xFFFF00;
inline constexpr TRgb kRed = 0xFF0000;

struct TPlotPoint {
    double X = 0;
    double Y = 0;
};

struct TColouredPoint {
    double X = 0;
    double Y = 0;
    TRgb Colour = 0;
};

// A circle around (X, Y) whose radius is in units of the vertical axis.
struct TBubble {
    double X = 0;
    double Y = 0;
    double Radius = 0;
    TRgb Colour = 0;
};

struct TAxisRange {
    double Min = 0;
    double Max = 1;
};

// (wavelength in angstroms, Counts i) for i = 1 to NPoints. Points whose value is not a finite
// number (a ratio with no reference value) are left out: they have no place on an axis.
std::vector<TPlotPoint> CountsCurve(const TScan& scan);
// (wavelength in angstroms, TCoef i) for i = 1 to NPoints, non-finite values left out.
std::vector<TPlotPoint> TCoefCurve(const TScan& scan);

// The class of a point's deviation from its lamp's average, from the magnitude of the deviation
// in percent: green up to 1, yellow above 1 up to 5, red above 5 (and red for no number at all).
TRgb DeviationColour(double deviationPercent);
// One bubble per point: at (wavelength in angstroms, Counts i), radius |Deviation i| x Counts i /
// 100 (the deviation in counts), coloured by its class. Points without finite values are left
// out.
std::vector<TBubble> DeviationBubbles(const TScan& scan);
// One point per point of the scan at (wavelength in angstroms, Counts i), coloured by its class.
// Points without a finite place are left out; a deviation without a number is red.
std::vector<TColouredPoint> DeviationPoints(const TScan& scan);

// The lowest and highest Y (X) of the points; empty when there is none.
std::optional<TAxisRange> YRange(const std::vector<TPlotPoint>& points);
std::optional<TAxisRange> YRange(const std::vector<TColouredPoint>& points);
std::optional<TAxisRange> XRange(const std::vector<TPlotPoint>& points);
// The smallest range holding both; either may be empty.
std::optional<TAxisRange> Union(std::optional<TAxisRange> a, std::optional<TAxisRange> b);
// A data range widened outward by 5 % of each end's magnitude, so that every point stays inside
// also for negative values (min - 5 % of |min|, max + 5 % of |max|). A range that is still empty
// (all values 0) becomes -1 to 1.
TAxisRange PaddedRange(TAxisRange data);
// The response graph's rule: the axis spans at least 0.97 to 1.03; an end beyond those is widened
// outward by 3 % of its magnitude.
TAxisRange ResponseAxisRange(TAxisRange data);

// The lamp history: for each of the lamp's scans, in list order and selected or not, the point
// (DateTime as a day count, Counts at the scan's first point at exactly 3250 A, or at its last
// point when it has none, divided by the first scan's value there). A first value of exactly 0
// counts as 1, so the history then shows raw counts. Scans whose value is not a finite number
// are left out.
std::vector<TPlotPoint> LampHistory(const TLamp& lamp);

// The title of the relative scan graph, its lines joined by "\n" (UTF-8, with the degree sign):
//   "Brewer #137 with lamp L1031"
//   "Scan from day 12320 (25°C) relative to scan from day 12420 (°C)"
//   "Change per degree."   (only per degree)
// The day is the day of the year without leading zeros followed by the two-digit year; the
// temperature is rounded to a whole number and shown empty when it rounds to 0.
std::string RelativeScanTitle(const TScan& scan, const TScan& reference, bool perDegree);

// The colours of the lamps on the response graph, by position in the lamp list.
inline constexpr std::array<TRgb, 24> LampColours{
    0x0000FF, 0x008000, 0x00FF00, 0x800080, 0x008080, 0xFFFF00, 0x808000, 0xFF00FF,
    0x0000FF, 0x008000, 0x00FF00, 0x800080, 0x008080, 0xFFFF00, 0x808000, 0xFF00FF,
    0x0000FF, 0x008000, 0x00FF00, 0x800080, 0x008080, 0xFFFF00, 0x808000, 0xFF00FF};
// The colour of the lamp at a position; positions 24 and beyond start the cycle again.
TRgb LampColour(std::size_t position);
// The series title of a lamp: its name and " (1000W)", or " (50W)" when its average was measured
// at less than 10 cm.
std::string LampSeriesTitle(const TLamp& lamp);

// What the response graph is drawn relative to.
enum class TResponseMode { Lamp, File, Average, None };
// "Response for #137 relative to lamp L1031", "... relative to resp.137" (the file's name without
// its directory), "... relative to average.", "Response for #137, absolute values."
std::string ResponseGraphTitle(TResponseMode mode, const std::string& instrumentNumber,
                               const std::string& reference);

struct TResponseCurve {
    std::string Title;
    TRgb Colour = 0;
    std::vector<TPlotPoint> Points;
};

struct TResponsePlot {
    std::string LeftTitle;     // "Ratio" or "Counts per second"
    std::string LabelPattern;  // "#0.000" or "#######"
    // "Avg" in red first, then one curve per lamp with a response, in list order.
    std::vector<TResponseCurve> Curves;
    TAxisRange Range;  // ResponseAxisRange of all the curves' values
};

// The response and each lamp's response, as counts or, with a reference, as ratios to it. A
// response on other wavelengths than the reference is first smoothed onto the reference's
// wavelengths; the reference itself is never changed.
TResponsePlot ResponseCurves(const TLampList& lamps, const TScan& response, const TScan* reference);

}  // namespace uvlamp
