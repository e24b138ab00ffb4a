#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "irradiance/Bbf.h"
#include "irradiance/Irr.h"
#include "response/References.h"
#include "scans/Loading.h"
#include "shell/IniFile.h"
#include "shell/Program.h"
#include "shell/ScriptedOperator.h"
#include "shell/SettingsFile.h"
#include "support/TestSupport.h"

namespace uvlamp {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::HasSubstr;
using ::testing::SizeIs;

const fs::path kExamples = UVLAMP_EXAMPLES_DIR;

// Writes a file of size bytes made of a pattern repeated.
void WritePattern(const fs::path& path, const std::string& pattern, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string chunk;
    while (chunk.size() < (1u << 20)) {
        chunk += pattern;
    }
    for (std::size_t written = 0; written < size;) {
        const std::size_t n = std::min(chunk.size(), size - written);
        out.write(chunk.data(), static_cast<std::streamsize>(n));
        written += n;
    }
    ASSERT_TRUE(out.good()) << path;
}

std::vector<std::string> ScanFileNames() {
    return {"ql_L1.137", "lampL1.137", "ul12324.137", "xl12324.137"};
}

// Every reader of station files meets the same file under its own name: hard links, so the data
// is on the disk once.
void LinkAs(const fs::path& file, const std::vector<fs::path>& names) {
    for (const fs::path& name : names) {
        fs::create_hard_link(file, name);
    }
}

TEST(ResourceBounds, FilesLargerThanAnyReaderTakesAreRefusedUnreadNamingTheFile) {
    test::TTempDir dir;
    const fs::path huge = dir / "huge";
    const std::size_t size = 100u << 20;
    WritePattern(huge, "0123456789", size);
    LinkAs(huge,
           {dir / "ql_L1.137", dir / "lampL1.137", dir / "ul12324.137", dir / "xl12324.137",
            dir / "lampL1.irr", dir / "lampL1.bbf", dir / "response.dat", dir / "uvlamp.INI"});
    const std::string tooLarge = " (" + std::to_string(size) + " bytes)";

    TProgram program;
    TScriptedOperator op;
    const TLoadResult loaded = LoadSelectedFiles(program, op, dir.Path(), ScanFileNames());
    EXPECT_TRUE(loaded.FilesRead.empty());
    ASSERT_EQ(loaded.Skipped.size(), 4u);
    for (const TSkippedFile& skipped : loaded.Skipped) {
        EXPECT_EQ(skipped.Reason, "is too large for a scan file" + tooLarge) << skipped.Name;
    }

    TIrr irr((dir / "lampL1.irr").string(), 46000);
    EXPECT_FALSE(irr.Read(TReport{op}));
    EXPECT_THAT(op.Journal().back(),
                Field(&TScriptedOperator::TEntry::Text,
                      "This file is too large for an IRR file" + tooLarge + "."));

    program.StartLog((dir / "log.txt").string());
    TBbf bbf(46000);
    EXPECT_FALSE(bbf.Load((dir / "lampL1.bbf").string(), TReport{op, program.Log()}));
    EXPECT_THAT(test::ReadText(dir / "log.txt"),
                HasSubstr("File " + (dir / "lampL1.bbf").string() + " is too large for a BBF file" +
                          tooLarge + ".\n"));

    TScan response(1, nullptr, nullptr);
    std::string whyNot;
    EXPECT_FALSE(ReadResponseFile(response, (dir / "response.dat").string(), &whyNot));
    EXPECT_EQ(whyNot, "is too large for a response file" + tooLarge);

    // The settings are the defaults, and saving them does not replace the file.
    TSettings settings;
    ReadSettingsFile(settings, dir / "uvlamp.INI");
    EXPECT_EQ(settings.MaxNumberOfScans, 21);
    EXPECT_EQ(SaveSettingsFile(settings, dir / "uvlamp.INI"),
              "Unable to write to " + (dir / "uvlamp.INI").string());
    EXPECT_EQ(fs::file_size(dir / "uvlamp.INI"), size);
}

// One line of 15 MB, under every reader's size limit but the settings file's: of digits alone
// (one number far beyond a double) and of numbers and blanks (a line of two million numbers).
TEST(ResourceBounds, OneEndlessLineIsReadOnceAndKeepsOnlyWhatItHolds) {
    for (const std::string pattern : {"0123456789", "1234567 "}) {
        SCOPED_TRACE(pattern);
        test::TTempDir dir;
        const fs::path line = dir / "line";
        WritePattern(line, pattern, 15u << 20);
        LinkAs(line,
               {dir / "ql_L1.137", dir / "lampL1.137", dir / "ul12324.137", dir / "xl12324.137",
                dir / "lampL1.irr", dir / "lampL1.bbf", dir / "response.dat"});

        TProgram program;
        TScriptedOperator op;
        const TLoadResult loaded = LoadSelectedFiles(program, op, dir.Path(), ScanFileNames());
        if (pattern == "0123456789") {
            EXPECT_TRUE(loaded.FilesRead.empty());
            EXPECT_TRUE(program.LampList.empty());
        } else {
            // A QS block is nothing but numbers: the line is a file of blocks, of which a lamp
            // keeps the last 21.
            EXPECT_THAT(loaded.FilesRead, ElementsAre("lampL1.137"));
            ASSERT_EQ(program.LampList.size(), 1u);
            EXPECT_EQ(program.LampList[0]->Scans.size(), 21u);
        }

        // The IRR header is the whole first line: no distance follows it.
        TIrr irr((dir / "lampL1.irr").string(), 46000);
        EXPECT_FALSE(irr.Read(TReport{op}));
        EXPECT_EQ(irr.NPoints, 0);

        // No record; the line is kept to be written back with a record made later.
        TBbf bbf(46000);
        EXPECT_FALSE(bbf.Load((dir / "lampL1.bbf").string(), TReport{op}));
        EXPECT_THAT(bbf.OtherLines, ElementsAre(SizeIs(15u << 20)));

        // A response line is its first two numbers, if it starts with two.
        TScan response(1, nullptr, nullptr);
        const bool read = ReadResponseFile(response, (dir / "response.dat").string());
        EXPECT_EQ(read, pattern == "1234567 ");
        if (read) {
            EXPECT_EQ(response.NPoints, 1);
            EXPECT_EQ(response.Counts[1], 1234567);
        }
    }
}

// A QL file of 100,000 blocks: every block is read; with the scan limit only the scans kept
// stay in memory.
TEST(ResourceBounds, AQlFileOf100000BlocksIsReadWholeOrToTheLimit) {
    test::TTempDir dir;
    {
        std::ofstream out(dir / "ql_L1.137", std::ios::binary);
        for (int b = 0; b < 100000; ++b) {
            out << "7 " << 1 + b % 365 << "24 50.0 " << 10 + b % 20 << ".0 5 0\n";
            for (int i = 0; i < 7; ++i) {
                out << 2900 + 50 * i << ' ' << 1000 + 10 * i + b % 7 << '\n';
            }
            out << b % 24 << ":" << b % 60 << ":00\n";
        }
    }
    for (const bool limit : {false, true}) {
        SCOPED_TRACE(limit ? "limited" : "all");
        TProgram program;
        program.ProgramSettings.LimitScans = limit;
        program.ProgramSettings.LastScans = true;
        program.ProgramSettings.MaxNumberOfScans = 21;
        TScriptedOperator op;
        const TLoadResult loaded = LoadSelectedFiles(program, op, dir.Path(), {"ql_L1.137"});
        ASSERT_FALSE(loaded.Error) << *loaded.Error;
        ASSERT_EQ(program.LampList.size(), 1u);
        const TLamp& lamp = *program.LampList[0];
        ASSERT_EQ(lamp.Scans.size(), limit ? 21u : 100000u);
        // With the limit the last blocks are the ones kept.
        EXPECT_EQ(lamp.Scans.back()->Temperature, 10 + 99999 % 20);
        EXPECT_EQ(lamp.NPoints, 7);
    }
}

// An XL file that names a new lamp in each of its 20,000 records: a load holds at most kMaxLamps
// lamps, found by name in constant time, and says what it left out.
TEST(ResourceBounds, AFileNamingANewLampInEveryRecordFillsTheListOnlyToItsLimit) {
    test::TTempDir dir;
    {
        std::ofstream out(dir / "xl02024.137", std::ios::binary);
        for (int n = 0; n < 20000; ++n) {
            out << "Integration time is 0.1147 seconds per cycle\ndt 3.10e-08\ncy 40\nle 2\n"
                   "ln L"
                << n
                << "\ndi 50.0\ndh 15 4 24\nlamp\n7.999 117.916 3.63125\npr 1013.0\n"
                   "DARK 278\n 1000 2865 1 361\n 1048 2880 1 536\nend\n";
        }
    }
    fs::copy_file(kExamples / "ql_L1031.137", dir / "ql_L1031.137");
    TProgram program;
    TScriptedOperator op;
    const TLoadResult loaded =
        LoadSelectedFiles(program, op, dir.Path(), {"xl02024.137", "ql_L1031.137"});
    EXPECT_THAT(loaded.FilesRead, ElementsAre("xl02024.137", "ql_L1031.137"));
    ASSERT_EQ(program.LampList.size(), kMaxLamps);
    EXPECT_EQ(program.LampList.front()->Name, "L0");
    EXPECT_EQ(program.LampList.back()->Name, "L999");
    EXPECT_THAT(loaded.Notes,
                ElementsAre("xl02024.137: more than 1000 lamps; the records of the others were "
                            "left out",
                            "ql_L1031.137: more than 1000 lamps in all; its lamps not loaded "
                            "before were left out"));
}

}  // namespace
}  // namespace uvlamp
