#include <gtest/gtest.h>

#include <cmath>

#include "scans/File.h"
#include "scans/ScanFixtures.h"
#include "scans/TextReader.h"
#include "scans/UlXlFiles.h"
#include "shell/DayCount.h"
#include "shell/Errors.h"

namespace uvlamp {
namespace {

using test::Record;
using test::TMemoryFiles;
using test::TRecord;

TEST(UlFile, ARecordGivesTwoScansWithPointsInIncreasingOrder) {
    TRecord r;
    r.ReversedRaw = {1110, 2110, 3110};
    TMemoryFiles m;
    bool ok = false;
    auto file = m.Read<TULFile>("ul12320.042", Record(r), &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(file->NScans, 2);
    EXPECT_EQ(file->NameDay, 123);
    ASSERT_EQ(file->Lamps.size(), 1u);
    const TLamp& lamp = *file->Lamps[0];
    EXPECT_EQ(lamp.Name, "L1");
    ASSERT_EQ(lamp.Scans.size(), 2u);
    for (const auto& s : lamp.Scans) {
        EXPECT_EQ(s->Kind(), TScanKind::UL);
        EXPECT_EQ(s->Wavelength[1], 0.29);
        EXPECT_EQ(s->Wavelength[3], 0.291);
        EXPECT_EQ(s->JulianDay, 123);  // from the file name, not the record's date
        EXPECT_EQ(s->DateTime, EncodeDate(2020, 5, 2));
        EXPECT_EQ(s->Comment, "lamp test");
        EXPECT_EQ(s->Temperature, 10.5);  // old circuit: 2.5 * 16 - 30 + 0.5
        EXPECT_TRUE(s->Selected);
        EXPECT_EQ(s->Lamp, &lamp);
    }
    // (1010 - 10) / 10 cycles / 0.5 s * 4 = 800
    EXPECT_DOUBLE_EQ(lamp.Scans[0]->Counts[1], 800);
    EXPECT_DOUBLE_EQ(lamp.Scans[1]->Counts[1], (1110 - 10) / 10 / 0.5 * 4);
    EXPECT_DOUBLE_EQ(lamp.Scans[1]->Counts[3], (3110 - 10) / 10 / 0.5 * 4);
    EXPECT_EQ(lamp.Scans[1]->RawCounts[3], 3110);
    EXPECT_EQ(lamp.Average.Distance, 50);
    EXPECT_EQ(lamp.Average.NPoints, 3);
}

TEST(ConvertToCountRate, SubtractsDarkScalesToFiftyCentimetresAndCorrectsDeadTime) {
    struct Case {
        double raw;
        double distance;
        double deadTime;
        double expected;
    };
    const double n0 = 800;
    double corrected = n0;
    for (int k = 0; k < 9; ++k) {
        corrected = n0 * std::exp(corrected * 3e-5);
    }
    for (const Case& c : {Case{1010, 50, 0, 800}, Case{1010, 40, 0, 512}, Case{5, 50, 0, 2},
                          Case{10, 40, 0, 2 * 0.64}, Case{1010, 50, 3e-5, corrected}}) {
        TScan s(1, nullptr, nullptr);
        s.RawCounts[1] = c.raw;
        s.Dark = 10;
        s.Cycles = 10;
        s.IntegrationTime = 0.5;
        s.DeadTime = c.deadTime;
        s.Distance = c.distance;
        ASSERT_TRUE(ConvertToCountRate(s));
        EXPECT_DOUBLE_EQ(s.Counts[1], c.expected) << c.raw << " at " << c.distance;
    }
}

TEST(ConvertToCountRate, RefusesNoCyclesNoIntegrationTimeAndRatesThatAreNotFinite) {
    struct Case {
        int cycles;
        double integration;
        double deadTime;
    };
    for (const Case& c : {Case{0, 0.5, 0}, Case{10, 0, 0}, Case{10, 0.5, 1}}) {
        TScan s(1, nullptr, nullptr);
        s.RawCounts[1] = 1e6;
        s.Cycles = c.cycles;
        s.IntegrationTime = c.integration;
        s.DeadTime = c.deadTime;
        s.Distance = 50;
        EXPECT_FALSE(ConvertToCountRate(s)) << c.cycles << " " << c.integration;
    }
}

TEST(ReadScanHeader, TwoDigitYearsBelowFiftyAreThisCentury) {
    for (auto [date, year] : {std::pair{"2 5 49", 2049}, std::pair{"2 5 50", 1950}}) {
        TRecord r;
        r.Date = date;
        TScan s(1, nullptr, nullptr);
        const std::string text = Record(r);
        TTextReader f(text);
        std::string lampName;
        ASSERT_TRUE(ReadScanHeader(s, f, lampName));
        EXPECT_EQ(s.DateTime, EncodeDate(year, 5, 2));
        EXPECT_EQ(s.JulianDay, 122);
        EXPECT_EQ(lampName, "L1");
        EXPECT_EQ(s.NPoints, 3);
        EXPECT_EQ(s.IntegrationTime, 0.5);
        EXPECT_EQ(s.TempReading, 2.5);
        EXPECT_EQ(s.Pr, 1013);
    }
}

TEST(ReadScanHeader, RefusesRecordsItCannotUse) {
    struct Case {
        const char* what;
        std::string text;
    };
    TRecord badDate;
    badDate.Date = "30 2 21";
    std::string lower = Record(TRecord{});
    lower[0] = 'i';
    std::string noPoints = Record(TRecord{});
    noPoints.replace(noPoints.find("le 3"), 4, "le 0");
    std::string tooMany = Record(TRecord{});
    tooMany.replace(tooMany.find("le 3"), 4, "le 2001");
    for (const Case& c :
         {Case{"date that does not exist", Record(badDate)}, Case{"key word in lower case", lower},
          Case{"no points", noPoints}, Case{"too many points", tooMany}, Case{"empty", ""}}) {
        TScan s(1, nullptr, nullptr);
        TTextReader f(c.text);
        std::string lampName;
        EXPECT_FALSE(ReadScanHeader(s, f, lampName)) << c.what;
    }
}

TEST(XlFile, RecordsOfSeveralLampsGoToTheirLampsInOrderOfAppearance) {
    TRecord l1;
    TRecord l2;
    l2.Lamp = "L2";
    TMemoryFiles m;
    bool ok = false;
    auto file = m.Read<TXLFile>("xl12320.042", Record(l1) + Record(l2) + Record(l1), &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(file->NScans, 3);
    ASSERT_EQ(file->Lamps.size(), 2u);
    EXPECT_EQ(file->Lamps[0]->Name, "L1");
    EXPECT_EQ(file->Lamps[0]->Scans.size(), 2u);
    EXPECT_EQ(file->Lamps[1]->Name, "L2");
    EXPECT_EQ(file->Lamps[1]->Scans.size(), 1u);
    EXPECT_EQ(file->Lamps[0]->Scans[1]->Lamp, file->Lamps[0].get());
    EXPECT_EQ(file->Lamps[0]->Scans[0]->Kind(), TScanKind::XL);
}

TEST(XlFile, ALampKeepsItsLast21ScansOfTheFile) {
    std::string text;
    for (int k = 1; k <= 25; ++k) {
        TRecord r;
        r.Date = std::to_string(k) + " 5 20";
        text += Record(r);
    }
    TMemoryFiles m;
    auto file = m.Read<TXLFile>("xl12320.042", text);
    const auto& scans = file->Lamps[0]->Scans;
    ASSERT_EQ(scans.size(), 21u);
    EXPECT_EQ(scans.front()->DateTime, EncodeDate(2020, 5, 5));
    EXPECT_EQ(file->NScans, 25);
}

TEST(UlFile, ALampGrowsByTwoScansPerRecordUpTo22ThenByOne) {
    TRecord r;
    r.ReversedRaw = r.Raw;
    std::string text;
    std::vector<std::size_t> sizes;
    for (int k = 1; k <= 13; ++k) {
        text += Record(r);
        TMemoryFiles m;
        auto file = m.Read<TULFile>("ul12320.042", text);
        sizes.push_back(file->Lamps[0]->Scans.size());
        EXPECT_EQ(file->NScans, 2 * k);
    }
    EXPECT_EQ(sizes, (std::vector<std::size_t>{2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 23, 24}));
}

TEST(UlFile, ADamagedSecondHalfDropsThatHalfOnly) {
    TRecord r;
    r.ReversedRaw = r.Raw;
    const std::string record = Record(r);
    const std::string cut = record + record.substr(0, record.rfind(" 2 2905"));
    TMemoryFiles m;
    bool ok = false;
    auto file = m.Read<TULFile>("ul12320.042", cut, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(file->NScans, 3);
    EXPECT_EQ(file->Lamps[0]->Scans.size(), 3u);
}

TEST(UlXlFiles, ABadRecordEndsTheFileKeepingWhatWasRead) {
    TRecord good;
    TRecord zeroCycles;
    zeroCycles.Cycles = 0;
    TRecord lower;
    std::string lowerText = Record(lower);
    lowerText[0] = 'i';
    for (const std::string& bad : {Record(zeroCycles), lowerText}) {
        TMemoryFiles m;
        bool ok = false;
        auto file = m.Read<TXLFile>("xl12320.042", Record(good) + bad + Record(good), &ok);
        ASSERT_TRUE(ok);
        EXPECT_EQ(file->NScans, 1);
        TMemoryFiles first;
        first.Read<TXLFile>("xl12320.042", bad, &ok);
        EXPECT_FALSE(ok);
    }
}

TEST(UlXlFiles, AFileCutAnywhereGivesTheRecordsBeforeTheCut) {
    TRecord r;
    r.ReversedRaw = r.Raw;
    const std::string ul = Record(r) + Record(r);
    for (std::size_t cut = 0; cut <= ul.size(); ++cut) {
        TMemoryFiles m;
        bool ok = false;
        auto file = m.Read<TULFile>("ul12320.042", ul.substr(0, cut), &ok);
        if (ok) {
            for (const auto& s : file->Lamps[0]->Scans) {
                EXPECT_GT(s->Counts[3], 0) << "cut at " << cut;  // every scan kept is complete
            }
        }
        TMemoryFiles x;
        x.Read<TXLFile>("xl12320.042", ul.substr(0, cut), &ok);
    }
}

TEST(UlXlFiles, ARecordWithAnotherGridThanTheLampsFirstIsLeftOut) {
    TRecord r;
    TRecord wider = r;
    wider.Wavelengths = {2900, 2905, 2910, 2915};
    wider.Raw = {1010, 1010, 1010, 1010};
    TMemoryFiles m;
    auto file = m.Read<TXLFile>("xl12320.042", Record(r) + Record(wider) + Record(r));
    const TLamp& lamp = *file->Lamps[0];
    EXPECT_EQ(lamp.Scans.size(), 2u);
    EXPECT_EQ(lamp.NPoints, 3);
    EXPECT_EQ(file->NScans, 3);
    EXPECT_EQ(m.Context.Notes.size(), 1u);
}

TEST(UlXlFiles, ADayOfYearInTheNameThatIsNotANumberEndsTheLoading) {
    TMemoryFiles m;
    EXPECT_THROW(m.Read<TXLFile>("xlx2320.042", Record(TRecord{})), TConversionError);
}

}  // namespace
}  // namespace uvlamp
