#include <gtest/gtest.h>

#include <cmath>

#include "irradiance/Fitbb.h"
#include "irradiance/Irr.h"
#include "shell/LogFile.h"
#include "shell/Program.h"
#include "shell/ScriptedOperator.h"
#include "support/TestSupport.h"

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

TEST(BlackBodyFit, TakesThePointsFrom2895To4000AThatHaveAnIrradiance) {
    TIrr table = ModelTable(2800, 4500, 50, 1e5, 4.8);
    TFitPoints points = SelectFitRange(table, kFitLower, kFitUpper);
    ASSERT_EQ(points.N, 23);
    EXPECT_DOUBLE_EQ(points.X[1], 0.29);
    EXPECT_DOUBLE_EQ(points.X[23], 0.4);
    EXPECT_EQ(points.Y[1], table.Irradiance[3]);

    table = ModelTable(2895, 4005, 5, 1e5, 4.8);
    table.Irradiance[2] = 0;
    table.Irradiance[3] = -1;
    points = SelectFitRange(table, kFitLower, kFitUpper);
    EXPECT_EQ(points.N, 222 - 2);
    EXPECT_DOUBLE_EQ(points.X[1], 0.2895);
    EXPECT_DOUBLE_EQ(points.X[2], 0.2910);
    EXPECT_DOUBLE_EQ(points.X[points.N], 0.4);
}

TEST(BlackBodyFit, TwoPointStartPassesThroughBothPointsOrGivesAZeroFactor) {
    double a = 0;
    double b = 4.0;
    const double y1 = PlanckModel(2000, 4.8, 0.295);
    const double y2 = PlanckModel(2000, 4.8, 0.395);
    TwoPointStart(0.295, y1, 0.395, y2, a, b);
    EXPECT_NEAR(PlanckModel(a, b, 0.395), y2, 1e-4);
    EXPECT_NEAR(PlanckModel(a, b, 0.295) / y1, 1, 1e-12);
    EXPECT_NEAR(b, 4.8, 1e-3);

    // A value of 1e6 cannot be told apart to 1e-4 in single precision: the start never settles.
    b = 4.0;
    TwoPointStart(0.295, 1e6 * y1, 0.395, 1e6 * y2 * 1.0000001, a, b);
    EXPECT_EQ(a, 0);
}

TEST(BlackBodyFit, RepeatsWithTheSameSeedAndReportsWhatItCannotFit) {
    const TIrr table = ModelTable(2900, 4000, 50, 700, 5.1);
    TScriptedOperator op;
    TProgram first;
    TProgram second;
    TBbf a(0);
    TBbf b(0);
    ASSERT_EQ(a.FitFromIrr(table, false, TReport{op}, first.Random), TBbf::TFit::Fitted);
    ASSERT_EQ(b.FitFromIrr(table, false, TReport{op}, second.Random), TBbf::TFit::Fitted);
    EXPECT_EQ(a.Current, b.Current);

    TIrr few = ModelTable(2900, 3000, 50, 700, 5.1);
    few.Irradiance[2] = 0;
    TBbf c(0);
    EXPECT_EQ(c.FitFromIrr(few, false, TReport{op}, first.Random), TBbf::TFit::TooFewPoints);
    // Values in units too large for the start's tolerance: no usable fit, nothing changes.
    const TIrr huge = ModelTable(2900, 4000, 50, 3e9, 5.1);
    EXPECT_EQ(c.FitFromIrr(huge, false, TReport{op}, first.Random), TBbf::TFit::Failed);
    EXPECT_EQ(c.Current, TBbf(0).Current);
}

TEST(BlackBodyFit, CreatesTheBbfFileBesideTheIrrFileWhenAsked) {
    test::TTempDir dir;
    TIrr table = ModelTable(2900, 4000, 50, 700, 5.1);
    table.FileName = (dir / "lamp1007.irr").string();
    TScriptedOperator op;
    std::mt19937 random(5489u);
    {
        TLogFile log((dir / "log.txt").string());
        ASSERT_EQ(table.Bbf.FitFromIrr(table, true, TReport{op, &log}, random), TBbf::TFit::Fitted);
    }
    const std::string bbf = (dir / "lamp1007.bbf").string();
    EXPECT_EQ(table.Bbf.FileName, bbf);
    EXPECT_EQ(test::ReadText(bbf), FormatBbfLine(table.Bbf.Current));
    EXPECT_NE(test::ReadText(dir / "log.txt").find("Creating " + bbf + ".\n"), std::string::npos);
    // With a file attached, a new fit changes the record in memory only.
    table.Irradiance[5] *= 1.01;
    ASSERT_EQ(table.Bbf.FitFromIrr(table, true, TReport{op}, random), TBbf::TFit::Fitted);
    EXPECT_NE(test::ReadText(bbf), FormatBbfLine(table.Bbf.Current));
}

TEST(BlackBodyFit, RandomBelowStaysInRange) {
    std::mt19937 random(5489u);
    EXPECT_EQ(RandomBelow(0, random), 0);
    int seen[3] = {0, 0, 0};
    for (int i = 0; i < 300; ++i) {
        const int r = RandomBelow(3, random);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 3);
        ++seen[r];
    }
    EXPECT_GT(seen[0], 50);
    EXPECT_GT(seen[1], 50);
    EXPECT_GT(seen[2], 50);
}

}  // namespace
}  // namespace uvlamp
