#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "response/Smoothing.h"
#include "scans/File.h"
#include "scans/Lamp.h"
#include "support/TestSupport.h"

namespace uvlamp {
namespace {

// ln(counts) as a polynomial in the normalised wavelength, coefficients from the constant term up.
using TLogCurve = std::vector<double>;

// Three clearly different curves, so a test can tell which range's polynomial a point received.
const TLogCurve kFirst = {12, 3, -2};
const TLogCurve kSecond = {11, 6, 4};
const TLogCurve kThird = {10, -1, 3};

double CountsOn(const TLogCurve& curve, double angstrom) {
    const double x = (angstrom / 10000 - 0.328) / 0.08;
    double y = 0;
    for (auto c = curve.rbegin(); c != curve.rend(); ++c) {
        y = y * x + *c;
    }
    return std::exp(y);
}

std::vector<double> Angstroms(double first, double last, double step) {
    std::vector<double> w;
    for (double a = first; a <= last; a += step) {
        w.push_back(a);
    }
    return w;
}

// One wavelength range of a scan: its wavelengths (Å) and the curve its counts follow.
struct TRange {
    std::vector<double> Wavelengths;
    TLogCurve Curve;
};

// A scan of the ranges given one after the other; SplitIndex is the first point of the second
// range (NPoints + 1 for a single range).
TScan MakeScan(const std::vector<TRange>& ranges, TLamp* lamp = nullptr) {
    int n = 0;
    for (const TRange& r : ranges) {
        n += static_cast<int>(r.Wavelengths.size());
    }
    TScan s(n, lamp, nullptr);
    int i = 0;
    for (const TRange& r : ranges) {
        for (double a : r.Wavelengths) {
            ++i;
            s.Wavelength[i] = a / 10000;
            s.Counts[i] = CountsOn(r.Curve, a);
        }
        if (s.SplitIndex == 0) {
            s.SplitIndex = i + 1;
        }
    }
    return s;
}

TScan MakeGrid(double first, double last, double step, TFile* file = nullptr) {
    const std::vector<double> w = Angstroms(first, last, step);
    TScan g(static_cast<int>(w.size()), nullptr, file);
    for (std::size_t i = 0; i < w.size(); ++i) {
        g.Wavelength[static_cast<int>(i) + 1] = w[i] / 10000;
    }
    return g;
}

int GridIndex(const TScan& g, double angstrom) {
    for (int i = 1; i <= g.NPoints; ++i) {
        if (g.Wavelength[i] == angstrom / 10000) {
            return i;
        }
    }
    ADD_FAILURE() << "no grid point at " << angstrom;
    return 1;
}

// Which curve the grid points follow: each piece up to (and including) its wavelength in Å.
struct TPiece {
    double UpTo;
    TLogCurve Curve;
};
constexpr double kEverywhere = 1e9;

// The smoothed scan s must hold g's wavelengths, and at each of them the counts of the curve
// its piece names, within a relative tolerance.
void ExpectSmoothed(const TScan& s, const TScan& g, const std::vector<TPiece>& pieces,
                    double tolerance) {
    ASSERT_EQ(s.NPoints, g.NPoints);
    for (int i = 1; i <= g.NPoints; ++i) {
        const double a = std::round(g.Wavelength[i] * 10000);
        ASSERT_EQ(s.Wavelength[i], g.Wavelength[i]) << a;
        auto piece = pieces.begin();
        while (a > piece->UpTo) {
            ++piece;
        }
        const double expected = CountsOn(piece->Curve, a);
        EXPECT_NEAR(s.Counts[i] / expected - 1, 0, tolerance) << "at " << a << " A";
    }
}

// The QL wavelength list: 2900 to 3250 Å, then again from 3250 to 3630 Å.
TScan QlScan(const TLogCurve& first, const TLogCurve& second) {
    return MakeScan({{Angstroms(2900, 3250, 5), first}, {Angstroms(3250, 3630, 5), second}});
}

TEST(Smoothing, NormalisedWavelengthIsZeroAt3280AndOneAt4080) {
    EXPECT_EQ(NormalisedWavelength(0.328), 0);
    EXPECT_NEAR(NormalisedWavelength(0.408), 1, 1e-14);
    EXPECT_NEAR(NormalisedWavelength(0.29), -0.475, 1e-14);
}

TEST(Smoothing, IsInstrument042ComparesTheLastThreeCharactersOfTheFileName) {
    TScan s(1, nullptr, nullptr);
    EXPECT_FALSE(IsInstrument042(s));
    TFile file;
    for (const auto& [name, expected] :
         std::vector<std::pair<std::string, bool>>{{"QL12345.042", true},
                                                   {"QS98765.042", true},
                                                   {"QL12345.142", false},
                                                   {"QL12345.42", false},
                                                   {"042", true},
                                                   {"QL12345.0420", false}}) {
        file.SetName(name);
        s.File = &file;
        EXPECT_EQ(IsInstrument042(s), expected) << name;
    }
}

TEST(Smoothing, FitLogSegmentsFitsEachRangeFromItsOwnPositivePoints) {
    TScan s = QlScan(kFirst, kSecond);
    s.Counts[1] = 0;    // 2900 Å
    s.Counts[80] = -3;  // 3290 Å, second range
    for (auto& block : s.Coef) {
        block.fill(99);
    }
    const TLogFit fit = FitLogSegments(s, 8, 3);

    EXPECT_EQ(fit.Ranges[0].Coefficients, 8);
    EXPECT_EQ(fit.Ranges[0].Points, 70);
    EXPECT_EQ(fit.Ranges[0].Lowest, 0.2905);
    EXPECT_EQ(fit.Ranges[0].Highest, 0.325);
    EXPECT_EQ(fit.Ranges[1].Coefficients, 3);
    EXPECT_EQ(fit.Ranges[1].Points, 76);
    EXPECT_EQ(fit.Ranges[1].Lowest, 0.325);
    EXPECT_EQ(fit.Ranges[1].Highest, 0.363);
    EXPECT_EQ(fit.Ranges[2].Points, 0);

    // The second range is a parabola in x, which three coefficients take exactly.
    for (int k = 1; k <= 3; ++k) {
        EXPECT_NEAR(s.Coef[1][k], kSecond[k - 1], 1e-9) << k;
    }
    EXPECT_NEAR(s.Coef[0][1], kFirst[0], 1e-6);
    // Unused entries and the third range's block are cleared; the temperature blocks are not
    // the smoothing's.
    EXPECT_EQ(s.Coef[0][9], 0);
    EXPECT_EQ(s.Coef[1][4], 0);
    for (double c : s.Coef[4]) {
        EXPECT_EQ(c, 0);
    }
    EXPECT_EQ(s.Coef[2][1], 99);
    EXPECT_EQ(s.Coef[3][1], 99);
}

TEST(Smoothing, FitLogSegmentsSingleRangeLeavesTheSecondBlockZero) {
    TScan s = MakeScan({{Angstroms(2900, 3250, 35), kFirst}});
    ASSERT_EQ(s.SplitIndex, 12);
    s.Coef[1].fill(99);
    const TLogFit fit = FitLogSegments(s, 8, 3);
    EXPECT_EQ(fit.Ranges[0].Points, 11);
    EXPECT_EQ(fit.Ranges[1].Points, 0);
    for (double c : s.Coef[1]) {
        EXPECT_EQ(c, 0);
    }
}

TEST(Smoothing, FitLogSegmentsRefusesMoreCoefficientsThanABlockHolds) {
    TScan s = MakeScan({{Angstroms(2900, 3250, 35), kFirst}});
    EXPECT_THROW(FitLogSegments(s, 10, 3), std::invalid_argument);
    EXPECT_THROW(FitLogSegments(s, 8, 0), std::invalid_argument);
    EXPECT_NO_THROW(FitLogSegments(s, 9, 3));
}

TEST(Smoothing, SmoothOnGridSingleRangeScanTakesTheFirstRangePolynomialEverywhere) {
    // An 11-point QS average: its first range ends at 3250 Å, below 3300, so the limit is
    // 3255 Å and no point of the default output grid lies beyond it.
    TLamp lamp("L1");
    lamp.NPoints = 11;
    TScan s = MakeScan({{Angstroms(2900, 3250, 35), kFirst}}, &lamp);
    TScan g = MakeGrid(2865, 3250, 5);
    ASSERT_EQ(g.NPoints, 78);

    SmoothOnGrid(s, g);

    EXPECT_EQ(g.SplitIndex, 79);
    // Eight coefficients from eleven points: 2865 Å lies 35 Å before the scan's first point.
    ExpectSmoothed(s, g, {{kEverywhere, kFirst}}, 1e-8);
    // The scan grew to the grid; its lamp, whose own scans have 11 points, kept its count.
    EXPECT_EQ(s.Counts.Points(), 78);
    EXPECT_EQ(lamp.NPoints, 11);
}

TEST(Smoothing, SmoothOnGridTwoRangesSplitAfterTheLastGridPointAtOrBelow3255) {
    TScan s = QlScan(kFirst, kSecond);
    ASSERT_EQ(s.NPoints, 148);
    ASSERT_EQ(s.SplitIndex, 72);
    TScan g = MakeGrid(2865, 3635, 5);

    SmoothOnGrid(s, g);

    // 3260 Å is the first point above the limit, so 3255 Å already belongs to the second range.
    EXPECT_EQ(g.SplitIndex, GridIndex(g, 3255));
    ExpectSmoothed(s, g, {{3250, kFirst}, {kEverywhere, kSecond}}, 1e-8);
}

TEST(Smoothing, SmoothOnGridFirstRangeEndingAt3300OrAboveMovesTheLimitTo3505) {
    TScan s = MakeScan({{Angstroms(2900, 3400, 5), kFirst}, {Angstroms(3400, 3630, 5), kSecond}});
    TScan g = MakeGrid(2865, 3635, 5);

    SmoothOnGrid(s, g);

    EXPECT_EQ(g.SplitIndex, GridIndex(g, 3505));
    ExpectSmoothed(s, g, {{3500, kFirst}, {kEverywhere, kSecond}}, 1e-7);
}

// Ends with a point at exactly 3280 Å (x = 0): it stays out of the fits, however far it lies
// from the curve, but the grid point there is evaluated like any other.
TEST(Smoothing, SmoothOnGridPointAt3280EntersNoFitButIsEvaluated) {
    TScan s = QlScan(kFirst, kSecond);
    const int at3280 = 72 + 6;
    ASSERT_EQ(s.Wavelength[at3280], 0.328);
    s.Counts[at3280] = s.Counts[at3280] * 1000;
    TScan g = MakeGrid(3270, 3290, 5);

    SmoothOnGrid(s, g);

    EXPECT_EQ(g.SplitIndex, 0);  // every grid point lies beyond the limit
    ExpectSmoothed(s, g, {{kEverywhere, kSecond}}, 1e-9);
}

TEST(Smoothing, SmoothOnGridCountsOfZeroOrLessAreLeftOut) {
    TScan s = QlScan(kFirst, kSecond);
    s.Counts[10] = 0;
    s.Counts[11] = -50;
    s.Counts[100] = 0;
    TScan g = MakeGrid(2865, 3635, 5);

    SmoothOnGrid(s, g);

    ExpectSmoothed(s, g, {{3250, kFirst}, {kEverywhere, kSecond}}, 1e-8);
}

TEST(Smoothing, SmoothOnGridScanEndsWithExactlyTheGridsPoints) {
    for (const auto& [first, last] :
         std::vector<std::pair<double, double>>{{2865, 3635}, {2900, 3000}, {3100, 3100}}) {
        SCOPED_TRACE(first);
        TLamp lamp("L1");
        lamp.NPoints = 148;
        TScan s = QlScan(kFirst, kSecond);
        s.Lamp = &lamp;
        TScan g = MakeGrid(first, last, 5);

        SmoothOnGrid(s, g);

        EXPECT_EQ(s.NPoints, g.NPoints);
        EXPECT_EQ(s.Counts.Points(), g.NPoints);
        EXPECT_EQ(s.Wavelength.Points(), g.NPoints);
        EXPECT_EQ(lamp.NPoints, 148);
        ExpectSmoothed(s, g, {{3250, kFirst}, {kEverywhere, kSecond}}, 1e-8);
    }
}

TEST(Smoothing, SmoothOnGridOntoItsOwnWavelengthsGivesTheFittedValues) {
    TScan s = QlScan(kFirst, kSecond);
    TScan g(s);
    ASSERT_TRUE(SameGrid(s, g));

    SmoothOnGrid(s, g);

    EXPECT_TRUE(SameGrid(s, g));
    // The grid splits by wavelength, not where the scan did: 3255 Å is the last point at or
    // below the limit, so both points at 3250 Å take the first range's polynomial.
    EXPECT_EQ(g.SplitIndex, 73);
    ExpectSmoothed(s, g, {{3250, kFirst}, {kEverywhere, kSecond}}, 1e-8);
}

TEST(Smoothing, SmoothOnGridRangeWithoutPointsTakesThePolynomialOfTheNearestRange) {
    // A single range evaluated beyond the limit: only the first range has points.
    {
        TScan s = MakeScan({{Angstroms(2900, 3250, 35), kFirst}});
        TScan g = MakeGrid(3200, 3300, 5);
        SmoothOnGrid(s, g);
        EXPECT_EQ(g.SplitIndex, GridIndex(g, 3255));
        ExpectSmoothed(s, g, {{kEverywhere, kFirst}}, 1e-7);  // up to 50 Å beyond the data
    }
    // No point of the first range has counts: its grid points take the second range's.
    {
        TScan s = QlScan(kFirst, kSecond);
        for (int i = 1; i < s.SplitIndex; ++i) {
            s.Counts[i] = 0;
        }
        TScan g = MakeGrid(2865, 3635, 5);
        SmoothOnGrid(s, g);
        ExpectSmoothed(s, g, {{kEverywhere, kSecond}}, 1e-8);
    }
    // No counts at all: nothing to evaluate, the counts are 0.
    {
        TScan s = QlScan(kFirst, kSecond);
        for (int i = 1; i <= s.NPoints; ++i) {
            s.Counts[i] = 0;
        }
        TScan g = MakeGrid(2865, 3635, 5);
        SmoothOnGrid(s, g);
        EXPECT_EQ(g.SplitIndex, GridIndex(g, 3255));
        ASSERT_EQ(s.NPoints, g.NPoints);
        for (int i = 1; i <= s.NPoints; ++i) {
            EXPECT_EQ(s.Counts[i], 0) << i;
            EXPECT_EQ(s.Wavelength[i], g.Wavelength[i]) << i;
        }
    }
}

// SplitIndex comes from the files; whatever it holds, only the scan's own points are read (the
// point arrays assert their bounds in this build) and every grid point gets a value.
TEST(Smoothing, SmoothOnGridAnySplitIndexStaysInsideTheScan) {
    TFile file042;
    file042.SetName("QL12345.042");
    for (TFile* file : {static_cast<TFile*>(nullptr), &file042}) {
        for (int split : {-3, 0, 1, 2, 71, 72, 148, 149, 150, 500}) {
            SCOPED_TRACE(split);
            TScan s = QlScan(kFirst, kSecond);
            s.SplitIndex = split;
            TScan g = MakeGrid(2865, 3635, 5, file);
            test::TTempDir dir;
            SmoothOnGrid(s, g, dir / "out.dat");
            ASSERT_EQ(s.NPoints, g.NPoints);
            for (int i = 1; i <= s.NPoints; ++i) {
                EXPECT_TRUE(std::isfinite(s.Counts[i]) && s.Counts[i] > 0) << i;
            }
        }
    }
    // A scan without points.
    TScan empty(0, nullptr, nullptr);
    TScan g = MakeGrid(2865, 2875, 5);
    SmoothOnGrid(empty, g);
    EXPECT_EQ(g.SplitIndex, 4);
    EXPECT_EQ(empty.NPoints, 3);
    EXPECT_EQ(empty.Counts[2], 0);
}

// Instrument "042": a third range fitted from 3500 Å on (the repeated QL wavelength 3250 Å opens
// the second range). The point at 3500 Å, which both upper fits share, has no counts here, so
// the second and third ranges can follow different curves and still be fitted exactly.
TScan Scan042() {
    TScan s = MakeScan({{Angstroms(2900, 3250, 5), kFirst},
                        {Angstroms(3250, 3495, 5), kSecond},
                        {Angstroms(3500, 3630, 5), kThird}});
    s.SplitIndex = 72;
    s.Counts[72 + 50] = 0;  // 3500 Å
    return s;
}

TEST(Smoothing, SmoothOnGridInstrument042UsesThreeRanges) {
    TFile file;
    file.SetName("QL12345.042");
    TScan s = Scan042();
    ASSERT_EQ(s.Wavelength[122], 0.35);
    TScan g = MakeGrid(2865, 3635, 5, &file);
    test::TTempDir dir;

    SmoothOnGrid(s, g, dir / "out.dat");

    EXPECT_EQ(g.SplitIndex, GridIndex(g, 3250));
    ExpectSmoothed(s, g, {{3245, kFirst}, {3495, kSecond}, {kEverywhere, kThird}}, 1e-8);
}

// With three ranges the nearest range with points is a real choice: for an empty second range
// the grid points below the middle of the gap take the first range's polynomial and those above
// it the third's; for an empty third range its grid points take the second's, not the first's.
TEST(Smoothing, SmoothOnGridInstrument042RangeWithoutPointsTakesTheNearestRange) {
    TFile file;
    file.SetName("QL12345.042");
    test::TTempDir dir;
    {
        TScan s = Scan042();
        for (int i = 72; i <= 122; ++i) {  // 3250 to 3500 Å
            s.Counts[i] = 0;
        }
        TScan g = MakeGrid(2865, 3635, 5, &file);
        SmoothOnGrid(s, g, dir / "out.dat");
        // 3250 Å is the first range's last point, 3505 Å the third range's first.
        ExpectSmoothed(s, g, {{3375, kFirst}, {kEverywhere, kThird}}, 1e-6);
    }
    {
        TScan s = Scan042();
        for (int i = 122; i <= s.NPoints; ++i) {  // 3500 to 3630 Å
            s.Counts[i] = 0;
        }
        TScan g = MakeGrid(2865, 3635, 5, &file);
        SmoothOnGrid(s, g, dir / "out.dat");
        ExpectSmoothed(s, g, {{3245, kFirst}, {kEverywhere, kSecond}}, 1e-6);
    }
}

TEST(Smoothing, FitLogSegments3WritesThePointsOfEachRangeToTheDiagnosticsFile) {
    TScan s = Scan042();
    test::TTempDir dir;
    const std::filesystem::path out = dir / "out.dat";
    test::WriteFile(out, "left from an earlier fit\n");

    const TLogFit fit = FitLogSegments3(s, 8, 7, 3, out);

    EXPECT_EQ(fit.Ranges[0].Points, 71);
    EXPECT_EQ(fit.Ranges[1].Coefficients, 7);
    EXPECT_EQ(fit.Ranges[1].Points, 50);  // 3250 to 3495 Å; 3500 Å has no counts
    EXPECT_EQ(fit.Ranges[1].Highest, 0.3495);
    EXPECT_EQ(fit.Ranges[2].Coefficients, 3);
    EXPECT_EQ(fit.Ranges[2].Points, 26);  // 3505 to 3630 Å
    EXPECT_EQ(fit.Ranges[2].Lowest, 0.3505);

    const std::string text = test::ReadText(out);
    std::vector<std::string> blocks;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find("\n\n\n", from)) != std::string::npos; from = at + 3) {
        blocks.push_back(text.substr(from, at + 1 - from));
    }
    blocks.push_back(text.substr(from));
    ASSERT_EQ(blocks.size(), 3u);
    std::vector<std::vector<std::string>> lines(3);
    for (std::size_t b = 0; b < 3; ++b) {
        std::istringstream in(blocks[b]);
        for (std::string line; std::getline(in, line);) {
            lines[b].push_back(line);
        }
    }
    EXPECT_EQ(lines[0].size(), 71u);
    EXPECT_EQ(lines[1].size(), 50u);
    EXPECT_EQ(lines[2].size(), 26u);

    char expected[100];
    std::snprintf(expected, sizeof expected, "0.290000 -0.475000 %f", std::log(s.Counts[1]));
    EXPECT_EQ(lines[0].front(), expected);
    std::snprintf(expected, sizeof expected, "0.325000 -0.037500 %f", std::log(s.Counts[72]));
    EXPECT_EQ(lines[1].front(), expected);
    std::snprintf(expected, sizeof expected, "0.363000 0.437500 %f", std::log(s.Counts[148]));
    EXPECT_EQ(lines[2].back(), expected);
}

TEST(Smoothing, FitLogSegments3ThirdRangeStartsAtTheLastPointOfTheSecond) {
    TScan s = QlScan(kFirst, kSecond);  // 3500 Å keeps its counts
    test::TTempDir dir;
    const TLogFit fit = FitLogSegments3(s, 8, 7, 3, dir / "out.dat");
    EXPECT_EQ(fit.Ranges[1].Points, 51);
    EXPECT_EQ(fit.Ranges[1].Highest, 0.35);
    EXPECT_EQ(fit.Ranges[2].Points, 27);
    EXPECT_EQ(fit.Ranges[2].Lowest, 0.35);

    // A second range that takes no point (it starts above 3500 Å): the third range starts at the
    // last point of the first.
    TScan t = MakeScan({{Angstroms(2900, 3550, 5), kFirst}, {Angstroms(3550, 3630, 5), kSecond}});
    const TLogFit fit2 = FitLogSegments3(t, 8, 7, 3, dir / "out.dat");
    EXPECT_EQ(fit2.Ranges[1].Points, 0);
    EXPECT_EQ(fit2.Ranges[2].Points, 18);
    EXPECT_EQ(fit2.Ranges[2].Lowest, 0.355);
    for (double c : t.Coef[1]) {
        EXPECT_EQ(c, 0);
    }
}

TEST(Smoothing, FitLogSegments3SingleRangeWritesOnlyTheFirstRange) {
    TScan s = MakeScan({{Angstroms(2900, 3250, 35), kFirst}});
    test::TTempDir dir;
    const TLogFit fit = FitLogSegments3(s, 8, 7, 3, dir / "out.dat");
    EXPECT_EQ(fit.Ranges[1].Points, 0);
    EXPECT_EQ(fit.Ranges[2].Points, 0);
    const std::string text = test::ReadText(dir / "out.dat");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 11);
    EXPECT_EQ(text.find("\n\n"), std::string::npos);
}

TEST(Smoothing, FitLogSegments3FitsWithoutADiagnosticsFile) {
    TScan s = Scan042();
    TScan t = Scan042();
    test::TTempDir dir;
    FitLogSegments3(s, 8, 7, 3, dir / "out.dat");
    FitLogSegments3(t, 8, 7, 3, dir / "no such folder" / "out.dat");
    EXPECT_FALSE(std::filesystem::exists(dir / "no such folder"));
    EXPECT_EQ(s.Coef, t.Coef);
}

// The operations of the comparison graphs.

TScan Values(const std::vector<double>& counts, double temperature) {
    TScan s(static_cast<int>(counts.size()), nullptr, nullptr);
    for (std::size_t i = 0; i < counts.size(); ++i) {
        s.Wavelength[static_cast<int>(i) + 1] = 0.29 + 0.0005 * static_cast<double>(i);
        s.Counts[static_cast<int>(i) + 1] = counts[i];
    }
    s.Temperature = temperature;
    return s;
}

TEST(Smoothing, RatioToScanDividesPointByPointOrGivesTheChangePerDegree) {
    const TScan r = Values({2, 4, 5}, 20);

    TScan plain = Values({3, 2, 10}, 25);
    RatioToScan(plain, r, false);
    EXPECT_EQ(plain.Counts[1], 1.5);
    EXPECT_EQ(plain.Counts[2], 0.5);
    EXPECT_EQ(plain.Counts[3], 2);

    TScan perDegree = Values({3, 2, 10}, 25);
    RatioToScan(perDegree, r, true);
    EXPECT_DOUBLE_EQ(perDegree.Counts[1], 0.1);
    EXPECT_DOUBLE_EQ(perDegree.Counts[2], -0.1);
    EXPECT_DOUBLE_EQ(perDegree.Counts[3], 0.2);

    // Equal temperatures: the difference becomes 0.001 degrees.
    TScan same = Values({3, 2, 10}, 20);
    RatioToScan(same, r, true);
    EXPECT_DOUBLE_EQ(same.Counts[1], 500);
    EXPECT_DOUBLE_EQ(same.Counts[2], -500);
    EXPECT_DOUBLE_EQ(same.Counts[3], 1000);
}

TEST(Smoothing, RatioToScanNoValueWhereTheReferenceHasNone) {
    const TScan r = Values({2, 0, 5}, 20);
    for (bool perDegree : {false, true}) {
        TScan s = Values({4, 4, 10, 7}, 20);
        RatioToScan(s, r, perDegree);
        EXPECT_FALSE(std::isnan(s.Counts[1]));
        EXPECT_TRUE(std::isnan(s.Counts[2]));  // reference 0
        EXPECT_FALSE(std::isnan(s.Counts[3]));
        EXPECT_TRUE(std::isnan(s.Counts[4]));  // beyond the reference's points
    }
}

TEST(Smoothing, SameGridNeedsTheSameCountAndExactlyEqualWavelengths) {
    const TScan s = QlScan(kFirst, kSecond);
    TScan copy(s);
    EXPECT_TRUE(SameGrid(s, copy));
    copy.Counts[5] = 1;  // counts do not matter
    EXPECT_TRUE(SameGrid(s, copy));
    copy.Wavelength[148] = std::nextafter(copy.Wavelength[148], 1.0);
    EXPECT_FALSE(SameGrid(s, copy));
    EXPECT_FALSE(SameGrid(s, MakeGrid(2900, 3625, 5)));
    EXPECT_TRUE(SameGrid(MakeGrid(2900, 3000, 5), MakeGrid(2900, 3000, 5)));
}

}  // namespace
}  // namespace uvlamp
