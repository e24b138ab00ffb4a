#include <gtest/gtest.h>

#include <cmath>

#include "irradiance/Fitbb.h"
#include "irradiance/Irr.h"
#include "shell/ScriptedOperator.h"

namespace uvlamp {
namespace {

// A table from first to last angstroms in steps, made exactly from the model.
TIrr ModelTable(double first, double last, double step, double a, double b, double distance = 50) {
    TIrr table("", 46000);
    const int n = static_cast<int>(std::lround((last - first) / step)) + 1;
    table.NPoints = n;
    table.Distance = distance;
    table.Wavelength.Reset(n);
    table.Irradiance.Reset(n);
    for (int i = 1; i <= n; ++i) {
        const double w = (first + (i - 1) * step) / 10000;
        table.Wavelength[i] = w;
        table.Irradiance[i] = PlanckModel(a, b, w);
    }
    return table;
}

TEST(BlackBodyFit, GivesBackTheModelItWasMadeFrom) {
    const TIrr table = ModelTable(2800, 4500, 50, 1e5, 14400.0 / 3000);
    std::mt19937 random(5489u);
    TScriptedOperator op;
    TBbf bbf(46000);
    ASSERT_EQ(bbf.FitFromIrr(table, false, TReport{op}, random), TBbf::TFit::Fitted);
    EXPECT_NEAR(bbf.Current.Temperature, 3000, 0.01);
    EXPECT_NEAR(bbf.Current.Factor / 1e5 - 1, 0, 1e-4);
    EXPECT_LT(bbf.Current.Rms, 1e-4);
    EXPECT_EQ(bbf.Current.Distance, 50);
    EXPECT_EQ(bbf.Current.Date, 46000);
    EXPECT_EQ(op.MaxBusyDepth(), 1);
    EXPECT_EQ(op.BusyDepth(), 0);
}

}  // namespace
}  // namespace uvlamp
