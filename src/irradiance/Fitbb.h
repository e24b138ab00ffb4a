#pragma once

#include <random>
#include <vector>

#include "irradiance/Bbf.h"

namespace uvlamp {

class TIrr;

// The wavelengths (micrometres) whose points enter the fit, both ends included.
inline constexpr double kFitLower = 0.2895;
inline constexpr double kFitUpper = 0.4;

// The points of a fit, 1-based (entry 0 unused).
struct TFitPoints {
    std::vector<double> X{0.0};  // micrometres
    std::vector<double> Y{0.0};  // irradiance
    int N = 0;
};

// The table's points with lower <= w <= upper, in table order. Points whose irradiance is not a
// positive number are left out: the fit weighs every point by its irradiance.
TFitPoints SelectFitRange(const TIrr& table, double lower, double upper);

struct TBlackBody {
    double A = 0;  // factor
    double B = 0;  // 14400 / temperature
};

// Fits the Planck model to n >= 2 points by alternate bracket searches over B and A, starting
// from the curve through the second and the second-to-last point.
TBlackBody FitBlackBody(const std::vector<double>& x, const std::vector<double>& y, int n,
                        std::mt19937& random);

// Refines B and sets A so that the curve passes through both points; A = 0 when the iteration
// does not settle within 5000 steps.
void TwoPointStart(double x1, double y1, double x2, double y2, double& a, double& b);

// The sum of the squared relative deviations of the model from the points.
double RelativeChiSquare(double a, double b, const std::vector<double>& x,
                         const std::vector<double>& y, int n);

// Bracket searches of one parameter with the other fixed. SearchFactor returns the mean relative
// chi-square at the best A, or -1 when it did not settle; SearchExponent returns the same for B.
double SearchFactor(double& a, double b, const std::vector<double>& x, const std::vector<double>& y,
                    int n, std::mt19937& random);
double SearchExponent(double a, double& b, const std::vector<double>& x,
                      const std::vector<double>& y, int n, std::mt19937& random);

// A pseudo-random integer uniform in [0, k); 0 when k is 0 or less.
int RandomBelow(int k, std::mt19937& random);

}  // namespace uvlamp
