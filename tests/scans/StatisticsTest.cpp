#include <gtest/gtest.h>

#include <cmath>

#include "scans/ListLines.h"
#include "scans/Statistics.h"
#include "shell/DayCount.h"
#include "shell/LogFile.h"
#include "shell/Settings.h"
#include "support/TestSupport.h"

namespace uvlamp {
namespace {

// A lamp whose scans have one temperature each and the given count rates at every point
// (point i gets rate * i).
std::unique_ptr<TLamp> LampWith(const std::vector<std::pair<double, double>>& temperatureRate,
                                int points = 2) {
    auto lamp = std::make_unique<TLamp>("L123");
    lamp->NPoints = points;
    lamp->ResizeDerived();
    int day = 1;
    for (auto [t, rate] : temperatureRate) {
        auto s = std::make_unique<TQLScan>(points, lamp.get(), nullptr);
        for (int i = 1; i <= points; ++i) {
            s->Wavelength[i] = 0.29 + 0.0005 * i;
            s->Counts[i] = rate * i;
        }
        s->Temperature = t;
        s->JulianDay = day++;
        s->Selected = true;
        lamp->Scans.push_back(std::move(s));
    }
    return lamp;
}

TEST(UpdateStatistics, MeanScatterAndTemperatureRegression) {
    auto lamp = LampWith({{20, 100}, {25, 110}, {30, 120}});
    TSettings settings;
    UpdateStatistics(*lamp, settings);
    EXPECT_EQ(lamp->NUsed, 3);
    EXPECT_EQ(lamp->MaxT, 30);
    EXPECT_EQ(lamp->MinT, 20);
    for (int i = 1; i <= 2; ++i) {
        const double k = i;  // point i holds the rates times i
        EXPECT_NEAR(lamp->TSlopeScan.Counts[i], 2 * k, 1e-12 * k);
        EXPECT_NEAR(lamp->At0CScan.Counts[i], 60 * k, 1e-10 * k);
        EXPECT_NEAR(lamp->At25CScan.Counts[i], 110 * k, 1e-10 * k);
        EXPECT_NEAR(lamp->Average.Counts[i], 110 * k, 1e-10 * k);
        EXPECT_NEAR(lamp->RelStd.Counts[i], 10.0 / 110, 1e-12);
        EXPECT_NEAR(lamp->Average.Deviation[i], 1000.0 / 110, 1e-10);
        EXPECT_NEAR(lamp->Scans[0]->Deviation[i], 100 * (100.0 / 110 - 1), 1e-10);
        EXPECT_EQ(lamp->Average.Wavelength[i], lamp->Scans[0]->Wavelength[i]);
        EXPECT_EQ(lamp->At25CScan.Wavelength[i], lamp->Scans[0]->Wavelength[i]);
    }
    EXPECT_NEAR(lamp->MaxRelStd, 10.0 / 110, 1e-12);
    EXPECT_NEAR(lamp->Scans[2]->MaxDeviation, 100 * (120.0 / 110 - 1), 1e-10);
    EXPECT_EQ(lamp->Average.DateTime, lamp->Scans[2]->DateTime);
}

TEST(UpdateStatistics, TwoScansGiveAMeanButNoScatter) {
    auto lamp = LampWith({{20, 100}, {25, 110}});
    UpdateStatistics(*lamp, TSettings{});
    EXPECT_DOUBLE_EQ(lamp->Average.Counts[1], 105);
    EXPECT_EQ(lamp->RelStd.Counts[1], 0);
    EXPECT_EQ(lamp->TSlopeScan.Counts[1], 0);
    EXPECT_EQ(lamp->MaxRelStd, 0);
    EXPECT_EQ(LampListLine(*lamp), "L123   2/  2  0.0%");
}

TEST(UpdateStatistics, AllScansAtOneTemperatureGiveNoScatter) {
    auto lamp = LampWith({{25, 100}, {25, 110}, {25, 120}});
    UpdateStatistics(*lamp, TSettings{});
    EXPECT_DOUBLE_EQ(lamp->Average.Counts[1], 110);
    EXPECT_EQ(lamp->RelStd.Counts[1], 0);
}

TEST(UpdateStatistics, TemperatureLimitsAreExcludedAndOnlyEverDeselect) {
    auto lamp = LampWith({{20, 100}, {25, 110}, {30, 120}, {29.9, 100}});
    TSettings settings;
    settings.LimitTe = true;
    settings.TeFrom = 20;
    settings.TeTo = 30;
    UpdateStatistics(*lamp, settings);
    EXPECT_FALSE(lamp->Scans[0]->Selected);
    EXPECT_TRUE(lamp->Scans[1]->Selected);
    EXPECT_FALSE(lamp->Scans[2]->Selected);
    EXPECT_TRUE(lamp->Scans[3]->Selected);
    EXPECT_EQ(lamp->NUsed, 2);

    settings.LimitTe = false;
    UpdateStatistics(*lamp, settings);
    EXPECT_EQ(lamp->NUsed, 2);  // relaxing the criterion selects nothing again
}

TEST(UpdateStatistics, DayCriterionKeepsOneDayOfYear) {
    auto lamp = LampWith({{20, 100}, {25, 110}, {30, 120}});
    TSettings settings;
    settings.SelectJd = true;
    settings.SelectedJd = 2;
    UpdateStatistics(*lamp, settings);
    EXPECT_EQ(lamp->NUsed, 1);
    EXPECT_TRUE(lamp->Scans[1]->Selected);
    EXPECT_DOUBLE_EQ(lamp->Average.Counts[1], 110);
}

TEST(UpdateStatistics, MaxDeviationRules) {
    // Deviations within one percent leave a selected scan at -1.
    auto close = LampWith({{20, 1000}, {25, 1001}, {30, 1002}});
    UpdateStatistics(*close, TSettings{});
    EXPECT_EQ(close->Scans[0]->MaxDeviation, -1);
    EXPECT_EQ(ScanListLine(1, *close->Scans[0]), " 1 001'00  20C -1.0%");

    // An unselected scan keeps the largest magnitude it ever had.
    auto lamp = LampWith({{20, 100}, {25, 100}, {30, 100}, {30, 150}});
    UpdateStatistics(*lamp, TSettings{});
    const double before = lamp->Scans[3]->MaxDeviation;
    EXPECT_NEAR(before, 100 * (150 / 112.5 - 1), 1e-10);
    lamp->Scans[3]->Selected = false;
    UpdateStatistics(*lamp, TSettings{});
    EXPECT_EQ(lamp->Scans[3]->MaxDeviation, 50);  // 150 against a mean of 100
    lamp->Scans[0]->Counts[1] = 100.5;
    lamp->Scans[3]->Counts[1] = lamp->Scans[3]->Counts[2] = 101;
    UpdateStatistics(*lamp, TSettings{});
    EXPECT_EQ(lamp->Scans[3]->MaxDeviation, 50);
}

TEST(UpdateStatistics, NoSelectedScanLeavesZerosAndTheLimits) {
    auto lamp = LampWith({{20, 100}, {25, 110}, {30, 120}});
    UpdateStatistics(*lamp, TSettings{});
    const double deviation = lamp->Scans[0]->Deviation[1];
    SetAllSelected(*lamp, false);
    UpdateStatistics(*lamp, TSettings{});
    EXPECT_EQ(lamp->NUsed, 0);
    EXPECT_EQ(lamp->Average.Counts[1], 0);
    EXPECT_EQ(lamp->MaxRelStd, 0);
    EXPECT_EQ(lamp->MaxT, -100);
    EXPECT_EQ(lamp->MinT, 100);
    EXPECT_EQ(lamp->Scans[0]->Deviation[1], deviation);
    EXPECT_EQ(LampListLine(*lamp), "L123   0/  3  0.0%");
    SetAllSelected(*lamp, true);
    EXPECT_TRUE(lamp->Scans[2]->Selected);
}

TEST(ListLines, LampAndScanLinesAsTheListsShowThem) {
    auto lamp = LampWith({{20, 100}});
    lamp->NUsed = 18;
    for (int k = 0; k < 20; ++k) {
        lamp->Scans.push_back(std::make_unique<TQLScan>(2, lamp.get(), nullptr));
    }
    lamp->MaxRelStd = 0.05;
    EXPECT_EQ(LampListLine(*lamp), "L123  18/ 21  5.0%");

    TScan scan(1, nullptr, nullptr);
    scan.JulianDay = 45;
    scan.DateTime = EncodeDate(2020, 2, 14);
    scan.Temperature = 24.6;
    scan.MaxDeviation = -0.84;
    EXPECT_EQ(ScanListLine(3, scan), " 3 045'20  25C -0.8%");
    scan.DateTime = EncodeDate(2005, 2, 14);
    EXPECT_EQ(ScanListLine(12, scan), "12 045'05  25C -0.8%");
}

TEST(CalculateAverages, LogsOneLinePerLampAndNothingForAnEmptyList) {
    test::TTempDir dir;
    const auto path = (dir / "log.txt").string();
    {
        TLogFile log(path, [] { return 2.0; });
        TLampList empty;
        CalculateAverages(empty, TSettings{}, &log);
        TLampList lamps;
        lamps.push_back(LampWith({{20, 100}, {25, 110}, {30, 120}}));
        lamps.push_back(LampWith({{20, 100}}));
        lamps.back()->Name = "B";
        lamps.back()->Scans[0]->Selected = false;
        CalculateAverages(lamps, TSettings{}, &log);
    }
    EXPECT_EQ(test::ReadText(path),
              "\n\nLogging turned ON on Jan 01, 1900 at 00:00\n"
              "\t\tNew averages calculated:\n"
              "\t\t\t lamp L123: 3 scans used\n"
              "\t\t\t lamp B: 0 scans used\n"
              "Logging turned OFF on Jan 01, 1900 at 00:00\n");
}

}  // namespace
}  // namespace uvlamp
