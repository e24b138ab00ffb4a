#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <regex>
#include <sstream>

#include "response/References.h"
#include "response/Response.h"
#include "response/ResponseFiles.h"
#include "shell/Program.h"
#include "shell/ScriptedOperator.h"
#include "support/TestSupport.h"

namespace uvlamp {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(OutputGrid, SumsTheStepUpToAndIncludingTheEnd) {
    struct TCase {
        double Start, Step, End;
        int Points;
        double Last;  // angstroms
    };
    const TCase cases[] = {
        {2865, 5, 3250, 78, 3250}, {2865, 35, 3250, 12, 3250}, {2865, 35, 3249, 11, 3215},
        {0, 0.1, 0.3, 3, 0.2},  // 0.1 + 0.1 + 0.1 exceeds 0.3: the end is missed as summed
        {3250, 5, 2865, 0, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.End);
        const std::optional<TGrid> grid = OutputGrid(c.Start, c.Step, c.End);
        ASSERT_TRUE(grid);
        ASSERT_EQ(GridPoints(*grid), c.Points);
        if (c.Points > 0) {
            EXPECT_EQ((*grid)[1], c.Start / 10000);
            EXPECT_NEAR(grid->back() * 10000, c.Last, 1e-9);
        }
    }
    const double nan = std::nan("");
    for (const auto& [start, step, end] : std::vector<std::array<double, 3>>{{2865, 0, 3250},
                                                                             {2865, -5, 3250},
                                                                             {nan, 5, 3250},
                                                                             {2865, 5, INFINITY},
                                                                             {0, 1, 100000},
                                                                             {1e300, 1, 2e300}}) {
        EXPECT_FALSE(OutputGrid(start, step, end)) << start << " " << step << " " << end;
    }
    EXPECT_EQ(GridPoints(*OutputGrid(1, 1, kMaxOutputGridPoints)), kMaxOutputGridPoints);
}

TEST(ReadOutputGrid, TellsWhatIsWrongAndGivesNothing) {
    TScriptedOperator op;
    EXPECT_EQ(GridPoints(*ReadOutputGrid(" 2865", "3250.0 ", "5", op)), 78);
    EXPECT_FALSE(ReadOutputGrid("2865", "32x0", "5", op));
    EXPECT_FALSE(ReadOutputGrid("2865", "3250", "0", op));
    EXPECT_FALSE(ReadOutputGrid("abc", "", "5", op));  // the end is read first
    EXPECT_THAT(op.Messages(),
                ElementsAre("'32x0' is not a valid floating point value",
                            "Please make sure the start, the end and the increment for the "
                            "wavelengths are correct.",
                            "'' is not a valid floating point value"));
    EXPECT_EQ(op.Journal()[0].Caption, "Error!");
}

TEST(ResponseFileNames, MarkTheTemperatureCaseOnTheWholeName) {
    const TResponseFileNames plain = ResponseFileNames("dir/resp.dat", false);
    EXPECT_EQ(plain.Response, "dir/resp.dat");
    EXPECT_EQ(plain.Log, "dir/resp.dat.log");
    EXPECT_EQ(plain.Temperature, "");
    const TResponseFileNames tc = ResponseFileNames("dir/resp.dat", true);
    EXPECT_EQ(tc.Response, "dir/resp.dat_tc");
    EXPECT_EQ(tc.Log, "dir/resp.dat.log_tc");
    EXPECT_EQ(tc.Temperature, "dir/resp.dat.tc");
    EXPECT_EQ(tc.RelativeTemperature, "dir/resp.dat.tc.relative");
}

// The true response of the fixture instrument: the logarithm is a parabola in the normalised
// wavelength, which the smoothing reproduces.
double TrueResponse(double w) {
    const double x = (w - 0.328) / 0.08;
    return std::exp(5 + 0.8 * x - 1.5 * x * x);
}

// Four lamps as a save meets them: L1 and L2 averaged (L2 2 % above L1), L3 without selected
// scans, L4 with selected scans but no standard; two files.
struct TSaveSetup {
    test::TTempDir Dir;
    TProgram Program;
    TScriptedOperator Op;

    TSaveSetup() {
        Program.ProgramSettings.IrrDirectory = "/irr/dir";
        Program.ProgramSettings.LastDir = Dir.Path().string();
        Program.Clock = [] { return 46123.5; };
        for (const char* name : {"QL12320.123", "QL00521.123"}) {
            Program.OpenedFiles.push_back(std::make_unique<TFile>());
            Program.OpenedFiles.back()->SetName(name);
        }
        AddLamp("L1", 1.0,
                {{2, 5, 2020, 14, 5, 0, 15.2, true},
                 {3, 5, 2020, 8, 0, 0, 40, false},
                 {5, 1, 2021, 9, 30, 7, 26.6, true}});
        AddLamp("L2", 1.02, {{4, 5, 2020, 12, 0, 0, 20, true}});
        AddLamp("L3", 0, {{4, 5, 2020, 12, 0, 0, 20, false}});
        AddLamp("L4", 0, {{6, 5, 2020, 23, 59, 59, -3.4, true}});
        Program.LampList[0]->MinT = 15.2;
        Program.LampList[0]->MaxT = 26.6;
        Program.LampList[1]->MinT = Program.LampList[1]->MaxT = 20;
    }

    struct TScanDate {
        int Day, Month, Year, Hour, Minute, Second;
        double Temperature;
        bool Selected;
    };
    // Points from 2900 to 3250 A in steps of 5, a single range.
    void AddLamp(const std::string& name, double scale, const std::vector<TScanDate>& scans) {
        auto lamp = std::make_unique<TLamp>(name);
        const int n = 71;
        lamp->NPoints = n;
        lamp->ResizeDerived();
        for (const TScanDate& d : scans) {
            auto scan = std::make_unique<TScan>(n, lamp.get(), Program.OpenedFiles[0].get());
            scan->SetDate(d.Day, d.Month, d.Year, d.Hour, d.Minute, d.Second);
            scan->Temperature = d.Temperature;
            scan->Selected = d.Selected;
            lamp->NUsed += d.Selected ? 1 : 0;
            lamp->Scans.push_back(std::move(scan));
        }
        if (scale > 0) {
            lamp->Response = std::make_unique<TScan>(n, lamp.get(), Program.OpenedFiles[0].get());
            lamp->Response->SplitIndex = n + 1;
            for (int i = 1; i <= n; ++i) {
                const double w = (2900 + 5 * (i - 1)) / 10000.0;
                lamp->Response->Wavelength[i] = w;
                lamp->Response->Counts[i] = scale * TrueResponse(w);
            }
        }
        Program.LampList.push_back(std::move(lamp));
    }

    void Calculate() {
        ASSERT_TRUE(AverageResponse(Program.LampList, Program.CurrentResponse).Made);
    }
};

TEST(WriteResponseAndLog, WritesTheSmoothedGridAndTheLogAgainstTheReferenceLamp) {
    TSaveSetup s;
    s.Calculate();
    TScan& response = *s.Program.CurrentResponse;
    // L3 has no response: the columns fall back to the first lamp that has one, L1.
    const TResponseTexts texts =
        WriteResponseAndLog(response, *OutputGrid(2865, 5, 3250), 2, s.Program.LampList,
                            s.Program.OpenedFiles, s.Program.ProgramSettings.IrrDirectory);

    const std::vector<std::string> file = Lines(texts.Response);
    ASSERT_EQ(file.size(), 78u);
    for (std::size_t j = 0; j < file.size(); ++j) {
        const double a = 2865 + 5.0 * static_cast<double>(j);
        double w = 0;
        double value = 0;
        ASSERT_EQ(std::sscanf(file[j].c_str(), "%lf %lf", &w, &value), 2);
        EXPECT_EQ(file[j].size(), 17u);
        EXPECT_EQ(w, a);
        // Beyond the scans (below 2900 A) too: the fitted curve is the true one.
        EXPECT_NEAR(value, 1.01 * TrueResponse(a / 10000), 0.0005 + 1e-6) << file[j];
    }

    const std::vector<std::string> log = Lines(texts.Log);
    ASSERT_EQ(log.size(), 17u + 71u + 1u);
    const std::vector<std::string> head(log.begin(), log.begin() + 17);
    EXPECT_THAT(
        head, ElementsAre("Processed files: QL12320.123 QL00521.123",
                          "Lamps:", " L1: 2 scans used with temperature ranging from  15C to  27C",
                          "Selected scans:", "Julian day 123  date: May 2, 2020 14:05:00 T= 15C",
                          "Julian day 005  date: January 5, 2021 09:30:07 T= 27C",
                          " L2: 1 scans used with temperature ranging from  20C to  20C",
                          "Selected scans:", "Julian day 125  date: May 4, 2020 12:00:00 T= 20C",
                          " L3: no scans selected.",
                          "Selected scans:", " L4: no irradiance file in /irr/dir.",
                          "Selected scans:", "Julian day 127  date: May 6, 2020 23:59:59 T= -3C",
                          "", "---------------------------",
                          "  WL    Resp       Fit        Diff   %diff |     L1  |     L2  |"));
    EXPECT_EQ(log.back(), "---------------------------");
    const std::regex row(
        R"(^ (\d{4})  ( *[\d.]+)  ( *[\d.]+)  ( *-?[\d.]+)  ( *-?[\d.]+)%\|   0\.00% \|   2\.00% \|$)");
    for (int r = 1; r <= 71; ++r) {
        const std::string& line = log[static_cast<std::size_t>(16 + r)];
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, row)) << line;
        EXPECT_EQ(std::stod(m[1]), 2895 + 5 * r);
        EXPECT_NEAR(std::stod(m[2]), response.Counts[r], 0.005);
        EXPECT_NEAR(std::stod(m[3]), response.Counts[r], 0.005 + 1e-6);
        EXPECT_LE(std::abs(std::stod(m[5])), 0.05);
    }
    // Smoothing the response at its own wavelengths split them after 3250 A: a single range.
    EXPECT_EQ(response.SplitIndex, 72);
}

TEST(WriteResponseAndLog, AnEmptyGridStillGivesTheWholeLog) {
    TSaveSetup s;
    s.Calculate();
    const TResponseTexts texts =
        WriteResponseAndLog(*s.Program.CurrentResponse, *OutputGrid(3250, 5, 2865), 0,
                            s.Program.LampList, s.Program.OpenedFiles, "/irr/dir");
    EXPECT_EQ(texts.Response, "");
    EXPECT_EQ(Lines(texts.Log).size(), 17u + 71u + 1u);
}

TEST(WriteResponseAndLog, ALampLeftOutOfTheMeanIsNamedAndHasNoColumn) {
    TSaveSetup s;
    s.AddLamp("L5", 3.0, {{7, 5, 2020, 10, 0, 0, 20, true}});
    TScan& shifted = *s.Program.LampList.back()->Response;
    for (int i = 1; i <= shifted.NPoints; ++i) {
        shifted.Wavelength[i] += 0.0001;
    }
    // L5 is chosen for the columns but is not in the response: they fall back to L1.
    s.Calculate();
    const TResponseTexts texts =
        WriteResponseAndLog(*s.Program.CurrentResponse, *OutputGrid(2865, 5, 3250), 4,
                            s.Program.LampList, s.Program.OpenedFiles, "/irr/dir");
    const std::vector<std::string> log = Lines(texts.Log);
    EXPECT_NE(std::find(log.begin(), log.end(),
                        " L5: 1 scans selected, not in the response: its wavelengths differ from "
                        "the response's."),
              log.end());
    EXPECT_NE(std::find(log.begin(), log.end(),
                        "  WL    Resp       Fit        Diff   %diff |     L1  |     L2  |"),
              log.end());
    EXPECT_NE(texts.Log.find("   0.00% |   2.00% |\n"), std::string::npos);
}

TEST(SaveResponseFiles, NamesAndWritesTheFilesByTheTemperatureSpread) {
    struct TCase {
        double MaxT;  // MinT is 15
        std::vector<std::string> Files;
    };
    const TCase cases[] = {
        {25, {"resp", "resp.log"}},
        {25.5, {"resp_tc", "resp.log_tc", "resp.tc", "resp.tc.relative"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.MaxT);
        TSaveSetup s;
        s.Program.LampList[0]->MinT = 15;
        s.Program.LampList[0]->MaxT = c.MaxT;
        s.Program.StartLog((s.Dir / "run.log").string());
        s.Calculate();
        const std::string chosen = (s.Dir / "resp").string();
        s.Op.QueueFile(chosen);
        const TResponseSave save =
            SaveResponseFiles(s.Program, s.Op, *OutputGrid(2865, 5, 3250), 0);
        EXPECT_TRUE(save.Saved);
        std::vector<std::string> expected;
        for (const std::string& name : c.Files) {
            expected.push_back((s.Dir / name).string());
        }
        EXPECT_EQ(save.Written, expected);
        std::vector<std::string> present;
        for (const auto& entry : fs::directory_iterator(s.Dir.Path())) {
            present.push_back(entry.path().filename().string());
        }
        std::sort(present.begin(), present.end());
        std::vector<std::string> all = c.Files;
        all.push_back("run.log");
        std::sort(all.begin(), all.end());
        EXPECT_EQ(present, all);
        EXPECT_THAT(s.Op.Messages(), IsEmpty());
        ASSERT_EQ(s.Op.Journal().size(), 1u);
        EXPECT_EQ(s.Op.Journal()[0].Text, "Select response file");

        const std::string log = test::ReadText(s.Dir / "run.log");
        EXPECT_NE(log.find("\t\tResponse saved to " + expected[0] + "\n\t\tResponse log saved to " +
                           expected[1] + "\n"),
                  std::string::npos);

        // The response file reads back as a reference with its whole angstroms.
        TScan back(1, nullptr, nullptr);
        ASSERT_TRUE(ReadResponseFile(back, expected[0]));
        ASSERT_EQ(back.NPoints, 78);
        EXPECT_EQ(back.Wavelength[1], 0.2865);
        EXPECT_EQ(back.Wavelength[78], 0.325);
        EXPECT_NEAR(back.Counts[78], 1.01 * TrueResponse(0.325), 0.0005 + 1e-6);

        if (c.Files.size() == 4) {
            // No temperature dependence in these lamps: every correction is 0.
            const std::vector<std::string> tc = Lines(test::ReadText(expected[2]));
            const std::vector<std::string> relative = Lines(test::ReadText(expected[3]));
            ASSERT_EQ(tc.size(), 78u);
            ASSERT_EQ(relative.size(), 78u);
            EXPECT_EQ(tc[0], "   2865     0.000");
            EXPECT_EQ(relative[77], "   3250  0.00000000");
        }
    }
}

TEST(SaveResponseFiles, DoesNothingWithoutResponseOrName) {
    TSaveSetup s;
    EXPECT_FALSE(SaveResponseFiles(s.Program, s.Op, *OutputGrid(2865, 5, 3250), 0).Saved);
    EXPECT_THAT(s.Op.Journal(), IsEmpty());  // not even the dialog
    s.Calculate();
    s.Op.QueueFile(std::nullopt);
    EXPECT_FALSE(SaveResponseFiles(s.Program, s.Op, *OutputGrid(2865, 5, 3250), 0).Saved);
    EXPECT_EQ(fs::directory_iterator(s.Dir.Path()), fs::directory_iterator());
}

TEST(SaveResponseFiles, AFileThatCannotBeWrittenIsToldAndNoneOfTheFilesChanges) {
    // The last file's place is taken by a folder, then the first one's: either way the earlier
    // files stay as they were and nothing new or temporary is left.
    for (const char* blocked : {"resp.tc.relative", "resp_tc"}) {
        SCOPED_TRACE(blocked);
        TSaveSetup s;
        s.Program.LampList[0]->MaxT = 40;
        s.Calculate();
        fs::create_directory(s.Dir / blocked);
        test::WriteFile(s.Dir / "resp.log_tc", "earlier log");
        s.Op.QueueFile((s.Dir / "resp").string());
        const TResponseSave save =
            SaveResponseFiles(s.Program, s.Op, *OutputGrid(2865, 5, 3250), 0);
        EXPECT_FALSE(save.Saved);
        EXPECT_THAT(save.Written, IsEmpty());
        EXPECT_THAT(s.Op.Messages(),
                    ElementsAre("File " + (s.Dir / blocked).string() + " could not be saved."));
        EXPECT_EQ(test::ReadText(s.Dir / "resp.log_tc"), "earlier log");
        EXPECT_THAT(test::FileNames(s.Dir.Path()), ElementsAre("resp.log_tc"));
        EXPECT_TRUE(fs::is_directory(s.Dir / blocked));
    }
}

TEST(SaveResponseFiles, ASaveThatTheFolderOrDiskRefusesIsToldAndChangesNoFile) {
    // The response, its log and both temperature files, new or over earlier ones.
    for (const test::TWriteTrouble trouble : test::WriteTroubles()) {
        for (const bool earlier : {false, true}) {
            if (!earlier && !test::StopsNewFiles(trouble)) {
                continue;  // nothing holds a file that is not there yet
            }
            SCOPED_TRACE(std::string(test::TroubleName(trouble)) + (earlier ? ", earlier" : ""));
            TSaveSetup s;
            s.Program.LampList[0]->MaxT = 40;
            s.Calculate();
            if (earlier) {
                for (const char* name : {"resp_tc", "resp.log_tc", "resp.tc", "resp.tc.relative"}) {
                    test::WriteFile(s.Dir / name, std::string("earlier ") + name + "\n");
                }
            }
            const test::TFolderSnapshot before = test::Snapshot(s.Dir.Path());
            s.Op.QueueFile((s.Dir / "resp").string());
            TResponseSave save;
            {
                test::TFailingWrites failing(s.Dir, trouble);
                save = SaveResponseFiles(s.Program, s.Op, *OutputGrid(2865, 5, 3250), 0);
            }
            EXPECT_FALSE(save.Saved);
            EXPECT_THAT(save.Written, IsEmpty());
            EXPECT_THAT(s.Op.Messages(), ElementsAre("File " + (s.Dir / "resp_tc").string() +
                                                     " could not be saved."));
            EXPECT_EQ(test::Snapshot(s.Dir.Path()), before);
        }
    }
}

}  // namespace
}  // namespace uvlamp
