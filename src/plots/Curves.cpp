#include "plots/Curves.h"

#include <algorithm>
#include <cmath>

#include "response/Smoothing.h"
#include "scans/File.h"
#include "shell/DayCount.h"
#include "shell/Format.h"

namespace uvlamp {

namespace {

// Scans keep micrometres; the graphs label wavelengths in angstroms.
double Angstroms(double micrometres) {
    return micrometres * 10000;
}

// The wavelength of the lamp history: the point every lamp scan is compared at.
constexpr double kHistoryWavelength = 0.325;

// UTF-8 bytes of the degree sign, spelled out so that no execution character set can change them.
constexpr const char* kDegree = "\xC2\xB0";

std::vector<TPlotPoint> ArrayCurve(const TScan& scan, const TPointArray& values) {
    std::vector<TPlotPoint> points;
    points.reserve(static_cast<std::size_t>(std::max(scan.NPoints, 0)));
    for (int i = 1; i <= scan.NPoints; ++i) {
        const double x = Angstroms(scan.Wavelength[i]);
        const double y = values[i];
        if (std::isfinite(x) && std::isfinite(y)) {
            points.push_back({x, y});
        }
    }
    return points;
}

// The range of one coordinate of the points (&TPoint::Y or &TPoint::X).
template <class TPoint>
std::optional<TAxisRange> RangeOf(const std::vector<TPoint>& points, double TPoint::*coordinate) {
    std::optional<TAxisRange> range;
    for (const TPoint& p : points) {
        const double v = p.*coordinate;
        // A value without a number has no place on the axis and must not poison the comparison.
        if (!std::isfinite(v)) {
            continue;
        }
        if (!range) {
            range = TAxisRange{v, v};
        } else {
            range->Min = std::min(range->Min, v);
            range->Max = std::max(range->Max, v);
        }
    }
    return range;
}

// The history's value of one scan: Counts at its first point at exactly 3250 Å, else at its last
// point; NaN for a scan without points.
double HistoryValue(const TScan& scan) {
    if (scan.NPoints < 1) {
        return std::nan("");
    }
    for (int i = 1; i <= scan.NPoints; ++i) {
        if (scan.Wavelength[i] == kHistoryWavelength) {
            return scan.Counts[i];
        }
    }
    return scan.Counts[scan.NPoints];
}

// "12320 (25°C)": day of year, two-digit year and the rounded temperature.
std::string ScanDayAndTemperature(const TScan& scan) {
    return FormatFloat("###", scan.JulianDay) + FormatDateTime("yy", scan.DateTime) + " (" +
           FormatFloat("##", scan.Temperature) + kDegree + "C)";
}

// A source's points as a ratio to the reference. The scratch scan is made with the source's own
// point count, so that copying never reads past the source's end, and without Resize, so that the
// lamp it names keeps its count. A source on other wavelengths is first smoothed onto the
// reference's; that writes the grid's SplitIndex, so the grid is the caller's private copy.
std::vector<TPlotPoint> RatioCurve(const TScan& source, TLamp* lamp, TFile* file,
                                   const TScan& reference, TScan& grid) {
    TScan scratch(source.NPoints, lamp, file);
    scratch.CopyFrom(source);
    if (!SameGrid(scratch, reference)) {
        SmoothOnGrid(scratch, grid);
    }
    RatioToScan(scratch, reference, false);
    return CountsCurve(scratch);
}

}  // namespace

std::vector<TPlotPoint> CountsCurve(const TScan& scan) {
    return ArrayCurve(scan, scan.Counts);
}

std::vector<TPlotPoint> TCoefCurve(const TScan& scan) {
    return ArrayCurve(scan, scan.TCoef);
}

TRgb DeviationColour(double deviationPercent) {
    const double magnitude = std::fabs(deviationPercent);
    if (magnitude <= 1) {
        return kGreen;
    }
    if (magnitude <= 5) {
        return kYellow;
    }
    return kRed;  // NaN fails both comparisons and lands here
}

std::vector<TBubble> DeviationBubbles(const TScan& scan) {
    std::vector<TBubble> bubbles;
    for (int i = 1; i <= scan.NPoints; ++i) {
        const double x = Angstroms(scan.Wavelength[i]);
        const double y = scan.Counts[i];
        // The deviation in counts; a negative count must still give a circle.
        const double radius = std::fabs(scan.Deviation[i] * scan.Counts[i] / 100);
        if (std::isfinite(x) && std::isfinite(y) && std::isfinite(radius)) {
            bubbles.push_back({x, y, radius, DeviationColour(scan.Deviation[i])});
        }
    }
    return bubbles;
}

std::vector<TColouredPoint> DeviationPoints(const TScan& scan) {
    std::vector<TColouredPoint> points;
    for (int i = 1; i <= scan.NPoints; ++i) {
        const double x = Angstroms(scan.Wavelength[i]);
        const double y = scan.Counts[i];
        if (std::isfinite(x) && std::isfinite(y)) {
            points.push_back({x, y, DeviationColour(scan.Deviation[i])});
        }
    }
    return points;
}

std::optional<TAxisRange> YRange(const std::vector<TPlotPoint>& points) {
    return RangeOf(points, &TPlotPoint::Y);
}

std::optional<TAxisRange> YRange(const std::vector<TColouredPoint>& points) {
    return RangeOf(points, &TColouredPoint::Y);
}

std::optional<TAxisRange> XRange(const std::vector<TPlotPoint>& points) {
    return RangeOf(points, &TPlotPoint::X);
}

std::optional<TAxisRange> Union(std::optional<TAxisRange> a, std::optional<TAxisRange> b) {
    if (!a) {
        return b;
    }
    if (!b) {
        return a;
    }
    return TAxisRange{std::min(a->Min, b->Min), std::max(a->Max, b->Max)};
}

TAxisRange PaddedRange(TAxisRange data) {
    TAxisRange padded{data.Min - 0.05 * std::fabs(data.Min), data.Max + 0.05 * std::fabs(data.Max)};
    if (padded.Min == padded.Max) {
        padded = {-1, 1};
    }
    return padded;
}

TAxisRange ResponseAxisRange(TAxisRange data) {
    TAxisRange range;
    range.Min = data.Min > 0.97 ? 0.97 : data.Min - 0.03 * std::fabs(data.Min);
    range.Max = data.Max < 1.03 ? 1.03 : data.Max + 0.03 * std::fabs(data.Max);
    return range;
}

std::vector<TPlotPoint> LampHistory(const TLamp& lamp) {
    std::vector<TPlotPoint> points;
    if (lamp.Scans.empty()) {
        return points;
    }
    double first = HistoryValue(*lamp.Scans.front());
    if (first == 0) {
        first = 1;
    }
    for (const auto& scan : lamp.Scans) {
        const double value = HistoryValue(*scan) / first;
        if (std::isfinite(value) && std::isfinite(scan->DateTime)) {
            points.push_back({scan->DateTime, value});
        }
    }
    return points;
}

std::string RelativeScanTitle(const TScan& scan, const TScan& reference, bool perDegree) {
    const std::string instrument = scan.File != nullptr ? scan.File->Instrument : std::string();
    const std::string lamp = scan.Lamp != nullptr ? scan.Lamp->Name : std::string();
    std::string title = "Brewer #" + instrument + " with lamp " + lamp + "\n" + "Scan from day " +
                        ScanDayAndTemperature(scan) + " relative to scan from day " +
                        ScanDayAndTemperature(reference);
    if (perDegree) {
        title += "\nChange per degree.";
    }
    return title;
}

TRgb LampColour(std::size_t position) {
    return LampColours[position % LampColours.size()];
}

std::string LampSeriesTitle(const TLamp& lamp) {
    // The small lamps are measured close to the instrument, the large ones at 50 cm.
    return lamp.Name + (lamp.Average.Distance < 10 ? " (50W)" : " (1000W)");
}

std::string ResponseGraphTitle(TResponseMode mode, const std::string& instrumentNumber,
                               const std::string& reference) {
    const std::string start = "Response for #" + instrumentNumber;
    switch (mode) {
        case TResponseMode::Lamp:
            return start + " relative to lamp " + reference;
        case TResponseMode::File:
            return start + " relative to " + reference;
        case TResponseMode::Average:
            return start + " relative to average.";
        case TResponseMode::None:
            break;
    }
    return start + ", absolute values.";
}

TResponsePlot ResponseCurves(const TLampList& lamps, const TScan& response,
                             const TScan* reference) {
    TResponsePlot plot;
    if (reference == nullptr) {
        plot.LeftTitle = "Counts per second";
        plot.LabelPattern = "#######";
        plot.Curves.push_back({"Avg", kRed, CountsCurve(response)});
        for (std::size_t k = 0; k < lamps.size(); ++k) {
            const TLamp& lamp = *lamps[k];
            if (lamp.Response != nullptr) {
                plot.Curves.push_back(
                    {LampSeriesTitle(lamp), LampColour(k), CountsCurve(*lamp.Response)});
            }
        }
    } else {
        plot.LeftTitle = "Ratio";
        plot.LabelPattern = "#0.000";
        // Smoothing onto the reference's wavelengths writes the grid's SplitIndex: the caller's
        // reference stays as it was, only this copy takes it.
        TScan grid(*reference);
        TLamp* firstLamp = lamps.empty() ? nullptr : lamps.front().get();
        plot.Curves.push_back(
            {"Avg", kRed, RatioCurve(response, firstLamp, response.File, *reference, grid)});
        for (std::size_t k = 0; k < lamps.size(); ++k) {
            TLamp& lamp = *lamps[k];
            if (lamp.Response != nullptr) {
                plot.Curves.push_back(
                    {LampSeriesTitle(lamp), LampColour(k),
                     RatioCurve(*lamp.Response, &lamp, response.File, *reference, grid)});
            }
        }
    }

    std::optional<TAxisRange> values;
    for (const TResponseCurve& curve : plot.Curves) {
        values = Union(values, YRange(curve.Points));
    }
    plot.Range = ResponseAxisRange(values.value_or(TAxisRange{1, 1}));
    return plot;
}

}  // namespace uvlamp
