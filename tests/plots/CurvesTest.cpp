#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "plots/Curves.h"
#include "scans/File.h"
#include "scans/Lamp.h"

namespace uvlamp {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A smooth lamp spectrum: ln(counts) is a quadratic in the normalised wavelength, which both
// ranges of the logarithmic smoothing reproduce, so a smoothed spectrum keeps its values.
double SmoothCounts(double angstrom) {
    const double x = (angstrom / 10000 - 0.328) / 0.08;
    return std::exp(10 + 0.5 * x - 0.8 * x * x);
}

// A scan from first to last (Å) in steps with scale times the smooth spectrum; the second range
// starts after 3255 Å, as on an ordinary instrument.
TScan Spectrum(double first, double last, double step, double scale, TLamp* lamp = nullptr) {
    std::vector<double> angstroms;
    for (double a = first; a <= last; a += step) {
        angstroms.push_back(a);
    }
    TScan s(static_cast<int>(angstroms.size()), lamp, nullptr);
    s.SplitIndex = s.NPoints + 1;
    for (int i = 1; i <= s.NPoints; ++i) {
        const double a = angstroms[static_cast<std::size_t>(i - 1)];
        s.Wavelength[i] = a / 10000;
        s.Counts[i] = scale * SmoothCounts(a);
        if (a > 3255 && s.SplitIndex == s.NPoints + 1) {
            s.SplitIndex = i;
        }
    }
    return s;
}

// A lamp whose response is the scan given; distance is that of its average.
std::unique_ptr<TLamp> LampWithResponse(const std::string& name, const TScan& response,
                                        double distance = 50) {
    auto lamp = std::make_unique<TLamp>(name);
    lamp->NPoints = response.NPoints;
    lamp->Average.Distance = distance;
    lamp->Response = std::make_unique<TScan>(response);
    lamp->Response->Lamp = lamp.get();
    return lamp;
}

std::vector<double> Xs(const std::vector<TPlotPoint>& points) {
    std::vector<double> xs;
    for (const TPlotPoint& p : points) {
        xs.push_back(p.X);
    }
    return xs;
}

std::vector<double> AngstromsOf(const TScan& s) {
    std::vector<double> xs;
    for (int i = 1; i <= s.NPoints; ++i) {
        xs.push_back(s.Wavelength[i] * 10000);
    }
    return xs;
}

// ---- Curves of one scan ----

TEST(DeviationColour, ClassesByMagnitudeWithEachBoundInTheLowerClass) {
    struct TCase {
        double Percent;
        TRgb Colour;
    };
    const TCase cases[] = {
        {0, kGreen},         {1, kGreen},          {-1, kGreen},  // 1 itself is still green
        {1.000001, kYellow}, {-1.000001, kYellow},                // just above 1
        {5, kYellow},        {-5, kYellow},                       // 5 itself is still yellow
        {5.000001, kRed},    {-5.000001, kRed},                   // just above 5
        {kNaN, kRed},        {-kInf, kRed},                       // no magnitude to speak of
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(DeviationColour(c.Percent), c.Colour) << c.Percent;
    }
}

TEST(ScanCurves, PlotInAngstromsAndLeaveOutValuesWithoutANumber) {
    TScan s(4, nullptr, nullptr);
    const double counts[] = {10, kNaN, -kInf, 40};
    const double coefs[] = {kInf, -0.2, 0.3, kNaN};
    for (int i = 1; i <= 4; ++i) {
        s.Wavelength[i] = (2900 + 5 * i) / 10000.0;
        s.Counts[i] = counts[i - 1];
        s.TCoef[i] = coefs[i - 1];
    }

    const std::vector<TPlotPoint> c = CountsCurve(s);
    ASSERT_EQ(c.size(), 2u);
    EXPECT_DOUBLE_EQ(c[0].X, 2905);
    EXPECT_EQ(c[0].Y, 10);
    EXPECT_DOUBLE_EQ(c[1].X, 2920);
    EXPECT_EQ(c[1].Y, 40);

    const std::vector<TPlotPoint> t = TCoefCurve(s);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_DOUBLE_EQ(t[0].X, 2910);
    EXPECT_EQ(t[0].Y, -0.2);
    EXPECT_DOUBLE_EQ(t[1].X, 2915);
    EXPECT_EQ(t[1].Y, 0.3);
}

TEST(ScanCurves, BubblesShowTheDeviationInCountsAndPointsKeepEveryPlaceableValue) {
    TScan s(5, nullptr, nullptr);
    struct TPointData {
        double Counts;
        double Deviation;
    };
    const TPointData data[] = {
        {400, 0.5},     // radius 2, green
        {-200, -3},     // a negative count still gives a circle: radius 6, yellow
        {100, kNaN},    // no radius: no bubble, but a red point
        {kInf, 2},      // nowhere on the axis: neither
        {1000, -12.5},  // radius 125, red
    };
    for (int i = 1; i <= 5; ++i) {
        s.Wavelength[i] = (3000 + 10 * i) / 10000.0;
        s.Counts[i] = data[i - 1].Counts;
        s.Deviation[i] = data[i - 1].Deviation;
    }

    const std::vector<TBubble> bubbles = DeviationBubbles(s);
    ASSERT_EQ(bubbles.size(), 3u);
    EXPECT_DOUBLE_EQ(bubbles[0].X, 3010);
    EXPECT_EQ(bubbles[0].Y, 400);
    EXPECT_DOUBLE_EQ(bubbles[0].Radius, 2);
    EXPECT_EQ(bubbles[0].Colour, kGreen);
    EXPECT_EQ(bubbles[1].Y, -200);
    EXPECT_DOUBLE_EQ(bubbles[1].Radius, 6);
    EXPECT_EQ(bubbles[1].Colour, kYellow);
    EXPECT_DOUBLE_EQ(bubbles[2].X, 3050);
    EXPECT_DOUBLE_EQ(bubbles[2].Radius, 125);
    EXPECT_EQ(bubbles[2].Colour, kRed);

    const std::vector<TColouredPoint> points = DeviationPoints(s);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[1].Colour, kYellow);
    EXPECT_DOUBLE_EQ(points[2].X, 3030);
    EXPECT_EQ(points[2].Y, 100);
    EXPECT_EQ(points[2].Colour, kRed);
    EXPECT_DOUBLE_EQ(points[3].X, 3050);
}

// ---- Axis ranges ----

TEST(AxisRanges, YRangeAndUnionTreatNoPointsAsEmpty) {
    EXPECT_FALSE(YRange(std::vector<TPlotPoint>{}).has_value());
    EXPECT_FALSE(YRange(std::vector<TColouredPoint>{}).has_value());

    const std::optional<TAxisRange> a = YRange(std::vector<TPlotPoint>{{1, 3}, {2, -1}, {3, 2}});
    ASSERT_TRUE(a.has_value());
    EXPECT_EQ(a->Min, -1);
    EXPECT_EQ(a->Max, 3);
    const std::optional<TAxisRange> b =
        YRange(std::vector<TColouredPoint>{{1, 7, kRed}, {2, 5, kGreen}});
    ASSERT_TRUE(b.has_value());
    EXPECT_EQ(b->Min, 5);
    EXPECT_EQ(b->Max, 7);

    const std::optional<TAxisRange> both = Union(a, b);
    ASSERT_TRUE(both.has_value());
    EXPECT_EQ(both->Min, -1);
    EXPECT_EQ(both->Max, 7);
    const std::optional<TAxisRange> left = Union(a, std::nullopt);
    ASSERT_TRUE(left.has_value());
    EXPECT_EQ(left->Max, 3);
    const std::optional<TAxisRange> right = Union(std::nullopt, b);
    ASSERT_TRUE(right.has_value());
    EXPECT_EQ(right->Min, 5);
    EXPECT_FALSE(Union(std::nullopt, std::nullopt).has_value());
}

struct TRangeCase {
    TAxisRange Data;
    TAxisRange Expected;
};

TEST(AxisRanges, PaddedRangeWidensEachEndOutwardByItsMagnitude) {
    const TRangeCase cases[] = {
        {{2, 4}, {1.9, 4.2}},      // positive
        {{-4, -2}, {-4.2, -1.9}},  // negative ends still move outward
        {{-3, 5}, {-3.15, 5.25}},  // across zero
        {{3, 3}, {2.85, 3.15}},    // one value is no empty range
        {{0, 0}, {-1, 1}},         // all zero: nothing to widen
        {{0, 2}, {0, 2.1}},        // a zero end stays
    };
    for (const TRangeCase& c : cases) {
        const TAxisRange r = PaddedRange(c.Data);
        EXPECT_DOUBLE_EQ(r.Min, c.Expected.Min) << c.Data.Min << ".." << c.Data.Max;
        EXPECT_DOUBLE_EQ(r.Max, c.Expected.Max) << c.Data.Min << ".." << c.Data.Max;
    }
}

TEST(AxisRanges, ResponseAxisSpansAtLeastTheBandAroundOne) {
    const TRangeCase cases[] = {
        {{0.99, 1.01}, {0.97, 1.03}},      // inside the band
        {{1, 1}, {0.97, 1.03}},            // one value
        {{0.5, 2}, {0.485, 2.06}},         // both ends beyond the band
        {{1.5, 1.6}, {0.97, 1.648}},       // all above the band: the low end stays
        {{0.2, 0.5}, {0.194, 1.03}},       // all below: the high end stays
        {{-1, -0.5}, {-1.03, 1.03}},       // negative ends still move outward
        {{0.97, 1.03}, {0.9409, 1.0609}},  // the band's own ends are widened
        {{100, 300}, {0.97, 309}},         // counts: the axis still starts at the band
    };
    for (const TRangeCase& c : cases) {
        const TAxisRange r = ResponseAxisRange(c.Data);
        EXPECT_DOUBLE_EQ(r.Min, c.Expected.Min) << c.Data.Min << ".." << c.Data.Max;
        EXPECT_DOUBLE_EQ(r.Max, c.Expected.Max) << c.Data.Min << ".." << c.Data.Max;
    }
}

// ---- Lamp history ----

// Appends a scan of the wavelengths (Å) and counts given, dated day.
void AddScan(TLamp& lamp, const std::vector<double>& angstroms, const std::vector<double>& counts,
             double day) {
    auto s = std::make_unique<TScan>(static_cast<int>(angstroms.size()), &lamp, nullptr);
    for (int i = 1; i <= s->NPoints; ++i) {
        s->Wavelength[i] = angstroms[static_cast<std::size_t>(i - 1)] / 10000;
        s->Counts[i] = counts[static_cast<std::size_t>(i - 1)];
    }
    s->DateTime = day;
    lamp.Scans.push_back(std::move(s));
}

TEST(LampHistory, DividesByTheFirstScanAtExactly3250OrTheLastPoint) {
    TLamp lamp("L1");
    AddScan(lamp, {3200, 3250, 3300}, {1, 200, 3}, 40000);  // the reference, selected or not
    lamp.Scans.back()->Selected = false;
    AddScan(lamp, {3200, 3250, 3250, 3300}, {9, 300, 7, 9}, 40001);  // the first 3250 counts
    AddScan(lamp, {3200, 3250.5, 3300}, {9, 9, 100}, 40002);  // nothing exactly at 3250: last
    AddScan(lamp, {}, {}, 40003);                             // no points: left out
    AddScan(lamp, {3200, 3250, 3300}, {1, kNaN, 3}, 40004);   // no value: left out
    AddScan(lamp, {3200, 3250, 3300}, {1, 250, 3}, 40005);
    // The readers' other spelling of 3250 Å.
    lamp.Scans.back()->Wavelength[2] = 0.325;

    const std::vector<TPlotPoint> h = LampHistory(lamp);
    ASSERT_EQ(h.size(), 4u);
    EXPECT_EQ(h[0].X, 40000);
    EXPECT_EQ(h[0].Y, 1);
    EXPECT_EQ(h[1].X, 40001);
    EXPECT_EQ(h[1].Y, 1.5);
    EXPECT_EQ(h[2].X, 40002);
    EXPECT_EQ(h[2].Y, 0.5);
    EXPECT_EQ(h[3].X, 40005);
    EXPECT_EQ(h[3].Y, 1.25);
}

TEST(LampHistory, AFirstValueOfZeroShowsRawCounts) {
    TLamp lamp("L1");
    AddScan(lamp, {3200, 3250, 3300}, {5, 0, 5}, 40000);
    AddScan(lamp, {3200, 3250, 3300}, {5, 480, 5}, 40010);
    AddScan(lamp, {3200, 3300}, {5, 520}, 40020);  // no 3250 point: its last point

    const std::vector<TPlotPoint> h = LampHistory(lamp);
    ASSERT_EQ(h.size(), 3u);
    EXPECT_EQ(h[0].Y, 0);
    EXPECT_EQ(h[1].Y, 480);
    EXPECT_EQ(h[2].X, 40020);
    EXPECT_EQ(h[2].Y, 520);

    EXPECT_TRUE(LampHistory(TLamp("empty")).empty());
}

// ---- Titles ----

TEST(RelativeScanTitle, NamesInstrumentLampDaysAndRoundedTemperatures) {
    TFile file;
    file.SetName("QL12320.137");
    TLamp lamp("L1031");
    TScan scan(3, &lamp, &file);
    scan.SetDate(2, 5, 2020, 10, 0, 0);  // day 123
    scan.Temperature = 24.6;
    TScan reference(3, &lamp, &file);
    reference.SetDate(3, 5, 2020, 11, 0, 0);
    reference.Temperature = 0.3;  // rounds to 0, shown as nothing

    EXPECT_EQ(RelativeScanTitle(scan, reference, true),
              "Brewer #137 with lamp L1031\n"
              "Scan from day 12320 (25°C) relative to scan from day 12420 (°C)\n"
              "Change per degree.");

    // A day without leading zeros, a negative temperature, and a scan from no file of no lamp.
    TScan derived(3, nullptr, nullptr);
    derived.SetDate(5, 1, 2021, 0, 0, 0);
    derived.Temperature = -3.4;
    EXPECT_EQ(RelativeScanTitle(derived, scan, false),
              "Brewer # with lamp \n"
              "Scan from day 521 (-3°C) relative to scan from day 12320 (25°C)");
}

// ---- The response graph ----

TEST(ResponseCurves, WithoutReferenceShowsCountsColouredByListPosition) {
    const TScan response = Spectrum(2900, 3000, 50, 1);
    TLampList lamps;
    lamps.push_back(std::make_unique<TLamp>("noresponse"));
    lamps.push_back(LampWithResponse("small", Spectrum(2900, 3000, 50, 2), 9.99));
    lamps.push_back(LampWithResponse("large", Spectrum(2900, 2950, 50, 3), 10));

    const TResponsePlot plot = ResponseCurves(lamps, response, nullptr);
    EXPECT_EQ(plot.LeftTitle, "Counts per second");
    EXPECT_EQ(plot.LabelPattern, "#######");
    ASSERT_EQ(plot.Curves.size(), 3u);
    EXPECT_EQ(plot.Curves[0].Title, "Avg");
    EXPECT_EQ(plot.Curves[0].Colour, kRed);
    ASSERT_EQ(plot.Curves[0].Points.size(), 3u);
    EXPECT_DOUBLE_EQ(plot.Curves[0].Points[2].X, 3000);
    EXPECT_EQ(plot.Curves[0].Points[2].Y, SmoothCounts(3000));
    // The lamp without a response has no curve but keeps its place in the colour cycle.
    EXPECT_EQ(plot.Curves[1].Title, "small (50W)");
    EXPECT_EQ(plot.Curves[1].Colour, LampColours[1]);
    EXPECT_EQ(plot.Curves[1].Points.size(), 3u);
    EXPECT_EQ(plot.Curves[2].Title, "large (1000W)");
    EXPECT_EQ(plot.Curves[2].Colour, LampColours[2]);
    ASSERT_EQ(plot.Curves[2].Points.size(), 2u);
    EXPECT_EQ(plot.Curves[2].Points[1].Y, 3 * SmoothCounts(2950));

    // Counts lie far above the band: only the high end follows them.
    const double high = 3 * std::max(SmoothCounts(2900), SmoothCounts(2950));
    EXPECT_EQ(plot.Range.Min, 0.97);
    EXPECT_DOUBLE_EQ(plot.Range.Max, 1.03 * high);

    EXPECT_EQ(LampColour(24), LampColour(0));
    EXPECT_EQ(LampColour(31), LampColours[7]);
}

TEST(ResponseCurves, RelativeToTheAverageItIsOneAndEachLampItsRatio) {
    // Uneven values on the response's own grid: nothing is smoothed, every ratio is exact.
    TScan response(5, nullptr, nullptr);
    for (int i = 1; i <= 5; ++i) {
        response.Wavelength[i] = (3000 + 10 * i) / 10000.0;
        response.Counts[i] = 100 + 7 * i * i;
    }
    response.SplitIndex = 6;
    TLampList lamps;
    TScan a(response);
    TScan b(response);
    for (int i = 1; i <= 5; ++i) {
        a.Counts[i] = 90 + 3 * i;
        b.Counts[i] = 130 - i;
    }
    lamps.push_back(LampWithResponse("A", a));
    lamps.push_back(LampWithResponse("B", b));

    const TResponsePlot plot = ResponseCurves(lamps, response, &response);
    EXPECT_EQ(plot.LeftTitle, "Ratio");
    EXPECT_EQ(plot.LabelPattern, "#0.000");
    ASSERT_EQ(plot.Curves.size(), 3u);
    EXPECT_EQ(plot.Curves[0].Title, "Avg");
    EXPECT_EQ(plot.Curves[0].Colour, kRed);
    EXPECT_EQ(plot.Curves[2].Title, "B (1000W)");
    EXPECT_EQ(plot.Curves[2].Colour, LampColours[1]);
    double low = 1;
    double high = 1;
    for (std::size_t k = 0; k < 3; ++k) {
        const std::vector<TPlotPoint>& p = plot.Curves[k].Points;
        ASSERT_EQ(p.size(), 5u) << k;
        for (int i = 1; i <= 5; ++i) {
            const double expected =
                k == 0 ? 1.0 : (k == 1 ? a.Counts[i] : b.Counts[i]) / response.Counts[i];
            EXPECT_DOUBLE_EQ(p[static_cast<std::size_t>(i - 1)].X, 3000 + 10 * i);
            EXPECT_EQ(p[static_cast<std::size_t>(i - 1)].Y, expected) << k << " " << i;
            low = std::min(low, expected);
            high = std::max(high, expected);
        }
    }
    const TAxisRange range = ResponseAxisRange({low, high});
    EXPECT_EQ(plot.Range.Min, range.Min);
    EXPECT_EQ(plot.Range.Max, range.Max);
    // The lamps' own responses are left as they were.
    EXPECT_EQ(lamps[0]->Response->Counts[3], a.Counts[3]);
    EXPECT_EQ(lamps[1]->Response->NPoints, 5);
}

TEST(ResponseCurves, AReferenceOnOtherWavelengthsGetsEveryCurveSmoothedOntoItAndStaysAsItWas) {
    const TScan response = Spectrum(2900, 3600, 5, 1);
    TLampList lamps;
    lamps.push_back(LampWithResponse("A", Spectrum(2900, 3600, 5, 3)));
    TScan reference = Spectrum(2900, 3600, 10, 2);
    reference.SplitIndex = 17;  // not where smoothing would split it
    const TScan before(reference);

    const TResponsePlot plot = ResponseCurves(lamps, response, &reference);

    const std::vector<double> grid = AngstromsOf(reference);
    ASSERT_EQ(grid.size(), 71u);
    ASSERT_EQ(plot.Curves.size(), 2u);
    const double expected[] = {0.5, 1.5};
    for (std::size_t k = 0; k < 2; ++k) {
        EXPECT_EQ(Xs(plot.Curves[k].Points), grid) << k;
        for (const TPlotPoint& p : plot.Curves[k].Points) {
            EXPECT_NEAR(p.Y / expected[k] - 1, 0, 1e-7) << k << " at " << p.X;
        }
    }
    EXPECT_NEAR(plot.Range.Min, 0.485, 1e-7);
    EXPECT_NEAR(plot.Range.Max, 1.545, 1e-7);

    EXPECT_EQ(reference.SplitIndex, 17);
    ASSERT_EQ(reference.NPoints, before.NPoints);
    for (int i = 1; i <= reference.NPoints; ++i) {
        EXPECT_EQ(reference.Wavelength[i], before.Wavelength[i]);
        EXPECT_EQ(reference.Counts[i], before.Counts[i]);
    }
    EXPECT_EQ(lamps[0]->NPoints, 141);
    EXPECT_EQ(lamps[0]->Response->NPoints, 141);
}

TEST(ResponseCurves, ALampResponseShorterThanTheResponseIsExtendedByItsOwnFit) {
    const TScan response = Spectrum(2900, 3600, 5, 1);
    TLampList lamps;
    lamps.push_back(LampWithResponse("short", Spectrum(2900, 3300, 5, 2)));

    const TResponsePlot plot = ResponseCurves(lamps, response, &response);

    ASSERT_EQ(plot.Curves.size(), 2u);
    // Smoothed onto the response's wavelengths, beyond its own last point too.
    EXPECT_EQ(Xs(plot.Curves[1].Points), AngstromsOf(response));
    for (const TPlotPoint& p : plot.Curves[1].Points) {
        EXPECT_NEAR(p.Y / 2 - 1, 0, 1e-6) << p.X;
    }
    // The scratch scans named the lamp without changing its point count.
    EXPECT_EQ(lamps[0]->NPoints, 81);
    EXPECT_EQ(lamps[0]->Response->NPoints, 81);
}

TEST(ResponseCurves, RelativeToAShorterLampEachCurveTakesItsOwnPointCount) {
    const TScan response = Spectrum(2900, 3600, 5, 1);
    TLampList lamps;
    // Uneven values: any smoothing of this lamp's own response would show in its ratio.
    TScan uneven = Spectrum(2900, 3300, 5, 2);
    for (int i = 1; i <= uneven.NPoints; ++i) {
        uneven.Counts[i] *= 1 + 0.01 * (i % 3);
    }
    lamps.push_back(LampWithResponse("short", uneven));
    lamps.push_back(LampWithResponse("long", Spectrum(2900, 3600, 5, 3)));
    const TScan& reference = *lamps[0]->Response;
    const int split = reference.SplitIndex;

    const TResponsePlot plot = ResponseCurves(lamps, response, &reference);

    ASSERT_EQ(plot.Curves.size(), 3u);
    const std::vector<double> grid = AngstromsOf(reference);
    ASSERT_EQ(grid.size(), 81u);
    for (const TResponseCurve& c : plot.Curves) {
        EXPECT_EQ(Xs(c.Points), grid) << c.Title;
    }
    for (int i = 1; i <= 81; ++i) {
        const std::size_t k = static_cast<std::size_t>(i - 1);
        const double unevenness = 1 + 0.01 * (i % 3);
        EXPECT_NEAR(plot.Curves[0].Points[k].Y * unevenness / 0.5 - 1, 0, 1e-7) << i;
        EXPECT_EQ(plot.Curves[1].Points[k].Y, 1) << i;
        EXPECT_NEAR(plot.Curves[2].Points[k].Y * unevenness / 1.5 - 1, 0, 1e-7) << i;
    }
    EXPECT_EQ(reference.SplitIndex, split);
    EXPECT_EQ(lamps[0]->NPoints, 81);
    EXPECT_EQ(lamps[1]->NPoints, 141);
    EXPECT_EQ(lamps[1]->Response->NPoints, 141);
}

TEST(ResponseCurves, PointsWithoutAReferenceValueAreLeftOut) {
    TScan response = Spectrum(3000, 3040, 10, 1);
    response.Counts[2] = 0;
    TLampList lamps;
    lamps.push_back(LampWithResponse("A", Spectrum(3000, 3040, 10, 1.5)));

    const TResponsePlot plot = ResponseCurves(lamps, response, &response);

    const std::vector<double> kept = {3000, 3020, 3030, 3040};
    ASSERT_EQ(plot.Curves.size(), 2u);
    for (const TResponseCurve& c : plot.Curves) {
        ASSERT_EQ(c.Points.size(), kept.size()) << c.Title;
        for (std::size_t i = 0; i < kept.size(); ++i) {
            EXPECT_DOUBLE_EQ(c.Points[i].X, kept[i]) << c.Title;
        }
    }
    EXPECT_DOUBLE_EQ(plot.Curves[1].Points[0].Y, 1.5);
    EXPECT_EQ(plot.Range.Min, 0.97);
    EXPECT_DOUBLE_EQ(plot.Range.Max, 1.5 * 1.03);
}

TEST(ResponseCurves, WithoutAnyPointTheAxisSpansTheBandAroundOne) {
    const TScan empty(0, nullptr, nullptr);
    const TLampList none;
    for (const TScan* reference : {static_cast<const TScan*>(nullptr), &empty}) {
        const TResponsePlot plot = ResponseCurves(none, empty, reference);
        ASSERT_EQ(plot.Curves.size(), 1u);
        EXPECT_TRUE(plot.Curves[0].Points.empty());
        EXPECT_EQ(plot.Range.Min, 0.97);
        EXPECT_EQ(plot.Range.Max, 1.03);
    }
}

}  // namespace
}  // namespace uvlamp
