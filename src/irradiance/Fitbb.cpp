#include "irradiance/Fitbb.h"

#include <cmath>
#include <cstdint>
#include <filesystem>

#include "irradiance/Irr.h"
#include "shell/FileIo.h"
#include "shell/Operator.h"

namespace uvlamp {

namespace {

// The search both parameters share: widen a bracket around p until both ends are worse, then
// halve it on a randomly chosen side, keeping the best point in the middle. widthTest ends the
// search on the bracket's width, otherwise on the difference of the values at its ends.
template <class TValue>
double BracketSearch(double& p, TValue s, int n, bool widthTest, std::mt19937& random) {
    double lo = p;
    double hi = p;
    const double step = 0.2 * p;
    double sLo = 0;
    double sHi = 0;
    double sMid = 0;
    for (int k = 0; k < 10; ++k) {
        lo = lo - step;
        hi = hi + step;
        sLo = s(lo);
        sHi = s(hi);
        sMid = s(p);
        if (sLo > sMid && sHi > sMid) {
            break;
        }
    }
    for (int k = 0; k < 100; ++k) {
        const bool lowSide = RandomBelow(2, random) == 1;
        const double probe = lowSide ? (lo + p) / 2 : (hi + p) / 2;
        const double sProbe = s(probe);
        if (widthTest ? std::fabs(lo - hi) < 1e-10 : std::fabs(sLo - sHi) < 1e-10) {
            p = (lo + hi) / 2;
            return sMid / n;
        }
        if (lowSide) {
            if (sProbe < sMid) {
                hi = p;
                sHi = sMid;
                p = probe;
                sMid = sProbe;
            } else {
                lo = probe;
                sLo = sProbe;
            }
        } else {
            if (sProbe < sMid) {
                lo = p;
                sLo = sMid;
                p = probe;
                sMid = sProbe;
            } else {
                hi = probe;
                sHi = sProbe;
            }
        }
    }
    return -1;
}

}  // namespace

int RandomBelow(int k, std::mt19937& random) {
    if (k <= 0) {
        return 0;
    }
    // Multiply-shift rather than a library distribution, so the sequence is the same with every
    // standard library.
    const std::uint64_t r = random();
    return static_cast<int>((r * static_cast<std::uint64_t>(k)) >> 32);
}

TFitPoints SelectFitRange(const TIrr& table, double lower, double upper) {
    TFitPoints points;
    for (int i = 1; i <= table.NPoints; ++i) {
        const double w = table.Wavelength[i];
        const double e = table.Irradiance[i];
        if (w >= lower && w <= upper && std::isfinite(e) && e > 0) {
            points.X.push_back(w);
            points.Y.push_back(e);
            ++points.N;
        }
    }
    return points;
}

void TwoPointStart(double x1, double y1, double x2, double y2, double& a, double& b) {
    const double c = x2 * x2 * x2 * x2 * x2 * y2;
    const double d = x1 * x1 * x1 * x1 * x1 * y1;
    for (int k = 0; k < 5000; ++k) {
        const double t = std::exp(b / x2);
        b = x1 * std::log((t * c + d - c) * (1 / d));
        a = (std::exp(b / x1) - 1) * x1 * x1 * x1 * x1 * x1 * y1;
        // The test is made in single precision, as the tolerance is an absolute 1e-4.
        const float r = static_cast<float>(PlanckModel(a, b, x2));
        if (std::fabs(static_cast<double>(r) - y2) < 1e-4) {
            return;
        }
    }
    a = 0;
}

double RelativeChiSquare(double a, double b, const std::vector<double>& x,
                         const std::vector<double>& y, int n) {
    double sum = 0;
    for (int i = 1; i <= n; ++i) {
        const double p = PlanckModel(a, b, x[static_cast<std::size_t>(i)]);
        const double yi = y[static_cast<std::size_t>(i)];
        sum += (p - yi) * (p - yi) / yi / yi;
    }
    return sum;
}

double SearchFactor(double& a, double b, const std::vector<double>& x, const std::vector<double>& y,
                    int n, std::mt19937& random) {
    return BracketSearch(
        a, [&](double v) { return RelativeChiSquare(v, b, x, y, n); }, n, false, random);
}

double SearchExponent(double a, double& b, const std::vector<double>& x,
                      const std::vector<double>& y, int n, std::mt19937& random) {
    return BracketSearch(
        b, [&](double v) { return RelativeChiSquare(a, v, x, y, n); }, n, true, random);
}

TBlackBody FitBlackBody(const std::vector<double>& x, const std::vector<double>& y, int n,
                        std::mt19937& random) {
    TBlackBody fit;
    fit.B = 4.0;
    double prevS = 1000;
    TwoPointStart(x[2], y[2], x[static_cast<std::size_t>(n - 1)],
                  y[static_cast<std::size_t>(n - 1)], fit.A, fit.B);
    for (int k = 0; k < 1000; ++k) {
        SearchExponent(fit.A, fit.B, x, y, n, random);
        const double s = SearchFactor(fit.A, fit.B, x, y, n, random);
        if (std::fabs(s - prevS) < 1e-7) {
            break;
        }
        prevS = s;
    }
    return fit;
}

TBbf::TFit TBbf::FitFromIrr(const TIrr& table, bool create, const TReport& report,
                            std::mt19937& random) {
    const TFitPoints points = SelectFitRange(table, kFitLower, kFitUpper);
    if (points.N < 3) {
        return TFit::TooFewPoints;
    }
    TBlackBody fit;
    {
        TBusyScope busy(report.Operator);
        fit = FitBlackBody(points.X, points.Y, points.N, random);
    }
    double sum = 0;
    for (int i = 1; i <= points.N; ++i) {
        const double yi = points.Y[static_cast<std::size_t>(i)];
        sum +=
            std::fabs(PlanckModel(fit.A, fit.B, points.X[static_cast<std::size_t>(i)]) - yi) / yi;
    }
    const double temperature = 14400 / fit.B;
    // A start that did not settle leaves the factor at 0, and a search through a region where the
    // model is not defined leaves values that are not numbers: neither describes the lamp.
    if (!(fit.A > 0) || !std::isfinite(fit.A) || !(temperature > 0) ||
        !std::isfinite(temperature)) {
        return TFit::Failed;
    }
    Current.Distance = table.Distance;
    Current.Temperature = temperature;
    Current.Factor = fit.A;
    Current.Rms = sum / points.N;
    if (create && FileName.empty()) {
        const std::filesystem::path bbf =
            std::filesystem::path(table.FileName).replace_extension(".bbf");
        CreateFile(ResolveNameNoCase(bbf).string(), report);
    }
    return TFit::Fitted;
}

}  // namespace uvlamp
