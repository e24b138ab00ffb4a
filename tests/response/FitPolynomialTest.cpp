#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

#include "response/FitPolynomial.h"

namespace uvlamp {
namespace {

// Arrays indexed from 1, as the fit takes them: entry 0 is a filler that must never be read.
std::vector<double> OneBased(std::vector<double> values) {
    values.insert(values.begin(), 1e300);
    return values;
}

std::vector<double> Fit(const std::vector<double>& x, const std::vector<double>& y, int m) {
    std::vector<double> c(static_cast<std::size_t>(m) + 1, -7.0);
    FitPolynomial(OneBased(x), OneBased(y), 1, static_cast<int>(x.size()), m, c);
    return c;
}

TEST(FitPolynomial, RecoversTheLineThroughItsPoints) {
    const std::vector<double> x = {-1, 0.5, 1, 2, 3.5};
    std::vector<double> y;
    for (double xi : x) {
        y.push_back(2 + 3 * xi);
    }
    const std::vector<double> c = Fit(x, y, 2);
    EXPECT_NEAR(c[1], 2, 1e-12);
    EXPECT_NEAR(c[2], 3, 1e-12);
}

// The smoothing fits run in the normalised wavelength, about -0.5 to 0.5: without pivoting the
// elimination must still recover a cubic there, and fitting more coefficients than the data
// need gives the extra ones as (nearly) 0.
TEST(FitPolynomial, RecoversACubicOverTheNormalisedWavelengths) {
    std::vector<double> x;
    std::vector<double> y;
    for (int i = 0; i <= 40; ++i) {
        const double xi = -0.5 + i * 0.025;
        x.push_back(xi);
        y.push_back(11 - 2 * xi + 0.5 * xi * xi + 4 * xi * xi * xi);
    }
    for (int m : {4, 6}) {
        SCOPED_TRACE(m);
        const std::vector<double> c = Fit(x, y, m);
        EXPECT_NEAR(c[1], 11, 1e-9);
        EXPECT_NEAR(c[2], -2, 1e-8);
        EXPECT_NEAR(c[3], 0.5, 1e-7);
        EXPECT_NEAR(c[4], 4, 1e-6);
        for (int k = 5; k <= m; ++k) {
            EXPECT_NEAR(c[static_cast<std::size_t>(k)], 0, 1e-5) << k;
        }
    }
}

TEST(FitPolynomial, OneCoefficientIsTheMeanOfThePointsUsed) {
    EXPECT_DOUBLE_EQ(Fit({1, 2, 3, 4}, {1, 2, 6, 3}, 1)[1], 3);
    // A point at x = 0 is not used, not even for the constant term.
    EXPECT_EQ(Fit({0, 1, 2}, {100, 1, 1}, 1)[1], 1);
    // The same for the slope: the line through the two points left.
    const std::vector<double> c = Fit({1, 0, 2}, {1, 100, 3}, 2);
    EXPECT_NEAR(c[1], -1, 1e-12);
    EXPECT_NEAR(c[2], 2, 1e-12);
}

TEST(FitPolynomial, UsesOnlyTheRangeOfPointsGiven) {
    const std::vector<double> x = OneBased({1, 2, 3, 4, 5});
    const std::vector<double> y = OneBased({50, 2, 4, 6, -50});
    std::vector<double> c(3, 0.0);
    FitPolynomial(x, y, 2, 4, 2, c);
    EXPECT_NEAR(c[1], -2, 1e-12);
    EXPECT_NEAR(c[2], 2, 1e-12);
}

TEST(FitPolynomial, NoPointUsedGivesZeros) {
    const std::vector<double> x = OneBased({0, 0, 0});
    const std::vector<double> y = OneBased({5, 6, 7});
    std::vector<double> c(5, -7.0);
    FitPolynomial(x, y, 1, 3, 4, c);  // every x is 0
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(c[static_cast<std::size_t>(k)], 0) << k;
    }
    std::vector<double> d(4, -7.0);
    FitPolynomial(x, y, 3, 2, 3, d);  // first > last
    EXPECT_EQ(d[1], 0);
    EXPECT_EQ(d[2], 0);
    EXPECT_EQ(d[3], 0);
}

TEST(FitPolynomial, ZeroPivotIsReplacedBy1e4) {
    // One point leaves the second pivot exactly 0: the result stays a number (0/0 otherwise).
    std::vector<double> c = Fit({1}, {5}, 2);
    EXPECT_EQ(c[1], 5);
    EXPECT_EQ(c[2], 0);

    // Two points at the same x: the second pivot is again exactly 0, while rounding leaves
    // 2^-52 on the right-hand side, and that is divided by the replacement pivot.
    c = Fit({1.5, 1.5}, {0.2, 1.0}, 2);
    EXPECT_DOUBLE_EQ(c[2], std::ldexp(1.0, -52) / 1e-4);
    EXPECT_DOUBLE_EQ(c[1], 0.6 - 1.5 * c[2]);
}

TEST(FitPolynomial, RefusesCoefficientCountsAndArraysThatDoNotFit) {
    const std::vector<double> x = OneBased({1, 2, 3});
    const std::vector<double> y = OneBased({1, 2, 3});
    std::vector<double> c(13, 0.0);
    EXPECT_THROW(FitPolynomial(x, y, 1, 3, 0, c), std::invalid_argument);
    EXPECT_THROW(FitPolynomial(x, y, 1, 3, 12, c), std::invalid_argument);
    EXPECT_NO_THROW(FitPolynomial(x, y, 1, 3, 11, c));
    std::vector<double> shortC(3, 0.0);  // room for c[1], c[2] only
    EXPECT_THROW(FitPolynomial(x, y, 1, 3, 3, shortC), std::invalid_argument);
    EXPECT_THROW(FitPolynomial(x, y, 1, 4, 2, c), std::invalid_argument);
    EXPECT_THROW(FitPolynomial(x, std::vector<double>(3, 1.0), 1, 3, 2, c), std::invalid_argument);
    EXPECT_THROW(FitPolynomial(x, y, 0, 3, 2, c), std::invalid_argument);
    // An empty range reads no point, whatever the arrays hold.
    EXPECT_NO_THROW(FitPolynomial({}, {}, 1, 0, 2, c));
}

TEST(FitPolynomial, EvaluatePolynomialSumsTheTermsFromTheConstantUp) {
    const std::vector<double> c = OneBased({2, 3, -1, 0.5});
    EXPECT_EQ(EvaluatePolynomial(c, 1, 2), 2);
    EXPECT_EQ(EvaluatePolynomial(c, 3, 2), 4);
    EXPECT_EQ(EvaluatePolynomial(c, 4, -2), -12);
    EXPECT_THROW(EvaluatePolynomial(c, 5, 1), std::invalid_argument);
    EXPECT_THROW(EvaluatePolynomial(c, 0, 1), std::invalid_argument);
}

}  // namespace
}  // namespace uvlamp
