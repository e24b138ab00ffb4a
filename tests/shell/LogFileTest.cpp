#include <gtest/gtest.h>

#include "shell/DayCount.h"
#include "shell/LogFile.h"
#include "shell/Program.h"
#include "support/TestSupport.h"

namespace uvlamp {
namespace {

double Dec8th2025At1405() {
    return EncodeDate(2025, 12, 8) + (14 * 60 + 5) / 1440.0;
}

TEST(LogFile, BannersFrameTheLinesAndEarlierContentStays) {
    test::TTempDir dir;
    const auto path = (dir / "station.log").string();
    test::WriteFile(path, "earlier\n");
    {
        TLogFile log(path, Dec8th2025At1405);
        log.WriteLine("\tReading file ql12320.042: 1 lamp(s), 3 scan(s)");
        log.WriteLine("");
        log.WriteLine("Program started on " + log.Stamp());
    }
    EXPECT_EQ(test::ReadText(path),
              "earlier\n"
              "\n\nLogging turned ON on Dec 08, 2025 at 14:05\n"
              "\tReading file ql12320.042: 1 lamp(s), 3 scan(s)\n"
              "\n"
              "Program started on Dec 08, 2025 at 14:05\n"
              "Logging turned OFF on Dec 08, 2025 at 14:05\n");
}

TEST(LogFile, ALineThatCannotBeWrittenIsLostSilently) {
    test::TTempDir dir;
    const auto path = (dir / "missing" / "station.log").string();
    {
        TLogFile log(path);
        log.WriteLine("lost");
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(Program, SwitchingTheLogOffAndOnAgainFramesEachPeriod) {
    test::TTempDir dir;
    const auto path = (dir / "station.log").string();
    TProgram program;
    program.StartLog(path);
    EXPECT_EQ(program.ProgramSettings.LogFileName, path);
    program.Log()->WriteLine("one");
    program.StopLog();
    EXPECT_EQ(program.Log(), nullptr);
    EXPECT_EQ(program.ProgramSettings.LogFileName, "");
    program.StartLog(path);
    program.StartLog(path);  // a new log ends the current one first

    const std::string text = test::ReadText(path);
    std::vector<std::string> firstWords;
    for (std::size_t p = 0; p < text.size();) {
        const std::size_t end = text.find('\n', p);
        const std::string line = text.substr(p, end - p);
        if (!line.empty()) {
            firstWords.push_back(line.substr(0, line.find(" on ")));
        }
        p = end + 1;
    }
    EXPECT_EQ(firstWords, (std::vector<std::string>{"Logging turned ON", "one",
                                                    "Logging turned OFF", "Logging turned ON",
                                                    "Logging turned OFF", "Logging turned ON"}));
}

}  // namespace
}  // namespace uvlamp
