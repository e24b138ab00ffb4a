#include <gtest/gtest.h>

#include "scans/File.h"
#include "scans/Lamp.h"
#include "scans/Scan.h"
#include "shell/DayCount.h"
#include "shell/Errors.h"

namespace uvlamp {
namespace {

TEST(Scan, ResizeKeepsValuesForTheSameCountAndDropsThemOtherwise) {
    TLamp lamp("L1");
    TScan scan(3, &lamp, nullptr);
    scan.Counts[2] = 42;
    scan.Resize(3);
    EXPECT_EQ(scan.Counts[2], 42);

    scan.Resize(5);
    EXPECT_EQ(scan.NPoints, 5);
    EXPECT_EQ(scan.Counts[2], 0);
    EXPECT_EQ(lamp.NPoints, 5);
}

TEST(Scan, NewScanIsDatedFirstOfJanuary1900) {
    TScan scan(1, nullptr, nullptr);
    EXPECT_EQ(scan.DateTime, 2.0);
    EXPECT_EQ(scan.JulianDay, 1);
    EXPECT_EQ(scan.MaxDeviation, 0);
}

TEST(Scan, SetDateGivesDayOfYearAndTimeOfDay) {
    TScan scan(1, nullptr, nullptr);
    scan.SetDate(31, 12, 2020, 12, 0, 0);
    EXPECT_EQ(scan.JulianDay, 366);
    EXPECT_EQ(scan.DateTime, EncodeDate(2020, 12, 31) + 0.5);
    scan.SetDate(1, 3, 2021, 6, 30, 36);
    EXPECT_EQ(scan.JulianDay, 60);
    EXPECT_NEAR(scan.DateTime - EncodeDate(2021, 3, 1), (6 * 3600 + 30 * 60 + 36) / 86400.0, 1e-9);
    EXPECT_THROW(scan.SetDate(30, 2, 2021, 0, 0, 0), TConversionError);
}

TEST(Scan, CopyHasArraysOfItsOwn) {
    TScan scan(2, nullptr, nullptr);
    scan.Counts[1] = 5;
    scan.Comment = "c";
    TScan copy(scan);
    copy.Counts[1] = 7;
    EXPECT_EQ(scan.Counts[1], 5);
    EXPECT_EQ(copy.Comment, "c");
}

TEST(Scan, CopyFromTakesConditionsAndTheFirstPoints) {
    TScan source(4, nullptr, nullptr);
    source.Temperature = 21.5;
    source.SplitIndex = 3;
    source.SetDate(2, 5, 2020, 0, 0, 0);
    for (int i = 1; i <= 4; ++i) {
        source.Counts[i] = i * 10;
        source.Wavelength[i] = 0.29 + i * 0.0005;
    }
    TScan target(3, nullptr, nullptr);
    target.CopyFrom(source);
    EXPECT_EQ(target.Temperature, 21.5);
    EXPECT_EQ(target.SplitIndex, 3);
    EXPECT_EQ(target.DateTime, source.DateTime);
    EXPECT_EQ(target.JulianDay, source.JulianDay);
    EXPECT_EQ(target.Counts[3], 30);
    EXPECT_EQ(target.Wavelength[3], source.Wavelength[3]);
}

TScan OnGrid(double firstAngstrom, double step, int n, double firstValue) {
    TScan s(n, nullptr, nullptr);
    for (int i = 1; i <= n; ++i) {
        s.Wavelength[i] = (firstAngstrom + step * (i - 1)) / 10000;
        s.Counts[i] = firstValue + i;
    }
    return s;
}

TEST(Scan, DivideByFindsTheReferencePointAtTheSameWavelength) {
    const TScan reference = OnGrid(2900, 5, 200, 1000);  // 3440 Å is point 109
    TScan scan(2, nullptr, nullptr);
    scan.Wavelength[1] = 0.3440;
    scan.Wavelength[2] = 0.2900;
    scan.Counts[1] = 2 * reference.Counts[109];
    scan.Counts[2] = 3 * reference.Counts[1];
    ASSERT_TRUE(scan.DivideBy(reference));
    EXPECT_DOUBLE_EQ(scan.Counts[1], 2);
    EXPECT_DOUBLE_EQ(scan.Counts[2], 3);
}

TEST(Scan, DivideByRefusesAReferenceOffTheFiveAngstromGrid) {
    const TScan reference = OnGrid(2900, 35, 11, 1000);
    TScan scan = OnGrid(2900, 35, 3, 0);
    EXPECT_FALSE(scan.DivideBy(reference));
    EXPECT_EQ(scan.Counts[1], 1);
    EXPECT_EQ(scan.Counts[3], 3);
}

TEST(Scan, DivideByStopsAtAWavelengthTheReferenceLacks) {
    const TScan reference = OnGrid(2900, 5, 3, 0);  // 2900..2910, counts 1..3
    TScan scan = OnGrid(2905, 5, 3, 10);            // 2905, 2910, 2915
    EXPECT_FALSE(scan.DivideBy(reference));
    EXPECT_DOUBLE_EQ(scan.Counts[1], 11.0 / 2);
    EXPECT_DOUBLE_EQ(scan.Counts[2], 12.0 / 3);
    EXPECT_EQ(scan.Counts[3], 13);  // not divided
}

TEST(Lamp, FindLampMatchesNamesExactly) {
    TLampList list;
    list.push_back(std::make_unique<TLamp>("L123"));
    list.push_back(std::make_unique<TLamp>("l123"));
    EXPECT_EQ(FindLamp(list, "l123"), 1);
    EXPECT_EQ(FindLamp(list, "L123"), 0);
    EXPECT_EQ(FindLamp(list, "L12"), -1);
}

TEST(Lamp, DerivedScansPointBackAtTheLampAndStartWith51Points) {
    TLamp lamp;
    EXPECT_EQ(lamp.Name, "tmp");
    EXPECT_EQ(lamp.Average.Lamp, &lamp);
    EXPECT_EQ(lamp.At25CScan.NPoints, 51);
    EXPECT_EQ(lamp.Response, nullptr);
}

TEST(File, NamesGiveInstrumentDayAndLamp) {
    TFile file;
    file.SetName("ql20120.042");
    EXPECT_EQ(file.Instrument, "042");
    file.ReadNameDay("xl12320.042");
    EXPECT_EQ(file.NameDay, 123);
    EXPECT_EQ(file.FileName, "xl12320.042");

    struct Case {
        const char* name;
        const char* ql;
        const char* qs;
    };
    for (const Case& c :
         {Case{"ql_l0423.042", "l0423", "l0423"}, Case{"qlA12345.042", "A12345", "qlA12345"},
          Case{"lamp0123.042", "mp0123", "lamp0123"}, Case{"lamp_77.042", "77", "77"},
          Case{"ql.042", "", "ql"}, Case{"q", "", ""}}) {
        EXPECT_EQ(QlLampName(c.name), c.ql) << c.name;
        EXPECT_EQ(QsLampName(c.name), c.qs) << c.name;
    }
}

TEST(File, ADayOfYearThatIsNotANumberEndsTheLoadingWithTheFileNamed) {
    TFile file;
    try {
        file.ReadNameDay("xlab320.042");
        FAIL() << "expected a conversion error";
    } catch (const TConversionError& e) {
        EXPECT_STREQ(e.what(), "xlab320.042: 'ab3' is not a valid day of year");
    }
}

}  // namespace
}  // namespace uvlamp
