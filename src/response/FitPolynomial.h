#pragma once

#include <span>

namespace uvlamp {

// The most coefficients a fit may have (a polynomial of degree 10).
inline constexpr int kMaxFitCoefficients = 11;

// Least squares of the polynomial c[1] + c[2]·x + ... + c[m]·x^(m-1) through the points
// (x[k], y[k]) for k = first..last, solved through the normal equations. All three arrays are
// indexed from 1 like the scans' arrays (entry 0 is not used), so c needs room for m + 1 entries.
//
// The particular choices shape the coefficients every response file depends on, so they are
// kept exactly: a point whose x is exactly 0 does not enter the sums at all (not even the constant
// term's); powers come from the C library's pow with the exponent as a double; the elimination
// has no pivoting and replaces a pivot that is exactly 0 by 1e-4. With no point used every
// coefficient comes out 0. Throws std::invalid_argument for m outside 1..11 or arrays too short
// for the range: those are mistakes of the caller, never of the data.
void FitPolynomial(std::span<const double> x, std::span<const double> y, int first, int last, int m,
                   std::span<double> c);

// c[1] + c[2]·x + ... + c[m]·x^(m-1), with c indexed from 1, summed from the constant term up;
// the powers of x come from repeated multiplication. Throws std::invalid_argument like
// FitPolynomial for m outside 1..11 or too short a c.
double EvaluatePolynomial(std::span<const double> c, int m, double x);

}  // namespace uvlamp
