#include <gtest/gtest.h>

#include "scans/ListLines.h"
#include "scans/Loading.h"
#include "scans/ScanFixtures.h"
#include "shell/Program.h"
#include "shell/ScriptedOperator.h"
#include "support/TestSupport.h"

namespace uvlamp {
namespace {

using test::Grid;
using test::QlBlock;
using test::Record;
using test::TRecord;

const std::vector<double> kSeven = Grid(2900, 2930, 5);

// A folder of scan files and a program to load them into, with a log.
class Loading : public ::testing::Test {
  protected:
    void SetUp() override {
        program.ProgramSettings.TeFrom = -50;
        program.ProgramSettings.TeTo = 50;
        logPath = (dir / "uvlamp.log").string();
        program.CurrentLog = std::make_unique<TLogFile>(logPath, [] { return 2.0; });
    }
    void Write(const std::string& name, const std::string& text) {
        test::WriteFile(dir / name, text);
    }
    TLoadResult Load(const std::vector<std::string>& names) {
        return LoadSelectedFiles(program, op, dir.Path(), names);
    }
    std::string LogLines() {
        std::string log = test::ReadText(logPath);
        return log.substr(log.find('\n', 2) + 1);  // after the ON banner
    }

    test::TTempDir dir;
    TProgram program;
    TScriptedOperator op;
    std::string logPath;
};

TEST_F(Loading, TwoFilesOfOneLampMakeOneLampInFileOrder) {
    Write("ql_L1.042", QlBlock("00120", 50, 20, kSeven, 100, 1, "1:00") +
                           QlBlock("00220", 50, 25, kSeven, 110, 1, "1:00"));
    Write("qlx_L1.042", QlBlock("00320", 50, 30, kSeven, 120, 1, "1:00"));
    const TLoadResult r = Load({"ql_L1.042", "qlx_L1.042"});
    EXPECT_EQ(r.FilesRead, (std::vector<std::string>{"ql_L1.042", "qlx_L1.042"}));
    EXPECT_FALSE(r.Error);
    EXPECT_TRUE(r.InstrumentChanged);
    ASSERT_EQ(program.LampList.size(), 1u);
    const TLamp& lamp = *program.LampList[0];
    ASSERT_EQ(lamp.Scans.size(), 3u);
    EXPECT_EQ(lamp.Scans[2]->JulianDay, 3);
    EXPECT_EQ(lamp.Scans[2]->Lamp, &lamp);
    EXPECT_EQ(lamp.NUsed, 3);
    EXPECT_DOUBLE_EQ(lamp.Average.Counts[1], 110);
    ASSERT_EQ(program.OpenedFiles.size(), 2u);
    EXPECT_EQ(program.OpenedFiles[1]->FileName, "qlx_L1.042");
    EXPECT_EQ(LogLines(),
              "\tReading file ql_L1.042: 1 lamp(s), 2 scan(s)\n"
              "\tReading file qlx_L1.042: 1 lamp(s), 1 scan(s)\n"
              "\t\tNew averages calculated:\n"
              "\t\t\t lamp L1: 3 scans used\n");
    EXPECT_EQ(op.MaxBusyDepth(), 1);
    EXPECT_EQ(op.BusyDepth(), 0);
}

TEST_F(Loading, AQlAndAnXlLampOfTheSameNameBecomeOneLamp) {
    TRecord r;
    r.Lamp = "L1";
    r.Wavelengths = kSeven;
    r.Raw.assign(7, 1010);
    Write("ql_L1.042", QlBlock("12320", 50, 20, kSeven, 100, 1, "1:00"));
    Write("xl12320.042", Record(r));
    Load({"ql_L1.042", "xl12320.042"});
    ASSERT_EQ(program.LampList.size(), 1u);
    EXPECT_EQ(program.LampList[0]->Scans.size(), 2u);
    EXPECT_EQ(program.LampList[0]->Scans[1]->Kind(), TScanKind::XL);
    EXPECT_EQ(program.LampList[0]->Scans[1]->Lamp, program.LampList[0].get());
}

TEST_F(Loading, FileNamesChooseTheReader) {
    struct Case {
        const char* name;
        TScanFileKind kind;
    };
    for (const Case& c :
         {Case{"ql12320.042", TScanFileKind::QL}, Case{"UL12320.042", TScanFileKind::UL},
          Case{"xl12320.042", TScanFileKind::XL}, Case{"lamp0123.042", TScanFileKind::QS},
          Case{"qlamp123.042", TScanFileKind::QS}, Case{"data.042", TScanFileKind::None}}) {
        EXPECT_EQ(ClassifyFileName(c.name), c.kind) << c.name;
    }
}

TEST_F(Loading, UnusableFilesAreSkippedWithAReasonAndLoadingGoesOn) {
    Write("ql_L1.042", QlBlock("12320", 50, 20, kSeven, 100, 1, "1:00"));
    Write("notes.042", "hello");
    Write("ql_empty.042", "");
    Write("ql_big.042", std::string(kMaxScanFileBytes + 1, ' '));
    const TLoadResult r =
        Load({"notes.042", "ql_gone.042", "ql_empty.042", "ql_big.042", "ql_L1.042"});
    EXPECT_EQ(r.FilesRead, std::vector<std::string>{"ql_L1.042"});
    ASSERT_EQ(r.Skipped.size(), 4u);
    EXPECT_EQ(r.Skipped[0].Name, "notes.042");
    EXPECT_EQ(r.Skipped[0].Reason, "is not a QL, UL, XL or QS file by its name");
    EXPECT_EQ(r.Skipped[1].Reason, "could not be opened");
    EXPECT_EQ(r.Skipped[2].Reason, "holds no scan that could be read");
    EXPECT_EQ(r.Skipped[3].Reason, "is too large for a scan file (67108865 bytes)");
    EXPECT_EQ(program.LampList.size(), 1u);
}

TEST_F(Loading, AConversionErrorEndsTheReadingButTheStatisticsAreComputed) {
    Write("ql_L1.042", QlBlock("12320", 50, 20, kSeven, 100, 1, "1:00"));
    Write("ql_L2.042", QlBlock("12320", 50, 20, kSeven, 100, 1, "25:00"));
    Write("ql_L3.042", QlBlock("12320", 50, 20, kSeven, 100, 1, "1:00"));
    const TLoadResult r = Load({"ql_L1.042", "ql_L2.042", "ql_L3.042"});
    ASSERT_TRUE(r.Error);
    EXPECT_EQ(*r.Error, "ql_L2.042: '25:00' is not a valid time");
    EXPECT_EQ(r.FilesRead, std::vector<std::string>{"ql_L1.042"});
    ASSERT_EQ(program.LampList.size(), 1u);
    EXPECT_EQ(program.LampList[0]->NUsed, 1);
    EXPECT_EQ(LampListLines(program.LampList), std::vector<std::string>{"  L1   1/  1  0.0%"});
}

TEST_F(Loading, AnotherInstrumentIsAskedForAndItsConstantsApplyToWhatIsLoaded) {
    TRecord r;
    r.Wavelengths = {3250, 3255, 3260};
    Write("xl12320.042", Record(r));
    Write("xl12320.118", Record(r));
    program.ProgramSettings.NewTs[118] = true;
    program.ProgramSettings.MKIIIs[118] = true;

    op.QueueAnswer(false);
    Load({"xl12320.042", "xl12320.118"});
    EXPECT_EQ(program.ProgramSettings.InstrumentNumber, "042");
    EXPECT_EQ(program.LampList[0]->Scans[1]->Temperature, 10.5);  // 042's old circuit

    op.QueueAnswer(true);
    const TLoadResult again = Load({"xl12320.042", "xl12320.118"});
    EXPECT_EQ(op.Questions().size(), 2u);  // once per load: 118 after 042
    EXPECT_EQ(program.ProgramSettings.InstrumentNumber, "118");
    EXPECT_TRUE(again.InstrumentChanged);
    for (const auto& s : program.LampList[0]->Scans) {
        EXPECT_DOUBLE_EQ(s->Temperature, 2.5 * 18.64 - 33.27);
        EXPECT_EQ(s->SplitIndex, 4);  // nothing above 3505 Å on a MKIII
    }
}

TEST_F(Loading, ScansOnAnotherGridThanTheLampsFromEarlierFilesAreLeftOut) {
    Write("ql_L1.042", QlBlock("12320", 50, 20, kSeven, 100, 1, "1:00"));
    Write("qlb_L1.042", QlBlock("12420", 50, 20, Grid(2900, 2940, 5), 100, 1, "1:00"));
    const TLoadResult r = Load({"ql_L1.042", "qlb_L1.042"});
    EXPECT_EQ(program.LampList[0]->Scans.size(), 1u);
    ASSERT_EQ(r.Notes.size(), 1u);
    EXPECT_EQ(r.Notes[0],
              "qlb_L1.042: scans of lamp L1 with other wavelengths than the scans of that lamp"
              " read before were left out");
}

TEST_F(Loading, EveryLoadStartsAfresh) {
    Write("ql_L1.042", QlBlock("12320", 50, 20, kSeven, 100, 1, "1:00"));
    Write("ql_L2.042", QlBlock("12320", 50, 20, kSeven, 100, 1, "1:00"));
    Load({"ql_L1.042", "ql_L2.042"});
    EXPECT_EQ(program.LampList.size(), 2u);
    Load({"ql_L2.042"});
    ASSERT_EQ(program.LampList.size(), 1u);
    EXPECT_EQ(program.LampList[0]->Name, "L2");
    EXPECT_EQ(program.OpenedFiles.size(), 1u);
    Load({});
    EXPECT_TRUE(program.LampList.empty());
    EXPECT_TRUE(program.OpenedFiles.empty());
}

TEST_F(Loading, WithoutALogNothingIsWritten) {
    program.CurrentLog.reset();
    const auto before = test::ReadText(logPath);
    Write("ql_L1.042", QlBlock("12320", 50, 20, kSeven, 100, 1, "1:00"));
    Load({"ql_L1.042"});
    EXPECT_EQ(test::ReadText(logPath), before);
}

}  // namespace
}  // namespace uvlamp
