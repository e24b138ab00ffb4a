#include "response/FitPolynomial.h"

#include <cmath>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace uvlamp {

namespace {

void CheckCoefficientCount(int m, std::span<const double> c) {
    if (m < 1 || m > kMaxFitCoefficients) {
        throw std::invalid_argument("a polynomial fit takes 1 to " +
                                    std::to_string(kMaxFitCoefficients) + " coefficients, not " +
                                    std::to_string(m));
    }
    if (c.size() < static_cast<std::size_t>(m) + 1) {
        throw std::invalid_argument("the coefficients need room for entries 1 to " +
                                    std::to_string(m));
    }
}

}  // namespace

void FitPolynomial(std::span<const double> x, std::span<const double> y, int first, int last, int m,
                   std::span<double> c) {
    CheckCoefficientCount(m, c);
    if (first <= last && (first < 1 || x.size() <= static_cast<std::size_t>(last) ||
                          y.size() <= static_cast<std::size_t>(last))) {
        throw std::invalid_argument("the points " + std::to_string(first) + " to " +
                                    std::to_string(last) + " are not all in the arrays");
    }

    // The normal equations a·c = v, indexed from 1 like the coefficients (row and column 0 stay
    // unused).
    double a[kMaxFitCoefficients + 1][kMaxFitCoefficients + 1] = {};
    double v[kMaxFitCoefficients + 1] = {};

    // Every sum runs over the points in index order, so accumulating point by point gives the same
    // sums as forming each entry on its own.
    for (int k = first; k <= last; ++k) {
        const double xk = x[static_cast<std::size_t>(k)];
        if (xk == 0) {
            continue;
        }
        const double yk = y[static_cast<std::size_t>(k)];
        for (int r = 1; r <= m; ++r) {
            const double xr = std::pow(xk, static_cast<double>(r - 1));
            for (int s = 1; s <= m; ++s) {
                a[r][s] = a[r][s] + std::pow(xk, static_cast<double>(s - 1)) * xr;
            }
            v[r] = v[r] + xr * yk;
        }
    }

    // Gaussian elimination in place, row by row, without pivoting: row i is divided by its pivot
    // and then taken from the rows below. A pivot of exactly 0 (no points at all, or a singular
    // system) becomes 1e-4, so the result stays a number.
    for (int i = 1; i <= m; ++i) {
        if (a[i][i] == 0) {
            a[i][i] = 1e-4;
        }
        v[i] = v[i] / a[i][i];
        for (int j = i + 1; j <= m; ++j) {
            a[i][j] = a[i][j] / a[i][i];
            for (int k = i + 1; k <= m; ++k) {
                a[k][j] = a[k][j] - a[i][j] * a[k][i];
            }
        }
        for (int k = i + 1; k <= m; ++k) {
            v[k] = v[k] - v[i] * a[k][i];
        }
        a[i][i] = 1;
        for (int k = i + 1; k <= m; ++k) {
            a[k][i] = 0;
        }
    }

    for (int i = m; i >= 1; --i) {
        double ci = v[i];
        for (int j = m; j >= i + 1; --j) {
            ci = ci - a[i][j] * c[static_cast<std::size_t>(j)];
        }
        c[static_cast<std::size_t>(i)] = ci;
    }
}

double EvaluatePolynomial(std::span<const double> c, int m, double x) {
    CheckCoefficientCount(m, c);
    // The powers come from repeated multiplication, x·x·x..., the way the polynomial is written
    // out term by term.
    double sum = c[1];
    double power = 1;
    for (int k = 2; k <= m; ++k) {
        power = power * x;
        sum = sum + c[static_cast<std::size_t>(k)] * power;
    }
    return sum;
}

}  // namespace uvlamp
