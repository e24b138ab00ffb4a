#include "response/Smoothing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "response/FitPolynomial.h"
#include "scans/File.h"

namespace uvlamp {

namespace {

// The Coef blocks of the three smoothing ranges.
constexpr int kRangeBlocks[3] = {0, 1, 4};

// Instrument "042" fits its second range on the points up to this wavelength; its third range
// starts at the last of them.
constexpr double k042FitEnd = 0.35;
// ... and evaluates its second range on the grid up to this one.
constexpr double k042GridEnd = 0.3495;

struct TCloseFile {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFilePtr = std::unique_ptr<std::FILE, TCloseFile>;

TFilePtr OpenForWriting(const std::filesystem::path& path) {
#ifdef _WIN32
    return TFilePtr(_wfopen(path.c_str(), L"w"));
#else
    return TFilePtr(std::fopen(path.c_str(), "w"));
#endif
}

void WriteRangeSeparator(std::FILE* out) {
    if (out != nullptr) {
        std::fputs("\n\n", out);
    }
}

void CheckCoefficients(int m) {
    // Each Coef block holds c1..c9 (entry 0 is not used).
    if (m < 1 || m > 9) {
        throw std::invalid_argument("a smoothing range takes 1 to 9 coefficients, not " +
                                    std::to_string(m));
    }
}

// Fits ln(Counts) of points first..last of s (clipped to the scan's points) with m coefficients
// into a Coef block, which is cleared first. Points without a logarithm (counts 0 or less) are
// left out (so is a value that is not a number); the others are renumbered from 1 for the fit and
// written to out when it is open.
TLogFitRange FitRange(TScan& s, int first, int last, int m, int block, std::FILE* out) {
    first = std::max(first, 1);
    last = std::min(last, s.NPoints);
    std::vector<double> x(1, 0.0);  // entry 0 unused, as in the scans
    std::vector<double> y(1, 0.0);
    TLogFitRange range;
    range.Coefficients = m;
    for (int i = first; i <= last; ++i) {
        const double counts = s.Counts[i];
        if (!(counts > 0)) {
            continue;
        }
        const double w = s.Wavelength[i];
        const double xi = NormalisedWavelength(w);
        const double yi = std::log(counts);
        x.push_back(xi);
        y.push_back(yi);
        if (out != nullptr) {
            std::fprintf(out, "%f %f %f\n", w, xi, yi);
        }
        if (range.Points == 0 || w < range.Lowest) {
            range.Lowest = w;
        }
        if (range.Points == 0 || w > range.Highest) {
            range.Highest = w;
        }
        ++range.Points;
    }
    std::array<double, 10>& coef = s.Coef[static_cast<std::size_t>(block)];
    coef.fill(0);
    FitPolynomial(x, y, 1, range.Points, m, coef);
    return range;
}

void ClearBlock(TScan& s, int block) {
    s.Coef[static_cast<std::size_t>(block)].fill(0);
}

// The fitted range whose polynomial a grid point of range r receives: r itself when its fit had
// points, otherwise the range with points nearest to the wavelength w (0 when w lies inside its
// span, the lower range on a tie); -1 when no range had points.
int RangeForPoint(const TLogFit& fit, int r, double w) {
    if (fit.Ranges[static_cast<std::size_t>(r)].Points > 0) {
        return r;
    }
    int best = -1;
    double bestDistance = 0;
    for (int i = 0; i < 3; ++i) {
        const TLogFitRange& range = fit.Ranges[static_cast<std::size_t>(i)];
        if (range.Points == 0) {
            continue;
        }
        double distance = 0;
        if (w < range.Lowest) {
            distance = range.Lowest - w;
        } else if (w > range.Highest) {
            distance = w - range.Highest;
        }
        if (best < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace

double NormalisedWavelength(double w) {
    return (w - 0.328) / 0.08;
}

bool IsInstrument042(const TScan& scan) {
    return scan.File != nullptr && scan.File->Instrument == "042";
}

TLogFit FitLogSegments(TScan& s, int a, int b) {
    CheckCoefficients(a);
    CheckCoefficients(b);
    TLogFit fit;
    // A SplitIndex from bad data may lie anywhere; the ranges are clipped to the scan's points.
    fit.Ranges[0] = FitRange(s, 1, s.SplitIndex - 1, a, 0, nullptr);
    ClearBlock(s, 1);
    ClearBlock(s, 4);  // a two-range fit leaves no third range behind from an earlier fit
    if (s.NPoints < s.SplitIndex) {
        return fit;  // a single range
    }
    fit.Ranges[1] = FitRange(s, s.SplitIndex, s.NPoints, b, 1, nullptr);
    return fit;
}

TLogFit FitLogSegments3(TScan& s, int a, int b, int c, const std::filesystem::path& diagnostics) {
    CheckCoefficients(a);
    CheckCoefficients(b);
    CheckCoefficients(c);
    // The diagnostics are a by-product: without the file the fit is the same.
    const TFilePtr file = OpenForWriting(diagnostics);
    std::FILE* out = file.get();

    TLogFit fit;
    fit.Ranges[0] = FitRange(s, 1, s.SplitIndex - 1, a, 0, out);
    ClearBlock(s, 1);
    ClearBlock(s, 4);
    if (s.NPoints < s.SplitIndex) {
        return fit;
    }
    WriteRangeSeparator(out);

    // The second range ends with the last point at or below 0.35 micrometres; j counts its
    // points by index, those without a logarithm included, since the third range starts from its
    // last point (from the last point of the first range when it took none).
    const int start = std::max(s.SplitIndex, 1);
    int j = 0;
    while (start + j <= s.NPoints && !(s.Wavelength[start + j] > k042FitEnd)) {
        ++j;
    }
    fit.Ranges[1] = FitRange(s, start, start + j - 1, b, 1, out);
    WriteRangeSeparator(out);

    fit.Ranges[2] = FitRange(s, start + j - 1, s.NPoints, c, 4, out);
    return fit;
}

void SmoothOnGrid(TScan& s, TScan& g, const std::filesystem::path& diagnostics) {
    const bool is042 = IsInstrument042(g);
    const TLogFit fit = is042 ? FitLogSegments3(s, 8, 7, 3, diagnostics) : FitLogSegments(s, 8, 3);

    // The grid splits where the scan's kind of instrument puts the boundary of its ranges: a
    // first range that ends below 0.33 micrometres marks an ordinary instrument.
    double limit = 0.325;
    if (!is042) {
        const double lastOfFirst =
            s.NPoints > 0 ? s.Wavelength[std::clamp(s.SplitIndex - 1, 1, s.NPoints)] : 0;
        limit = lastOfFirst < 0.33 ? 0.3255 : 0.3505;
    }
    const int n = g.NPoints;
    // The grid's wavelengths are taken first: the scan is overwritten below and may be the grid.
    std::vector<double> grid(static_cast<std::size_t>(n) + 1, 0.0);
    for (int i = 1; i <= n; ++i) {
        grid[static_cast<std::size_t>(i)] = g.Wavelength[i];
    }
    // The last grid point at or below the limit already belongs to the second range.
    int split = n + 1;
    for (int i = 1; i <= n; ++i) {
        if (grid[static_cast<std::size_t>(i)] > limit) {
            split = i - 1;
            break;
        }
    }
    g.SplitIndex = split;

    // Not Resize: the scratch scan may name a real lamp, whose scans keep their point count.
    s.SetPointCount(n);
    bool secondEnded = false;
    for (int i = 1; i <= n; ++i) {
        const double w = grid[static_cast<std::size_t>(i)];
        int r = 0;
        if (i >= split) {
            if (is042 && (secondEnded || w > k042GridEnd)) {
                secondEnded = true;
                r = 2;
            } else {
                r = 1;
            }
        }
        const int used = RangeForPoint(fit, r, w);
        double counts = 0;
        if (used >= 0) {
            const std::span<const double> coef(
                s.Coef[static_cast<std::size_t>(kRangeBlocks[static_cast<std::size_t>(used)])]);
            counts = std::exp(
                EvaluatePolynomial(coef, fit.Ranges[static_cast<std::size_t>(used)].Coefficients,
                                   NormalisedWavelength(w)));
        }
        s.Counts[i] = counts;
        s.Wavelength[i] = w;
    }
}

void RatioToScan(TScan& s, const TScan& r, bool perDegree) {
    double dT = s.Temperature - r.Temperature;
    if (dT == 0) {
        dT = 0.001;
    }
    for (int i = 1; i <= s.NPoints; ++i) {
        if (i > r.NPoints || r.Counts[i] == 0) {
            s.Counts[i] = std::numeric_limits<double>::quiet_NaN();
            continue;
        }
        double ratio = s.Counts[i] / r.Counts[i];
        if (perDegree) {
            ratio = (ratio - 1) / dT;
        }
        s.Counts[i] = ratio;
    }
}

}  // namespace uvlamp
