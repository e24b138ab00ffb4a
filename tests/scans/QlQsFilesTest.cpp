#include <gtest/gtest.h>

#include <cmath>

#include "scans/File.h"
#include "scans/ScanFixtures.h"
#include "shell/DayCount.h"
#include "shell/Errors.h"

namespace uvlamp {
namespace {

using test::Grid;
using test::QlBlock;
using test::TMemoryFiles;

const std::vector<double> kSeven = Grid(2900, 2930, 5);

TEST(QlFile, ReadsABlockIntoOneLampNamedByTheFile) {
    TMemoryFiles m;
    const std::string text =
        " 7 12320  40.0  24.6  3.5 0\n 2900 1000\n 2905 1100\n 2910 1200\n"
        " 2915 1300\n 2920 1400\n 2925 1500\n 2930 1600\n 12:00:00\n";
    bool ok = false;
    auto file = m.Read<TQLFile>("ql_L123.042", text, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(file->Instrument, "042");
    ASSERT_EQ(file->Lamps.size(), 1u);
    const TLamp& lamp = *file->Lamps[0];
    EXPECT_EQ(lamp.Name, "L123");
    ASSERT_EQ(lamp.Scans.size(), 1u);
    const TScan& s = *lamp.Scans[0];
    EXPECT_EQ(s.Kind(), TScanKind::QL);
    EXPECT_EQ(s.NPoints, 7);
    EXPECT_EQ(lamp.NPoints, 7);
    EXPECT_EQ(lamp.Average.NPoints, 7);
    EXPECT_EQ(lamp.Average.Distance, 50);
    EXPECT_EQ(s.Distance, 40);
    EXPECT_EQ(s.Temperature, 24.6);
    EXPECT_EQ(s.Dark, 3.5);
    EXPECT_EQ(s.Wavelength[1], 0.29);
    EXPECT_EQ(s.Wavelength[7], 0.293);
    EXPECT_DOUBLE_EQ(s.Counts[1], 640);  // 1000 at 40 cm is 640 at 50 cm
    EXPECT_EQ(s.SplitIndex, 8);
    EXPECT_TRUE(s.Selected);
    EXPECT_EQ(s.JulianDay, 123);
    EXPECT_EQ(s.DateTime, EncodeDate(2020, 5, 2) + 0.5);
    EXPECT_EQ(s.File, file.get());
    EXPECT_EQ(s.Lamp, &lamp);
    EXPECT_EQ(file->NScans, 1);
}

TEST(QlFile, ARepeatedWavelengthStartsTheSecondRange) {
    TMemoryFiles m;
    std::vector<double> twoRanges = Grid(2900, 3250, 50);  // 8 points
    const auto second = Grid(3250, 3450, 50);              // 3250 again, then 4 more
    twoRanges.insert(twoRanges.end(), second.begin(), second.end());
    auto file = m.Read<TQLFile>("ql_A.042", QlBlock("12320", 50, 20, twoRanges, 1000, 10, "1:2"));
    ASSERT_EQ(file->Lamps[0]->Scans.size(), 1u);
    EXPECT_EQ(file->Lamps[0]->Scans[0]->SplitIndex, 9);
    EXPECT_EQ(file->Lamps[0]->Scans[0]->Counts[1], 1000);  // 50 cm: unchanged
}

TEST(QlFile, TwoDigitYearsAndTheDayOfYear) {
    struct Case {
        const char* dayYear;
        int year;
        int day;
    };
    for (const Case& c :
         {Case{"12350", 2050, 123}, Case{"12351", 1951, 123}, Case{"00120", 2020, 1},
          Case{"001 20", 2020, 1}, Case{"36699", 1999, 366}}) {
        TMemoryFiles m;
        auto file = m.Read<TQLFile>("ql_A.042", QlBlock(c.dayYear, 50, 20, kSeven, 1, 1, "0:00"));
        ASSERT_EQ(file->Lamps[0]->Scans.size(), 1u) << c.dayYear;
        const TScan& s = *file->Lamps[0]->Scans[0];
        EXPECT_EQ(s.JulianDay, c.day) << c.dayYear;
        EXPECT_EQ(s.DateTime, EncodeDate(c.year, 1, 1) + c.day - 1) << c.dayYear;
    }
}

TEST(QlFile, APointCountOutsideSevenToFiftyIsRefusedWithAMessage) {
    for (int n : {6, 7, 50, 51}) {
        TMemoryFiles m;
        bool ok = false;
        m.Read<TQLFile>(
            "ql_A.042",
            QlBlock("12320", 50, 20, Grid(2900, 2900 + 5 * (n - 1), 5), 1, 1, "12:00:00") +
                QlBlock("12420", 50, 20, kSeven, 1, 1, "12:00:00"),
            &ok);
        const bool accepted = n >= 7 && n <= 50;
        EXPECT_EQ(ok, accepted) << n;
        EXPECT_EQ(m.Operator.Messages().size(), accepted ? 0u : 1u) << n;
        if (!accepted) {
            EXPECT_EQ(m.Operator.Journal()[0].Text, "Unrecognized format.");
            EXPECT_EQ(m.Operator.Journal()[0].Caption, "Oooops!");
        }
    }
}

std::string FiveBlocks() {
    std::string text;
    for (int k = 1; k <= 5; ++k) {
        text += QlBlock("0" + std::to_string(10 + k) + "20", 50, 20, kSeven, 100 * k, 1, "8:00");
    }
    return text;
}

TEST(QlFile, TheScanLimitKeepsTheFirstOrTheLastScans) {
    struct Case {
        bool limit;
        int max;
        bool last;
        std::vector<int> days;
        int nScans;
    };
    for (const Case& c :
         {Case{false, 3, true, {11, 12, 13, 14, 15}, 5}, Case{true, 3, false, {11, 12, 13}, 4},
          Case{true, 3, true, {13, 14, 15}, 5}, Case{true, 0, false, {11}, 2},
          Case{true, -4, true, {15}, 5}}) {
        TMemoryFiles m;
        m.Settings.LimitScans = c.limit;
        m.Settings.MaxNumberOfScans = c.max;
        m.Settings.LastScans = c.last;
        auto file = m.Read<TQLFile>("ql_A.042", FiveBlocks());
        std::vector<int> days;
        for (const auto& s : file->Lamps[0]->Scans) {
            days.push_back(s->JulianDay);
        }
        EXPECT_EQ(days, c.days) << c.max << " last " << c.last;
        EXPECT_EQ(file->NScans, c.nScans) << c.max << " last " << c.last;
    }
}

TEST(QlFile, LineEndsAndTrailingBlankLinesDoNotMatter) {
    for (const char* eol : {"\n", "\r\n", "\r"}) {
        TMemoryFiles m;
        bool ok = false;
        auto file = m.Read<TQLFile>("ql_A.042",
                                    QlBlock("12320", 50, 20, kSeven, 1, 1, "12:00", eol) +
                                        QlBlock("12420", 50, 20, kSeven, 1, 1, "12:00", eol) + eol +
                                        "  " + eol + eol,
                                    &ok);
        ASSERT_TRUE(ok);
        EXPECT_EQ(file->Lamps[0]->Scans.size(), 2u);
        EXPECT_TRUE(m.Operator.Journal().empty());
    }
}

TEST(QlFile, ABadTimeOfDayEndsTheLoadingNamingFileAndWord) {
    TMemoryFiles m;
    try {
        m.Read<TQLFile>("ql_A.042", QlBlock("12320", 50, 20, kSeven, 1, 1, "12:61:00"));
        FAIL() << "expected a conversion error";
    } catch (const TConversionError& e) {
        EXPECT_STREQ(e.what(), "ql_A.042: '12:61:00' is not a valid time");
    }
}

TEST(QlFile, AFileCutAnywhereGivesTheBlocksBeforeTheCut) {
    const std::string one = QlBlock("12320", 50, 20, kSeven, 1, 1, "12:34:56");
    const std::string text = one + one + one;
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        TMemoryFiles m;
        bool ok = false;
        auto file = m.Read<TQLFile>("ql_A.042", text.substr(0, cut), &ok);
        const std::size_t complete = cut / one.size();
        const std::size_t scans = ok ? file->Lamps[0]->Scans.size() : 0;
        // A block cut inside its time word may still hold a valid time ("12:3").
        EXPECT_TRUE(scans == complete || scans == complete + 1) << "cut at " << cut;
        EXPECT_TRUE(m.Operator.Journal().empty()) << "cut at " << cut;
    }
}

TEST(QlFile, BlocksOnAnotherGridThanTheFirstAreLeftOutWithANote) {
    TMemoryFiles m;
    bool ok = false;
    auto file = m.Read<TQLFile>("ql_A.042",
                                QlBlock("12320", 50, 20, kSeven, 1, 1, "1:00") +
                                    QlBlock("12420", 50, 20, Grid(2900, 2940, 5), 1, 1, "1:00") +
                                    QlBlock("12520", 50, 20, Grid(2905, 2935, 5), 1, 1, "1:00") +
                                    QlBlock("12620", 50, 20, kSeven, 1, 1, "1:00"),
                                &ok);
    ASSERT_TRUE(ok);
    const TLamp& lamp = *file->Lamps[0];
    ASSERT_EQ(lamp.Scans.size(), 2u);
    EXPECT_EQ(lamp.Scans[1]->JulianDay, 126);
    EXPECT_EQ(lamp.NPoints, 7);
    EXPECT_EQ(lamp.Average.NPoints, 7);
    EXPECT_EQ(file->NScans, 4);
    ASSERT_EQ(m.Context.Notes.size(), 1u);
    EXPECT_EQ(m.Context.Notes[0],
              "ql_A.042: scans of lamp A with other wavelengths than its first scan were left out");
}

TEST(QlFile, ACutLastBlockWithAnotherPointCountLeavesTheLampsPointCount) {
    const std::string cut = QlBlock("12420", 50, 20, Grid(2900, 2990, 5), 1, 1, "1:00");
    TMemoryFiles m;
    auto file = m.Read<TQLFile>(
        "ql_A.042", QlBlock("12320", 50, 20, kSeven, 1, 1, "1:00") + cut.substr(0, cut.size() / 2));
    const TLamp& lamp = *file->Lamps[0];
    ASSERT_EQ(lamp.Scans.size(), 1u);
    EXPECT_EQ(lamp.NPoints, 7);
    EXPECT_EQ(lamp.Average.NPoints, 7);
}

TEST(QlFile, AnEmptyOrMissingFileIsNotLoaded) {
    for (const char* text : {"", "   \r\n", "\x01\x02\xff binary"}) {
        TMemoryFiles m;
        bool ok = true;
        m.Read<TQLFile>("ql_A.042", text, &ok);
        EXPECT_FALSE(ok);
    }
    TMemoryFiles m;
    TQLFile file;
    EXPECT_FALSE(file.Read("ql_missing.042", m.Context));
}

std::string QsBlock(int day, const char* eol = "\r\n") {
    std::string s = " " + std::to_string(100 + day) + "20  40.0  22.5  1.0" + eol;
    for (int r = 1; r <= 11; ++r) {
        s += " " + std::to_string(1000 * r) + eol;
    }
    return s + " x" + eol;
}

TEST(QsFile, ReadsElevenPointsAtFixedWavelengths) {
    TMemoryFiles m;
    bool ok = false;
    auto file = m.Read<TQSFile>("lamp0123.042", QsBlock(1), &ok);
    ASSERT_TRUE(ok);
    const TLamp& lamp = *file->Lamps[0];
    EXPECT_EQ(lamp.Name, "lamp0123");
    const TScan& s = *lamp.Scans[0];
    EXPECT_EQ(s.Kind(), TScanKind::QS);
    EXPECT_EQ(s.NPoints, 11);
    EXPECT_EQ(s.SplitIndex, 12);
    EXPECT_EQ(s.Wavelength[1], 0.29);
    EXPECT_EQ(s.Wavelength[2], 0.2935);
    EXPECT_EQ(s.Wavelength[11], 0.325);
    EXPECT_DOUBLE_EQ(s.Counts[11], 11000 * 0.64);
    EXPECT_EQ(s.Temperature, 22.5);
    EXPECT_EQ(s.JulianDay, 101);
    EXPECT_EQ(s.DateTime, EncodeDate(2020, 1, 1) + 100);  // midnight
    EXPECT_EQ(lamp.Average.Distance, 50);
}

TEST(QsFile, KeepsTheLast21Scans) {
    std::string text;
    for (int k = 1; k <= 25; ++k) {
        text += QsBlock(k);
    }
    TMemoryFiles m;
    auto file = m.Read<TQSFile>("lamp_7.042", text);
    const auto& scans = file->Lamps[0]->Scans;
    ASSERT_EQ(scans.size(), 21u);
    EXPECT_EQ(scans.front()->JulianDay, 105);
    EXPECT_EQ(scans.back()->JulianDay, 125);
    EXPECT_EQ(file->NScans, 25);
    EXPECT_EQ(file->Lamps[0]->Name, "7");
}

TEST(QsFile, AFileCutAnywhereGivesTheBlocksBeforeTheCut) {
    const std::string one = QsBlock(1);
    const std::string text = one + one;
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        TMemoryFiles m;
        bool ok = false;
        auto file = m.Read<TQSFile>("lamp_7.042", text.substr(0, cut), &ok);
        const std::size_t scans = ok ? file->Lamps[0]->Scans.size() : 0;
        EXPECT_EQ(scans, cut < one.size() - 2    ? 0u
                         : cut < text.size() - 2 ? 1u
                                                 : 2u)
            << "cut at " << cut;
    }
}

}  // namespace
}  // namespace uvlamp
