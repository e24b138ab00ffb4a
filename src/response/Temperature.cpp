#include "response/Temperature.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <span>
#include <vector>

#include "response/FitPolynomial.h"
#include "response/Smoothing.h"
#include "scans/Lamp.h"
#include "scans/TextReader.h"
#include "shell/Format.h"

namespace uvlamp {

namespace {

constexpr int kCubicBlock = 2;
constexpr int kLinearBlock = 3;

// Points of a range that enter a fit: those whose normalised wavelength is not exactly 0.
int FitPoints(const TScan& s, int first, int last) {
    int points = 0;
    for (int i = std::max(first, 1); i <= std::min(last, s.NPoints); ++i) {
        points += NormalisedWavelength(s.Wavelength[i]) != 0 ? 1 : 0;
    }
    return points;
}

// A number of a written line, read back as the C library would; from_chars takes no plus sign.
bool ParseField(std::string_view text, double& value) {
    text = TrimSpace(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr != text.data();
}

bool ParsePair(std::string_view line, double& w, double& r) {
    std::size_t i = 0;
    while (i < line.size() && IsSpace(line[i])) {
        ++i;
    }
    const std::size_t end = line.find_first_of(" \t", i);
    if (end == std::string_view::npos) {
        return false;
    }
    return ParseField(line.substr(i, end - i), w) && ParseField(line.substr(end), r);
}

}  // namespace

bool HasTemperatureSpread(const TScan& response) {
    const TLamp* lamp = response.Lamp;
    return lamp != nullptr && lamp->NUsed > 0 && lamp->MaxT - lamp->MinT > 10;
}

void FitTemperatureCoefficient(TScan& response) {
    const int n = response.NPoints;
    std::vector<double> x(static_cast<std::size_t>(n) + 1, 0.0);
    std::vector<double> y(static_cast<std::size_t>(n) + 1, 0.0);
    for (int d = 1; d <= n; ++d) {
        x[static_cast<std::size_t>(d)] = NormalisedWavelength(response.Wavelength[d]);
        y[static_cast<std::size_t>(d)] = response.TCoef[d];
    }
    const int split = std::clamp(response.SplitIndex, 1, n + 1);
    response.Coef[kCubicBlock].fill(0);
    response.Coef[kLinearBlock].fill(0);
    FitPolynomial(x, y, 1, split - 1, 4, response.Coef[kCubicBlock]);
    FitPolynomial(x, y, split, n, 2, response.Coef[kLinearBlock]);
}

TTemperatureFit TemperatureFitOf(const TScan& response) {
    TTemperatureFit fit;
    for (int k = 1; k <= 4; ++k) {
        fit.Cubic[static_cast<std::size_t>(k)] = response.Coef[kCubicBlock][k];
    }
    for (int k = 1; k <= 2; ++k) {
        fit.Linear[static_cast<std::size_t>(k)] = response.Coef[kLinearBlock][k];
    }
    const int n = response.NPoints;
    const int split = std::clamp(response.SplitIndex, 1, n + 1);
    const bool cubicFitted = FitPoints(response, 1, split - 1) > 0;
    const bool lineFitted = FitPoints(response, split, n) > 0;
    if (!lineFitted) {
        fit.Switch = std::numeric_limits<double>::infinity();
    } else if (!cubicFitted) {
        fit.Switch = -std::numeric_limits<double>::infinity();
    } else {
        fit.Switch = response.Wavelength[split] < 0.33 ? 0.325 : 0.35;
    }
    return fit;
}

double TemperatureCorrection(const TTemperatureFit& fit, double angstroms) {
    const double x = (angstroms / 10000 - 0.328) / 0.08;
    if (angstroms < fit.Switch * 10000) {
        return (fit.Cubic[1] + fit.Cubic[2] * x + fit.Cubic[3] * x * x + fit.Cubic[4] * x * x * x) /
               100;
    }
    return (fit.Linear[1] + fit.Linear[2] * x) / 100;
}

TTemperatureTexts TemperatureFileTexts(std::string_view responseText, const TTemperatureFit& fit) {
    TTemperatureTexts texts;
    TTextReader reader(responseText);
    while (!reader.AtEnd()) {
        double w = 0;
        double r = 0;
        if (!ParsePair(reader.ReadTextLine(), w, r)) {
            break;
        }
        const double tc = TemperatureCorrection(fit, w);
        texts.Absolute += Sprintf("%7.0f %9.3f\n", w, tc * r);
        texts.Relative += Sprintf("%7.0f %11.8f\n", w, tc);
    }
    return texts;
}

}  // namespace uvlamp
